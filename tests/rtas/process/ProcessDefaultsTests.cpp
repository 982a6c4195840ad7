// The process's default answers, without SDS: one table of what each operation writes into
// canary-filled outputs and what it answers (also with null outputs), then the control traffic on
// the host's and the editor's roads, the text operations and the view-less answers.

#include "CanaryOutputs.h"
#include "ProcessTestSupport.h"
#include "ThrownCode.h"

#include "process/controls/CPluginControl_OnOff.h"
#include "process/process/SDSConnection.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace
{

inline constexpr size_t kOutputSize = 64;
inline constexpr int32_t kMissing = 3; // a control index that the process does not have

using Call = std::function<int32_t (CProcess&, void* first, void* second)>;

struct DefaultCase
{
    const char* operation;
    Call call;
    int32_t result;
    std::vector<uint8_t> first; // the bytes written at the start of the first output
    std::vector<uint8_t> second;
};

std::vector<uint8_t> TextBytes (const std::string& text)
{
    std::vector<uint8_t> bytes (text.begin(), text.end());
    bytes.push_back (0);
    return bytes;
}

std::vector<DefaultCase> DefaultCases()
{
    using P = CProcess&;
    return {
        { "IsInputConnected", [] (P p, void* o, void*) { return p.IsInputConnected (1, as<uint8_t> (o)); }, 0, kOne8, kNothing },
        { "CanConnectOutput", [] (P p, void* o, void*) { return p.CanConnectOutput (1, as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "IsOutputConnected", [] (P p, void* o, void*) { return p.IsOutputConnected (1, as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "NotifyDSPConnect", [] (P p, void*, void*) { return p.NotifyDSPConnect (1, 2); }, 0, kNothing, kNothing },
        { "NotifyDSPDisconnectOutput", [] (P p, void*, void*) { return p.NotifyDSPDisconnectOutput (1); }, 0, kNothing, kNothing },
        { "GetNumControls", [] (P p, void* o, void*) { return p.GetNumControls (as<int16_t> (o)); }, 0, { 2, 0 }, kNothing },
        { "GetMasterBypassControlIndex", [] (P p, void* o, void*) { return p.GetMasterBypassControlIndex (as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "IsControlAutomatable", [] (P p, void* o, void*) { return p.IsControlAutomatable (kMissing, as<int16_t> (o)); }, 0, kZero16, kNothing },
        { "GetControlStepCount", [] (P p, void* o, void*) { return p.GetControlStepCount (kMissing, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetControlValueFromText", [] (P p, void* o, void*) { return p.GetControlValueFromText (kMissing, as<int32_t> (o), "5"); }, 0, kZero32, kNothing },
        { "IsControlCharacterAllowed", [] (P p, void* o, void*) { return p.IsControlCharacterAllowed (kMissing, '5', as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "GetControlValueString", [] (P p, void* o, void*) { return p.GetControlValueString (kMissing, 0, as<char> (o), 10); }, 0, kZero8, kNothing },
        { "GetControlName", [] (P p, void* o, void*) { return p.GetControlName (kMissing, as<char> (o)); }, 0, kZero8, kNothing },
        { "GetControlNameToFit", [] (P p, void* t, void* o) { return p.GetControlNameToFit (kMissing, as<char> (t), 5, 9, as<int16_t> (o)); }, 0, { 0, 0, 0, 0, 0, 0 }, kZero16 },
        { "GetControlSDSName", [] (P p, void* o, void*) { return p.GetControlSDSName (kMissing, as<char> (o)); }, 0, kZero8, kNothing },
        { "GetControlValue", [] (P p, void* o, void*) { return p.GetControlValue (kMissing, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetControlDefaultValue", [] (P p, void* o, void*) { return p.GetControlDefaultValue (kMissing, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "SetControlSpecial", [] (P p, void* o, void*) { return p.SetControlSpecial (1, 2, 3, as<int32_t> (o)); }, -7304, kNothing, kNothing },
        { "GetPageCount without a type", [] (P p, void*, void*) { return p.GetPageCount (FourCharCode ("PcTL"), 8); }, -1, kNothing, kNothing },
        { "GetPageControl without a type", [] (P p, void*, void*) { return p.GetPageControl (FourCharCode ("PcTL"), 8, 0, 0); }, -1, kNothing, kNothing },
        { "HasPageLayout without a type", [] (P p, void*, void*) { return p.HasPageLayout (FourCharCode ("PcTL"), -1); }, 0, kNothing, kNothing },
        { "IsMasterBypassed", [] (P p, void* o, void*) { return p.IsMasterBypassed (as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "QueryOption", [] (P p, void* o, void*) { return p.QueryOption (1, as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "GetBypassIndexIfCardFlag", [] (P p, void* o, void*) { return p.GetBypassIndexIfCardFlag (0xffffffff, as<uint32_t> (o)); }, 0, kZero32, kNothing },
        { "GetNumMeters", [] (P p, void* o, void*) { return p.GetNumMeters (as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetMeterValues", [] (P p, void* o, void*) { return p.GetMeterValues (4, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetMeterOrientation", [] (P p, void* o, void*) { return p.GetMeterOrientation (1, as<EMeterOrientation> (o)); }, 0, kZero32, kNothing },
        { "GetNumMetersOfType", [] (P p, void* o, void*) { return p.GetNumMetersOfType (EMeterType (1), as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetMeterIndexOfType", [] (P p, void* o, void*) { return p.GetMeterIndexOfType (EMeterType (1), 1, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "IsClipped", [] (P p, void* o, void*) { return p.IsClipped (as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "ClearClipIndicators", [] (P p, void*, void*) { return p.ClearClipIndicators(); }, 0, kNothing, kNothing },
        { "GetNumChunks", [] (P p, void* o, void*) { return p.GetNumChunks (as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetChunkID", [] (P p, void* o, void*) { return p.GetChunkID (1, as<uint32_t> (o)); }, -7157, { 0x20, 0x20, 0x20, 0x20 }, kNothing },
        { "GetChunkName", [] (P p, void* o, void*) { return p.GetChunkName (FourCharCode ("elck"), as<uint8_t> (o)); }, -7157, kZero8, kNothing },
        { "GetChunkSize", [] (P p, void* o, void*) { return p.GetChunkSize (FourCharCode ("elck"), as<int32_t> (o)); }, -7157, kZero32, kNothing },
        { "GetChunk", [] (P p, void* o, void*) { return p.GetChunk (FourCharCode ("elck"), as<SFicPlugInChunk> (o)); }, -7157, kNothing, kNothing },
        { "SetChunk", [] (P p, void* o, void*) { return p.SetChunk (FourCharCode ("elck"), as<SFicPlugInChunk> (o)); }, -7157, kNothing, kNothing },
        { "RestoreControlsFromChunk", [] (P p, void* c, void* o) { return p.RestoreControlsFromChunk (as<SFicPlugInChunk> (c), as<uint8_t> (o)); }, 0, kNothing, kZero8 },
        { "GetChangeCount", [] (P p, void* o, void*) { return p.GetChangeCount (as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetLatencyShort", [] (P p, void* o, void*) { return p.GetLatencyShort (as<int16_t> (o)); }, 0, kZero16, kNothing },
        { "GetLatency", [] (P p, void* o, void*) { return p.GetLatency (as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetStreamFormat", [] (P p, void* o, void*) { return p.GetStreamFormat (1, 2, as<char> (o)); }, 0, kNothing, kNothing },
        { "CheckStreamFormat", [] (P p, void* o, void*) { return p.CheckStreamFormat (1, 2, as<char> (o)); }, 0, kNothing, kNothing },
        { "GetDefaultStreamInfo", [] (P p, void*, void*) { return p.GetDefaultStreamInfo(); }, -7000, kNothing, kNothing },
        { "ReservedOp16", [] (P p, void* o, void*) { return p.ReservedOp16 (1, 2, 3, as<int16_t> (o)); }, 0, kNothing, kNothing },
        { "ReservedOp19", [] (P p, void* o, void*) { return p.ReservedOp19 (1, 2, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "ReservedOp22", [] (P p, void* s, void* o) { return p.ReservedOp22 (as<SFicPlugInSpec> (s), 1, as<int32_t> (o)); }, 0, kNothing, kZero32 },
        { "ReservedOp23", [] (P p, void* s, void* o) { return p.ReservedOp23 (as<SFicPlugInSpec> (s), 1, as<int32_t> (o)); }, 0, kNothing, kZero32 },
        { "ReservedOp26", [] (P p, void* o, void*) { return p.ReservedOp26 (1, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "GetControlHostHint1", [] (P p, void* o, void*) { return p.GetControlHostHint1 (kMissing, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetControlValueKind", [] (P p, void* o, void*) { return p.GetControlValueKind (kMissing, as<int32_t> (o)); }, 0, kOne32, kNothing },
        { "GetControlHostHint2", [] (P p, void* o, void*) { return p.GetControlHostHint2 (kMissing, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetInstanceNameID", [] (P p, void* o, void*) { return p.GetInstanceNameID (as<void*> (o)); }, 0, kZero32, kNothing },
        { "GetControlNameID", [] (P p, void* o, void*) { return p.GetControlNameID (1, as<void*> (o)); }, 0, kZero32, kNothing },
        { "GetControlText", [] (P p, void* o, void*) { return p.GetControlText (kMissing, 0, as<char> (o), 105); }, 0, kZero8, kNothing },
        { "GetControlHighlight", [] (P p, void* a, void* b) { return p.GetControlHighlight (1, as<int16_t> (a), as<int16_t> (b)); }, 0, kZero16, kZero16 },
        { "GetControlIndexAtPoint", [] (P p, void* o, void*) { return p.GetControlIndexAtPoint (Point { 1, 2 }, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetBaseName", [] (P p, void* o, void*) { return p.GetBaseName (as<char> (o)); }, 0, TextBytes ("Plug-Ins/Undefined BaseName"), kNothing },
        { "GetInfoString", [] (P p, void* o, void*) { return p.GetInfoString (1, as<uint8_t> (o)); }, -7000, kNothing, kNothing },
        { "GetControlViewCode", [] (P p, void* o, void*) { return p.GetControlViewCode (kMissing, as<uint32_t> (o)); }, -7300, { 'E', 'N', 'O', 'N' }, kNothing },
        { "GetPlugInSpec", [] (P p, void* o, void*) { return p.GetPlugInSpec (as<SFicPlugInSpec> (o)); }, 0, std::vector<uint8_t> (52, 0), kNothing },
        { "GetNumConnectionInfos", [] (P p, void* o, void*) { return p.GetNumConnectionInfos (as<int32_t> (o)); }, -7000, kNothing, kNothing },
        { "GetConnectionInfo", [] (P p, void* o, void*) { return p.GetConnectionInfo (1, as<SFicPlugInStemInfo> (o)); }, -7000, kNothing, kNothing },
        { "GetUnknown", [] (P p, void* o, void*) { return p.GetUnknown (as<IACFUnknown*> (o)); }, 0, kZero32, kNothing },
        { "HandleViewEvent without a view", [] (P p, void* e, void* h) { return p.HandleViewEvent (as<EventRecord> (e), as<uint8_t> (h)); }, 0, kNothing, kZero8 },
        { "GetViewRect without a view", [] (P p, void* o, void*) { return p.GetViewRect (as<Rect> (o)); }, 0, kNothing, kNothing },
        { "SetOptionA", [] (P p, void*, void*) { return p.SetOptionA (3); }, -7152, kNothing, kNothing },
        { "SetOptionB", [] (P p, void*, void*) { return p.SetOptionB (3); }, -7153, kNothing, kNothing },
        { "MoveViewTo without a view", [] (P p, void*, void*) { return p.MoveViewTo (Point { 1, 2 }); }, 0, kNothing, kNothing },
        { "SetViewPort without a view", [] (P p, void* o, void*) { return p.SetViewPort (as<OpaqueGrafPtr> (o)); }, 0, kNothing, kNothing },
        { "Idle without SDS", [] (P p, void* o, void*) { return p.Idle (as<EventRecord> (o)); }, 0, kNothing, kNothing },
        { "ReleaseDirectMIDI", [] (P p, void*, void*) { return p.ReleaseDirectMIDI(); }, 0, kNothing, kNothing },
    };
}

class ProcessDefaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE (HasSDS());
        AddTestControls (process, 2);
    }

    CTestProcess process;
};

TEST_F (ProcessDefaults, EachDefaultWritesOnlyItsOutputsAndAnswersItsCode)
{
    for (const DefaultCase& c : DefaultCases())
    {
        SCOPED_TRACE (c.operation);
        std::array<uint8_t, kOutputSize> first;
        std::array<uint8_t, kOutputSize> second;
        first.fill (kCanary);
        second.fill (kCanary);
        EXPECT_EQ (c.call (process, first.data(), second.data()), c.result);
        EXPECT_EQ (std::vector<uint8_t> (first.begin(), first.end()), CanaryAfter (c.first, kOutputSize));
        EXPECT_EQ (std::vector<uint8_t> (second.begin(), second.end()), CanaryAfter (c.second, kOutputSize));
        EXPECT_EQ (c.call (process, nullptr, nullptr), c.result) << "null outputs are not written through";
    }
}

TEST_F (ProcessDefaults, StartsFromTheGroupDefaultsAndKeepsWhatItIsGiven)
{
    EXPECT_EQ (process.GetSampleRate(), 44100);
    EXPECT_EQ (process.GetSettingFirst(), 5);
    EXPECT_EQ (process.GetSettingSecond(), 0);
    EXPECT_EQ (process.GetTypeIndex(), -1);
    EXPECT_EQ (process.GetInstanceID(), -1);
    EXPECT_TRUE (process.IsMeterDataReady());

    const SFicTimeCodeInfo pair { 7, -8 };
    EXPECT_EQ (process.SetSettingPair (&pair), 0);
    EXPECT_EQ (process.SetSettingPair (nullptr), 0);
    EXPECT_EQ (process.SetSampleRate (48000), 0);
    EXPECT_EQ (process.SetProcessValue (1, 99), 0);
    EXPECT_EQ (process.SetOwnerValue (-4), 0);
    process.SetUserValueA (11);
    process.SetUserValueB (12);
    process.SetFlagByte (0x5a);
    process.SetTypeIndex (3);
    process.SetInstanceID (2);
    EXPECT_EQ (process.GetSettingFirst(), 7);
    EXPECT_EQ (process.GetSettingSecond(), -8);
    EXPECT_EQ (process.GetSampleRate(), 48000);
    EXPECT_EQ (process.GetProcessValue(), 99);
    EXPECT_EQ (process.GetOwnerValue(), -4);
    EXPECT_EQ (process.GetUserValueA(), 11);
    EXPECT_EQ (process.GetUserValueB(), 12);
    EXPECT_EQ (process.GetFlagByte(), 0x5a);
    EXPECT_EQ (process.GetTypeIndex(), 3);
    EXPECT_EQ (process.GetInstanceID(), 2);

    SFicPlugInSpec spec;
    std::memset (&spec, 0x3c, sizeof spec);
    EXPECT_EQ (process.SetPlugInSpec (&spec), 0);
    SFicPlugInSpec copy {};
    EXPECT_EQ (process.GetPlugInSpec (&copy), 0);
    EXPECT_EQ (std::memcmp (&spec, &copy, sizeof spec), 0);
}

// A process whose options can be set.
class COptionProcess : public CTestProcess
{
public:
    bool CanSetOptionA() override { return true; }
    bool CanSetOptionB() override { return true; }
};

TEST (ProcessOptions, AreStoredOnlyWhereTheProcessAllowsIt)
{
    CTestProcess fixed;
    EXPECT_EQ (fixed.SetOptionA (4), -7152);
    EXPECT_EQ (fixed.GetOptionA(), 0);
    COptionProcess settable;
    EXPECT_EQ (settable.SetOptionA (4), 0);
    EXPECT_EQ (settable.SetOptionB (-5), 0);
    EXPECT_EQ (settable.GetOptionA(), 4);
    EXPECT_EQ (settable.GetOptionB(), -5);
}

TEST_F (ProcessDefaults, TheHostsRoadStoresTheValueCountsTheChangeAndRunsTheHook)
{
    EXPECT_EQ (process.UpdateControlValue (2, 0x7fffffff), 0);
    EXPECT_EQ (ControlValueOf (process, 2), 0x7fffffff);
    EXPECT_EQ (process.changed, std::vector<int32_t> { 2 });
    EXPECT_TRUE (process.shown.empty()) << "the host's road does not echo to the view itself";

    EXPECT_EQ (process.UpdateControlValue (0, 1), 0);
    EXPECT_EQ (process.UpdateControlValue (kMissing, 1), 0);
    EXPECT_EQ (process.changed, std::vector<int32_t> { 2 }) << "no hook for an index out of range";
    int32_t changes = -1;
    process.GetChangeCount (&changes);
    EXPECT_EQ (changes, 3) << "every update counts, valid or not";
}

TEST_F (ProcessDefaults, TheEditorsRoadWithoutSDSUpdatesAndShowsTheValue)
{
    EXPECT_EQ (process.SetControlValue (1, 12345), 0);
    EXPECT_EQ (ControlValueOf (process, 1), 12345);
    EXPECT_EQ (process.changed, std::vector<int32_t> { 1 });
    EXPECT_EQ (process.shown, (std::vector<std::pair<int32_t, int32_t>> { { 1, 12345 } }));

    EXPECT_EQ (process.SetControlValue (kMissing, 7), 0);
    EXPECT_EQ (process.SetControlValue (-1, 7), 0);
    EXPECT_EQ (process.shown.size(), 1u) << "an index out of range does nothing";
}

TEST_F (ProcessDefaults, IncrementsSaturateAtBothEndsOnBothRoads)
{
    struct Case
    {
        int32_t start, delta, result;
    };
    const Case cases[] = {
        { 0x7fffffff, 1, 0x7fffffff },
        { std::numeric_limits<int32_t>::min(), -1, std::numeric_limits<int32_t>::min() },
        { 0x7ffffff0, 0x7fffffff, 0x7fffffff },
        { -5, 3, -2 },
    };
    for (const Case& c : cases)
    {
        for (const bool direct : { false, true })
        {
            SCOPED_TRACE (testing::Message() << c.start << " + " << c.delta << (direct ? " direct" : ""));
            process.UpdateControlValue (1, c.start);
            EXPECT_EQ (direct ? process.IncrementControlValueDirect (1, c.delta) : process.IncrementControlValue (1, c.delta), 0);
            EXPECT_EQ (ControlValueOf (process, 1), c.result);
        }
    }
}

TEST_F (ProcessDefaults, ControlQuestionsAreAnsweredByTheControl)
{
    process.AddControl (MakeMasterBypassControl().release());
    int16_t count = 0;
    process.GetNumControls (&count);
    EXPECT_EQ (count, 3);

    int16_t automatable = 0;
    process.IsControlAutomatable (3, &automatable);
    EXPECT_EQ (automatable, 1);
    int32_t steps = 0;
    process.GetControlStepCount (1, &steps);
    EXPECT_EQ (steps, 11);
    int32_t kind = -1;
    process.GetControlValueKind (1, &kind);
    EXPECT_EQ (kind, 0);

    int32_t parsed = 0;
    EXPECT_EQ (process.GetControlValueFromText (3, &parsed, "on"), 0);
    EXPECT_EQ (parsed, 0x7fffffff);
    EXPECT_EQ (process.GetControlValueFromText (1, &parsed, nullptr), 0) << "no text reads as an empty one";
    uint8_t allowed = 0;
    process.IsControlCharacterAllowed (1, '7', &allowed);
    EXPECT_EQ (allowed, 1);
    process.IsControlCharacterAllowed (1, 'x', &allowed);
    EXPECT_EQ (allowed, 0);

    int32_t defaultValue = 0;
    process.GetControlDefaultValue (1, &defaultValue);
    EXPECT_EQ (defaultValue, 0) << "5 of [0, 10] is the middle value";
    EXPECT_EQ (process.SetControlDefaultValue (1, 0x7fffffff), 0);
    process.GetControlDefaultValue (1, &defaultValue);
    EXPECT_EQ (defaultValue, 0x7fffffff);

    char name[32];
    process.GetControlName (3, name);
    EXPECT_STREQ (name, "Master Bypass");
    char fitted[8];
    int16_t out = 9;
    EXPECT_EQ (process.GetControlNameToFit (3, fitted, 4, 0, &out), 0);
    EXPECT_STREQ (fitted, "MByp");
    EXPECT_EQ (out, 0);
    process.GetControlSDSName (1, name);
    EXPECT_STREQ (name, "Control 1");
}

// A continuous control whose text is as long as the buffer allows.
class CLongTextControl : public CPluginControl_Discrete
{
public:
    CLongTextControl() : CPluginControl_Discrete (FourCharCode ("long"), "Long", 0, 1, 0, true) {}
    void ValueToText (char* buffer, int32_t maxLength, int32_t) const override
    {
        std::memset (buffer, 'x', static_cast<size_t> (maxLength));
        buffer[maxLength] = '\0';
    }
};

// A control whose text never reads as a value: it throws the library's code for it.
class CUnreadableControl : public CPluginControl_Discrete
{
public:
    CUnreadableControl() : CPluginControl_Discrete (FourCharCode ("unrd"), "Unreadable", 0, 1, 0, true) {}
    int32_t TextToValue (const char*) const override { throw CDAEError (-7401); }
};

TEST_F (ProcessDefaults, AControlWhoseTextDoesNotReadAnswersItsCodeAndLeavesTheValue)
{
    process.AddControl (new CUnreadableControl);
    int32_t parsed = 1234;
    EXPECT_EQ (process.GetControlValueFromText (3, &parsed, "5"), -7401);
    EXPECT_EQ (parsed, 1234);
}

TEST_F (ProcessDefaults, MeterValuesAreClearedOnlyWhereTheHostAskedForSome)
{
    for (const int32_t count : { 0, -1 })
    {
        int32_t value = 77;
        EXPECT_EQ (process.GetMeterValues (count, &value), 0);
        EXPECT_EQ (value, 77) << count << " values asked for";
    }
    int32_t values[2] = { 77, 78 };
    EXPECT_EQ (process.GetMeterValues (1, values), 0);
    EXPECT_EQ (values[0], 0);
    EXPECT_EQ (values[1], 78);
}

TEST_F (ProcessDefaults, ValueStringsAreLengthPrefixedAndCutAt255)
{
    char text[301];
    EXPECT_EQ (process.GetControlValueString (1, 0x7fffffff, text, 10), 0);
    EXPECT_EQ (std::string (text + 1, uint8_t (text[0])), "10");

    process.AddControl (new CLongTextControl);
    std::memset (text, 0, sizeof text);
    EXPECT_EQ (process.GetControlValueString (3, 0, text, 300), 0);
    EXPECT_EQ (uint8_t (text[0]), 255);
    EXPECT_EQ (std::string (text + 1, 255), std::string (255, 'x'));
}

TEST_F (ProcessDefaults, TheTextRequestTakesLengthsFrom100AsLengthMinus100)
{
    char text[16];
    std::memset (text, 0x7f, sizeof text);
    EXPECT_EQ (process.GetControlText (1, 0x7fffffff, text, 105), 0);
    EXPECT_STREQ (text, "10");
    std::memset (text, 0x7f, sizeof text);
    EXPECT_EQ (process.GetControlText (1, 0x7fffffff, text, 101), 0);
    EXPECT_STREQ (text, "*") << "length 1 leaves room for no two digits";
    EXPECT_EQ (text[1], '\0');
    std::memset (text, 0x7f, sizeof text);
    EXPECT_EQ (process.GetControlText (kMissing, 0, text, 3), 0);
    EXPECT_EQ (text[0], '\0');
    EXPECT_EQ (process.GetControlText (1, 0, text, -4), 0);
    EXPECT_EQ (text[0], '\0') << "a negative length writes only the terminator";
}

TEST (ProcessControlList, RefusesNullAndAnswersOnlyIndexesFromOne)
{
    CTestProcess process;
    EXPECT_EQ (ThrownCode ([&] { process.AddControl (nullptr); }), -7053);
    AddTestControls (process, 1);
    EXPECT_EQ (process.GetControl (0), nullptr);
    EXPECT_EQ (process.GetControl (2), nullptr);
    ASSERT_NE (process.GetControl (1), nullptr);
    EXPECT_EQ (process.GetControl (1)->GetIdentifier(), TestControlID (1));
    EXPECT_FALSE (process.IsValidControlIndex (0));
    EXPECT_TRUE (process.IsValidControlIndex (1));
}

TEST (ProcessViewless, MovesAnswerOneAndInitializeMakesNoView)
{
    ScopedViewless viewless;
    CTestProcess process;
    EXPECT_NO_THROW (process.Initialize());
    EXPECT_EQ (process.GetView(), nullptr);
    EXPECT_EQ (process.MoveViewTo (Point { 10, 20 }), 1);
    uint32_t code = 0;
    EXPECT_EQ (process.GetControlViewCode (1, &code), -7300);
    EXPECT_EQ (code, kNoViewID);
    process.Teardown();
}

TEST (ProcessDefaultView, WithoutAMakerANeededViewIsMissing)
{
    ASSERT_EQ (GetDefaultProcessViewMaker(), nullptr);
    CTestProcess process;
    EXPECT_EQ (ThrownCode ([&] { process.Initialize(); }), -7053);
}

class CChannelProcess : public CTestProcess
{
public:
    int32_t inputsResult = 0;
    int32_t GetNumInputs (int16_t* count) override
    {
        *count = 6;
        return inputsResult;
    }
};

TEST (ProcessChannels, TheThrowingCountsThrowAFailure)
{
    CChannelProcess process;
    EXPECT_EQ (process.GetNumInputsOrThrow(), 6);
    EXPECT_EQ (process.GetNumOutputsOrThrow(), 2);
    process.inputsResult = -7401;
    EXPECT_EQ (ThrownCode ([&] { process.GetNumInputsOrThrow(); }), -7401);
}

}
