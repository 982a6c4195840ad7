#include "process/group/CProcessGroup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <utility>

#include "process/base/CDAEError.h"
#include "process/base/OutParameter.h"
#include "process/dsp/DSIBinding.h"
#include "process/dspprocess/CDSPProcess.h"
#include "process/process/SDSConnection.h"
#include "process/type/CProcessType.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/HostUtilities.h"
#include "process/utilities/PStrings.h"
#include "process/utilities/ScopedPlugInResFile.h"
#include "process/utilities/ViewlessMode.h"

int16_t gSavedResFile = 0;

namespace
{
inline constexpr int32_t kSDSTaskStandardNumber = kSDSTaskTypeNumber;
inline constexpr int16_t kStereoInfoIndex = 2;
inline constexpr int16_t kStereoChannels = 2;
inline constexpr size_t kStereoModeTextLimit = 31;
inline constexpr const char* kStereoModeText = "stereo mode";
inline constexpr int32_t kNamedLockVersion = 2;
inline constexpr const char* kUnknownGroupName = "<unknown>";

// A length-prefixed text in a buffer of `size` bytes as a terminated text, cut to fit.
void PStrToCString (const uint8_t* text, char* destination, size_t size)
{
    const size_t length = std::min<size_t> (text[0], size - 1);
    std::memcpy (destination, text + 1, length);
    destination[length] = 0;
}
}

CProcessGroup::CProcessGroup()
{
    gSDSServer = 0;
    gSDSObject = 0;
    gInstanceSerial = 0;
}

CProcessGroup::~CProcessGroup() noexcept (false)
{
    // Every step runs; what fails is not reported, the group goes either way.
    const auto step = [] (auto action) {
        try
        {
            action();
        }
        catch (...)
        {
        }
    };
    step ([this] { DeleteTypes(); });
    step ([this] { DisconnectSDSServer(); });
    step ([this] {
        if (mInstancesHoldResFile)
        {
            mInstancesHoldResFile = false;
            PopPlugInResFile (gSavedResFile);
        }
    });
    step ([this] { DisposeGroupLock(); });
    UnloadDSIEntryPoints();
}

// ---- Initialisation and the type list ----

int32_t CProcessGroup::Initialize()
{
    LoadDSIEntryPoints();
    {
        const std::lock_guard guard (mTypesLock);
        mTypes.emplace();
    }
    CProcessGroupInterface::Initialize();
    CreateTypes();
    ReorderTypes();
    MakeGroupName();
    return 0;
}

void CProcessGroup::CreateTypes() {}

void CProcessGroup::AddProcessType (CProcessType* type)
{
    std::unique_ptr<CProcessType> owned (type);
    if (owned == nullptr || ! HasTypeList())
        throw AddProcessTypeEx {};
    owned->DoNothing();
    const std::lock_guard guard (mTypesLock);
    mTypes->push_back (std::move (owned));
}

void CProcessGroup::ReorderTypes()
{
    if (! HasTypeList())
        return;
    {
        const std::lock_guard guard (mTypesLock);
        std::stable_partition (mTypes->begin(), mTypes->end(), [] (const std::unique_ptr<CProcessType>& type) {
            return type->GetEnableMark() != 0 || type->GetTypeIdentifier() == 0;
        });
    }
    AttachTypes();
}

void CProcessGroup::AttachTypes()
{
    if (! HasTypeList())
        return;
    int16_t index = 1;
    for (const auto& type : *mTypes)
    {
        type->SetGroup (this);
        type->SetTypeIndex (index++);
    }
}

void CProcessGroup::DeleteTypes()
{
    if (! HasTypeList())
        return;
    std::exception_ptr firstFailure;
    while (! mTypes->empty())
    {
        try
        {
            mTypes->front()->DeleteAllProcesses();
        }
        catch (...)
        {
            if (! firstFailure)
                firstFailure = std::current_exception();
        }
        std::unique_ptr<CProcessType> leaving;
        {
            const std::lock_guard guard (mTypesLock);
            leaving = std::move (mTypes->front());
            mTypes->erase (mTypes->begin());
        }
    }
    {
        const std::lock_guard guard (mTypesLock);
        mTypes.reset();
    }
    if (firstFailure)
        std::rethrow_exception (firstFailure);
}

void CProcessGroup::ReleaseLists()
{
    DeleteTypes();
}

std::vector<CProcessType*> CProcessGroup::Types() const
{
    std::vector<CProcessType*> types;
    if (HasTypeList())
        for (const auto& type : *mTypes)
            types.push_back (type.get());
    return types;
}

CProcessType* CProcessGroup::FindTypeOrNull (uint32_t typeID)
{
    if (! HasTypeList())
        return nullptr;
    for (const auto& type : *mTypes)
    {
        uint32_t productID = kUnansweredProductID;
        type->GetProductID (&productID);
        if (productID == typeID)
            return type.get();
    }
    return nullptr;
}

CProcessType* CProcessGroup::FindType (uint32_t typeID)
{
    CProcessType* type = FindTypeOrNull (typeID);
    if (type == nullptr)
        throw CDAEError (GroupResult::kNoSuchType);
    return type;
}

CProcessType* CProcessGroup::FindTypeByIndex (int16_t index) const
{
    if (HasTypeList())
        for (const auto& type : *mTypes)
            if (type->GetTypeIndex() == index)
                return type.get();
    throw CDAEError (GroupResult::kNoSuchType);
}

int32_t CProcessGroup::GetNumTypes (int16_t* count)
{
    int16_t listed = 0;
    for (CProcessType* type : Types())
        if (type->GetEnableMark() != 0 || type->GetTypeIdentifier() == 0)
            ++listed;
    PutOut (count, listed);
    return 0;
}

int32_t CProcessGroup::EnableType (int32_t typeID)
{
    bool marked = false;
    for (CProcessType* type : Types())
    {
        if (type->GetTypeIdentifier() == static_cast<uint32_t> (typeID) && type->GetEnableMark() == 0)
        {
            type->SetEnableMark (1);
            marked = true;
        }
    }
    if (marked)
        ReorderTypes();
    return 0;
}

int32_t CProcessGroup::GetTypeName (uint32_t typeID, int32_t maxLength, char* name)
{
    if (typeID == kGroupItselfTypeID)
        return GetGroupAltName (name, maxLength);
    CProcessType* type = FindType (typeID);
    ThrowIfNull (name);
    uint8_t whole[kPStrMaxLength + 1] = {};
    const int32_t result = type->GetName (reinterpret_cast<char*> (whole));
    PStrCopyToFit (whole, reinterpret_cast<uint8_t*> (name), maxLength);
    return result;
}

// ---- Broadcasts ----

template <typename Operation>
int32_t CProcessGroup::Broadcast (Operation operation)
{
    int32_t first = 0;
    std::exception_ptr firstFailure;
    for (CProcessType* type : Types())
    {
        try
        {
            const int32_t result = operation (*type);
            if (first == 0)
                first = result;
        }
        catch (...)
        {
            if (! firstFailure)
                firstFailure = std::current_exception();
        }
    }
    if (firstFailure)
        std::rethrow_exception (firstFailure);
    return first;
}

int32_t CProcessGroup::SetSampleRate (int32_t sampleRate)
{
    CProcessGroupInterface::SetSampleRate (sampleRate);
    return Broadcast ([sampleRate] (CProcessType& type) { return type.SetSampleRate (sampleRate); });
}

int32_t CProcessGroup::OnSelector125 (int32_t value)
{
    return Broadcast ([value] (CProcessType& type) { return type.SetTypeValue (value); });
}

int32_t CProcessGroup::SetTimeCodeInfo (SFicTimeCodeInfo* info)
{
    CProcessGroupInterface::SetTimeCodeInfo (info);
    return Broadcast ([info] (CProcessType& type) { return type.SetSettingPair (info); });
}

int32_t CProcessGroup::OnSelector16()
{
    return Broadcast ([] (CProcessType& type) { return type.AnswerZeroA(); });
}

int32_t CProcessGroup::OnSelector18()
{
    return Broadcast ([] (CProcessType& type) { return type.AnswerZeroB(); });
}

int32_t CProcessGroup::OnSelector69 (uint8_t flag)
{
    return Broadcast ([flag] (CProcessType& type) { return type.BroadcastByteA (flag); });
}

int32_t CProcessGroup::OnSelector72 (uint8_t flag)
{
    return Broadcast ([flag] (CProcessType& type) { return type.BroadcastByteB (flag); });
}

int32_t CProcessGroup::OnSelector122 (int32_t a, int32_t value)
{
    CProcessGroupInterface::OnSelector122 (a, value);
    return Broadcast ([a, value] (CProcessType& type) { return type.SetProcessValue (a, value); });
}

// ---- Instances ----

int32_t CProcessGroup::CreateProcess (uint32_t typeID, int32_t* process)
{
    bool connected = false;
    bool pushed = false;
    int32_t result = 0;
    try
    {
        if (gSDSServer == 0)
        {
            ConnectSDSServer();
            connected = gSDSServer != 0;
        }
        if (! OpenedByWinPlugInOpen() && mOpenCount == 0 && ! mInstancesHoldResFile)
        {
            gSavedResFile = PushPlugInResFile();
            mInstancesHoldResFile = pushed = true;
            HostToolbox().UseResFile (gSavedResFile);
        }
        result = CProcessGroupInterface::CreateProcess (typeID, process);
        if (result == 0)
            result = FindType (typeID)->NewProcess (process);
    }
    catch (...)
    {
        UndoCreateProcess (connected, pushed);
        throw;
    }
    if (result != 0)
    {
        UndoCreateProcess (connected, pushed);
        return result;
    }
    ++gInstanceSerial;
    ++mOpenCount;
    return 0;
}

void CProcessGroup::UndoCreateProcess (bool connected, bool pushed)
{
    try
    {
        if (pushed)
        {
            mInstancesHoldResFile = false;
            PopPlugInResFile (gSavedResFile);
        }
        if (connected && mOpenCount == 0)
            DisconnectSDSServer();
    }
    catch (...)
    {
    }
}

int32_t CProcessGroup::DeleteProcess (uint32_t typeID, int32_t process)
{
    CProcessType* type = FindType (typeID);
    const int32_t before = type->GetNumProcesses();
    int32_t result = 0;
    try
    {
        result = type->DeleteProcess (process);
    }
    catch (...)
    {
        try
        {
            CountOutRemovedInstance (*type, before);
        }
        catch (...)
        {
        }
        throw;
    }
    CountOutRemovedInstance (*type, before);
    return result;
}

void CProcessGroup::CountOutRemovedInstance (CProcessType& type, int32_t processesBefore)
{
    if (type.GetNumProcesses() >= processesBefore || mOpenCount <= 0)
        return;
    if (--mOpenCount == 0)
        ReleaseInstanceResources();
}

void CProcessGroup::ReleaseInstanceResources()
{
    DisconnectSDSServer();
    if (mInstancesHoldResFile)
    {
        mInstancesHoldResFile = false;
        PopPlugInResFile (gSavedResFile);
    }
}

// ---- The SDS server ----

int32_t CProcessGroup::ConnectSDSServer()
{
    int32_t answer = 0;
    if (FicGestalt (kFicGestaltHostSDS, &answer) != 0 || FicIsAlive() == 0)
        return 0;
    const FicObjectRef server = FicNewServer();
    if (server == 0)
        return 0;
    const FicObjectRef object = FicNewObject (server, FicFindStandardType (server, kSDSTaskStandardNumber));
    if (object == 0)
    {
        FicDelete (server);
        return 0;
    }
    gSDSServer = server;
    gSDSObject = object;
    return 0;
}

int32_t CProcessGroup::DisconnectSDSServer()
{
    if (gSDSObject != 0)
        FicDelete (gSDSObject);
    if (gSDSServer != 0)
        FicDelete (gSDSServer);
    gSDSObject = 0;
    gSDSServer = 0;
    return 0;
}

// ---- The plug-in's resource file ----

int16_t CProcessGroup::PushPlugInResFile()
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    const int16_t current = toolbox.CurResFile();
    if (mResFileNesting > 0 && current == mPlugInResFile.GetFile())
    {
        ++mResFileNesting;
        return current;
    }
    if (mResFileNesting == 0)
    {
        PlugInResFileHold hold = PlugInResFileHold::Take (toolbox);
        ThrowIfFalse (hold.IsOpen());
        mPlugInResFile = std::move (hold);
    }
    toolbox.UseResFile (mPlugInResFile.GetFile());
    ++mResFileNesting;
    return current;
}

void CProcessGroup::PopPlugInResFile (int16_t previous)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    if (mResFileNesting > 0 && --mResFileNesting == 0)
        mPlugInResFile.Release();
    toolbox.UseResFile (previous);
}

// ---- The group lock ----

bool CProcessGroup::LockServiceUsable() const
{
    SPISIService* service = GetPISIGestalt();
    return mGroupLock != nullptr && service != nullptr && service->GetVersion() > 0;
}

int32_t CProcessGroup::MakeGroupName()
{
    mLockDepth = 0;
    SPISIService* service = GetPISIGestalt();
    const int32_t version = service != nullptr ? service->GetVersion() : 0;
    if (service != nullptr && version <= 0)
        return GroupResult::kNoPISIService;
    if (service != nullptr && version < kNamedLockVersion)
        mGroupLock = service->NewLock();
    else if (service != nullptr)
    {
        uint8_t altName[kGroupLockNameLength + 1] = {};
        char name[kGroupLockNameLength + 1] = {};
        if (GetGroupAltName (reinterpret_cast<char*> (altName), kGroupLockNameLength) == 0)
            PStrToCString (altName, name, sizeof name);
        char lockName[sizeof "CProcessGroup<>" + kGroupLockNameLength] = {};
        std::snprintf (lockName, sizeof lockName, "CProcessGroup<%s>", name[0] != 0 ? name : kUnknownGroupName);
        mGroupLock = service->NewNamedLock (lockName);
    }
    return mGroupLock != nullptr ? 0 : GroupResult::kNoGroupLock;
}

void CProcessGroup::DisposeGroupLock()
{
    if (LockServiceUsable())
        GetPISIGestalt()->DisposeLock (mGroupLock);
    mGroupLock = nullptr;
}

int32_t CProcessGroup::Lock()
{
    if (LockServiceUsable())
        GetPISIGestalt()->Lock (mGroupLock);
    return ++mLockDepth;
}

bool CProcessGroup::TryLock()
{
    if (! LockServiceUsable() || GetPISIGestalt()->TryLock (mGroupLock) == 0)
        return false;
    ++mLockDepth;
    return true;
}

int32_t CProcessGroup::Unlock()
{
    if (mLockDepth <= 0)
        return 0;
    const int32_t depth = --mLockDepth;
    if (LockServiceUsable())
        GetPISIGestalt()->Unlock (mGroupLock);
    return depth;
}

// ---- Answers the group gives from its types ----

int32_t CProcessGroup::OnSelector36 (int32_t* count1, int32_t* count2, uint32_t typeID, int32_t process, int32_t)
{
    CProcessType* type = FindType (typeID);
    if (count2 != nullptr && *count2 == kDSPIdentifierQuery)
    {
        if (auto* dspProcess = dynamic_cast<CDSPProcess*> (type->FindProcess (process)))
            *count2 = dspProcess->GetDSPIdentifier();
        return 0;
    }
    PutOut (count1, 0);
    PutOut (count2, 0);
    if (const int32_t result = type->GetUserValueA (process, count1))
        return result;
    return type->GetUserValueB (process, count2);
}

int32_t CProcessGroup::OnSelector37 (int32_t* count1, int32_t* count2, uint32_t typeID, int32_t process, int32_t which)
{
    return OnSelector36 (count1, count2, typeID, process, which);
}

int32_t CProcessGroup::GetCardInfo (uint32_t typeID, int32_t process, int32_t* info)
{
    CProcessType* type = FindTypeOrNull (typeID);
    if (type == nullptr)
        return GroupResult::kNoSuchType;
    return type->GetCardInfo (process, info);
}

int32_t CProcessGroup::GetInfoString (uint32_t typeID, int32_t process, int32_t which, uint8_t* text)
{
    CProcessType* type = FindType (typeID);
    const int32_t result = type->GetInfoString (process, which, text);
    if (result == 0 || which != kStereoInfoIndex || text == nullptr)
        return result;
    int16_t inputs = 0;
    int16_t outputs = 0;
    type->GetNumInputs (process, &inputs);
    type->GetNumOutputs (process, &outputs);
    if (inputs != kStereoChannels || outputs != kStereoChannels)
        return result;
    char stereo[kStereoModeTextLimit + 1] = {};
    std::strncpy (stereo, kStereoModeText, kStereoModeTextLimit);
    CopyCToPStr (stereo, text);
    return 0;
}

// ---- Routing to the types ----

int32_t CProcessGroup::GetViewRect (uint32_t typeID, int32_t process, Rect* bounds)
{
    if (const int32_t result = CProcessGroupInterface::GetViewRect (typeID, process, bounds))
        return result;
    return FindType (typeID)->GetViewRect (process, bounds);
}

int32_t CProcessGroup::SetViewPort (uint32_t typeID, int32_t process, OpaqueGrafPtr* port)
{
    if (const int32_t result = CProcessGroupInterface::SetViewPort (typeID, process, port))
        return result;
    return FindType (typeID)->SetViewPort (process, port);
}

int32_t CProcessGroup::MoveViewTo (uint32_t typeID, int32_t process, Point where)
{
    if (const int32_t result = CProcessGroupInterface::MoveViewTo (typeID, process, where))
        return result;
    return FindType (typeID)->MoveViewTo (process, where);
}

// clang-format off
int32_t CProcessGroup::InvalidateView (uint32_t t, int32_t p, Rect* area) { return FindType (t)->InvalidateView (p, area); }
int32_t CProcessGroup::HandleViewClick (uint32_t t, int32_t p, EventRecord* event) { return FindType (t)->HandleViewClick (p, event); }
int32_t CProcessGroup::HandleViewEvent (uint32_t t, int32_t p, EventRecord* event, uint8_t* handled) { return FindType (t)->HandleViewEvent (p, event, handled); }
int32_t CProcessGroup::Idle (uint32_t t, int32_t p, EventRecord* event) { return FindType (t)->Idle (p, event); }
int32_t CProcessGroup::ActivateView (uint32_t t, int32_t p) { return FindType (t)->ActivateView (p); }
int32_t CProcessGroup::DeactivateView (uint32_t t, int32_t p) { return FindType (t)->DeactivateView (p); }
int32_t CProcessGroup::ReleaseDirectMIDI (uint32_t t, int32_t p) { return FindType (t)->ReleaseDirectMIDI (p); }
int32_t CProcessGroup::SetOptionA (uint32_t t, int32_t p, int16_t value) { return FindType (t)->SetOptionA (p, value); }
int32_t CProcessGroup::SetOptionB (uint32_t t, int32_t p, int16_t value) { return FindType (t)->SetOptionB (p, value); }
int32_t CProcessGroup::IsInputConnected (uint32_t t, int32_t p, int32_t port, uint8_t* connected) { return FindType (t)->IsInputConnected (p, port, connected); }
int32_t CProcessGroup::CanConnectOutput (uint32_t t, int32_t p, int32_t port, uint8_t* possible) { return FindType (t)->CanConnectOutput (p, port, possible); }
int32_t CProcessGroup::IsOutputConnected (uint32_t t, int32_t p, int32_t port, uint8_t* connected) { return FindType (t)->IsOutputConnected (p, port, connected); }
int32_t CProcessGroup::NotifyDSPConnect (uint32_t t, int32_t p, int32_t port, int32_t value) { return FindType (t)->NotifyDSPConnect (p, port, value); }
int32_t CProcessGroup::NotifyDSPConnectOutput (uint32_t t, int32_t p, int32_t port, int32_t value) { return FindType (t)->NotifyDSPConnectOutput (p, port, value); }
int32_t CProcessGroup::NotifyDSPDisconnectInput (uint32_t t, int32_t p, int32_t port) { return FindType (t)->NotifyDSPDisconnectInput (p, port); }
int32_t CProcessGroup::NotifyDSPDisconnectOutput (uint32_t t, int32_t p, int32_t port) { return FindType (t)->NotifyDSPDisconnectOutput (p, port); }
int32_t CProcessGroup::GetNumControls (uint32_t t, int32_t p, int16_t* count) { return FindType (t)->GetNumControls (p, count); }
int32_t CProcessGroup::GetMasterBypassControlIndex (uint32_t t, int32_t p, int32_t* index) { return FindType (t)->GetMasterBypassControlIndex (p, index); }
int32_t CProcessGroup::IsControlAutomatable (uint32_t t, int32_t p, int32_t control, int16_t* automatable) { return FindType (t)->IsControlAutomatable (p, control, automatable); }
int32_t CProcessGroup::GetControlStepCount (uint32_t t, int32_t p, int32_t control, int32_t* steps) { return FindType (t)->GetControlStepCount (p, control, steps); }
int32_t CProcessGroup::GetControlName (uint32_t t, int32_t p, int32_t control, char* text) { return FindType (t)->GetControlName (p, control, text); }
int32_t CProcessGroup::GetControlNameToFit (uint32_t t, int32_t p, int32_t control, char* text, int32_t a, uint32_t b, int16_t* out) { return FindType (t)->GetControlNameToFit (p, control, text, a, b, out); }
int32_t CProcessGroup::GetControlValue (uint32_t t, int32_t p, int32_t control, int32_t* value) { return FindType (t)->GetControlValue (p, control, value); }
int32_t CProcessGroup::SetControlValue (uint32_t t, int32_t p, int32_t control, int32_t value) { return FindType (t)->SetControlValue (p, control, value); }
int32_t CProcessGroup::GetPageCount (uint32_t t, int32_t p, uint32_t table, int16_t page) { return FindType (t)->GetPageCount (p, table, page); }
int32_t CProcessGroup::GetPageControl (uint32_t t, int32_t p, uint32_t a, int16_t b, int16_t c, int16_t d) { return FindType (t)->GetPageControl (p, a, b, c, d); }
int32_t CProcessGroup::HasPageLayout (uint32_t t, int32_t p, uint32_t table, int16_t page) { return FindType (t)->HasPageLayout (p, table, page); }
int32_t CProcessGroup::SetMasterBypass (uint32_t t, int32_t p, int32_t, uint8_t bypass) { return FindType (t)->SetMasterBypass (p, bypass); }
int32_t CProcessGroup::IsMasterBypassed (uint32_t t, int32_t p, int32_t, uint8_t* bypassed) { return FindType (t)->IsMasterBypassed (p, bypassed); }
int32_t CProcessGroup::QueryOption (uint32_t t, int32_t p, int32_t option, uint8_t* answer) { return FindType (t)->QueryOption (p, option, answer); }
int32_t CProcessGroup::GetBypassIndexIfCardFlag (uint32_t t, int32_t p, uint32_t flag, uint32_t* index) { return FindType (t)->GetBypassIndexIfCardFlag (p, flag, index); }
int32_t CProcessGroup::GetNumMeters (uint32_t t, int32_t p, int32_t* count) { return FindType (t)->GetNumMeters (p, count); }
int32_t CProcessGroup::GetMeterValues (uint32_t t, int32_t p, int32_t count, int32_t* values) { return FindType (t)->GetMeterValues (p, count, values); }
int32_t CProcessGroup::GetMeterOrientation (uint32_t t, int32_t p, int32_t meter, EMeterOrientation* orientation) { return FindType (t)->GetMeterOrientation (p, meter, orientation); }
int32_t CProcessGroup::GetNumMetersOfType (uint32_t t, int32_t p, EMeterType type, int32_t* count) { return FindType (t)->GetNumMetersOfType (p, type, count); }
int32_t CProcessGroup::GetMeterIndexOfType (uint32_t t, int32_t p, EMeterType type, int32_t which, int32_t* index) { return FindType (t)->GetMeterIndexOfType (p, type, which, index); }
int32_t CProcessGroup::IsClipped (uint32_t t, int32_t p, uint8_t* clipped) { return FindType (t)->IsClipped (p, clipped); }
int32_t CProcessGroup::ClearClipIndicators (uint32_t t, int32_t p) { return FindType (t)->ClearClipIndicators (p); }
int32_t CProcessGroup::GetNumChunks (uint32_t t, int32_t p, int32_t* count) { return FindType (t)->GetNumChunks (p, count); }
int32_t CProcessGroup::GetChunkID (uint32_t t, int32_t p, int32_t index, uint32_t* chunkID) { return FindType (t)->GetChunkID (p, index, chunkID); }
int32_t CProcessGroup::GetChunkName (uint32_t t, int32_t p, uint32_t chunkID, uint8_t* name) { return FindType (t)->GetChunkName (p, chunkID, name); }
int32_t CProcessGroup::GetChunkSize (uint32_t t, int32_t p, uint32_t chunkID, int32_t* size) { return FindType (t)->GetChunkSize (p, chunkID, size); }
int32_t CProcessGroup::GetChunk (uint32_t t, int32_t p, uint32_t chunkID, SFicPlugInChunk* chunk) { return FindType (t)->GetChunk (p, chunkID, chunk); }
int32_t CProcessGroup::SetChunk (uint32_t t, int32_t p, uint32_t chunkID, SFicPlugInChunk* chunk) { return FindType (t)->SetChunk (p, chunkID, chunk); }
int32_t CProcessGroup::RestoreControlsFromChunk (uint32_t t, int32_t p, SFicPlugInChunk* chunk, uint8_t* result) { return FindType (t)->RestoreControlsFromChunk (p, chunk, result); }
int32_t CProcessGroup::GetChangeCount (uint32_t t, int32_t p, int32_t* count) { return FindType (t)->GetChangeCount (p, count); }
int32_t CProcessGroup::GetLatencyShort (uint32_t t, int32_t p, int16_t* latency) { return FindType (t)->GetLatencyShort (p, latency); }
int32_t CProcessGroup::GetLatency (uint32_t t, int32_t p, int32_t* latency) { return FindType (t)->GetLatency (p, latency); }
int32_t CProcessGroup::GetStreamFormat (uint32_t t, int32_t p, int16_t a, int16_t b, char* format) { return FindType (t)->GetStreamFormat (p, a, b, format); }
int32_t CProcessGroup::CheckStreamFormat (uint32_t t, int32_t p, int16_t a, int16_t b, char* format) { return FindType (t)->CheckStreamFormat (p, a, b, format); }
int32_t CProcessGroup::GetDefaultStreamInfo (uint32_t t, int32_t p) { return FindType (t)->GetDefaultStreamInfo (p); }
int32_t CProcessGroup::IncrementControlValue (uint32_t t, int32_t p, int32_t control, int32_t steps) { return FindType (t)->IncrementControlValue (p, control, steps); }
int32_t CProcessGroup::GetControlHostHint1 (uint32_t t, int32_t p, int32_t control, int32_t* hint) { return FindType (t)->GetControlHostHint1 (p, control, hint); }
int32_t CProcessGroup::GetInstanceNameID (uint32_t t, int32_t p, void** nameID) { return FindType (t)->GetInstanceNameID (p, nameID); }
int32_t CProcessGroup::GetControlNameID (uint32_t t, int32_t p, int32_t control, void** nameID) { return FindType (t)->GetControlNameID (p, control, nameID); }
int32_t CProcessGroup::GetControlValueKind (uint32_t t, int32_t p, int32_t control, int32_t* kind) { return FindType (t)->GetControlValueKind (p, control, kind); }
int32_t CProcessGroup::GetControlHostHint2 (uint32_t t, int32_t p, int32_t control, int32_t* hint) { return FindType (t)->GetControlHostHint2 (p, control, hint); }
int32_t CProcessGroup::GetControlText (uint32_t t, int32_t p, int32_t control, int32_t a, char* text, int32_t b) { return FindType (t)->GetControlText (p, control, a, text, b); }
int32_t CProcessGroup::GetControlHighlight (uint32_t t, int32_t p, int32_t control, int16_t* on, int16_t* colour) { return FindType (t)->GetControlHighlight (p, control, on, colour); }
int32_t CProcessGroup::SetControlHighlightInfo (uint32_t t, int32_t p, int32_t control, int16_t on, int16_t colour) { return FindType (t)->SetControlHighlightInfo (p, control, on, colour); }
int32_t CProcessGroup::UpdateControlValue (uint32_t t, int32_t p, int32_t control, int32_t value) { return FindType (t)->UpdateControlValue (p, control, value); }
int32_t CProcessGroup::IncrementControlValueDirect (uint32_t t, int32_t p, int32_t control, int32_t steps) { return FindType (t)->IncrementControlValueDirect (p, control, steps); }
int32_t CProcessGroup::GetControlIndexAtPoint (uint32_t t, int32_t p, Point where, int32_t* control) { return FindType (t)->GetControlIndexAtPoint (p, where, control); }
int32_t CProcessGroup::GetControlDefaultValue (uint32_t t, int32_t p, int32_t control, int32_t* value) { return FindType (t)->GetControlDefaultValue (p, control, value); }
int32_t CProcessGroup::SetControlSpecial (uint32_t t, int32_t p, int32_t control, int32_t a, int32_t b, int32_t* out) { return FindType (t)->SetControlSpecial (p, control, a, b, out); }
int32_t CProcessGroup::SetOwnerValue (uint32_t t, int32_t p, int32_t value) { return FindType (t)->SetOwnerValue (p, value); }
int32_t CProcessGroup::SetPlugInSpec (uint32_t t, int32_t p, SFicPlugInSpec* spec) { return FindType (t)->SetPlugInSpec (p, spec); }
int32_t CProcessGroup::GetPlugInSpec (uint32_t t, int32_t p, SFicPlugInSpec* spec) { return FindType (t)->GetPlugInSpec (p, spec); }
int32_t CProcessGroup::GetNumConnectionInfos (uint32_t t, int32_t p, int32_t* count) { return FindType (t)->GetNumConnectionInfos (p, count); }
int32_t CProcessGroup::GetConnectionInfo (uint32_t t, int32_t p, int32_t index, SFicPlugInStemInfo* info) { return FindType (t)->GetConnectionInfo (p, index, info); }
int32_t CProcessGroup::GetUnknown (uint32_t t, int32_t p, IACFUnknown** unknown) { return FindType (t)->GetUnknown (p, unknown); }

int32_t CProcessGroup::OnSelector49 (uint32_t t, int32_t p, int32_t control, SFicAutoTimeRampData* ramp) { return FindType (t)->ReservedOp1 (p, control, ramp); }
int32_t CProcessGroup::OnSelector73 (uint32_t t, int32_t p, int32_t a) { return FindType (t)->ReservedOp2 (p, a); }
int32_t CProcessGroup::OnSelector74 (uint32_t t, int32_t p, int32_t a) { return FindType (t)->ReservedOp3 (p, a); }
int32_t CProcessGroup::OnSelector50 (uint32_t t, int32_t p, int32_t a, uint8_t flag) { return FindType (t)->ReservedOp4 (p, a, flag); }
int32_t CProcessGroup::OnSelector55 (uint32_t t, int32_t p, int32_t a, char* text) { return FindType (t)->ReservedOp5 (p, a, text); }
int32_t CProcessGroup::OnSelector160 (uint32_t t, int32_t p, int32_t a, int32_t b, uint8_t flag) { return FindType (t)->ReservedOp6 (p, a, b, flag); }
int32_t CProcessGroup::OnSelector161 (uint32_t t, int32_t p, uint8_t* out) { return FindType (t)->ReservedOp7 (p, out); }
int32_t CProcessGroup::OnSelector162 (uint32_t t, int32_t p, int32_t a, void* data, uint8_t* out) { return FindType (t)->ReservedOp8 (p, a, data, out); }
int32_t CProcessGroup::OnSelector163 (uint32_t t, int32_t p) { return FindType (t)->ReservedOp9 (p); }
int32_t CProcessGroup::OnSelector164 (uint32_t t, int32_t p, int32_t a, int32_t b) { return FindType (t)->ReservedOp10 (p, a, b); }
int32_t CProcessGroup::OnSelector165 (uint32_t t, int32_t p, char* text) { return FindType (t)->ReservedOp11 (p, text); }
int32_t CProcessGroup::OnSelector171 (uint32_t t, int32_t p, void* data) { return FindType (t)->ReservedOp12 (p, data); }
int32_t CProcessGroup::OnSelector71 (uint32_t t, int32_t p, int32_t a, uint8_t flag) { return FindType (t)->ReservedOp14 (p, a, flag); }
int32_t CProcessGroup::OnSelector96 (uint32_t t, int32_t p, int16_t a, int16_t b, int16_t c, int16_t* out) { return FindType (t)->ReservedOp16 (p, a, b, c, out); }
int32_t CProcessGroup::OnSelector97 (uint32_t t, int32_t p, int16_t a, int16_t b, int16_t c, int16_t value, char* text) { return FindType (t)->ReservedOp17 (p, a, b, c, value, text); }
int32_t CProcessGroup::OnSelector102 (uint32_t t, int32_t p, int32_t a, int32_t b) { return FindType (t)->ReservedOp18 (p, a, b); }
int32_t CProcessGroup::OnSelector103 (uint32_t t, int32_t p, int16_t a, int32_t b, int32_t* out) { return FindType (t)->ReservedOp19 (p, a, b, out); }
int32_t CProcessGroup::OnSelector104 (uint32_t t, int32_t p, int32_t* out) { return FindType (t)->ReservedOp20 (p, out); }
int32_t CProcessGroup::OnSelector105 (uint32_t t, int32_t p, int32_t* out) { return FindType (t)->ReservedOp21 (p, out); }
int32_t CProcessGroup::OnSelector141 (uint32_t t, int32_t p, SFicPlugInSpec* spec, int32_t a, int32_t* out) { return FindType (t)->ReservedOp22 (p, spec, a, out); }
int32_t CProcessGroup::OnSelector142 (uint32_t t, int32_t p, SFicPlugInSpec* spec, int32_t a, int32_t* out) { return FindType (t)->ReservedOp23 (p, spec, a, out); }
int32_t CProcessGroup::OnSelector143 (uint32_t t, int32_t p, int32_t a, uint8_t flag) { return FindType (t)->ReservedOp24 (p, a, flag); }
int32_t CProcessGroup::OnSelector151 (uint32_t t, int32_t p, int32_t a, int32_t b) { return FindType (t)->ReservedOp25 (p, a, b); }
int32_t CProcessGroup::OnSelector152 (uint32_t t, int32_t p, int32_t a, int32_t* out) { return FindType (t)->ReservedOp26 (p, a, out); }
int32_t CProcessGroup::OnSelector153 (uint32_t t, int32_t p, int32_t* out) { return FindType (t)->ReservedOp27 (p, out); }
int32_t CProcessGroup::OnSelector154 (uint32_t t, int32_t p, int32_t a, int32_t b) { return FindType (t)->ReservedOp28 (p, a, b); }
int32_t CProcessGroup::OnSelector155 (uint32_t t, int32_t p, int32_t a, int32_t* out) { return FindType (t)->ReservedOp29 (p, a, out); }
int32_t CProcessGroup::OnSelector157 (uint32_t t, int32_t p, int32_t a, uint8_t flag) { return FindType (t)->ReservedOp30 (p, a, flag); }
int32_t CProcessGroup::OnSelector168 (uint32_t t, int32_t p, void* data) { return FindType (t)->ReservedOp31 (p, data); }
int32_t CProcessGroup::OnSelector169 (uint32_t t, int32_t p, SFileList* first, SFileList* second) { return FindType (t)->ReservedOp32 (p, first, second); }
int32_t CProcessGroup::OnSelector170 (uint32_t t, int32_t p, SFileList* first, SFileList* second, uint8_t flag) { return FindType (t)->ReservedOp33 (p, first, second, flag); }
int32_t CProcessGroup::OnSelector173 (uint32_t t, int32_t p) { return FindType (t)->ReservedOp34 (p); }

int32_t CProcessGroup::OnSelector25 (uint32_t t, int32_t* out) { return FindType (t)->GetZeroCountA (out); }
int32_t CProcessGroup::OnSelector10 (uint32_t t, int32_t p, int16_t* out) { return FindType (t)->GetNumInputs (p, out); }
int32_t CProcessGroup::OnSelector17 (uint32_t t, int32_t p, int16_t* out) { return FindType (t)->GetNumOutputs (p, out); }
int32_t CProcessGroup::GetStemFormats (uint32_t t, int32_t p, SFicPlugInStemFormats* formats) { return FindType (t)->GetTypeIDs (p, formats); }
int32_t CProcessGroup::OnSelector15 (uint32_t t, int32_t p, EventRecord* event) { return FindType (t)->ForwardToProcess (p, event); }
int32_t CProcessGroup::OnSelector79 (uint32_t t, int16_t* out) { return FindType (t)->GetZeroCountB (out); }
int32_t CProcessGroup::OnSelector166 (uint32_t t, int32_t p, char* text, int32_t* out) { return FindType (t)->CheckPointers (p, text, out); }
int32_t CProcessGroup::OnSelector167 (uint32_t t, int32_t p, int32_t* out) { return FindType (t)->CheckPointer (p, out); }
int32_t CProcessGroup::OnSelector133 (uint32_t t, int32_t p, uint32_t a, uint32_t b, int32_t* out) { return FindType (t)->AnswerOne (p, a, b, out); }
int32_t CProcessGroup::OnSelector134 (uint32_t t, int32_t p, uint32_t* out) { return FindType (t)->GetCardValue21 (p, out); }
int32_t CProcessGroup::OnSelector92 (uint32_t t, int32_t* out) { return FindType (t)->GetTypeKind (out); }
int32_t CProcessGroup::OnSelector59 (uint32_t t, int32_t p, int32_t a, int32_t b, int16_t* out) { return FindType (t)->AnswerZeroC (p, a, b, out); }
// clang-format on
