#pragma once
// The process group of plug-ins whose types run on DSP cards. Besides the process group it starts
// the host's DSP driver, owns the lists it shares with its DSP process types (the DSPs and shells
// the host gave the plug-in, and the DSP objects made for them), makes and removes the DSP
// objects, answers DSP load figures, and registers with the host's DSP manager through its
// IProcessGroup part.
//
// The group is the one owner of the DSP objects: a process holds a use of its DSP object, and an
// object that no process uses is removed after the next successful DeleteProcess (or when a type
// releases it). Destruction deletes the types and their processes first, then the DSP objects,
// then the lists.
//
// [host thread] for every operation but QueryForDSP, which the DSP code also asks from the card
// driver's thread (through a PlugInGroupUse): its name answer reads what the group was made with,
// its load answer walks the type and process lists under their locks.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include <abi/DSI.h>

#include "process/base/DOAUnknown.h"
#include "process/dspprocess/DSPResourceLists.h"
#include "process/group/CProcessGroup.h"
#include "process/group/IProcessGroup.h"

class CDSPProcess;
class CDSPProcessType;
class CProcessDSP;

namespace GroupResult
{
inline constexpr int32_t kNegativeDSPUserCount = -7150;
inline constexpr int32_t kUnknownDSPQuery = -1;
}

// QueryForDSP's kinds: the group's alternative name (at most 16 characters) and the DSP's load.
inline constexpr int16_t kDSPQueryGroupName = 1;
inline constexpr int16_t kDSPQueryUsagePercent = 4;
inline constexpr int32_t kDSPQueryNameLength = 16;
// Where the DSP's information record holds its clock rate.
inline constexpr size_t kDSPInfoClockRateOffset = 32;

class CDSPProcessGroup : public CProcessGroup, public DOA::CDelegatingInterface<IProcessGroup, CDSPProcessGroup>, public DOA::CUnknown
{
public:
    CDSPProcessGroup();
    // Releases the lists; what fails there is not reported, the group goes either way.
    ~CDSPProcessGroup() noexcept override;

    // Answers IID_IProcessGroup with the group's interface part.
    int32_t NonDelegatingQueryInterface (const DOA::GUID& iid, void** out) override;

    // Makes the three lists, starts the host's DSP driver (its error is thrown), initialises the
    // process group and hands the lists and the group to every DSP process type. A failure frees
    // the lists and is thrown.
    int32_t Initialize() override;
    // The process group's DeleteProcess; after a success, the DSP objects no process uses any
    // more are removed (-7150 when one reports a negative user count).
    int32_t DeleteProcess (uint32_t typeID, int32_t process) override;
    // The defaults, any exception answered as -7401.
    int32_t GetInfo (int32_t* value, char** text) override;
    int32_t GetInfo2 (int16_t key, int32_t* known, int32_t index, uint32_t* value) override;
    // [host thread, driver thread] Kind 1: the alternative name; kind 4: the load of DSP `a` in
    // percent; both 0. Others: -1.
    int32_t QueryForDSP (int32_t a, int16_t kind, int16_t* out) override;
    // Deletes the types and their processes, then the DSP objects after their teardown, then the
    // lists.
    void ReleaseLists() override;

    // The DSP's clock rate / 2 / the sample rate, as 16 bits (0 without a sample rate; the
    // largest 16-bit value when it does not fit).
    virtual int16_t GetDSPCyclesPerSample (DSIDSPRecord* card);
    // The sums of what every DSP process type counts on the DSP; answers the second.
    virtual int32_t CountDSPResources (int16_t* count1, int16_t* count2, int32_t key);
    // The DSP code's resource ID for a card; 0 here.
    virtual int32_t GetDSPOption (int16_t value);
    virtual int32_t GetDSPOptionFor (int16_t value, int32_t second, DSIDSPRecord* card);
    // The DSP object for the card's type.
    virtual std::unique_ptr<CProcessDSP> NewProcessDSP (int32_t first, int32_t second, DSIDSPRecord* card);
    // Makes, lists and starts a DSP object for the card, tells the host (request 13 with a, b
    // and the object's DSP identifier) and loads the plug-in's DSP code into it; 0, or the
    // failure thrown after the object is gone again.
    virtual int32_t CreateProcessDSP (DSIDSPRecord* card, CProcessDSP** out, int32_t a, int32_t b);
    virtual int32_t HostRequest13 (int32_t a, int32_t b, int32_t c);
    // [host thread, driver thread] The summed load of the DSP processes on the DSP, in percent: 0
    // to 100, to the nearest integer (a load that is not a number counts as 0).
    virtual int32_t GetDSPUsagePercent (int32_t dspKey);
    // Registers the group's interface with the host's DSP manager; 0 and cookie 0 without one.
    virtual int32_t RegisterWithDSPManager (int32_t* cookie);
    virtual int32_t UnregisterFromDSPManager (int32_t cookie);
    // Whether a DSP process of the group runs on the DSP.
    virtual bool IsDSPAssigned (int32_t dspKey);
    // Called for every DSP object removed as idle; 0 here.
    virtual int32_t OnProcessDSPRemoved (CProcessDSP* dsp);
    virtual int32_t SupportsDSP();
    // Removes every DSP object that no process uses, each through RetireProcessDSP with the DSP
    // type that made it; OnProcessDSPRemoved's answer (the first nonzero one when several go),
    // -7150 (nothing removed) when one reports a negative user count.
    virtual int32_t RemoveIdleDSPObjects();
    // Removes one DSP object: out of the list, torn down, OnProcessDSPRemoved (its answer in
    // removedAnswer when asked for), its DSP given back to the host through the DSP type given
    // (none without one), destroyed. The first failure of these steps.
    virtual int32_t RetireProcessDSP (CProcessDSP* dsp, CDSPProcessType* releasing, int32_t* removedAnswer = nullptr);
    // [host thread] The DSP type that made a listed DSP object (AllocateDSP tells the group);
    // null for one that no type made.
    void NoteDSPObjectType (const CProcessDSP* dsp, CDSPProcessType* type);
    CDSPProcessType* DSPObjectType (const CProcessDSP* dsp) const;

    ProcessDSPList* GetDSPObjects() const { return mDSPObjects.get(); }
    DSPIdentifierList* GetCardKeys() const { return mCardKeys.get(); }
    ShellList* GetDSPRegistrations() const { return mDSPRegistrations.get(); }
    // [host thread] The DSP processes of every type, in type and list order.
    std::vector<CDSPProcess*> DSPProcesses() const;
    // The DSP process types, in list order.
    std::vector<CDSPProcessType*> DSPTypes() const;

private:
    void FreeLists();
    // Calls visit (CDSPProcess&) on every DSP process of every type, with both lists held still.
    template <typename Visit>
    void VisitDSPProcesses (Visit visit) const;

    std::unique_ptr<DSPIdentifierList> mCardKeys;
    std::unique_ptr<ProcessDSPList> mDSPObjects;
    std::unique_ptr<ShellList> mDSPRegistrations;
    std::map<const CProcessDSP*, CDSPProcessType*> mDSPObjectTypes;
};
