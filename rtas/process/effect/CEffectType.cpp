#include "process/effect/CEffectType.h"

#include "process/base/CDAEError.h"
#include "process/base/OutParameter.h"
#include "process/dsp/DsiCompat.h"
#include "process/effect/CEffectProcess.h"
#include "process/utilities/PStrings.h"
#include "process/utilities/StemFormats.h"

namespace
{
constexpr int32_t kNoStemFormat = -1;
constexpr int32_t kBypassFlagsAnswer = 2;

// The name as a length-prefixed string of at most 255 characters.
void CopyNameToPascal (const std::string& text, void* destination)
{
    CopyCToPStr (text.substr (0, kPStrMaxLength).c_str(), static_cast<uint8_t*> (destination));
}

int32_t ChannelsOf (int32_t stemFormatIndex)
{
    return stemFormatIndex == kNoStemFormat ? 0 : MapFormatIndexToCode (stemFormatIndex);
}
}

CEffectType::CEffectType (uint32_t typeID) : fTypeID (typeID)
{
    AddCapability (EffectCardInfo::kEveryEffect);
}

void CEffectType::AddCapability (int32_t code)
{
    fCapabilities.insert (code == EffectCardInfo::kExtraStems ? EffectCardInfo::kExtraStemsStored : code);
}

void CEffectType::DefineStemFormats (int32_t inputIndex, int32_t outputIndex)
{
    // Both counts first: an index the library does not know changes nothing.
    const int32_t inputs = ChannelsOf (inputIndex);
    const int32_t outputs = ChannelsOf (outputIndex);
    fInputStemFormat = inputIndex;
    fOutputStemFormat = outputIndex;
    if (inputIndex != kNoStemFormat)
        fNumInputs = inputs;
    if (outputIndex != kNoStemFormat)
        fNumOutputs = outputs;
}

void CEffectType::SetCardValue (int32_t n, int32_t value)
{
    if (n >= 1 && n <= kCardValueCount)
        fCardValues[static_cast<size_t> (n - 1)] = value;
}

int32_t CEffectType::GetName (char* name)
{
    if (name != nullptr)
        CopyNameToPascal (fName, name);
    return 0;
}

int32_t CEffectType::GetLongName (uint8_t* name)
{
    if (fLongName.empty())
        return CDSPProcessType::GetLongName (name);
    if (name != nullptr)
        CopyNameToPascal (fLongName, name);
    return 0;
}

int32_t CEffectType::GetProductID (uint32_t* productID)
{
    PutOut (productID, fTypeID);
    return 0;
}

int32_t CEffectType::GetTypeIDs (int32_t, SFicPlugInStemFormats* ids)
{
    if (ids != nullptr)
        *ids = { fInputStemFormat, fOutputStemFormat, 0 };
    return 0;
}

int32_t CEffectType::GetNumInputs (int32_t, int16_t* count)
{
    PutOut (count, static_cast<int16_t> (fNumInputs));
    return 0;
}

int32_t CEffectType::GetNumOutputs (int32_t, int16_t* count)
{
    PutOut (count, static_cast<int16_t> (fNumOutputs));
    return 0;
}

CDSPProcess* CEffectType::NewProcessObject()
{
    return fProcessFactory ? fProcessFactory() : nullptr;
}

int32_t CEffectType::ForwardToProcess (int32_t id, EventRecord* argument)
{
    auto* process = dynamic_cast<CEffectProcess*> (FindProcess (id));
    if (process == nullptr)
        return RTASError::kNoSuchProcess;
    return process->HandleForwardedEvent (argument);
}

// ---- Chunks ----

int32_t CEffectType::GetChunk (int32_t id, uint32_t chunkID, SFicPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    chunk->fProductID = kEffectProductCode;
    chunk->fPlugInID = fTypeID;
    chunk->fChunkID = chunkID;
    chunk->fName[0] = 0;
    return CDSPProcessType::GetChunk (id, chunkID, chunk);
}

int32_t CEffectType::SetChunk (int32_t id, uint32_t chunkID, SFicPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    if (chunk->fProductID != kEffectProductCode)
        return RTASError::kWrongProduct;
    return CDSPProcessType::SetChunk (id, chunkID, chunk);
}

int32_t CEffectType::RestoreControlsFromChunk (int32_t id, SFicPlugInChunk* chunk, uint8_t* matches)
{
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    if (chunk->fProductID != kEffectProductCode)
        return RTASError::kWrongProduct;
    return CDSPProcessType::RestoreControlsFromChunk (id, chunk, matches);
}

// ---- Card information ----

bool CEffectType::ChooseCardValue (int32_t* value) const
{
    if (DsiCompat_FindCard (EffectCardKind::kKind29) && DsiCompat_HasDSP321())
    {
        *value = fCardValues[4] == 1 ? fCardValues[3] : fCardValues[4];
        return true;
    }
    if (DsiCompat_FindCard (EffectCardKind::kKind26))
    {
        *value = fCardValues[3];
        return true;
    }
    if (DsiCompat_FindCard (EffectCardKind::kKind21))
    {
        *value = fCardValues[2];
        return true;
    }
    return false;
}

int32_t CEffectType::GetCardInfo (int32_t key, int32_t* value)
{
    if (value == nullptr)
        return 0;
    switch (key)
    {
        case EffectCardInfo::kBypassFlags: *value = kBypassFlagsAnswer; break;
        case EffectCardInfo::kCardValue:
            if (GetDSPFlag() != 0)
                *value = fCardValues[0];
            else
                ChooseCardValue (value);
            break;
        default:
            *value = HasCapability (key) ? 1 : 0;
            if (key == EffectCardInfo::kSideChainInput && HasCapability (key))
                *value = fNumInputs + 1;
            break;
    }
    return 0;
}

int32_t CEffectType::GetNumConnectionInfos (int32_t id, int32_t* count)
{
    return CDSPProcessType::GetNumConnectionInfos (id, count);
}

int32_t CEffectType::GetConnectionInfo (int32_t id, int32_t index, SFicPlugInStemInfo* info)
{
    return CDSPProcessType::GetConnectionInfo (id, index, info);
}
