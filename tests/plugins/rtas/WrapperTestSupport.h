// The wrapper in this process, with the stand-in engine and toolbox linked: the plug-in's group
// made as NewPlugIn makes it, with or without views, the engine's SDS service offered or not, and
// one stereo instance of it; and the channel buffers of one block of the engine's.
#pragma once

#include "JucePlugInGroup.h"
#include "JucePlugInProcess.h"

#include <DaeControl.h>
#include <DaeObjectTrackerControl.h>
#include <HostExtControl.h>
#include <entry/ObjectTracker.h>
#include <entry/PlugInGroup.h>
#include <process/dspprocess/CDSPProcessType.h>
#include <process/group/CProcessGroup.h>
#include <process/type/CProcessType.h>
#include <process/utilities/HostExtToolbox.h>
#include <process/utilities/ViewlessMode.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace wrapper_test
{
using namespace kestrune::host::rtas;

inline constexpr uint32_t kStereoType = 0x6A636162; // 'jcab'

// One block as the engine hands it over: each channel's buffer on the heap of its own (an input
// holds a sine of its own, an output zeros), and the cells that point at them, the inputs' first.
struct EngineBlock
{
    // Without variable blocks every block is 32 samples.
    static constexpr int kFrames = 32;

    // The sines continue those of the block that starts `start` samples earlier.
    EngineBlock (int inputs, int outputs, int start = 0)
    {
        for (int c = 0; c < inputs + outputs; ++c)
        {
            buffers.emplace_back (size_t (kFrames), 0.0f);
            if (c < inputs)
                for (int i = 0; i < kFrames; ++i)
                    buffers.back()[size_t (i)] = 0.8f * std::sin (0.05f * float (start + i) * float (c + 1));
            cells.push_back (buffers.back().data());
        }
        for (auto& cell : cells)
            addresses.push_back (&cell);
    }

    std::vector<std::vector<float>> buffers;
    std::vector<RenderChannelCell> cells;
    std::vector<RenderChannelCell*> addresses;
};

class InProcessPlugIn : public ::testing::Test
{
protected:
    void SetUp() override
    {
        toolbox.reset();
        dae.reset();
        ForgetObjectTracker();
        ASSERT_TRUE (InstallHostToolbox());
    }

    // Opens with views or without (as WinPlugInOpen opens), then makes the instance.
    void Start (bool sds, bool views = false)
    {
        SetOpenedByWinPlugInOpen (! views);
        if (sds)
            dae.setGestalt (kFicGestaltHostSDS, 1);
        ASSERT_EQ (NewPlugIn (0), 0);
        group = dynamic_cast<CProcessGroup*> (PlugInGroup());
        ASSERT_NE (group, nullptr);
        group->SetHostCallback (reinterpret_cast<HostCallbackProc> (tracker.hostCallback()));
        ASSERT_EQ (group->CreateProcess (kStereoType, &id), 0);
        process = dynamic_cast<JucePlugInProcess*> (group->FindType (kStereoType)->FindProcess (id));
        ASSERT_NE (process, nullptr);
    }

    // Deletes the instance as the host does (its teardown first).
    void DeleteInstance()
    {
        ASSERT_EQ (PlugInGroup()->DeleteProcess (kStereoType, id), 0);
        process = nullptr;
    }

    void TearDown() override
    {
        if (PlugInGroup() != nullptr && process != nullptr)
            PlugInGroup()->DeleteProcess (kStereoType, id);
        DestroyPlugInGroup();
        ForgetObjectTracker();
        SetOpenedByWinPlugInOpen (false);
        ReleaseHostToolbox();
        toolbox.reset();
        dae.reset();
    }

    // A second stereo instance (ID 99), made and initialised as its type makes one but kept out of
    // the type's list, at 48 kHz: it goes without a teardown when ReleaseUntorn drops its
    // references. Null, with a failure, when there is no stereo type.
    JucePlugInProcess* NewUntornInstance()
    {
        auto* type = dynamic_cast<CDSPProcessType*> (group->FindType (kStereoType));
        if (type == nullptr)
        {
            ADD_FAILURE() << "no stereo type";
            return nullptr;
        }
        auto* untorn = new JucePlugInProcess (2);
        untorn->SetType (type);
        untorn->SetDSPType (type);
        untorn->SetTypeIndex (process->GetTypeIndex());
        untorn->SetInstanceID (99);
        untorn->Initialize();
        untorn->SetSampleRate (48000);
        return untorn;
    }

    // The reference GetUnknown gives and the one the instance was made with: the instance goes.
    static void ReleaseUntorn (JucePlugInProcess& untorn)
    {
        IACFUnknown* unknown = nullptr;
        untorn.GetUnknown (&unknown);
        ASSERT_NE (unknown, nullptr);
        unknown->Release();
        unknown->Release();
    }

    // The adaptor's identity for the untorn instance.
    static constexpr SPlugInSpec kUntornRecord { { int32_t (JucePlugInGroup::kManufacturerCode), 0, int32_t (kStereoType), 0, 99 } };

    int32_t ControlValue (int32_t control)
    {
        int32_t value = 0;
        EXPECT_EQ (process->GetControlValue (control, &value), 0);
        return value;
    }

    HostExtControl& toolbox = *KestruneHostExtStandIn();
    DaeControl& dae = *KestruneDaeStandIn();
    DaeObjectTrackerControl& tracker = *KestruneDaeObjectTracker();
    CProcessGroup* group = nullptr;
    int32_t id = 0;
    JucePlugInProcess* process = nullptr;
};
} // namespace wrapper_test
