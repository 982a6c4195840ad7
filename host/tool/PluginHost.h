// The host tool's stand-in host: KESTrune.aaxplugin loaded, started and registered, and the
// host parameters of an instance found by name or identifier.
#pragma once

#include "HostInstance.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrune::tool
{
// One host parameter as the instance lists it.
struct HostParameter
{
    int32_t index = 0;
    std::string id;
    std::string name;
    double value = 0.0;
    std::string text;
};

class PluginHost
{
public:
    // Throws std::runtime_error with a message fit for the user when the file does not load,
    // lacks an export or does not register.
    explicit PluginHost (const std::string& pluginPath);
    PluginHost (const PluginHost&) = delete;
    PluginHost& operator= (const PluginHost&) = delete;
    ~PluginHost();

    const host::aax::HostDescription& Description() const { return framework.Description(); }
    // Throws std::runtime_error when the plug-in has no component for that many channels.
    std::unique_ptr<host::aax::HostInstance> NewInstance (int32_t channels, double sampleRate);

private:
    host::aax::HostFramework framework;
    host::aax::AAXModuleDriver driver;
};

std::vector<HostParameter> listParameters (const host::aax::HostInstance& instance);
// The parameter whose name (letter case ignored) or identifier is the given text.
std::optional<HostParameter> findParameter (const host::aax::HostInstance& instance, const std::string& nameOrId);
} // namespace kestrune::tool
