#include "process/dspprocess/CDSPProcessType.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>

#include "process/base/CDAEError.h"
#include "process/base/OutParameter.h"
#include "process/base/PointerWords.h"
#include "process/dsp/DsiCompat.h"
#include "process/dsp/DSPGroupRequests.h"
#include "process/dspclasses/CProcessDSP.h"
#include "process/dspclasses/DSPManagerAccess.h"
#include "process/dspprocess/CDSPProcess.h"
#include "process/group/CDSPProcessGroup.h"
#include "process/utilities/PStrings.h"
#include "process/utilities/ViewlessMode.h"

namespace
{
inline constexpr size_t kSpecIDsOffset = 32;
inline constexpr size_t kSpecIDsLength = 20;

// Runs a guarded operation: any exception answers -7401.
template <typename Operation>
int32_t Guarded (Operation operation)
{
    try
    {
        return operation();
    }
    catch (...)
    {
        return RTASError::kUnexpected;
    }
}

// Runs a guarded operation: a CDAEError answers its code, anything else -7401.
template <typename Operation>
int32_t GuardedWithCode (Operation operation)
{
    try
    {
        return operation();
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

DSIDSPRecord* DSPRecordOf (int32_t identifier)
{
    return PointerOfWord<DSIDSPRecord> (identifier);
}

void Forget (std::vector<int32_t>* list, int32_t value)
{
    if (list == nullptr)
        return;
    const auto found = std::find (list->begin(), list->end(), value);
    if (found != list->end())
        list->erase (found);
}

IProcess2* InterfaceOf (CDSPProcess& process)
{
    return &process;
}
}

CDSPProcessType::CDSPProcessType() = default;

CDSPProcessType::~CDSPProcessType() = default;

// ---- COM identity ----

int32_t CDSPProcessType::NonDelegatingQueryInterface (const DOA::GUID& iid, void** out)
{
    if (DOA::IsEqualID (iid, IID_IProcessType) || DOA::IsEqualID (iid, IID_IProcessType2))
        return GetInterface (static_cast<IProcessType2*> (this), out);
    return DOA::CUnknown::NonDelegatingQueryInterface (iid, out);
}

// ---- Instances ----

int32_t CDSPProcessType::CreateProcess (int32_t* id)
{
    CDSPProcess* process = NewProcessObject();
    if (process == nullptr)
        return RTASError::kNullPointer;
    int32_t next = 1;
    while (FindProcess (next) != nullptr)
        ++next;
    try
    {
        AddProcess (process);
    }
    catch (...)
    {
        process->Release();
        throw;
    }
    PutOut (id, next);
    try
    {
        process->SetType (this);
        process->SetDSPType (this);
        process->SetTypeIndex (GetTypeIndex());
        process->SetInstanceID (static_cast<int16_t> (next));
        process->Initialize();
        process->SetSampleRate (GetSampleRate());
        process->NotifyTypeValue (GetTypeValue());
    }
    catch (...)
    {
        DiscardProcess (process);
        throw;
    }
    return 0;
}

void CDSPProcessType::DiscardProcess (CProcess* process)
{
    try
    {
        process->ReleaseDirectMIDI();
    }
    catch (...)
    {
    }
    try
    {
        DeleteOneProcess (process);
    }
    catch (...)
    {
    }
}

int32_t CDSPProcessType::NewProcess (int32_t* id)
{
    int32_t made = 0;
    if (const int32_t result = CProcessType::NewProcess (&made))
        return result;
    PutOut (id, made);
    CProcess* instance = FindProcess (made);
    auto* process = dynamic_cast<CDSPProcess*> (instance);
    if (process == nullptr)
    {
        if (instance != nullptr)
            DiscardProcess (instance);
        return RTASError::kNotAnEffectType;
    }
    if (OpenedByWinPlugInOpen())
        return 0;
    IDSPManagerClient* client = DSPManagerClient();
    if (client == nullptr)
    {
        DiscardProcess (process);
        return DSPTypeResult::kNoDSPManagerClient;
    }
    if (const int32_t refused = client->RegisterProcess (InterfaceOf (*process)))
    {
        DiscardProcess (process);
        return refused;
    }
    if (const int32_t refused = client->AcceptProcess (InterfaceOf (*process)))
    {
        client->UnregisterProcess (InterfaceOf (*process));
        DiscardProcess (process);
        return refused;
    }
    return 0;
}

int32_t CDSPProcessType::DeleteProcess (int32_t id)
{
    if (auto* process = dynamic_cast<CDSPProcess*> (FindProcess (id)))
    {
        SFicPlugInSpec spec {};
        process->GetPlugInSpec (&spec);
        std::memset (reinterpret_cast<uint8_t*> (&spec) + kSpecIDsOffset, 0, kSpecIDsLength);
        process->SetPlugInSpec (&spec);
        CProcessDSP* dsp = process->GetDSP();
        process->SetDSP (0, nullptr);
        if (IDSPManagerClient* client = DSPManagerClient())
            client->UnregisterProcess (InterfaceOf (*process));
        if (dsp != nullptr)
            ReleaseDSP (dsp);
    }
    return CProcessType::DeleteProcess (id);
}

void CDSPProcessType::DeleteAllProcesses()
{
    std::exception_ptr firstFailure;
    std::vector<int32_t> ids;
    for (CProcess* process : Processes())
        ids.push_back (process->GetInstanceID());
    for (const int32_t id : ids)
    {
        try
        {
            DeleteProcess (id);
        }
        catch (...)
        {
            if (! firstFailure)
                firstFailure = std::current_exception();
        }
    }
    try
    {
        CProcessType::DeleteAllProcesses();
    }
    catch (...)
    {
        if (! firstFailure)
            firstFailure = std::current_exception();
    }
    if (firstFailure)
        std::rethrow_exception (firstFailure);
}

void CDSPProcessType::NumberProcessesPerDSP()
{
    std::map<int32_t, int16_t> next;
    for (CProcess* process : Processes())
    {
        auto* dspProcess = dynamic_cast<CDSPProcess*> (process);
        if (dspProcess == nullptr)
            continue;
        int16_t& number = next.try_emplace (dspProcess->GetUserValueB(), int16_t (1)).first->second;
        dspProcess->SetIndexOnDSP (number++);
    }
}

// ---- DSPs ----

CDSPProcessGroup& CDSPProcessType::RequireGroup() const
{
    if (fDSPGroup == nullptr)
        throw CDAEError (DSPTypeResult::kNoDSPGroup);
    return *fDSPGroup;
}

bool CDSPProcessType::HoldsDSPObject (const CProcessDSP* dsp) const
{
    return dsp != nullptr && fDSPs != nullptr
           && std::any_of (fDSPs->begin(), fDSPs->end(), [dsp] (const auto& held) { return held.get() == dsp; });
}

bool CDSPProcessType::IsDSPIdle (CProcessDSP* dsp)
{
    return HoldsDSPObject (dsp) && dsp->GetUserCount() == 0;
}

int32_t CDSPProcessType::ReleaseDSP (CProcessDSP* dsp)
{
    if (! IsDSPIdle (dsp))
        return 0;
    return RequireGroup().RetireProcessDSP (dsp, this);
}

int32_t CDSPProcessType::ReleaseDSPGuarded (CProcessDSP* dsp)
{
    return Guarded ([&] { return ReleaseDSP (dsp); });
}

int32_t CDSPProcessType::FindOrAllocateDSP (CProcessDSP** dsp)
{
    if (fDSPs != nullptr)
    {
        for (const auto& held : *fDSPs)
        {
            if (CanUseDSP (held.get()) && DSPHasRoomOut (DSPIdentifierOf (held.get())))
            {
                PutOut (dsp, held.get());
                return 0;
            }
        }
    }
    int32_t identifier = 0;
    int32_t index = 0;
    return AllocateDSP (&identifier, dsp, &index);
}

int32_t CDSPProcessType::FindOrAllocateDSPGuarded (CProcessDSP** dsp, int32_t)
{
    return GuardedWithCode ([&] { return FindOrAllocateDSP (dsp); });
}

int32_t CDSPProcessType::AllocateDSP (int32_t* identifierOut, CProcessDSP** dspOut, int32_t* indexOut)
{
    CDSPProcessGroup& group = RequireGroup();
    int16_t needs[4] = {};
    GetDSPNeeds (&needs[0], &needs[1], &needs[2], &needs[3]);
    int32_t identifier = 0;
    int32_t index = 0;
    ThrowIfError (static_cast<int16_t> (group.HostRequest17 (&identifier, &index, needs[0], needs[1], needs[2], needs[3])));
    if (identifier == 0)
        throw CDAEError (DSPTypeResult::kNothingAllocated);

    CProcessDSP* dsp = nullptr;
    if (fDSPs != nullptr)
        for (const auto& held : *fDSPs)
            if (DSPIdentifierOf (held.get()) == identifier)
                dsp = held.get();
    if (dsp == nullptr)
    {
        bool listed = false;
        try
        {
            ThrowIfNull (fAllocated);
            fAllocated->push_back (identifier);
            listed = true;
            group.CreateProcessDSP (DSPRecordOf (identifier), &dsp, identifier, index);
            group.NoteDSPObjectType (dsp, this);
            if (const int32_t mode = GetDSPMode())
            {
                const int32_t mask = mode == kMaskedDSPMode ? kMaskModeMask : kMaskOtherModes;
                ThrowIfError (static_cast<int16_t> (group.HostRequest19 (identifier, mask, mask)));
                dsp->SetRange (static_cast<int16_t> (mask), static_cast<int16_t> (mask));
            }
            int32_t singleMask = 0;
            GetCardInfo (kCardInfoSingleMask, &singleMask);
            if (singleMask != 0)
            {
                const int32_t mask = singleMask == 1 ? kMaskModeMask : 0;
                ThrowIfError (static_cast<int16_t> (group.HostRequest20 (identifier, mask)));
                dsp->SetOffsetValue (static_cast<int16_t> (mask));
            }
        }
        catch (...)
        {
            // A DSP object made goes with its DSP; without one the DSP goes back by itself.
            if (dsp != nullptr)
                group.RetireProcessDSP (dsp, this);
            else
            {
                if (listed)
                    Forget (fAllocated, identifier);
                group.HostRequest11 (identifier, index);
            }
            throw;
        }
    }
    PutOut (identifierOut, identifier);
    PutOut (dspOut, dsp);
    PutOut (indexOut, index);
    return 0;
}

int32_t CDSPProcessType::ReleaseDSPResources (int32_t identifier, int32_t index, int32_t dsp)
{
    CDSPProcessGroup& group = RequireGroup();
    if (GetDSPMode() != 0)
        if (const int32_t result = group.HostRequest19 (identifier, 0, 0))
            return result;
    int32_t singleMask = 0;
    GetCardInfo (kCardInfoSingleMask, &singleMask);
    if (singleMask != 0)
        if (const int32_t result = group.HostRequest20 (identifier, 0))
            return result;
    const int32_t result = group.HostRequest11 (identifier, index);
    DsiCompat_SetDSPClientVal (DSPRecordOf (dsp), nullptr);
    Forget (fAllocated, dsp);
    return result;
}

bool CDSPProcessType::CanUseDSP (CProcessDSP*)
{
    return false;
}

void CDSPProcessType::CountDSPResources (int32_t identifier, int16_t* processes, int16_t* outputs)
{
    int16_t onDSP = 0;
    int16_t outputsOnDSP = 0;
    for (CProcess* process : Processes())
    {
        auto* dspProcess = dynamic_cast<CDSPProcess*> (process);
        if (dspProcess == nullptr || dspProcess->GetDSPIdentifier() != identifier)
            continue;
        int16_t count = 0;
        dspProcess->GetNumOutputs (&count);
        ++onDSP;
        outputsOnDSP = static_cast<int16_t> (outputsOnDSP + count);
    }
    PutOut (processes, onDSP);
    PutOut (outputs, outputsOnDSP);
}

bool CDSPProcessType::DSPHasRoom (int32_t identifier)
{
    CDSPProcessGroup& group = RequireGroup();
    const int32_t capacity = RequestForDriverType (DSPRecordOf (identifier));
    int16_t used1 = 0;
    int16_t used2 = 0;
    group.CountDSPResources (&used1, &used2, identifier);
    int16_t extra1 = 0;
    int16_t extra2 = 0;
    GetExtraNeeds (&extra1, &extra2);
    return int32_t (used1) + used2 + extra1 + extra2 < capacity;
}

bool CDSPProcessType::DSPHasRoomOut (int32_t identifier)
{
    return DSPHasRoom (identifier);
}

// ---- Shells ----

int16_t CDSPProcessType::OwnOutputs()
{
    int16_t outputs = 0;
    GetNumOutputs (0, &outputs);
    return outputs;
}

int32_t CDSPProcessType::OutputsOnDSP (int32_t identifier) const
{
    int32_t outputs = 0;
    for (CDSPProcess* process : RequireGroup().DSPProcesses())
    {
        if (process->GetDSPIdentifier() != identifier)
            continue;
        int16_t count = 0;
        process->GetNumOutputs (&count);
        outputs += count;
    }
    return outputs;
}

bool CDSPProcessType::ShellHasRoom (int32_t shell)
{
    const int32_t capacity = RequestForDriverType (DSPRecordOf (shell));
    return capacity >= OutputsOnDSP (shell) + OwnOutputs();
}

bool CDSPProcessType::FindShellWithRoom (int32_t* shell)
{
    if (fShells == nullptr)
        return false;
    for (const int32_t held : *fShells)
    {
        if (ShellHasRoom (held))
        {
            PutOut (shell, held);
            return true;
        }
    }
    return false;
}

int32_t CDSPProcessType::AllocateShell (int32_t* shellOut)
{
    CDSPProcessGroup& group = RequireGroup();
    int32_t shell = 0;
    uint32_t productID = 0;
    GetProductID (&productID);
    ThrowIfError (static_cast<int16_t> (group.HostRequest12 (static_cast<int32_t> (productID), OwnOutputs(), 0, &shell)));
    if (shell == 0)
        throw CDAEError (DSPTypeResult::kNothingAllocated);
    try
    {
        ThrowIfNull (fShells);
        fShells->push_back (shell);
    }
    catch (...)
    {
        group.HostRequest14 (shell, 0);
        throw;
    }
    PutOut (shellOut, shell);
    return 0;
}

int32_t CDSPProcessType::FindOrAllocateShellGuarded (int32_t* shell)
{
    return GuardedWithCode ([&] { return FindShellWithRoom (shell) ? 0 : AllocateShell (shell); });
}

int32_t CDSPProcessType::ReleaseShell (int32_t shell)
{
    const int32_t result = RequireGroup().HostRequest14 (shell, 0);
    if (result == 0)
        Forget (fShells, shell);
    return result;
}

int32_t CDSPProcessType::ReleaseShellGuarded (int32_t shell)
{
    return Guarded ([&] { return RequireGroup().IsDSPAssigned (shell) ? 0 : ReleaseShell (shell); });
}

// ---- The type's own answers ----

int32_t CDSPProcessType::GetNameGuarded (char* name, int32_t maxLength)
{
    return Guarded ([&] {
        ThrowIfNull (name);
        uint8_t whole[kPStrMaxLength + 1] = {};
        const int32_t result = GetName (reinterpret_cast<char*> (whole));
        PStrCopyToFit (whole, reinterpret_cast<uint8_t*> (name), maxLength);
        return result;
    });
}

IProcessGroup* CDSPProcessType::GetGroupInterface()
{
    return fDSPGroup;
}

int32_t CDSPProcessType::GetProductID (uint32_t* productID)
{
    PutOut (productID, kDSPProcessTypeProductID);
    return 0;
}

int32_t CDSPProcessType::GroupQuery (int32_t* value, char** text)
{
    return Guarded ([&] { return RequireGroup().GetInfo (value, text); });
}

int32_t CDSPProcessType::GroupQuery2 (int16_t key, int32_t* known, int32_t index, uint32_t* value)
{
    return Guarded ([&] { return RequireGroup().GetInfo2 (key, known, index, value); });
}

int32_t CDSPProcessType::QueryCardCapability()
{
    const int16_t key = DsiCompat_HasDSP321() ? kCardCapabilityKeyDSP321 : kCardCapabilityKey;
    int32_t known = 0;
    uint32_t value = 0;
    GroupQuery2 (key, &known, kCardCapabilityIndex, &value);
    return static_cast<int32_t> (value);
}

void CDSPProcessType::SetDSPGroup (CDSPProcessGroup* group)
{
    fDSPGroup = group;
}

void CDSPProcessType::SetAllocatedList (DSPIdentifierList* list)
{
    fAllocated = list;
}

void CDSPProcessType::SetShellList (ShellList* list)
{
    fShells = list;
}

void CDSPProcessType::SetDSPList (ProcessDSPList* list)
{
    fDSPs = list;
}

DSPIdentifierList* CDSPProcessType::GetAllocatedList()
{
    return fAllocated;
}

ShellList* CDSPProcessType::GetShellList()
{
    return fShells;
}

ProcessDSPList* CDSPProcessType::GetDSPList()
{
    return fDSPs;
}

int32_t CDSPProcessType::GetDSPOffsets (int16_t* first, int16_t* second)
{
    PutOut (first, 0);
    PutOut (second, 0);
    return 0;
}

int32_t CDSPProcessType::GetDSPNeeds (int16_t* a, int16_t* b, int16_t* c, int16_t* d)
{
    PutOut (a, 1);
    PutOut (b, 1);
    PutOut (c, 0);
    PutOut (d, 0);
    return 0;
}

int32_t CDSPProcessType::GetExtraNeeds (int16_t* first, int16_t* second)
{
    PutOut (first, 0);
    PutOut (second, 0);
    return 0;
}

CDSPProcess* CDSPProcessType::NewProcessObject()
{
    return nullptr;
}

int32_t CDSPProcessType::GetDSPMode()
{
    return 0;
}

int32_t CDSPProcessType::AnswerZeroD()
{
    return 0;
}

int32_t CDSPProcessType::AnswerZeroE()
{
    return 0;
}
