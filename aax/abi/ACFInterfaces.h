// The binary interface between a KESTrune AAX module and the host's component framework.
//
// Shared, unchanged, by the plug-in library (aax/) and the stand-in host (host/aax/). Every host
// interface is a pure-virtual class whose virtual slots sit in the order the host lays them out:
// slot 0-2 are QueryInterface, AddRef and Release, the rest follow in declaration order. None of
// them has a virtual destructor, since that would add slots the host does not have. Identifiers
// are 16-byte records, results 32-bit signed codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// ---------------------------------------------------------------------------------------------
// Identifiers

// A GUID as the framework stores it: 32-bit, two 16-bit fields, then eight bytes.
struct acfUID
{
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};
static_assert (sizeof (acfUID) == 16, "a GUID is a 16-byte record");
static_assert (offsetof (acfUID, data4) == 8, "GUID fields are packed");

using acfIID = acfUID;
using acfCLSID = acfUID;

inline bool operator== (const acfUID& a, const acfUID& b)
{
    return std::memcmp (&a, &b, sizeof (acfUID)) == 0;
}

namespace acf_detail
{
constexpr uint32_t HexDigit (char c)
{
    if (c >= '0' && c <= '9')
        return uint32_t (c - '0');
    if (c >= 'A' && c <= 'F')
        return uint32_t (c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return uint32_t (c - 'a' + 10);
    throw "not a hexadecimal digit";
}

constexpr uint32_t Hex (const char* text, int first, int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value * 16 + HexDigit (text[first + i]);
    return value;
}
} // namespace acf_detail

// Reads a GUID in registry form, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; used for constants,
// so a malformed text fails to compile.
constexpr acfUID ACFGuid (const char (&text)[39])
{
    using acf_detail::Hex;
    if (text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-'
        || text[37] != '}')
        throw "not a GUID in registry form";
    acfUID id { Hex (text, 1, 8), uint16_t (Hex (text, 10, 4)), uint16_t (Hex (text, 15, 4)), {} };
    id.data4[0] = uint8_t (Hex (text, 20, 2));
    id.data4[1] = uint8_t (Hex (text, 22, 2));
    for (int i = 0; i < 6; ++i)
        id.data4[2 + i] = uint8_t (Hex (text, 25 + 2 * i, 2));
    return id;
}

// Interfaces of the framework itself and of the plug-in's objects.
inline constexpr acfIID IID_IACFUnknown = ACFGuid ("{00000000-0000-0000-C000-000000000046}");
inline constexpr acfIID IID_IACFPluginDefinition = ACFGuid ("{00EEF015-7FD0-11D6-8485-00306542A024}");
inline constexpr acfIID IID_IACFObjectFactory = ACFGuid ("{382B6A96-7FD0-11D6-BCFE-00306542A024}");
inline constexpr acfIID IID_IACFEffectParameters = ACFGuid ("{964E333D-334C-533F-C2C7-3834C3C23E3E}");
inline constexpr acfIID IID_IACFEffectParameters_V2 = ACFGuid ("{F1F47D06-308F-4CC5-9C7C-50A83F8AB813}");
inline constexpr acfIID IID_IACFEffectGUI = ACFGuid ("{964E323D-424C-5E1A-2227-282423222E1E}");

// Host interfaces reached by QueryInterface.
inline constexpr acfIID IID_IACFController = ACFGuid ("{9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E}");
inline constexpr acfIID IID_IACFController_V2 = ACFGuid ("{4C59AA0E-D7C0-4205-8B6C-32468D42D202}");
inline constexpr acfIID IID_IACFTransport = ACFGuid ("{5CEE4EF4-6337-4359-B63B-FE58DC36543A}");
inline constexpr acfIID IID_IACFTransport_V2 = ACFGuid ("{203CBD9F-982C-4FE6-A827-07480257AEC3}");
inline constexpr acfIID IID_IACFAutomationDelegate = ACFGuid ("{9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E}");
inline constexpr acfIID IID_IACFViewContainer = ACFGuid ("{22DA0BBC-D550-4D5E-8CC6-734483B8837F}");

// Host objects made through the object factory: class, interface, second-version interface.
inline constexpr acfCLSID CLSID_HostServices = ACFGuid ("{88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA}");
inline constexpr acfIID IID_IACFHostServices = ACFGuid ("{96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA}");
inline constexpr acfCLSID CLSID_Collection = ACFGuid ("{89882C2D-77BC-42EF-707B-7981B7BD0CCA}");
inline constexpr acfIID IID_IACFCollection = ACFGuid ("{96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA}");
inline constexpr acfCLSID CLSID_EffectDescriptor = ACFGuid ("{89872C2D-75BC-423F-401B-F9A1BAAD0CCA}");
inline constexpr acfIID IID_IACFEffectDescriptor = ACFGuid ("{96D42C2D-EBBC-41EF-D1CB-499442E40FDA}");
inline constexpr acfIID IID_IACFEffectDescriptor_V2 = ACFGuid ("{41ECCC52-416B-4072-84BD-40B05210A74C}");
inline constexpr acfCLSID CLSID_ComponentDescriptor = ACFGuid ("{94872C3D-95BC-413D-D0DB-D9B12AAD0CCA}");
inline constexpr acfIID IID_IACFComponentDescriptor = ACFGuid ("{96E42C2D-E2BC-51EF-61C7-48994AEB0CDA}");
inline constexpr acfIID IID_IACFComponentDescriptor_V2 = ACFGuid ("{1895259E-AAA9-4F0F-A985-149837B76F89}");
inline constexpr acfCLSID CLSID_PropertyMap = ACFGuid ("{A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA}");
inline constexpr acfIID IID_IACFPropertyMap = ACFGuid ("{96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE}");
inline constexpr acfIID IID_IACFPropertyMap_V2 = ACFGuid ("{7177DF80-7C9C-11E2-B92A-0800200C9A66}");

// ---------------------------------------------------------------------------------------------
// Results

using ACFRESULT = int32_t;

inline constexpr ACFRESULT ACF_OK = 0;
inline constexpr ACFRESULT ACF_E_NOINTERFACE = static_cast<int32_t> (0x80000004u);
inline constexpr ACFRESULT ACF_E_POINTER = static_cast<int32_t> (0x80000005u);
inline constexpr ACFRESULT ACF_E_UNEXPECTED = static_cast<int32_t> (0x8000FFFFu);

inline constexpr int32_t AAX_SUCCESS = 0;
inline constexpr int32_t AAX_ERROR_UNKNOWN_PARAMETER = -20001;
inline constexpr int32_t AAX_ERROR_CONVERSION_FAILED = -20002;
inline constexpr int32_t AAX_ERROR_NULL_OBJECT = -20004;
inline constexpr int32_t AAX_ERROR_CHUNK_INDEX = -20006;
inline constexpr int32_t AAX_ERROR_UNKNOWN_CHUNK = -20007;
inline constexpr int32_t AAX_ERROR_CHUNK_SIZE_CHANGED = -20008;
inline constexpr int32_t AAX_ERROR_UNIMPLEMENTED = -20009;
inline constexpr int32_t AAX_ERROR_NULL_ARGUMENT = -20011;
inline constexpr int32_t AAX_ERROR_CHUNK_WRITE = -333;

// The SDK version a module reports.
inline constexpr uint64_t ACF_SDK_VERSION = 0x000002000061125CULL;

// ---------------------------------------------------------------------------------------------
// Strings handed across the boundary to be read or filled. Unlike the host interfaces this one
// is implemented on both sides and has its destructor in slot 0.

class AAX_IString
{
public:
    virtual ~AAX_IString() = default;
    virtual uint32_t Length() const = 0;
    virtual uint32_t MaxLength() const = 0;
    virtual const char* Get() const = 0;
    virtual void Append (const char* text) = 0;
    virtual void Set (const char* text) = 0;
    virtual void Set (const AAX_IString& other) = 0;
};

// ---------------------------------------------------------------------------------------------
// A chunk record as the host hands it over: a fixed header, then `fSize` bytes of data. The host
// allocates the header and as many data bytes as the plug-in reported for the chunk.

struct AAX_SPlugInChunkHeader
{
    int32_t fSize; // data size in bytes
    int32_t fVersion;
    uint8_t fUnused[12];
    uint32_t fChunkID; // four-character code
    char fName[32]; // zero-padded text
};
static_assert (sizeof (AAX_SPlugInChunkHeader) == 56, "the chunk data starts at byte 56");
static_assert (offsetof (AAX_SPlugInChunkHeader, fChunkID) == 20, "chunk identifier at byte 20");
static_assert (offsetof (AAX_SPlugInChunkHeader, fName) == 24, "chunk name at byte 24");

// The data area that follows a chunk header.
inline uint8_t* AAX_ChunkData (AAX_SPlugInChunkHeader* chunk)
{
    return reinterpret_cast<uint8_t*> (chunk) + sizeof (AAX_SPlugInChunkHeader);
}
inline const uint8_t* AAX_ChunkData (const AAX_SPlugInChunkHeader* chunk)
{
    return reinterpret_cast<const uint8_t*> (chunk) + sizeof (AAX_SPlugInChunkHeader);
}

// ---------------------------------------------------------------------------------------------
// The framework's reference-counted base and the host interfaces, in slot order.

class IACFUnknown
{
public:
    virtual ACFRESULT QueryInterface (const acfIID& iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
};

// What ACFRegisterPlugin hands back: the host's view of the described plug-in.
class IACFPluginDefinition : public IACFUnknown
{
};

// Makes host objects by class identifier.
class IACFObjectFactory : public IACFUnknown
{
public:
    virtual ACFRESULT CreateInstance (const acfCLSID& classId, IACFUnknown* outer, const acfIID& iid,
                                      void** out) = 0;
};

// Procedures a description registers; the host calls them to make instance objects.
using AAX_CreateObjectProc = IACFUnknown* (*) ();
// The audio processing procedure of a component.
using AAX_ProcessProc = void (*) (void* const instances[], const void* instancesEnd);

class AAX_IACFPropertyMap : public IACFUnknown
{
public:
    virtual int32_t GetProperty (uint32_t property, int32_t* outValue) const = 0; // 3: nonzero when present
    virtual int32_t AddProperty (uint32_t property, int32_t value) = 0; // 4
    virtual int32_t RemoveProperty (uint32_t property) = 0; // 5
};

class AAX_IACFPropertyMap_V2 : public AAX_IACFPropertyMap
{
public:
    virtual int32_t AddPointerProperty (uint32_t property, const void* value) = 0; // 6
    virtual int32_t GetPointerProperty (uint32_t property, const void** outValue) const = 0; // 7: nonzero when present
};

class AAX_IACFComponentDescriptor : public IACFUnknown
{
public:
    virtual int32_t Clear() = 0; // 3
    virtual int32_t AddReservedField (uint32_t field, uint32_t fieldType) = 0; // 4
    virtual int32_t AddAudioIn (uint32_t field) = 0; // 5
    virtual int32_t AddAudioOut (uint32_t field) = 0; // 6
    virtual int32_t AddAudioBufferLength (uint32_t field) = 0; // 7
    virtual int32_t AddSampleRate (uint32_t field) = 0; // 8
    virtual int32_t AddClock (uint32_t field) = 0; // 9
    virtual int32_t AddSideChainIn (uint32_t field) = 0; // 10
    virtual int32_t AddDataInPort (uint32_t field, uint32_t packetSize, int32_t buffered) = 0; // 11
    virtual int32_t AddAuxOutputStem (uint32_t field, int32_t stemFormat, const char* name) = 0; // 12
    virtual int32_t AddPrivateData (uint32_t field, int32_t dataSize, uint32_t options) = 0; // 13
    virtual int32_t AddTemporaryData (uint32_t field, uint32_t dataElementSize) = 0; // 14
    virtual int32_t AddDmaInstance (uint32_t field, int32_t dmaMode) = 0; // 15
    virtual int32_t AddProcessProcedure (AAX_ProcessProc procedure, AAX_IACFPropertyMap* properties) = 0; // 16
    virtual int32_t AddProcessProcedureByName (const char* entryName, const char* moduleName,
                                               AAX_IACFPropertyMap* properties) = 0; // 17
    virtual int32_t AddMeters (uint32_t field, const uint32_t* meterIds, uint32_t meterCount) = 0; // 18
};

class AAX_IACFComponentDescriptor_V2 : public AAX_IACFComponentDescriptor
{
public:
    virtual int32_t AddMidiNode (uint32_t field, int32_t nodeType, const char* name, uint32_t channelMask) = 0; // 19
};

class AAX_IACFEffectDescriptor : public IACFUnknown
{
public:
    virtual int32_t AddComponent (AAX_IACFComponentDescriptor* component) = 0; // 3
    virtual int32_t AddName (const char* name) = 0; // 4
    virtual int32_t AddCategory (uint32_t category) = 0; // 5
    virtual int32_t AddCategoryBypassParameter (uint32_t category, const char* parameterId) = 0; // 6
    virtual int32_t AddProcPtr (void* procedure, int32_t procedureKind) = 0; // 7
    virtual int32_t SetProperties (AAX_IACFPropertyMap* properties) = 0; // 8
    virtual int32_t AddResourceInfo (int32_t resourceKind, const char* info) = 0; // 9
    virtual int32_t AddMeterDescription (uint32_t meterId, const char* name, AAX_IACFPropertyMap* properties) = 0; // 10
};

class AAX_IACFEffectDescriptor_V2 : public AAX_IACFEffectDescriptor
{
public:
    virtual int32_t AddControlMidiNode (uint32_t nodeId, int32_t nodeType, const char* name, uint32_t channelMask) = 0; // 11
};

class AAX_IACFCollection : public IACFUnknown
{
public:
    // Slots 3-6 belong to the host; the library never calls them.
    virtual int32_t HostSlot3() = 0;
    virtual int32_t HostSlot4() = 0;
    virtual int32_t HostSlot5() = 0;
    virtual int32_t HostSlot6() = 0;
    virtual int32_t AddEffect (const char* effectId, AAX_IACFEffectDescriptor* descriptor) = 0; // 7
    virtual int32_t SetManufacturerName (const char* name) = 0; // 8
    virtual int32_t AddPackageName (const char* name) = 0; // 9
    virtual int32_t SetPackageVersion (uint32_t version) = 0; // 10
    virtual int32_t SetProperties (AAX_IACFPropertyMap* properties) = 0; // 11
};

class AAX_IACFHostServices : public IACFUnknown
{
public:
    virtual int32_t HandleAssertFailure (const char* file, int32_t line, const char* note) = 0; // 3
    virtual int32_t Trace (int32_t priority, const char* message) = 0; // 4
};

class AAX_IACFController : public IACFUnknown
{
public:
    virtual int32_t GetEffectId (AAX_IString* outId) const = 0; // 3
    virtual int32_t GetSampleRate (double* outRate) const = 0; // 4
    virtual int32_t GetInputStemFormat (int32_t* outFormat) const = 0; // 5
    virtual int32_t GetOutputStemFormat (int32_t* outFormat) const = 0; // 6
    virtual int32_t GetSignalLatency (int32_t* outSamples) const = 0; // 7
    virtual int32_t GetCycleCount (int32_t which, int32_t* outCount) const = 0; // 8
    virtual int32_t GetTimeOfDay (int64_t* outSamples) const = 0; // 9
    virtual int32_t SetSignalLatency (int32_t samples) = 0; // 10
    virtual int32_t SetCycleCount (const int32_t* counts, int32_t countCount) = 0; // 11
    virtual int32_t PostPacket (uint32_t port, const void* data, uint32_t size) = 0; // 12
    virtual int32_t GetMeterValue (uint32_t meterId, float* outValue) const = 0; // 13
    virtual int32_t GetMeterPeak (uint32_t meterId, float* outValue) const = 0; // 14
    virtual int32_t ClearMeterPeak (uint32_t meterId) const = 0; // 15
    virtual int32_t GetMeterClipped (uint32_t meterId, int32_t* outClipped) const = 0; // 16
    virtual int32_t ClearMeterClipped (uint32_t meterId) const = 0; // 17
    virtual int32_t GetMeterCount (uint32_t* outCount) const = 0; // 18
    virtual int32_t GetNextMidiPacket (uint32_t* outPort, void* outPacket) = 0; // 19
};

class AAX_IACFController_V2 : public AAX_IACFController
{
public:
    virtual int32_t GetHostName (AAX_IString* outName) const = 0; // 20
    virtual int32_t GetPlugInMode (int32_t* outMode) const = 0; // 21
    virtual int32_t GetTimestamp (int64_t* outTimestamp) const = 0; // 22
    virtual int32_t SendNotification (uint32_t type, const void* data, uint32_t size) = 0; // 23
};

class AAX_IACFTransport : public IACFUnknown
{
public:
    virtual int32_t IsPlaying (int32_t* outPlaying) const = 0; // 3
    virtual int32_t GetTempo (double* outBeatsPerMinute) const = 0; // 4
    virtual int32_t GetMeter (int32_t* outNumerator, int32_t* outDenominator) const = 0; // 5
    virtual int32_t GetTickPosition (int64_t* outTicks) const = 0; // 6
    virtual int32_t GetLoop (int32_t* outLooping, int64_t* outStartTick, int64_t* outEndTick) const = 0; // 7
    virtual int32_t GetSamplePosition (int64_t* outSamples) const = 0; // 8
    virtual int32_t GetTickPositionAt (int64_t* outTicks, int64_t samplePosition) const = 0; // 9
    virtual int32_t GetBarBeat (int32_t* outBars, int32_t* outBeats, int64_t* outTicks, int64_t samplePosition) const = 0; // 10
    virtual int32_t GetTicksPerQuarter (uint32_t* outTicks) const = 0; // 11
    virtual int32_t GetTicksPerBeat (uint32_t* outTicks) const = 0; // 12
};

class AAX_IACFTransport_V2 : public AAX_IACFTransport
{
public:
    virtual int32_t GetSelectionStart (int64_t* outSamples) const = 0; // 13
    virtual int32_t GetTimeCodeFrameRate (int32_t* outRate, int64_t* outOffset) const = 0; // 14
    virtual int32_t GetFeetFramesRate (int32_t* outRate) const = 0; // 15
};

class AAX_IACFAutomationDelegate : public IACFUnknown
{
public:
    virtual int32_t RegisterParameter (const char* parameterId) = 0; // 3
    virtual int32_t UnregisterParameter (const char* parameterId) = 0; // 4
    virtual int32_t PostSetValueRequest (const char* parameterId, double normalizedValue) const = 0; // 5
    virtual int32_t PostCurrentValue (const char* parameterId, double normalizedValue) const = 0; // 6
    virtual int32_t PostTouchRequest (const char* parameterId) = 0; // 7
    virtual int32_t PostReleaseRequest (const char* parameterId) = 0; // 8
    virtual int32_t GetTouchState (const char* parameterId, int32_t* outTouched) = 0; // 9
};

class AAX_IACFViewContainer : public IACFUnknown
{
public:
    virtual int32_t GetType (int32_t* outType) = 0; // 3
    virtual int32_t GetPtr (void** outNativeView) = 0; // 4
    virtual int32_t GetModifiers (uint32_t* outModifiers) = 0; // 5
    virtual int32_t SetViewSize (int32_t width, int32_t height) = 0; // 6
    virtual int32_t HandleParameterMouseDown (const char* parameterId, uint32_t modifiers) = 0; // 7
    virtual int32_t HandleParameterMouseDrag (const char* parameterId, uint32_t modifiers) = 0; // 8
    virtual int32_t HandleParameterMouseUp (const char* parameterId, uint32_t modifiers) = 0; // 9
};

// ---------------------------------------------------------------------------------------------
// The interfaces of the plug-in's own objects, which the host calls.

using AAX_CBoolean = uint8_t;
// A host-visible parameter object of the plug-in; opaque to the host.
class AAX_IParameter;

// Stem formats as the controller reports them: the channel count sits in the low 16 bits.
inline constexpr int32_t AAX_STEM_FORMAT_MONO = 0x00000001;
inline constexpr int32_t AAX_STEM_FORMAT_STEREO = 0x00010002;
inline constexpr int32_t AAX_StemFormatChannelCount (int32_t format)
{
    return format & 0xFFFF;
}

// Notifications the host sends an instance's data model.
inline constexpr uint32_t AAX_NOTIFICATION_PREVIEW = 0x41535076; // 'ASPv': int32 payload, nonzero = preview on
inline constexpr uint32_t AAX_NOTIFICATION_OFFLINE_MODE = 0x414F666C; // 'AOfl': int32 payload, nonzero = rendering offline
// 'AFmt': no payload; sent on the host thread after the controller's sample rate or stem formats
// changed and before any block runs in the new format.
inline constexpr uint32_t AAX_NOTIFICATION_FORMAT_CHANGED = 0x41466D74;

// Property identifiers of a component's property map.
inline constexpr uint32_t AAX_PROPERTY_MANUFACTURER_ID = 11;
inline constexpr uint32_t AAX_PROPERTY_PRODUCT_ID = 12;
inline constexpr uint32_t AAX_PROPERTY_PLUGIN_ID = 13;
inline constexpr uint32_t AAX_PROPERTY_NATIVE = 60;

// Procedure kinds of AddProcPtr.
inline constexpr int32_t AAX_PROC_EFFECT_PARAMETERS = 0;
inline constexpr int32_t AAX_PROC_EFFECT_GUI = 1;

// An instance's data model: parameters, chunks, packets and the private-data blocks of its
// processing contexts.
class AAX_IACFEffectParameters : public IACFUnknown
{
public:
    virtual int32_t Initialize (IACFUnknown* host) = 0; // 3
    virtual int32_t Uninitialize() = 0; // 4
    virtual int32_t ReceiveNotification (uint32_t type, const void* data, uint32_t size) = 0; // 5
    virtual int32_t GetNumberOfParameters (int32_t* outCount) const = 0; // 6
    virtual int32_t GetMasterBypassParameter (AAX_IString* outId) const = 0; // 7
    virtual int32_t GetParameterIsAutomatable (const char* id, AAX_CBoolean* outAutomatable) const = 0; // 8
    virtual int32_t GetParameterNumberOfSteps (const char* id, int32_t* outSteps) const = 0; // 9
    virtual int32_t GetParameterName (const char* id, AAX_IString* outName) const = 0; // 10
    virtual int32_t GetParameterNameOfLength (const char* id, AAX_IString* outName, int32_t length) const = 0; // 11
    virtual int32_t GetParameterDefaultNormalizedValue (const char* id, double* outValue) const = 0; // 12
    virtual int32_t SetParameterToDefaultValue (const char* id) = 0; // 13
    virtual int32_t GetParameterType (const char* id, int32_t* outType) const = 0; // 14
    virtual int32_t GetParameterOrientation (const char* id, int32_t* outOrientation) const = 0; // 15
    virtual int32_t GetParameter (const char* id, AAX_IParameter** outParameter) = 0; // 16
    virtual int32_t GetParameterIndex (const char* id, int32_t* outIndex) const = 0; // 17
    virtual int32_t GetParameterIDFromIndex (int32_t index, AAX_IString* outId) const = 0; // 18
    virtual int32_t ParameterQueryNotImplemented (const char* id, int32_t selector, int32_t* outValue) const = 0; // 19
    virtual int32_t GetParameterValueFromString (const char* id, double* outValue, const AAX_IString& text) const = 0; // 20
    virtual int32_t GetParameterStringFromValue (const char* id, double value, AAX_IString* outText, int32_t length) const = 0; // 21
    virtual int32_t GetParameterValueString (const char* id, AAX_IString* outText, int32_t length) const = 0; // 22
    virtual int32_t GetParameterNormalizedValue (const char* id, double* outValue) const = 0; // 23
    virtual int32_t SetParameterNormalizedValue (const char* id, double value) = 0; // 24
    virtual int32_t SetParameterNormalizedRelative (const char* id, double delta) = 0; // 25
    virtual int32_t TouchParameter (const char* id) = 0; // 26
    virtual int32_t ReleaseParameter (const char* id) = 0; // 27
    virtual int32_t ReservedOperation28 (const char* id, AAX_CBoolean touched) = 0; // 28
    virtual int32_t UpdateParameterNormalizedValue (const char* id, double value, int32_t cause) = 0; // 29
    virtual int32_t UpdateParameterNormalizedRelative (const char* id, double delta) = 0; // 30
    virtual int32_t DispatchPackets() = 0; // 31
    virtual int32_t ClearDataBlock (uint32_t field, void* block, uint32_t size) = 0; // 32
    virtual int32_t GetNumberOfChunks (int32_t* outCount) const = 0; // 33
    virtual int32_t GetChunkIDFromIndex (int32_t index, uint32_t* outId) const = 0; // 34
    virtual int32_t GetChunkSize (uint32_t id, int32_t* outSize) = 0; // 35
    virtual int32_t GetChunk (uint32_t id, AAX_SPlugInChunkHeader* outChunk) = 0; // 36
    virtual int32_t SetChunk (uint32_t id, const AAX_SPlugInChunkHeader* chunk) = 0; // 37
    virtual int32_t CompareChunk (const AAX_SPlugInChunkHeader* chunk, AAX_CBoolean* outEqual) = 0; // 38
    virtual int32_t GetChangeCount (int32_t* outCount) const = 0; // 39
    virtual int32_t ReservedQuery40() const = 0; // 40
    virtual int32_t ReservedQuery41() const = 0; // 41
};

class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters
{
public:
    virtual int32_t ReturnZeroResult (uint32_t selector, const void* data, uint32_t size, int32_t* outResult) const = 0; // 42
    virtual int32_t ReservedOperation43() = 0; // 43
    virtual int32_t ReservedOperation44() = 0; // 44
    virtual int32_t ReservedOperation45() = 0; // 45
    virtual int32_t ReservedOperation46() = 0; // 46
    virtual int32_t ReservedOperation47() = 0; // 47
};

// The size of a view, in pixels.
struct AAX_Point
{
    float vert;
    float horz;
};

// What a view container's native view is (its GetType), and so what its GetPtr gives.
inline constexpr int32_t AAX_VIEW_CONTAINER_NONE = 0;
inline constexpr int32_t AAX_VIEW_CONTAINER_X11_WINDOW = 3; // GetPtr: the X11 Window, as a pointer-sized integer
inline constexpr int32_t AAX_VIEW_CONTAINER_OFFSCREEN = 4; // GetPtr: an AAX_SOffscreenView

// A window without a display: the host owns the pixels, the view's user draws into them when the
// host asks and takes the mouse events the host delivers.
struct AAX_SOffscreenView
{
    int32_t width;
    int32_t height;
    uint32_t* pixels; // width * height ARGB words, row by row
    // Set by the view's user while it is attached, cleared when it leaves.
    void* client;
    void (*draw) (void* client, AAX_SOffscreenView* view);
    void (*mouse) (void* client, int32_t event, int32_t x, int32_t y);
};

inline constexpr int32_t AAX_MOUSE_DOWN = 1;
inline constexpr int32_t AAX_MOUSE_DRAG = 2;
inline constexpr int32_t AAX_MOUSE_UP = 3;

// An instance's editor: made by the GUI factory, given the instance's host unknown and then the
// view container of each window the host opens for it.
class AAX_IACFEffectGUI : public IACFUnknown
{
public:
    virtual int32_t Initialize (IACFUnknown* host) = 0; // 3
    virtual int32_t Uninitialize() = 0; // 4
    virtual int32_t ReservedNotification (uint32_t type, const void* data, uint32_t size) = 0; // 5
    virtual int32_t SetViewContainer (IACFUnknown* container) = 0; // 6
    virtual int32_t GetViewSize (AAX_Point* outSize) const = 0; // 7
    virtual int32_t ReservedOperation8() = 0; // 8
    virtual int32_t ReservedOperation9() = 0; // 9
    virtual int32_t ParameterUpdated (const char* id) = 0; // 10
    virtual int32_t ReservedQuery11 (const char* id, AAX_IString* outText) const = 0; // 11
    virtual int32_t ReservedOperation12() = 0; // 12
};

// ---------------------------------------------------------------------------------------------
// The seven exports of a module, as the host looks them up by name.

extern "C"
{
    using ACFRegisterPluginProc = ACFRESULT (*) (IACFUnknown* host, IACFPluginDefinition** outDefinition);
    using ACFRegisterComponentProc = ACFRESULT (*) (IACFUnknown* host, const acfCLSID* componentId,
                                                    IACFUnknown** outComponent);
    using ACFGetClassFactoryProc = ACFRESULT (*) (IACFUnknown* host, const acfCLSID* classId,
                                                  const acfIID* iid, void** outFactory);
    using ACFCanUnloadNowProc = ACFRESULT (*)();
    using ACFStartupProc = ACFRESULT (*) (IACFUnknown* host);
    using ACFShutdownProc = ACFRESULT (*) (IACFUnknown* host);
    using ACFGetSDKVersionProc = ACFRESULT (*) (uint64_t* outVersion);
}
