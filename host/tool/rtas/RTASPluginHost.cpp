// The host tool's back end for the 32-bit plug-in file: KESTrune.dpm loaded by the stand-in
// engine, card library, DSP manager and toolbox (PlugInLoader), opened without views as a host
// without windows opens it (WinPlugInOpen), or through the open procedure it registered with the
// engine when the host shows windows, and driven through the routines it hands out by selector
// (HostedPlugIn): its group and types, processes created and deleted, controls by index with
// their names and texts, chunks and the master bypass. Audio runs through the render callback
// that each process's adaptor published to the engine's object tracker, as the engine calls it.
// The editor shows in a toolbox window given to the process's view as its port (HostedWindow),
// whose pixels are the picture.
#include "PluginHost.h"

#include <HostedPlugIn.h>
#include <HostedWindow.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <stdexcept>

namespace kestrune::tool
{
namespace
{
    using namespace host::rtas;

    // The 'midi' chunk, and the plug-in's answer to one that names no MIDI identity.
    constexpr uint32_t midiChunkID = 0x6D696469;
    constexpr int32_t noMidiIdentity = -7082;

    std::string terminated (const char* text, size_t capacity)
    {
        return std::string (text, strnlen (text, capacity));
    }

    // A file's version and its copyright, as the host reads them from the file's version block.
    struct FileVersion
    {
        std::string version;
        std::string copyright;
    };

    FileVersion readFileVersion (const std::string& path)
    {
        FileVersion file;
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeA (path.c_str(), &handle);
        std::vector<uint8_t> block (size);
        if (size == 0 || GetFileVersionInfoA (path.c_str(), handle, size, block.data()) == FALSE)
            return file;
        void* value = nullptr;
        UINT length = 0;
        if (VerQueryValueA (block.data(), "\\", &value, &length) != FALSE && length >= sizeof (VS_FIXEDFILEINFO))
        {
            VS_FIXEDFILEINFO fixed;
            std::memcpy (&fixed, value, sizeof fixed);
            std::ostringstream text;
            text << (fixed.dwFileVersionMS >> 16) << "." << (fixed.dwFileVersionMS & 0xFFFF) << "." << (fixed.dwFileVersionLS >> 16)
                 << "." << (fixed.dwFileVersionLS & 0xFFFF);
            file.version = text.str();
        }
        if (VerQueryValueA (block.data(), "\\VarFileInfo\\Translation", &value, &length) != FALSE && length >= 4)
        {
            uint16_t translation[2] = {};
            std::memcpy (translation, value, sizeof translation);
            char key[64] = {};
            std::snprintf (key, sizeof key, "\\StringFileInfo\\%04x%04x\\LegalCopyright", translation[0], translation[1]);
            if (VerQueryValueA (block.data(), key, &value, &length) != FALSE && length > 0)
                file.copyright = terminated (static_cast<const char*> (value), length);
        }
        return file;
    }

    class RTASPluginInstance final : public PluginInstance
    {
    public:
        RTASPluginInstance (const HostedPlugIn& plugIn, const HostedType& type, HostWindows windows)
            : hosted (plugIn, type), windows (windows)
        {
        }

        std::vector<HostParameter> parameters() const override
        {
            std::vector<HostParameter> list;
            const int16_t count = hosted.NumControls();
            for (int32_t index = 1; index <= count; ++index)
            {
                const int32_t value = hosted.ControlValue (index);
                list.push_back ({ index, std::to_string (index), hosted.ControlName (index), ControlValueToFraction (value),
                                  hosted.ControlText (index, value) });
            }
            return list;
        }

        // Automation as the host sends it: the control value through the host's update.
        void setParameter (const HostParameter& parameter, double value) override
        {
            hosted.UpdateControlValue (parameter.index, FractionToControlValue (value));
        }

        void setMasterBypass (bool on) override
        {
            if (hosted.MasterBypassControlIndex() == 0)
                throw std::runtime_error ("the plug-in has no master bypass");
            hosted.SetMasterBypass (on);
        }

        void process (const float* const* inputs, float* const* outputs, int count) override
        {
            if (const int32_t result = hosted.Render (inputs, outputs, count); result != 0)
                throw std::runtime_error ("the engine could not render the plug-in (" + std::to_string (result) + ")");
        }

        std::vector<ChunkBytes> saveChunks() const override
        {
            std::vector<ChunkBytes> chunks;
            for (const uint32_t id : hosted.ChunkIDs())
                chunks.push_back (hosted.SaveChunk (id));
            return chunks;
        }

        // A 'midi' chunk that names no MIDI identity restores nothing: the plug-in says so, and
        // it is no failure.
        void restoreChunk (const ChunkBytes& chunk) override
        {
            uint32_t id = 0;
            std::memcpy (&id, chunk.data() + offsetof (SFicPlugInChunk, fChunkID), sizeof id);
            const int32_t result = hosted.RestoreChunk (chunk);
            if (result != 0 && ! (id == midiChunkID && result == noMidiIdentity))
                throw std::runtime_error ("the plug-in refused chunk " + FourCharText (id) + " (" + std::to_string (result) + ")");
        }

        ChunkSizeField chunkSizeField() const override { return ChunkSizeField::headerAndData; }

        // The host opens a window of the view's size, whose port makes the editor; once the
        // editor's refresh timer has shown the settings, the host has the view draw it all.
        std::optional<juce::Image> drawEditor() override
        {
            if (windows == HostWindows::none)
                return std::nullopt;
            const HostedWindow window (hosted);
            juce::Thread::sleep (2 * editorRefreshMs);
            window.Redraw();
            return pictureOfPixels (window.Pixels(), window.Width(), window.Height());
        }

    private:
        HostedProcess hosted;
        const HostWindows windows;
    };

    class RTASPluginHost final : public PluginHost
    {
    public:
        RTASPluginHost (const std::string& pluginPath, HostWindows windows)
            : path (pluginPath),
              windows (windows),
              road (windows == HostWindows::shown ? StartUpRoad::kRegisteredProcedures : StartUpRoad::kWinPlugInOpen),
              loader ({ KESTRUNE_DAE_PATH, KESTRUNE_HOSTEXT_PATH, pluginPath, KESTRUNE_DSI_PATH, KESTRUNE_DSP_MANAGER_PATH })
        {
            if (! loader.loadHost())
                throw std::runtime_error ("cannot load the stand-in engine's libraries beside " KESTRUNE_DAE_PATH);
            // A long-running host: the stand-ins keep no record of its calls.
            loader.engine().script().setRecording (false);
            loader.objectTracker().script().setRecording (false);
            loader.cardLibrary()->script().setRecording (false);
            loader.dspManager()->script().setRecording (false);
            loader.toolbox()->script().setRecording (false);
            if (! loader.loadPlugIn())
                throw std::runtime_error ("cannot load the plug-in file " + pluginPath);
            if (const int32_t result = loader.open (road); result != 0)
            {
                loader.close (road);
                throw std::runtime_error ("the plug-in refused to open (" + std::to_string (result) + "): " + pluginPath);
            }
            try
            {
                plugIn.emplace (loader);
            }
            catch (...)
            {
                loader.close (road);
                throw;
            }
        }

        ~RTASPluginHost() override { loader.close (road); }

        void describe (std::ostream& out) const override
        {
            const auto file = readFileVersion (path);
            out << "plug-in:      " << plugIn->ProductName() << "\nmanufacturer: " << plugIn->ManufacturerName()
                << "\nversion:      " << file.version << "\ncopyright:    " << file.copyright << "\n";
            const auto& types = plugIn->Types();
            for (size_t i = 0; i < types.size(); ++i)
            {
                const auto& type = types[i];
                out << "type " << i + 1 << ":       " << type.name << ", " << type.inputs << " in / " << type.outputs
                    << " out, manufacturer " << FourCharText (type.manufacturer) << ", product " << FourCharText (type.product)
                    << ", type " << FourCharText (type.typeID) << "\n";
            }
        }

        std::unique_ptr<PluginInstance> newInstance (int channels, double sampleRate) override
        {
            const HostedType* type = plugIn->TypeFor (channels);
            if (type == nullptr)
                throw std::runtime_error ("the plug-in has no type for " + std::to_string (channels) + " channels");
            if (! (sampleRate >= 1.0 && sampleRate <= 2147483647.0) || sampleRate != std::floor (sampleRate))
                throw std::runtime_error ("the engine runs at whole sample rates only");
            plugIn->SetSampleRate (int32_t (sampleRate));
            return std::make_unique<RTASPluginInstance> (*plugIn, *type, windows);
        }

    private:
        std::string path;
        const HostWindows windows;
        const StartUpRoad road;
        PlugInLoader loader;
        std::optional<HostedPlugIn> plugIn;
    };
} // namespace

std::unique_ptr<PluginHost> openPluginHost (const std::string& pluginPath, HostWindows windows)
{
    return std::make_unique<RTASPluginHost> (pluginPath, windows);
}
} // namespace kestrune::tool
