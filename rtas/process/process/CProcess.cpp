#include "process/process/CProcess.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "process/base/CDAEError.h"
#include "process/base/OutParameter.h"
#include "process/base/RoutineGuard.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/GlobalPlugInGroup.h"
#include "process/process/GroupValues.h"
#include "process/process/SDSConnection.h"
#include "process/process/SDSControlToken.h"
#include "process/type/CProcessType.h"
#include "process/utilities/PStrings.h"
#include "process/utilities/ViewlessMode.h"

namespace
{
constexpr int32_t kDefaultValueKind = 1;

int32_t SaturatedSum (int32_t value, int32_t delta)
{
    const int64_t sum = int64_t (value) + int64_t (delta);
    return static_cast<int32_t> (std::clamp<int64_t> (sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t NonNegative (int32_t length)
{
    return std::max (length, int32_t (0));
}

// A highlight's on flag is the low byte of the host's 16-bit word.
bool HighlightFlagOf (int16_t on)
{
    return (on & 0xff) != 0;
}
}

CProcess::CProcess()
{
    fSampleRate = CurrentGroupSampleRate();
    fSettingPair = CurrentGroupSettingPair();
}

CProcess::~CProcess()
{
    try
    {
        ReleaseSDS();
    }
    catch (...)
    {
    }
    fControls.DeleteAll();
}

void CProcess::Initialize()
{
    if (! IsViewlessMode())
        CreateAndStartView();
    if (HasSDS())
    {
        RoutineGuard guard (gRoutineLock);
        AllocateSDSArrays();
    }
    ThrowIfNonZero (ReserveInstanceName (0));
    ThrowIfNonZero (ReserveControlNames());
    ThrowIfNonZero (CreateControlListeners());
}

void CProcess::CreateAndStartView()
{
    fView = CreateView();
    ThrowIfNull (fView.get());
    try
    {
        fView->FinishCreate();
    }
    catch (...)
    {
        fView.reset();
        throw;
    }
}

void CProcess::AllocateSDSArrays()
{
    int16_t count = 0;
    GetNumControls (&count);
    fSDS.Allocate (count);
}

void CProcess::Teardown()
{
    ReleaseSDS();
    fView.reset();
}

void CProcess::ReleaseSDS()
{
    if (HasSDS())
    {
        RoutineGuard guard (gRoutineLock);
        DeleteControlListeners();
        FreeControlNames();
        FreeInstanceName();
    }
    fSDS.Free();
}

void CProcess::SetType (CProcessType* type)
{
    fType = type;
}

int32_t CProcess::Idle (EventRecord*)
{
    return ServiceSDSTokens();
}

// ---- Views ----

int32_t CProcess::InvalidateView (Rect* area)
{
    if (fView != nullptr)
        fView->Invalidate (area);
    return 0;
}

int32_t CProcess::HandleViewClick (EventRecord* event)
{
    if (fView != nullptr)
        fView->HandleClick (event);
    return 0;
}

int32_t CProcess::HandleViewEvent (EventRecord* event, uint8_t* handled)
{
    if (fView != nullptr)
        fView->HandleEvent (event, handled);
    else
        PutOut (handled, 0);
    return 0;
}

int32_t CProcess::GetViewRect (Rect* bounds)
{
    if (fView != nullptr)
        PutOut (bounds, fView->GetFrame());
    return 0;
}

int32_t CProcess::SetViewPort (OpaqueGrafPtr* port)
{
    if (fView == nullptr)
        return 0;
    fView->SetWindow (port);
    for (int32_t index = 1; index <= CountControls(); ++index)
    {
        uint32_t code = kNoViewID;
        GetControlViewCode (index, &code);
        if (code == kNoViewID)
            continue;
        IProcessView* subView = fView->FindSubViewByID (code);
        IProcessControlView* controlView = subView != nullptr ? subView->AsControlView() : nullptr;
        if (controlView == nullptr)
            continue;
        if (port != nullptr)
            controlView->SetControl (this, index, true);
        else
            controlView->SetControl (nullptr, 0, true);
    }
    return 0;
}

int32_t CProcess::MoveViewTo (Point where)
{
    if (IsViewlessMode())
        return kViewlessMoveAnswer;
    if (fView != nullptr)
        fView->MoveTo (where.h, where.v);
    return 0;
}

int32_t CProcess::ActivateView()
{
    if (fView != nullptr)
        fView->Activate();
    return 0;
}

int32_t CProcess::DeactivateView()
{
    if (fView != nullptr)
        fView->Deactivate();
    return 0;
}

std::unique_ptr<IProcessView> CProcess::CreateView()
{
    if (IsViewlessMode())
        return nullptr;
    const DefaultProcessViewMaker maker = GetDefaultProcessViewMaker();
    return maker != nullptr ? maker (*this) : nullptr;
}

int32_t CProcess::GetControlViewCode (int32_t index, uint32_t* code)
{
    PutOut (code, kNoViewID);
    if (const CPluginControl* control = GetControl (index))
    {
        PutOut (code, control->GetIdentifier());
        return 0;
    }
    if (IsViewlessMode() || fView == nullptr)
        return ProcessResult::kNoControlView;
    for (IProcessView* child = fView->GetFirstChild(); child != nullptr; child = child->GetNextSibling())
    {
        const IProcessControlView* controlView = child->AsControlView();
        if (controlView != nullptr && controlView->GetBoundControlIndex() == index)
        {
            PutOut (code, child->GetID());
            return 0;
        }
    }
    return ProcessResult::kNoControlView;
}

IProcessControlView* CProcess::FindControlView (int32_t index)
{
    if (IsViewlessMode() || fView == nullptr)
        return nullptr;
    uint32_t code = kNoViewID;
    if (GetControlViewCode (index, &code) != 0)
        return nullptr;
    IProcessView* subView = fView->FindSubViewByID (code);
    return subView != nullptr ? subView->AsControlView() : nullptr;
}

int32_t CProcess::SetControlHighlight (int32_t index, int16_t on, int16_t colour, int16_t extra, const uint8_t* text)
{
    if (IProcessControlView* view = FindControlView (index))
    {
        view->SetHighlighted (HighlightFlagOf (on));
        view->SetHighlight (colour, extra, text);
    }
    return 0;
}

int32_t CProcess::ControlValueChanged (int32_t index, int32_t value)
{
    const CPluginControl* control = GetControl (index);
    if (fView == nullptr || control == nullptr)
        return 0;
    IProcessView* subView = fView->FindSubViewByID (control->GetIdentifier());
    if (IProcessControlView* view = subView != nullptr ? subView->AsControlView() : nullptr)
        view->ShowValue (value);
    return 0;
}

int32_t CProcess::GetControlHighlight (int32_t index, int16_t* on, int16_t* colour)
{
    IProcessControlView* view = FindControlView (index);
    if (view == nullptr)
    {
        PutOut (on, 0);
        PutOut (colour, 0);
        return 0;
    }
    int16_t current = 0;
    int16_t extra = 0;
    uint8_t text[256] = {};
    view->GetHighlight (&current, &extra, text);
    PutOut (on, view->IsHighlighted() ? 1 : 0);
    PutOut (colour, current);
    return 0;
}

int32_t CProcess::SetControlHighlightInfo (int32_t index, int16_t on, int16_t colour)
{
    if (IProcessControlView* view = FindControlView (index))
    {
        view->SetHighlighted (HighlightFlagOf (on));
        int16_t current = 0;
        int16_t extra = 0;
        uint8_t text[256] = {};
        view->GetHighlight (&current, &extra, text);
        view->SetHighlight (colour, extra, text);
    }
    return 0;
}

int32_t CProcess::GetControlIndexAtPoint (Point where, int32_t* index)
{
    PutOut (index, 0);
    if (fView == nullptr)
        return 0;
    IProcessView* view = fView->FindViewAtPoint (where);
    while (view != nullptr && ! view->IsEnabled())
        view = view->GetParent();
    if (view != nullptr && index != nullptr)
        view->GetControlIndex (index);
    return 0;
}

// ---- Values the type broadcasts and the host stores ----

int32_t CProcess::SetSampleRate (int32_t sampleRate)
{
    fSampleRate = sampleRate;
    return 0;
}

int32_t CProcess::NotifyTypeValue (int32_t)
{
    return 0;
}

int32_t CProcess::SetMasterBypass (uint8_t)
{
    return 0;
}

int32_t CProcess::SetSettingPair (const SFicTimeCodeInfo* pair)
{
    if (pair != nullptr)
        fSettingPair = *pair;
    return 0;
}

int32_t CProcess::GetSettingFirst()
{
    return fSettingPair.fFirst;
}

int32_t CProcess::GetSettingSecond()
{
    return fSettingPair.fSecond;
}

void CProcess::SetTypeIndex (int16_t index)
{
    fTypeIndex = index;
}

int16_t CProcess::GetTypeIndex()
{
    return fTypeIndex;
}

void CProcess::SetInstanceID (int16_t id)
{
    fInstanceID = id;
}

int16_t CProcess::GetInstanceID()
{
    return fInstanceID;
}

void CProcess::SetUserValueA (int32_t value)
{
    fUserValueA = value;
}

int32_t CProcess::GetUserValueA()
{
    return fUserValueA;
}

void CProcess::SetUserValueB (int32_t value)
{
    fUserValueB = value;
}

int32_t CProcess::GetUserValueB()
{
    return fUserValueB;
}

int32_t CProcess::SetOptionA (int16_t value)
{
    if (! CanSetOptionA())
        return ProcessResult::kOptionANotSettable;
    fOptionA = value;
    return 0;
}

int32_t CProcess::SetOptionB (int16_t value)
{
    if (! CanSetOptionB())
        return ProcessResult::kOptionBNotSettable;
    fOptionB = value;
    return 0;
}

bool CProcess::CanSetOptionA()
{
    return false;
}

bool CProcess::CanSetOptionB()
{
    return false;
}

int32_t CProcess::SetProcessValue (int32_t, int32_t value)
{
    fProcessValue = value;
    return 0;
}

int32_t CProcess::SetOwnerValue (int32_t value)
{
    fOwnerValue = value;
    return 0;
}

void CProcess::SetFlagByte (uint8_t value)
{
    fFlagByte = value;
}

int32_t CProcess::GetPlugInSpec (SFicPlugInSpec* spec)
{
    if (spec != nullptr)
        std::memcpy (spec, &fPlugInSpec, sizeof fPlugInSpec);
    return 0;
}

int32_t CProcess::SetPlugInSpec (SFicPlugInSpec* spec)
{
    if (spec != nullptr)
        std::memcpy (&fPlugInSpec, spec, sizeof fPlugInSpec);
    return 0;
}

// ---- Connections ----

int32_t CProcess::IsInputConnected (int32_t, uint8_t* connected)
{
    PutOut (connected, 1);
    return 0;
}

int32_t CProcess::CanConnectOutput (int32_t, uint8_t* possible)
{
    PutOut (possible, 0);
    return 0;
}

int32_t CProcess::IsOutputConnected (int32_t, uint8_t* connected)
{
    PutOut (connected, 0);
    return 0;
}

int32_t CProcess::NotifyDSPConnect (int32_t, int32_t)
{
    return 0;
}

int32_t CProcess::NotifyDSPConnectOutput (int32_t, int32_t)
{
    return 0;
}

int32_t CProcess::NotifyDSPDisconnectInput (int32_t)
{
    return 0;
}

int32_t CProcess::NotifyDSPDisconnectOutput (int32_t)
{
    return 0;
}

int16_t CProcess::GetNumInputsOrThrow()
{
    int16_t count = 0;
    ThrowIfNonZero (GetNumInputs (&count));
    return count;
}

int16_t CProcess::GetNumOutputsOrThrow()
{
    int16_t count = 0;
    ThrowIfNonZero (GetNumOutputs (&count));
    return count;
}

void CProcess::FillPlugInSpecIDs (SFicPlugInSpec* spec)
{
    CProcessGroupInterface* group = PlugInGroup();
    ThrowIfNull (group);
    ThrowIfNull (spec);
    ThrowIfNonZero (group->GetTypeIDsByIndex (fTypeIndex, &spec->fManufacturerID, &spec->fProductID, &spec->fPlugInID));
    int32_t kind = 0;
    if (fType != nullptr)
        fType->GetTypeKind (&kind);
    if (kind != kFreshMetersTypeKind)
        return;
    const int32_t matched = group->MatchPlugInSpec (spec, kMatchOwnStemFormats, 0);
    if (matched != 0 && matched != GroupResult::kNoMatchingSpec)
        throw CDAEError (matched);
}

// ---- Controls ----

void CProcess::AddControl (CPluginControl* control)
{
    fControls.Add (control);
}

CPluginControl* CProcess::GetControl (int32_t index) const
{
    return IsValidControlIndex (index) ? fControls.GetAtValue (index) : nullptr;
}

int32_t CProcess::GetNumControls (int16_t* count)
{
    PutOut (count, std::min<int32_t> (CountControls(), std::numeric_limits<int16_t>::max()));
    return 0;
}

int32_t CProcess::GetMasterBypassControlIndex (int32_t* index)
{
    PutOut (index, 0);
    return 0;
}

int32_t CProcess::IsControlAutomatable (int32_t index, int16_t* automatable)
{
    const CPluginControl* control = GetControl (index);
    PutOut (automatable, control != nullptr && control->IsAutomatable() ? 1 : 0);
    return 0;
}

int32_t CProcess::GetControlStepCount (int32_t index, int32_t* steps)
{
    const CPluginControl* control = GetControl (index);
    PutOut (steps, control != nullptr ? control->StepCount() : 0);
    return 0;
}

int32_t CProcess::GetControlValueFromText (int32_t index, int32_t* value, const char* text)
{
    const CPluginControl* control = GetControl (index);
    if (control == nullptr)
    {
        PutOut (value, 0);
        return 0;
    }
    try
    {
        PutOut (value, control->TextToValue (text != nullptr ? text : ""));
    }
    catch (const CDAEError& error)
    {
        return error.Code();
    }
    return 0;
}

int32_t CProcess::IsControlCharacterAllowed (int32_t index, int16_t character, uint8_t* allowed)
{
    const CPluginControl* control = GetControl (index);
    PutOut (allowed, control != nullptr && control->IsAllowedCharacter (static_cast<uint16_t> (character)) ? 1 : 0);
    return 0;
}

int32_t CProcess::GetControlValueString (int32_t index, int32_t value, char* text, int32_t length)
{
    if (text == nullptr)
        return 0;
    const CPluginControl* control = GetControl (index);
    if (control == nullptr)
    {
        text[0] = 0;
        return 0;
    }
    control->ValueToText (text, NonNegative (length), value);
    CopyCToPStr (text, reinterpret_cast<uint8_t*> (text));
    return 0;
}

int32_t CProcess::GetControlName (int32_t index, char* name)
{
    if (name == nullptr)
        return 0;
    if (const CPluginControl* control = GetControl (index))
        control->GetNameToFit (name, kControlNameLength, static_cast<int32_t> (kControlNameCode));
    else
        name[0] = '\0';
    return 0;
}

int32_t CProcess::GetControlNameToFit (int32_t index, char* text, int32_t length, uint32_t code, int16_t* out)
{
    if (text == nullptr)
        return 0;
    int32_t result = 0;
    if (const CPluginControl* control = GetControl (index))
        control->GetNameToFit (text, NonNegative (length), static_cast<int32_t> (code));
    else
    {
        char name[kControlNameLength + 1] = {};
        result = GetControlName (index, name);
        CopyTextToFit (text, name, NonNegative (length));
    }
    PutOut (out, 0);
    return result;
}

int32_t CProcess::GetControlSDSName (int32_t index, char* name)
{
    GetControlName (index, name);
    return 0;
}

int32_t CProcess::GetControlValue (int32_t index, int32_t* value)
{
    const CPluginControl* control = GetControl (index);
    PutOut (value, control != nullptr ? control->GetValue() : 0);
    return 0;
}

int32_t CProcess::IncrementControlValue (int32_t index, int32_t delta)
{
    int32_t value = 0;
    GetControlValue (index, &value);
    SetControlValue (index, SaturatedSum (value, delta));
    return 0;
}

int32_t CProcess::IncrementControlValueDirect (int32_t index, int32_t delta)
{
    int32_t value = 0;
    GetControlValue (index, &value);
    UpdateControlValue (index, SaturatedSum (value, delta));
    return 0;
}

int32_t CProcess::GetControlDefaultValue (int32_t index, int32_t* value)
{
    if (const CPluginControl* control = GetControl (index))
    {
        PutOut (value, control->DefaultControlValue());
        return 0;
    }
    return GetControlValue (index, value);
}

int32_t CProcess::SetControlDefaultValue (int32_t index, int32_t value)
{
    if (CPluginControl* control = GetControl (index))
        control->StoreDefaultValue (value);
    return 0;
}

int32_t CProcess::SetControlSpecial (int32_t, int32_t, int32_t, int32_t*)
{
    return GroupResult::kNoControlSpecial;
}

int32_t CProcess::GetControlHostHint1 (int32_t index, int32_t* hint)
{
    const CPluginControl* control = GetControl (index);
    PutOut (hint, control != nullptr ? control->GetHostHint1() : 0);
    return 0;
}

int32_t CProcess::GetControlValueKind (int32_t index, int32_t* kind)
{
    const CPluginControl* control = GetControl (index);
    PutOut (kind, control != nullptr ? control->GetValueKind() : kDefaultValueKind);
    return 0;
}

int32_t CProcess::GetControlHostHint2 (int32_t index, int32_t* hint)
{
    const CPluginControl* control = GetControl (index);
    PutOut (hint, control != nullptr ? control->GetHostHint2() : 0);
    return 0;
}

int32_t CProcess::GetControlText (int32_t index, int32_t value, char* text, int32_t length)
{
    if (text == nullptr)
        return 0;
    if (length >= kControlTextLengthOffset)
        length -= kControlTextLengthOffset;
    length = NonNegative (length);
    if (const CPluginControl* control = GetControl (index))
    {
        control->ValueToText (text, length, value);
        return 0;
    }
    char local[kPStrMaxLength + 1] = {};
    GetControlValueString (index, value, local, std::min<int32_t> (length, kPStrMaxLength));
    const auto count = std::min<int32_t> (length, static_cast<uint8_t> (local[0]));
    std::memcpy (text, local + 1, static_cast<size_t> (count));
    text[count] = '\0';
    return 0;
}

int32_t CProcess::UpdateControlValue (int32_t index, int32_t value)
{
    int32_t result = 0;
    if (CPluginControl* control = GetControl (index))
    {
        control->SetValue (value);
        OnControlChanged (index);
        if (HasSDS() && fSDS.Entry (index) != nullptr)
            result = DispatchControlToken (index, SDSToken::kCurrentValue, SDSToken::kControlValue, value);
    }
    ++fChangeCounter;
    return result;
}

void CProcess::OnControlChanged (int32_t) {}

int32_t CProcess::SetControlValue (int32_t index, int32_t value)
{
    if (! IsValidControlIndex (index))
        return 0;
    if (HasSDS() && fSDS.Entry (index) != nullptr)
    {
        BeginControlTouch (index);
        const int32_t result = DispatchControlToken (index, SDSToken::kSetValue, SDSToken::kControlValue, value);
        EndControlTouch (index);
        return result;
    }
    UpdateControlValue (index, value);
    ControlValueChanged (index, value);
    return 0;
}

int32_t CProcess::GetChangeCount (int32_t* count)
{
    const auto changes = static_cast<int32_t> (fChangeCounter);
    if (changes >= 0)
        PutOut (count, changes);
    return 0;
}

// ---- Page tables ----

PageTable CProcess::GetPageTable (uint32_t code)
{
    return fType != nullptr ? fType->GetPageTable (code) : PageTable {};
}

int32_t CProcess::GetPageCount (uint32_t table, int16_t surface)
{
    return PageCount (GetPageTable (table), surface);
}

int32_t CProcess::GetPageControl (uint32_t table, int16_t surface, int16_t page, int16_t slot)
{
    return PageControl (GetPageTable (table), surface, page, slot);
}

int32_t CProcess::HasPageLayout (uint32_t table, int16_t surface)
{
    return ::HasPageLayout (GetPageTable (table), surface) ? 1 : 0;
}

// ---- Bypass, options and card flags ----

int32_t CProcess::IsMasterBypassed (uint8_t* bypassed)
{
    PutOut (bypassed, 0);
    return 0;
}

int32_t CProcess::QueryOption (int32_t, uint8_t* answer)
{
    PutOut (answer, 0);
    return 0;
}

int32_t CProcess::GetBypassIndexIfCardFlag (uint32_t mask, uint32_t* index)
{
    PutOut (index, 0);
    if (fType == nullptr)
        return 0;
    uint32_t flags = 0;
    const int32_t result = fType->GetCardValue21 (fInstanceID, &flags);
    if ((mask & flags) != 0)
    {
        int32_t bypassIndex = 0;
        GetMasterBypassControlIndex (&bypassIndex);
        PutOut (index, bypassIndex);
    }
    return result;
}

// ---- Meters ----

int32_t CProcess::GetNumMeters (int32_t* count)
{
    PutOut (count, 0);
    return 0;
}

int32_t CProcess::GetMeterValues (int32_t count, int32_t* values)
{
    if (count > 0)
        PutOut (values, 0);
    return 0;
}

int32_t CProcess::GetMeterOrientation (int32_t, EMeterOrientation* orientation)
{
    PutOut (orientation, 0);
    return 0;
}

int32_t CProcess::GetNumMetersOfType (EMeterType, int32_t* count)
{
    PutOut (count, 0);
    return 0;
}

int32_t CProcess::GetMeterIndexOfType (EMeterType, int32_t, int32_t* index)
{
    PutOut (index, 0);
    return 0;
}

int32_t CProcess::IsClipped (uint8_t* clipped)
{
    PutOut (clipped, 0);
    return 0;
}

int32_t CProcess::ClearClipIndicators()
{
    return 0;
}

void CProcess::ReadRawMeters (int32_t*, uint8_t*) {}

// ---- Chunks ----

int32_t CProcess::GetNumChunks (int32_t* count)
{
    PutOut (count, 0);
    return 0;
}

int32_t CProcess::GetChunkID (int32_t, uint32_t* chunkID)
{
    PutOut (chunkID, kNoChunkID);
    return ProcessResult::kNoSuchChunk;
}

int32_t CProcess::GetChunkName (uint32_t, uint8_t* name)
{
    PutOut (name, 0);
    return ProcessResult::kNoSuchChunk;
}

int32_t CProcess::GetChunkSize (uint32_t, int32_t* size)
{
    PutOut (size, 0);
    return ProcessResult::kNoSuchChunk;
}

int32_t CProcess::GetChunk (uint32_t, SFicPlugInChunk*)
{
    return ProcessResult::kNoSuchChunk;
}

int32_t CProcess::SetChunk (uint32_t, SFicPlugInChunk*)
{
    return ProcessResult::kNoSuchChunk;
}

int32_t CProcess::RestoreControlsFromChunk (SFicPlugInChunk*, uint8_t* changed)
{
    PutOut (changed, 0);
    return 0;
}

// ---- Latency, stream formats and what the host asks without a meaning here ----

int32_t CProcess::GetLatencyShort (int16_t* latency)
{
    PutOut (latency, 0);
    return 0;
}

int32_t CProcess::GetLatency (int32_t* latency)
{
    int16_t samples = 0;
    const int32_t result = GetLatencyShort (&samples);
    PutOut (latency, samples);
    return result;
}

int32_t CProcess::GetStreamFormat (int16_t, int16_t, char*)
{
    return 0;
}

int32_t CProcess::CheckStreamFormat (int16_t, int16_t, char*)
{
    return 0;
}

int32_t CProcess::GetDefaultStreamInfo()
{
    return GroupResult::kUnsupported;
}

int32_t CProcess::GetBaseName (char* name)
{
    if (name != nullptr)
        std::memcpy (name, kUndefinedBaseName, std::strlen (kUndefinedBaseName) + 1);
    return 0;
}

int32_t CProcess::GetInfoString (int32_t, uint8_t*)
{
    return GroupResult::kUnsupported;
}

int32_t CProcess::HandleOtherToken (uint8_t*)
{
    return 0;
}

int32_t CProcess::GetNumConnectionInfos (int32_t*)
{
    return GroupResult::kUnsupported;
}

int32_t CProcess::GetConnectionInfo (int32_t, SFicPlugInStemInfo*)
{
    return GroupResult::kUnsupported;
}

int32_t CProcess::GetUnknown (IACFUnknown** unknown)
{
    PutOut (unknown, nullptr);
    return 0;
}

int32_t CProcess::ReleaseDirectMIDI()
{
    return 0;
}

int32_t CProcess::ReservedOp1 (int32_t, SFicAutoTimeRampData*)
{
    return 0;
}

int32_t CProcess::ReservedOp2 (int32_t)
{
    return 0;
}

int32_t CProcess::ReservedOp3 (int32_t)
{
    return 0;
}

int32_t CProcess::ReservedOp4 (int32_t, uint8_t)
{
    return 0;
}

int32_t CProcess::ReservedOp5 (int32_t, char*)
{
    return 0;
}

int32_t CProcess::ReservedOp6 (int32_t, int32_t, uint8_t)
{
    return 0;
}

int32_t CProcess::ReservedOp7 (uint8_t*)
{
    return 0;
}

int32_t CProcess::ReservedOp8 (int32_t, void*, uint8_t*)
{
    return 0;
}

int32_t CProcess::ReservedOp9()
{
    return 0;
}

int32_t CProcess::ReservedOp10 (int32_t, int32_t)
{
    return 0;
}

int32_t CProcess::ReservedOp11 (char*)
{
    return 0;
}

int32_t CProcess::ReservedOp12 (void*)
{
    return 0;
}

int32_t CProcess::ReservedOp13 (uint8_t)
{
    return 0;
}

int32_t CProcess::ReservedOp14 (int32_t, uint8_t)
{
    return 0;
}

int32_t CProcess::ReservedOp15 (uint8_t)
{
    return 0;
}

int32_t CProcess::ReservedOp16 (int16_t, int16_t, int16_t, int16_t*)
{
    return 0;
}

int32_t CProcess::ReservedOp17 (int16_t, int16_t, int16_t, int16_t, char*)
{
    return 0;
}

int32_t CProcess::ReservedOp18 (int32_t, int32_t)
{
    return 0;
}

int32_t CProcess::ReservedOp19 (int16_t, int32_t, int32_t*)
{
    return 0;
}

int32_t CProcess::ReservedOp20 (int32_t*)
{
    return 0;
}

int32_t CProcess::ReservedOp21 (int32_t*)
{
    return 0;
}

int32_t CProcess::ReservedOp22 (SFicPlugInSpec*, int32_t, int32_t* out)
{
    PutOut (out, 0);
    return 0;
}

int32_t CProcess::ReservedOp23 (SFicPlugInSpec*, int32_t, int32_t* out)
{
    PutOut (out, 0);
    return 0;
}

int32_t CProcess::ReservedOp24 (int32_t, uint8_t)
{
    return 0;
}

int32_t CProcess::ReservedOp25 (int32_t, int32_t)
{
    return 0;
}

int32_t CProcess::ReservedOp26 (int32_t, int32_t*)
{
    return 0;
}

int32_t CProcess::ReservedOp27 (int32_t*)
{
    return 0;
}

int32_t CProcess::ReservedOp28 (int32_t, int32_t)
{
    return 0;
}

int32_t CProcess::ReservedOp29 (int32_t, int32_t*)
{
    return 0;
}

int32_t CProcess::ReservedOp30 (int32_t, uint8_t)
{
    return 0;
}

int32_t CProcess::ReservedOp31 (void*)
{
    return 0;
}

int32_t CProcess::ReservedOp32 (SFileList*, SFileList*)
{
    return 0;
}

int32_t CProcess::ReservedOp33 (SFileList*, SFileList*, uint8_t)
{
    return 0;
}

int32_t CProcess::ReservedOp34()
{
    return 0;
}
