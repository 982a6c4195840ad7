// The process type: instances by ID, forwarding and its -7126, deletion through teardown and then
// release or delete, broadcasts, the type's own answers, and the page-table cache with its
// loading from the plug-in's resource file.

#include "ProcessTestSupport.h"
#include "ThrownCode.h"

#include "process/group/CProcessGroupInterface.h"
#include "process/group/GlobalPlugInGroup.h"
#include "process/type/CProcessType.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PlugInFileRecord.h"

#include <HostExtControl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{

using namespace kestrune::host::rtas;

constexpr uint64_t kTick = 1000000 / 60;

// Records what the type broadcasts and answers with a scripted result.
class CBroadcastProcess : public CTestProcess
{
public:
    explicit CBroadcastProcess (std::vector<std::string>* log) : fLog (log) {}

    int32_t answer = 0;
    int32_t NotifyTypeValue (int32_t value) override { return Note ("NotifyTypeValue " + std::to_string (value)); }
    int32_t SetSampleRate (int32_t rate) override
    {
        CTestProcess::SetSampleRate (rate);
        return Note ("SetSampleRate " + std::to_string (rate));
    }
    int32_t SetSettingPair (const SFicTimeCodeInfo* pair) override
    {
        CTestProcess::SetSettingPair (pair);
        return Note ("SetSettingPair");
    }
    int32_t SetProcessValue (int32_t a, int32_t value) override { return Note ("SetProcessValue " + std::to_string (a) + " " + std::to_string (value)); }
    int32_t ReservedOp13 (uint8_t flag) override { return Note ("ByteA " + std::to_string (flag)); }
    int32_t ReservedOp15 (uint8_t flag) override { return Note ("ByteB " + std::to_string (flag)); }
    int32_t Idle (EventRecord*) override { return Note ("Idle"); }
    void Teardown() override
    {
        Note ("Teardown");
        CTestProcess::Teardown();
    }
    ~CBroadcastProcess() override { fLog->push_back ("deleted " + std::to_string (GetInstanceID())); }

private:
    int32_t Note (const std::string& what)
    {
        fLog->push_back (std::to_string (GetInstanceID()) + " " + what);
        return answer;
    }

    std::vector<std::string>* fLog;
};

// A process with an interface: the type releases it twice, which deletes it.
class CCountedProcess : public CBroadcastProcess, public DOA::IUnknown
{
public:
    using CBroadcastProcess::CBroadcastProcess;

    int32_t QueryInterface (const DOA::GUID&, void** out) override
    {
        *out = static_cast<DOA::IUnknown*> (this);
        AddRef();
        return 0;
    }
    uint32_t AddRef() override { return ++fReferences; }
    uint32_t Release() override
    {
        if (--fReferences == 0)
        {
            delete this;
            return 0;
        }
        return fReferences;
    }
    int32_t GetUnknown (IACFUnknown** unknown) override
    {
        *unknown = this;
        AddRef();
        return 0;
    }

private:
    uint32_t fReferences = 1;
};

// A type whose instances are made here, numbered from 1, and whose page tables come from a table
// of its own unless it reads the resource file.
class CTestType : public CProcessType
{
public:
    explicit CTestType (std::vector<std::string>* log) : fLog (log) {}

    bool counted = false;
    bool readResources = false;
    std::vector<uint32_t> loads;
    int32_t cardInfo29 = 0;

    int32_t GetNumInputs (int32_t, int16_t* count) override
    {
        *count = 1;
        return 0;
    }
    int32_t GetNumOutputs (int32_t, int16_t* count) override
    {
        *count = 1;
        return 0;
    }
    int32_t CreateProcess (int32_t* id) override
    {
        int32_t next = 1;
        while (FindProcess (next) != nullptr)
            ++next;
        CBroadcastProcess* process = counted ? new CCountedProcess (fLog) : new CBroadcastProcess (fLog);
        process->SetType (this);
        process->SetTypeIndex (GetTypeIndex());
        process->SetInstanceID (int16_t (next));
        AddProcess (process);
        *id = next;
        return 0;
    }
    std::unique_ptr<PageTableBuffer> LoadPageTable (uint32_t code) override
    {
        loads.push_back (code);
        if (readResources)
            return CProcessType::LoadPageTable (code);
        return std::make_unique<PageTableBuffer> (4, uint8_t (loads.size()));
    }
    int32_t GetCardInfo (int32_t key, int32_t* value) override
    {
        *value = key == kCardInfoNoStemFormats ? cardInfo29 : 0;
        return 0;
    }

    CBroadcastProcess& Process (int32_t id) { return *static_cast<CBroadcastProcess*> (FindProcess (id)); }

private:
    std::vector<std::string>* fLog;
};

// Deletes a type's instances when the scope ends, before the type itself goes, as the group does:
// a type's own end frees only its page tables.
class InstancesDeletedFirst
{
public:
    explicit InstancesDeletedFirst (CProcessType& type) : fType (type) {}
    ~InstancesDeletedFirst()
    {
        try
        {
            fType.DeleteAllProcesses();
        }
        catch (...)
        {
            ADD_FAILURE() << "an instance's teardown failed";
        }
    }
    InstancesDeletedFirst (const InstancesDeletedFirst&) = delete;
    InstancesDeletedFirst& operator= (const InstancesDeletedFirst&) = delete;

private:
    CProcessType& fType;
};

class ProcessTypes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        toolbox.reset();
        ASSERT_TRUE (InstallHostToolbox());
        toolbox.setClock (1000 * kTick, 0);
        viewless = std::make_unique<ScopedViewless>();
        type = std::make_unique<CTestType> (&log);
    }
    void TearDown() override
    {
        // As the group does: the instances go before their type.
        type->DeleteAllProcesses();
        type.reset();
        ReleaseHostToolbox();
        toolbox.reset();
    }

    int32_t Create()
    {
        int32_t id = 0;
        EXPECT_EQ (type->CreateProcess (&id), 0);
        return id;
    }

    std::vector<int16_t> IDs() { return InstanceIDs (*type); }

    HostExtControl& toolbox = *KestruneHostExtStandIn();
    std::unique_ptr<ScopedViewless> viewless;
    std::vector<std::string> log;
    std::unique_ptr<CTestType> type;
};

using Forward = std::function<int32_t (CProcessType&, int32_t id)>;

struct ForwardCase
{
    const char* operation;
    Forward call;
    int32_t missing; // the answer for an ID that no instance has
};

std::vector<ForwardCase> ForwardCases()
{
    using T = CProcessType&;
    static uint8_t byte;
    static int16_t word;
    static int32_t value;
    static uint32_t code;
    static char text[300];
    static Rect rect;
    static EventRecord event;
    static void* pointer;
    static SFicPlugInSpec spec;
    static IACFUnknown* unknown;
    return {
        { "InvalidateView", [] (T t, int32_t id) { return t.InvalidateView (id, &rect); }, -7126 },
        { "HandleViewClick", [] (T t, int32_t id) { return t.HandleViewClick (id, &event); }, -7126 },
        { "HandleViewEvent", [] (T t, int32_t id) { return t.HandleViewEvent (id, &event, &byte); }, -7126 },
        { "Idle", [] (T t, int32_t id) { return t.Idle (id, &event); }, -7126 },
        { "GetViewRect", [] (T t, int32_t id) { return t.GetViewRect (id, &rect); }, -7126 },
        { "SetViewPort", [] (T t, int32_t id) { return t.SetViewPort (id, nullptr); }, -7126 },
        { "MoveViewTo", [] (T t, int32_t id) { return t.MoveViewTo (id, Point { 1, 1 }); }, -7126 },
        { "ActivateView", [] (T t, int32_t id) { return t.ActivateView (id); }, -7126 },
        { "DeactivateView", [] (T t, int32_t id) { return t.DeactivateView (id); }, -7126 },
        { "SetMasterBypass", [] (T t, int32_t id) { return t.SetMasterBypass (id, 1); }, -7126 },
        { "ReleaseDirectMIDI", [] (T t, int32_t id) { return t.ReleaseDirectMIDI (id); }, -7126 },
        { "SetOptionA", [] (T t, int32_t id) { return t.SetOptionA (id, 1); }, -7126 },
        { "SetOptionB", [] (T t, int32_t id) { return t.SetOptionB (id, 1); }, -7126 },
        { "IsInputConnected", [] (T t, int32_t id) { return t.IsInputConnected (id, 1, &byte); }, -7126 },
        { "CanConnectOutput", [] (T t, int32_t id) { return t.CanConnectOutput (id, 1, &byte); }, -7126 },
        { "IsOutputConnected", [] (T t, int32_t id) { return t.IsOutputConnected (id, 1, &byte); }, -7126 },
        { "NotifyDSPConnect", [] (T t, int32_t id) { return t.NotifyDSPConnect (id, 1, 2); }, -7126 },
        { "NotifyDSPConnectOutput", [] (T t, int32_t id) { return t.NotifyDSPConnectOutput (id, 1, 2); }, -7126 },
        { "NotifyDSPDisconnectInput", [] (T t, int32_t id) { return t.NotifyDSPDisconnectInput (id, 1); }, -7126 },
        { "NotifyDSPDisconnectOutput", [] (T t, int32_t id) { return t.NotifyDSPDisconnectOutput (id, 1); }, -7126 },
        { "GetUserValueA", [] (T t, int32_t id) { return t.GetUserValueA (id, &value); }, -7126 },
        { "GetUserValueB", [] (T t, int32_t id) { return t.GetUserValueB (id, &value); }, -7126 },
        { "GetNumControls", [] (T t, int32_t id) { return t.GetNumControls (id, &word); }, -7126 },
        { "GetMasterBypassControlIndex", [] (T t, int32_t id) { return t.GetMasterBypassControlIndex (id, &value); }, -7126 },
        { "IsControlAutomatable", [] (T t, int32_t id) { return t.IsControlAutomatable (id, 1, &word); }, -7126 },
        { "GetControlStepCount", [] (T t, int32_t id) { return t.GetControlStepCount (id, 1, &value); }, -7126 },
        { "GetControlName", [] (T t, int32_t id) { return t.GetControlName (id, 1, text); }, -7126 },
        { "GetControlNameToFit", [] (T t, int32_t id) { return t.GetControlNameToFit (id, 1, text, 8, 0, &word); }, -7126 },
        { "GetControlValue", [] (T t, int32_t id) { return t.GetControlValue (id, 1, &value); }, -7126 },
        { "SetControlValue", [] (T t, int32_t id) { return t.SetControlValue (id, 1, 5); }, -7126 },
        { "ReservedOp1", [] (T t, int32_t id) { return t.ReservedOp1 (id, 1, nullptr); }, -7126 },
        { "ReservedOp2", [] (T t, int32_t id) { return t.ReservedOp2 (id, 1); }, 0 },
        { "ReservedOp3", [] (T t, int32_t id) { return t.ReservedOp3 (id, 1); }, 0 },
        { "GetPageCount", [] (T t, int32_t id) { return t.GetPageCount (id, FourCharCode ("PcTL"), 8); }, 0 },
        { "GetPageControl", [] (T t, int32_t id) { return t.GetPageControl (id, FourCharCode ("PcTL"), 8, 0, 0); }, 0 },
        { "HasPageLayout", [] (T t, int32_t id) { return t.HasPageLayout (id, FourCharCode ("PcTL"), 8); }, 0 },
        { "IsMasterBypassed", [] (T t, int32_t id) { return t.IsMasterBypassed (id, &byte); }, -7126 },
        { "ReservedOp4", [] (T t, int32_t id) { return t.ReservedOp4 (id, 1, 2); }, -7126 },
        { "QueryOption", [] (T t, int32_t id) { return t.QueryOption (id, 1, &byte); }, -7126 },
        { "GetBypassIndexIfCardFlag", [] (T t, int32_t id) { return t.GetBypassIndexIfCardFlag (id, 1, &code); }, -7126 },
        { "GetNumMeters", [] (T t, int32_t id) { return t.GetNumMeters (id, &value); }, -7126 },
        { "GetMeterValues", [] (T t, int32_t id) { return t.GetMeterValues (id, 1, &value); }, -7126 },
        { "ReservedOp5", [] (T t, int32_t id) { return t.ReservedOp5 (id, 1, text); }, -7126 },
        { "GetMeterOrientation", [] (T t, int32_t id) { return t.GetMeterOrientation (id, 1, reinterpret_cast<EMeterOrientation*> (&value)); }, -7126 },
        { "GetNumMetersOfType", [] (T t, int32_t id) { return t.GetNumMetersOfType (id, EMeterType (1), &value); }, -7126 },
        { "GetMeterIndexOfType", [] (T t, int32_t id) { return t.GetMeterIndexOfType (id, EMeterType (1), 1, &value); }, -7126 },
        { "IsClipped", [] (T t, int32_t id) { return t.IsClipped (id, &byte); }, -7126 },
        { "ClearClipIndicators", [] (T t, int32_t id) { return t.ClearClipIndicators (id); }, -7126 },
        { "ReservedOp6", [] (T t, int32_t id) { return t.ReservedOp6 (id, 1, 2, 3); }, -7126 },
        { "ReservedOp7", [] (T t, int32_t id) { return t.ReservedOp7 (id, &byte); }, -7126 },
        { "ReservedOp8", [] (T t, int32_t id) { return t.ReservedOp8 (id, 1, nullptr, &byte); }, -7126 },
        { "ReservedOp9", [] (T t, int32_t id) { return t.ReservedOp9 (id); }, -7126 },
        { "ReservedOp10", [] (T t, int32_t id) { return t.ReservedOp10 (id, 1, 2); }, -7126 },
        { "GetNumChunks", [] (T t, int32_t id) { return t.GetNumChunks (id, &value); }, -7126 },
        { "GetChunkID", [] (T t, int32_t id) { return t.GetChunkID (id, 1, &code); }, -7126 },
        { "GetChunkName", [] (T t, int32_t id) { return t.GetChunkName (id, 1, &byte); }, -7126 },
        { "GetChunkSize", [] (T t, int32_t id) { return t.GetChunkSize (id, 1, &value); }, -7126 },
        { "GetChunk", [] (T t, int32_t id) { return t.GetChunk (id, 1, nullptr); }, -7126 },
        { "SetChunk", [] (T t, int32_t id) { return t.SetChunk (id, 1, nullptr); }, -7126 },
        { "RestoreControlsFromChunk", [] (T t, int32_t id) { return t.RestoreControlsFromChunk (id, nullptr, &byte); }, -7126 },
        { "ReservedOp11", [] (T t, int32_t id) { return t.ReservedOp11 (id, text); }, -7126 },
        { "ReservedOp12", [] (T t, int32_t id) { return t.ReservedOp12 (id, nullptr); }, -7126 },
        { "GetChangeCount", [] (T t, int32_t id) { return t.GetChangeCount (id, &value); }, -7126 },
        { "ReservedOp14", [] (T t, int32_t id) { return t.ReservedOp14 (id, 1, 2); }, -7126 },
        { "GetLatencyShort", [] (T t, int32_t id) { return t.GetLatencyShort (id, &word); }, -7126 },
        { "GetLatency", [] (T t, int32_t id) { return t.GetLatency (id, &value); }, -7126 },
        { "GetInfoString", [] (T t, int32_t id) { return t.GetInfoString (id, 1, &byte); }, -7126 },
        { "GetStreamFormat", [] (T t, int32_t id) { return t.GetStreamFormat (id, 1, 2, text); }, -7126 },
        { "CheckStreamFormat", [] (T t, int32_t id) { return t.CheckStreamFormat (id, 1, 2, text); }, -7126 },
        { "ReservedOp16", [] (T t, int32_t id) { return t.ReservedOp16 (id, 1, 2, 3, &word); }, -7126 },
        { "ReservedOp17", [] (T t, int32_t id) { return t.ReservedOp17 (id, 1, 2, 3, 4, text); }, -7126 },
        { "GetDefaultStreamInfo", [] (T t, int32_t id) { return t.GetDefaultStreamInfo (id); }, -7126 },
        { "ReservedOp18", [] (T t, int32_t id) { return t.ReservedOp18 (id, 1, 2); }, -7126 },
        { "ReservedOp19", [] (T t, int32_t id) { return t.ReservedOp19 (id, 1, 2, &value); }, -7126 },
        { "ReservedOp20", [] (T t, int32_t id) { return t.ReservedOp20 (id, &value); }, -7126 },
        { "ReservedOp21", [] (T t, int32_t id) { return t.ReservedOp21 (id, &value); }, -7126 },
        { "IncrementControlValue", [] (T t, int32_t id) { return t.IncrementControlValue (id, 1, 1); }, -7126 },
        { "GetControlHostHint1", [] (T t, int32_t id) { return t.GetControlHostHint1 (id, 1, &value); }, -7126 },
        { "GetInstanceNameID", [] (T t, int32_t id) { return t.GetInstanceNameID (id, &pointer); }, -7126 },
        { "GetControlNameID", [] (T t, int32_t id) { return t.GetControlNameID (id, 1, &pointer); }, -7126 },
        { "GetControlValueKind", [] (T t, int32_t id) { return t.GetControlValueKind (id, 1, &value); }, -7126 },
        { "GetControlHostHint2", [] (T t, int32_t id) { return t.GetControlHostHint2 (id, 1, &value); }, -7126 },
        { "GetControlText", [] (T t, int32_t id) { return t.GetControlText (id, 1, 0, text, 8); }, -7126 },
        { "GetControlHighlight", [] (T t, int32_t id) { return t.GetControlHighlight (id, 1, &word, &word); }, -7126 },
        { "SetControlHighlightInfo", [] (T t, int32_t id) { return t.SetControlHighlightInfo (id, 1, 1, 2); }, -7126 },
        { "UpdateControlValue", [] (T t, int32_t id) { return t.UpdateControlValue (id, 1, 5); }, -7126 },
        { "IncrementControlValueDirect", [] (T t, int32_t id) { return t.IncrementControlValueDirect (id, 1, 1); }, -7126 },
        { "GetControlIndexAtPoint", [] (T t, int32_t id) { return t.GetControlIndexAtPoint (id, Point { 1, 1 }, &value); }, -7126 },
        { "GetControlDefaultValue", [] (T t, int32_t id) { return t.GetControlDefaultValue (id, 1, &value); }, -7126 },
        { "SetControlSpecial", [] (T t, int32_t id) { return t.SetControlSpecial (id, 1, 2, 3, &value); }, -7126 },
        { "SetOwnerValue", [] (T t, int32_t id) { return t.SetOwnerValue (id, 1); }, -7126 },
        { "GetPlugInSpec", [] (T t, int32_t id) { return t.GetPlugInSpec (id, &spec); }, -7126 },
        { "SetPlugInSpec", [] (T t, int32_t id) { return t.SetPlugInSpec (id, &spec); }, -7126 },
        { "ReservedOp22", [] (T t, int32_t id) { return t.ReservedOp22 (id, &spec, 1, &value); }, -7126 },
        { "ReservedOp23", [] (T t, int32_t id) { return t.ReservedOp23 (id, &spec, 1, &value); }, -7126 },
        { "ReservedOp24", [] (T t, int32_t id) { return t.ReservedOp24 (id, 1, 2); }, -7126 },
        { "ReservedOp25", [] (T t, int32_t id) { return t.ReservedOp25 (id, 1, 2); }, -7126 },
        { "ReservedOp26", [] (T t, int32_t id) { return t.ReservedOp26 (id, 1, &value); }, -7126 },
        { "ReservedOp27", [] (T t, int32_t id) { return t.ReservedOp27 (id, &value); }, -7126 },
        { "ReservedOp28", [] (T t, int32_t id) { return t.ReservedOp28 (id, 1, 2); }, -7126 },
        { "ReservedOp29", [] (T t, int32_t id) { return t.ReservedOp29 (id, 1, &value); }, -7126 },
        { "ReservedOp30", [] (T t, int32_t id) { return t.ReservedOp30 (id, 1, 2); }, -7126 },
        { "GetNumConnectionInfos", [] (T t, int32_t id) { return t.GetNumConnectionInfos (id, &value); }, -7126 },
        { "GetConnectionInfo", [] (T t, int32_t id) { return t.GetConnectionInfo (id, 1, nullptr); }, -7126 },
        { "ReservedOp31", [] (T t, int32_t id) { return t.ReservedOp31 (id, nullptr); }, -7126 },
        { "ReservedOp32", [] (T t, int32_t id) { return t.ReservedOp32 (id, nullptr, nullptr); }, -7126 },
        { "ReservedOp33", [] (T t, int32_t id) { return t.ReservedOp33 (id, nullptr, nullptr, 1); }, -7126 },
        { "ReservedOp34", [] (T t, int32_t id) { return t.ReservedOp34 (id); }, -7126 },
        { "GetUnknown", [] (T t, int32_t id) { return t.GetUnknown (id, &unknown); }, -7126 },
        { "DeleteProcess", [] (T t, int32_t id) { return t.DeleteProcess (id); }, -7126 },
    };
}

TEST_F (ProcessTypes, AnIDThatNoInstanceHasIsNotFoundAndChangesNothing)
{
    Create();
    Create();
    for (const ForwardCase& c : ForwardCases())
    {
        SCOPED_TRACE (c.operation);
        for (const int32_t id : { 0, -1, 3, 77 })
            EXPECT_EQ (c.call (*type, id), c.missing) << id;
        EXPECT_EQ (IDs(), (std::vector<int16_t> { 1, 2 }));
    }
    EXPECT_EQ (type->FindProcess (0), nullptr);
    EXPECT_EQ (type->FindProcess (-1), nullptr);
}

TEST_F (ProcessTypes, ForwardsReachTheInstanceWithTheID)
{
    Create();
    Create();
    AddTestControls (type->Process (2), 1);
    EXPECT_EQ (type->UpdateControlValue (2, 1, 4321), 0);
    int32_t value = 0;
    EXPECT_EQ (type->GetControlValue (2, 1, &value), 0);
    EXPECT_EQ (value, 4321);
    EXPECT_EQ (type->GetControlValue (1, 1, &value), 0);
    EXPECT_EQ (value, 0) << "the other instance has no such control";

    type->Process (1).SetUserValueA (5);
    type->Process (1).SetUserValueB (6);
    EXPECT_EQ (type->GetUserValueA (1, &value), 0);
    EXPECT_EQ (value, 5);
    EXPECT_EQ (type->GetUserValueB (1, &value), 0);
    EXPECT_EQ (value, 6);

    // These four answer 0 whatever the instance answers.
    type->Process (1).answer = -99;
    EXPECT_EQ (type->Idle (1, nullptr), 0);
    EXPECT_EQ (log.back(), "1 Idle");
    EXPECT_EQ (type->MoveViewTo (1, Point { 1, 1 }), 0) << "view-less the instance answers 1";
    EXPECT_EQ (type->SetOptionA (1, 1), -7152) << "other forwards answer what the instance answers";
}

TEST_F (ProcessTypes, DeletingTearsDownThenDeletesOrReleasesTwice)
{
    Create();
    type->counted = true;
    Create();
    EXPECT_EQ (type->GetNumProcesses(), 2);

    log.clear();
    EXPECT_EQ (type->DeleteProcess (1), 0);
    EXPECT_EQ (log, (std::vector<std::string> { "1 Teardown", "deleted 1" }));
    EXPECT_EQ (IDs(), std::vector<int16_t> { 2 });

    log.clear();
    EXPECT_EQ (type->DeleteProcess (2), 0);
    EXPECT_EQ (log, (std::vector<std::string> { "2 Teardown", "deleted 2" })) << "the second release deletes it";
    EXPECT_EQ (type->GetNumProcesses(), 0);
    EXPECT_EQ (type->DeleteProcess (2), -7126);
}

TEST_F (ProcessTypes, DeletingAllTearsDownEveryInstanceWhichTheTypesEndLeavesAlone)
{
    Create();
    Create();
    log.clear();
    type->DeleteAllProcesses();
    EXPECT_EQ (log, (std::vector<std::string> { "1 Teardown", "deleted 1", "2 Teardown", "deleted 2" }));
    EXPECT_EQ (type->GetNumProcesses(), 0);

    auto ending = std::make_unique<CTestType> (&log);
    int32_t id = 0;
    ending->CreateProcess (&id);
    const std::unique_ptr<CProcess> left (ending->FindProcess (id));
    log.clear();
    ending.reset();
    EXPECT_TRUE (log.empty()) << "a type's end frees its page tables only: the group deletes the instances first";
}

// A process whose teardown fails.
class CFailingTeardownProcess : public CTestProcess
{
public:
    explicit CFailingTeardownProcess (bool* deleted) : fDeleted (deleted) {}
    ~CFailingTeardownProcess() override { *fDeleted = true; }
    void Teardown() override { throw CDAEError (-7401); }

private:
    bool* fDeleted;
};

TEST_F (ProcessTypes, AFailedTeardownStillLetsTheInstanceGo)
{
    bool deleted = false;
    auto* process = new CFailingTeardownProcess (&deleted);
    process->SetInstanceID (1);
    type->AddProcess (process);
    EXPECT_EQ (ThrownCode ([&] { type->DeleteProcess (1); }), -7401);
    EXPECT_TRUE (deleted);
    EXPECT_EQ (type->GetNumProcesses(), 0);
    EXPECT_EQ (ThrownCode ([&] { type->AddProcess (nullptr); }), -7053);
}

TEST_F (ProcessTypes, BroadcastsReachEveryInstanceAndAnswerTheFirstFailure)
{
    EXPECT_EQ (type->SetSampleRate (96000), 0) << "no instances: stored, 0";
    EXPECT_EQ (type->GetSampleRate(), 96000);
    Create();
    Create();
    Create();
    type->Process (2).answer = -5;
    type->Process (3).answer = -6;
    log.clear();

    const SFicTimeCodeInfo pair { 9, 10 };
    EXPECT_EQ (type->SetSampleRate (48000), -5);
    EXPECT_EQ (type->SetTypeValue (7), -5);
    EXPECT_EQ (type->SetSettingPair (&pair), -5);
    EXPECT_EQ (type->SetProcessValue (1, 2), -5);
    EXPECT_EQ (type->BroadcastByteA (1), -5);
    EXPECT_EQ (type->BroadcastByteB (0), -5);
    type->SetTypeIndex (4);
    const std::vector<std::string> expected {
        "1 SetSampleRate 48000",
        "2 SetSampleRate 48000",
        "3 SetSampleRate 48000",
        "1 NotifyTypeValue 7",
        "2 NotifyTypeValue 7",
        "3 NotifyTypeValue 7",
        "1 SetSettingPair",
        "2 SetSettingPair",
        "3 SetSettingPair",
        "1 SetProcessValue 1 2",
        "2 SetProcessValue 1 2",
        "3 SetProcessValue 1 2",
        "1 ByteA 1",
        "2 ByteA 1",
        "3 ByteA 1",
        "1 ByteB 0",
        "2 ByteB 0",
        "3 ByteB 0",
    };
    EXPECT_EQ (log, expected);
    for (CProcess* process : type->Processes())
    {
        EXPECT_EQ (process->GetSampleRate(), 48000);
        EXPECT_EQ (process->GetSettingFirst(), 9);
        EXPECT_EQ (process->GetTypeIndex(), 4);
    }
    EXPECT_EQ (type->GetTypeValue(), 7);
    EXPECT_EQ (type->GetProcessValue(), 2);
    EXPECT_EQ (type->GetSettingPair().fSecond, 10);
    EXPECT_EQ (type->GetTypeIndex(), 4);
}

// A type that cannot answer its product identifier.
class CUnidentifiedType final : public CTestType
{
public:
    using CTestType::CTestType;
    int32_t GetProductID (uint32_t*) override { return -7125; }
};

TEST_F (ProcessTypes, ALongNameWithoutAProductIdentifierIsEmptyAndAnswersTheFailure)
{
    CUnidentifiedType unidentified (&log);
    uint8_t longName[8];
    std::memset (longName, 'x', sizeof longName);
    EXPECT_EQ (unidentified.GetLongName (longName), -7125);
    EXPECT_EQ (longName[0], 0);
    EXPECT_EQ (longName[1], 'x');
}

TEST_F (ProcessTypes, TheTypesOwnAnswers)
{
    uint32_t product = 0;
    EXPECT_EQ (type->GetProductID (&product), 0);
    EXPECT_EQ (product, FourCharCode ("swCl"));
    uint8_t longName[8] = {};
    EXPECT_EQ (type->GetLongName (longName), 0);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (longName), 5), std::string ("\x04swCl"));
    char name[16] = {};
    EXPECT_EQ (type->GetName (name), 0);
    EXPECT_EQ (std::string (name, 8), std::string ("\x07Unnamed"));

    SFicPlugInStemFormats ids;
    EXPECT_EQ (type->GetTypeIDs (1, &ids), 0);
    int32_t words[3];
    std::memcpy (words, &ids, sizeof words);
    EXPECT_EQ (words[0], -100);
    EXPECT_EQ (words[2], -100);
    type->cardInfo29 = 1;
    EXPECT_EQ (type->GetTypeIDs (1, &ids), -7110);

    char text[4] = { 'x' };
    int32_t value = 5;
    EXPECT_EQ (type->CheckPointers (1, text, nullptr), -9013);
    EXPECT_EQ (type->CheckPointers (1, nullptr, &value), -9013);
    EXPECT_EQ (type->CheckPointers (1, text, &value), 0);
    EXPECT_EQ (text[0], 0);
    EXPECT_EQ (value, 0);
    EXPECT_EQ (type->CheckPointer (1, nullptr), -9013);
    value = 3;
    EXPECT_EQ (type->AnswerOne (1, 2, 3, &value), 0);
    EXPECT_EQ (value, 1);
    EXPECT_EQ (type->GetZeroCountA (&value), 0);
    EXPECT_EQ (value, 0);
    int16_t shortValue = 3;
    EXPECT_EQ (type->GetZeroCountB (&shortValue), 0);
    EXPECT_EQ (shortValue, 0);
    EXPECT_EQ (type->GetTypeShort (&shortValue), 0);
    EXPECT_EQ (shortValue, 0);
    EXPECT_EQ (type->GetTypeKind (&value), 0);
    EXPECT_EQ (value, 0);
    uint32_t flags = 9;
    EXPECT_EQ (type->GetCardValue21 (1, &flags), 0);
    EXPECT_EQ (flags, 0u);
    EXPECT_EQ (type->ForwardToProcess (1, nullptr), 0);
    EXPECT_EQ (type->AnswerZeroA(), 0);
    EXPECT_EQ (type->AnswerZeroC (1, 2, 3, &shortValue), 0);
}

TEST_F (ProcessTypes, TheLeastRecentlyUsedOfTenTablesMakesRoomForAnEleventh)
{
    // Each lookup one tick later than the one before.
    const uint32_t extra = FourCharCode ("XtTL");
    for (const uint32_t code : kPageTableCodes)
    {
        toolbox.advanceClock (kTick);
        type->GetPageTable (code);
    }
    ASSERT_EQ (type->loads.size(), 10u);
    toolbox.advanceClock (kTick);
    const PageTable again = type->GetPageTable (kPageTableCodes[0]);
    EXPECT_EQ (type->loads.size(), 10u) << "a cached table is not loaded again";
    ASSERT_TRUE (again.Exists());
    EXPECT_EQ (again.bytes[0], 1) << "the first table loaded";

    toolbox.advanceClock (kTick);
    type->GetPageTable (extra);
    EXPECT_EQ (type->loads.back(), extra);
    toolbox.advanceClock (kTick);
    type->GetPageTable (kPageTableCodes[0]);
    EXPECT_EQ (type->loads.size(), 11u) << "the refreshed table stayed";
    type->GetPageTable (kPageTableCodes[1]);
    EXPECT_EQ (type->loads.size(), 12u) << "the oldest one made room";
    EXPECT_EQ (type->loads.back(), kPageTableCodes[1]);
}

TEST_F (ProcessTypes, NewProcessPreloadsEveryTableUnlessOpenedWithoutViews)
{
    // The clock stands still: the tables are loaded in the tick the type was made in.
    int32_t id = 0;
    EXPECT_EQ (type->NewProcess (&id), 0);
    EXPECT_EQ (id, 1);
    EXPECT_EQ (type->loads, std::vector<uint32_t> (kPageTableCodes.begin(), kPageTableCodes.end()));
    EXPECT_EQ (type->NewProcess (&id), 0);
    EXPECT_EQ (id, 2);
    EXPECT_EQ (type->loads.size(), 10u) << "all ten stayed cached";

    CTestType opened (&log);
    const InstancesDeletedFirst openedInstances (opened);
    SetOpenedByWinPlugInOpen (true);
    EXPECT_EQ (opened.NewProcess (&id), 0);
    SetOpenedByWinPlugInOpen (false);
    EXPECT_TRUE (opened.loads.empty());
    EXPECT_EQ (opened.GetNumProcesses(), 1);
}

// A process whose master bypass is control 1, on a type whose card reports bypass flags.
class CBypassProcess : public CTestProcess
{
public:
    int32_t GetMasterBypassControlIndex (int32_t* index) override
    {
        *index = 1;
        return 0;
    }
};

class CFlagType : public CTestType
{
public:
    using CTestType::CTestType;
    uint32_t flags = 0;
    int32_t GetCardInfo (int32_t key, int32_t* value) override
    {
        *value = key == kCardInfoBypassFlags ? int32_t (flags) : 0;
        return key == kCardInfoBypassFlags ? -3 : 0;
    }
};

TEST_F (ProcessTypes, TheBypassIndexIsAnsweredWhenTheCardFlagsShareABitWithTheMask)
{
    CFlagType flagged (&log);
    const InstancesDeletedFirst instances (flagged);
    auto* process = new CBypassProcess;
    process->SetType (&flagged);
    process->SetInstanceID (1);
    flagged.AddProcess (process);
    uint32_t index = 9;
    EXPECT_EQ (flagged.GetBypassIndexIfCardFlag (1, 0x4, &index), -3) << "the card query's result";
    EXPECT_EQ (index, 0u);
    flagged.flags = 0x6;
    EXPECT_EQ (flagged.GetBypassIndexIfCardFlag (1, 0x4, &index), -3);
    EXPECT_EQ (index, 1u);
    EXPECT_EQ (flagged.GetBypassIndexIfCardFlag (1, 0x1, &index), -3);
    EXPECT_EQ (index, 0u);
}

class CValuesGroup final : public CProcessGroupInterface
{
public:
    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
};

TEST_F (ProcessTypes, TypesAndProcessesStartFromTheGroupsValues)
{
    CValuesGroup group;
    group.SetSampleRate (88200);
    SFicTimeCodeInfo info { 24, 1 };
    group.SetTimeCodeInfo (&info);
    SetPlugInGroup (&group);
    CTestType fromGroup (&log);
    CTestProcess process;
    SetPlugInGroup (nullptr);
    EXPECT_EQ (fromGroup.GetSampleRate(), 88200);
    EXPECT_EQ (fromGroup.GetSettingPair().fFirst, 24);
    EXPECT_EQ (fromGroup.GetSettingPair().fSecond, 1);
    EXPECT_EQ (process.GetSampleRate(), 88200);
    EXPECT_EQ (process.GetSettingFirst(), 24);
    EXPECT_EQ (process.GetSettingSecond(), 1);
    EXPECT_EQ (type->GetSampleRate(), 44100) << "without a group";
}

class ProcessTypePageTables : public ProcessTypes
{
protected:
    void SetUp() override
    {
        ProcessTypes::SetUp();
        FSSpec spec {};
        std::string (KESTRUNE_PAGE_TABLES).copy (spec.path, sizeof spec.path - 1);
        SetPlugInFileSpec (spec);
        type->readResources = true;
    }
};

TEST_F (ProcessTypePageTables, AreReadFromThePlugInsResourceFileByTheirExactName)
{
    const PageTable table = type->GetPageTable (FourCharCode ("PcTL"));
    ASSERT_TRUE (table.Exists());
    EXPECT_EQ (table.size, 50u) << "the resource's 48 bytes and two zero bytes";
    EXPECT_EQ (table.bytes[0], 2) << "not the table whose name differs in letter case";
    EXPECT_EQ (table.bytes[48], 0);
    EXPECT_EQ (table.bytes[49], 0);
    EXPECT_FALSE (type->GetPageTable (FourCharCode ("PgTL")).Exists()) << "another name";
    EXPECT_FALSE (type->GetPageTable (FourCharCode ("BkSF")).Exists()) << "no such table";
    EXPECT_EQ (toolbox.openResourceFiles().size(), 0u) << "the file is closed again";
    EXPECT_EQ (toolbox.script().countOf ("UseResFile"), 6u);
    const std::vector<std::string> names = toolbox.script().callNames();
    ASSERT_GE (names.size(), 2u);
    EXPECT_EQ (std::vector<std::string> (names.end() - 2, names.end()), (std::vector<std::string> { "UseResFile", "CloseResFile" }))
        << "the saved file is current again before the file opened for the lookup is closed";

    Create();
    CProcess& process = type->Process (1);
    EXPECT_EQ (process.GetPageCount (FourCharCode ("PcTL"), 2), 9);
    EXPECT_EQ (process.GetPageControl (FourCharCode ("PcTL"), 2, 8, 1), 117);
    EXPECT_EQ (process.HasPageLayout (FourCharCode ("MkTL"), 1), 1);
    EXPECT_EQ (type->GetPageCount (1, FourCharCode ("BkSF"), 2), -1) << "no table";
}

TEST_F (ProcessTypePageTables, WithoutTheFileThereIsNoTable)
{
    FSSpec spec {};
    std::string ("/nonexistent/module").copy (spec.path, sizeof spec.path - 1);
    SetPlugInFileSpec (spec);
    EXPECT_FALSE (type->GetPageTable (FourCharCode ("PcTL")).Exists());
}

}
