// A small AAX module for the tests: it describes one effect the way the product does and makes
// one kind of counted object. Built twice: once describing itself, once failing with
// TEST_DESCRIPTION_RESULT.
#include "ACFModule.h"
#include "CACFUnknown.h"
#include "TestModuleIds.h"

#ifndef TEST_DESCRIPTION_RESULT
namespace
{
class TestEffect final : public IACFUnknown, public CACFUnknown
{
public:
    ACFRESULT QueryInterface (const acfIID& iid, void** out) override { return GetOuterUnknown()->QueryInterface (iid, out); }
    uint32_t AddRef() override { return GetOuterUnknown()->AddRef(); }
    uint32_t Release() override { return GetOuterUnknown()->Release(); }

    ACFRESULT InternalQueryInterface (const acfIID& iid, void** out) override
    {
        if (out != nullptr && iid == kTestEffectIID)
            return ProvideInterface (static_cast<IACFUnknown*> (this), out);
        return CACFUnknown::InternalQueryInterface (iid, out);
    }
};

IACFUnknown* CreateTestEffect()
{
    return static_cast<IACFUnknown*> (new TestEffect);
}

void ProcessNothing (void* const[], const void*) {}

int32_t Describe (AAX_ICollection* collection)
{
    AAX_IEffectDescriptor* effect = collection->NewDescriptor();
    effect->AddName (kTestPackageNames[0]);
    effect->AddName (kTestPackageNames[1]);
    effect->AddCategory (kTestCategory);
    effect->AddProcPtr (reinterpret_cast<void*> (&CreateTestEffect), 0);

    AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
    component->AddAudioIn (0);
    component->AddAudioOut (1);
    component->AddAudioBufferLength (2);
    component->AddDataInPort (3, 4, 1);
    component->AddPrivateData (4, 8, 0);
    AAX_IPropertyMap* properties = component->NewPropertyMap();
    for (const auto& [property, value] : kTestComponentProperties)
        properties->AddProperty (property, value);
    component->AddProcessProcedure (&ProcessNothing, properties);
    effect->AddComponent (component);

    if (const int32_t result = collection->AddEffect (kTestEffectId, effect); result != AAX_SUCCESS)
        return result;
    collection->SetManufacturerName (kTestManufacturer);
    collection->AddPackageName (kTestPackageNames[0]);
    collection->AddPackageName (kTestPackageNames[1]);
    return collection->SetPackageVersion (kTestPackageVersion);
}
} // namespace

int32_t GetEffectDescriptions (AAX_ICollection* collection)
{
    return Describe (collection);
}
#else
int32_t GetEffectDescriptions (AAX_ICollection*)
{
    return TEST_DESCRIPTION_RESULT;
}
#endif
