// The effect description KESTrune gives the host when it registers the module.
#include "ACFModule.h"
#include "JuceAAX_GUI.h"
#include "JuceAAX_Processor.h"

#include <iterator>

namespace AAXClasses
{
namespace
{
    constexpr int32_t FourCC (const char (&code)[5])
    {
        return static_cast<int32_t> ((uint32_t (uint8_t (code[0])) << 24) | (uint32_t (uint8_t (code[1])) << 16)
                                     | (uint32_t (uint8_t (code[2])) << 8) | uint32_t (uint8_t (code[3])));
    }

    constexpr const char* kDescription = "Dodediv izevare doruzuzude";
    constexpr const char* kProductName = "KESTrune";
    constexpr const char* kEffectIdentifier = "com.qoraudio.KESTrune";
    constexpr const char* kManufacturerName = "QORaudio";
    constexpr uint32_t kCategoryDynamics = 2;
    constexpr uint32_t kPackageVersion = 0x00010500;
    constexpr int32_t kManufacturerCode = FourCC ("QORa");
    constexpr int32_t kProductCode = FourCC ("KSTR");
    constexpr int32_t kPluginIdBase = FourCC ("jcaa");
    // The channel layouts, one component each with the process procedure for its channel
    // count: 1 in / 1 out, then 2 in / 2 out.
    constexpr AAX_ProcessProc kLayoutProcedures[] = { &JuceAAX_Processor::ProcessCallback<1>, &JuceAAX_Processor::ProcessCallback<2> };
    constexpr int32_t kLayoutCount = static_cast<int32_t> (std::size (kLayoutProcedures));

    // Returns the first failure of a sequence of host calls.
    class FirstFailure
    {
    public:
        void operator<< (int32_t result)
        {
            if (result_ == AAX_SUCCESS)
                result_ = result;
        }
        int32_t Result() const { return result_; }

    private:
        int32_t result_ = AAX_SUCCESS;
    };

    int32_t DescribeComponent (AAX_IEffectDescriptor& effect, int32_t layout)
    {
        AAX_IComponentDescriptor* component = effect.NewComponentDescriptor();
        if (component == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        FirstFailure result;
        result << component->AddAudioIn (kInputChannelsField);
        result << component->AddAudioOut (kOutputChannelsField);
        result << component->AddAudioBufferLength (kBufferLengthField);
        result << component->AddDataInPort (kBypassPortField, kBypassPacketSize, 1);
        result << component->AddPrivateData (kPrivateDataField, kPrivateDataSize, 0);

        AAX_IPropertyMap* properties = component->NewPropertyMap();
        if (properties == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        result << properties->AddProperty (AAX_PROPERTY_MANUFACTURER_ID, kManufacturerCode);
        result << properties->AddProperty (AAX_PROPERTY_PRODUCT_ID, kProductCode);
        result << properties->AddProperty (AAX_PROPERTY_NATIVE, 1);
        result << properties->AddProperty (AAX_PROPERTY_PLUGIN_ID, kPluginIdBase + layout);
        result << component->AddProcessProcedure (kLayoutProcedures[layout], properties);
        result << effect.AddComponent (component);
        return result.Result();
    }
} // namespace
} // namespace AAXClasses

// [host thread] Called by ACFRegisterPlugin.
int32_t GetEffectDescriptions (AAX_ICollection* collection)
{
    using namespace AAXClasses;
    if (collection == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    AAX_IEffectDescriptor* effect = collection->NewDescriptor();
    if (effect == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    FirstFailure result;
    result << effect->AddName (kDescription);
    result << effect->AddName (kProductName);
    result << effect->AddCategory (kCategoryDynamics);
    result << effect->AddProcPtr (reinterpret_cast<void*> (&JuceAAX_GUI::Create), AAX_PROC_EFFECT_GUI);
    result << effect->AddProcPtr (reinterpret_cast<void*> (&JuceAAX_Processor::Create), AAX_PROC_EFFECT_PARAMETERS);
    for (int32_t layout = 0; layout < kLayoutCount; ++layout)
        result << DescribeComponent (*effect, layout);
    if (result.Result() != AAX_SUCCESS)
        return result.Result();

    result << collection->AddEffect (kEffectIdentifier, effect);
    result << collection->SetManufacturerName (kManufacturerName);
    result << collection->AddPackageName (kDescription);
    result << collection->AddPackageName (kProductName);
    result << collection->SetPackageVersion (kPackageVersion);
    return result.Result();
}
