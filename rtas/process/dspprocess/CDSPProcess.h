#pragma once
// A process that can run on a DSP of a host card. It has a COM identity, so that the host's DSP
// manager can hold it, is bound to a DSP object and to its DSP process type, and switches its
// engine connections (talkers and listeners) off and on around a change of DSP.
//
// The process holds one use of its DSP object while bound to it; the DSP process group owns the
// DSP objects and removes one once no process uses it. The type releases the process through its
// COM identity: the last release deletes it.
//
// [host thread] for every operation; GetDSPIdentifier and GetWeightFloat also on the card
// driver's thread, which asks for the DSP's load.

#include <atomic>
#include <cstdint>

#include "process/base/DOAUnknown.h"
#include "process/dspprocess/IProcess.h"
#include "process/process/CProcess.h"

class CDSPProcessType;
class CProcessDSP;

inline constexpr int16_t kDSPProcessWeight = 100;
inline constexpr int16_t kNotOnADSP = -1;
inline constexpr uint32_t kHostPrecHookGestalt = 0x70726563; // 'prec'

class CDSPProcess : public DOA::CUnknown, public DOA::CDelegatingInterface<IProcess2, CDSPProcess>, public virtual CProcess
{
public:
    CDSPProcess();
    // Gives back the use of a DSP object still held.
    ~CDSPProcess() override;

    // Answers both process interface identifiers with the process interface.
    int32_t NonDelegatingQueryInterface (const DOA::GUID& iid, void** out) override;

    virtual int16_t GetWeight();
    virtual double GetWeightFloat();
    virtual CProcessDSP* GetDSP();
    // Binds the process to the DSP object and, when the host manages connections, switches its
    // listeners and talkers on; a failure leaves no binding. 0, the failure's code, or -7401.
    virtual int32_t AttachToDSP (CProcessDSP* dsp);
    virtual void SetIndexOnDSP (int16_t index);
    virtual int16_t GetIndexOnDSP();
    // Takes one use of the new DSP object and gives back the one of the object it replaces.
    virtual void SetDSP (int32_t identifier, CProcessDSP* dsp);
    // The engine's talkers (outputs) and listeners (connected inputs) of this process, switched
    // off or on; the first failure's code (-7103 counts as done).
    virtual int32_t DeactivateTalkers();
    virtual int32_t DeactivateListeners();
    virtual int32_t ReactivateTalkers();
    virtual int32_t ReactivateListeners();
    virtual int32_t AnswerTrueA();
    virtual int32_t AnswerTrueB();
    // The engine ports of the first input and the first output (ports are numbered from 1).
    virtual int32_t GetFirstInputIndex();
    virtual int32_t GetFirstOutputIndex();

    // IProcess.
    CDSPProcessType* GetDSPType() override;
    CProcessDSP* GetDSPViaInterface() override;
    int32_t DetachFromDSP() override;
    int32_t AttachToDSPGuarded (CProcessDSP* dsp) override;
    uint8_t AreConnectionsReady() override;
    int32_t AnswerZeroF() override;
    int32_t TypeQuery (int32_t a) override;
    int32_t CardCapability() override;
    void ClearConnectionValue() override;
    void SetConnectionValue (int32_t value) override;
    int32_t GetConnectionValue() override;
    int32_t GetDSPIdentifier() override;
    int16_t RunHostPrecHook() override;

    // Gives back the DSP object's use, then the process's own teardown.
    void Teardown() override;
    // With a DSP object: the connection change goes to the process's code on the DSP (commands 1
    // to 4 with the type index, the index on the DSP and the 16-bit port arguments); always 0.
    int32_t NotifyDSPConnect (int32_t port, int32_t value) override;
    int32_t NotifyDSPConnectOutput (int32_t port, int32_t value) override;
    int32_t NotifyDSPDisconnectInput (int32_t port) override;
    int32_t NotifyDSPDisconnectOutput (int32_t port) override;
    // The process's COM identity, with a reference for the caller.
    int32_t GetUnknown (IACFUnknown** unknown) override;

    // The DSP type that made the process.
    virtual void SetDSPType (CDSPProcessType* type);

private:
    // What AttachToDSP binds, undone again.
    void Unbind();
    void Renumber();

    CProcessDSP* fDSP = nullptr;
    CDSPProcessType* fDSPType = nullptr;
    std::atomic<int32_t> fDSPIdentifier { 0 };
    int32_t fConnectionValue = 0;
    int16_t fIndexOnDSP = kNotOnADSP;
};

// The identifier under which a DSP object's DSP is known: the address of the card library's DSP
// record, as the 32-bit word the host passes around; 0 for none.
int32_t DSPIdentifierOf (CProcessDSP* dsp);
