#pragma once
// The process type whose instances run on DSPs: it creates every instance (lowest free instance
// ID, a fixed start-up order), registers each with the host's DSP manager, and finds or allocates
// the DSPs and shells its instances run on through the DSP process group, which asks the host
// for them and owns the DSP objects.
//
// How the group reaches the host for this type (requests of the group's host callback):
//   17 (10 on slow hardware)  allocate a DSP for the four needs: identifier and index out
//   11                        free the DSP (identifier, index)
//   12                        allocate a shell (product, outputs, 0, where the shell goes)
//   14                        free the shell (shell, 0)
//   19                        the DSP's two masks (identifier, mask, mask); (identifier, 0, 0) releases them
//   20                        the DSP's single mask (identifier, mask); (identifier, 0) releases it
//   15                        what a DSP (or the shell on it) can carry, by its driver type
// A shell is known by the identifier of the DSP it runs on.
//
// [host thread] for every operation.

#include <cstdint>

#include "process/base/DOAUnknown.h"
#include "process/dspprocess/IProcessType.h"
#include "process/type/CProcessType.h"

class CDSPProcessGroup;

inline constexpr uint32_t kDSPProcessTypeProductID = 0x73774453; // 'swDS'

namespace DSPTypeResult
{
inline constexpr int32_t kNoDSPGroup = -7027;
inline constexpr int32_t kNothingAllocated = -7077;
inline constexpr int32_t kNoDSPManagerClient = -7080;
}

// Card questions and answers of the type's DSPs.
inline constexpr int32_t kCardInfoSingleMask = 35;
inline constexpr int32_t kCardCapabilityKeyDSP321 = 29;
inline constexpr int32_t kCardCapabilityKey = 21;
inline constexpr int32_t kCardCapabilityIndex = 10;
inline constexpr int32_t kMaskedDSPMode = 2;
inline constexpr int32_t kMaskModeMask = 0xfc00;
inline constexpr int32_t kMaskOtherModes = 0xffff;

class CDSPProcessType : public DOA::CDelegatingInterface<IProcessType2, CDSPProcessType>,
                        public DOA::CUnknown,
                        public virtual CProcessType
{
public:
    CDSPProcessType();
    ~CDSPProcessType() override;

    // Answers both type interface identifiers with the type interface.
    int32_t NonDelegatingQueryInterface (const DOA::GUID& iid, void** out) override;

    // The type interface.
    int32_t ReleaseDSPGuarded (CProcessDSP* dsp) override;
    int32_t FindOrAllocateDSPGuarded (CProcessDSP** dsp, int32_t argument) override;
    // The type's name, cut to at most maxLength characters (a buffer of maxLength + 1 bytes).
    int32_t GetNameGuarded (char* name, int32_t maxLength) override;
    int32_t ReleaseShellGuarded (int32_t shell) override;
    int32_t FindOrAllocateShellGuarded (int32_t* shell) override;
    IProcessGroup* GetGroupInterface() override;
    // 'swDS'.
    int32_t GetProductID (uint32_t* productID) override;
    int32_t GroupQuery (int32_t* value, char** text) override;
    int32_t GroupQuery2 (int16_t key, int32_t* known, int32_t index, uint32_t* value) override;
    // Whether a DSP object that the group still holds has no user; false for one it no longer
    // holds (the object is not touched then: it may be gone).
    bool IsDSPIdle (CProcessDSP* dsp) override;
    // A DSP object that the group holds and no process uses any more goes: the group disposes of
    // it and its DSP goes back to the host; one still in use, or no longer held, stays (0).
    int32_t ReleaseDSP (CProcessDSP* dsp) override;
    // The first listed DSP object that CanUseDSP and that has room, else a newly allocated one.
    int32_t FindOrAllocateDSP (CProcessDSP** dsp) override;
    void SetDSPGroup (CDSPProcessGroup* group) override;
    void SetAllocatedList (DSPIdentifierList* list) override;
    void SetShellList (ShellList* list) override;
    void SetDSPList (ProcessDSPList* list) override;
    int32_t GetDSPOffsets (int16_t* first, int16_t* second) override;
    // 1, 1, 0, 0.
    int32_t GetDSPNeeds (int16_t* a, int16_t* b, int16_t* c, int16_t* d) override;
    // Gives every DSP process its number among the type's processes on the same DSP, from 1 in
    // list order.
    void NumberProcessesPerDSP() override;
    int32_t AnswerZeroD() override;
    // The group's answer to card question 29 when a DSP 321 chip is present, else 21.
    int32_t QueryCardCapability() override;
    // A DSP from the host for the type's needs, and its DSP object (an object already made for
    // that DSP is reused); a failure gives back everything and is thrown.
    int32_t AllocateDSP (int32_t* identifier, CProcessDSP** dsp, int32_t* index) override;
    // A shell from the host (-7027 without a DSP group, -7077 when the host gives none).
    int32_t AllocateShell (int32_t* shell) override;
    bool CanUseDSP (CProcessDSP* dsp) override;
    // Room for this type's outputs beside the outputs of the group's processes on the shell.
    bool ShellHasRoom (int32_t shell) override;
    // Room when the group's use of the DSP and the type's extra needs stay below what it carries.
    bool DSPHasRoom (int32_t identifier) override;
    bool DSPHasRoomOut (int32_t identifier) override;
    int32_t GetExtraNeeds (int16_t* first, int16_t* second) override;
    // None here: the effect type makes its processes.
    CDSPProcess* NewProcessObject() override;
    int32_t GetDSPMode() override;
    // Gives the DSP back to the host (its masks first), clears its client value and drops it
    // from the allocated list; the first failure of a mask release, else the freeing's result.
    int32_t ReleaseDSPResources (int32_t identifier, int32_t index, int32_t dsp) override;
    int32_t ReleaseShell (int32_t shell) override;
    DSPIdentifierList* GetAllocatedList() override;
    ShellList* GetShellList() override;
    ProcessDSPList* GetDSPList() override;
    int32_t AnswerZeroE() override;

    // The first listed shell with room; false when none has.
    virtual bool FindShellWithRoom (int32_t* shell);
    // The type's processes on the DSP and their outputs.
    virtual void CountDSPResources (int32_t identifier, int16_t* processes, int16_t* outputs);

    // Makes an instance: lowest free ID from 1, appended to the list, then SetType, the DSP-type
    // link, SetTypeIndex, SetInstanceID, Initialize, SetSampleRate, NotifyTypeValue. A failing
    // step deletes it through teardown and release and is thrown. -7053 when no object is made.
    int32_t CreateProcess (int32_t* id) override;
    // The base NewProcess, then (unless opened through WinPlugInOpen) registration with the
    // host's DSP manager and its acceptance; an instance that fails any of it is deleted.
    int32_t NewProcess (int32_t* id) override;
    // Unregisters the instance from the DSP manager, takes its DSP object from it and lets that
    // go when no process uses it any more, then deletes it.
    int32_t DeleteProcess (int32_t id) override;
    // Every instance through DeleteProcess (the first failure is thrown after all are gone).
    void DeleteAllProcesses() override;

    CDSPProcessGroup* GetDSPGroup() const { return fDSPGroup; }

protected:
    // Deletes an instance that failed its creation: DirectMIDI released, removed, torn down,
    // released. What that throws is not reported.
    void DiscardProcess (CProcess* process);

private:
    CDSPProcessGroup& RequireGroup() const;
    // Whether the DSP objects' list holds the object; looked at without touching the object.
    bool HoldsDSPObject (const CProcessDSP* dsp) const;
    // The outputs of every DSP process of the group on the DSP.
    int32_t OutputsOnDSP (int32_t identifier) const;
    int16_t OwnOutputs();

    DSPIdentifierList* fAllocated = nullptr;
    ShellList* fShells = nullptr;
    ProcessDSPList* fDSPs = nullptr;
    CDSPProcessGroup* fDSPGroup = nullptr;
};
