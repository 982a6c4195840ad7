#include "views/custom/ColourSets.h"

#include <algorithm>

#include "process/base/CDAEError.h"

namespace
{
// clang-format off
std::array<ColourSet, kLastColourSet - kFirstColourSet + 1> gColourSets {{
    {},
    {},
    {{ { 0xDDDD, 0xDDDD, 0xDDDD }, { 0xBBBB, 0xBBBB, 0xBBBB }, { 0xAAAA, 0xAAAA, 0xAAAA }, { 0x8888, 0x8888, 0x8888 }, { 0x5555, 0x5555, 0x5555 }, { 0x2222, 0x2222, 0x2222 } }},
    {{ { 0xFFFF, 0xFFFF, 0xFFFF }, { 0xFFFF, 0xFFFF, 0xFFFF }, { 0xEEEE, 0xEEEE, 0xEEEE }, { 0xCCCC, 0xCCCC, 0xCCCC }, { 0x8888, 0x8888, 0x8888 }, { 0x3333, 0x3333, 0x3333 } }},
    {{ { 0xFFFF, 0xCCCC, 0xCCCC }, { 0xFFFF, 0x9999, 0x9999 }, { 0xFFFF, 0x9999, 0x9999 }, { 0xFFFF, 0x6666, 0x6666 }, { 0xFFFF, 0x3333, 0x3333 }, { 0x6666, 0x0000, 0x0000 } }},
    {{ { 0xCCCC, 0xFFFF, 0xCCCC }, { 0xCCCC, 0xFFFF, 0x9999 }, { 0x9999, 0xCCCC, 0x9999 }, { 0x6666, 0x9999, 0x6666 }, { 0x3333, 0x6666, 0x3333 }, { 0x0000, 0x3333, 0x0000 } }},
    {{ { 0xEEEE, 0xEEEE, 0xEEEE }, { 0xEEEE, 0xEEEE, 0xEEEE }, { 0xDDDD, 0xDDDD, 0xDDDD }, { 0xBBBB, 0xBBBB, 0xBBBB }, { 0x7777, 0x7777, 0x7777 }, { 0x3333, 0x3333, 0x3333 } }},
    {{ { 0xFFFF, 0xFFFF, 0xFFFF }, { 0xCCCC, 0xFFFF, 0xFFFF }, { 0x9999, 0xCCCC, 0xFFFF }, { 0x6666, 0x9999, 0xCCCC }, { 0x3333, 0x6666, 0x9999 }, { 0x0000, 0x3333, 0x6666 } }},
    {{ { 0xFFFF, 0xFFFF, 0xCCCC }, { 0xFFFF, 0xFFFF, 0x9999 }, { 0xCCCC, 0xCCCC, 0x6666 }, { 0x9999, 0x9999, 0x3333 }, { 0x6666, 0x6666, 0x0000 }, { 0x3333, 0x3333, 0x0000 } }},
}};
// clang-format on

constexpr std::array<int32_t, kShadeCount> kShadeFactors { 14, 12, 11, 10, 8, 7, 5, 4, 2, 1, 0, 0 };

bool gShadesBuilt = false;

uint16_t Shade (uint16_t component, int32_t factor)
{
    const int32_t step = static_cast<int32_t> (component / 11.0 + 0.5);
    return static_cast<uint16_t> (std::clamp (step * factor, 0, 65535));
}
} // namespace

const ColourSet& GetColourSet (int16_t index)
{
    if (! IsValidColourSet (index))
        throw CDAEError (RTASError::kConditionFalse);
    return gColourSets[size_t (index - kFirstColourSet)];
}

std::array<RGBColor, kShadeCount> ShadesOf (const RGBColor& background)
{
    std::array<RGBColor, kShadeCount> shades {};
    for (size_t i = 0; i < shades.size(); ++i)
        shades[i] = { Shade (background.red, kShadeFactors[i]), Shade (background.green, kShadeFactors[i]), Shade (background.blue, kShadeFactors[i]) };
    return shades;
}

void BuildShadesOnce (const RGBColor& background)
{
    if (gShadesBuilt)
        return;
    const auto shades = ShadesOf (background);
    std::copy (shades.begin(), shades.begin() + kColoursPerSet, gColourSets[0].begin());
    std::copy (shades.begin() + kColoursPerSet, shades.end(), gColourSets[1].begin());
    gShadesBuilt = true;
}

std::optional<int16_t> ColourSetOfHighlight (int16_t highlightColour)
{
    switch (highlightColour)
    {
        case 0: return 2;
        case 1: return 5;
        case 2: return 3;
        case 3: return 6;
        default: return std::nullopt;
    }
}
