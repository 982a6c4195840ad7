// The plug-in's description as the host collects it during ACFRegisterPlugin.
#pragma once

#include "AAX_VEffectDescriptor.h"

class AAX_ICollection
{
public:
    virtual ~AAX_ICollection() = default;
    virtual AAX_IEffectDescriptor* NewDescriptor() = 0;
    virtual int32_t AddEffect (const char* effectId, AAX_IEffectDescriptor* descriptor) = 0;
    virtual int32_t SetManufacturerName (const char* name) = 0;
    virtual int32_t AddPackageName (const char* name) = 0;
    virtual int32_t SetPackageVersion (uint32_t version) = 0;
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual int32_t SetProperties (AAX_IPropertyMap* properties) = 0;
};

// Forwards to the host's collection (-20004 when missing or for a null descriptor); owns the
// effect descriptors and property maps it makes, and with them every child. [host thread]
class AAX_VCollection final : public AAX_ICollection
{
public:
    // Raises ACFError when the host answers the factory query with a null factory.
    explicit AAX_VCollection (IACFUnknown* host);

    AAX_IEffectDescriptor* NewDescriptor() override;
    int32_t AddEffect (const char* effectId, AAX_IEffectDescriptor* descriptor) override;
    int32_t SetManufacturerName (const char* name) override;
    int32_t AddPackageName (const char* name) override;
    int32_t SetPackageVersion (uint32_t version) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    int32_t SetProperties (AAX_IPropertyMap* properties) override;

    // The host collection object, asked for the plug-in definition at the end of registration.
    AAX_IACFCollection* GetHostCollection() const { return collection_.Get(); }

private:
    ACFPtr<IACFUnknown> host_;
    ACFPtr<AAX_IACFCollection> collection_;
    std::vector<std::unique_ptr<AAX_VEffectDescriptor>> descriptors_;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps_;
};
