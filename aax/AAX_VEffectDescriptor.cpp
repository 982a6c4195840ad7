#include "AAX_VEffectDescriptor.h"

#include "ACFHostObject.h"
#include "AAX_Forward.h"

AAX_VEffectDescriptor::AAX_VEffectDescriptor (IACFUnknown* host)
    : host_ (ACFPtr<IACFUnknown>::Retain (host))
{
    auto created = CreateHostObject<AAX_IACFEffectDescriptor, AAX_IACFEffectDescriptor_V2> (
        host, CLSID_EffectDescriptor, IID_IACFEffectDescriptor, &IID_IACFEffectDescriptor_V2);
    descriptor_ = std::move (created.primary);
    descriptor2_ = std::move (created.second);
}

#define FORWARD1(call) AAX_FORWARD_OR (descriptor_, AAX_ERROR_NULL_OBJECT, call)
#define FORWARD2(call) AAX_FORWARD_OR (descriptor2_, AAX_ERROR_UNIMPLEMENTED, call)

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor()
{
    components_.push_back (std::make_unique<AAX_VComponentDescriptor> (host_.Get()));
    return components_.back().get();
}

int32_t AAX_VEffectDescriptor::AddComponent (AAX_IComponentDescriptor* component)
{
    FORWARD1 (AddComponent (component != nullptr ? component->GetHostDescriptor() : nullptr));
}

int32_t AAX_VEffectDescriptor::AddName (const char* name) { FORWARD1 (AddName (name)); }
int32_t AAX_VEffectDescriptor::AddCategory (uint32_t category) { FORWARD1 (AddCategory (category)); }
int32_t AAX_VEffectDescriptor::AddCategoryBypassParameter (uint32_t category, const char* parameterId) { FORWARD1 (AddCategoryBypassParameter (category, parameterId)); }
int32_t AAX_VEffectDescriptor::AddProcPtr (void* procedure, int32_t procedureKind) { FORWARD1 (AddProcPtr (procedure, procedureKind)); }

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap()
{
    propertyMaps_.push_back (std::make_unique<AAX_VPropertyMap> (host_.Get()));
    return propertyMaps_.back().get();
}

int32_t AAX_VEffectDescriptor::SetProperties (AAX_IPropertyMap* properties) { FORWARD1 (SetProperties (HostMapOf (properties))); }
int32_t AAX_VEffectDescriptor::AddResourceInfo (int32_t resourceKind, const char* info) { FORWARD1 (AddResourceInfo (resourceKind, info)); }
int32_t AAX_VEffectDescriptor::AddMeterDescription (uint32_t meterId, const char* name, AAX_IPropertyMap* properties) { FORWARD1 (AddMeterDescription (meterId, name, HostMapOf (properties))); }
int32_t AAX_VEffectDescriptor::AddControlMidiNode (uint32_t nodeId, int32_t nodeType, const char* name, uint32_t channelMask) { FORWARD2 (AddControlMidiNode (nodeId, nodeType, name, channelMask)); }

#undef FORWARD1
#undef FORWARD2
