#pragma once
// What the DSP process, type and group tests share: a DSP process and a DSP type that log their
// life into one list and can be told to fail at a step, a DSP process group whose types and DSP
// objects a test supplies, DSP objects that record what reaches them instead of talking to a
// card, and a host callback that answers the group's requests as the host would.

#include "DSPCardFixture.h"
#include "GroupTestSupport.h"

#include "process/dspclasses/CProcessDSP.h"
#include "process/dspprocess/CDSPProcess.h"
#include "process/dspprocess/CDSPProcessType.h"
#include "process/group/CDSPProcessGroup.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/GlobalPlugInGroup.h"
#include "process/utilities/ViewlessMode.h"

#include <DaeControl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace dspgroup
{

inline constexpr uint32_t kDSPTypeID = FourCharCode ("DSPt");
inline constexpr uint32_t kManufacturerID = FourCharCode ("QORa");
inline constexpr uint32_t kProductID = FourCharCode ("KSTR");

using Log = std::vector<std::string>;

// A DSP process of two inputs and two outputs that logs its start-up and end, can fail at one
// step, and answers a load, connected inputs and a direct-MIDI release of its own.
class CTestDSPProcess : public CDSPProcess
{
public:
    explicit CTestDSPProcess (Log* log) : fLog (log) {}
    ~CTestDSPProcess() override { Note ("deleted"); }

    std::string failAt;
    double weight = 100.0;
    std::set<int32_t> unconnected;
    int16_t outputs = 2;

    int32_t GetNumInputs (int16_t* count) override
    {
        *count = 2;
        return 0;
    }
    int32_t GetNumOutputs (int16_t* count) override
    {
        *count = outputs;
        return 0;
    }
    double GetWeightFloat() override { return weight; }
    int32_t IsInputConnected (int32_t port, uint8_t* connected) override
    {
        *connected = unconnected.count (port) != 0 ? 0 : 1;
        return 0;
    }
    void SetType (CProcessType* type) override
    {
        Step ("SetType");
        CDSPProcess::SetType (type);
    }
    void SetDSPType (CDSPProcessType* type) override
    {
        Step ("SetDSPType");
        CDSPProcess::SetDSPType (type);
    }
    void SetTypeIndex (int16_t index) override
    {
        Step ("SetTypeIndex");
        CDSPProcess::SetTypeIndex (index);
    }
    void SetInstanceID (int16_t id) override
    {
        Step ("SetInstanceID " + std::to_string (id));
        CDSPProcess::SetInstanceID (id);
    }
    void Initialize() override
    {
        Step ("Initialize");
        CDSPProcess::Initialize();
    }
    int32_t SetSampleRate (int32_t rate) override
    {
        Step ("SetSampleRate");
        return CDSPProcess::SetSampleRate (rate);
    }
    int32_t NotifyTypeValue (int32_t value) override
    {
        Step ("NotifyTypeValue");
        return CDSPProcess::NotifyTypeValue (value);
    }
    int32_t ReleaseDirectMIDI() override
    {
        Note ("ReleaseDirectMIDI");
        return 0;
    }
    void Teardown() override
    {
        Note ("Teardown");
        CDSPProcess::Teardown();
    }

private:
    void Note (const std::string& what) { fLog->push_back (what); }
    void Step (const std::string& what)
    {
        Note (what);
        if (what.rfind (failAt, 0) == 0 && ! failAt.empty())
            throw CDAEError (-7321);
    }

    Log* fLog;
};

// A DSP type whose processes are CTestDSPProcess objects, with scripted card answers and DSP mode.
class CTestDSPType : public CIdentifiedType<CDSPProcessType>
{
public:
    explicit CTestDSPType (Log* log, uint32_t productID = kDSPTypeID) : CIdentifiedType (productID), fLog (log) {}

    std::string failAt; // given to every new process
    double weight = 100.0; // likewise
    bool makeNothing = false;
    std::map<int32_t, int32_t> cardInfo;
    int32_t mode = 0;

    int32_t GetCardInfo (int32_t key, int32_t* value) override
    {
        const auto found = cardInfo.find (key);
        *value = found != cardInfo.end() ? found->second : 0;
        return 0;
    }
    int32_t GetDSPMode() override { return mode; }
    CDSPProcess* NewProcessObject() override
    {
        if (makeNothing)
            return nullptr;
        auto* process = new CTestDSPProcess (fLog);
        process->failAt = failAt;
        process->weight = weight;
        process->outputs = outputs;
        return process;
    }

    CTestDSPProcess& Process (int32_t id) { return *dynamic_cast<CTestDSPProcess*> (FindProcess (id)); }

private:
    Log* fLog;
};

// A DSP object that records what reaches it; with `onCard` false it binds a DSP record without
// asking the card library and loads no code.
class CRecordingDSP : public CProcessDSP
{
public:
    explicit CRecordingDSP (Log* log) : fLog (log) {}
    ~CRecordingDSP() override { fLog->push_back ("DSP deleted"); }

    std::string failAt;

    void Attach (DSIDSPRecord* dsp) override
    {
        Step ("Attach");
        SetDSP (dsp);
    }
    void LoadDSPCode (HMODULE, int16_t resourceID) override { Step ("LoadDSPCode " + std::to_string (resourceID)); }
    void ReleaseShell() override { Step ("ReleaseShell"); }
    int32_t SendCommand1 (int32_t a, int32_t b, int32_t c, int32_t d) override { return Command ("1", { a, b, c, d }); }
    int32_t SendCommand2 (int32_t a, int32_t b, int32_t c, int32_t d) override { return Command ("2", { a, b, c, d }); }
    int32_t SendCommand3 (int32_t a, int32_t b, int32_t c) override { return Command ("3", { a, b, c }); }
    int32_t SendCommand4 (int32_t a, int32_t b, int32_t c) override { return Command ("4", { a, b, c }); }
    int32_t SetRange (int16_t x, int16_t y) override { return Command ("range", { x, y }); }
    int32_t SetOffsetValue (int16_t value) override { return Command ("offset", { value }); }

private:
    void Step (const std::string& what)
    {
        fLog->push_back (what);
        if (! failAt.empty() && what.rfind (failAt, 0) == 0)
            throw CDAEError (-7322);
    }
    int32_t Command (const std::string& what, std::vector<int32_t> words)
    {
        std::string line = "command " + what;
        for (const int32_t word : words)
            line += " " + std::to_string (word);
        fLog->push_back (line);
        return 0;
    }

    Log* fLog;
};

// A DSP process group whose types come from `addTypes`, and whose DSP objects come from `makeDSP`
// when it is set (the card library's factory otherwise).
class CTestDSPGroup final : public CDSPProcessGroup
{
public:
    std::function<void (CTestDSPGroup&)> addTypes;
    std::function<std::unique_ptr<CProcessDSP>()> makeDSP;
    std::string altName = "KESTrune";
    int32_t option = 0;
    int32_t removedAnswer = 0;
    std::vector<CProcessDSP*> removed;

    void CreateTypes() override
    {
        if (addTypes)
            addTypes (*this);
    }
    int32_t GetTypeIDsByIndex (int32_t, uint32_t* manufacturer, uint32_t* product, uint32_t* plugIn) override
    {
        *manufacturer = kManufacturerID;
        *product = kProductID;
        *plugIn = kDSPTypeID;
        return 0;
    }
    int32_t GetGroupAltName (char* name, int32_t maxLength) override
    {
        PutAltName (altName, name, maxLength);
        return 0;
    }
    int32_t GetDSPOption (int16_t) override { return option; }
    std::unique_ptr<CProcessDSP> NewProcessDSP (int32_t first, int32_t second, DSIDSPRecord* card) override
    {
        return makeDSP ? makeDSP() : CDSPProcessGroup::NewProcessDSP (first, second, card);
    }
    int32_t OnProcessDSPRemoved (CProcessDSP* dsp) override
    {
        removed.push_back (dsp);
        return removedAnswer;
    }
};

// One request the host callback saw: its code and the 32-bit words of its block.
struct HostRequestSeen
{
    int16_t code;
    std::vector<int32_t> words;
};

// The host's side of the group's requests. Request 17 (or 10) gives out the next DSP of `dsps`
// and its position as the index; 12 gives out `shell`; 15 answers `capacity`. `answers` holds a
// result for the next request of a code (0 otherwise).
struct FakeHost
{
    std::vector<HostRequestSeen> seen;
    std::vector<int32_t> dsps;
    size_t nextDSP = 0;
    int32_t shell = 0;
    int32_t capacity = 8;
    std::map<int16_t, int16_t> answers;

    std::vector<HostRequestSeen> Seen (int16_t code) const
    {
        std::vector<HostRequestSeen> matching;
        for (const HostRequestSeen& request : seen)
            if (request.code == code)
                matching.push_back (request);
        return matching;
    }
};

inline FakeHost& Host()
{
    static FakeHost host;
    return host;
}

inline int32_t* WordPointer (const std::vector<int32_t>& words, size_t at)
{
    return reinterpret_cast<int32_t*> (static_cast<uintptr_t> (static_cast<uint32_t> (words[at])));
}

inline int16_t __attribute__ ((stdcall)) HostCallback (int16_t code, ComponentRecord*, char** block)
{
    FakeHost& host = Host();
    std::vector<int32_t> words (static_cast<size_t> (HostToolbox().GetHandleSize (block)) / 4);
    std::memcpy (words.data(), *block, words.size() * 4);
    host.seen.push_back ({ code, words });
    const auto scripted = host.answers.find (code);
    if (scripted != host.answers.end() && scripted->second != 0)
    {
        const int16_t answer = scripted->second;
        host.answers.erase (scripted);
        return answer;
    }
    if ((code == 17 || code == 10) && host.nextDSP < host.dsps.size())
    {
        *WordPointer (words, 0) = host.dsps[host.nextDSP];
        *WordPointer (words, 1) = int32_t (host.nextDSP);
        ++host.nextDSP;
    }
    if (code == 12)
        *WordPointer (words, 3) = host.shell;
    if (code == 15)
        *WordPointer (words, 1) = host.capacity;
    return 0;
}

// Installs the fake host's callback, emptied, for the object's lifetime.
class InstalledHost
{
public:
    InstalledHost()
    {
        Host() = FakeHost();
        gHostCallback = &HostCallback;
    }
    ~InstalledHost() { gHostCallback = nullptr; }
    InstalledHost (const InstalledHost&) = delete;
    InstalledHost& operator= (const InstalledHost&) = delete;
};

inline int32_t Identifier (const void* record)
{
    return int32_t (reinterpret_cast<uintptr_t> (record));
}

// What the DSP group tests share: the stand-ins as new with the fake host's callback installed,
// a DSP group of one test DSP type (its DSP objects recording ones, which fail at `dspFailAt`)
// that Initialize makes the module's, and the steps a host takes with it.
class DSPGroupFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dsptest::PrepareHost();
        host.emplace();
        engine.reset();
        SetOpenedByWinPlugInOpen (false);
        group->makeDSP = [this] {
            auto dsp = std::make_unique<CRecordingDSP> (&log);
            dsp->failAt = dspFailAt;
            return dsp;
        };
        group->addTypes = [this] (CTestDSPGroup& g) { g.AddProcessType (type = new CTestDSPType (&log)); };
    }
    void TearDown() override
    {
        group.reset();
        SetPlugInGroup (nullptr);
        SetOpenedByWinPlugInOpen (false);
        ReleaseHostToolbox();
    }

    void Initialize()
    {
        ASSERT_EQ (group->Initialize(), 0);
        SetPlugInGroup (group.get());
        log.clear();
    }

    CTestDSPProcess& Create()
    {
        int32_t id = 0;
        EXPECT_EQ (group->CreateProcess (kDSPTypeID, &id), 0);
        return type->Process (id);
    }

    // What the manager asks the type for a new process: a DSP object, found or allocated.
    CProcessDSP* Allocate()
    {
        CProcessDSP* dsp = nullptr;
        EXPECT_EQ (type->FindOrAllocateDSPGuarded (&dsp, 0), 0);
        return dsp;
    }

    kestrune::host::rtas::DaeControl& engine = *KestruneDaeStandIn();
    kestrune::host::rtas::DsiControl& dsi = *KestruneDsiStandIn();
    kestrune::host::rtas::DSPManagerControl& manager = *KestruneDSPManagerStandIn();
    kestrune::host::rtas::HostExtControl& hostext = *KestruneHostExtStandIn();
    ScopedViewless viewless;
    std::optional<InstalledHost> host;
    Log log;
    std::string dspFailAt;
    // Held on the heap: a group's destructor may throw, which a fixture's may not.
    std::unique_ptr<CTestDSPGroup> group = std::make_unique<CTestDSPGroup>();
    CTestDSPType* type = nullptr;
};

} // namespace dspgroup
