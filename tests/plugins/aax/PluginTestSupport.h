// A stand-in host with KESTrune.aaxplugin loaded and registered, and helpers to read back what
// an instance holds.
#pragma once

#include "HostInstance.h"
#include "HostString.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace plugin_test
{
using namespace kestrune::host::aax;

constexpr uint32_t kControlsChunk = 0x656C636B; // 'elck'
constexpr uint32_t kJuceChunk = 0x6A756365; // 'juce'

struct LoadedPlugin
{
    LoadedPlugin() : driver (framework, KESTRUNE_PLUGIN_PATH)
    {
        EXPECT_EQ (driver.Startup(), ACF_OK);
        EXPECT_EQ (driver.RegisterPlugin(), ACF_OK);
    }
    ~LoadedPlugin() { driver.Shutdown(); }

    std::unique_ptr<HostInstance> NewInstance (int32_t channels = 2, double rate = 48000.0)
    {
        return std::make_unique<HostInstance> (driver, InstanceSettings { channels, rate, 0 });
    }

    HostFramework framework;
    AAXModuleDriver driver;
};

inline std::string ParameterId (const HostInstance& instance, int32_t index)
{
    HostString id;
    instance.Parameters().GetParameterIDFromIndex (index, &id);
    return id.Text();
}

inline double NormalizedValue (const HostInstance& instance, const std::string& id)
{
    double value = -1.0;
    EXPECT_EQ (instance.Parameters().GetParameterNormalizedValue (id.c_str(), &value), AAX_SUCCESS) << id;
    return value;
}

inline std::string ValueString (const HostInstance& instance, const std::string& id)
{
    HostString text;
    instance.Parameters().GetParameterValueString (id.c_str(), &text, 32);
    return text.Text();
}

// The state text a `juce` record holds: the block between its 8-byte head (magic, length) and
// its closing zero. A block that ends with another byte is a failure.
inline std::string StateBlockText (ChunkRecord& record)
{
    const auto* data = reinterpret_cast<const char*> (record.Data());
    const int32_t size = record.Header()->fSize;
    if (size <= 8)
        return {};
    const auto last = static_cast<uint8_t> (data[size - 1]);
    if (last != 0)
        ADD_FAILURE() << "the state block ends with byte 0x" << std::hex << int (last) << std::dec << " (offset " << size - 1
                      << "), not with its zero byte";
    return std::string (data + 8, data + size - 1);
}

// The processor's state text, from the state block that the `juce` chunk carries.
inline std::string ProcessorState (const HostInstance& instance)
{
    ChunkRecord record;
    EXPECT_EQ (instance.SaveChunk (kJuceChunk, record), AAX_SUCCESS);
    return StateBlockText (record);
}
} // namespace plugin_test
