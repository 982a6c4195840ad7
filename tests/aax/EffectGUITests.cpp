// The library's effect GUI on its own: what Initialize, SetViewContainer and
// UpdateAllParameters ask of the derived class and of the instance.
#include "AAX_CEffectGUI.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CParameter.h"
#include "WrapperTestSupport.h"

#include <string>
#include <vector>

namespace
{
using namespace aax_test;
using kestrune::host::aax::HostViewContainer;

// An instance with two parameters, "a" and "b".
class TwoParameters final : public AAX_CEffectParameters
{
protected:
    int32_t InitializeEffect() override
    {
        for (const char* id : { "a", "b" })
            Parameters().AddParameter (std::make_unique<AAX_CParameter<float>> (
                id, AAX_CString (id), 0.5f, AAX_CLinearTaperDelegate<float>(), AAX_CNumberDisplayDelegate<float, 3>()));
        return AAX_SUCCESS;
    }
};

// Records what the base asks of it.
class RecordingGUI final : public AAX_CEffectGUI
{
public:
    std::vector<std::string> events;

    int32_t ParameterUpdated (const char* id) override
    {
        events.push_back (std::string ("updated ") + id);
        return AAX_SUCCESS;
    }
    bool HasEffectParameters() const { return GetEffectParameters() != nullptr; }
    bool HasContainer() const { return GetViewContainer() != nullptr; }

protected:
    void CreateViewContents() override { events.push_back ("contents"); }
    void CreateViewContainer() override { events.push_back ("container"); }
    void DeleteViewContainer() override { events.push_back ("delete"); }
};

TEST (EffectGUI, InitializeNeedsAnUnknownAndCreatesTheContents)
{
    HostFixture fixture;
    auto* gui = new RecordingGUI;
    gui->AddRef();
    EXPECT_EQ (gui->Initialize (nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_TRUE (gui->events.empty());
    EXPECT_EQ (gui->Initialize (fixture.host), AAX_SUCCESS);
    EXPECT_EQ (gui->events, std::vector<std::string> { "contents" });
    EXPECT_FALSE (gui->HasEffectParameters()); // this host unknown has no instance
    void* out = nullptr;
    ASSERT_EQ (gui->QueryInterface (IID_IACFEffectGUI, &out), ACF_OK);
    static_cast<IACFUnknown*> (out)->Release();
    EXPECT_EQ (gui->Release(), 0u);
}

TEST (EffectGUI, ContainersDriveTheViewAndEveryParameterUpdate)
{
    HostFixture fixture;
    auto* parameters = new TwoParameters;
    parameters->AddRef();
    ASSERT_EQ (parameters->Initialize (fixture.host), AAX_SUCCESS);
    fixture.host->SetEffectParameters (static_cast<AAX_IACFEffectParameters*> (parameters));

    auto* gui = new RecordingGUI;
    gui->AddRef();
    ASSERT_EQ (gui->Initialize (fixture.host), AAX_SUCCESS);
    EXPECT_TRUE (gui->HasEffectParameters());

    const int32_t liveBefore = fixture.framework.LiveObjects();
    auto* first = NewHostObject<HostViewContainer> (fixture.framework);
    auto* second = NewHostObject<HostViewContainer> (fixture.framework);
    EXPECT_EQ (gui->SetViewContainer (first), AAX_SUCCESS);
    EXPECT_EQ (gui->SetViewContainer (second), AAX_SUCCESS);
    first->Release();
    second->Release();
    // The first container is let go when the second one comes.
    EXPECT_EQ (fixture.framework.LiveObjects(), liveBefore + 1);
    EXPECT_EQ (gui->SetViewContainer (nullptr), AAX_SUCCESS);
    EXPECT_FALSE (gui->HasContainer());
    EXPECT_EQ (fixture.framework.LiveObjects(), liveBefore);

    const std::vector<std::string> expected = { "contents", "container", "updated a", "updated b",
                                                "container", "updated a", "updated b", "delete" };
    EXPECT_EQ (gui->events, expected);

    EXPECT_EQ (gui->Uninitialize(), AAX_SUCCESS);
    EXPECT_FALSE (gui->HasEffectParameters());
    EXPECT_EQ (gui->Release(), 0u);
    fixture.host->SetEffectParameters (nullptr);
    parameters->Uninitialize();
    EXPECT_EQ (parameters->Release(), 0u);
}

TEST (EffectGUI, OperationsWithoutARoleAnswerTheirCodes)
{
    RecordingGUI gui;
    AAX_Point size { 1.0f, 2.0f };
    EXPECT_EQ (gui.GetViewSize (&size), AAX_SUCCESS);
    EXPECT_EQ (size.vert, 1.0f);
    EXPECT_EQ (gui.ReservedNotification (1, nullptr, 0), AAX_SUCCESS);
    EXPECT_EQ (gui.ReservedOperation8(), AAX_SUCCESS);
    EXPECT_EQ (gui.ReservedOperation9(), AAX_SUCCESS);
    EXPECT_EQ (gui.ReservedQuery11 ("a", nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (gui.ReservedOperation12(), AAX_SUCCESS);
    EXPECT_EQ (gui.Uninitialize(), AAX_SUCCESS);
}
} // namespace
