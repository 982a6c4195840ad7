// One processing component of the effect description (one per channel layout).
#pragma once

#include "AAX_VPropertyMap.h"

#include <memory>
#include <vector>

class AAX_IComponentDescriptor
{
public:
    virtual ~AAX_IComponentDescriptor() = default;
    virtual int32_t Clear() = 0;
    virtual int32_t AddAudioIn (uint32_t field) = 0;
    virtual int32_t AddAudioOut (uint32_t field) = 0;
    virtual int32_t AddAudioBufferLength (uint32_t field) = 0;
    virtual int32_t AddSampleRate (uint32_t field) = 0;
    virtual int32_t AddClock (uint32_t field) = 0;
    virtual int32_t AddSideChainIn (uint32_t field) = 0;
    virtual int32_t AddDataInPort (uint32_t field, uint32_t packetSize, int32_t buffered) = 0;
    virtual int32_t AddAuxOutputStem (uint32_t field, int32_t stemFormat, const char* name) = 0;
    virtual int32_t AddPrivateData (uint32_t field, int32_t dataSize, uint32_t options) = 0;
    virtual int32_t AddMidiNode (uint32_t field, int32_t nodeType, const char* name, uint32_t channelMask) = 0;
    virtual int32_t AddTemporaryData (uint32_t field, uint32_t dataElementSize) = 0;
    virtual int32_t AddMeters (uint32_t field, const uint32_t* meterIds, uint32_t meterCount) = 0;
    virtual int32_t AddDmaInstance (uint32_t field, int32_t dmaMode) = 0;
    virtual int32_t AddReservedField (uint32_t field, uint32_t fieldType) = 0;
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_IPropertyMap* DuplicatePropertyMap (const AAX_IPropertyMap* source) = 0;
    virtual int32_t AddProcessProcedure (AAX_ProcessProc procedure, AAX_IPropertyMap* properties) = 0;
    virtual int32_t AddProcessProcedureByName (const char* entryName, const char* moduleName,
                                               AAX_IPropertyMap* properties) = 0;
    // The host object behind the descriptor, passed to the effect's AddComponent.
    virtual AAX_IACFComponentDescriptor* GetHostDescriptor() const = 0;
};

// Forwards to the host's component descriptor (-20004 when missing) and its second version
// (-20009); owns the property maps it makes. [host thread]
class AAX_VComponentDescriptor final : public AAX_IComponentDescriptor
{
public:
    explicit AAX_VComponentDescriptor (IACFUnknown* host);

    int32_t Clear() override;
    int32_t AddAudioIn (uint32_t field) override;
    int32_t AddAudioOut (uint32_t field) override;
    int32_t AddAudioBufferLength (uint32_t field) override;
    int32_t AddSampleRate (uint32_t field) override;
    int32_t AddClock (uint32_t field) override;
    int32_t AddSideChainIn (uint32_t field) override;
    int32_t AddDataInPort (uint32_t field, uint32_t packetSize, int32_t buffered) override;
    int32_t AddAuxOutputStem (uint32_t field, int32_t stemFormat, const char* name) override;
    int32_t AddPrivateData (uint32_t field, int32_t dataSize, uint32_t options) override;
    int32_t AddMidiNode (uint32_t field, int32_t nodeType, const char* name, uint32_t channelMask) override;
    int32_t AddTemporaryData (uint32_t field, uint32_t dataElementSize) override;
    int32_t AddMeters (uint32_t field, const uint32_t* meterIds, uint32_t meterCount) override;
    int32_t AddDmaInstance (uint32_t field, int32_t dmaMode) override;
    int32_t AddReservedField (uint32_t field, uint32_t fieldType) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    // A new map holding every property 10..307 that source has, with the same value.
    AAX_IPropertyMap* DuplicatePropertyMap (const AAX_IPropertyMap* source) override;
    int32_t AddProcessProcedure (AAX_ProcessProc procedure, AAX_IPropertyMap* properties) override;
    int32_t AddProcessProcedureByName (const char* entryName, const char* moduleName,
                                       AAX_IPropertyMap* properties) override;
    AAX_IACFComponentDescriptor* GetHostDescriptor() const override { return descriptor_.Get(); }

private:
    ACFPtr<IACFUnknown> host_;
    ACFPtr<AAX_IACFComponentDescriptor> descriptor_;
    ACFPtr<AAX_IACFComponentDescriptor_V2> descriptor2_;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps_;
};
