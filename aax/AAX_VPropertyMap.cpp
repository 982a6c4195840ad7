#include "AAX_VPropertyMap.h"

#include "ACFHostObject.h"
#include "AAX_Forward.h"

AAX_VPropertyMap::AAX_VPropertyMap (IACFUnknown* host)
{
    auto created = CreateHostObject<AAX_IACFPropertyMap, AAX_IACFPropertyMap_V2> (
        host, CLSID_PropertyMap, IID_IACFPropertyMap, &IID_IACFPropertyMap_V2);
    map_ = std::move (created.primary);
    map2_ = std::move (created.second);
}

bool AAX_VPropertyMap::GetProperty (uint32_t property, int32_t* outValue) const
{
    return map_ && map_->GetProperty (property, outValue) != 0;
}

int32_t AAX_VPropertyMap::AddProperty (uint32_t property, int32_t value)
{
    AAX_FORWARD_OR (map_, AAX_ERROR_NULL_OBJECT, AddProperty (property, value));
}

int32_t AAX_VPropertyMap::RemoveProperty (uint32_t property)
{
    AAX_FORWARD_OR (map_, AAX_ERROR_NULL_OBJECT, RemoveProperty (property));
}

int32_t AAX_VPropertyMap::AddPointerProperty (uint32_t property, const void* value)
{
    AAX_FORWARD_OR (map2_, AAX_ERROR_UNIMPLEMENTED, AddPointerProperty (property, value));
}

bool AAX_VPropertyMap::GetPointerProperty (uint32_t property, const void** outValue) const
{
    return map2_ && map2_->GetPointerProperty (property, outValue) != 0;
}
