#include "AAX_CParameter.h"
#include "AAX_CParameterRegistry.h"
#include "HostContext.h"

#include <gtest/gtest.h>

namespace
{
using kestrune::host::aax::HostContext;
using kestrune::host::aax::HostFramework;
using kestrune::host::aax::NewHostObject;

std::unique_ptr<AAX_IParameter> MakeParameter (const char* id, float value)
{
    return std::make_unique<AAX_CParameter<float>> (id, AAX_CString (id), value, AAX_CLinearTaperDelegate<float, 0>(),
                                                    AAX_CNumberDisplayDelegate<float, 3, 0>());
}

TEST (ParameterRegistry, KeepsOrderAndRefusesDuplicates)
{
    AAX_CParameterRegistry registry;
    EXPECT_TRUE (registry.AddParameter (MakeParameter ("MasterBypassID", 0.0f)));
    EXPECT_TRUE (registry.AddParameter (MakeParameter ("0", 0.25f)));
    EXPECT_TRUE (registry.AddParameter (MakeParameter ("1", 0.5f)));
    // The duplicate is refused and freed (the sanitized build checks for leaks).
    EXPECT_FALSE (registry.AddParameter (MakeParameter ("0", 0.75f)));
    EXPECT_FALSE (registry.AddParameter (nullptr));
    EXPECT_EQ (registry.Count(), 3);
    EXPECT_DOUBLE_EQ (registry.GetParameterByID ("0")->GetNormalizedValue(), 0.25);

    const std::pair<const char*, int32_t> indices[] = { { "MasterBypassID", 0 }, { "0", 1 }, { "1", 2 }, { "2", -1 }, { nullptr, -1 } };
    for (const auto& [id, index] : indices)
    {
        EXPECT_EQ (registry.GetParameterIndex (id), index) << (id != nullptr ? id : "null");
        EXPECT_EQ (registry.GetParameterByID (id), registry.GetParameterByIndex (index));
    }
    EXPECT_EQ (registry.GetParameterByIndex (3), nullptr);

    registry.RemoveAllParameters();
    EXPECT_EQ (registry.Count(), 0);
    EXPECT_EQ (registry.GetParameterByID ("0"), nullptr);
    EXPECT_EQ (registry.GetParameterIndex ("0"), -1);
}

TEST (ParameterRegistry, DelegateReachesParametersAndCanBeDetachedBeforeItGoes)
{
    HostFramework framework;
    auto* host = NewHostObject<HostContext> (framework);
    {
        AAX_CParameterRegistry registry;
        auto delegate = std::make_unique<AAX_VAutomationDelegate> (host);
        registry.AddParameter (MakeParameter ("0", 0.0f));
        registry.SetAutomationDelegate (delegate.get());
        registry.AddParameter (MakeParameter ("1", 0.0f));
        EXPECT_EQ (host->AutomationDelegate().Registered(), (std::set<std::string> { "0", "1" }));

        // What the owner does when it lets go of its host objects.
        registry.RemoveAllParameters();
        registry.SetAutomationDelegate (nullptr);
        delegate.reset();
        EXPECT_TRUE (host->AutomationDelegate().Registered().empty());
        // Parameters added afterwards never see the deleted delegate.
        registry.AddParameter (MakeParameter ("2", 0.0f));
        registry.GetParameterByID ("2")->SetNormalizedValue (0.5);
        EXPECT_DOUBLE_EQ (registry.GetParameterByID ("2")->GetNormalizedValue(), 0.5);
    }
    host->Release();
    EXPECT_EQ (framework.LiveObjects(), 0);
}
} // namespace
