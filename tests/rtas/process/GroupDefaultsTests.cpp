// The process group interface's defaults: one table of what each operation writes into
// canary-filled outputs and what it answers, also with null outputs; and its state.

#include "process/group/CProcessGroupInterface.h"

#include "CanaryOutputs.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{

class MinimalGroup final : public CProcessGroupInterface
{
public:
    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
};

inline constexpr uint32_t kType = 0x54595045;
inline constexpr int32_t kProcess = 7;

struct Outputs
{
    std::array<uint8_t, 16> first;
    std::array<uint8_t, 16> second;
};

using Call = std::function<int32_t (CProcessGroupInterface&, void* first, void* second)>;

struct DefaultCase
{
    const char* operation;
    Call call;
    int32_t result;
    std::vector<uint8_t> first; // the bytes written at the start of the first output
    std::vector<uint8_t> second; // the same for the second output
};

const std::vector<uint8_t> kEmptyText { 0 };

std::vector<DefaultCase> DefaultCases()
{
    using G = CProcessGroupInterface&;
    return {
        { "GetGroupName 255", [] (G g, void* o, void*) { return g.GetGroupName (255, as<char> (o)); }, 0, { 5, 'O', 't', 'h', 'e', 'r' }, kNothing },
        { "GetGroupName 3", [] (G g, void* o, void*) { return g.GetGroupName (3, as<char> (o)); }, 0, { 3, 'O', 't', 'h' }, kNothing },
        { "GetGroupName -1", [] (G g, void* o, void*) { return g.GetGroupName (-1, as<char> (o)); }, 0, { 0 }, kNothing },
        { "OnSelector25", [] (G g, void* o, void*) { return g.OnSelector25 (kType, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetTypeName", [] (G g, void* o, void*) { return g.GetTypeName (kType, 31, as<char> (o)); }, 0, kEmptyText, kNothing },
        { "OnSelector10", [] (G g, void* o, void*) { return g.OnSelector10 (kType, kProcess, as<int16_t> (o)); }, 0, kZero16, kNothing },
        { "GetStemFormats", [] (G g, void* o, void*) { return g.GetStemFormats (kType, kProcess, as<SFicPlugInStemFormats> (o)); }, -7110, { 0x9c, 0xff, 0xff, 0xff, 0x9c, 0xff, 0xff, 0xff, 0x9c, 0xff, 0xff, 0xff }, kNothing },
        { "OnSelector17", [] (G g, void* o, void*) { return g.OnSelector17 (kType, kProcess, as<int16_t> (o)); }, 0, kZero16, kNothing },
        { "CreateProcess", [] (G g, void* o, void*) { return g.CreateProcess (kType, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "GetNumTypes", [] (G g, void* o, void*) { return g.GetNumTypes (as<int16_t> (o)); }, 0, kZero16, kNothing },
        { "OnSelector79", [] (G g, void* o, void*) { return g.OnSelector79 (kType, as<int16_t> (o)); }, 0, kZero16, kNothing },
        { "PairOperationA", [] (G g, void* o, void*) { return g.PairOperationA (kType, 1, 2, kType, 3, 4, as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "PairOperationB", [] (G g, void*, void*) { return g.PairOperationB (kType, 1, 2, kType, 3, 4, 5); }, -7102, kNothing, kNothing },
        { "PairOperationC", [] (G g, void*, void*) { return g.PairOperationC (kType, 1, 2, kType, 3, 4, 5); }, 0, kNothing, kNothing },
        { "IsInputConnected", [] (G g, void* o, void*) { return g.IsInputConnected (kType, kProcess, 1, as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "CanConnectOutput", [] (G g, void* o, void*) { return g.CanConnectOutput (kType, kProcess, 1, as<uint8_t> (o)); }, 0, kOne8, kNothing },
        { "IsOutputConnected", [] (G g, void* o, void*) { return g.IsOutputConnected (kType, kProcess, 1, as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "GetInfo", [] (G g, void* o, void* t) { return g.GetInfo (as<int32_t> (o), as<char*> (t)); }, 0, kZero32, kNothing },
        { "GetInfo2 key 21 index 1", [] (G g, void* k, void* v) { return g.GetInfo2 (21, as<int32_t> (k), 1, as<uint32_t> (v)); }, 0, kOne32, { 27, 0, 0, 0 } },
        { "GetInfo2 key 21 index 0", [] (G g, void* k, void* v) { return g.GetInfo2 (21, as<int32_t> (k), 0, as<uint32_t> (v)); }, 0, kZero32, kNothing },
        { "GetInfo2 key 20 index 5", [] (G g, void* k, void* v) { return g.GetInfo2 (20, as<int32_t> (k), 5, as<uint32_t> (v)); }, 0, kZero32, kNothing },
        { "OnSelector36", [] (G g, void* a, void* b) { return g.OnSelector36 (as<int32_t> (a), as<int32_t> (b), kType, kProcess, 1); }, 0, kZero32, kZero32 },
        { "OnSelector37", [] (G g, void* a, void* b) { return g.OnSelector37 (as<int32_t> (a), as<int32_t> (b), kType, kProcess, 1); }, 0, kZero32, kZero32 },
        { "GetNumControls", [] (G g, void* o, void*) { return g.GetNumControls (kType, kProcess, as<int16_t> (o)); }, 0, kZero16, kNothing },
        { "GetMasterBypassControlIndex", [] (G g, void* o, void*) { return g.GetMasterBypassControlIndex (kType, kProcess, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "IsControlAutomatable", [] (G g, void* o, void*) { return g.IsControlAutomatable (kType, kProcess, 2, as<int16_t> (o)); }, 0, kZero16, kNothing },
        { "GetControlStepCount", [] (G g, void* o, void*) { return g.GetControlStepCount (kType, kProcess, 2, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetControlName", [] (G g, void* o, void*) { return g.GetControlName (kType, kProcess, 2, as<char> (o)); }, 0, kEmptyText, kNothing },
        { "GetControlNameToFit", [] (G g, void* t, void* o) { return g.GetControlNameToFit (kType, kProcess, 2, as<char> (t), 8, 9, as<int16_t> (o)); }, 0, kEmptyText, kNothing },
        { "GetControlValue", [] (G g, void* o, void*) { return g.GetControlValue (kType, kProcess, 2, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "OnSelector166", [] (G g, void* t, void* o) { return g.OnSelector166 (kType, kProcess, as<char> (t), as<int32_t> (o)); }, -7000, kNothing, kNothing },
        { "OnSelector167", [] (G g, void* o, void*) { return g.OnSelector167 (kType, kProcess, as<int32_t> (o)); }, -7000, kNothing, kNothing },
        { "IsMasterBypassed", [] (G g, void* o, void*) { return g.IsMasterBypassed (kType, kProcess, 1, as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "QueryOption", [] (G g, void* o, void*) { return g.QueryOption (kType, kProcess, 1, as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "OnSelector133", [] (G g, void* o, void*) { return g.OnSelector133 (kType, kProcess, 1, 2, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "OnSelector134", [] (G g, void* o, void*) { return g.OnSelector134 (kType, kProcess, as<uint32_t> (o)); }, 0, kNothing, kNothing },
        { "GetBypassIndexIfCardFlag", [] (G g, void* o, void*) { return g.GetBypassIndexIfCardFlag (kType, kProcess, 1, as<uint32_t> (o)); }, 0, kNothing, kNothing },
        { "GetNumMeters", [] (G g, void* o, void*) { return g.GetNumMeters (kType, kProcess, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetMeterValues", [] (G g, void* o, void*) { return g.GetMeterValues (kType, kProcess, 3, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetMeterOrientation", [] (G g, void* o, void*) { return g.GetMeterOrientation (kType, kProcess, 1, as<EMeterOrientation> (o)); }, 0, kZero32, kNothing },
        { "GetNumMetersOfType", [] (G g, void* o, void*) { return g.GetNumMetersOfType (kType, kProcess, EMeterType (1), as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetMeterIndexOfType", [] (G g, void* o, void*) { return g.GetMeterIndexOfType (kType, kProcess, EMeterType (1), 2, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "IsClipped", [] (G g, void* o, void*) { return g.IsClipped (kType, kProcess, as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "OnSelector161", [] (G g, void* o, void*) { return g.OnSelector161 (kType, kProcess, as<uint8_t> (o)); }, 0, kNothing, kNothing },
        { "OnSelector162", [] (G g, void* d, void* o) { return g.OnSelector162 (kType, kProcess, 1, d, as<uint8_t> (o)); }, 0, kNothing, kNothing },
        { "GetNumChunks", [] (G g, void* o, void*) { return g.GetNumChunks (kType, kProcess, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "GetChunkID", [] (G g, void* o, void*) { return g.GetChunkID (kType, kProcess, 0, as<uint32_t> (o)); }, 0, kNothing, kNothing },
        { "GetChunkName", [] (G g, void* o, void*) { return g.GetChunkName (kType, kProcess, 1, as<uint8_t> (o)); }, 0, kNothing, kNothing },
        { "GetChunkSize", [] (G g, void* o, void*) { return g.GetChunkSize (kType, kProcess, 1, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "RestoreControlsFromChunk", [] (G g, void* c, void* r) { return g.RestoreControlsFromChunk (kType, kProcess, as<SFicPlugInChunk> (c), as<uint8_t> (r)); }, -9007, kNothing, kZero8 },
        { "GetChangeCount", [] (G g, void* o, void*) { return g.GetChangeCount (kType, kProcess, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "MatchPlugInSpec", [] (G g, void* s, void*) { return g.MatchPlugInSpec (as<SFicPlugInSpec> (s), 1, 2); }, -7055, kNothing, kNothing },
        { "MatchPlugInSpecStems", [] (G g, void* s, void*) { return g.MatchPlugInSpecStems (as<SFicPlugInSpec> (s), 1, 2, 3, 4, 5); }, -7055, kNothing, kNothing },
        { "QueryForDSP", [] (G g, void* o, void*) { return g.QueryForDSP (1, 2, as<int16_t> (o)); }, -7000, kNothing, kNothing },
        { "GetLatencyShort", [] (G g, void* o, void*) { return g.GetLatencyShort (kType, kProcess, as<int16_t> (o)); }, 0, kZero16, kNothing },
        { "GetLatency", [] (G g, void* o, void*) { return g.GetLatency (kType, kProcess, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "EnableType", [] (G g, void*, void*) { return g.EnableType (int32_t (kType)); }, -7000, kNothing, kNothing },
        { "OnSelector92", [] (G g, void* o, void*) { return g.OnSelector92 (kType, as<int32_t> (o)); }, -7000, kNothing, kNothing },
        { "GetCardInfo", [] (G g, void* o, void*) { return g.GetCardInfo (kType, kProcess, as<int32_t> (o)); }, -7000, kNothing, kNothing },
        { "GetInfoString", [] (G g, void* o, void*) { return g.GetInfoString (kType, kProcess, 1, as<uint8_t> (o)); }, -7000, kNothing, kNothing },
        { "GetStreamFormat", [] (G g, void* o, void*) { return g.GetStreamFormat (kType, kProcess, 1, 2, as<char> (o)); }, -7000, kNothing, kNothing },
        { "CheckStreamFormat", [] (G g, void* o, void*) { return g.CheckStreamFormat (kType, kProcess, 1, 2, as<char> (o)); }, -7000, kNothing, kNothing },
        { "OnSelector96", [] (G g, void* o, void*) { return g.OnSelector96 (kType, kProcess, 1, 2, 3, as<int16_t> (o)); }, -7000, kNothing, kNothing },
        { "OnSelector97", [] (G g, void* o, void*) { return g.OnSelector97 (kType, kProcess, 1, 2, 3, 4, as<char> (o)); }, -7000, kNothing, kNothing },
        { "GetDefaultStreamInfo", [] (G g, void*, void*) { return g.GetDefaultStreamInfo (kType, kProcess); }, -7000, kNothing, kNothing },
        { "OnSelector102", [] (G g, void*, void*) { return g.OnSelector102 (kType, kProcess, 1, 2); }, -7000, kNothing, kNothing },
        { "OnSelector103", [] (G g, void* o, void*) { return g.OnSelector103 (kType, kProcess, 1, 2, as<int32_t> (o)); }, -7000, kNothing, kNothing },
        { "OnSelector104", [] (G g, void* o, void*) { return g.OnSelector104 (kType, kProcess, as<int32_t> (o)); }, -7000, kNothing, kNothing },
        { "OnSelector105", [] (G g, void* o, void*) { return g.OnSelector105 (kType, kProcess, as<int32_t> (o)); }, -7000, kNothing, kNothing },
        { "GetControlHostHint1", [] (G g, void* o, void*) { return g.GetControlHostHint1 (kType, kProcess, 2, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetInstanceNameID", [] (G g, void* o, void*) { return g.GetInstanceNameID (kType, kProcess, as<void*> (o)); }, 0, kZero32, kNothing },
        { "GetControlNameID", [] (G g, void* o, void*) { return g.GetControlNameID (kType, kProcess, 2, as<void*> (o)); }, 0, kZero32, kNothing },
        { "GetControlValueKind", [] (G g, void* o, void*) { return g.GetControlValueKind (kType, kProcess, 2, as<int32_t> (o)); }, 0, kOne32, kNothing },
        { "GetControlHostHint2", [] (G g, void* o, void*) { return g.GetControlHostHint2 (kType, kProcess, 2, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "GetControlText", [] (G g, void* o, void*) { return g.GetControlText (kType, kProcess, 2, 8, as<char> (o), 9); }, 0, kEmptyText, kNothing },
        { "GetControlHighlight", [] (G g, void* a, void* b) { return g.GetControlHighlight (kType, kProcess, 2, as<int16_t> (a), as<int16_t> (b)); }, 0, kZero16, kZero16 },
        { "GetControlIndexAtPoint", [] (G g, void* o, void*) { return g.GetControlIndexAtPoint (kType, kProcess, Point { 1, 2 }, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "GetControlDefaultValue", [] (G g, void* o, void*) { return g.GetControlDefaultValue (kType, kProcess, 2, as<int32_t> (o)); }, 0, kZero32, kNothing },
        { "SetControlSpecial", [] (G g, void* o, void*) { return g.SetControlSpecial (kType, kProcess, 2, 3, 4, as<int32_t> (o)); }, -7304, kNothing, kNothing },
        { "OnSelector59", [] (G g, void* o, void*) { return g.OnSelector59 (kType, kProcess, 1, 2, as<int16_t> (o)); }, 0, kNothing, kNothing },
        { "OnSelector141", [] (G g, void* s, void* o) { return g.OnSelector141 (kType, kProcess, as<SFicPlugInSpec> (s), 1, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "OnSelector152", [] (G g, void* o, void*) { return g.OnSelector152 (kType, kProcess, 1, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "OnSelector153", [] (G g, void* o, void*) { return g.OnSelector153 (kType, kProcess, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "OnSelector155", [] (G g, void* o, void*) { return g.OnSelector155 (kType, kProcess, 1, as<int32_t> (o)); }, 0, kNothing, kNothing },
        { "GetNumConnectionInfos", [] (G g, void* o, void*) { return g.GetNumConnectionInfos (kType, kProcess, as<int32_t> (o)); }, -7000, kNothing, kNothing },
        { "GetConnectionInfo", [] (G g, void* o, void*) { return g.GetConnectionInfo (kType, kProcess, 1, as<SFicPlugInStemInfo> (o)); }, -7000, kNothing, kNothing },
        { "OnSelector168", [] (G g, void* o, void*) { return g.OnSelector168 (kType, kProcess, o); }, -7000, kNothing, kNothing },
        { "OnSelector169", [] (G g, void* a, void* b) { return g.OnSelector169 (kType, kProcess, as<SFileList> (a), as<SFileList> (b)); }, -7000, kNothing, kNothing },
        { "OnSelector170", [] (G g, void* a, void* b) { return g.OnSelector170 (kType, kProcess, as<SFileList> (a), as<SFileList> (b), 1); }, -7000, kNothing, kNothing },
        { "OnSelector173", [] (G g, void*, void*) { return g.OnSelector173 (kType, kProcess); }, -7000, kNothing, kNothing },
        { "GetUnknown", [] (G g, void* o, void*) { return g.GetUnknown (kType, kProcess, as<IACFUnknown*> (o)); }, 0, kZero32, kNothing },
        { "GetValueA", [] (G g, void* o, void*) { return g.GetValueA (kType, kProcess, 1, as<SFicTDMAutoElem**> (o)); }, 0, kZero32, kNothing },
        { "GetValueB", [] (G g, void* o, void*) { return g.GetValueB (kType, kProcess, 1, as<void*> (o)); }, 0, kZero32, kNothing },
        { "CallPairOperationA", [] (G g, void* o, void*) {
              SProcessSpecifier first { kType, 1 }, second { kType, 2 };
              return g.CallPairOperationA (&first, 3, &second, 4, as<uint8_t> (o)); }, 0, kZero8, kNothing },
        { "CallPairOperationB", [] (G g, void*, void*) {
              SProcessSpecifier first { kType, 1 }, second { kType, 2 };
              return g.CallPairOperationB (&first, 3, &second, 4, 5); }, -7102, kNothing, kNothing },
        { "Lock", [] (G g, void*, void*) { return g.Lock(); }, 0, kNothing, kNothing },
        { "TryLock", [] (G g, void*, void*) { return int32_t (g.TryLock()); }, 0, kNothing, kNothing },
        { "Unlock", [] (G g, void*, void*) { return g.Unlock(); }, 0, kNothing, kNothing },
        { "GetGroupVersion", [] (G g, void*, void*) { return g.GetGroupVersion(); }, 1, kNothing, kNothing },
        { "Initialize", [] (G g, void*, void*) { return g.Initialize(); }, 0, kNothing, kNothing },
    };
}

TEST (GroupDefaults, EachDefaultWritesOnlyItsOutputsAndAnswersItsCode)
{
    for (const DefaultCase& c : DefaultCases())
    {
        SCOPED_TRACE (c.operation);
        MinimalGroup group;
        Outputs outputs;
        outputs.first.fill (kCanary);
        outputs.second.fill (kCanary);
        EXPECT_EQ (c.call (group, outputs.first.data(), outputs.second.data()), c.result);
        EXPECT_EQ (std::vector<uint8_t> (outputs.first.begin(), outputs.first.end()), CanaryAfter (c.first, 16));
        EXPECT_EQ (std::vector<uint8_t> (outputs.second.begin(), outputs.second.end()), CanaryAfter (c.second, 16));
        EXPECT_EQ (c.call (group, nullptr, nullptr), c.result) << "null outputs are not written through";
    }
}

TEST (GroupDefaults, SelectorsFromMinusSixTo173AreSupported)
{
    MinimalGroup group;
    for (const int16_t selector : { -7, 174, 32767, -32768 })
        EXPECT_FALSE (group.IsSelectorSupported (selector)) << selector;
    for (const int16_t selector : { -6, -1, 0, 11, 173 })
        EXPECT_TRUE (group.IsSelectorSupported (selector)) << selector;
}

TEST (GroupDefaults, TheGroupKeepsWhatTheHostSetsAndStartsFromItsDefaults)
{
    gHostLevel = 0;
    MinimalGroup group;
    EXPECT_EQ (gHostLevel, 99);
    EXPECT_EQ (group.GetSampleRate(), 44100);
    EXPECT_EQ (group.GetTimeCodeFirst(), 5);
    EXPECT_EQ (group.GetTimeCodeSecond(), 0);

    EXPECT_EQ (group.SetSampleRate (96000), 0);
    SFicTimeCodeInfo info { -3, 1234567 };
    EXPECT_EQ (group.SetTimeCodeInfo (&info), 0);
    EXPECT_EQ (group.SetTimeCodeInfo (nullptr), 0);
    EXPECT_EQ (group.GetSampleRate(), 96000);
    EXPECT_EQ (group.GetTimeCodeFirst(), -3);
    EXPECT_EQ (group.GetTimeCodeSecond(), 1234567);

    EXPECT_EQ (group.SetGroupGlobal (0), 0);
    EXPECT_EQ (gHostLevel, 0);
    gHostLevel = 99;
}

// Records which operation the unpacking members reach, with which arguments.
class UnpackingGroup final : public CProcessGroupInterface
{
public:
    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }

    std::string reached;
    std::vector<int64_t> arguments;

    int32_t GetPageControl (uint32_t t, int32_t p, uint32_t a, int16_t b, int16_t c, int16_t d) override { return Reach ("GetPageControl", { t, p, a, b, c, d }); }
    int32_t GetControlNameToFit (uint32_t t, int32_t p, int32_t control, char* text, int32_t a, uint32_t b, int16_t* out) override
    {
        return Reach ("GetControlNameToFit", { t, p, control, Address (text), a, b, Address (out) });
    }
    int32_t GetControlText (uint32_t t, int32_t p, int32_t control, int32_t a, char* text, int32_t b) override
    {
        return Reach ("GetControlText", { t, p, control, a, Address (text), b });
    }
    int32_t MatchPlugInSpecStems (SFicPlugInSpec* spec, int32_t a, int32_t inSecond, int32_t outSecond, int32_t inFirst, int32_t outFirst) override
    {
        return Reach ("MatchPlugInSpecStems", { Address (spec), a, inSecond, outSecond, inFirst, outFirst });
    }
    int32_t OnSelector96 (uint32_t t, int32_t p, int16_t a, int16_t b, int16_t c, int16_t* out) override
    {
        return Reach ("OnSelector96", { t, p, a, b, c, Address (out) });
    }
    int32_t OnSelector97 (uint32_t t, int32_t p, int16_t a, int16_t b, int16_t c, int16_t value, char* text) override
    {
        return Reach ("OnSelector97", { t, p, a, b, c, value, Address (text) });
    }
    int32_t PairOperationC (uint32_t t1, int32_t p1, int32_t a, uint32_t t2, int32_t p2, int32_t b, int32_t c) override
    {
        return Reach ("PairOperationC", { t1, p1, a, t2, p2, b, c });
    }

private:
    static int64_t Address (const void* p) { return int64_t (reinterpret_cast<uintptr_t> (p)); }
    int32_t Reach (const char* name, std::vector<int64_t> values)
    {
        reached = name;
        arguments = std::move (values);
        return 77;
    }
};

TEST (GroupDefaults, TheUnpackingMembersPassEachRecordFieldToItsOperation)
{
    UnpackingGroup group;
    char text[4];
    int16_t out;
    SFicPlugInSpec spec {};
    SProcessSpecifier process { 11, 12 };
    SControlSpecifier control { 21, 22, 23 };
    SParamSpecifier param { 31, 32, 0xFFFE, 34, 35 };
    SStemSpecifier in { 41, 42 }, outStem { 43, 44 };
    const auto address = [] (const void* p) { return int64_t (reinterpret_cast<uintptr_t> (p)); };

    EXPECT_EQ (group.CallWithProcessSpecifier (&process, 13, 14, 15, 16), 77);
    EXPECT_EQ (group.reached, "GetPageControl");
    EXPECT_EQ (group.arguments, (std::vector<int64_t> { 11, 12, 13, 14, 15, 16 }));

    group.CallWithControlSpecifierA (&control, text, 24, 25, &out);
    EXPECT_EQ (group.reached, "GetControlNameToFit");
    EXPECT_EQ (group.arguments, (std::vector<int64_t> { 21, 22, 23, address (text), 24, 25, address (&out) }));

    group.CallWithControlSpecifierB (&control, 26, text, 27);
    EXPECT_EQ (group.reached, "GetControlText");
    EXPECT_EQ (group.arguments, (std::vector<int64_t> { 21, 22, 23, 26, address (text), 27 }));

    group.CallWithParamSpecifierA (&param, &out);
    EXPECT_EQ (group.reached, "OnSelector96");
    EXPECT_EQ (group.arguments, (std::vector<int64_t> { 31, 32, -2, 34, 35, address (&out) }));

    group.CallWithParamSpecifierB (&param, 36, text);
    EXPECT_EQ (group.reached, "OnSelector97");
    EXPECT_EQ (group.arguments, (std::vector<int64_t> { 31, 32, -2, 34, 35, 36, address (text) }));

    group.CallWithStemSpecifiers (&spec, 45, &in, &outStem);
    EXPECT_EQ (group.reached, "MatchPlugInSpecStems");
    EXPECT_EQ (group.arguments, (std::vector<int64_t> { address (&spec), 45, 42, 44, 41, 43 })) << "second words, then first words";

    SProcessSpecifier first { 51, 52 }, second { 53, 54 };
    group.CallPairOperationC (&first, 55, &second, 56, 57);
    EXPECT_EQ (group.reached, "PairOperationC");
    EXPECT_EQ (group.arguments, (std::vector<int64_t> { 51, 52, 55, 53, 54, 56, 57 }));
}

} // namespace
