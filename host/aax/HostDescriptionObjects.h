// The host objects a module's description is written into: collection, effect and component
// descriptors, property maps, and the plug-in definition handed back at the end.
#pragma once

#include "HostObject.h"

namespace kestrune::host::aax
{
class HostPropertyMap final : public HostObject<AAX_IACFPropertyMap_V2>
{
public:
    explicit HostPropertyMap (HostFramework& framework);

    int32_t GetProperty (uint32_t property, int32_t* outValue) const override;
    int32_t AddProperty (uint32_t property, int32_t value) override;
    int32_t RemoveProperty (uint32_t property) override;
    int32_t AddPointerProperty (uint32_t property, const void* value) override;
    int32_t GetPointerProperty (uint32_t property, const void** outValue) const override;

    const PropertyValues& Values() const { return values_; }
    // The values of a map a module passed in (empty for null or a foreign object).
    static PropertyValues ValuesOf (const AAX_IACFPropertyMap* map);

private:
    PropertyValues values_;
    std::map<uint32_t, const void*> pointers_;
};

class HostComponentDescriptor final : public HostObject<AAX_IACFComponentDescriptor_V2>
{
public:
    explicit HostComponentDescriptor (HostFramework& framework);

    int32_t Clear() override;
    int32_t AddReservedField (uint32_t field, uint32_t fieldType) override;
    int32_t AddAudioIn (uint32_t field) override;
    int32_t AddAudioOut (uint32_t field) override;
    int32_t AddAudioBufferLength (uint32_t field) override;
    int32_t AddSampleRate (uint32_t field) override;
    int32_t AddClock (uint32_t field) override;
    int32_t AddSideChainIn (uint32_t field) override;
    int32_t AddDataInPort (uint32_t field, uint32_t packetSize, int32_t buffered) override;
    int32_t AddAuxOutputStem (uint32_t field, int32_t stemFormat, const char* name) override;
    int32_t AddPrivateData (uint32_t field, int32_t dataSize, uint32_t options) override;
    int32_t AddTemporaryData (uint32_t field, uint32_t dataElementSize) override;
    int32_t AddDmaInstance (uint32_t field, int32_t dmaMode) override;
    int32_t AddProcessProcedure (AAX_ProcessProc procedure, AAX_IACFPropertyMap* properties) override;
    int32_t AddProcessProcedureByName (const char* entryName, const char* moduleName,
                                       AAX_IACFPropertyMap* properties) override;
    int32_t AddMeters (uint32_t field, const uint32_t* meterIds, uint32_t meterCount) override;
    int32_t AddMidiNode (uint32_t field, int32_t nodeType, const char* name, uint32_t channelMask) override;

    const RecordedComponent& Record() const { return record_; }

private:
    RecordedComponent record_;
};

class HostEffectDescriptor final : public HostObject<AAX_IACFEffectDescriptor_V2>
{
public:
    explicit HostEffectDescriptor (HostFramework& framework);

    int32_t AddComponent (AAX_IACFComponentDescriptor* component) override;
    int32_t AddName (const char* name) override;
    int32_t AddCategory (uint32_t category) override;
    int32_t AddCategoryBypassParameter (uint32_t category, const char* parameterId) override;
    int32_t AddProcPtr (void* procedure, int32_t procedureKind) override;
    int32_t SetProperties (AAX_IACFPropertyMap* properties) override;
    int32_t AddResourceInfo (int32_t resourceKind, const char* info) override;
    int32_t AddMeterDescription (uint32_t meterId, const char* name, AAX_IACFPropertyMap* properties) override;
    int32_t AddControlMidiNode (uint32_t nodeId, int32_t nodeType, const char* name, uint32_t channelMask) override;

    const RecordedEffect& Record() const { return record_; }

private:
    RecordedEffect record_;
};

// Answers the plug-in definition query; the rest of the description lives in the framework.
class HostPluginDefinition final : public HostObject<IACFPluginDefinition>
{
public:
    explicit HostPluginDefinition (HostFramework& framework);
};

class HostCollection final : public HostObject<AAX_IACFCollection>
{
public:
    explicit HostCollection (HostFramework& framework);

    int32_t HostSlot3() override;
    int32_t HostSlot4() override;
    int32_t HostSlot5() override;
    int32_t HostSlot6() override;
    int32_t AddEffect (const char* effectId, AAX_IACFEffectDescriptor* descriptor) override;
    int32_t SetManufacturerName (const char* name) override;
    int32_t AddPackageName (const char* name) override;
    int32_t SetPackageVersion (uint32_t version) override;
    int32_t SetProperties (AAX_IACFPropertyMap* properties) override;

protected:
    // Also answers the plug-in definition, with a new definition object.
    IACFUnknown* FindInterface (const acfIID& iid) override;
};
} // namespace kestrune::host::aax
