#pragma once
// Effect types, groups and processes for the effect tests: a process made as the plug-in's
// wrapper makes its own (the master bypass first, then ten controls of the wrapper's own kind),
// or with continuous and discrete controls whose values the controls chunk stores; a group with
// the product's identity and its mono and stereo types.

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "process/base/FourCharCode.h"
#include "process/controls/CPluginControl_Continuous.h"
#include "process/controls/CPluginControl_OnOff.h"
#include "process/effect/CEffectGroupMIDI.h"
#include "process/effect/CEffectProcessMIDI.h"
#include "process/effect/CEffectProcessRTAS.h"
#include "process/effect/CEffectTypeRTAS.h"

#include "entry/ObjectTracker.h"
#include "process/group/GlobalPlugInGroup.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PlugInFileRecord.h"

#include <DaeControl.h>
#include <DaeObjectTrackerControl.h>
#include <HostExtControl.h>
#include <gtest/gtest.h>

#include "ProcessTestSupport.h"

inline constexpr uint32_t kManufacturerCode = FourCharCode ("QORa");
inline constexpr uint32_t kMonoTypeID = FourCharCode ("jcaa");
inline constexpr uint32_t kStereoTypeID = FourCharCode ("jcaa") + 1;
inline constexpr int32_t kGroupVersion = 0x00010500;

// A control of the wrapper's own kind: neither continuous nor discrete.
class COwnControl : public CPluginControl
{
public:
    explicit COwnControl (uint32_t identifier) : fIdentifier (identifier) {}

    uint32_t GetIdentifier() const override { return fIdentifier; }
    int32_t DefaultControlValue() const override { return 0; }
    int32_t StepCount() const override { return 0; }
    int32_t TextToValue (const char*) const override { return 0; }
    bool IsAllowedCharacter (int32_t) const override { return true; }
    void GetNameToFit (char* buffer, int32_t maxLength, int32_t) const override { CopyNameToFit (buffer, "Own", maxLength); }
    int32_t GetHostHint1() const override { return 0; }
    int32_t GetHostHint2() const override { return 0; }
    int32_t GetValueKind() const override { return 1; }
    void ValueToText (char* buffer, int32_t maxLength, int32_t) const override { CopyTextToFit (buffer, "0", maxLength); }
    bool IsAutomatable() const override { return true; }

private:
    uint32_t fIdentifier;
};

// A continuous control mapped linearly over its range, shown with one decimal.
class CLinearControl : public CPluginControl_Continuous
{
public:
    CLinearControl (uint32_t identifier, double lower, double upper, double defaultValue)
        : CPluginControl_Continuous (identifier, "Linear", lower, upper, defaultValue, true)
    {
        SetValue (DefaultControlValue());
    }

    int32_t StepCount() const override { return 0; }
    int32_t ContinuousToControlValue (double value) const override { return ScaleToLongReal (value, GetLowerBound(), GetUpperBound()); }
    double ControlToContinuousValue (int32_t value) const override { return ScaleFromLongReal (value, GetLowerBound(), GetUpperBound()); }
};

// An effect process that is both an RTAS and a MIDI process, as the plug-in's own is. Its set-up
// runs what the test gives it; RenderAudio multiplies every input by the gain into its output.
class CTestEffectProcess : public CEffectProcessRTAS, public CEffectProcessMIDI
{
public:
    using CEffectProcess::AddMeter;
    using CEffectProcess::GetConnectionInfoList;
    using CEffectProcess::LeaveOutOfControlsChunk;
    using CEffectProcess::SetInfoString;
    using CEffectProcess::SetMasterBypassControlIndex;
    using CEffectProcessMIDI::SetChannelNode;

    std::function<void (CTestEffectProcess&)> setUp;
    void SetUpEffect() override
    {
        if (setUp)
            setUp (*this);
    }

    struct RenderedBlock
    {
        std::vector<float*> inputs;
        std::vector<float*> outputs;
        int32_t frames;
        const float* silentBuffer; // the engine's, from the records of the block
    };
    std::vector<RenderedBlock> rendered;
    bool throwWhileRendering = false;
    float gain = 0.5f;

    void RenderAudio (float** inputs, float** outputs, int32_t frames) override
    {
        int16_t inputCount = 0;
        int16_t outputCount = 0;
        GetNumInputs (&inputCount);
        GetNumOutputs (&outputCount);
        const int32_t inputsWithSideChain = inputCount + (GetSideChainInputIndex() != 0 ? 1 : 0);
        rendered.push_back ({ std::vector<float*> (inputs, inputs + inputsWithSideChain),
                              std::vector<float*> (outputs, outputs + outputCount), frames,
                              GetRenderContext() != nullptr ? GetRenderContext()->fSilentBuffer : nullptr });
        if (throwWhileRendering)
            throw std::runtime_error ("render failed");
        for (int16_t channel = 0; channel < outputCount; ++channel)
            for (int32_t i = 0; i < frames; ++i)
                outputs[channel][i] = inputs[std::min<int16_t> (channel, int16_t (inputCount - 1))][i] * gain;
    }

    std::vector<int32_t> rawValues;
    std::vector<uint8_t> rawClips;
    int rawReads = 0;
    void ReadRawMeters (int32_t* values, uint8_t* clips) override
    {
        ++rawReads;
        std::copy (rawValues.begin(), rawValues.end(), values);
        std::copy (rawClips.begin(), rawClips.end(), clips);
    }

    std::vector<EventRecord*> answeredEvents;
    uint8_t eventAnswer = 0;
    uint8_t AnswerEvent (EventRecord* event) override
    {
        answeredEvents.push_back (event);
        return eventAnswer;
    }

    std::vector<EventRecord*> forwardedEvents;
    int32_t HandleForwardedEvent (EventRecord* event) override
    {
        forwardedEvents.push_back (event);
        return 55;
    }
};

// The set-up of the plug-in's own process: the master bypass as control 1, left out of the
// controls chunk, then ten controls of the wrapper's kind.
inline void SetUpAsWrapper (CTestEffectProcess& process)
{
    process.AddControl (MakeMasterBypassControl().release());
    process.SetMasterBypassControlIndex (1);
    process.LeaveOutOfControlsChunk (kMasterBypassID);
    for (int n = 1; n <= 10; ++n)
        process.AddControl (new COwnControl (TestControlID (n)));
}

// The identifiers of the controls that SetUpWithStoredControls adds.
inline constexpr uint32_t kGainControlID = FourCharCode ("gain");
inline constexpr uint32_t kModeControlID = FourCharCode ("mode");

// A master bypass (control 1), a continuous control 'gain' over [-20, 20] at 0 (control 2) and a
// discrete control 'mode' over [0, 10] at 5 (control 3).
inline void SetUpWithStoredControls (CTestEffectProcess& process)
{
    process.AddControl (MakeMasterBypassControl().release());
    process.SetMasterBypassControlIndex (1);
    process.LeaveOutOfControlsChunk (kMasterBypassID);
    process.AddControl (new CLinearControl (kGainControlID, -20.0, 20.0, 0.0));
    process.AddControl (new CPluginControl_Discrete (kModeControlID, "Mode", 0, 10, 5, true));
}

// The mono and stereo RTAS effect types of the product.
inline std::unique_ptr<CEffectTypeRTAS> MakeEffectType (uint32_t typeID, int32_t stemFormat)
{
    auto type = std::make_unique<CEffectTypeRTAS> (typeID);
    type->SetName ("KESTrune");
    type->DefineStemFormats (stemFormat, stemFormat);
    return type;
}

// The plug-in's group as its wrapper will make it: the identity in the constructor, the two
// types in the type-creation step, each making processes set up as the wrapper's own.
class CTestEffectGroup : public CEffectGroupMIDI
{
public:
    CTestEffectGroup()
    {
        SetManufacturerName ("QORaudio");
        SetManufacturerCode (kManufacturerCode);
        SetProductName ("KESTrune");
        SetVersion (kGroupVersion);
        AddCapability (14);
    }

    using CEffectGroup::AddCapability;
    using CEffectGroup::SetManufacturerName;
    using CEffectGroup::SetProductName;
    using CEffectGroup::SetVersion;

    // Makes the processes of both types.
    std::function<CEffectProcess*()> processFactory = [] {
        auto* process = new CTestEffectProcess;
        process->setUp = SetUpAsWrapper;
        process->SetNumConnectionSlots (4);
        return process;
    };
    // Types the test adds besides the two.
    std::vector<CProcessType*> extraTypes;

    void CreateTypes() override
    {
        for (const auto& [typeID, stemFormat] : { std::pair { kMonoTypeID, 0 }, std::pair { kStereoTypeID, 1 } })
        {
            auto type = MakeEffectType (typeID, stemFormat);
            type->SetProcessFactory ([this] { return processFactory(); });
            AddProcessType (type.release());
        }
        for (CProcessType* type : extraTypes)
            AddProcessType (type);
    }

    CEffectType& Type (uint32_t typeID) { return dynamic_cast<CEffectType&> (*FindType (typeID)); }
};

// A host chunk record of the given total capacity, its header filled as the host fills it.
inline std::vector<uint8_t> ChunkRecord (int32_t capacity, uint32_t chunkID = 0)
{
    std::vector<uint8_t> record (static_cast<size_t> (capacity), 0xCC);
    auto* header = reinterpret_cast<SFicPlugInChunk*> (record.data());
    header->fSize = capacity;
    header->fChunkID = chunkID;
    return record;
}

inline SFicPlugInChunk* HeaderOf (std::vector<uint8_t>& record)
{
    return reinterpret_cast<SFicPlugInChunk*> (record.data());
}

// The channel buffers of one render call and the engine's cells that point at them.
struct EngineBuffers
{
    explicit EngineBuffers (size_t channels) : buffers (channels, std::vector<float> (512, 0.0f)), cells (channels)
    {
        for (size_t i = 0; i < channels; ++i)
        {
            for (size_t s = 0; s < buffers[i].size(); ++s)
                buffers[i][s] = float (i + 1) + float (s) / 1000.0f;
            cells[i] = buffers[i].data();
            cellAddresses.push_back (&cells[i]);
        }
    }

    std::vector<std::vector<float>> buffers;
    std::vector<RenderChannelCell> cells;
    std::vector<RenderChannelCell*> cellAddresses;
};

// The stand-in engine and toolbox, reset; the library's toolbox bound; no views. A process made
// here is set up, given the type (when there is one) and initialised.
class EffectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        toolbox.reset();
        dae.reset();
        ASSERT_TRUE (InstallHostToolbox());
        // A small plug-in file: new processes look for their page tables in its resource file.
        FSSpec plugInFile {};
        std::strncpy (plugInFile.path, KESTRUNE_EFFECT_PLUGIN_FILE, sizeof plugInFile.path - 1);
        SetPlugInFileSpec (plugInFile);
    }

    void TearDown() override
    {
        SetPlugInGroup (nullptr);
        ReleaseHostToolbox();
        toolbox.reset();
        dae.reset();
    }

    static std::unique_ptr<CTestEffectProcess> MakeProcess (CEffectType* type, std::function<void (CTestEffectProcess&)> setUp,
                                                            int32_t slots = 4)
    {
        auto process = std::make_unique<CTestEffectProcess>();
        process->setUp = std::move (setUp);
        process->SetNumConnectionSlots (slots);
        if (type != nullptr)
        {
            process->SetType (type);
            process->SetTypeIndex (type->GetTypeIndex());
        }
        process->SetInstanceID (1);
        process->Initialize();
        return process;
    }

    kestrune::host::rtas::HostExtControl& toolbox = *KestruneHostExtStandIn();
    kestrune::host::rtas::DaeControl& dae = *KestruneDaeStandIn();
    ScopedViewless viewless;
};

// Besides: the engine's object tracker handed out through the host callback, and a stereo type
// with a side-chain input whose process the engine renders through its adaptor.
class EffectEngineTest : public EffectTest
{
protected:
    void SetUp() override
    {
        EffectTest::SetUp();
        ForgetObjectTracker();
        gHostCallback = reinterpret_cast<HostCallbackProc> (tracker.hostCallback());
        type = MakeEffectType (kStereoTypeID, 1);
        type->AddCapability (EffectCardInfo::kSideChainInput);
    }

    void TearDown() override
    {
        process.reset();
        // As the group does: the type's instances go before the type.
        type->DeleteAllProcesses();
        type.reset();
        gHostCallback = nullptr;
        ForgetObjectTracker();
        EffectTest::TearDown();
    }

    CTestEffectProcess& Make (int32_t slots = 4)
    {
        process = MakeProcess (type.get(), SetUpAsWrapper, slots);
        return *process;
    }

    kestrune::host::rtas::DaeObjectTrackerControl& tracker = *KestruneDaeObjectTracker();
    std::unique_ptr<CEffectTypeRTAS> type;
    std::unique_ptr<CTestEffectProcess> process;
};
