#include "PluginHost.h"

#include "HostString.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace kestrune::tool
{
using namespace host::aax;

PluginHost::PluginHost (const std::string& pluginPath) : driver (framework, pluginPath)
{
    if (driver.Startup() != ACF_OK)
        throw std::runtime_error ("the plug-in refused to start: " + pluginPath);
    if (const auto result = driver.RegisterPlugin(); result != ACF_OK)
        throw std::runtime_error ("the plug-in did not register (" + std::to_string (result) + "): " + pluginPath);
    if (Description().effects.empty())
        throw std::runtime_error ("the plug-in described no effect: " + pluginPath);
}

PluginHost::~PluginHost()
{
    driver.Shutdown();
}

std::unique_ptr<HostInstance> PluginHost::NewInstance (int32_t channels, double sampleRate)
{
    return std::make_unique<HostInstance> (driver, InstanceSettings { channels, sampleRate, 0 });
}

std::vector<HostParameter> listParameters (const HostInstance& instance)
{
    auto& parameters = instance.Parameters();
    int32_t count = 0;
    parameters.GetNumberOfParameters (&count);
    std::vector<HostParameter> list;
    for (int32_t index = 0; index < count; ++index)
    {
        HostParameter parameter;
        parameter.index = index;
        HostString id, name, text;
        if (parameters.GetParameterIDFromIndex (index, &id) != AAX_SUCCESS)
            continue;
        parameter.id = id.Text();
        parameters.GetParameterName (parameter.id.c_str(), &name);
        parameter.name = name.Text();
        parameters.GetParameterNormalizedValue (parameter.id.c_str(), &parameter.value);
        parameters.GetParameterValueString (parameter.id.c_str(), &text, 32);
        parameter.text = text.Text();
        list.push_back (std::move (parameter));
    }
    return list;
}

std::optional<HostParameter> findParameter (const HostInstance& instance, const std::string& nameOrId)
{
    const auto sameLetters = [] (const std::string& a, const std::string& b) {
        return a.size() == b.size()
               && std::equal (a.begin(), a.end(), b.begin(), [] (char x, char y) {
                      return std::tolower (static_cast<unsigned char> (x)) == std::tolower (static_cast<unsigned char> (y));
                  });
    };
    for (const auto& parameter : listParameters (instance))
        if (parameter.id == nameOrId || sameLetters (parameter.name, nameOrId))
            return parameter;
    return std::nullopt;
}
} // namespace kestrune::tool
