#include "process/dspprocess/CDSPProcess.h"

#include "process/base/CDAEError.h"
#include "process/base/PointerWords.h"
#include "process/dspclasses/CProcessDSP.h"
#include "process/dspprocess/CDSPProcessType.h"
#include "process/dspprocess/ProcessConversant.h"

namespace
{
// Whether the host manages the engine's connections, so that a change of DSP switches them.
bool HostManagesConnections()
{
    int32_t answer = 0;
    return FicGestalt (kFicGestaltConnectionManager, &answer) == 0 && answer != 0;
}

bool ConnectionPreparationOpen()
{
    return static_cast<uint8_t> (FicPrepareForConnectionsStatus (0)) != 0;
}

// The engine's connection preparation, opened only when it was closed and closed only by the
// bracket that opened it.
class PreparationBracket
{
public:
    // Opens the preparation when it is closed; the opening's result.
    int16_t Open()
    {
        if (ConnectionPreparationOpen())
            return 0;
        const int16_t result = FicPrepareForConnections (0, 1);
        fOpened = result == 0;
        return result;
    }
    // Closes what Open opened; a failure is thrown.
    void Close()
    {
        if (! fOpened)
            return;
        fOpened = false;
        ThrowIfError (FicPrepareForConnections (0, 0));
    }
    // Closes what Open opened, after a failure: the close's own failure is not reported.
    void CloseAfterFailure() noexcept
    {
        if (fOpened)
            FicPrepareForConnections (0, 0);
        fOpened = false;
    }

private:
    bool fOpened = false;
};

// Undoes a step after a failure: what the undoing itself fails is not reported.
template <typename Step>
void Quietly (Step step) noexcept
{
    try
    {
        step();
    }
    catch (...)
    {
    }
}

int32_t CodeOfCurrentException()
{
    try
    {
        throw;
    }
    catch (const CDAEError& error)
    {
        return error.Code();
    }
    catch (...)
    {
        return RTASError::kUnexpected;
    }
}
}

int32_t DSPIdentifierOf (CProcessDSP* dsp)
{
    return dsp != nullptr ? WordOfPointer (dsp->GetDSP()) : 0;
}

CDSPProcess::CDSPProcess() = default;

CDSPProcess::~CDSPProcess()
{
    if (fDSP != nullptr)
        fDSP->DecrementUserCount();
}

// ---- COM identity ----

int32_t CDSPProcess::NonDelegatingQueryInterface (const DOA::GUID& iid, void** out)
{
    if (DOA::IsEqualID (iid, IID_IProcess) || DOA::IsEqualID (iid, IID_IProcess2))
        return GetInterface (static_cast<IProcess2*> (this), out);
    return DOA::CUnknown::NonDelegatingQueryInterface (iid, out);
}

int32_t CDSPProcess::GetUnknown (IACFUnknown** unknown)
{
    if (unknown == nullptr)
        return 0;
    IProcess2* identity = this;
    identity->AddRef();
    *unknown = identity;
    return 0;
}

// ---- The DSP binding ----

int16_t CDSPProcess::GetWeight()
{
    return kDSPProcessWeight;
}

double CDSPProcess::GetWeightFloat()
{
    return GetWeight();
}

CProcessDSP* CDSPProcess::GetDSP()
{
    return fDSP;
}

void CDSPProcess::SetIndexOnDSP (int16_t index)
{
    fIndexOnDSP = index;
}

int16_t CDSPProcess::GetIndexOnDSP()
{
    return fIndexOnDSP;
}

void CDSPProcess::SetDSP (int32_t identifier, CProcessDSP* dsp)
{
    if (dsp != nullptr)
        dsp->IncrementUserCount();
    if (fDSP != nullptr)
        fDSP->DecrementUserCount();
    fDSP = dsp;
    fDSPIdentifier = identifier;
}

void CDSPProcess::Renumber()
{
    if (fDSPType != nullptr)
        fDSPType->NumberProcessesPerDSP();
}

void CDSPProcess::Unbind()
{
    SetUserValueA (0);
    SetUserValueB (0);
    Renumber();
    SetDSP (0, nullptr);
}

int32_t CDSPProcess::AttachToDSP (CProcessDSP* dsp)
{
    PreparationBracket preparation;
    bool bound = false;
    bool listenersOn = false;
    bool talkersOn = false;
    try
    {
        const int32_t identifier = DSPIdentifierOf (dsp);
        SetUserValueA (dsp != nullptr ? dsp->GetUserWord() : 0);
        SetUserValueB (identifier);
        Renumber();
        SetDSP (identifier, dsp);
        bound = true;
        if (HostManagesConnections())
        {
            ThrowIfError (preparation.Open());
            ThrowIfError (static_cast<int16_t> (ReactivateListeners()));
            listenersOn = true;
            ThrowIfError (static_cast<int16_t> (ReactivateTalkers()));
            talkersOn = true;
            preparation.Close();
        }
        SetConnectionsReady (1);
        return 0;
    }
    catch (...)
    {
        const int32_t code = CodeOfCurrentException();
        if (talkersOn)
            Quietly ([this] { return DeactivateTalkers(); });
        if (listenersOn)
            Quietly ([this] { return DeactivateListeners(); });
        preparation.CloseAfterFailure();
        if (bound)
            Unbind();
        return code;
    }
}

int32_t CDSPProcess::AttachToDSPGuarded (CProcessDSP* dsp)
{
    try
    {
        return AttachToDSP (dsp);
    }
    catch (...)
    {
        return RTASError::kUnexpected;
    }
}

int32_t CDSPProcess::DetachFromDSP()
{
    PreparationBracket preparation;
    int16_t opening = 0;
    bool talkersOff = false;
    try
    {
        if (HostManagesConnections())
        {
            opening = preparation.Open();
            ThrowIfError (static_cast<int16_t> (DeactivateTalkers()));
            talkersOff = true;
            ThrowIfError (static_cast<int16_t> (DeactivateListeners()));
        }
        SetConnectionsReady (0);
        preparation.Close();
        SetDSP (0, nullptr);
        SetUserValueA (0);
        SetUserValueB (0);
        Renumber();
        return opening;
    }
    catch (...)
    {
        const int32_t code = CodeOfCurrentException();
        if (talkersOff)
            Quietly ([this] { return ReactivateTalkers(); });
        preparation.CloseAfterFailure();
        return code;
    }
}

// ---- Talkers and listeners ----

int32_t CDSPProcess::DeactivateTalkers()
{
    SProcessConversant conversant (*this);
    return ::DeactivateTalkers (conversant);
}

int32_t CDSPProcess::DeactivateListeners()
{
    SProcessConversant conversant (*this);
    return ::DeactivateListeners (conversant);
}

int32_t CDSPProcess::ReactivateTalkers()
{
    SProcessConversant conversant (*this);
    return ::ReactivateTalkers (conversant);
}

int32_t CDSPProcess::ReactivateListeners()
{
    SProcessConversant conversant (*this);
    return ::ReactivateListeners (conversant);
}

int32_t CDSPProcess::GetFirstInputIndex()
{
    return 1;
}

int32_t CDSPProcess::GetFirstOutputIndex()
{
    return 1;
}

int32_t CDSPProcess::AnswerTrueA()
{
    return 1;
}

int32_t CDSPProcess::AnswerTrueB()
{
    return 1;
}

// ---- The process interface ----

void CDSPProcess::SetDSPType (CDSPProcessType* type)
{
    fDSPType = type;
}

CDSPProcessType* CDSPProcess::GetDSPType()
{
    return fDSPType;
}

CProcessDSP* CDSPProcess::GetDSPViaInterface()
{
    return GetDSP();
}

uint8_t CDSPProcess::AreConnectionsReady()
{
    return GetConnectionsReady();
}

int32_t CDSPProcess::AnswerZeroF()
{
    return 0;
}

int32_t CDSPProcess::TypeQuery (int32_t)
{
    try
    {
        return fDSPType != nullptr ? fDSPType->AnswerZeroD() : 0;
    }
    catch (...)
    {
        return 0;
    }
}

int32_t CDSPProcess::CardCapability()
{
    try
    {
        return fDSPType != nullptr ? fDSPType->QueryCardCapability() : 0;
    }
    catch (...)
    {
        return 0;
    }
}

void CDSPProcess::ClearConnectionValue()
{
    fConnectionValue = 0;
}

void CDSPProcess::SetConnectionValue (int32_t value)
{
    fConnectionValue = value;
}

int32_t CDSPProcess::GetConnectionValue()
{
    return fConnectionValue;
}

int32_t CDSPProcess::GetDSPIdentifier()
{
    return fDSPIdentifier;
}

int16_t CDSPProcess::RunHostPrecHook()
{
    int32_t answer = 0;
    if (FicGestalt (kHostPrecHookGestalt, &answer) != 0 || answer == 0)
        return 0;
    const auto hook = PointerOfWord<int16_t()> (answer);
    return hook();
}

// ---- Process operations ----

void CDSPProcess::Teardown()
{
    SetDSP (0, nullptr);
    CProcess::Teardown();
}

int32_t CDSPProcess::NotifyDSPConnect (int32_t port, int32_t value)
{
    if (fDSP != nullptr)
        fDSP->SendCommand1 (GetTypeIndex(), fIndexOnDSP, static_cast<int16_t> (port), static_cast<int16_t> (value));
    return 0;
}

int32_t CDSPProcess::NotifyDSPConnectOutput (int32_t port, int32_t value)
{
    if (fDSP != nullptr)
        fDSP->SendCommand2 (GetTypeIndex(), fIndexOnDSP, static_cast<int16_t> (port), static_cast<int16_t> (value));
    return 0;
}

int32_t CDSPProcess::NotifyDSPDisconnectInput (int32_t port)
{
    if (fDSP != nullptr)
        fDSP->SendCommand3 (GetTypeIndex(), fIndexOnDSP, static_cast<int16_t> (port));
    return 0;
}

int32_t CDSPProcess::NotifyDSPDisconnectOutput (int32_t port)
{
    if (fDSP != nullptr)
        fDSP->SendCommand4 (GetTypeIndex(), fIndexOnDSP, static_cast<int16_t> (port));
    return 0;
}
