#include "JucePlugInGroup.h"

#include "JucePlugInProcess.h"

#include <memory>

#include <process/effect/CEffectTypeRTAS.h>

namespace
{
// What the group and its types answer to the host's capability queries.
inline constexpr int32_t kGroupCapability = 14;
inline constexpr int32_t kTypeCapabilities[] = { 8, 48 };
// The first per-card value of each type.
inline constexpr int32_t kFirstCardValue = 6;

// The channel layouts, in type order: stem-format index and channels (in and out alike).
struct Layout
{
    int32_t stemFormat;
    int32_t channels;
};
inline constexpr Layout kLayouts[] = { { 0, 1 }, { 1, 2 } };
} // namespace

JucePlugInGroup::JucePlugInGroup()
{
    SetManufacturerName (kManufacturerName);
    SetManufacturerCode (kManufacturerCode);
    SetProductName (kProductName);
    SetVersion (kVersion);
    AddCapability (kGroupCapability);
}

void JucePlugInGroup::CreateTypes()
{
    for (size_t index = 0; index < std::size (kLayouts); ++index)
    {
        const Layout layout = kLayouts[index];
        auto type = std::make_unique<CEffectTypeRTAS> (kFirstTypeID + static_cast<uint32_t> (index));
        type->SetName (kProductName);
        type->DefineStemFormats (layout.stemFormat, layout.stemFormat);
        for (const int32_t capability : kTypeCapabilities)
            type->AddCapability (capability);
        type->SetCardValue (1, kFirstCardValue);
        type->SetProcessFactory ([layout] { return new JucePlugInProcess (layout.channels); });
        AddProcessType (type.release());
    }
}
