// The data model of one plug-in instance as the host sees it: its parameters, its controls
// chunk, its packets and its views of the host's controller, automation delegate and transport.
#pragma once

#include "ACFGuard.h"
#include "AAX_CChunkDataParser.h"
#include "AAX_CPacketDispatcher.h"
#include "AAX_CParameterRegistry.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "CACFUnknown.h"

#include <atomic>
#include <memory>
#include <set>
#include <string>

class AAX_IEffectParameters : public AAX_IACFEffectParameters_V2
{
};

// A plug-in derives from it and registers its parameters in InitializeEffect. Every operation
// the host calls answers a result code and lets no exception out. [host thread unless noted]
// Each operation that reads the parameters, the host objects or the chunk parser holds the
// packet dispatcher's mutex throughout, as Initialize and Uninitialize do while they delete and
// make them; a call from another thread meets them whole, before or after.
class AAX_CEffectParameters : public AAX_IEffectParameters, public CACFUnknown, public AAX_IParameterLookup
{
public:
    // Identifier and name of the controls chunk.
    static constexpr uint32_t kControlsChunkID = 0x656C636B; // 'elck'
    static constexpr const char* kControlsChunkName = "Complete Controls State";
    static constexpr const char* kMasterBypassID = "MasterBypassID";
    static constexpr const char* kPreviewID = "PreviewID";

    AAX_CEffectParameters();
    ~AAX_CEffectParameters() override;

    // IACFUnknown, forwarded to the outer unknown.
    ACFRESULT QueryInterface (const acfIID& iid, void** out) override;
    uint32_t AddRef() override;
    uint32_t Release() override;
    ACFRESULT InternalQueryInterface (const acfIID& iid, void** out) override;

    // Makes the host wrappers and registers the parameters; a second call cleans up the first.
    int32_t Initialize (IACFUnknown* host) override;
    int32_t Uninitialize() override;
    int32_t ReceiveNotification (uint32_t type, const void* data, uint32_t size) override;

    int32_t GetNumberOfParameters (int32_t* outCount) const override;
    int32_t GetMasterBypassParameter (AAX_IString* outId) const override;
    int32_t GetParameterIsAutomatable (const char* id, AAX_CBoolean* outAutomatable) const override;
    int32_t GetParameterNumberOfSteps (const char* id, int32_t* outSteps) const override;
    int32_t GetParameterName (const char* id, AAX_IString* outName) const override;
    int32_t GetParameterNameOfLength (const char* id, AAX_IString* outName, int32_t length) const override;
    int32_t GetParameterDefaultNormalizedValue (const char* id, double* outValue) const override;
    int32_t SetParameterToDefaultValue (const char* id) override;
    int32_t GetParameterType (const char* id, int32_t* outType) const override;
    int32_t GetParameterOrientation (const char* id, int32_t* outOrientation) const override;
    int32_t GetParameter (const char* id, AAX_IParameter** outParameter) override;
    int32_t GetParameterIndex (const char* id, int32_t* outIndex) const override;
    int32_t GetParameterIDFromIndex (int32_t index, AAX_IString* outId) const override;
    int32_t ParameterQueryNotImplemented (const char* id, int32_t selector, int32_t* outValue) const override;
    int32_t GetParameterValueFromString (const char* id, double* outValue, const AAX_IString& text) const override;
    int32_t GetParameterStringFromValue (const char* id, double value, AAX_IString* outText, int32_t length) const override;
    int32_t GetParameterValueString (const char* id, AAX_IString* outText, int32_t length) const override;
    int32_t GetParameterNormalizedValue (const char* id, double* outValue) const override;
    // [host thread, message thread] Asks the host for the value through the parameter.
    int32_t SetParameterNormalizedValue (const char* id, double value) override;
    int32_t SetParameterNormalizedRelative (const char* id, double delta) override;
    // [host thread, message thread]
    int32_t TouchParameter (const char* id) override;
    int32_t ReleaseParameter (const char* id) override;
    int32_t ReservedOperation28 (const char* id, AAX_CBoolean touched) override;
    // [any host thread] The host's confirmed value; marks the parameter's packets dirty. The
    // parameter stores and reports it to the host under the mutex, so that of two updates at
    // once the one the parameter keeps is also the one the host hears last.
    int32_t UpdateParameterNormalizedValue (const char* id, double value, int32_t cause) override;
    int32_t UpdateParameterNormalizedRelative (const char* id, double delta) override;
    // [any host thread]
    int32_t DispatchPackets() override;
    int32_t ClearDataBlock (uint32_t field, void* block, uint32_t size) override;

    int32_t GetNumberOfChunks (int32_t* outCount) const override;
    int32_t GetChunkIDFromIndex (int32_t index, uint32_t* outId) const override;
    int32_t GetChunkSize (uint32_t id, int32_t* outSize) override;
    // Writes exactly the size the last GetChunkSize reported, or answers -20008.
    int32_t GetChunk (uint32_t id, AAX_SPlugInChunkHeader* outChunk) override;
    int32_t SetChunk (uint32_t id, const AAX_SPlugInChunkHeader* chunk) override;
    int32_t CompareChunk (const AAX_SPlugInChunkHeader* chunk, AAX_CBoolean* outEqual) override;
    int32_t GetChangeCount (int32_t* outCount) const override;
    int32_t ReservedQuery40() const override;
    int32_t ReservedQuery41() const override;
    int32_t ReturnZeroResult (uint32_t selector, const void* data, uint32_t size, int32_t* outResult) const override;
    int32_t ReservedOperation43() override;
    int32_t ReservedOperation44() override;
    int32_t ReservedOperation45() override;
    int32_t ReservedOperation46() override;
    int32_t ReservedOperation47() override;

protected:
    // Registers the plug-in's parameters and packets; called by Initialize. [host thread]
    virtual int32_t InitializeEffect();

    AAX_CParameterRegistry& Parameters() { return registry_; }
    const AAX_CParameterRegistry& Parameters() const { return registry_; }
    AAX_CPacketDispatcher& PacketDispatcher() { return dispatcher_; }
    AAX_IController* Controller() const { return controller_.get(); }
    AAX_IAutomationDelegate* AutomationDelegate() const { return automation_.get(); }
    AAX_ITransport* Transport() const { return transport_.get(); }

private:
    void ReleaseHostObjects();
    void BuildControlsChunk();
    bool IsExcluded (const char* id) const;
    bool ControlsChunkMatches();

    // Host value updates so far; wraps round after 2^32.
    std::atomic<uint32_t> changeCount_ { 0 };
    int32_t chunkSize_ = 0;
    AAX_CChunkDataParser parser_;
    AAX_CPacketDispatcher dispatcher_;
    AAX_CParameterRegistry registry_;
    std::set<std::string> chunkExclusions_;
    std::unique_ptr<AAX_VController> controller_;
    std::unique_ptr<AAX_VTransport> transport_;
    std::unique_ptr<AAX_VAutomationDelegate> automation_;
};
