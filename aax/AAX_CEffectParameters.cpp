#include "AAX_CEffectParameters.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// Runs a host operation: no exception leaves it, and it holds the packet dispatcher's mutex, which
// Initialize and Uninitialize hold while they delete and make what the operation reads (the
// parameters, the host objects, the chunk parser).
#define GUARDED(...)                                                 \
    return Guarded ([&]() -> int32_t {                               \
        const AAX_CPacketDispatcher::ScopedLock whole (dispatcher_); \
        __VA_ARGS__                                                  \
    })

// Looks the parameter up or answers -20001.
#define WITH_PARAMETER(id, parameter)                            \
    AAX_IParameter* parameter = registry_.GetParameterByID (id); \
    if (parameter == nullptr)                                    \
    return AAX_ERROR_UNKNOWN_PARAMETER

AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
    // The parameters go before the delegate they are registered with.
    ReleaseHostObjects();
}

ACFRESULT AAX_CEffectParameters::QueryInterface (const acfIID& iid, void** out)
{
    return GetOuterUnknown()->QueryInterface (iid, out);
}

uint32_t AAX_CEffectParameters::AddRef()
{
    return GetOuterUnknown()->AddRef();
}

uint32_t AAX_CEffectParameters::Release()
{
    return GetOuterUnknown()->Release();
}

ACFRESULT AAX_CEffectParameters::InternalQueryInterface (const acfIID& iid, void** out)
{
    if (out != nullptr && (iid == IID_IACFEffectParameters || iid == IID_IACFEffectParameters_V2))
        return ProvideInterface (static_cast<AAX_IACFEffectParameters_V2*> (this), out);
    return CACFUnknown::InternalQueryInterface (iid, out);
}

void AAX_CEffectParameters::ReleaseHostObjects()
{
    registry_.RemoveAllParameters();
    registry_.SetAutomationDelegate (nullptr);
    dispatcher_.UnregisterAllPackets();
    dispatcher_.SetController (nullptr);
    dispatcher_.SetEffectParameters (nullptr);
    chunkExclusions_.clear();
    controller_.reset();
    automation_.reset();
    transport_.reset();
}

int32_t AAX_CEffectParameters::Initialize (IACFUnknown* host)
{
    GUARDED ({
        ReleaseHostObjects();
        controller_ = std::make_unique<AAX_VController> (host);
        automation_ = std::make_unique<AAX_VAutomationDelegate> (host);
        transport_ = std::make_unique<AAX_VTransport> (host);
        registry_.SetAutomationDelegate (automation_.get());
        dispatcher_.SetController (controller_.get());
        dispatcher_.SetEffectParameters (this);

        if (const int32_t result = InitializeEffect(); result != AAX_SUCCESS)
            return result;

        AAX_CString bypassId;
        GetMasterBypassParameter (&bypassId);
        if (bypassId.Length() != 0)
            chunkExclusions_.insert (bypassId.Get());
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::Uninitialize()
{
    GUARDED ({
        ReleaseHostObjects();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::ReceiveNotification (uint32_t type, const void* data, uint32_t size)
{
    GUARDED ({
        if (type != AAX_NOTIFICATION_PREVIEW || data == nullptr || size < sizeof (int32_t))
            return AAX_SUCCESS;
        if (AAX_IParameter* preview = registry_.GetParameterByID (kPreviewID))
        {
            int32_t value = 0;
            std::memcpy (&value, data, sizeof (value));
            preview->SetValueWithBool (value != 0);
        }
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::InitializeEffect()
{
    return AAX_SUCCESS;
}

// ---- parameters

int32_t AAX_CEffectParameters::GetNumberOfParameters (int32_t* outCount) const
{
    GUARDED ({
        if (outCount != nullptr)
            *outCount = registry_.Count();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetMasterBypassParameter (AAX_IString* outId) const
{
    GUARDED ({
        if (outId != nullptr)
            outId->Set (registry_.GetParameterByID (kMasterBypassID) != nullptr ? kMasterBypassID : "");
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetParameterIsAutomatable (const char* id, AAX_CBoolean* outAutomatable) const
{
    if (outAutomatable != nullptr)
        *outAutomatable = 0;
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        if (outAutomatable != nullptr)
            *outAutomatable = parameter->Automatable() ? 1 : 0;
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetParameterNumberOfSteps (const char* id, int32_t* outSteps) const
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        if (outSteps != nullptr)
            *outSteps = parameter->GetNumberOfSteps();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetParameterName (const char* id, AAX_IString* outName) const
{
    GUARDED ({
        if (outName != nullptr)
        {
            const AAX_IParameter* parameter = registry_.GetParameterByID (id);
            outName->Set (parameter != nullptr ? parameter->Name().Get() : "");
        }
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetParameterNameOfLength (const char* id, AAX_IString* outName, int32_t length) const
{
    GUARDED ({
        if (outName == nullptr)
            return AAX_SUCCESS;
        const AAX_IParameter* parameter = registry_.GetParameterByID (id);
        if (parameter == nullptr)
        {
            outName->Set ("");
            return AAX_SUCCESS;
        }
        std::string name = parameter->ShortenedName (length).Get();
        if (name.empty())
            return AAX_SUCCESS;
        name.resize (std::min<size_t> (name.size(), 255));

        // The longest line that fits; the first of equally long ones.
        const std::string* best = nullptr;
        std::vector<std::string> pieces;
        for (size_t start = 0;;)
        {
            const size_t end = name.find ('\n', start);
            pieces.push_back (name.substr (start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        for (const std::string& piece : pieces)
            if (static_cast<int64_t> (piece.size()) <= length && (best == nullptr || piece.size() > best->size()))
                best = &piece;
        outName->Set (best != nullptr ? best->c_str() : name.c_str());
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetParameterDefaultNormalizedValue (const char* id, double* outValue) const
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        if (outValue != nullptr)
            *outValue = parameter->GetNormalizedDefaultValue();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::SetParameterToDefaultValue (const char* id)
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        parameter->SetToDefaultValue();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetParameterType (const char* id, int32_t* outType) const
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        if (outType != nullptr)
            *outType = parameter->GetType();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetParameterOrientation (const char* id, int32_t* outOrientation) const
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        if (outOrientation != nullptr)
            *outOrientation = parameter->GetOrientation();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetParameter (const char* id, AAX_IParameter** outParameter)
{
    GUARDED ({
        AAX_IParameter* parameter = registry_.GetParameterByID (id);
        if (outParameter != nullptr)
            *outParameter = parameter;
        return parameter != nullptr ? AAX_SUCCESS : AAX_ERROR_UNKNOWN_PARAMETER;
    });
}

int32_t AAX_CEffectParameters::GetParameterIndex (const char* id, int32_t* outIndex) const
{
    GUARDED ({
        const int32_t index = registry_.GetParameterIndex (id);
        if (outIndex != nullptr)
            *outIndex = index;
        return index >= 0 ? AAX_SUCCESS : AAX_ERROR_UNKNOWN_PARAMETER;
    });
}

int32_t AAX_CEffectParameters::GetParameterIDFromIndex (int32_t index, AAX_IString* outId) const
{
    GUARDED ({
        const AAX_IParameter* parameter = registry_.GetParameterByIndex (index);
        if (outId != nullptr)
            outId->Set (parameter != nullptr ? parameter->Identifier() : "");
        return parameter != nullptr ? AAX_SUCCESS : AAX_ERROR_UNKNOWN_PARAMETER;
    });
}

int32_t AAX_CEffectParameters::ParameterQueryNotImplemented (const char*, int32_t, int32_t* outValue) const
{
    if (outValue != nullptr)
        *outValue = 0;
    return AAX_ERROR_UNIMPLEMENTED;
}

int32_t AAX_CEffectParameters::GetParameterValueFromString (const char* id, double* outValue, const AAX_IString& text) const
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        double value = 0.0;
        const bool accepted = parameter->GetNormalizedValueFromString (AAX_CString (text.Get()), &value);
        if (outValue != nullptr)
            *outValue = value;
        return accepted ? AAX_SUCCESS : AAX_ERROR_CONVERSION_FAILED;
    });
}

int32_t AAX_CEffectParameters::GetParameterStringFromValue (const char* id, double value, AAX_IString* outText, int32_t length) const
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        AAX_CString text;
        const bool accepted = parameter->GetStringFromNormalizedValue (value, length, &text);
        if (outText != nullptr)
            outText->Set (text);
        return accepted ? AAX_SUCCESS : AAX_ERROR_CONVERSION_FAILED;
    });
}

int32_t AAX_CEffectParameters::GetParameterValueString (const char* id, AAX_IString* outText, int32_t length) const
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        AAX_CString text;
        parameter->GetValueString (length, &text);
        if (outText != nullptr)
            outText->Set (text);
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetParameterNormalizedValue (const char* id, double* outValue) const
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        if (outValue != nullptr)
            *outValue = parameter->GetNormalizedValue();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::SetParameterNormalizedValue (const char* id, double value)
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        parameter->SetNormalizedValue (value);
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::SetParameterNormalizedRelative (const char* id, double delta)
{
    GUARDED ({
        double current = 0.0;
        if (const int32_t result = GetParameterNormalizedValue (id, &current); result != AAX_SUCCESS)
            return result;
        return SetParameterNormalizedValue (id, std::clamp (current + delta, 0.0, 1.0));
    });
}

int32_t AAX_CEffectParameters::TouchParameter (const char* id)
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        parameter->Touch();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::ReleaseParameter (const char* id)
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        parameter->Release();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::ReservedOperation28 (const char*, AAX_CBoolean)
{
    return AAX_SUCCESS;
}

int32_t AAX_CEffectParameters::UpdateParameterNormalizedValue (const char* id, double value, int32_t)
{
    GUARDED ({
        WITH_PARAMETER (id, parameter);
        parameter->UpdateNormalizedValue (value);
        dispatcher_.SetDirty (id);
        changeCount_.fetch_add (1, std::memory_order_relaxed);
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::UpdateParameterNormalizedRelative (const char* id, double delta)
{
    GUARDED ({
        double current = 0.0;
        if (const int32_t result = GetParameterNormalizedValue (id, &current); result != AAX_SUCCESS)
            return result;
        return UpdateParameterNormalizedValue (id, std::clamp (current + delta, 0.0, 1.0), 0);
    });
}

int32_t AAX_CEffectParameters::DispatchPackets()
{
    GUARDED ({ return dispatcher_.Dispatch(); });
}

int32_t AAX_CEffectParameters::ClearDataBlock (uint32_t, void* block, uint32_t size)
{
    if (block != nullptr)
        std::memset (block, 0, size);
    return AAX_SUCCESS;
}

// ---- the controls chunk

bool AAX_CEffectParameters::IsExcluded (const char* id) const
{
    return chunkExclusions_.count (id) != 0;
}

void AAX_CEffectParameters::BuildControlsChunk()
{
    parser_.Reset();
    for (int32_t i = 0; i < registry_.Count(); ++i)
    {
        const AAX_IParameter* parameter = registry_.GetParameterByIndex (i);
        const char* id = parameter->Identifier();
        if (IsExcluded (id))
            continue;
        float floatValue = 0.0f;
        int32_t intValue = 0;
        bool boolValue = false;
        double doubleValue = 0.0;
        AAX_CString stringValue;
        if (parameter->GetValueAsFloat (&floatValue))
            parser_.AddDouble (id, floatValue);
        else if (parameter->GetValueAsInt32 (&intValue))
            parser_.AddInt32 (id, intValue);
        else if (parameter->GetValueAsBool (&boolValue))
            parser_.AddInt32 (id, boolValue ? 1 : 0);
        else if (parameter->GetValueAsDouble (&doubleValue))
            parser_.AddDouble (id, doubleValue);
        else if (parameter->GetValueAsString (&stringValue))
            parser_.AddString (id, stringValue);
    }
}

int32_t AAX_CEffectParameters::GetNumberOfChunks (int32_t* outCount) const
{
    if (outCount != nullptr)
        *outCount = 1;
    return AAX_SUCCESS;
}

int32_t AAX_CEffectParameters::GetChunkIDFromIndex (int32_t index, uint32_t* outId) const
{
    if (outId != nullptr)
        *outId = index == 0 ? kControlsChunkID : 0;
    return index == 0 ? AAX_SUCCESS : AAX_ERROR_CHUNK_INDEX;
}

int32_t AAX_CEffectParameters::GetChunkSize (uint32_t id, int32_t* outSize)
{
    GUARDED ({
        if (id != kControlsChunkID)
        {
            if (outSize != nullptr)
                *outSize = 0;
            return AAX_ERROR_UNKNOWN_CHUNK;
        }
        BuildControlsChunk();
        chunkSize_ = parser_.GetChunkDataSize();
        if (outSize != nullptr)
            *outSize = chunkSize_;
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetChunk (uint32_t id, AAX_SPlugInChunkHeader* outChunk)
{
    GUARDED ({
        if (id != kControlsChunkID)
            return AAX_ERROR_UNKNOWN_CHUNK;
        if (outChunk == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        BuildControlsChunk();
        const int32_t size = parser_.GetChunkDataSize();
        if (size != chunkSize_ || size == 0)
            return AAX_ERROR_CHUNK_SIZE_CHANGED;
        outChunk->fVersion = parser_.GetChunkVersion();
        std::memset (outChunk->fName, 0, sizeof (outChunk->fName));
        std::strncpy (outChunk->fName, kControlsChunkName, sizeof (outChunk->fName) - 1);
        return parser_.WriteChunk (outChunk);
    });
}

int32_t AAX_CEffectParameters::SetChunk (uint32_t id, const AAX_SPlugInChunkHeader* chunk)
{
    GUARDED ({
        if (id != kControlsChunkID)
            return AAX_ERROR_UNKNOWN_CHUNK;
        if (chunk == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        parser_.ReadChunk (chunk);
        for (int32_t i = 0; i < registry_.Count(); ++i)
        {
            AAX_IParameter* parameter = registry_.GetParameterByIndex (i);
            const char* name = parameter->Identifier();
            if (IsExcluded (name))
                continue;
            float floatValue = 0.0f;
            int32_t intValue = 0;
            bool boolValue = false;
            double doubleValue = 0.0;
            AAX_CString stringValue;
            if (parameter->GetValueAsFloat (&floatValue))
            {
                if (parser_.FindDouble (name, &doubleValue))
                    parameter->SetValueWithFloat (static_cast<float> (doubleValue));
            }
            else if (parameter->GetValueAsInt32 (&intValue))
            {
                if (parser_.FindInt32 (name, &intValue))
                    parameter->SetValueWithInt32 (intValue);
            }
            else if (parameter->GetValueAsBool (&boolValue))
            {
                if (parser_.FindInt32 (name, &intValue))
                    parameter->SetValueWithBool (intValue != 0);
            }
            else if (parameter->GetValueAsDouble (&doubleValue))
            {
                if (parser_.FindDouble (name, &doubleValue))
                    parameter->SetValueWithDouble (doubleValue);
            }
            else if (parameter->GetValueAsString (&stringValue))
            {
                if (parser_.FindString (name, &stringValue))
                    parameter->SetValueWithString (stringValue);
            }
        }
        return AAX_SUCCESS;
    });
}

bool AAX_CEffectParameters::ControlsChunkMatches()
{
    for (int32_t i = 0; i < registry_.Count(); ++i)
    {
        const AAX_IParameter* parameter = registry_.GetParameterByIndex (i);
        const char* name = parameter->Identifier();
        if (IsExcluded (name))
            continue;
        float floatValue = 0.0f;
        int32_t intValue = 0;
        bool boolValue = false;
        double doubleValue = 0.0;
        AAX_CString stringValue;
        double storedDouble = 0.0;
        int32_t storedInt = 0;
        AAX_CString storedString;
        if (parameter->GetValueAsFloat (&floatValue))
        {
            if (! parser_.FindDouble (name, &storedDouble) || static_cast<float> (storedDouble) != floatValue)
                return false;
        }
        else if (parameter->GetValueAsInt32 (&intValue))
        {
            if (! parser_.FindInt32 (name, &storedInt) || storedInt != intValue)
                return false;
        }
        else if (parameter->GetValueAsBool (&boolValue))
        {
            if (! parser_.FindInt32 (name, &storedInt) || (storedInt != 0) != boolValue)
                return false;
        }
        else if (parameter->GetValueAsDouble (&doubleValue))
        {
            if (! parser_.FindDouble (name, &storedDouble) || static_cast<float> (storedDouble) != static_cast<float> (doubleValue))
                return false;
        }
        else if (parameter->GetValueAsString (&stringValue))
        {
            if (! parser_.FindString (name, &storedString) || storedString != stringValue)
                return false;
        }
    }
    return true;
}

int32_t AAX_CEffectParameters::CompareChunk (const AAX_SPlugInChunkHeader* chunk, AAX_CBoolean* outEqual)
{
    GUARDED ({
        if (outEqual == nullptr)
            return AAX_SUCCESS;
        if (chunk == nullptr || chunk->fChunkID != kControlsChunkID)
        {
            *outEqual = chunk == nullptr ? 0 : 1;
            return AAX_SUCCESS;
        }
        *outEqual = 0;
        parser_.ReadChunk (chunk);
        *outEqual = ControlsChunkMatches() ? 1 : 0;
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectParameters::GetChangeCount (int32_t* outCount) const
{
    // The host reads the count as signed: past 2^31 changes it reads negative and is not given.
    const auto count = static_cast<int32_t> (changeCount_.load (std::memory_order_relaxed));
    if (outCount != nullptr && count >= 0)
        *outCount = count;
    return AAX_SUCCESS;
}

// ---- operations this library leaves to the host's defaults

int32_t AAX_CEffectParameters::ReservedQuery40() const { return AAX_SUCCESS; }
int32_t AAX_CEffectParameters::ReservedQuery41() const { return AAX_ERROR_UNIMPLEMENTED; }

int32_t AAX_CEffectParameters::ReturnZeroResult (uint32_t, const void*, uint32_t, int32_t* outResult) const
{
    if (outResult != nullptr)
        *outResult = 0;
    return AAX_SUCCESS;
}

int32_t AAX_CEffectParameters::ReservedOperation43() { return AAX_SUCCESS; }
int32_t AAX_CEffectParameters::ReservedOperation44() { return AAX_SUCCESS; }
int32_t AAX_CEffectParameters::ReservedOperation45() { return AAX_ERROR_UNIMPLEMENTED; }
int32_t AAX_CEffectParameters::ReservedOperation46() { return AAX_SUCCESS; }
int32_t AAX_CEffectParameters::ReservedOperation47() { return AAX_SUCCESS; }
