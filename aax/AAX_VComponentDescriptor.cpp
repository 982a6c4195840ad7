#include "AAX_VComponentDescriptor.h"

#include "ACFHostObject.h"
#include "AAX_Forward.h"

namespace
{
// The property identifiers a duplicated map carries over.
constexpr uint32_t kFirstCopiedProperty = 10;
constexpr uint32_t kLastCopiedProperty = 307;
} // namespace

AAX_VComponentDescriptor::AAX_VComponentDescriptor (IACFUnknown* host)
    : host_ (ACFPtr<IACFUnknown>::Retain (host))
{
    auto created = CreateHostObject<AAX_IACFComponentDescriptor, AAX_IACFComponentDescriptor_V2> (
        host, CLSID_ComponentDescriptor, IID_IACFComponentDescriptor, &IID_IACFComponentDescriptor_V2);
    descriptor_ = std::move (created.primary);
    descriptor2_ = std::move (created.second);
}

#define FORWARD1(call) AAX_FORWARD_OR (descriptor_, AAX_ERROR_NULL_OBJECT, call)
#define FORWARD2(call) AAX_FORWARD_OR (descriptor2_, AAX_ERROR_UNIMPLEMENTED, call)

int32_t AAX_VComponentDescriptor::Clear()
{
    FORWARD1 (Clear());
}
int32_t AAX_VComponentDescriptor::AddAudioIn (uint32_t field) { FORWARD1 (AddAudioIn (field)); }
int32_t AAX_VComponentDescriptor::AddAudioOut (uint32_t field) { FORWARD1 (AddAudioOut (field)); }
int32_t AAX_VComponentDescriptor::AddAudioBufferLength (uint32_t field) { FORWARD1 (AddAudioBufferLength (field)); }
int32_t AAX_VComponentDescriptor::AddSampleRate (uint32_t field) { FORWARD1 (AddSampleRate (field)); }
int32_t AAX_VComponentDescriptor::AddClock (uint32_t field) { FORWARD1 (AddClock (field)); }
int32_t AAX_VComponentDescriptor::AddSideChainIn (uint32_t field) { FORWARD1 (AddSideChainIn (field)); }
int32_t AAX_VComponentDescriptor::AddDataInPort (uint32_t field, uint32_t packetSize, int32_t buffered) { FORWARD1 (AddDataInPort (field, packetSize, buffered)); }
int32_t AAX_VComponentDescriptor::AddAuxOutputStem (uint32_t field, int32_t stemFormat, const char* name) { FORWARD1 (AddAuxOutputStem (field, stemFormat, name)); }
int32_t AAX_VComponentDescriptor::AddPrivateData (uint32_t field, int32_t dataSize, uint32_t options) { FORWARD1 (AddPrivateData (field, dataSize, options)); }
int32_t AAX_VComponentDescriptor::AddMidiNode (uint32_t field, int32_t nodeType, const char* name, uint32_t channelMask) { FORWARD2 (AddMidiNode (field, nodeType, name, channelMask)); }
int32_t AAX_VComponentDescriptor::AddTemporaryData (uint32_t field, uint32_t dataElementSize) { FORWARD1 (AddTemporaryData (field, dataElementSize)); }
int32_t AAX_VComponentDescriptor::AddMeters (uint32_t field, const uint32_t* meterIds, uint32_t meterCount) { FORWARD1 (AddMeters (field, meterIds, meterCount)); }
int32_t AAX_VComponentDescriptor::AddDmaInstance (uint32_t field, int32_t dmaMode) { FORWARD1 (AddDmaInstance (field, dmaMode)); }
int32_t AAX_VComponentDescriptor::AddReservedField (uint32_t field, uint32_t fieldType) { FORWARD1 (AddReservedField (field, fieldType)); }

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap()
{
    propertyMaps_.push_back (std::make_unique<AAX_VPropertyMap> (host_.Get()));
    return propertyMaps_.back().get();
}

AAX_IPropertyMap* AAX_VComponentDescriptor::DuplicatePropertyMap (const AAX_IPropertyMap* source)
{
    AAX_IPropertyMap* copy = NewPropertyMap();
    if (source == nullptr)
        return copy;
    for (uint32_t property = kFirstCopiedProperty; property <= kLastCopiedProperty; ++property)
    {
        int32_t value = 0;
        if (source->GetProperty (property, &value))
            copy->AddProperty (property, value);
    }
    return copy;
}

int32_t AAX_VComponentDescriptor::AddProcessProcedure (AAX_ProcessProc procedure, AAX_IPropertyMap* properties)
{
    FORWARD1 (AddProcessProcedure (procedure, HostMapOf (properties)));
}

int32_t AAX_VComponentDescriptor::AddProcessProcedureByName (const char* entryName, const char* moduleName,
                                                             AAX_IPropertyMap* properties)
{
    FORWARD1 (AddProcessProcedureByName (entryName, moduleName, HostMapOf (properties)));
}

#undef FORWARD1
#undef FORWARD2
