// The description of one effect: names, categories, factory procedures and components.
#pragma once

#include "AAX_VComponentDescriptor.h"

class AAX_IEffectDescriptor
{
public:
    virtual ~AAX_IEffectDescriptor() = default;
    virtual AAX_IComponentDescriptor* NewComponentDescriptor() = 0;
    virtual int32_t AddComponent (AAX_IComponentDescriptor* component) = 0;
    virtual int32_t AddName (const char* name) = 0;
    virtual int32_t AddCategory (uint32_t category) = 0;
    virtual int32_t AddCategoryBypassParameter (uint32_t category, const char* parameterId) = 0;
    virtual int32_t AddProcPtr (void* procedure, int32_t procedureKind) = 0;
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual int32_t SetProperties (AAX_IPropertyMap* properties) = 0;
    virtual int32_t AddResourceInfo (int32_t resourceKind, const char* info) = 0;
    virtual int32_t AddMeterDescription (uint32_t meterId, const char* name, AAX_IPropertyMap* properties) = 0;
    virtual int32_t AddControlMidiNode (uint32_t nodeId, int32_t nodeType, const char* name, uint32_t channelMask) = 0;
    // The host object behind the descriptor, passed to the collection's AddEffect.
    virtual AAX_IACFEffectDescriptor* GetHostDescriptor() const = 0;
};

// Forwards to the host's effect descriptor (-20004 when missing) and its second version
// (-20009); owns the component descriptors and property maps it makes. [host thread]
class AAX_VEffectDescriptor final : public AAX_IEffectDescriptor
{
public:
    explicit AAX_VEffectDescriptor (IACFUnknown* host);

    AAX_IComponentDescriptor* NewComponentDescriptor() override;
    int32_t AddComponent (AAX_IComponentDescriptor* component) override;
    int32_t AddName (const char* name) override;
    int32_t AddCategory (uint32_t category) override;
    int32_t AddCategoryBypassParameter (uint32_t category, const char* parameterId) override;
    int32_t AddProcPtr (void* procedure, int32_t procedureKind) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    int32_t SetProperties (AAX_IPropertyMap* properties) override;
    int32_t AddResourceInfo (int32_t resourceKind, const char* info) override;
    int32_t AddMeterDescription (uint32_t meterId, const char* name, AAX_IPropertyMap* properties) override;
    int32_t AddControlMidiNode (uint32_t nodeId, int32_t nodeType, const char* name, uint32_t channelMask) override;
    AAX_IACFEffectDescriptor* GetHostDescriptor() const override { return descriptor_.Get(); }

private:
    ACFPtr<IACFUnknown> host_;
    ACFPtr<AAX_IACFEffectDescriptor> descriptor_;
    ACFPtr<AAX_IACFEffectDescriptor_V2> descriptor2_;
    std::vector<std::unique_ptr<AAX_VComponentDescriptor>> components_;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps_;
};
