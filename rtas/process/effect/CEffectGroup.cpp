#include "process/effect/CEffectGroup.h"

#include <algorithm>
#include <cstring>

#include "process/base/CDAEError.h"
#include "process/base/OutParameter.h"
#include "process/controls/CPluginControl.h"
#include "process/effect/CEffectType.h"
#include "process/utilities/PStrings.h"

namespace
{
constexpr const char* kBaseNameRoot = "Plug-Ins/";
constexpr int32_t kNoStemFormat = -1;

// The name that fits maxLength characters, as a length-prefixed string in place.
void CopyNameToFitAsPascal (char* buffer, const std::string& name, int32_t maxLength)
{
    if (buffer == nullptr)
        return;
    CopyNameToFit (buffer, name.c_str(), std::max (0, maxLength));
    CopyCToPStr (buffer, reinterpret_cast<uint8_t*> (buffer));
}

std::string NameToFit (const std::string& name, int32_t maxLength)
{
    std::string fitted (static_cast<size_t> (maxLength) + 1, '\0');
    CopyNameToFit (fitted.data(), name.c_str(), maxLength);
    return fitted.c_str();
}

bool HasChannelCounts (CEffectType& type, int32_t inputs, int32_t outputs)
{
    int16_t typeInputs = 0;
    int16_t typeOutputs = 0;
    type.GetNumInputs (0, &typeInputs);
    type.GetNumOutputs (0, &typeOutputs);
    return typeInputs == inputs && typeOutputs == outputs;
}

bool IsMonoOrStereo (int32_t channels)
{
    return channels == 1 || channels == 2;
}
}

int32_t CEffectGroup::GetGroupVersion()
{
    return fVersion;
}

int32_t CEffectGroup::GetGroupName (int32_t maxLength, char* name)
{
    CopyNameToFitAsPascal (name, fManufacturerName, maxLength);
    return 0;
}

int32_t CEffectGroup::GetGroupAltName (char* name, int32_t maxLength)
{
    CopyNameToFitAsPascal (name, fProductName, maxLength);
    return 0;
}

void CEffectGroup::GetBaseName (char* name)
{
    if (fBaseName.empty())
        fBaseName = kBaseNameRoot + NameToFit (fManufacturerName, kBaseNamePartLimit) + "/"
                    + NameToFit (fProductName, kBaseNamePartLimit) + "/" + std::to_string (fVersion & 0xff);
    if (name == nullptr)
        return;
    std::strncpy (name, fBaseName.c_str(), kBaseNameSize - 1);
    name[kBaseNameSize - 1] = 0;
}

int32_t CEffectGroup::GetCardInfo (uint32_t typeID, int32_t key, int32_t* value)
{
    if (key == EffectCardInfo::kMIDI)
    {
        PutOut (value, value != nullptr && *value == kMIDICapabilityQuery ? kMIDICapabilityAnswer : 0);
        return 0;
    }
    if (fCapabilities.count (key) != 0)
    {
        PutOut (value, 1);
        return 0;
    }
    PutOut (value, 0);
    return CDSPProcessGroup::GetCardInfo (typeID, key, value);
}

int32_t CEffectGroup::GetTypeIDsByIndex (int32_t index, uint32_t* manufacturer, uint32_t* product, uint32_t* typeID)
{
    auto* type = dynamic_cast<CEffectType*> (FindTypeByIndex (static_cast<int16_t> (index)));
    if (type == nullptr)
        return RTASError::kNotAnEffectType;
    if (const int32_t result = type->GetProductID (typeID))
        return result;
    PutOut (manufacturer, fManufacturerCode);
    PutOut (product, type->GetProductCode());
    return 0;
}

// ---- Chunks ----

int32_t CEffectGroup::GetChunk (uint32_t typeID, int32_t process, uint32_t chunkID, SFicPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    chunk->fVersion = fVersion;
    chunk->fManufacturerID = fManufacturerCode;
    return CDSPProcessGroup::GetChunk (typeID, process, chunkID, chunk);
}

int32_t CEffectGroup::SetChunk (uint32_t typeID, int32_t process, uint32_t chunkID, SFicPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    if (chunk->fManufacturerID != fManufacturerCode)
        return RTASError::kWrongProduct;
    return CDSPProcessGroup::SetChunk (typeID, process, chunkID, chunk);
}

int32_t CEffectGroup::RestoreControlsFromChunk (uint32_t typeID, int32_t process, SFicPlugInChunk* chunk, uint8_t* matches)
{
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    if (chunk->fManufacturerID != fManufacturerCode)
        return RTASError::kWrongProduct;
    return CDSPProcessGroup::RestoreControlsFromChunk (typeID, process, chunk, matches);
}

// ---- Matching a configuration ----

CEffectType* CEffectGroup::RequestedType (const SFicPlugInSpec& request)
{
    return dynamic_cast<CEffectType*> (FindType (request.fPlugInID));
}

int32_t CEffectGroup::MatchPlugInSpec (SFicPlugInSpec* request, int32_t inputs, int32_t outputs)
{
    if (request == nullptr)
        return RTASError::kNoMatchingType;
    CEffectType* type = RequestedType (*request);
    if (type == nullptr)
        return RTASError::kNoMatchingType;
    int32_t kind = 0;
    type->GetTypeKind (&kind);
    if (inputs == kMatchOwnStemFormats)
    {
        // The type's own configuration: the channel counts of its stem formats.
        int16_t typeInputs = 0;
        int16_t typeOutputs = 0;
        type->GetNumInputs (0, &typeInputs);
        type->GetNumOutputs (0, &typeOutputs);
        inputs = typeInputs;
        outputs = typeOutputs;
    }
    else
    {
        outputs = kind;
    }
    if (! IsMonoOrStereo (inputs) || ! IsMonoOrStereo (outputs))
        return 0;
    return MatchPlugInSpecStems (request, kind, inputs, outputs, inputs == 2 ? 1 : 0, outputs == 2 ? 1 : 0);
}

int32_t CEffectGroup::MatchPlugInSpecStems (SFicPlugInSpec* request, int32_t kind, int32_t inputs, int32_t outputs,
                                            int32_t inputFormat, int32_t outputFormat)
{
    if (request == nullptr || request->fManufacturerID != fManufacturerCode)
        return RTASError::kNoMatchingType;
    const CEffectType* requested = RequestedType (*request);
    if (requested == nullptr)
        return RTASError::kNoMatchingType;
    const uint32_t requestedFamily = requested->GetFamilyCode();
    const SFicPlugInSpec original = *request;
    for (CProcessType* candidate : Types())
    {
        auto* type = dynamic_cast<CEffectType*> (candidate);
        if (type == nullptr)
            continue;
        request->fPlugInID = type->GetTypeID();
        request->fProductID = type->GetProductCode();
        int32_t typeKind = 0;
        type->GetTypeKind (&typeKind);
        const bool formatsMatch = type->GetInputStemFormat() == inputFormat && type->GetOutputStemFormat() == outputFormat;
        const bool countsMatter = inputFormat == kNoStemFormat || outputFormat == kNoStemFormat;
        if (type->GetFamilyCode() == requestedFamily && typeKind == kind && formatsMatch
            && (! countsMatter || HasChannelCounts (*type, inputs, outputs)))
            return 0;
    }
    *request = original;
    return RTASError::kNoMatchingType;
}
