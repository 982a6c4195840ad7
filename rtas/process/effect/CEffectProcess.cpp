#include "process/effect/CEffectProcess.h"

#include <algorithm>
#include <cstring>

#include "process/base/CDAEError.h"
#include "process/base/OutParameter.h"
#include "process/controls/CPluginControl_Continuous.h"
#include "process/controls/CPluginControl_OnOff.h"
#include "process/effect/CEffectGroup.h"
#include "process/effect/CEffectType.h"
#include "process/group/GlobalPlugInGroup.h"
#include "process/utilities/PStrings.h"

namespace
{
// The host's chunk names are 32-byte length-prefixed strings.
constexpr size_t kChunkNameLimit = kFixedNameSize - 1;
constexpr int32_t kControlTextLimit = kPStrMaxLength;

// A control's entry name: its identifier's four characters, most significant first, as a
// zero-terminated text (a zero byte ends it early).
std::string EntryName (uint32_t identifier)
{
    const char characters[5] = { static_cast<char> (identifier >> 24), static_cast<char> (identifier >> 16),
                                 static_cast<char> (identifier >> 8), static_cast<char> (identifier), 0 };
    return std::string (characters);
}

void CopyToPascal (const std::string& text, size_t limit, uint8_t* destination)
{
    CopyCToPStr (text.substr (0, limit).c_str(), destination);
}
}

CEffectProcess::CEffectProcess()
{
    AddChunk (kControlsChunkID, kControlsChunkName);
}

void CEffectProcess::AddChunk (uint32_t chunkID, const char* name)
{
    fChunks.push_back ({ chunkID, name != nullptr ? name : "", kUnsizedChunk });
    if (chunkID != kControlsChunkID && chunkID != kMIDIChunkID)
        fHasOtherChunks = true;
}

CEffectType* CEffectProcess::GetEffectType() const
{
    return dynamic_cast<CEffectType*> (GetType());
}

void CEffectProcess::Initialize()
{
    if (CEffectType* type = GetEffectType())
    {
        const int32_t id = GetInstanceID();
        type->GetNumInputs (id, &fNumInputs);
        type->GetNumOutputs (id, &fNumOutputs);
        type->GetTypeKind (&fTypeKind);
        type->GetTypeIDs (id, &fStemFormats);
        type->GetCardInfo (EffectCardInfo::kSideChainInput, &fSideChainInput);
    }
    fMeterBlock.AttachProcess (this);
    SetUpEffect();
    std::fill (fMeterValues.begin(), fMeterValues.end(), 0);
    std::fill (fClipFlags.begin(), fClipFlags.end(), uint8_t (0));
    CDSPProcess::Initialize();
    fSavedControls = CountControls() - static_cast<int32_t> (fLeftOut.size());
}

void CEffectProcess::SetUpEffect()
{
}

int32_t CEffectProcess::GetNumInputs (int16_t* count)
{
    PutOut (count, fNumInputs);
    return 0;
}

int32_t CEffectProcess::GetNumOutputs (int16_t* count)
{
    PutOut (count, fNumOutputs);
    return 0;
}

// ---- Master bypass ----

int32_t CEffectProcess::GetMasterBypassControlIndex (int32_t* index)
{
    PutOut (index, fMasterBypassIndex);
    return 0;
}

int32_t CEffectProcess::IsMasterBypassed (uint8_t* bypassed)
{
    PutOut (bypassed, false);
    // An index that names no control is no bypass (a missing control would read as on).
    if (fMasterBypassIndex == 0 || ! IsValidControlIndex (fMasterBypassIndex))
        return 0;
    int32_t value = 0;
    const int32_t result = GetControlValue (fMasterBypassIndex, &value);
    PutOut (bypassed, IsControlValueOn (value));
    return result;
}

int32_t CEffectProcess::SetMasterBypass (uint8_t on)
{
    if (fMasterBypassIndex == 0)
        return 0;
    return UpdateControlValue (fMasterBypassIndex, on != 0 ? kControlValueOn : kControlValueOff);
}

// ---- Chunks ----

const CEffectProcess::ChunkEntry* CEffectProcess::FindChunk (uint32_t chunkID) const
{
    const auto found = std::find_if (fChunks.begin(), fChunks.end(), [chunkID] (const ChunkEntry& entry) { return entry.id == chunkID; });
    return found != fChunks.end() ? &*found : nullptr;
}

int32_t CEffectProcess::GetNumChunks (int32_t* count)
{
    const auto chunks = static_cast<int32_t> (fChunks.size());
    PutOut (count, fSavedControls > 0 ? chunks : chunks - 1);
    return 0;
}

int32_t CEffectProcess::GetChunkID (int32_t index, uint32_t* chunkID)
{
    // Without saved controls the controls chunk, the table's first entry, is skipped.
    const int32_t position = fSavedControls > 0 ? index : index + 1;
    if (index < 1 || position > static_cast<int32_t> (fChunks.size()))
        return CDSPProcess::GetChunkID (index, chunkID);
    PutOut (chunkID, fChunks[static_cast<size_t> (position - 1)].id);
    return 0;
}

int32_t CEffectProcess::GetChunkName (uint32_t chunkID, uint8_t* name)
{
    if (const ChunkEntry* entry = FindChunk (chunkID); entry != nullptr && name != nullptr)
        CopyToPascal (entry->name, kChunkNameLimit, name);
    return 0;
}

int32_t CEffectProcess::GetChunkSize (uint32_t chunkID, int32_t* size)
{
    if (chunkID == kControlsChunkID)
    {
        PutOut (size, ControlsChunkSize());
        return 0;
    }
    if (const ChunkEntry* entry = FindChunk (chunkID); entry != nullptr && fHasOtherChunks)
    {
        PutOut (size, entry->size + kChunkHeaderSize);
        return 0;
    }
    return CDSPProcess::GetChunkSize (chunkID, size);
}

int32_t CEffectProcess::GetChunk (uint32_t chunkID, SFicPlugInChunk* chunk)
{
    if (chunkID != kControlsChunkID)
        return CDSPProcess::GetChunk (chunkID, chunk);
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    const int32_t capacity = ControlsChunkSize();
    BuildControlsChunk();
    return fControlsParser.WriteChunk (chunk, capacity);
}

int32_t CEffectProcess::SetChunk (uint32_t chunkID, SFicPlugInChunk* chunk)
{
    if (chunkID != kControlsChunkID)
        return 0;
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    ReadControlsChunk (chunk);
    for (int32_t index = 1; index <= CountControls(); ++index)
        if (! IsMasterBypassIndex (index))
            RestoreControl (index, false);
    return 0;
}

int32_t CEffectProcess::RestoreControlsFromChunk (SFicPlugInChunk* chunk, uint8_t* matches)
{
    PutOut (matches, true);
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    if (chunk->fChunkID != kControlsChunkID)
        return 0;
    ReadControlsChunk (chunk);
    for (int32_t index = 1; index <= CountControls(); ++index)
    {
        if (! IsMasterBypassIndex (index) && ControlDiffersFromChunk (index))
        {
            PutOut (matches, false);
            break;
        }
    }
    return 0;
}

void CEffectProcess::ReadControlsChunk (const SFicPlugInChunk* chunk)
{
    fControlsParser.ReadChunk (chunk);
}

int32_t CEffectProcess::RestoreControl (int32_t index, bool update)
{
    const CPluginControl* control = GetControl (index);
    if (control == nullptr)
        return 0;
    const std::string name = EntryName (control->GetIdentifier());
    int32_t value = 0;
    if (const auto* continuous = dynamic_cast<const CPluginControl_Continuous*> (control))
    {
        double stored = 0.0;
        if (! fControlsParser.GetDouble (name, &stored))
            return 0;
        value = continuous->ContinuousToControlValue (stored);
    }
    else if (const auto* discrete = dynamic_cast<const CPluginControl_Discrete*> (control))
    {
        int32_t stored = 0;
        if (! fControlsParser.GetLong (name, &stored))
            return 0;
        value = discrete->ControlValueFromInteger (stored);
    }
    else
    {
        return RTASError::kUnexpected;
    }
    return update ? UpdateControlValue (index, value) : SetControlValue (index, value);
}

bool CEffectProcess::ControlDiffersFromChunk (int32_t index)
{
    const CPluginControl* control = GetControl (index);
    if (control == nullptr)
        return false;
    const std::string name = EntryName (control->GetIdentifier());
    if (const auto* continuous = dynamic_cast<const CPluginControl_Continuous*> (control))
    {
        double stored = 0.0;
        if (! fControlsParser.GetDouble (name, &stored))
            return false;
        char storedText[kControlTextLimit + 1] = {};
        char currentText[kControlTextLimit + 1] = {};
        continuous->ValueToText (storedText, kControlTextLimit, continuous->ContinuousToControlValue (stored));
        continuous->ValueToText (currentText, kControlTextLimit, continuous->GetValue());
        return std::strcmp (storedText, currentText) != 0;
    }
    if (const auto* discrete = dynamic_cast<const CPluginControl_Discrete*> (control))
    {
        int32_t stored = 0;
        if (! fControlsParser.GetLong (name, &stored))
            return false;
        return discrete->ControlValueFromInteger (stored) != discrete->ControlValueFromInteger (discrete->GetIntegerValue());
    }
    return false;
}

int32_t CEffectProcess::BuildControlsChunk()
{
    fControlsParser.Clear();
    for (int32_t index = 1; index <= CountControls(); ++index)
    {
        const CPluginControl* control = GetControl (index);
        if (fLeftOut.count (control->GetIdentifier()) != 0)
            continue;
        const std::string name = EntryName (control->GetIdentifier());
        if (const auto* continuous = dynamic_cast<const CPluginControl_Continuous*> (control))
            fControlsParser.AddDouble (name, continuous->GetContinuousValue());
        else if (const auto* discrete = dynamic_cast<const CPluginControl_Discrete*> (control))
            fControlsParser.AddLong (name, discrete->GetIntegerValue());
    }
    return fControlsParser.GetDataSize();
}

int32_t CEffectProcess::ControlsChunkSize()
{
    if (fControlsChunkSize == 0)
        fControlsChunkSize = BuildControlsChunk() + kChunkHeaderSize;
    return fControlsChunkSize;
}

// ---- Texts, names and view events ----

void CEffectProcess::SetInfoString (int32_t key, const std::string& text)
{
    fInfoTexts[key] = text;
}

int32_t CEffectProcess::GetInfoString (int32_t key, uint8_t* text)
{
    const auto held = fInfoTexts.find (key);
    if (held != fInfoTexts.end() && text != nullptr)
        CopyToPascal (held->second, kPStrMaxLength, text);
    return 0;
}

int32_t CEffectProcess::GetBaseName (char* name)
{
    if (name == nullptr)
        return 0;
    name[0] = 0;
    if (auto* group = dynamic_cast<CEffectGroup*> (PlugInGroup()))
        group->GetBaseName (name);
    return 0;
}

int32_t CEffectProcess::HandleViewEvent (EventRecord* event, uint8_t* handled)
{
    if (IProcessView* view = GetView())
        view->HandleEvent (event, handled);
    if (handled != nullptr && *handled == 0)
        *handled = AnswerEvent (event);
    return 0;
}

int32_t CEffectProcess::HandleForwardedEvent (EventRecord*)
{
    return 0;
}

uint8_t CEffectProcess::AnswerEvent (EventRecord*)
{
    return 0;
}

void CEffectProcess::SetSideChainConnected()
{
    fSideChainConnected = true;
}

void CEffectProcess::ClearSideChainConnected()
{
    fSideChainConnected = false;
}

// ---- Meters ----

void CEffectProcess::AddMeter (EMeterType type, EMeterOrientation orientation)
{
    fMeterBlock.AddMeter (std::make_unique<CMeter> (type, orientation));
    fMeterValues.push_back (0);
    fClipFlags.push_back (0);
}

void CEffectProcess::ReadMeterArrays (bool reset)
{
    if (fMeterValues.empty())
        return;
    fMeterBlock.ReadMeters (kHostMeterReaderTag, fMeterValues.data(), fClipFlags.data(), kAllMeters, nullptr, reset);
}

int32_t CEffectProcess::GetNumMeters (int32_t* count)
{
    PutOut (count, fMeterBlock.GetNumMeters());
    return 0;
}

int32_t CEffectProcess::GetMeterValues (int32_t count, int32_t* values)
{
    ReadMeterArrays (false);
    if (values != nullptr && count > 0)
    {
        const size_t copied = std::min (static_cast<size_t> (count), fMeterValues.size());
        std::copy_n (fMeterValues.begin(), copied, values);
    }
    return 0;
}

int32_t CEffectProcess::GetMeterOrientation (int32_t meter, EMeterOrientation* orientation)
{
    const CMeter* found = fMeterBlock.GetMeter (meter);
    PutOut (orientation, found != nullptr ? found->GetOrientation() : EMeterOrientation {});
    return 0;
}

int32_t CEffectProcess::GetNumMetersOfType (EMeterType type, int32_t* count)
{
    PutOut (count, fMeterBlock.CountMetersOfType (type));
    return 0;
}

int32_t CEffectProcess::GetMeterIndexOfType (EMeterType type, int32_t which, int32_t* index)
{
    PutOut (index, fMeterBlock.FindMeterOfType (type, which));
    return 0;
}

int32_t CEffectProcess::IsClipped (uint8_t* clipped)
{
    if (! fClipHeld)
    {
        ReadMeterArrays (false);
        fClipHeld = std::any_of (fClipFlags.begin(), fClipFlags.end(), [] (uint8_t flag) { return flag != 0; });
    }
    PutOut (clipped, fClipHeld);
    return 0;
}

int32_t CEffectProcess::ClearClipIndicators()
{
    ReadMeterArrays (true);
    fClipHeld = false;
    return 0;
}

// ---- Connection information ----

int32_t CEffectProcess::GetNumConnectionInfos (int32_t* count)
{
    PutOut (count, fConnectionInfos.Count());
    return 0;
}

int32_t CEffectProcess::GetConnectionInfo (int32_t index, SFicPlugInStemInfo* info)
{
    if (index < 0 || index >= fConnectionInfos.Count())
        return RTASError::kNoInfoEntry;
    fConnectionInfos.GetInfoAt (index, info);
    return 0;
}
