// The host tool's back end for the 64-bit plug-in file: KESTrune.aaxplugin loaded, started and
// registered by the stand-in AAX host, and its instances run as that host runs them.
#include "PluginHost.h"

#include "HostEditor.h"
#include "HostInstance.h"
#include "HostString.h"

#include <juce_events/juce_events.h>

#include <stdexcept>

namespace kestrune::tool
{
namespace
{
    using namespace host::aax;

    constexpr const char* masterBypassID = "MasterBypassID";

    std::string fourCC (int32_t code)
    {
        std::string text;
        for (int shift = 24; shift >= 0; shift -= 8)
            text += static_cast<char> ((static_cast<uint32_t> (code) >> shift) & 0xFF);
        return text;
    }

    class AAXPluginInstance final : public PluginInstance
    {
    public:
        AAXPluginInstance (AAXModuleDriver& driver, int channels, double sampleRate)
            : instance (driver, InstanceSettings { channels, sampleRate, 0 })
        {
        }

        std::vector<HostParameter> parameters() const override
        {
            auto& host = instance.Parameters();
            int32_t count = 0;
            host.GetNumberOfParameters (&count);
            std::vector<HostParameter> list;
            for (int32_t index = 0; index < count; ++index)
            {
                HostParameter parameter;
                parameter.index = index;
                HostString id, name, text;
                if (host.GetParameterIDFromIndex (index, &id) != AAX_SUCCESS)
                    continue;
                parameter.id = id.Text();
                host.GetParameterName (parameter.id.c_str(), &name);
                parameter.name = name.Text();
                host.GetParameterNormalizedValue (parameter.id.c_str(), &parameter.value);
                host.GetParameterValueString (parameter.id.c_str(), &text, 32);
                parameter.text = text.Text();
                list.push_back (std::move (parameter));
            }
            return list;
        }

        void setParameter (const HostParameter& parameter, double value) override
        {
            if (instance.Parameters().SetParameterNormalizedValue (parameter.id.c_str(), value) != AAX_SUCCESS)
                throw std::runtime_error ("the plug-in refused " + parameter.name);
        }

        void setMasterBypass (bool on) override
        {
            if (instance.Parameters().SetParameterNormalizedValue (masterBypassID, on ? 1.0 : 0.0) != AAX_SUCCESS)
                throw std::runtime_error ("the plug-in refused its master bypass");
        }

        void process (const float* const* inputs, float* const* outputs, int count) override
        {
            instance.ProcessBlock (inputs, outputs, count);
            // The stand-in host logs every call the plug-in makes, for tests; the tool reads no
            // log, and one that grew block by block would grow with the file.
            instance.Host().Framework().ClearCalls();
        }

        std::vector<ChunkBytes> saveChunks() const override
        {
            std::vector<ChunkRecord> records;
            if (const auto result = instance.SaveAllChunks (records); result != AAX_SUCCESS)
                throw std::runtime_error ("the plug-in gave no state (" + std::to_string (result) + ")");
            std::vector<ChunkBytes> chunks;
            for (const auto& record : records)
                chunks.push_back (record.Bytes());
            return chunks;
        }

        void restoreChunk (const ChunkBytes& chunk) override
        {
            if (const auto result = instance.RestoreChunk (ChunkRecord::FromBytes (chunk)); result != AAX_SUCCESS)
                throw std::runtime_error ("the plug-in refused a chunk (" + std::to_string (result) + ")");
        }

        ChunkSizeField chunkSizeField() const override { return ChunkSizeField::data; }

        // Opens the editor headless through the GUI factory and lets its refresh timer run.
        std::optional<juce::Image> drawEditor() override
        {
            HostEditor editor (instance);
            auto& view = editor.OpenOffscreen();
            juce::Thread::sleep (2 * editorRefreshMs);
            const auto pixels = view.Draw();
            if (pixels.empty() || view.Width() <= 0 || view.Height() <= 0)
                throw std::runtime_error ("the editor drew nothing");
            return pictureOfPixels (pixels, view.Width(), view.Height());
        }

    private:
        HostInstance instance;
    };

    class AAXPluginHost final : public PluginHost
    {
    public:
        explicit AAXPluginHost (const std::string& pluginPath) : driver (framework, pluginPath)
        {
            if (driver.Startup() != ACF_OK)
                throw std::runtime_error ("the plug-in refused to start: " + pluginPath);
            if (const auto result = driver.RegisterPlugin(); result != ACF_OK)
                throw std::runtime_error ("the plug-in did not register (" + std::to_string (result) + "): " + pluginPath);
            if (framework.Description().effects.empty())
                throw std::runtime_error ("the plug-in described no effect: " + pluginPath);
        }

        ~AAXPluginHost() override { driver.Shutdown(); }

        void describe (std::ostream& out) const override
        {
            const auto& description = framework.Description();
            const auto& effect = description.effects.front();
            out << "plug-in:      ";
            for (size_t i = 0; i < description.packageNames.size(); ++i)
                out << (i == 0 ? "" : " / ") << description.packageNames[i];
            out << "\nmanufacturer: " << description.manufacturer << "\nversion:      "
                << ((description.packageVersion >> 16) & 0xFF) << "." << ((description.packageVersion >> 8) & 0xFF) << "."
                << (description.packageVersion & 0xFF) << "\neffect:       " << effect.identifier << ", category";
            for (auto category : effect.categories)
                out << " " << category;
            out << "\n";
            for (size_t i = 0; i < effect.components.size(); ++i)
            {
                const auto& properties = effect.components[i].processProcedures.empty() ? PropertyValues {}
                                                                                        : effect.components[i].processProcedures[0].properties;
                const auto property = [&] (uint32_t id) { const auto found = properties.find (id); return found != properties.end() ? found->second : 0; };
                out << "component " << i + 1 << ":  " << i + 1 << " in / " << i + 1 << " out, manufacturer "
                    << fourCC (property (AAX_PROPERTY_MANUFACTURER_ID)) << ", product " << fourCC (property (AAX_PROPERTY_PRODUCT_ID))
                    << ", plug-in " << fourCC (property (AAX_PROPERTY_PLUGIN_ID)) << "\n";
            }
        }

        std::unique_ptr<PluginInstance> newInstance (int channels, double sampleRate) override
        {
            return std::make_unique<AAXPluginInstance> (driver, channels, sampleRate);
        }

    private:
        HostFramework framework;
        AAXModuleDriver driver;
    };
} // namespace

// The AAX host opens an editor through the GUI factory whenever it shows one: it starts the
// file alike either way.
std::unique_ptr<PluginHost> openPluginHost (const std::string& pluginPath, HostWindows)
{
    return std::make_unique<AAXPluginHost> (pluginPath);
}
} // namespace kestrune::tool
