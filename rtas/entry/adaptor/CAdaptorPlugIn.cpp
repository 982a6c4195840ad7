#include "entry/adaptor/CAdaptorPlugIn.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include <abi/DAE.h>

#include "entry/model/CPlugInPort.h"
#include "process/base/PointerWords.h"
#include "process/utilities/StemFormats.h"

struct CAdaptorPlugIn::SChannelCounts
{
    int32_t inputs = 0;
    int32_t outputs = 0;
    int32_t inputPorts = 0;
    int32_t sideChainIndex = 0;
    int32_t variableBlock = 0;
};

namespace
{
using Word = S_RTASP_CustomDataAdmin::EWord;

std::array<char, 64> NameOf (IAdaptorProcess& process)
{
    std::array<char, 64> name {};
    IAdaptorProcessType* type = process.GetAdaptorType();
    char pascal[256] = {};
    if (type == nullptr || type->GetName (pascal) != 0)
    {
        std::strncpy (name.data(), kUnknownAdaptorName, name.size() - 1);
        return name;
    }
    const size_t length = std::min<size_t> (static_cast<uint8_t> (pascal[0]), name.size() - 1);
    std::memcpy (name.data(), pascal + 1, length);
    return name;
}

// The type's answer for a key; 0 when there is no type or it does not answer.
int32_t CardInfo (IAdaptorProcessType* type, int32_t key)
{
    int32_t value = 0;
    return type != nullptr && type->GetCardInfo (key, &value) == 0 ? value : 0;
}

// A channel count the process answered: its code is thrown when the question failed, and a
// count that no port list can hold is refused.
int32_t CheckedCount (int32_t result, int16_t count)
{
    if (result != 0)
        throw result;
    if (count < 0)
        throw CDAEError (RTASError::kUnexpected);
    return count;
}

// The channels of the process's extra stems that are present.
int32_t ExtraStemChannels (IAdaptorProcess& process, IAdaptorProcessType& type)
{
    const int32_t id = process.GetInstanceID();
    int32_t stems = 0;
    if (type.GetNumConnectionInfos (id, &stems) != 0)
        return 0;
    int32_t channels = 0;
    for (int32_t index = 0; index < stems; ++index)
    {
        SFicPlugInStemInfo info {};
        if (type.GetConnectionInfo (id, index, &info) == 0 && info.fPresent >= 1)
            channels += MapFormatIndexToCode (info.fStemFormatIndex);
    }
    return channels;
}

bool EngineHasVariableBlocks()
{
    int32_t answer = 0;
    return FicGestalt (kFicGestaltVariableQuanta, &answer) == 0 && answer != 0;
}

int16_t PortCount (int32_t count)
{
    if (count < 0 || count > std::numeric_limits<int16_t>::max())
        throw CDAEError (RTASError::kUnexpected);
    return static_cast<int16_t> (count);
}

int32_t WordOf (const void* pointer)
{
    return WordOfPointer (pointer);
}

// One render call as the default callbacks see it: the published words, bounded by the
// process's connection slots, and the engine's cells.
class RenderCall
{
public:
    RenderCall (SRenderInstance& instance, const SRenderContext& context, const void* block)
        : fInstance (instance),
          fContext (context),
          fCells (RenderChannelCells (instance)),
          fLayout (block),
          fProcess (S_RTASP_CustomDataAdmin::ReadPointer<IAdaptorProcess> (block, Word::kProcess)),
          fInputs (S_RTASP_CustomDataAdmin::ReadPointer<SConnectionRecord*> (block, Word::kInputRecords)),
          fOutputs (S_RTASP_CustomDataAdmin::ReadPointer<SConnectionRecord*> (block, Word::kOutputRecords)),
          fBlockSize (fLayout.variableBlock ? context.fVariableBlockSize : kFixedBlockSize),
          fSlots (fProcess != nullptr ? std::max (0, fProcess->GetNumConnectionSlots()) : 0)
    {
    }

    IAdaptorProcess* Process() const { return fProcess; }
    int32_t NumInputs() const { return fLayout.numInputs; }
    int32_t NumOutputs() const { return fLayout.numOutputs; }
    int32_t SideChainIndex() const { return fLayout.sideChainIndex; }
    int32_t BlockSize() const { return fBlockSize; }
    int32_t Slots() const { return fSlots; }

    // Record i (0-based) of a side; null when missing or past the slots.
    SConnectionRecord* Input (int32_t i) const { return RecordAt (fInputs, i); }
    SConnectionRecord* Output (int32_t i) const { return RecordAt (fOutputs, i); }
    SConnectionRecord** Outputs() const { return fOutputs; }

    RenderChannelCell* InputCell (int32_t i) const { return fCells[i]; }
    RenderChannelCell* SideChainCell() const { return fCells[fLayout.numInputs]; }
    RenderChannelCell* const* OutputCells() const { return fCells + fLayout.InputCells(); }
    RenderChannelCell* OutputCell (int32_t i) const { return OutputCells()[i]; }

    static void Fill (SConnectionRecord& record, const RenderChannelCell* cell, int32_t sampleCount)
    {
        record.fBuffer = BufferOfCell (cell);
        record.fSampleCount = sampleCount;
    }

    void SilenceOutput (int32_t i) const
    {
        if (RenderChannelCell* cell = OutputCell (i))
            *cell = fContext.fSilentBuffer;
    }

    void SilenceOutputs() const { SilenceAdaptorOutputs (fInstance, fContext, fLayout); }

private:
    SConnectionRecord* RecordAt (SConnectionRecord** records, int32_t i) const
    {
        return records != nullptr && i >= 0 && i < fSlots ? records[i] : nullptr;
    }

    SRenderInstance& fInstance;
    const SRenderContext& fContext;
    RenderChannelCell** fCells;
    SAdaptorRenderLayout fLayout;
    IAdaptorProcess* fProcess;
    SConnectionRecord** fInputs;
    SConnectionRecord** fOutputs;
    int32_t fBlockSize;
    int32_t fSlots;
};

enum class ERenderVariant
{
    kDefault,
    kAlternative
};

// Fills the input records (and the side-chain's); false when a missing input record stops the
// alternative callback.
bool FillInputs (const RenderCall& call, ERenderVariant variant)
{
    for (int32_t i = 0; i < call.NumInputs(); ++i)
    {
        SConnectionRecord* record = call.Input (i);
        if (record == nullptr)
        {
            if (variant == ERenderVariant::kAlternative)
                return false;
            continue;
        }
        RenderCall::Fill (*record, call.InputCell (i), call.BlockSize());
    }
    if (call.SideChainIndex() != 0)
        if (SConnectionRecord* record = call.Input (call.SideChainIndex() - 1))
            RenderCall::Fill (*record, call.SideChainCell(), call.BlockSize());
    return true;
}

// Fills the output records; false when the alternative callback finds one missing.
bool FillOutputs (const RenderCall& call, ERenderVariant variant)
{
    if (variant == ERenderVariant::kAlternative)
        return call.NumOutputs() <= call.Slots() && call.Outputs() != nullptr
               && CAdaptorPlugIn::SetConnectionBuffers (call.Outputs(), call.OutputCells(), call.NumOutputs(), 0);
    for (int32_t i = 0; i < call.NumOutputs(); ++i)
        if (SConnectionRecord* record = call.Output (i))
            RenderCall::Fill (*record, call.OutputCell (i), call.BlockSize());
    return true;
}

int32_t RenderBlock (void* instance, void* context, ERenderVariant variant)
{
    if (instance == nullptr || context == nullptr)
        return kAdaptorNotRendered;
    auto& engineInstance = *static_cast<SRenderInstance*> (instance);
    const auto& engineContext = *static_cast<const SRenderContext*> (context);
    if (engineInstance.fUserData == nullptr)
        return kAdaptorNotRendered;
    const RenderCall call (engineInstance, engineContext, engineInstance.fUserData);
    if (call.Process() == nullptr || ! FillInputs (call, variant) || ! FillOutputs (call, variant)
        || call.Output (0) == nullptr)
    {
        call.SilenceOutputs();
        return kAdaptorNotRendered;
    }
    const SAdaptorRenderRecord record { variant == ERenderVariant::kDefault ? engineContext.fFrameCount : 0, context };
    int32_t result = kAdaptorNotRendered;
    try
    {
        result = call.Process()->Render (&record);
        call.Process()->SetRendered();
    }
    catch (...)
    {
        result = kAdaptorNotRendered;
    }
    if (result != 0)
    {
        call.SilenceOutputs();
        return result;
    }
    // An output without a record received nothing from the process.
    for (int32_t i = 0; i < call.NumOutputs(); ++i)
        if (call.Output (i) == nullptr)
            call.SilenceOutput (i);
    return 0;
}
}

SAdaptorRenderLayout::SAdaptorRenderLayout (const void* block)
    : numInputs (std::max (0, S_RTASP_CustomDataAdmin::ReadWord (block, Word::kNumInputs))),
      numOutputs (std::max (0, S_RTASP_CustomDataAdmin::ReadWord (block, Word::kNumOutputs))),
      sideChainIndex (S_RTASP_CustomDataAdmin::ReadWord (block, Word::kSideChainIndex)),
      variableBlock (S_RTASP_CustomDataAdmin::ReadWord (block, Word::kVariableBlock) != 0)
{
}

void SilenceAdaptorOutputs (SRenderInstance& instance, const SRenderContext& context, const SAdaptorRenderLayout& layout)
{
    RenderChannelCell** cells = RenderChannelCells (instance);
    for (int32_t i = 0; i < layout.numOutputs; ++i)
        if (RenderChannelCell* cell = cells[layout.InputCells() + i])
            *cell = context.fSilentBuffer;
}

CAdaptorPlugIn::CAdaptorPlugIn (const SPlugInSpec& spec, IAdaptorProcess& process, SConnectionRecord** inputRecords,
                                SConnectionRecord** outputRecords, PlugInRenderCallback callback)
    : CPlugIn (spec, nullptr),
      fName (NameOf (process)),
      fWorker (*this, callback != nullptr ? callback : &CAdaptorPlugIn::RenderCallbackAlt, fName.data())
{
    // Ports made so far are listed, and the plug-in part deletes listed ports when the rest of
    // the construction throws.
    const SChannelCounts counts = CountChannels (process, callback != nullptr);
    fNumInputPorts = PortCount (counts.inputPorts);
    fNumOutputPorts = PortCount (counts.outputs);
    BuildPorts (fNumInputPorts, fNumOutputPorts, counts.sideChainIndex);

    fWorker.GetDataBlocks().Add (&fCustomData);
    fCustomData.fProcess.Set (WordOf (&process));
    fCustomData.fInputRecords.Set (WordOf (inputRecords));
    fCustomData.fOutputRecords.Set (WordOf (outputRecords));
    fCustomData.fNumInputs.Set (counts.inputs);
    fCustomData.fNumOutputs.Set (counts.outputs);
    fCustomData.fSideChainIndex.Set (counts.sideChainIndex);
    fCustomData.fVariableBlock.Set (counts.variableBlock);
}

CAdaptorPlugIn::~CAdaptorPlugIn()
{
    DeletePorts (GetInputList());
    DeletePorts (GetOutputList());
    try
    {
        Register();
    }
    catch (...)
    {
        // The engine is told what it can be told; destruction goes on.
    }
}

CAdaptorPlugIn::SChannelCounts CAdaptorPlugIn::CountChannels (IAdaptorProcess& process, bool callbackPassed)
{
    IAdaptorProcessType* type = process.GetAdaptorType();
    if (CardInfo (type, AdaptorCardInfo::kRenderCallback) != 0 && ! callbackPassed)
        fWorker.SetRenderCallback (&CAdaptorPlugIn::RenderCallback);

    SChannelCounts counts;
    int16_t inputs = 0;
    int16_t outputs = 0;
    const int32_t inputsResult = process.GetNumInputs (&inputs);
    counts.inputs = CheckedCount (inputsResult, inputs);
    const int32_t outputsResult = process.GetNumOutputs (&outputs);
    counts.outputs = CheckedCount (outputsResult, outputs);
    counts.inputPorts = counts.inputs;

    const bool extraStems = CardInfo (type, AdaptorCardInfo::kExtraStems) != 0;
    if (extraStems)
    {
        const int32_t channels = ExtraStemChannels (process, *type);
        counts.inputs += channels;
        counts.outputs += channels;
        counts.inputPorts += channels;
    }

    counts.sideChainIndex = CardInfo (type, AdaptorCardInfo::kSideChainIndex);
    if (counts.sideChainIndex != 0)
        counts.inputPorts = counts.inputs + 1;

    counts.variableBlock = CardInfo (type, AdaptorCardInfo::kVariableBlock);
    if (counts.variableBlock != 0 && ! EngineHasVariableBlocks())
        counts.variableBlock = 0;

    if (extraStems && counts.inputs < counts.outputs)
    {
        counts.inputPorts += counts.outputs - counts.inputs;
        counts.inputs = counts.outputs;
    }
    return counts;
}

void CAdaptorPlugIn::BuildPorts (int16_t inputPorts, int16_t outputs, int32_t sideChainIndex)
{
    const auto list = [] (CSet<CPlugInPort>& ports, CPlugInPort* made) {
        std::unique_ptr<CPlugInPort> port (made);
        if (port == nullptr)
            throw kAdaptorOutOfMemory;
        ports.Add (port.get());
        port.release();
    };
    for (int32_t i = 0; i < inputPorts; ++i)
    {
        const bool sideChainPort = sideChainIndex != 0 && i == inputPorts - 1;
        list (GetInputList(), new (std::nothrow) CPlugInInput (*this, sideChainPort ? sideChainIndex : i + 1));
    }
    for (int32_t i = 0; i < outputs; ++i)
        list (GetOutputList(), new (std::nothrow) CPlugInOutput (*this, 0));
}

int32_t CAdaptorPlugIn::RenderCallback (void* instance, void* context)
{
    return RenderBlock (instance, context, ERenderVariant::kDefault);
}

int32_t CAdaptorPlugIn::RenderCallbackAlt (void* instance, void* context)
{
    return RenderBlock (instance, context, ERenderVariant::kAlternative);
}

bool CAdaptorPlugIn::SetConnectionBuffers (SConnectionRecord** records, RenderChannelCell* const* cells, int32_t count,
                                           int32_t sampleCount)
{
    for (int32_t i = 0; i < count; ++i)
    {
        if (records[i] == nullptr)
            return false;
        RenderCall::Fill (*records[i], cells[i], sampleCount);
    }
    return true;
}
