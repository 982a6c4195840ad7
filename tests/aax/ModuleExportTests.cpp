// A module loaded through the stand-in host's driver, as the host's framework loads one.
#include "AAXModuleDriver.h"
#include "TestModuleIds.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{
using kestrune::host::aax::AAXModuleDriver;
using kestrune::host::aax::HostFramework;

class ModuleExports : public ::testing::Test
{
protected:
    void TearDown() override
    {
        driver.reset();
        // Every host object is gone once the driver has let go of its own.
        EXPECT_EQ (framework.LiveObjects(), 0);
        EXPECT_EQ (framework.References(), 0);
    }

    AAXModuleDriver& Load (const char* path = TEST_MODULE_PATH)
    {
        driver.emplace (framework, path);
        return *driver;
    }

    HostFramework framework;
    std::optional<AAXModuleDriver> driver;
};

TEST_F (ModuleExports, OnlyTheSevenEntryPointsAreVisible)
{
    AAXModuleDriver& module = Load();
    EXPECT_FALSE (module.HasSymbol ("GetEffectDescriptions"));
    EXPECT_FALSE (module.HasSymbol ("AAX_GetHostServices"));
    EXPECT_FALSE (module.HasSymbol ("_ZN11AAX_CString6AppendEPKc"));
    EXPECT_FALSE (module.HasSymbol ("_ZN11CACFUnknown20GetActiveObjectCountEv"));
    EXPECT_TRUE (module.HasSymbol ("ACFGetSDKVersion"));
}

TEST_F (ModuleExports, StartupTwiceMakesOneHostServicesObjectAndShutdownDropsIt)
{
    AAXModuleDriver& module = Load();
    EXPECT_EQ (module.Shutdown(), ACF_OK); // without startup: nothing to do
    EXPECT_EQ (module.Startup(), ACF_OK);
    EXPECT_EQ (module.Startup(), ACF_OK);
    EXPECT_EQ (framework.CallsTo ("ObjectFactory").size(), 1u);
    const int32_t withServices = framework.LiveObjects();
    EXPECT_EQ (module.Shutdown(), ACF_OK);
    EXPECT_EQ (framework.LiveObjects(), withServices - 1);
    EXPECT_EQ (module.Exports().startup (nullptr), ACF_OK);
    EXPECT_EQ (framework.LiveObjects(), withServices - 1);
}

TEST_F (ModuleExports, StartupWithANullFactoryAnswersUnexpected)
{
    AAXModuleDriver& module = Load();
    framework.SetNullFactory (true);
    EXPECT_EQ (module.Startup(), ACF_E_UNEXPECTED);
}

TEST_F (ModuleExports, VersionAndFixedAnswers)
{
    AAXModuleDriver& module = Load();
    uint64_t version = 0;
    EXPECT_EQ (module.Exports().getSDKVersion (&version), ACF_OK);
    EXPECT_EQ (version, 0x000002000061125CULL);
    EXPECT_EQ (module.Exports().getSDKVersion (nullptr), ACF_E_POINTER);

    int marker = 0;
    IACFUnknown* component = reinterpret_cast<IACFUnknown*> (&marker);
    EXPECT_EQ (module.Exports().registerComponent (&module.Host(), &IID_IACFUnknown, &component), ACF_OK);
    EXPECT_EQ (component, nullptr);
    void* factory = &marker;
    EXPECT_EQ (module.Exports().getClassFactory (&module.Host(), &IID_IACFUnknown, &IID_IACFUnknown, &factory),
               AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (factory, nullptr);
}

TEST_F (ModuleExports, RegistrationRecordsTheDescriptionAndHandsBackTheDefinition)
{
    AAXModuleDriver& module = Load();
    ASSERT_EQ (module.Startup(), ACF_OK);
    ASSERT_EQ (module.RegisterPlugin(), ACF_OK);
    EXPECT_NE (module.Definition(), nullptr);

    const auto& description = framework.Description();
    EXPECT_EQ (description.definitionQueries, 1);
    EXPECT_EQ (description.manufacturer, kTestManufacturer);
    ASSERT_EQ (description.packageNames.size(), 2u);
    EXPECT_EQ (description.packageNames[0], kTestPackageNames[0]);
    EXPECT_EQ (description.packageNames[1], kTestPackageNames[1]);
    EXPECT_EQ (description.packageVersion, kTestPackageVersion);
    ASSERT_EQ (description.effects.size(), 1u);
    const auto& effect = description.effects[0];
    EXPECT_EQ (effect.identifier, kTestEffectId);
    EXPECT_EQ (effect.names, (std::vector<std::string> { kTestPackageNames[0], kTestPackageNames[1] }));
    EXPECT_EQ (effect.categories, std::vector<uint32_t> { kTestCategory });
    ASSERT_NE (effect.Procedure (0), nullptr);
    ASSERT_EQ (effect.components.size(), 1u);
    const auto& component = effect.components[0];
    ASSERT_EQ (component.dataInPorts.size(), 1u);
    EXPECT_EQ (component.dataInPorts[0].field, 3u);
    EXPECT_EQ (component.dataInPorts[0].packetSize, 4u);
    EXPECT_EQ (component.dataInPorts[0].buffered, 1);
    ASSERT_EQ (component.privateData.size(), 1u);
    EXPECT_EQ (component.privateData[0].size, 8);
    ASSERT_EQ (component.processProcedures.size(), 1u);
    for (const auto& [property, value] : kTestComponentProperties)
        EXPECT_EQ (component.processProcedures[0].properties.at (property), value) << property;

    // The module's own wrappers let go of everything: only the driver's host unknown, its
    // services, the module's host services and the definition remain.
    EXPECT_EQ (framework.LiveObjects(), 1 + 4 + 1 + 1);
    EXPECT_EQ (module.Shutdown(), ACF_OK);
}

TEST_F (ModuleExports, RegistrationClearsTheOutParameterFirst)
{
    AAXModuleDriver& module = Load();
    framework.FailCreation (CLSID_Collection);
    int marker = 0;
    auto* definition = reinterpret_cast<IACFPluginDefinition*> (&marker);
    // Without a host collection nothing is recorded and the definition cannot be asked for.
    EXPECT_EQ (module.Exports().registerPlugin (&module.Host(), &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (definition, nullptr);

    framework.SetNullFactory (true);
    definition = reinterpret_cast<IACFPluginDefinition*> (&marker);
    EXPECT_EQ (module.Exports().registerPlugin (&module.Host(), &definition), ACF_E_UNEXPECTED);
    EXPECT_EQ (definition, nullptr);
}

TEST_F (ModuleExports, RefusedDefinitionQueryAnswersNullObject)
{
    AAXModuleDriver& module = Load();
    framework.FailQuery (IID_IACFPluginDefinition);
    EXPECT_EQ (module.RegisterPlugin(), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (module.Definition(), nullptr);
    EXPECT_EQ (framework.Description().effects.size(), 1u);
}

TEST_F (ModuleExports, FailingDescriptionReturnsItsCodeWithoutAskingForTheDefinition)
{
    AAXModuleDriver& module = Load (FAILING_MODULE_PATH);
    int marker = 0;
    auto* definition = reinterpret_cast<IACFPluginDefinition*> (&marker);
    EXPECT_EQ (module.Exports().registerPlugin (&module.Host(), &definition), kFailingDescriptionResult);
    EXPECT_EQ (definition, nullptr);
    EXPECT_EQ (framework.Description().definitionQueries, 0);
}

TEST_F (ModuleExports, CanUnloadNowFollowsTheLiveObjects)
{
    AAXModuleDriver& module = Load();
    ASSERT_EQ (module.RegisterPlugin(), ACF_OK);
    EXPECT_EQ (module.CanUnloadNow(), 0);

    IACFUnknown* first = module.CreateObject (0, kTestEffectIID);
    IACFUnknown* second = module.CreateObject (0, kTestEffectIID);
    ASSERT_NE (first, nullptr);
    ASSERT_NE (second, nullptr);
    EXPECT_EQ (module.CanUnloadNow(), 2);

    // An unknown identifier gives null and 0x80000004.
    void* out = &out;
    EXPECT_EQ (first->QueryInterface (IID_IACFEffectGUI, &out), ACF_E_NOINTERFACE);
    EXPECT_EQ (out, nullptr);
    // An object asked for an interface it lacks is freed at once.
    EXPECT_EQ (module.CreateObject (0, IID_IACFEffectGUI), nullptr);
    EXPECT_EQ (module.CanUnloadNow(), 2);

    EXPECT_EQ (first->Release(), 0u);
    EXPECT_EQ (module.CanUnloadNow(), 1);
    EXPECT_EQ (second->Release(), 0u);
    EXPECT_EQ (module.CanUnloadNow(), 0);
}
} // namespace
