// The collection, effect descriptor, component descriptor and property map wrappers.
#include "ACFHostObject.h"
#include "AAX_VCollection.h"
#include "AAX_VHostServices.h"
#include "WrapperTestSupport.h"

namespace
{
using namespace aax_test;

constexpr int32_t kNull = AAX_ERROR_NULL_OBJECT;
constexpr int32_t kUnimplemented = AAX_ERROR_UNIMPLEMENTED;

template <class Wrapper>
auto OnHost()
{
    return [] (HostFramework&, IACFUnknown* host) { return std::make_unique<Wrapper> (host); };
}

void ProcessNothing (void* const[], const void*) {}

TEST (DescriptionWrappers, CollectionForwards)
{
    const std::vector<ForwardCase<AAX_VCollection>> cases = {
        { 7, false, kNull, [] (auto& c) { return c.AddEffect ("com.qoraudio.KESTrune", c.NewDescriptor()); } },
        { 8, false, kNull, [] (auto& c) { return c.SetManufacturerName ("QORaudio"); } },
        { 9, false, kNull, [] (auto& c) { return c.AddPackageName ("KESTrune"); } },
        { 10, false, kNull, [] (auto& c) { return c.SetPackageVersion (0x00010500); } },
        { 11, false, kNull, [] (auto& c) { return c.SetProperties (c.NewPropertyMap()); } },
    };
    CheckForwarding<AAX_VCollection> ("Collection", nullptr, cases, OnHost<AAX_VCollection>());
}

TEST (DescriptionWrappers, CollectionRefusesANullDescriptorWithoutCallingTheHost)
{
    HostFixture fixture;
    AAX_VCollection collection (fixture.host);
    EXPECT_EQ (collection.AddEffect ("id", nullptr), kNull);
    EXPECT_TRUE (fixture.framework.CallsTo ("Collection").empty());
}

TEST (DescriptionWrappers, EffectDescriptorForwards)
{
    const std::vector<ForwardCase<AAX_VEffectDescriptor>> cases = {
        { 3, false, kNull, [] (auto& e) { return e.AddComponent (e.NewComponentDescriptor()); } },
        { 4, false, kNull, [] (auto& e) { return e.AddName ("KESTrune"); } },
        { 5, false, kNull, [] (auto& e) { return e.AddCategory (2); } },
        { 6, false, kNull, [] (auto& e) { return e.AddCategoryBypassParameter (2, "MasterBypassID"); } },
        { 7, false, kNull, [] (auto& e) { return e.AddProcPtr (nullptr, 1); } },
        { 8, false, kNull, [] (auto& e) { return e.SetProperties (e.NewPropertyMap()); } },
        { 9, false, kNull, [] (auto& e) { return e.AddResourceInfo (1, "page table"); } },
        { 10, false, kNull, [] (auto& e) { return e.AddMeterDescription (1, "Gain", e.NewPropertyMap()); } },
        { 11, true, kUnimplemented, [] (auto& e) { return e.AddControlMidiNode (1, 0, "MIDI", 0xFFFF); } },
    };
    CheckForwarding<AAX_VEffectDescriptor> ("EffectDescriptor", &IID_IACFEffectDescriptor_V2, cases,
                                            OnHost<AAX_VEffectDescriptor>());
}

TEST (DescriptionWrappers, ComponentDescriptorForwardsInItsOwnSlotOrder)
{
    const uint32_t meters[] = { 1, 2 };
    const std::vector<ForwardCase<AAX_VComponentDescriptor>> cases = {
        { 3, false, kNull, [] (auto& c) { return c.Clear(); } },
        { 5, false, kNull, [] (auto& c) { return c.AddAudioIn (0); } },
        { 6, false, kNull, [] (auto& c) { return c.AddAudioOut (1); } },
        { 7, false, kNull, [] (auto& c) { return c.AddAudioBufferLength (2); } },
        { 8, false, kNull, [] (auto& c) { return c.AddSampleRate (5); } },
        { 9, false, kNull, [] (auto& c) { return c.AddClock (6); } },
        { 10, false, kNull, [] (auto& c) { return c.AddSideChainIn (7); } },
        { 11, false, kNull, [] (auto& c) { return c.AddDataInPort (3, 4, 1); } },
        { 12, false, kNull, [] (auto& c) { return c.AddAuxOutputStem (8, 1, "aux"); } },
        { 13, false, kNull, [] (auto& c) { return c.AddPrivateData (4, 8, 0); } },
        { 19, true, kUnimplemented, [] (auto& c) { return c.AddMidiNode (9, 0, "MIDI", 1); } },
        { 14, false, kNull, [] (auto& c) { return c.AddTemporaryData (10, 4); } },
        { 18, false, kNull, [&] (auto& c) { return c.AddMeters (11, meters, 2); } },
        { 15, false, kNull, [] (auto& c) { return c.AddDmaInstance (12, 0); } },
        { 4, false, kNull, [] (auto& c) { return c.AddReservedField (13, 0); } },
        { 16, false, kNull, [] (auto& c) { return c.AddProcessProcedure (&ProcessNothing, c.NewPropertyMap()); } },
        { 17, false, kNull, [] (auto& c) { return c.AddProcessProcedureByName ("Process", "dsp", c.NewPropertyMap()); } },
    };
    CheckForwarding<AAX_VComponentDescriptor> ("ComponentDescriptor", &IID_IACFComponentDescriptor_V2, cases,
                                               OnHost<AAX_VComponentDescriptor>());
}

TEST (DescriptionWrappers, PropertyMapForwardsAndAnswersFalseWhenAbsent)
{
    int32_t value = 0;
    const void* pointer = nullptr;
    const std::vector<ForwardCase<AAX_VPropertyMap>> cases = {
        { 4, false, kNull, [] (auto& m) { return m.AddProperty (11, 0x514F5261); } },
        { 3, false, 0, [&] (auto& m) { return int32_t (m.GetProperty (11, &value)); } },
        { 5, false, kNull, [] (auto& m) { return m.RemoveProperty (11); } },
        { 6, true, kUnimplemented, [] (auto& m) { return m.AddPointerProperty (20, &m); } },
        { 7, true, 0, [&] (auto& m) { return int32_t (m.GetPointerProperty (20, &pointer)); } },
    };
    // GetProperty answers presence, not the scripted result: check it separately.
    HostFixture fixture;
    AAX_VPropertyMap map (fixture.host);
    EXPECT_FALSE (map.GetProperty (12, &value));
    EXPECT_EQ (map.AddProperty (12, 0x4B535452), AAX_SUCCESS);
    EXPECT_TRUE (map.GetProperty (12, &value));
    EXPECT_EQ (value, 0x4B535452);
    EXPECT_EQ (map.RemoveProperty (12), AAX_SUCCESS);
    EXPECT_FALSE (map.GetProperty (12, &value));

    AAX_VPropertyMap missing (nullptr);
    for (const auto& c : cases)
        EXPECT_EQ (c.call (missing), c.missingResult) << "slot " << c.slot;
    HostFixture withoutSecond;
    withoutSecond.framework.FailQuery (IID_IACFPropertyMap_V2);
    AAX_VPropertyMap first (withoutSecond.host);
    EXPECT_EQ (first.AddProperty (1, 1), AAX_SUCCESS);
    EXPECT_EQ (first.AddPointerProperty (20, &first), kUnimplemented);
    EXPECT_FALSE (first.GetPointerProperty (20, &pointer));
}

TEST (DescriptionWrappers, DuplicatePropertyMapCopiesIdentifiersTenTo307)
{
    HostFixture fixture;
    AAX_VComponentDescriptor component (fixture.host);
    AAX_IPropertyMap* source = component.NewPropertyMap();
    for (uint32_t property : { 9u, 10u, 60u, 307u, 308u })
        source->AddProperty (property, int32_t (property * 2));
    AAX_IPropertyMap* copy = component.DuplicatePropertyMap (source);
    ASSERT_NE (copy, source);
    const std::pair<uint32_t, bool> expected[] = { { 9, false }, { 10, true }, { 60, true }, { 307, true }, { 308, false } };
    for (const auto& [property, present] : expected)
    {
        int32_t value = -1;
        EXPECT_EQ (copy->GetProperty (property, &value), present) << property;
        if (present)
        {
            EXPECT_EQ (value, int32_t (property * 2));
        }
    }
}

TEST (DescriptionWrappers, NullFactoryRaisesTheACFError)
{
    HostFixture fixture;
    fixture.framework.SetNullFactory (true);
    auto code = [] (auto make) {
        try
        {
            make();
        }
        catch (const ACFError& error)
        {
            return error.Code();
        }
        return ACF_OK;
    };
    EXPECT_EQ (code ([&] { AAX_VCollection c (fixture.host); }), ACF_E_POINTER);
    EXPECT_EQ (code ([&] { AAX_VEffectDescriptor e (fixture.host); }), ACF_E_POINTER);
    EXPECT_EQ (code ([&] { AAX_VComponentDescriptor c (fixture.host); }), ACF_E_POINTER);
    EXPECT_EQ (code ([&] { AAX_VPropertyMap m (fixture.host); }), ACF_E_POINTER);
    EXPECT_EQ (code ([&] { AAX_VHostServices s (fixture.host); }), ACF_E_POINTER);
}

TEST (DescriptionWrappers, FailedCreationLeavesTheWrapperAnsweringMissing)
{
    HostFixture fixture;
    fixture.framework.FailCreation (CLSID_EffectDescriptor);
    AAX_VCollection collection (fixture.host);
    AAX_IEffectDescriptor* effect = collection.NewDescriptor();
    EXPECT_EQ (effect->AddName ("KESTrune"), kNull);
    EXPECT_EQ (effect->AddControlMidiNode (1, 0, "x", 0), kUnimplemented);
    EXPECT_EQ (collection.SetManufacturerName ("QORaudio"), AAX_SUCCESS);
}

TEST (DescriptionWrappers, DestroyingTheCollectionReleasesEveryHostObject)
{
    HostFixture fixture;
    const int32_t objectsBefore = fixture.framework.LiveObjects();
    const int64_t referencesBefore = fixture.framework.References();
    {
        AAX_VCollection collection (fixture.host);
        for (int e = 0; e < 2; ++e)
        {
            AAX_IEffectDescriptor* effect = collection.NewDescriptor();
            effect->NewPropertyMap();
            AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
            component->DuplicatePropertyMap (component->NewPropertyMap());
            effect->AddComponent (component);
            collection.AddEffect ("id", effect);
        }
        collection.NewPropertyMap();
        EXPECT_EQ (fixture.framework.LiveObjects(), objectsBefore + 1 + 2 * (1 + 1 + 1 + 2) + 1);
    }
    EXPECT_EQ (fixture.framework.LiveObjects(), objectsBefore);
    EXPECT_EQ (fixture.framework.References(), referencesBefore);
}
} // namespace
