// The wrappers of the host's controller, transport, automation delegate, view container and
// host services.
#include "AAX_CString.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VHostServices.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"
#include "WrapperTestSupport.h"

namespace
{
using namespace aax_test;
using kestrune::host::aax::HostViewContainer;

constexpr int32_t kNull = AAX_ERROR_NULL_OBJECT;
constexpr int32_t kUnimplemented = AAX_ERROR_UNIMPLEMENTED;

template <class Wrapper>
auto OnHost()
{
    return [] (HostFramework&, IACFUnknown* host) { return std::make_unique<Wrapper> (host); };
}

TEST (HostWrappers, ControllerForwardsInSlotOrder)
{
    AAX_CString text;
    double rate = 0;
    int32_t value = 0;
    int64_t wide = 0;
    float level = 0;
    uint32_t count = 0;
    const std::vector<ForwardCase<AAX_VController>> cases = {
        { 3, false, kNull, [&] (auto& c) { return c.GetEffectId (&text); } },
        { 4, false, kNull, [&] (auto& c) { return c.GetSampleRate (&rate); } },
        { 5, false, kNull, [&] (auto& c) { return c.GetInputStemFormat (&value); } },
        { 6, false, kNull, [&] (auto& c) { return c.GetOutputStemFormat (&value); } },
        { 7, false, kNull, [&] (auto& c) { return c.GetSignalLatency (&value); } },
        { 8, false, kNull, [&] (auto& c) { return c.GetCycleCount (1, &value); } },
        { 9, false, kNull, [&] (auto& c) { return c.GetTimeOfDay (&wide); } },
        { 10, false, kNull, [&] (auto& c) { return c.SetSignalLatency (64); } },
        { 11, false, kNull, [&] (auto& c) { return c.SetCycleCount (&value, 1); } },
        { 12, false, kNull, [&] (auto& c) { return c.PostPacket (3, &value, 4); } },
        { 20, true, kUnimplemented, [&] (auto& c) { return c.GetHostName (&text); } },
        { 13, false, kNull, [&] (auto& c) { return c.GetMeterValue (0, &level); } },
        { 14, false, kNull, [&] (auto& c) { return c.GetMeterPeak (0, &level); } },
        { 15, false, kNull, [&] (auto& c) { return c.ClearMeterPeak (0); } },
        { 18, false, kNull, [&] (auto& c) { return c.GetMeterCount (&count); } },
        { 16, false, kNull, [&] (auto& c) { return c.GetMeterClipped (0, &value); } },
        { 17, false, kNull, [&] (auto& c) { return c.ClearMeterClipped (0); } },
        { 19, false, kNull, [&] (auto& c) { return c.GetNextMidiPacket (&count, &wide); } },
        { 21, true, kUnimplemented, [&] (auto& c) { return c.GetPlugInMode (&value); } },
        { 22, true, kUnimplemented, [&] (auto& c) { return c.GetTimestamp (&wide); } },
        { 23, true, kUnimplemented, [&] (auto& c) { return c.SendNotification (1, &value, 4); } },
    };
    CheckForwarding<AAX_VController> ("Controller", &IID_IACFController_V2, cases, OnHost<AAX_VController>());
}

TEST (HostWrappers, ControllerWithoutSecondVersionZeroesTheTimestamp)
{
    AAX_VController controller (nullptr);
    int64_t timestamp = 77;
    EXPECT_EQ (controller.GetTimestamp (&timestamp), kUnimplemented);
    EXPECT_EQ (timestamp, 0);
}

TEST (HostWrappers, TransportForwardsAndMissesWithNullObject)
{
    int32_t a = 0, b = 0;
    int64_t x = 0, y = 0;
    double tempo = 0;
    uint32_t ticks = 0;
    const std::vector<ForwardCase<AAX_VTransport>> cases = {
        { 3, false, kNull, [&] (auto& t) { return t.IsPlaying (&a); } },
        { 4, false, kNull, [&] (auto& t) { return t.GetTempo (&tempo); } },
        { 5, false, kNull, [&] (auto& t) { return t.GetMeter (&a, &b); } },
        { 6, false, kNull, [&] (auto& t) { return t.GetTickPosition (&x); } },
        { 7, false, kNull, [&] (auto& t) { return t.GetLoop (&a, &x, &y); } },
        { 8, false, kNull, [&] (auto& t) { return t.GetSamplePosition (&x); } },
        { 9, false, kNull, [&] (auto& t) { return t.GetTickPositionAt (&x, 480); } },
        { 10, false, kNull, [&] (auto& t) { return t.GetBarBeat (&a, &b, &x, 480); } },
        { 11, false, kNull, [&] (auto& t) { return t.GetTicksPerQuarter (&ticks); } },
        { 12, false, kNull, [&] (auto& t) { return t.GetTicksPerBeat (&ticks); } },
        { 13, true, kNull, [&] (auto& t) { return t.GetSelectionStart (&x); } },
        { 14, true, kNull, [&] (auto& t) { return t.GetTimeCodeFrameRate (&a, &x); } },
        { 15, true, kNull, [&] (auto& t) { return t.GetFeetFramesRate (&a); } },
    };
    CheckForwarding<AAX_VTransport> ("Transport", &IID_IACFTransport_V2, cases, OnHost<AAX_VTransport>());
}

TEST (HostWrappers, AutomationDelegateForwards)
{
    int32_t touched = 0;
    const std::vector<ForwardCase<AAX_VAutomationDelegate>> cases = {
        { 3, false, kNull, [] (auto& d) { return d.RegisterParameter ("0"); } },
        { 4, false, kNull, [] (auto& d) { return d.UnregisterParameter ("0"); } },
        { 5, false, kNull, [] (auto& d) { return d.PostSetValueRequest ("0", 0.25); } },
        { 6, false, kNull, [] (auto& d) { return d.PostCurrentValue ("0", 0.25); } },
        { 7, false, kNull, [] (auto& d) { return d.PostTouchRequest ("0"); } },
        { 8, false, kNull, [] (auto& d) { return d.PostReleaseRequest ("0"); } },
        { 9, false, kNull, [&] (auto& d) { return d.GetTouchState ("0", &touched); } },
    };
    CheckForwarding<AAX_VAutomationDelegate> ("AutomationDelegate", nullptr, cases, OnHost<AAX_VAutomationDelegate>());
}

TEST (HostWrappers, ViewContainerAnswersZeroOrUnimplementedWhenMissing)
{
    int32_t type = 0;
    void* window = nullptr;
    uint32_t modifiers = 0;
    const std::vector<ForwardCase<AAX_VViewContainer>> cases = {
        { 3, false, AAX_SUCCESS, [&] (auto& v) { return v.GetType (&type); } },
        { 4, false, AAX_SUCCESS, [&] (auto& v) { return v.GetPtr (&window); } },
        { 5, false, kUnimplemented, [&] (auto& v) { return v.GetModifiers (&modifiers); } },
        { 6, false, AAX_SUCCESS, [] (auto& v) { return v.SetViewSize (900, 300); } },
        { 7, false, kUnimplemented, [] (auto& v) { return v.HandleParameterMouseDown ("1", 0); } },
        { 8, false, kUnimplemented, [] (auto& v) { return v.HandleParameterMouseDrag ("1", 0); } },
        { 9, false, kUnimplemented, [] (auto& v) { return v.HandleParameterMouseUp ("1", 0); } },
    };
    // The container is its own host object, not the instance's host unknown.
    auto onContainer = [] (HostFramework& framework, IACFUnknown* host) {
        if (host == nullptr)
            return std::make_unique<AAX_VViewContainer> (nullptr);
        auto* container = NewHostObject<HostViewContainer> (framework);
        auto wrapper = std::make_unique<AAX_VViewContainer> (container);
        container->Release();
        return wrapper;
    };
    CheckForwarding<AAX_VViewContainer> ("ViewContainer", nullptr, cases, onContainer);
}

TEST (HostWrappers, HostServicesComeFromTheObjectFactory)
{
    const std::vector<ForwardCase<AAX_VHostServices>> cases = {
        { 3, false, kNull, [] (auto& s) { return s.HandleAssertFailure ("file.cpp", 12, "note"); } },
        { 4, false, kNull, [] (auto& s) { return s.Trace (1, "message"); } },
    };
    CheckForwarding<AAX_VHostServices> ("HostServices", nullptr, cases, OnHost<AAX_VHostServices>());
}

TEST (HostWrappers, ArgumentsReachTheHostUnchanged)
{
    HostFixture fixture;
    {
        AAX_VAutomationDelegate delegate (fixture.host);
        AAX_VController controller (fixture.host);
        delegate.PostSetValueRequest ("MasterBypassID", 0.25);
        const int32_t payload = 1;
        controller.PostPacket (3, &payload, 4);
        controller.SetSignalLatency (-7);
    }
    const auto automation = fixture.framework.CallsTo ("AutomationDelegate");
    ASSERT_EQ (automation.size(), 1u);
    EXPECT_EQ (automation[0].arguments, "\"MasterBypassID\",0.25");
    const auto controller = fixture.framework.CallsTo ("Controller");
    ASSERT_EQ (controller.size(), 2u);
    EXPECT_EQ (controller[0].arguments.substr (0, 2), "3,");
    EXPECT_EQ (controller[0].arguments.substr (controller[0].arguments.size() - 2), ",4");
    EXPECT_EQ (controller[1].arguments, "-7");
}

TEST (HostWrappers, FailedQueriesLeaveNullInterfacesAndReferencesBalance)
{
    HostFixture fixture;
    fixture.framework.FailQuery (IID_IACFController);
    const int64_t referencesBefore = fixture.framework.References();
    {
        AAX_VController controller (fixture.host);
        AAX_VTransport transport (fixture.host);
        AAX_VAutomationDelegate delegate (fixture.host);
        double rate = 0;
        // The second version was found, the primary was not.
        EXPECT_EQ (controller.GetSampleRate (&rate), kNull);
        EXPECT_EQ (controller.GetPlugInMode (nullptr), AAX_SUCCESS);
        EXPECT_GT (fixture.framework.References(), referencesBefore);
    }
    EXPECT_EQ (fixture.framework.References(), referencesBefore);
}
} // namespace
