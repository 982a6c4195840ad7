// The module's exports and the description the host records when it registers the plug-in.
#include "PluginTestSupport.h"

#include <cstdio>
#include <set>

namespace
{
using namespace plugin_test;

constexpr int32_t FourCC (const char (&code)[5])
{
    return static_cast<int32_t> ((uint32_t (uint8_t (code[0])) << 24) | (uint32_t (uint8_t (code[1])) << 16)
                                 | (uint32_t (uint8_t (code[2])) << 8) | uint32_t (uint8_t (code[3])));
}

TEST (AAXPluginRegistration, ExportsTheSevenEntryPointsAndNothingElse)
{
    std::FILE* pipe = popen ("nm -D --defined-only " KESTRUNE_PLUGIN_PATH, "r");
    ASSERT_NE (pipe, nullptr);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets (line, sizeof (line), pipe) != nullptr)
    {
        std::string text (line);
        text.erase (text.find_last_not_of ("\r\n") + 1);
        exported.insert (text.substr (text.find_last_of (' ') + 1));
    }
    ASSERT_EQ (pclose (pipe), 0);
    const std::set<std::string> expected = { "ACFRegisterPlugin", "ACFRegisterComponent", "ACFGetClassFactory",
                                             "ACFCanUnloadNow", "ACFStartup", "ACFShutdown", "ACFGetSDKVersion" };
    EXPECT_EQ (exported, expected);
}

TEST (AAXPluginRegistration, DescribesTheEffectAsTheHostSeesIt)
{
    LoadedPlugin plugin;
    const HostDescription& description = plugin.framework.Description();
    EXPECT_EQ (description.manufacturer, "QORaudio");
    EXPECT_EQ (description.packageNames, (std::vector<std::string> { "Dodediv izevare doruzuzude", "KESTrune" }));
    EXPECT_EQ (description.packageVersion, 0x00010500u);
    EXPECT_EQ (description.definitionQueries, 1);
    ASSERT_EQ (description.effects.size(), 1u);

    const RecordedEffect& effect = description.effects[0];
    EXPECT_EQ (effect.names, (std::vector<std::string> { "Dodediv izevare doruzuzude", "KESTrune" }));
    EXPECT_EQ (effect.categories, std::vector<uint32_t> { 2 });
    ASSERT_GE (effect.identifier.size(), 9u);
    EXPECT_EQ (effect.identifier.substr (effect.identifier.size() - 9), ".KESTrune");
    // The GUI factory first, then the processor factory.
    ASSERT_EQ (effect.procedures.size(), 2u);
    EXPECT_EQ (effect.procedures[0].kind, AAX_PROC_EFFECT_GUI);
    EXPECT_EQ (effect.procedures[1].kind, AAX_PROC_EFFECT_PARAMETERS);
    EXPECT_NE (effect.procedures[0].procedure, effect.procedures[1].procedure);

    ASSERT_EQ (effect.components.size(), 2u);
    for (size_t layout = 0; layout < 2; ++layout)
    {
        SCOPED_TRACE (layout);
        const RecordedComponent& component = effect.components[layout];
        const std::map<uint32_t, FieldKind> fields = {
            { 0, FieldKind::audioIn }, { 1, FieldKind::audioOut }, { 2, FieldKind::bufferLength }, { 3, FieldKind::dataInPort }, { 4, FieldKind::privateData }
        };
        EXPECT_EQ (component.fields, fields);
        ASSERT_EQ (component.dataInPorts.size(), 1u);
        EXPECT_EQ (component.dataInPorts[0].packetSize, 4u);
        EXPECT_EQ (component.dataInPorts[0].buffered, 1);
        ASSERT_EQ (component.privateData.size(), 1u);
        EXPECT_EQ (component.privateData[0].size, 8);
        EXPECT_EQ (component.privateData[0].options, 0u);
        ASSERT_EQ (component.processProcedures.size(), 1u);
        EXPECT_NE (component.processProcedures[0].procedure, nullptr);
        const PropertyValues properties = { { 11, FourCC ("QORa") }, { 12, FourCC ("KSTR") }, { 13, FourCC ("jcaa") + int32_t (layout) }, { 60, 1 } };
        EXPECT_EQ (component.processProcedures[0].properties, properties);
    }
    // Each layout's procedure is its own: it knows how many channels its contexts hold.
    EXPECT_NE (effect.components[0].processProcedures[0].procedure, effect.components[1].processProcedures[0].procedure);
}

TEST (AAXPluginRegistration, ReleasedInstancesLetTheModuleUnload)
{
    LoadedPlugin plugin;
    EXPECT_EQ (plugin.driver.CanUnloadNow(), 0);
    {
        auto mono = plugin.NewInstance (1);
        auto stereo = plugin.NewInstance (2);
        EXPECT_EQ (plugin.driver.CanUnloadNow(), 2);
    }
    EXPECT_EQ (plugin.driver.CanUnloadNow(), 0);
}
} // namespace
