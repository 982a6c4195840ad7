#include "process/effect/CEffectProcessRTAS.h"

#include <algorithm>
#include <new>

#include "process/base/OutParameter.h"
#include "process/connections/ConnectionTable.h"
#include "process/connections/StreamFormat.h"
#include "process/effect/CEffectType.h"
#include "process/utilities/PStrings.h"

namespace
{
using Word = S_RTASP_CustomDataAdmin::EWord;

static_assert (sizeof (int32_t) == sizeof (SConnectionRecord*), "connection handles are record addresses");

// The adaptor's view of a connection array: the handles are the addresses of the host's records.
SConnectionRecord** RecordsOf (std::vector<int32_t>& handles)
{
    return reinterpret_cast<SConnectionRecord**> (handles.data());
}

}

CEffectProcessRTAS::~CEffectProcessRTAS()
{
    DeleteAdaptorPlugIn();
}

void CEffectProcessRTAS::DeleteAdaptorPlugIn()
{
    fAdaptor.reset();
}

void CEffectProcessRTAS::SetNumConnectionSlots (int32_t count)
{
    if (! fInitialised)
        fSlots = std::max (0, count);
}

void CEffectProcessRTAS::Initialize()
{
    CEffectProcess::Initialize();
    // An adaptor made before would render into the arrays replaced here.
    DeleteAdaptorPlugIn();
    const auto slots = static_cast<size_t> (fSlots);
    fInputConnections.assign (slots, 0);
    fOutputConnections.assign (slots, 0);
    fInputBuffers.assign (slots, nullptr);
    fOutputBuffers.assign (slots, nullptr);
    ConnectionTable inputs = InputTable();
    ConnectionTable outputs = OutputTable();
    ClearConnections (inputs, outputs);
    fInitialised = true;
}

void CEffectProcessRTAS::FreeArrays()
{
    std::vector<int32_t>().swap (fInputConnections);
    std::vector<int32_t>().swap (fOutputConnections);
    std::vector<float*>().swap (fInputBuffers);
    std::vector<float*>().swap (fOutputBuffers);
}

void CEffectProcessRTAS::Teardown()
{
    DeleteAdaptorPlugIn();
    FreeArrays();
    CEffectProcess::Teardown();
}

int32_t CEffectProcessRTAS::CreateAdaptorPlugIn (const SPlugInSpec& record)
{
    try
    {
        DeleteAdaptorPlugIn();
        auto adaptor = std::make_unique<CAdaptorPlugIn> (record, *this, RecordsOf (fInputConnections),
                                                         RecordsOf (fOutputConnections), &CEffectProcessRTAS::RenderCallback);
        adaptor->Register();
        fAdaptor = std::move (adaptor);
        return 0;
    }
    catch (const std::bad_alloc&)
    {
        return RTASError::kAdaptorOutOfMemory;
    }
    catch (int16_t)
    {
        // The library's containers ran out of memory.
        return RTASError::kAdaptorOutOfMemory;
    }
    catch (int32_t code)
    {
        return code;
    }
}

int32_t CEffectProcessRTAS::UpdateControlValue (int32_t index, int32_t value)
{
    int32_t bypassIndex = 0;
    GetMasterBypassControlIndex (&bypassIndex);
    if (bypassIndex != 0 && index == bypassIndex)
        fBypassed.store (value > 0, std::memory_order_release);
    return CEffectProcess::UpdateControlValue (index, value);
}

// ---- Connections ----

int32_t CEffectProcessRTAS::AllocatedSlots() const
{
    return static_cast<int32_t> (fInputBuffers.size());
}

ConnectionTable CEffectProcessRTAS::InputTable()
{
    return ConnectionTable (fInputConnections.data(), static_cast<int32_t> (fInputConnections.size()));
}

ConnectionTable CEffectProcessRTAS::OutputTable()
{
    return ConnectionTable (fOutputConnections.data(), static_cast<int32_t> (fOutputConnections.size()));
}

bool CEffectProcessRTAS::IsDirectPort (int32_t port) const
{
    int32_t entry = 0;
    int32_t channel = 0;
    return port >= 1 && port <= AllocatedSlots() && GetConnectionInfoList().Find (port, &entry, &channel);
}

int32_t CEffectProcessRTAS::IsInputConnected (int32_t port, uint8_t* connected)
{
    if (IsDirectPort (port))
    {
        PutOut (connected, fInputConnections[static_cast<size_t> (port - 1)] != 0);
        return 0;
    }
    return InputTable().IsConnected (port, connected);
}

int32_t CEffectProcessRTAS::IsOutputConnected (int32_t port, uint8_t* connected)
{
    if (IsDirectPort (port))
    {
        PutOut (connected, fOutputConnections[static_cast<size_t> (port - 1)] != 0);
        return 0;
    }
    return OutputTable().IsConnected (port, connected);
}

int32_t CEffectProcessRTAS::CanConnectOutput (int32_t port, uint8_t* possible)
{
    if (IsDirectPort (port))
    {
        PutOut (possible, fOutputConnections[static_cast<size_t> (port - 1)] == 0);
        return 0;
    }
    return OutputTable().CanConnect (port, possible);
}

int32_t CEffectProcessRTAS::ConnectInput (int32_t port, int32_t handle)
{
    int32_t result = 0;
    if (IsDirectPort (port))
    {
        fInputConnections[static_cast<size_t> (port - 1)] = handle;
    }
    else
    {
        ConnectionTable inputs = InputTable();
        result = ::ConnectInput (inputs, port, handle);
    }
    if (result == 0 && port == GetSideChainInputIndex())
    {
        if (handle != 0)
            SetSideChainConnected();
        else
            ClearSideChainConnected();
    }
    return result;
}

int32_t CEffectProcessRTAS::ConnectOutput (int32_t port, int32_t handle)
{
    if (IsDirectPort (port))
    {
        fOutputConnections[static_cast<size_t> (port - 1)] = handle;
        return 0;
    }
    ConnectionTable outputs = OutputTable();
    return ::ConnectOutput (outputs, port, handle);
}

int32_t CEffectProcessRTAS::DisconnectInput (int32_t port)
{
    int32_t result = 0;
    if (IsDirectPort (port))
        fInputConnections[static_cast<size_t> (port - 1)] = 0;
    else
        result = InputTable().Disconnect (port);
    if (result == 0 && port == GetSideChainInputIndex())
        ClearSideChainConnected();
    return result;
}

int32_t CEffectProcessRTAS::DisconnectOutput (int32_t port)
{
    if (IsDirectPort (port))
    {
        fOutputConnections[static_cast<size_t> (port - 1)] = 0;
        return 0;
    }
    return OutputTable().Disconnect (port);
}

int32_t CEffectProcessRTAS::NotifyDSPConnect (int32_t port, int32_t handle)
{
    return ConnectInput (port, handle);
}

int32_t CEffectProcessRTAS::NotifyDSPConnectOutput (int32_t port, int32_t handle)
{
    return ConnectOutput (port, handle);
}

int32_t CEffectProcessRTAS::NotifyDSPDisconnectInput (int32_t port)
{
    return DisconnectInput (port);
}

int32_t CEffectProcessRTAS::NotifyDSPDisconnectOutput (int32_t port)
{
    return DisconnectOutput (port);
}

// ---- Stream format, texts, latency ----

int32_t CEffectProcessRTAS::GetStreamFormat (int16_t, int16_t, char* format)
{
    GetDefaultStreamFormat (format);
    return 0;
}

int32_t CEffectProcessRTAS::CheckStreamFormat (int16_t, int16_t, char* format)
{
    return ::CheckStreamFormat (format);
}

void CEffectProcessRTAS::GetSideChainName (char* text)
{
    if (text != nullptr)
        text[0] = 0;
}

int32_t CEffectProcessRTAS::GetInfoString (int32_t key, uint8_t* text)
{
    if (key != EffectCardInfo::kSideChainInput)
        return CEffectProcess::GetInfoString (key, text);
    if (text != nullptr)
    {
        char name[kPStrMaxLength + 1] = {};
        GetSideChainName (name);
        name[kPStrMaxLength] = 0;
        CopyCToPStr (name, text);
    }
    return 0;
}

int32_t CEffectProcessRTAS::GetLatencyShort (int16_t* latency)
{
    PutOut (latency, 0);
    return 0;
}

// ---- What the adaptor asks ----

IAdaptorProcessType* CEffectProcessRTAS::GetAdaptorType()
{
    return GetEffectType();
}

int16_t CEffectProcessRTAS::GetInstanceID()
{
    return CEffectProcess::GetInstanceID();
}

int32_t CEffectProcessRTAS::GetNumInputs (int16_t* count)
{
    return CEffectProcess::GetNumInputs (count);
}

int32_t CEffectProcessRTAS::GetNumOutputs (int16_t* count)
{
    return CEffectProcess::GetNumOutputs (count);
}

int32_t CEffectProcessRTAS::GetNumConnectionSlots()
{
    return AllocatedSlots();
}

int32_t CEffectProcessRTAS::Render (const SAdaptorRenderRecord*)
{
    return 0;
}

void CEffectProcessRTAS::SetRendered()
{
    fRendered.store (true, std::memory_order_release);
}

// ---- Rendering ----

int32_t CEffectProcessRTAS::RenderCallback (void* instance, void* context)
{
    if (instance == nullptr || context == nullptr)
        return kAdaptorNotRendered;
    auto& engineInstance = *static_cast<SRenderInstance*> (instance);
    const auto& engineContext = *static_cast<const SRenderContext*> (context);
    const void* block = engineInstance.fUserData;
    if (block == nullptr)
        return kAdaptorNotRendered;
    auto* process = S_RTASP_CustomDataAdmin::ReadPointer<IAdaptorProcess> (block, Word::kProcess);
    if (process == nullptr)
    {
        SilenceAdaptorOutputs (engineInstance, engineContext, SAdaptorRenderLayout (block));
        return kAdaptorNotRendered;
    }
    // The adaptor's block names the process that made it with this callback.
    return static_cast<CEffectProcessRTAS*> (process)->RenderBlock (engineInstance, engineContext);
}

bool CEffectProcessRTAS::TakeBlockBuffers (SRenderInstance& instance, const SAdaptorRenderLayout& layout)
{
    // Nothing of an earlier block is left for this one to find.
    std::fill (fInputBuffers.begin(), fInputBuffers.end(), nullptr);
    std::fill (fOutputBuffers.begin(), fOutputBuffers.end(), nullptr);
    int16_t inputs = 0;
    int16_t outputs = 0;
    GetNumInputs (&inputs);
    GetNumOutputs (&outputs);
    if (layout.InputCells() > AllocatedSlots() || layout.numOutputs > AllocatedSlots() || layout.numInputs < inputs
        || layout.numOutputs < outputs)
        return false;
    RenderChannelCell** cells = RenderChannelCells (instance);
    for (int32_t i = 0; i < layout.InputCells(); ++i)
        if ((fInputBuffers[static_cast<size_t> (i)] = BufferOfCell (cells[i])) == nullptr)
            return false;
    for (int32_t i = 0; i < layout.numOutputs; ++i)
        if ((fOutputBuffers[static_cast<size_t> (i)] = BufferOfCell (cells[layout.InputCells() + i])) == nullptr)
            return false;
    return true;
}

int32_t CEffectProcessRTAS::RenderBlock (SRenderInstance& instance, const SRenderContext& context)
{
    const SAdaptorRenderLayout layout (instance.fUserData);
    // The process renders all of its channels or none.
    if (! TakeBlockBuffers (instance, layout))
    {
        SilenceAdaptorOutputs (instance, context, layout);
        return kAdaptorNotRendered;
    }
    const int32_t frames = layout.variableBlock ? std::max (0, context.fVariableBlockSize) : kFixedBlockSize;
    fRenderInstance = &instance;
    fRenderContext = &context;
    int32_t result = 0;
    try
    {
        RenderAudio (fInputBuffers.data(), fOutputBuffers.data(), frames);
        SetRendered();
    }
    catch (...)
    {
        SilenceAdaptorOutputs (instance, context, layout);
        result = kAdaptorNotRendered;
    }
    // The engine's records live only for this call.
    fRenderInstance = nullptr;
    fRenderContext = nullptr;
    return result;
}
