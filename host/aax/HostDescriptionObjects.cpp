#include "HostDescriptionObjects.h"

namespace kestrune::host::aax
{
HostPropertyMap::HostPropertyMap (HostFramework& framework)
    : HostObject (framework, { IID_IACFPropertyMap, IID_IACFPropertyMap_V2 })
{
}

int32_t HostPropertyMap::GetProperty (uint32_t property, int32_t* outValue) const
{
    Framework().Record ("PropertyMap", 3, property);
    const auto found = values_.find (property);
    if (found == values_.end())
        return 0;
    if (outValue != nullptr)
        *outValue = found->second;
    return 1;
}

int32_t HostPropertyMap::AddProperty (uint32_t property, int32_t value)
{
    const int32_t result = Framework().Record ("PropertyMap", 4, property, value);
    if (result == AAX_SUCCESS)
        values_[property] = value;
    return result;
}

int32_t HostPropertyMap::RemoveProperty (uint32_t property)
{
    const int32_t result = Framework().Record ("PropertyMap", 5, property);
    if (result == AAX_SUCCESS)
        values_.erase (property);
    return result;
}

int32_t HostPropertyMap::AddPointerProperty (uint32_t property, const void* value)
{
    const int32_t result = Framework().Record ("PropertyMap", 6, property, value);
    if (result == AAX_SUCCESS)
        pointers_[property] = value;
    return result;
}

int32_t HostPropertyMap::GetPointerProperty (uint32_t property, const void** outValue) const
{
    Framework().Record ("PropertyMap", 7, property);
    const auto found = pointers_.find (property);
    if (found == pointers_.end())
        return 0;
    if (outValue != nullptr)
        *outValue = found->second;
    return 1;
}

PropertyValues HostPropertyMap::ValuesOf (const AAX_IACFPropertyMap* map)
{
    const auto* own = dynamic_cast<const HostPropertyMap*> (map);
    return own != nullptr ? own->values_ : PropertyValues {};
}

HostComponentDescriptor::HostComponentDescriptor (HostFramework& framework)
    : HostObject (framework, { IID_IACFComponentDescriptor, IID_IACFComponentDescriptor_V2 })
{
}

int32_t HostComponentDescriptor::Clear()
{
    record_ = {};
    return Framework().Record ("ComponentDescriptor", 3);
}

int32_t HostComponentDescriptor::AddReservedField (uint32_t field, uint32_t fieldType) { return Framework().Record ("ComponentDescriptor", 4, field, fieldType); }

int32_t HostComponentDescriptor::AddAudioIn (uint32_t field)
{
    record_.audioFields.push_back (field);
    record_.fields[field] = FieldKind::audioIn;
    return Framework().Record ("ComponentDescriptor", 5, field);
}

int32_t HostComponentDescriptor::AddAudioOut (uint32_t field)
{
    record_.audioFields.push_back (field);
    record_.fields[field] = FieldKind::audioOut;
    return Framework().Record ("ComponentDescriptor", 6, field);
}

int32_t HostComponentDescriptor::AddAudioBufferLength (uint32_t field)
{
    record_.audioFields.push_back (field);
    record_.fields[field] = FieldKind::bufferLength;
    return Framework().Record ("ComponentDescriptor", 7, field);
}

int32_t HostComponentDescriptor::AddSampleRate (uint32_t field) { return Framework().Record ("ComponentDescriptor", 8, field); }
int32_t HostComponentDescriptor::AddClock (uint32_t field) { return Framework().Record ("ComponentDescriptor", 9, field); }
int32_t HostComponentDescriptor::AddSideChainIn (uint32_t field) { return Framework().Record ("ComponentDescriptor", 10, field); }

int32_t HostComponentDescriptor::AddDataInPort (uint32_t field, uint32_t packetSize, int32_t buffered)
{
    record_.dataInPorts.push_back ({ field, packetSize, buffered });
    record_.fields[field] = FieldKind::dataInPort;
    return Framework().Record ("ComponentDescriptor", 11, field, packetSize, buffered);
}

int32_t HostComponentDescriptor::AddAuxOutputStem (uint32_t field, int32_t stemFormat, const char* name) { return Framework().Record ("ComponentDescriptor", 12, field, stemFormat, name); }

int32_t HostComponentDescriptor::AddPrivateData (uint32_t field, int32_t dataSize, uint32_t options)
{
    record_.privateData.push_back ({ field, dataSize, options });
    record_.fields[field] = FieldKind::privateData;
    return Framework().Record ("ComponentDescriptor", 13, field, dataSize, options);
}

int32_t HostComponentDescriptor::AddTemporaryData (uint32_t field, uint32_t dataElementSize) { return Framework().Record ("ComponentDescriptor", 14, field, dataElementSize); }
int32_t HostComponentDescriptor::AddDmaInstance (uint32_t field, int32_t dmaMode) { return Framework().Record ("ComponentDescriptor", 15, field, dmaMode); }

int32_t HostComponentDescriptor::AddProcessProcedure (AAX_ProcessProc procedure, AAX_IACFPropertyMap* properties)
{
    record_.processProcedures.push_back ({ procedure, HostPropertyMap::ValuesOf (properties) });
    return Framework().Record ("ComponentDescriptor", 16, reinterpret_cast<void*> (procedure), properties);
}

int32_t HostComponentDescriptor::AddProcessProcedureByName (const char* entryName, const char* moduleName,
                                                            AAX_IACFPropertyMap* properties)
{
    return Framework().Record ("ComponentDescriptor", 17, entryName, moduleName, properties);
}

int32_t HostComponentDescriptor::AddMeters (uint32_t field, const uint32_t* meterIds, uint32_t meterCount) { return Framework().Record ("ComponentDescriptor", 18, field, meterIds, meterCount); }
int32_t HostComponentDescriptor::AddMidiNode (uint32_t field, int32_t nodeType, const char* name, uint32_t channelMask) { return Framework().Record ("ComponentDescriptor", 19, field, nodeType, name, channelMask); }

HostEffectDescriptor::HostEffectDescriptor (HostFramework& framework)
    : HostObject (framework, { IID_IACFEffectDescriptor, IID_IACFEffectDescriptor_V2 })
{
}

int32_t HostEffectDescriptor::AddComponent (AAX_IACFComponentDescriptor* component)
{
    const int32_t result = Framework().Record ("EffectDescriptor", 3, component);
    if (const auto* own = dynamic_cast<const HostComponentDescriptor*> (component); own != nullptr && result == AAX_SUCCESS)
        record_.components.push_back (own->Record());
    return result;
}

int32_t HostEffectDescriptor::AddName (const char* name)
{
    record_.names.emplace_back (name != nullptr ? name : "");
    return Framework().Record ("EffectDescriptor", 4, name);
}

int32_t HostEffectDescriptor::AddCategory (uint32_t category)
{
    record_.categories.push_back (category);
    return Framework().Record ("EffectDescriptor", 5, category);
}

int32_t HostEffectDescriptor::AddCategoryBypassParameter (uint32_t category, const char* parameterId) { return Framework().Record ("EffectDescriptor", 6, category, parameterId); }

int32_t HostEffectDescriptor::AddProcPtr (void* procedure, int32_t procedureKind)
{
    record_.procedures.push_back ({ procedure, procedureKind });
    return Framework().Record ("EffectDescriptor", 7, procedure, procedureKind);
}

int32_t HostEffectDescriptor::SetProperties (AAX_IACFPropertyMap* properties)
{
    record_.properties = HostPropertyMap::ValuesOf (properties);
    return Framework().Record ("EffectDescriptor", 8, properties);
}

int32_t HostEffectDescriptor::AddResourceInfo (int32_t resourceKind, const char* info) { return Framework().Record ("EffectDescriptor", 9, resourceKind, info); }
int32_t HostEffectDescriptor::AddMeterDescription (uint32_t meterId, const char* name, AAX_IACFPropertyMap* properties) { return Framework().Record ("EffectDescriptor", 10, meterId, name, properties); }
int32_t HostEffectDescriptor::AddControlMidiNode (uint32_t nodeId, int32_t nodeType, const char* name, uint32_t channelMask) { return Framework().Record ("EffectDescriptor", 11, nodeId, nodeType, name, channelMask); }

HostPluginDefinition::HostPluginDefinition (HostFramework& framework)
    : HostObject (framework, { IID_IACFPluginDefinition })
{
}

HostCollection::HostCollection (HostFramework& framework)
    : HostObject (framework, { IID_IACFCollection })
{
}

int32_t HostCollection::HostSlot3() { return Framework().Record ("Collection", 3); }
int32_t HostCollection::HostSlot4() { return Framework().Record ("Collection", 4); }
int32_t HostCollection::HostSlot5() { return Framework().Record ("Collection", 5); }
int32_t HostCollection::HostSlot6() { return Framework().Record ("Collection", 6); }

int32_t HostCollection::AddEffect (const char* effectId, AAX_IACFEffectDescriptor* descriptor)
{
    const int32_t result = Framework().Record ("Collection", 7, effectId, descriptor);
    if (const auto* own = dynamic_cast<const HostEffectDescriptor*> (descriptor); own != nullptr && result == AAX_SUCCESS)
    {
        RecordedEffect effect = own->Record();
        effect.identifier = effectId != nullptr ? effectId : "";
        Framework().Description().effects.push_back (std::move (effect));
    }
    return result;
}

int32_t HostCollection::SetManufacturerName (const char* name)
{
    Framework().Description().manufacturer = name != nullptr ? name : "";
    return Framework().Record ("Collection", 8, name);
}

int32_t HostCollection::AddPackageName (const char* name)
{
    Framework().Description().packageNames.emplace_back (name != nullptr ? name : "");
    return Framework().Record ("Collection", 9, name);
}

int32_t HostCollection::SetPackageVersion (uint32_t version)
{
    Framework().Description().packageVersion = version;
    return Framework().Record ("Collection", 10, version);
}

int32_t HostCollection::SetProperties (AAX_IACFPropertyMap* properties)
{
    Framework().Description().properties = HostPropertyMap::ValuesOf (properties);
    return Framework().Record ("Collection", 11, properties);
}

IACFUnknown* HostCollection::FindInterface (const acfIID& iid)
{
    if (! (iid == IID_IACFPluginDefinition))
        return HostObject::FindInterface (iid);
    ++Framework().Description().definitionQueries;
    // The new definition's only reference is the one QueryInterface adds.
    return new HostPluginDefinition (Framework());
}
} // namespace kestrune::host::aax
