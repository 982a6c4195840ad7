#include "process/group/CDSPProcessGroup.h"

#include <abi/DSPManager.h>
#include <win/Win32.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>

#include "process/base/CDAEError.h"
#include "process/base/OutParameter.h"
#include "process/base/PointerWords.h"
#include "process/dsp/DSIBinding.h"
#include "process/dsp/DsiCompat.h"
#include "process/dspclasses/CProcessDSP.h"
#include "process/dspclasses/ProcessDSPFactory.h"
#include "process/dspprocess/CDSPProcess.h"
#include "process/dspprocess/CDSPProcessType.h"
#include "process/group/HostRequests.h"
#include "process/type/CProcessType.h"

namespace
{
inline constexpr int32_t kRequest13Size = 12;
inline constexpr double kFullLoad = 100.0;

// The host's DSP manager's group registrar, asked for once and kept with the reference it came
// with for the module's lifetime; asked for again while the host has no manager.
IDSPGroupRegistrar* gGroupRegistrar = nullptr;

IDSPGroupRegistrar* GroupRegistrar (CDSPProcessGroup& group)
{
    if (gGroupRegistrar != nullptr)
        return gGroupRegistrar;
    IDSPManager* manager = GetDSPManager (WordOfPointer (&group));
    if (manager == nullptr)
        return nullptr;
    gGroupRegistrar = manager->GetGroupRegistrar();
    manager->Release();
    return gGroupRegistrar;
}

// The module that holds this library: its DSP code resources are the plug-in's.
HMODULE PlugInModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA (GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                        reinterpret_cast<LPCSTR> (&PlugInModule), &module);
    return module;
}

// The two values that identify a DSP's card: its card type and the card's index.
int32_t CardTypeOf (DSIDSPRecord* card)
{
    return DsiCompat_GetCardTypeFromDSP (card);
}

int32_t CardIndexOf (DSIDSPRecord* card)
{
    if (! DsiCompat_UseDsiEntries())
        return DsiCompat_GetDSPIndexField (card);
    int32_t index = 0;
    ShimDsiGetDSPCardIndex (card, &index);
    return index;
}

void KeepFirstFailure (int32_t& first, int32_t result)
{
    if (first == 0)
        first = result;
}
}

CDSPProcessGroup::CDSPProcessGroup() = default;

CDSPProcessGroup::~CDSPProcessGroup() noexcept
{
    try
    {
        ReleaseLists();
    }
    catch (...)
    {
    }
}

// ---- COM identity ----

int32_t CDSPProcessGroup::NonDelegatingQueryInterface (const DOA::GUID& iid, void** out)
{
    if (DOA::IsEqualID (iid, IID_IProcessGroup))
        return GetInterface (static_cast<IProcessGroup*> (this), out);
    return DOA::CUnknown::NonDelegatingQueryInterface (iid, out);
}

int32_t CDSPProcessGroup::GetInfo (int32_t* value, char** text)
{
    try
    {
        return CProcessGroup::GetInfo (value, text);
    }
    catch (...)
    {
        return RTASError::kUnexpected;
    }
}

int32_t CDSPProcessGroup::GetInfo2 (int16_t key, int32_t* known, int32_t index, uint32_t* value)
{
    try
    {
        return CProcessGroup::GetInfo2 (key, known, index, value);
    }
    catch (...)
    {
        return RTASError::kUnexpected;
    }
}

// ---- Initialisation and the lists ----

int32_t CDSPProcessGroup::Initialize()
{
    try
    {
        mDSPObjects = std::make_unique<ProcessDSPList>();
        ThrowIfNullObject (mDSPObjects.get());
        mCardKeys = std::make_unique<DSPIdentifierList>();
        ThrowIfNullObject (mCardKeys.get());
        mDSPRegistrations = std::make_unique<ShellList>();
        ThrowIfNullObject (mDSPRegistrations.get());
        ThrowIfError (InitSADriver());
        CProcessGroup::Initialize();
        for (CDSPProcessType* type : DSPTypes())
        {
            type->SetAllocatedList (mCardKeys.get());
            type->SetShellList (mDSPRegistrations.get());
            type->SetDSPList (mDSPObjects.get());
            type->SetDSPGroup (this);
        }
        return 0;
    }
    catch (...)
    {
        FreeLists();
        throw;
    }
}

void CDSPProcessGroup::FreeLists()
{
    for (CDSPProcessType* type : DSPTypes())
    {
        type->SetAllocatedList (nullptr);
        type->SetShellList (nullptr);
        type->SetDSPList (nullptr);
    }
    mDSPObjects.reset();
    mDSPObjectTypes.clear();
    mCardKeys.reset();
    mDSPRegistrations.reset();
}

void CDSPProcessGroup::ReleaseLists()
{
    std::exception_ptr firstFailure;
    try
    {
        DeleteTypes();
    }
    catch (...)
    {
        firstFailure = std::current_exception();
    }
    if (mDSPObjects != nullptr)
    {
        for (const auto& dsp : *mDSPObjects)
        {
            try
            {
                dsp->ReleaseShell();
            }
            catch (...)
            {
                if (! firstFailure)
                    firstFailure = std::current_exception();
            }
        }
    }
    FreeLists();
    if (firstFailure)
        std::rethrow_exception (firstFailure);
}

std::vector<CDSPProcessType*> CDSPProcessGroup::DSPTypes() const
{
    std::vector<CDSPProcessType*> types;
    for (CProcessType* type : Types())
        if (auto* dspType = dynamic_cast<CDSPProcessType*> (type))
            types.push_back (dspType);
    return types;
}

template <typename Visit>
void CDSPProcessGroup::VisitDSPProcesses (Visit visit) const
{
    VisitTypes ([&] (const CProcessType& type) {
        type.VisitProcesses ([&] (CProcess& process) {
            if (auto* dspProcess = dynamic_cast<CDSPProcess*> (&process))
                visit (*dspProcess);
        });
    });
}

std::vector<CDSPProcess*> CDSPProcessGroup::DSPProcesses() const
{
    std::vector<CDSPProcess*> processes;
    VisitDSPProcesses ([&] (CDSPProcess& process) { processes.push_back (&process); });
    return processes;
}

// ---- Instances and their DSP objects ----

int32_t CDSPProcessGroup::DeleteProcess (uint32_t typeID, int32_t process)
{
    const int32_t result = CProcessGroup::DeleteProcess (typeID, process);
    if (result != 0)
        return result;
    return RemoveIdleDSPObjects();
}

int32_t CDSPProcessGroup::RemoveIdleDSPObjects()
{
    if (mDSPObjects == nullptr)
        return 0;
    std::vector<CProcessDSP*> idle;
    for (const auto& dsp : *mDSPObjects)
    {
        const int16_t users = dsp->GetUserCount();
        if (users < 0)
            return GroupResult::kNegativeDSPUserCount;
        if (users == 0)
            idle.push_back (dsp.get());
    }
    int32_t answer = 0;
    for (CProcessDSP* dsp : idle)
    {
        int32_t removed = 0;
        RetireProcessDSP (dsp, DSPObjectType (dsp), &removed);
        KeepFirstFailure (answer, removed);
    }
    return answer;
}

int32_t CDSPProcessGroup::RetireProcessDSP (CProcessDSP* dsp, CDSPProcessType* releasing, int32_t* removedAnswer)
{
    if (mDSPObjects == nullptr)
        return 0;
    const auto listed = std::find_if (mDSPObjects->begin(), mDSPObjects->end(), [dsp] (const auto& held) { return held.get() == dsp; });
    if (listed == mDSPObjects->end())
        return 0;
    std::unique_ptr<CProcessDSP> owned = std::move (*listed);
    mDSPObjects->erase (listed);
    mDSPObjectTypes.erase (dsp);

    const int32_t identifier = DSPIdentifierOf (dsp);
    const int32_t index = dsp->GetUserWord();
    int32_t first = 0;
    try
    {
        dsp->ReleaseShell();
    }
    catch (const CDAEError& error)
    {
        KeepFirstFailure (first, error.Code());
    }
    catch (...)
    {
        KeepFirstFailure (first, RTASError::kUnexpected);
    }
    const int32_t removed = OnProcessDSPRemoved (dsp);
    PutOut (removedAnswer, removed);
    KeepFirstFailure (first, removed);
    if (releasing != nullptr && identifier != 0)
        KeepFirstFailure (first, releasing->ReleaseDSPResources (identifier, index, identifier));
    return first;
}

void CDSPProcessGroup::NoteDSPObjectType (const CProcessDSP* dsp, CDSPProcessType* type)
{
    mDSPObjectTypes[dsp] = type;
}

CDSPProcessType* CDSPProcessGroup::DSPObjectType (const CProcessDSP* dsp) const
{
    const auto found = mDSPObjectTypes.find (dsp);
    return found != mDSPObjectTypes.end() ? found->second : nullptr;
}

int32_t CDSPProcessGroup::OnProcessDSPRemoved (CProcessDSP*)
{
    return 0;
}

std::unique_ptr<CProcessDSP> CDSPProcessGroup::NewProcessDSP (int32_t, int32_t, DSIDSPRecord* card)
{
    return GetNewCProcessDSP (card);
}

int32_t CDSPProcessGroup::CreateProcessDSP (DSIDSPRecord* card, CProcessDSP** out, int32_t a, int32_t b)
{
    PutOut (out, nullptr);
    const int32_t first = CardTypeOf (card);
    const int32_t second = CardIndexOf (card);
    const int32_t option = GetDSPOptionFor (static_cast<int16_t> (first), second, card);

    CProcessDSP* dsp = nullptr;
    bool started = false;
    try
    {
        std::unique_ptr<CProcessDSP> made = NewProcessDSP (first, second, card);
        ThrowIfNullObject (made.get());
        ThrowIfNullObject (mDSPObjects.get());
        mDSPObjects->push_back (std::move (made));
        dsp = mDSPObjects->back().get();
        dsp->Attach (card);
        dsp->SetUserWord (b);
        started = true;
        ThrowIfError (static_cast<int16_t> (HostRequest13 (a, b, DSPIdentifierOf (dsp))));
        dsp->LoadDSPCode (PlugInModule(), static_cast<int16_t> (option));
    }
    catch (...)
    {
        if (dsp != nullptr)
        {
            if (started)
            {
                try
                {
                    dsp->ReleaseShell();
                }
                catch (...)
                {
                }
            }
            std::erase_if (*mDSPObjects, [dsp] (const auto& held) { return held.get() == dsp; });
        }
        throw;
    }
    PutOut (out, dsp);
    return 0;
}

int32_t CDSPProcessGroup::HostRequest13 (int32_t a, int32_t b, int32_t c)
{
    return SendHostRequest (HostRequestCode::k13, kRequest13Size, HostRequestBlockMove::kStays, [&] (HostRequestBlock& block) {
        block.Put32 (0, a);
        block.Put32 (4, b);
        block.Put32 (8, c);
    });
}

int32_t CDSPProcessGroup::GetDSPOption (int16_t)
{
    return 0;
}

int32_t CDSPProcessGroup::GetDSPOptionFor (int16_t value, int32_t, DSIDSPRecord*)
{
    return GetDSPOption (value);
}

// ---- DSP figures ----

int16_t CDSPProcessGroup::GetDSPCyclesPerSample (DSIDSPRecord* card)
{
    const int32_t sampleRate = GetSampleRate();
    if (sampleRate <= 0)
        return 0;
    DSIDSPInfoRecord info {};
    if (DsiCompat_GetDSPInfoRecord (card, &info) != 0)
        return 0;
    uint32_t clockRate = 0;
    std::memcpy (&clockRate, info.fBytes + kDSPInfoClockRateOffset, sizeof clockRate);
    const uint32_t cycles = clockRate / 2 / static_cast<uint32_t> (sampleRate);
    return static_cast<int16_t> (std::min<uint32_t> (cycles, std::numeric_limits<int16_t>::max()));
}

int32_t CDSPProcessGroup::CountDSPResources (int16_t* count1, int16_t* count2, int32_t key)
{
    int32_t first = 0;
    int32_t second = 0;
    for (CDSPProcessType* type : DSPTypes())
    {
        int16_t a = 0;
        int16_t b = 0;
        type->CountDSPResources (key, &a, &b);
        first += a;
        second += b;
    }
    PutOut (count1, first);
    PutOut (count2, second);
    return static_cast<int16_t> (second);
}

int32_t CDSPProcessGroup::GetDSPUsagePercent (int32_t dspKey)
{
    double load = 0.0;
    VisitDSPProcesses ([&] (CDSPProcess& process) {
        if (process.GetDSPIdentifier() != dspKey)
            return;
        const double weight = process.GetWeightFloat();
        if (! std::isnan (weight))
            load += weight;
    });
    load = std::clamp (std::isnan (load) ? 0.0 : load, 0.0, kFullLoad);
    return static_cast<int32_t> (load + 0.5);
}

bool CDSPProcessGroup::IsDSPAssigned (int32_t dspKey)
{
    for (CDSPProcess* process : DSPProcesses())
        if (process->GetDSPIdentifier() == dspKey)
            return true;
    return false;
}

int32_t CDSPProcessGroup::SupportsDSP()
{
    return 1;
}

int32_t CDSPProcessGroup::QueryForDSP (int32_t a, int16_t kind, int16_t* out)
{
    switch (kind)
    {
        case kDSPQueryGroupName:
            if (out != nullptr)
                GetGroupAltName (reinterpret_cast<char*> (out), kDSPQueryNameLength);
            return 0;
        case kDSPQueryUsagePercent:
            PutOut (out, GetDSPUsagePercent (a));
            return 0;
        default:
            return GroupResult::kUnknownDSPQuery;
    }
}

// ---- The host's DSP manager ----

int32_t CDSPProcessGroup::RegisterWithDSPManager (int32_t* cookie)
{
    PutOut (cookie, 0);
    IDSPGroupRegistrar* registrar = GroupRegistrar (*this);
    if (registrar == nullptr)
        return 0;
    return registrar->RegisterGroup (static_cast<IProcessGroup*> (this), cookie);
}

int32_t CDSPProcessGroup::UnregisterFromDSPManager (int32_t cookie)
{
    IDSPGroupRegistrar* registrar = GroupRegistrar (*this);
    return registrar != nullptr ? registrar->UnregisterGroup (cookie) : 0;
}
