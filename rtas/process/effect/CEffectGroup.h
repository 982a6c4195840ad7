#pragma once
// The plug-in's process group as an effect: the manufacturer's and the product's identity, the
// base name under which the engine lists the plug-in's objects, the group's capabilities, and the
// search among its effect types for the one that matches a requested channel configuration. The
// plug-in's own group sets the identity in its constructor and adds its effect types in its
// type-creation step (CreateTypes), which the group's initialisation runs.
//
// [host thread] for every operation.

#include <cstdint>
#include <set>
#include <string>

#include "process/base/FourCharCode.h"
#include "process/group/CDSPProcessGroup.h"
#include "process/process/CProcess.h"

class CEffectType;

// The value a capability query for key 28 brings when it asks about MIDI, and the answer then.
inline constexpr int32_t kMIDICapabilityQuery = static_cast<int32_t> (FourCharCode ("midi"));
inline constexpr int32_t kMIDICapabilityAnswer = 2;
// The largest name and product texts in the base name.
inline constexpr int32_t kBaseNamePartLimit = 127;
// The base name's buffer: 255 characters and the terminator.
inline constexpr int32_t kBaseNameSize = 256;

class CEffectGroup : public CDSPProcessGroup
{
public:
    CEffectGroup() = default;

    int32_t GetGroupVersion() override;
    // The manufacturer name that fits maxLength characters, as a length-prefixed string (name
    // holds maxLength + 1 bytes).
    int32_t GetGroupName (int32_t maxLength, char* name) override;
    // The product name the same way.
    int32_t GetGroupAltName (char* name, int32_t maxLength) override;
    // "Plug-Ins/" manufacturer "/" product "/" the version's low 8 bits in decimal, each name
    // fitted to 127 characters; built at the first call and kept. At most 255 characters and a
    // terminator: name holds 256 bytes.
    void GetBaseName (char* name);

    // Key 28 answers whether the group does MIDI (2 when asked with 'midi'); a key in the group's
    // capabilities answers 1; others: 0 and the type's answer.
    int32_t GetCardInfo (uint32_t typeID, int32_t key, int32_t* value) override;
    // The group's manufacturer code, the type's product code and its type identifier for the type
    // with the 1-based index; -77 for a type that is no effect type.
    int32_t GetTypeIDsByIndex (int32_t index, uint32_t* manufacturer, uint32_t* product, uint32_t* typeID) override;
    // Stamps the record with the group's version (byte 4) and manufacturer code (byte 8), then the
    // type's stamp and the process's chunk.
    int32_t GetChunk (uint32_t typeID, int32_t process, uint32_t chunkID, SFicPlugInChunk* chunk) override;
    // Only a record of this manufacturer reaches the type; else -7157.
    int32_t SetChunk (uint32_t typeID, int32_t process, uint32_t chunkID, SFicPlugInChunk* chunk) override;
    int32_t RestoreControlsFromChunk (uint32_t typeID, int32_t process, SFicPlugInChunk* chunk, uint8_t* matches) override;

    // The type for a configuration of inputs and outputs (1 or 2 each; the request's own type's
    // configuration for kMatchOwnStemFormats). A request for another configuration answers
    // 0 and is left as it is.
    int32_t MatchPlugInSpec (SFicPlugInSpec* request, int32_t inputs, int32_t outputs) override;
    // The first effect type of the requested type's family and of the kind whose stem formats are
    // (inputFormat, outputFormat) (and, when either is -1, whose channel counts are (inputs,
    // outputs)): the request then names it, 0. None: -7055 and the request is left as it was.
    int32_t MatchPlugInSpecStems (SFicPlugInSpec* request, int32_t kind, int32_t inputs, int32_t outputs,
                                  int32_t inputFormat, int32_t outputFormat) override;

    const std::string& GetManufacturerName() const { return fManufacturerName; }
    uint32_t GetManufacturerCode() const { return fManufacturerCode; }
    const std::string& GetProductName() const { return fProductName; }

protected:
    void SetManufacturerName (const std::string& name) { fManufacturerName = name; }
    void SetManufacturerCode (uint32_t code) { fManufacturerCode = code; }
    void SetProductName (const std::string& name) { fProductName = name; }
    void SetVersion (int32_t version) { fVersion = version; }
    void AddCapability (int32_t code) { fCapabilities.insert (code); }

private:
    // The effect type the request names; null when its type is another kind of type.
    CEffectType* RequestedType (const SFicPlugInSpec& request);

    std::string fManufacturerName;
    uint32_t fManufacturerCode = 0;
    std::string fProductName;
    int32_t fVersion = 0;
    std::set<int32_t> fCapabilities;
    std::string fBaseName;
};
