// A property map of the description, made on the host and filled by the plug-in.
#pragma once

#include "ACFPtr.h"

class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() = default;
    virtual bool GetProperty (uint32_t property, int32_t* outValue) const = 0;
    virtual int32_t AddProperty (uint32_t property, int32_t value) = 0;
    virtual int32_t RemoveProperty (uint32_t property) = 0;
    virtual int32_t AddPointerProperty (uint32_t property, const void* value) = 0;
    virtual bool GetPointerProperty (uint32_t property, const void** outValue) const = 0;
    // The host object behind the map, passed where a host call takes a map.
    virtual AAX_IACFPropertyMap* GetHostMap() const = 0;
};

// Forwards to the host's property map (-20004 when missing) and its second version (-20009).
// [host thread]
class AAX_VPropertyMap final : public AAX_IPropertyMap
{
public:
    explicit AAX_VPropertyMap (IACFUnknown* host);

    bool GetProperty (uint32_t property, int32_t* outValue) const override;
    int32_t AddProperty (uint32_t property, int32_t value) override;
    int32_t RemoveProperty (uint32_t property) override;
    int32_t AddPointerProperty (uint32_t property, const void* value) override;
    bool GetPointerProperty (uint32_t property, const void** outValue) const override;
    AAX_IACFPropertyMap* GetHostMap() const override { return map_.Get(); }

private:
    ACFPtr<AAX_IACFPropertyMap> map_;
    ACFPtr<AAX_IACFPropertyMap_V2> map2_;
};

// The host object of a map wrapper, or null.
inline AAX_IACFPropertyMap* HostMapOf (const AAX_IPropertyMap* map)
{
    return map != nullptr ? map->GetHostMap() : nullptr;
}
