// The instance's host parameters and the roads of a value: the plug-in's requests to the host,
// the host's updates into the processor, notifications and a repeated initialisation.
#include "PluginTestSupport.h"

#include "KestruneAudioProcessor.h"

#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

namespace
{
using namespace plugin_test;

// The attribute of one parameter in the processor's state text.
double StateValue (const HostInstance& instance, const std::string& name)
{
    const std::string state = ProcessorState (instance);
    const std::string key = name + "=\"";
    const size_t at = state.find (key);
    EXPECT_NE (at, std::string::npos) << state;
    return at == std::string::npos ? -1.0 : std::stod (state.substr (at + key.size()));
}

TEST (AAXPluginParameters, ElevenParametersMasterBypassFirst)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    KestruneAudioProcessor reference;
    int32_t count = 0;
    ASSERT_EQ (instance->Parameters().GetNumberOfParameters (&count), AAX_SUCCESS);
    ASSERT_EQ (count, 11);

    HostString bypass;
    instance->Parameters().GetMasterBypassParameter (&bypass);
    EXPECT_EQ (bypass.Text(), "MasterBypassID");
    EXPECT_EQ (ParameterId (*instance, 0), "MasterBypassID");
    HostString name;
    instance->Parameters().GetParameterName ("MasterBypassID", &name);
    EXPECT_EQ (name.Text(), "Master Bypass");
    int32_t steps = 0;
    instance->Parameters().GetParameterNumberOfSteps ("MasterBypassID", &steps);
    EXPECT_EQ (steps, 2);
    EXPECT_EQ (ValueString (*instance, "MasterBypassID"), "bypass");

    for (int index = 0; index < 10; ++index)
    {
        SCOPED_TRACE (index);
        const std::string id = std::to_string (index);
        EXPECT_EQ (ParameterId (*instance, index + 1), id);
        instance->Parameters().GetParameterName (id.c_str(), &name);
        EXPECT_EQ (name.Text(), reference.getParameterName (index).toStdString());
        EXPECT_DOUBLE_EQ (NormalizedValue (*instance, id), double (reference.getParameter (index)));
        double defaultValue = -1.0;
        instance->Parameters().GetParameterDefaultNormalizedValue (id.c_str(), &defaultValue);
        EXPECT_DOUBLE_EQ (defaultValue, double (reference.getParameter (index)));
    }
    EXPECT_EQ (instance->AutomationDelegate().Registered().size(), 11u);
}

TEST (AAXPluginParameters, SetValueRequestLandsInTheProcessorAndTextFollows)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    plugin.framework.ClearCalls();
    ASSERT_EQ (instance->Parameters().SetParameterNormalizedValue ("8", 0.25), AAX_SUCCESS);

    std::vector<std::string> road;
    for (const HostCall& call : plugin.framework.CallsTo ("AutomationDelegate"))
        road.push_back (std::to_string (call.slot) + ":" + call.arguments);
    EXPECT_EQ (road, (std::vector<std::string> { "7:\"8\"", "5:\"8\",0.25", "6:\"8\",0.25", "8:\"8\"" }));
    EXPECT_EQ (NormalizedValue (*instance, "8"), 0.25);
    EXPECT_EQ (ValueString (*instance, "8"), "0.250");
    EXPECT_EQ (StateValue (*instance, "Mix"), 0.25);
}

TEST (AAXPluginParameters, HostUpdateOfRatioGivesStepNine)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    ASSERT_EQ (instance->Parameters().UpdateParameterNormalizedValue ("3", 0.9, 0), AAX_SUCCESS);
    EXPECT_FLOAT_EQ (float (StateValue (*instance, "Ratio")), 0.9f);
    EXPECT_EQ (ValueString (*instance, "3"), "0.900");
    int32_t changes = 0;
    instance->Parameters().GetChangeCount (&changes);
    EXPECT_EQ (changes, 1);
}

TEST (AAXPluginParameters, HostUpdatesArePostedBackAsTheHostSentThem)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    const struct
    {
        const char* id;
        double value;
        std::string posted; // the current value told back to the host
    } cases[] = {
        { "3", 0.3, "\"3\",0.3" }, // stored as 0.3f, posted as sent
        { "MasterBypassID", 0.7, "\"MasterBypassID\",0.7" },
        { "3", 1.7, "\"3\",1" }, // outside 0..1: what was stored
        { "3", std::numeric_limits<double>::quiet_NaN(), "\"3\",0" },
        { "MasterBypassID", -1.0, "\"MasterBypassID\",0" },
    };
    for (const auto& c : cases)
    {
        plugin.framework.ClearCalls();
        EXPECT_EQ (instance->Parameters().UpdateParameterNormalizedValue (c.id, c.value, 0), AAX_SUCCESS);
        std::vector<std::string> posted;
        for (const HostCall& call : plugin.framework.CallsTo ("AutomationDelegate"))
            if (call.slot == 6)
                posted.push_back (call.arguments);
        EXPECT_EQ (posted, std::vector<std::string> { c.posted }) << c.id << " " << c.value;
    }
    EXPECT_EQ (StateValue (*instance, "Ratio"), 0.0);
}

// The current value last posted back to the host for a parameter (NaN when none was), and
// how many were posted.
double LastPostedValue (const HostFramework& framework, const std::string& id, int* posts)
{
    const std::string prefix = "\"" + id + "\",";
    double last = std::numeric_limits<double>::quiet_NaN();
    *posts = 0;
    for (const HostCall& call : framework.CallsTo ("AutomationDelegate"))
        if (call.slot == 6 && call.arguments.rfind (prefix, 0) == 0)
        {
            last = std::stod (call.arguments.substr (prefix.size()));
            ++*posts;
        }
    return last;
}

// Meets a number of threads again and again. It spins (yielding after 50 us), so that the
// threads stay awake between meetings and leave together.
class SpinBarrier
{
public:
    explicit SpinBarrier (int count) : count_ (count) {}

    void ArriveAndWait()
    {
        const int phase = phase_.load();
        if (arrived_.fetch_add (1) + 1 == count_)
        {
            arrived_.store (0);
            phase_.fetch_add (1);
            return;
        }
        const auto yieldFrom = std::chrono::steady_clock::now() + std::chrono::microseconds (50);
        while (phase_.load() == phase)
            if (std::chrono::steady_clock::now() > yieldFrom)
                std::this_thread::yield();
    }

private:
    const int count_;
    std::atomic<int> arrived_ { 0 };
    std::atomic<int> phase_ { 0 };
};

// Gives the two threads no processor in common (the ones this process may use, dealt out in
// turn), so that they run at the same time also where the scheduler would keep them on one.
void RunOnProcessorsApart (std::thread& first, std::thread& second)
{
    cpu_set_t allowed;
    if (sched_getaffinity (0, sizeof (allowed), &allowed) != 0 || CPU_COUNT (&allowed) < 2)
        return;
    cpu_set_t shares[2];
    CPU_ZERO (&shares[0]);
    CPU_ZERO (&shares[1]);
    for (int cpu = 0, dealt = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET (cpu, &allowed))
            CPU_SET (cpu, &shares[dealt++ % 2]);
    pthread_setaffinity_np (first.native_handle(), sizeof (shares[0]), &shares[0]);
    pthread_setaffinity_np (second.native_handle(), sizeof (shares[1]), &shares[1]);
}

// Two threads update one parameter at once, in rounds that both start together: after every
// round the host's value, the value last posted to the host and the processor's are the same,
// one of the two sent in that round, and both updates were posted.
TEST (AAXPluginParameters, TwoThreadsUpdatingAtOnceLeaveHostPostAndProcessorAgreeing)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    constexpr int kRounds = 3000;
    // Values exact in float, different on each thread and in each round.
    const auto valueOf = [] (int round, int thread) { return (2.0 * round + thread + 1.0) / 8192.0; };
    // The two updaters and this thread, which checks between rounds.
    SpinBarrier meet (3);
    bool succeeded[2] = { true, true };
    const auto update = [&] (int thread) {
        for (int round = 0; round < kRounds; ++round)
        {
            meet.ArriveAndWait();
            const int32_t result = instance->Parameters().UpdateParameterNormalizedValue ("8", valueOf (round, thread), 0);
            succeeded[thread] = succeeded[thread] && result == AAX_SUCCESS;
            meet.ArriveAndWait();
        }
    };
    std::thread first (update, 0);
    std::thread second (update, 1);
    RunOnProcessorsApart (first, second);

    int badRounds = 0;
    ::testing::Message firstBad;
    for (int round = 0; round < kRounds; ++round)
    {
        plugin.framework.ClearCalls();
        meet.ArriveAndWait();
        meet.ArriveAndWait();
        // Once reading the values has failed, the rounds only run on.
        if (HasFailure())
            continue;
        int posts = 0;
        const double posted = LastPostedValue (plugin.framework, "8", &posts);
        const double host = NormalizedValue (*instance, "8");
        const double processor = StateValue (*instance, "Mix");
        const bool sentThisRound = host == valueOf (round, 0) || host == valueOf (round, 1);
        if (sentThisRound && posts == 2 && posted == host && float (processor) == float (host))
            continue;
        if (badRounds++ == 0)
            firstBad << "round " << round << ": host " << host << ", posted " << posted << " (" << posts << " posts), processor " << processor;
    }
    first.join();
    second.join();
    EXPECT_EQ (badRounds, 0) << "first: " << firstBad;
    EXPECT_TRUE (succeeded[0] && succeeded[1]);
    int32_t changes = 0;
    instance->Parameters().GetChangeCount (&changes);
    EXPECT_EQ (changes, 2 * kRounds);
}

TEST (AAXPluginParameters, OnlyCompleteIdentifiersAndClampedValuesReachTheProcessor)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    const double ratioBefore = StateValue (*instance, "Ratio");
    for (const char* id : { "10", "3x", " 3", "-1", "", "MasterBypass" })
    {
        EXPECT_EQ (instance->Parameters().UpdateParameterNormalizedValue (id, 0.1, 0), AAX_ERROR_UNKNOWN_PARAMETER) << id;
        EXPECT_EQ (StateValue (*instance, "Ratio"), ratioBefore) << id;
    }
    EXPECT_EQ (instance->Parameters().UpdateParameterNormalizedValue (nullptr, 0.1, 0), AAX_ERROR_UNKNOWN_PARAMETER);

    // Out of range and non-finite values stay inside the ratio table.
    const struct
    {
        double value;
        float expected;
    } clamped[] = {
        { 1.7, 1.0f }, { -3.0, 0.0f }, { std::numeric_limits<double>::quiet_NaN(), 0.0f }, { std::numeric_limits<double>::infinity(), 1.0f }
    };
    for (const auto& c : clamped)
    {
        EXPECT_EQ (instance->Parameters().UpdateParameterNormalizedValue ("3", c.value, 0), AAX_SUCCESS);
        EXPECT_FLOAT_EQ (float (StateValue (*instance, "Ratio")), c.expected) << c.value;
    }

    // The master bypass is the host's: the processor's own bypass stays off.
    EXPECT_EQ (instance->Parameters().UpdateParameterNormalizedValue ("MasterBypassID", 1.0, 0), AAX_SUCCESS);
    EXPECT_EQ (StateValue (*instance, "Bypass"), 0.0);
    EXPECT_EQ (NormalizedValue (*instance, "MasterBypassID"), 1.0);
}

TEST (AAXPluginParameters, NotificationsReadOnlyPayloadsThatAreThere)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    const int32_t on = 1;
    const uint8_t shortPayload[2] = { 1, 0 };
    for (uint32_t type : { AAX_NOTIFICATION_PREVIEW, AAX_NOTIFICATION_OFFLINE_MODE, 0x12345678u })
    {
        EXPECT_EQ (instance->Parameters().ReceiveNotification (type, nullptr, 4), AAX_SUCCESS);
        EXPECT_EQ (instance->Parameters().ReceiveNotification (type, shortPayload, sizeof (shortPayload)), AAX_SUCCESS);
        EXPECT_EQ (instance->Parameters().ReceiveNotification (type, &on, sizeof (on)), AAX_SUCCESS);
    }
}

TEST (AAXPluginParameters, SecondInitializeRegistersNothingTwice)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    instance->Parameters().UpdateParameterNormalizedValue ("3", 0.9, 0);
    plugin.framework.ClearCalls();
    ASSERT_EQ (instance->Parameters().Initialize (&instance->Host()), AAX_SUCCESS);

    int32_t count = 0;
    instance->Parameters().GetNumberOfParameters (&count);
    EXPECT_EQ (count, 11);
    EXPECT_EQ (instance->AutomationDelegate().Registered().size(), 11u);
    EXPECT_EQ (plugin.framework.CallsTo ("AutomationDelegate").size(), 22u); // 11 unregistered, 11 registered

    instance->Controller().ClearPackets();
    EXPECT_EQ (instance->Parameters().DispatchPackets(), AAX_SUCCESS);
    ASSERT_EQ (instance->Controller().Packets().size(), 1u);
    EXPECT_EQ (instance->Controller().Packets()[0].port, 3u);

    // The processor kept its value; the new parameters start from it.
    EXPECT_FLOAT_EQ (float (NormalizedValue (*instance, "3")), 0.9f);
}

TEST (AAXPluginParameters, TouchAndReleaseReachTheHost)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    EXPECT_EQ (instance->Parameters().TouchParameter ("3"), AAX_SUCCESS);
    EXPECT_TRUE (instance->AutomationDelegate().IsTouched ("3"));
    EXPECT_EQ (instance->Parameters().ReleaseParameter ("3"), AAX_SUCCESS);
    EXPECT_FALSE (instance->AutomationDelegate().IsTouched ("3"));
    EXPECT_EQ (instance->Parameters().TouchParameter ("11"), AAX_ERROR_UNKNOWN_PARAMETER);
}
} // namespace

namespace
{
using namespace plugin_test;

TEST (AAXPluginParameters, LibraryOperationsAnswerTheirCodes)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    auto& parameters = instance->Parameters();
    int32_t value = -1;
    double number = -1.0;
    HostString text ("unchanged");

    // Interfaces the instance answers.
    for (const acfIID& iid : { IID_IACFEffectParameters, IID_IACFEffectParameters_V2, IID_IACFUnknown })
    {
        void* out = nullptr;
        ASSERT_EQ (parameters.QueryInterface (iid, &out), ACF_OK);
        static_cast<IACFUnknown*> (out)->Release();
    }
    void* none = &none;
    EXPECT_EQ (parameters.QueryInterface (IID_IACFEffectGUI, &none), ACF_E_NOINTERFACE);
    EXPECT_EQ (none, nullptr);

    const struct
    {
        const char* what;
        int32_t result;
        int32_t expected;
    } codes[] = {
        { "steps of unknown", parameters.GetParameterNumberOfSteps ("x", &value), AAX_ERROR_UNKNOWN_PARAMETER },
        { "type of unknown", parameters.GetParameterType ("x", &value), AAX_ERROR_UNKNOWN_PARAMETER },
        { "orientation", parameters.GetParameterOrientation ("0", &value), AAX_SUCCESS },
        { "index of unknown", parameters.GetParameterIndex ("x", &value), AAX_ERROR_UNKNOWN_PARAMETER },
        { "id of index 11", parameters.GetParameterIDFromIndex (11, &text), AAX_ERROR_UNKNOWN_PARAMETER },
        { "value query", parameters.ParameterQueryNotImplemented ("0", 1, &value), AAX_ERROR_UNIMPLEMENTED },
        { "text 2 for a 0..1 taper", parameters.GetParameterValueFromString ("0", &number, HostString ("2")), AAX_ERROR_CONVERSION_FAILED },
        { "text abc", parameters.GetParameterValueFromString ("0", &number, HostString ("abc")), AAX_ERROR_CONVERSION_FAILED },
        { "value 2 as text", parameters.GetParameterStringFromValue ("0", 2.0, &text, 8), AAX_SUCCESS },
        { "relative of unknown", parameters.SetParameterNormalizedRelative ("x", 0.1), AAX_ERROR_UNKNOWN_PARAMETER },
        { "default of unknown", parameters.SetParameterToDefaultValue ("x"), AAX_ERROR_UNKNOWN_PARAMETER },
        { "query 40", parameters.ReservedQuery40(), AAX_SUCCESS },
        { "query 41", parameters.ReservedQuery41(), AAX_ERROR_UNIMPLEMENTED },
        { "operation 45", parameters.ReservedOperation45(), AAX_ERROR_UNIMPLEMENTED },
        { "operation 43", parameters.ReservedOperation43(), AAX_SUCCESS },
    };
    for (const auto& c : codes)
        EXPECT_EQ (c.result, c.expected) << c.what;
    EXPECT_EQ (value, 0); // the value query wrote 0 before its -20009

    EXPECT_EQ (parameters.GetParameterIndex ("5", &value), AAX_SUCCESS);
    EXPECT_EQ (value, 6);
    EXPECT_EQ (parameters.GetParameterValueFromString ("0", &number, HostString ("0.25 s")), AAX_SUCCESS);
    EXPECT_EQ (number, 0.25);
    int32_t zero = 9;
    EXPECT_EQ (parameters.ReturnZeroResult (0, nullptr, 0, &zero), AAX_SUCCESS);
    EXPECT_EQ (zero, 0);

    // Relative moves are clamped to 0..1; the default is the processor's starting value.
    EXPECT_EQ (parameters.SetParameterNormalizedRelative ("8", 2.0), AAX_SUCCESS);
    EXPECT_EQ (NormalizedValue (*instance, "8"), 1.0);
    EXPECT_EQ (parameters.UpdateParameterNormalizedRelative ("8", -3.0), AAX_SUCCESS);
    EXPECT_EQ (NormalizedValue (*instance, "8"), 0.0);
    EXPECT_EQ (parameters.SetParameterToDefaultValue ("8"), AAX_SUCCESS);
    EXPECT_EQ (NormalizedValue (*instance, "8"), 1.0);

    // Names by length: the whole name when nothing shorter is known.
    HostString name;
    EXPECT_EQ (parameters.GetParameterNameOfLength ("MasterBypassID", &name, 0), AAX_SUCCESS);
    EXPECT_EQ (name.Text(), "Master Bypass");
    EXPECT_EQ (parameters.GetParameterNameOfLength ("x", &name, 5), AAX_SUCCESS);
    EXPECT_EQ (name.Text(), "");
    AAX_CBoolean automatable = 0;
    EXPECT_EQ (parameters.GetParameterIsAutomatable ("9", &automatable), AAX_SUCCESS);
    EXPECT_EQ (automatable, 1);
}
} // namespace
