#pragma once
// One variant of the effect that the host can instantiate: its identity (type identifier, product
// code, family), names, channel configuration (stem formats) and capabilities, and the factory
// that makes its processes. It stamps the host's chunk records with its identity and refuses
// records of another product. The adaptor through which the engine renders a process asks the
// type about the process (IAdaptorProcessType).
//
// [host thread] for every operation.

#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "entry/adaptor/AdaptorProcess.h"
#include "process/effect/EffectCodes.h"
#include "process/dspprocess/CDSPProcessType.h"

class CEffectProcess;

// The five per-card values that card-information key 32 chooses from.
inline constexpr int32_t kCardValueCount = 5;
// The card kinds and the chip that choose among the per-card values.
namespace EffectCardKind
{
inline constexpr int32_t kKind21 = 21;
inline constexpr int32_t kKind26 = 26;
inline constexpr int32_t kKind29 = 29;
}

class CEffectType : public CDSPProcessType, public IAdaptorProcessType
{
public:
    // Makes one process of the type; null when it cannot.
    using ProcessFactory = std::function<CEffectProcess*()>;

    // The type identifier names this variant (for instance a family code plus the layout index);
    // the product code and family are the effect's. Capability 7 is added.
    explicit CEffectType (uint32_t typeID);

    // Adds a capability (a card-information key the type answers with 1); 41 is stored as 30.
    virtual void AddCapability (int32_t code);
    // The input and output stem-format indexes (-1 = none); each other index sets its channel
    // count (a stem-format index the library does not know throws CDAEError -7401).
    void DefineStemFormats (int32_t inputIndex, int32_t outputIndex);

    void SetName (const std::string& name) { fName = name; }
    void SetLongName (const std::string& name) { fLongName = name; }
    void SetProcessFactory (ProcessFactory factory) { fProcessFactory = std::move (factory); }
    // The per-card value n (1-based); other numbers are ignored.
    void SetCardValue (int32_t n, int32_t value);

    // The name as a length-prefixed string (cut at 255 characters; name holds 256 bytes).
    int32_t GetName (char* name) override;
    // The long name the same way when there is one, else the base's.
    int32_t GetLongName (uint8_t* name) override;
    // The type identifier.
    int32_t GetProductID (uint32_t* productID) override;
    // Input and output stem-format index, and 0.
    int32_t GetTypeIDs (int32_t id, SFicPlugInStemFormats* ids) override;
    // The channel counts; 0 until the stem formats define them.
    int32_t GetNumInputs (int32_t id, int16_t* count) override;
    int32_t GetNumOutputs (int32_t id, int16_t* count) override;
    CDSPProcess* NewProcessObject() override;
    // The effect process with the ID handles the argument (HandleForwardedEvent); -7126 when the
    // ID names no effect process.
    int32_t ForwardToProcess (int32_t id, EventRecord* argument) override;
    // Stamps the record with the product code (byte 12), the type identifier (16), the chunk
    // identifier (20) and an empty name (24), then the process writes the chunk.
    int32_t GetChunk (int32_t id, uint32_t chunkID, SFicPlugInChunk* chunk) override;
    // Only a record of this product (its word at byte 12) reaches the process; else -7157.
    int32_t SetChunk (int32_t id, uint32_t chunkID, SFicPlugInChunk* chunk) override;
    int32_t RestoreControlsFromChunk (int32_t id, SFicPlugInChunk* chunk, uint8_t* matches) override;
    // Key 21: 2; key 32: the first per-card value when the type's DSP flag is set, else one chosen
    // by the cards the host has; other keys: 1 for a capability (for the side-chain capability 5:
    // the input count + 1), else 0. Result 0.
    int32_t GetCardInfo (int32_t key, int32_t* value) override;
    int32_t GetNumConnectionInfos (int32_t id, int32_t* count) override;
    int32_t GetConnectionInfo (int32_t id, int32_t index, SFicPlugInStemInfo* info) override;

    uint32_t GetTypeID() const { return fTypeID; }
    uint32_t GetProductCode() const { return kEffectProductCode; }
    uint32_t GetFamilyCode() const { return kEffectFamilyCode; }
    int32_t GetInputStemFormat() const { return fInputStemFormat; }
    int32_t GetOutputStemFormat() const { return fOutputStemFormat; }
    bool HasCapability (int32_t code) const { return fCapabilities.count (code) != 0; }

private:
    // The per-card value for key 32, or none when no card of a known kind is present.
    bool ChooseCardValue (int32_t* value) const;

    std::set<int32_t> fCapabilities;
    std::string fName;
    uint32_t fTypeID;
    int32_t fNumInputs = 0;
    int32_t fNumOutputs = 0;
    int32_t fInputStemFormat = -1;
    int32_t fOutputStemFormat = -1;
    ProcessFactory fProcessFactory;
    std::string fLongName;
    std::array<int32_t, kCardValueCount> fCardValues { 1, 1, 1, 1, 1 };
};
