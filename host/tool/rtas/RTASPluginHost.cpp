// The host tool's back end for the 32-bit plug-in file: KESTrune.dpm loaded by the stand-in
// engine and toolbox (PlugInLoader), opened without views as a host without windows opens it,
// and driven through the routines it hands out by selector: its group and types, processes
// created and deleted, controls by index with their names and texts, chunks and the master
// bypass. Audio runs through the render callback that each process's adaptor published to the
// engine's object tracker, as the engine calls it.
#include "PluginHost.h"

#include <PlugInLoader.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <stdexcept>

namespace kestrune::tool
{
namespace
{
    using namespace host::rtas;

    // The routines the tool calls, by selector.
    namespace Selector
    {
        constexpr uint32_t typeName = 5;
        constexpr uint32_t typeIDsByIndex = 6;
        constexpr uint32_t sampleRate = 7;
        constexpr uint32_t groupName = 12;
        constexpr uint32_t hostCallback = 14;
        constexpr uint32_t createProcess = 19;
        constexpr uint32_t deleteProcess = 20;
        constexpr uint32_t numTypes = 22;
        constexpr uint32_t masterBypass = 39;
        constexpr uint32_t numControls = 40;
        constexpr uint32_t controlName = 44;
        constexpr uint32_t controlValue = 45;
        constexpr uint32_t masterBypassIndex = 132;
        constexpr uint32_t numChunks = 62;
        constexpr uint32_t chunkID = 63;
        constexpr uint32_t chunkSize = 65;
        constexpr uint32_t getChunk = 66;
        constexpr uint32_t setChunk = 67;
        constexpr uint32_t controlText = 90;
        constexpr uint32_t updateControlValue = 99;
        constexpr uint32_t stemFormats = 137;
    } // namespace Selector

    // The type identifier under which the group answers for itself (its product name).
    constexpr uint32_t groupItself = 0;
    // Texts the plug-in writes: length-prefixed names of up to 255 characters, control names
    // of up to 31, control texts of up to 31.
    constexpr int32_t nameCapacity = 256;
    constexpr int32_t controlTextLength = 31;

    // Control values: the whole signed 32-bit range, t = (v + 2^31) / (2^32 - 1).
    constexpr double controlSteps = 4294967295.0;
    constexpr double controlOffset = 2147483648.0;

    double fractionOf (int32_t controlValue)
    {
        return (double (controlValue) + controlOffset) / controlSteps;
    }

    int32_t controlValueOf (double fraction)
    {
        const double value = std::round (std::clamp (fraction, 0.0, 1.0) * controlSteps - controlOffset);
        return int32_t (std::clamp (value, -controlOffset, controlOffset - 1.0));
    }

    uint32_t word (const void* pointer)
    {
        return uint32_t (reinterpret_cast<uintptr_t> (pointer));
    }

    uint32_t word (int32_t value)
    {
        return uint32_t (value);
    }

    std::string fourCC (uint32_t code)
    {
        std::string text;
        for (int shift = 24; shift >= 0; shift -= 8)
            text += char ((code >> shift) & 0xFF);
        return text;
    }

    std::string lengthPrefixed (const uint8_t* text)
    {
        return std::string (reinterpret_cast<const char*> (text + 1), text[0]);
    }

    std::string terminated (const char* text, size_t capacity)
    {
        return std::string (text, strnlen (text, capacity));
    }

    // Channels of a stem-format index, as the engine counts them.
    int channelsOfStemFormat (int32_t format)
    {
        constexpr int channels[] = { 1, 2, 3, 4, 4, 5, 6, 6, 7, 7, 8 };
        return format >= 0 && format < int32_t (std::size (channels)) ? channels[format] : 0;
    }

    // A file's version and its texts, as the host reads them from the file's version block.
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

    // One effect type the group offers.
    struct PlugInType
    {
        uint32_t manufacturer = 0;
        uint32_t product = 0;
        uint32_t typeID = 0;
        std::string name;
        int inputs = 0;
        int outputs = 0;
    };

    // The routines of the loaded module; each call throws when the module has no routine for
    // the selector.
    class Routines
    {
    public:
        explicit Routines (PlugInLoader& loaderToUse) : loader (loaderToUse) {}

        int32_t call (uint32_t selector, const std::vector<uint32_t>& words) const
        {
            const auto result = loader.call (selector, words);
            if (! result)
                throw std::runtime_error ("the plug-in has no routine " + std::to_string (selector));
            return *result;
        }

        // Calls and throws with the plug-in's code when it answers other than 0.
        void require (uint32_t selector, const std::vector<uint32_t>& words, const std::string& what) const
        {
            if (const int32_t result = call (selector, words); result != 0)
                throw std::runtime_error ("the plug-in refused " + what + " (" + std::to_string (result) + ")");
        }

    private:
        PlugInLoader& loader;
    };

    class RTASPluginInstance final : public PluginInstance
    {
    public:
        RTASPluginInstance (PlugInLoader& loaderToUse, const PlugInType& typeToUse)
            : loader (loaderToUse), routines (loaderToUse), type (typeToUse)
        {
            routines.require (Selector::createProcess, { type.typeID, word (&processID) }, "an instance");
            try
            {
                findWorker();
            }
            catch (...)
            {
                routines.call (Selector::deleteProcess, { type.typeID, word (processID) });
                throw;
            }
            for (int c = 0; c < type.inputs; ++c)
                inputBuffers.emplace_back (maxBlock, 0.0f);
            for (int c = 0; c < type.outputs; ++c)
                outputBuffers.emplace_back (maxBlock, 0.0f);
        }

        ~RTASPluginInstance() override
        {
            try
            {
                routines.call (Selector::deleteProcess, { type.typeID, word (processID) });
            }
            catch (const std::exception&)
            {
                // The host goes on without the instance; the plug-in's close deletes what is left.
            }
        }

        std::vector<HostParameter> parameters() const override
        {
            int16_t count = 0;
            routines.require (Selector::numControls, { type.typeID, word (processID), word (&count) }, "its controls");
            std::vector<HostParameter> list;
            for (int32_t index = 1; index <= count; ++index)
            {
                HostParameter parameter;
                parameter.index = index;
                parameter.id = std::to_string (index);
                char name[nameCapacity] = {};
                routines.call (Selector::controlName, { type.typeID, word (processID), word (index), word (name) });
                parameter.name = terminated (name, sizeof name);
                int32_t value = 0;
                routines.call (Selector::controlValue, { type.typeID, word (processID), word (index), word (&value) });
                parameter.value = fractionOf (value);
                char text[nameCapacity] = {};
                routines.call (Selector::controlText,
                               { type.typeID, word (processID), word (index), word (value), word (text), word (controlTextLength) });
                parameter.text = terminated (text, sizeof text);
                list.push_back (std::move (parameter));
            }
            return list;
        }

        // Automation as the host sends it: the control value through the host's update.
        void setParameter (const HostParameter& parameter, double value) override
        {
            routines.require (Selector::updateControlValue,
                              { type.typeID, word (processID), word (parameter.index), word (controlValueOf (value)) },
                              parameter.name);
        }

        void setMasterBypass (bool on) override
        {
            int32_t index = 0;
            routines.require (Selector::masterBypassIndex, { type.typeID, word (processID), word (&index) }, "its master bypass");
            if (index == 0)
                throw std::runtime_error ("the plug-in has no master bypass");
            routines.require (Selector::masterBypass, { type.typeID, word (processID), word (index), on ? 1u : 0u }, "its master bypass");
        }

        // The engine's block: the inputs copied into the engine's own buffers, the render
        // callback called through the object tracker with a cell per channel, and each output
        // read where its cell points afterwards (the plug-in may point it at silence).
        void process (const float* const* inputs, float* const* outputs, int count) override
        {
            if (count < 0 || size_t (count) > maxBlock)
                throw std::logic_error ("a block longer than the engine's buffers");
            std::vector<RenderChannelCell> cells;
            for (int c = 0; c < type.inputs; ++c)
            {
                std::copy (inputs[c], inputs[c] + count, inputBuffers[size_t (c)].begin());
                cells.push_back (inputBuffers[size_t (c)].data());
            }
            for (int c = 0; c < type.outputs; ++c)
                cells.push_back (outputBuffers[size_t (c)].data());
            std::vector<RenderChannelCell*> cellPointers;
            for (auto& cell : cells)
                cellPointers.push_back (&cell);
            const int32_t result = loader.objectTracker().render (worker, cellPointers, count, count);
            if (result != 0)
                throw std::runtime_error ("the engine could not render the plug-in (" + std::to_string (result) + ")");
            for (int c = 0; c < type.outputs; ++c)
            {
                const float* rendered = cells[size_t (type.inputs + c)];
                std::copy (rendered, rendered + count, outputs[c]);
            }
        }

        std::vector<ChunkBytes> saveChunks() const override
        {
            int32_t count = 0;
            routines.require (Selector::numChunks, { type.typeID, word (processID), word (&count) }, "its chunks");
            std::vector<ChunkBytes> chunks;
            for (int32_t index = 1; index <= count; ++index)
            {
                uint32_t id = 0;
                routines.require (Selector::chunkID, { type.typeID, word (processID), word (index), word (&id) }, "a chunk");
                int32_t size = 0;
                routines.require (Selector::chunkSize, { type.typeID, word (processID), id, word (&size) }, "chunk " + fourCC (id));
                if (size < int32_t (chunkHeaderSize))
                    throw std::runtime_error ("the plug-in gave chunk " + fourCC (id) + " a size of " + std::to_string (size));
                ChunkBytes chunk (size_t (size), 0);
                std::memcpy (chunk.data(), &size, sizeof size);
                routines.require (Selector::getChunk, { type.typeID, word (processID), id, word (chunk.data()) }, "chunk " + fourCC (id));
                int32_t written = 0;
                std::memcpy (&written, chunk.data(), sizeof written);
                if (written < int32_t (chunkHeaderSize) || written > size)
                    throw std::runtime_error ("the plug-in wrote chunk " + fourCC (id) + " with a size of " + std::to_string (written));
                chunk.resize (size_t (written));
                chunks.push_back (std::move (chunk));
            }
            return chunks;
        }

        void restoreChunk (const ChunkBytes& chunk) override
        {
            ChunkBytes record = chunk;
            uint32_t id = 0;
            std::memcpy (&id, record.data() + offsetof (SFicPlugInChunk, fChunkID), sizeof id);
            routines.require (Selector::setChunk, { type.typeID, word (processID), id, word (record.data()) }, "chunk " + fourCC (id));
        }

        ChunkSizeField chunkSizeField() const override { return ChunkSizeField::headerAndData; }

        std::optional<juce::Image> drawEditor() override { return std::nullopt; }

    private:
        // The engine's buffers hold the tool's largest block.
        static constexpr size_t maxBlock = 4096;

        // The worker of the adaptor that the new process published: the tracked plug-in whose
        // spec names this type and process.
        void findWorker()
        {
            auto& tracker = loader.objectTracker();
            for (const auto& object : tracker.liveObjects())
            {
                if (object.kind != int32_t (ETrackedKind::kPlugIn))
                    continue;
                const auto plugIn = tracker.plugIn (object.object);
                if (plugIn && uint32_t (plugIn->spec[2]) == type.typeID && plugIn->spec[4] == processID && ! plugIn->workers.empty())
                {
                    worker = plugIn->workers.front();
                    return;
                }
            }
            throw std::runtime_error ("the plug-in published no render callback for its instance");
        }

        PlugInLoader& loader;
        Routines routines;
        PlugInType type;
        int32_t processID = 0;
        void* worker = nullptr;
        std::vector<std::vector<float>> inputBuffers, outputBuffers;
    };

    class RTASPluginHost final : public PluginHost
    {
    public:
        explicit RTASPluginHost (const std::string& pluginPath)
            : path (pluginPath), loader ({ KESTRUNE_DAE_PATH, KESTRUNE_HOSTEXT_PATH, pluginPath, KESTRUNE_DSI_PATH, KESTRUNE_DSP_MANAGER_PATH }), routines (loader)
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
            if (const int32_t result = loader.open (StartUpRoad::kWinPlugInOpen); result != 0)
            {
                loader.close (StartUpRoad::kWinPlugInOpen);
                throw std::runtime_error ("the plug-in refused to open (" + std::to_string (result) + "): " + pluginPath);
            }
            try
            {
                start();
            }
            catch (...)
            {
                loader.close (StartUpRoad::kWinPlugInOpen);
                throw;
            }
        }

        ~RTASPluginHost() override { loader.close (StartUpRoad::kWinPlugInOpen); }

        void describe (std::ostream& out) const override
        {
            const auto file = readFileVersion (path);
            out << "plug-in:      " << productName << "\nmanufacturer: " << manufacturerName << "\nversion:      " << file.version
                << "\ncopyright:    " << file.copyright << "\n";
            for (size_t i = 0; i < types.size(); ++i)
            {
                const auto& type = types[i];
                out << "type " << i + 1 << ":       " << type.name << ", " << type.inputs << " in / " << type.outputs
                    << " out, manufacturer " << fourCC (type.manufacturer) << ", product " << fourCC (type.product) << ", type "
                    << fourCC (type.typeID) << "\n";
            }
        }

        std::unique_ptr<PluginInstance> newInstance (int channels, double sampleRate) override
        {
            const auto type = std::find_if (types.begin(), types.end(), [channels] (const PlugInType& t) {
                return t.inputs == channels && t.outputs == channels;
            });
            if (type == types.end())
                throw std::runtime_error ("the plug-in has no type for " + std::to_string (channels) + " channels");
            if (! (sampleRate >= 1.0 && sampleRate <= 2147483647.0))
                throw std::runtime_error ("the engine cannot run at that rate");
            routines.require (Selector::sampleRate, { word (int32_t (std::lround (sampleRate))) }, "the sample rate");
            return std::make_unique<RTASPluginInstance> (loader, *type);
        }

    private:
        // The engine hands the group its callback (through which the plug-in finds the object
        // tracker), then reads the group's names and types.
        void start()
        {
            routines.require (Selector::hostCallback, { word (reinterpret_cast<const void*> (loader.objectTracker().hostCallback())) },
                              "the engine's callback");
            uint8_t name[nameCapacity] = {};
            routines.require (Selector::groupName, { word (nameCapacity - 1), word (name) }, "its manufacturer name");
            manufacturerName = lengthPrefixed (name);
            std::fill (std::begin (name), std::end (name), 0);
            routines.require (Selector::typeName, { groupItself, word (nameCapacity - 1), word (name) }, "its product name");
            productName = lengthPrefixed (name);

            int16_t count = 0;
            routines.require (Selector::numTypes, { word (&count) }, "its types");
            for (int32_t index = 1; index <= count; ++index)
                types.push_back (readType (index));
        }

        PlugInType readType (int32_t index) const
        {
            PlugInType type;
            routines.require (Selector::typeIDsByIndex, { word (index), word (&type.manufacturer), word (&type.product), word (&type.typeID) },
                              "type " + std::to_string (index));
            uint8_t name[nameCapacity] = {};
            routines.require (Selector::typeName, { type.typeID, word (nameCapacity - 1), word (name) }, "the name of a type");
            type.name = lengthPrefixed (name);
            SFicPlugInStemFormats formats {};
            routines.require (Selector::stemFormats, { type.typeID, 0, word (&formats) }, "the stem formats of a type");
            type.inputs = channelsOfStemFormat (formats.fInputFormat);
            type.outputs = channelsOfStemFormat (formats.fOutputFormat);
            return type;
        }

        std::string path;
        PlugInLoader loader;
        Routines routines;
        std::string manufacturerName, productName;
        std::vector<PlugInType> types;
    };
} // namespace

std::unique_ptr<PluginHost> openPluginHost (const std::string& pluginPath)
{
    return std::make_unique<RTASPluginHost> (pluginPath);
}

const char* defaultPluginPath()
{
    return KESTRUNE_DEFAULT_PLUGIN_PATH;
}
} // namespace kestrune::tool
