#include "process/utilities/StemFormats.h"

#include <array>
#include <cstddef>

#include "process/base/CDAEError.h"

int32_t MapFormatIndexToCode (int32_t stemFormatIndex)
{
    static constexpr std::array<int32_t, 11> kChannelsByFormat { 1, 2, 3, 4, 4, 5, 6, 6, 7, 7, 8 };
    if (stemFormatIndex < 0 || stemFormatIndex >= static_cast<int32_t> (kChannelsByFormat.size()))
        throw CDAEError (RTASError::kUnexpected);
    return kChannelsByFormat[static_cast<size_t> (stemFormatIndex)];
}
