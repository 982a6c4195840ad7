// What the host tool asks of a plug-in file, whichever host format it is: the file loaded and
// started by the stand-in host of its format, its description, and instances with host
// parameters, a master bypass, blocks of audio and saved chunks. Each build of the tool holds
// the back end of the file it can load: the 64-bit AAX file in the native build
// (aax/AAXPluginHost.cpp), the 32-bit RTAS file in the i386 build (rtas/RTASPluginHost.cpp).
#pragma once

#include "StateFile.h"

#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kestrune::tool
{
// The editor refreshes its controls this often: a host that draws it waits two of these after
// setting parameters.
inline constexpr int editorRefreshMs = 50;

// One host parameter as the instance lists it.
struct HostParameter
{
    int32_t index = 0; // the host's own number for it
    std::string id; // what --set accepts besides the name
    std::string name;
    double value = 0.0; // normalised, 0 to 1
    std::string text;
};

// One plug-in instance. Every operation throws std::runtime_error with a message for the user
// when the plug-in refuses it.
class PluginInstance
{
public:
    virtual ~PluginInstance() = default;

    virtual std::vector<HostParameter> parameters() const = 0;
    // Sets the parameter as host automation does; value is normalised.
    virtual void setParameter (const HostParameter& parameter, double value) = 0;
    virtual void setMasterBypass (bool on) = 0;

    // Runs one block of count frames (at most the tool's block size) from the inputs into the
    // outputs, one buffer per channel.
    virtual void process (const float* const* inputs, float* const* outputs, int count) = 0;

    // The chunks the instance reports, each as the host keeps it: the 56-byte header, then the
    // data.
    virtual std::vector<ChunkBytes> saveChunks() const = 0;
    virtual void restoreChunk (const ChunkBytes& chunk) = 0;
    // What the size field of this format's chunk headers counts.
    virtual ChunkSizeField chunkSizeField() const = 0;

    // The editor as the host shows it, after its refresh timer has run; nothing when this host
    // cannot show the plug-in's editor.
    virtual std::optional<juce::Image> drawEditor() = 0;
};

// A plug-in file loaded and started by its stand-in host; it is shut down and unloaded when
// the object goes.
class PluginHost
{
public:
    virtual ~PluginHost() = default;

    // The file's identity and the configurations it offers, as the info command prints them.
    virtual void describe (std::ostream& out) const = 0;
    // An instance for 1 or 2 channels at the rate. Throws std::runtime_error when the plug-in
    // has no configuration for that many channels or refuses the instance.
    virtual std::unique_ptr<PluginInstance> newInstance (int channels, double sampleRate) = 0;
};

// Whether the host shows windows: a host without them may start a plug-in without its views.
enum class HostWindows
{
    none,
    shown
};

// Loads and starts the plug-in file with the back end of this build. Throws std::runtime_error
// with a message for the user when the file does not load, lacks an export or does not start.
std::unique_ptr<PluginHost> openPluginHost (const std::string& pluginPath, HostWindows windows);
// The plug-in file built beside the tool.
const char* defaultPluginPath();

// A picture of width by height ARGB pixels, row by row, as the stand-in hosts draw editors.
juce::Image pictureOfPixels (const std::vector<uint32_t>& pixels, int width, int height);

// The parameter whose name (letter case ignored) or identifier is the given text.
std::optional<HostParameter> findParameter (const PluginInstance& instance, const std::string& nameOrId);
} // namespace kestrune::tool
