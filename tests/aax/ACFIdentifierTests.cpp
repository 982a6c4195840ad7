// Identifiers are 16-byte records laid out as the framework stores them.
#include "ACFInterfaces.h"

#include <gtest/gtest.h>

#include <array>

namespace
{
std::array<uint8_t, 16> BytesOf (const acfUID& id)
{
    std::array<uint8_t, 16> bytes {};
    std::memcpy (bytes.data(), &id, sizeof (id));
    return bytes;
}

TEST (ACFIdentifier, RegistryFormBecomesLittleEndianRecord)
{
    struct Case
    {
        acfUID id;
        std::array<uint8_t, 16> bytes;
    };
    const Case cases[] = {
        { IID_IACFUnknown, { 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } },
        { IID_IACFEffectParameters_V2,
          { 0x06, 0x7D, 0xF4, 0xF1, 0x8F, 0x30, 0xC5, 0x4C, 0x9C, 0x7C, 0x50, 0xA8, 0x3F, 0x8A, 0xB8, 0x13 } },
        { IID_IACFObjectFactory,
          { 0x96, 0x6A, 0x2B, 0x38, 0xD0, 0x7F, 0xD6, 0x11, 0xBC, 0xFE, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24 } },
        { IID_IACFPropertyMap_V2,
          { 0x80, 0xDF, 0x77, 0x71, 0x9C, 0x7C, 0xE2, 0x11, 0xB9, 0x2A, 0x08, 0x00, 0x20, 0x0C, 0x9A, 0x66 } },
    };
    for (const Case& c : cases)
        EXPECT_EQ (BytesOf (c.id), c.bytes);
}

TEST (ACFIdentifier, EqualityComparesAllSixteenBytes)
{
    acfUID changed = IID_IACFEffectGUI;
    EXPECT_TRUE (changed == IID_IACFEffectGUI);
    changed.data4[7] ^= 1;
    EXPECT_FALSE (changed == IID_IACFEffectGUI);
}

TEST (ACFIdentifier, ResultCodesAreTheHostsValues)
{
    EXPECT_EQ (ACF_E_NOINTERFACE, int32_t (0x80000004u));
    EXPECT_EQ (ACF_E_POINTER, int32_t (0x80000005u));
    EXPECT_EQ (ACF_E_UNEXPECTED, int32_t (0x8000FFFFu));
    const std::pair<int32_t, int32_t> codes[] = {
        { AAX_ERROR_UNKNOWN_PARAMETER, -20001 },
        { AAX_ERROR_CONVERSION_FAILED, -20002 },
        { AAX_ERROR_NULL_OBJECT, -20004 },
        { AAX_ERROR_CHUNK_INDEX, -20006 },
        { AAX_ERROR_UNKNOWN_CHUNK, -20007 },
        { AAX_ERROR_CHUNK_SIZE_CHANGED, -20008 },
        { AAX_ERROR_UNIMPLEMENTED, -20009 },
        { AAX_ERROR_NULL_ARGUMENT, -20011 },
        { AAX_ERROR_CHUNK_WRITE, -333 },
    };
    for (const auto& [code, value] : codes)
        EXPECT_EQ (code, value);
}
} // namespace
