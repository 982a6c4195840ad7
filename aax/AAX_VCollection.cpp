#include "AAX_VCollection.h"

#include "ACFHostObject.h"
#include "AAX_Forward.h"

AAX_VCollection::AAX_VCollection (IACFUnknown* host)
    : host_ (ACFPtr<IACFUnknown>::Retain (host)),
      collection_ (CreateHostObject<AAX_IACFCollection> (host, CLSID_Collection, IID_IACFCollection).primary)
{
}

#define FORWARD(call) AAX_FORWARD_OR (collection_, AAX_ERROR_NULL_OBJECT, call)

AAX_IEffectDescriptor* AAX_VCollection::NewDescriptor()
{
    descriptors_.push_back (std::make_unique<AAX_VEffectDescriptor> (host_.Get()));
    return descriptors_.back().get();
}

int32_t AAX_VCollection::AddEffect (const char* effectId, AAX_IEffectDescriptor* descriptor)
{
    if (descriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    FORWARD (AddEffect (effectId, descriptor->GetHostDescriptor()));
}

int32_t AAX_VCollection::SetManufacturerName (const char* name) { FORWARD (SetManufacturerName (name)); }
int32_t AAX_VCollection::AddPackageName (const char* name) { FORWARD (AddPackageName (name)); }
int32_t AAX_VCollection::SetPackageVersion (uint32_t version) { FORWARD (SetPackageVersion (version)); }

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap()
{
    propertyMaps_.push_back (std::make_unique<AAX_VPropertyMap> (host_.Get()));
    return propertyMaps_.back().get();
}

int32_t AAX_VCollection::SetProperties (AAX_IPropertyMap* properties) { FORWARD (SetProperties (HostMapOf (properties))); }

#undef FORWARD
