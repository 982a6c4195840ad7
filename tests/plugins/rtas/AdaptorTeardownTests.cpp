// The engine stops rendering an instance before any part of it goes, in this process with the
// stand-in engine and toolbox linked: when the editor cannot be deleted in the teardown (the memory
// runs out as the host thread hands the deletion to JUCE's message thread), and when the instance
// is destroyed without a teardown. A render that the engine attempts while the editor goes, the
// first part of the instance that goes, reaches no part of the instance.
#include "FailingAllocation.h"
#include "JuceCustomUIView.h"
#include "JuceMessageThread.h"
#include "JucePlugInGroup.h"
#include "WrapperTestSupport.h"

namespace
{
using namespace wrapper_test;

constexpr Rect kWindowBounds { 40, 100, 340, 1000 };

class AdaptorTeardown : public InProcessPlugIn
{
protected:
    // [message thread] Has the engine render a block of the instance when the editor is deleted.
    struct RendersWhenDeleted final : juce::ComponentListener
    {
        RendersWhenDeleted (DaeObjectTrackerControl& t) : tracker (t) {}

        void componentBeingDeleted (juce::Component&) override
        {
            EngineBlock block (2, 2);
            results.push_back (tracker.render (worker, block.addresses, EngineBlock::kFrames, EngineBlock::kFrames));
        }

        DaeObjectTrackerControl& tracker;
        void* worker = nullptr;
        std::vector<int32_t> results;
    };

    // Without a display: the editor is drawn only into the port.
    void SetUp() override
    {
        unsetenv ("DISPLAY");
        InProcessPlugIn::SetUp();
    }

    void TearDown() override
    {
        FailNextAllocation (false);
        if (window != nullptr)
            toolbox.disposeWindow (window);
        InProcessPlugIn::TearDown();
    }

    // Shows the instance's editor in a window of its own, renders a block of the instance, and
    // has the listener render when the editor goes.
    void ShowAndRender (JucePlugInProcess& instance)
    {
        window = toolbox.newWindow (kWindowBounds);
        ASSERT_EQ (instance.SetViewPort (window), 0);
        ASSERT_TRUE (instance.GetEditorView()->HasEditor());
        const auto plugIn = tracker.plugIn (instance.GetAdaptor());
        ASSERT_TRUE (plugIn && ! plugIn->workers.empty());
        listener.worker = plugIn->workers[0];
        EngineBlock block (2, 2);
        ASSERT_EQ (tracker.render (listener.worker, block.addresses, EngineBlock::kFrames, EngineBlock::kFrames), 0);
        messageThread->Run ([&] { instance.GetAudioProcessor().getActiveEditor()->addComponentListener (&listener); });
    }

    std::shared_ptr<JuceMessageThread> messageThread = JuceMessageThread::Acquire();
    WindowRef window = nullptr;
    RendersWhenDeleted listener { tracker };
};

// The teardown's deletion of the editor fails: the failure reaches the host and the instance goes
// anyway, its adaptor before its editor.
TEST_F (AdaptorTeardown, ATeardownWhoseEditorDeletionFailsStopsTheRenderingFirst)
{
    Start (false, true);
    ShowAndRender (*process);
    ASSERT_FALSE (HasFatalFailure());

    FailNextAllocation (true);
    EXPECT_THROW (group->DeleteProcess (kStereoType, id), std::bad_alloc);
    EXPECT_FALSE (NextAllocationFails()) << "the failure came";
    process = nullptr;
    EXPECT_EQ (group->FindType (kStereoType)->GetNumProcesses(), 0);
    ASSERT_EQ (listener.results.size(), 1u) << "the editor went with the instance";
    EXPECT_EQ (listener.results[0], kFicErrUnknownObject) << "a render while the editor went reached the instance";
    EXPECT_FALSE (tracker.worker (listener.worker)) << "the adaptor's worker is unregistered";
    EngineBlock block (2, 2);
    EXPECT_EQ (tracker.render (listener.worker, block.addresses, EngineBlock::kFrames, EngineBlock::kFrames), kFicErrUnknownObject);
}

// An instance destroyed without a teardown, its adaptor rendering and its editor shown: the
// adaptor goes before the editor, and so before the processor.
TEST_F (AdaptorTeardown, AnInstanceDestroyedWithoutATeardownStopsTheRenderingFirst)
{
    Start (false, true);
    const size_t objectsBefore = tracker.liveObjects().size();
    JucePlugInProcess* untorn = NewUntornInstance();
    ASSERT_NE (untorn, nullptr);
    if (untorn->CreateAdaptorPlugIn (kUntornRecord) != 0)
    {
        ReleaseUntorn (*untorn);
        FAIL() << "no adaptor";
    }
    ShowAndRender (*untorn);
    ReleaseUntorn (*untorn);
    ASSERT_EQ (listener.results.size(), 1u) << "the editor went with the instance";
    EXPECT_EQ (listener.results[0], kFicErrUnknownObject) << "a render while the editor went reached the instance";
    EXPECT_EQ (tracker.liveObjects().size(), objectsBefore);
}
} // namespace
