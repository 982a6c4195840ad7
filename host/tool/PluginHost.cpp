#include "PluginHost.h"

#include <algorithm>
#include <cctype>

namespace kestrune::tool
{
const char* defaultPluginPath()
{
    return KESTRUNE_DEFAULT_PLUGIN_PATH;
}

juce::Image pictureOfPixels (const std::vector<uint32_t>& pixels, int width, int height)
{
    juce::Image picture (juce::Image::ARGB, width, height, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixelAt (x, y, juce::Colour (pixels[size_t (y) * size_t (width) + size_t (x)]));
    return picture;
}

std::optional<HostParameter> findParameter (const PluginInstance& instance, const std::string& nameOrId)
{
    const auto sameLetters = [] (const std::string& a, const std::string& b) {
        return a.size() == b.size()
               && std::equal (a.begin(), a.end(), b.begin(), [] (char x, char y) {
                      return std::tolower (static_cast<unsigned char> (x)) == std::tolower (static_cast<unsigned char> (y));
                  });
    };
    for (const auto& parameter : instance.parameters())
        if (parameter.id == nameOrId || sameLetters (parameter.name, nameOrId))
            return parameter;
    return std::nullopt;
}
} // namespace kestrune::tool
