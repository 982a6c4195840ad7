// The plug-in's window, in this process with the stand-in engine and toolbox linked: the root view
// shows the processor's editor (the view rectangle is the editor's size, the port's pixels are the
// editor's own rendering and follow it after the host's idle call), the port makes the editor and
// clearing it deletes the editor, deleting the instance (torn down or not) leaves nothing, and
// the editor's changes made on JUCE's message thread reach the host at its next idle call, on the
// host thread, those made while the instance goes included.
#include "EditorPicture.h"
#include "JuceCustomUIView.h"
#include "JuceEditorChanges.h"
#include "JuceMessageThread.h"
#include "JuceParameterControl.h"
#include "JucePlugInGroup.h"
#include "SDSTokens.h"
#include "WrapperTestSupport.h"

#include <views/base/ViewGeometry.h>

namespace
{
using namespace sds_test;
using namespace wrapper_test;
using editor_test::Picture;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

constexpr Rect kEditorRect { 0, 0, 300, 900 };
// Where the host opens its window on the screen.
constexpr Rect kWindowBounds { 40, 100, 340, 1000 };

bool Inside (const Rect& r, int32_t x, int32_t y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Where two pictures of the editor's size differ: the count and the rectangle around them; empty
// when they are the same.
std::string Differences (const Picture& a, const Picture& b)
{
    if (a.pixels.size() != b.pixels.size())
        return "sizes differ";
    size_t count = 0;
    int32_t left = 900, top = 300, right = 0, bottom = 0;
    for (int32_t y = 0; y < 300; ++y)
        for (int32_t x = 0; x < 900; ++x)
            if (a.At (x, y) != b.At (x, y))
            {
                ++count;
                left = std::min (left, x);
                top = std::min (top, y);
                right = std::max (right, x + 1);
                bottom = std::max (bottom, y + 1);
            }
    if (count == 0)
        return {};
    return std::to_string (count) + " pixels within (" + std::to_string (left) + ", " + std::to_string (top) + ") - ("
           + std::to_string (right) + ", " + std::to_string (bottom) + ")";
}

class EditorView : public InProcessPlugIn
{
protected:
    // Without a display: the editor is drawn only into the ports.
    void SetUp() override
    {
        unsetenv ("DISPLAY");
        InProcessPlugIn::SetUp();
    }

    void TearDown() override
    {
        if (window != nullptr)
            toolbox.disposeWindow (window);
        InProcessPlugIn::TearDown();
    }

    // Opens a window and gives it to the view (in place of the one it had).
    void OpenWindow()
    {
        const WindowRef earlier = window;
        window = toolbox.newWindow (kWindowBounds);
        ASSERT_EQ (group->SetViewPort (kStereoType, id, window), 0);
        if (earlier != nullptr)
            toolbox.disposeWindow (earlier);
    }

    Picture Window() { return { 900, 300, toolbox.windowPixels (window) }; }

    // Runs a call on the module's JUCE message thread, as the editor runs.
    void OnMessageThread (const std::function<void()>& call) { messageThread->Run (call); }

    juce::AudioProcessorEditor* ActiveEditor()
    {
        juce::AudioProcessorEditor* editor = nullptr;
        OnMessageThread ([&] { editor = process->GetAudioProcessor().getActiveEditor(); });
        return editor;
    }

    // The editor's own rendering of all of it, as ARGB words.
    Picture EditorsOwnRendering()
    {
        Picture picture;
        OnMessageThread ([&] {
            juce::AudioProcessorEditor* editor = process->GetAudioProcessor().getActiveEditor();
            const juce::Image image = editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f);
            picture.width = image.getWidth();
            picture.height = image.getHeight();
            for (int y = 0; y < image.getHeight(); ++y)
                for (int x = 0; x < image.getWidth(); ++x)
                    picture.pixels.push_back (image.getPixelAt (x, y).getARGB());
        });
        return picture;
    }

    // The host redraws the whole view: its port shows what the editor renders itself. The
    // editor's timers show the processor's state a moment after it is made (the meter's first
    // reading): once they have, the two stay the same.
    ::testing::AssertionResult ShowsTheEditorsOwnRendering()
    {
        std::string differences;
        const bool same = editor_test::Eventually ([&] {
            const Picture own = EditorsOwnRendering();
            if (group->InvalidateView (kStereoType, id, nullptr) != 0)
                return false;
            differences = Differences (Window(), own);
            return differences.empty();
        });
        if (same)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << differences;
    }

    // Draws with `draw` and compares the window with `expected`, a picture made from the editor's
    // own rendering taken just before. Retried: the meter's needle may move between the two.
    ::testing::AssertionResult DrawsAsExpected (const std::function<int32_t()>& draw,
                                                const std::function<uint32_t (const Picture&, int32_t, int32_t)>& expected)
    {
        size_t wrong = 0;
        const bool same = editor_test::Eventually ([&] {
            const Picture own = EditorsOwnRendering();
            if (draw() != 0)
                return false;
            const Picture drawn = Window();
            wrong = 0;
            for (int32_t y = 0; y < 300; ++y)
                for (int32_t x = 0; x < 900; ++x)
                    wrong += drawn.At (x, y) != expected (own, x, y) ? 1 : 0;
            return wrong == 0;
        });
        if (same)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << wrong << " pixels wrong";
    }

    std::shared_ptr<JuceMessageThread> messageThread = JuceMessageThread::Acquire();
    WindowRef window = nullptr;
};

TEST_F (EditorView, ItsRectangleIsTheEditorsAndItsPortShowsTheEditorsOwnRendering)
{
    Start (false, true);
    Rect bounds {};
    ASSERT_EQ (group->GetViewRect (kStereoType, id, &bounds), 0);
    EXPECT_TRUE (ViewGeometry::SameRect (bounds, kEditorRect));
    OpenWindow();
    EXPECT_EQ (Window().pixels, std::vector<uint32_t> (900u * 300u, 0xFFFFFFFFu)) << "nothing drawn before the host asks";
    EXPECT_TRUE (ShowsTheEditorsOwnRendering());
    const Picture own = EditorsOwnRendering();
    for (uint32_t pixel : own.pixels)
        ASSERT_EQ (pixel >> 24, 0xFFu) << "the editor paints every pixel of its panel";

    // A part of a new window: only that part is drawn, and from the same place of the editor.
    OpenWindow();
    Rect part { 20, 590, 130, 710 };
    EXPECT_TRUE (DrawsAsExpected ([&] { return group->InvalidateView (kStereoType, id, &part); },
                                  [&] (const Picture& editor, int32_t x, int32_t y) {
                                      return Inside (part, x, y) ? editor.At (x, y) : 0xFFFFFFFFu;
                                  }));
}

// The host moves the view: it draws the editor at its new place; asking for its rectangle puts it
// back at the window's corner.
TEST_F (EditorView, AMovedViewDrawsTheEditorWhereItIs)
{
    Start (false, true);
    OpenWindow();
    ASSERT_TRUE (ShowsTheEditorsOwnRendering());
    OpenWindow();
    ASSERT_EQ (group->MoveViewTo (kStereoType, id, Point { 10, 100 }), 0);
    EXPECT_TRUE (DrawsAsExpected ([&] { return group->InvalidateView (kStereoType, id, nullptr); },
                                  [] (const Picture& editor, int32_t x, int32_t y) {
                                      return x >= 100 && y >= 10 ? editor.At (x - 100, y - 10) : 0xFFFFFFFFu;
                                  }));
    Rect bounds {};
    ASSERT_EQ (group->GetViewRect (kStereoType, id, &bounds), 0);
    EXPECT_TRUE (ViewGeometry::SameRect (bounds, kEditorRect));
}

// A host window backed by a native window that JUCE cannot reach (no display here): the editor
// is painted into the port as in any other window.
TEST_F (EditorView, ANativeWindowWithoutADisplayIsPaintedInto)
{
    Start (false, true);
    window = toolbox.newWindow (kWindowBounds);
    toolbox.setNativeWindow (window, 0x00400001u);
    ASSERT_EQ (group->SetViewPort (kStereoType, id, window), 0);
    EXPECT_FALSE (process->GetEditorView()->IsNativeChild());
    EXPECT_TRUE (ShowsTheEditorsOwnRendering());
}

// A click finds no enabled view (the editor's view takes no clicks itself) and a key no focus:
// neither changes anything.
TEST_F (EditorView, HostClicksAndKeysDoNothing)
{
    Start (false, true);
    OpenWindow();
    ASSERT_EQ (group->InvalidateView (kStereoType, id, nullptr), 0);
    const Picture before = Window();
    EventRecord click { 1, 0, 0, { 75, 650 }, 0 };
    EXPECT_EQ (group->HandleViewClick (kStereoType, id, &click), 0);
    EventRecord key { 3, 9, 0, { 0, 0 }, 0 };
    uint8_t handled = 1;
    EXPECT_EQ (group->HandleViewEvent (kStereoType, id, &key, &handled), 0);
    EXPECT_EQ (handled, 0);
    EXPECT_EQ (Window().pixels, before.pixels);
}

// An instance whose window the host never opens has no editor (and runs none of its timers),
// though its view tells the editor's size; the port brings the editor.
TEST_F (EditorView, AnInstanceNeverShownHasNoEditor)
{
    Start (false, true);
    ASSERT_NE (process->GetEditorView(), nullptr);
    EXPECT_EQ (ActiveEditor(), nullptr);
    Rect bounds {};
    ASSERT_EQ (group->GetViewRect (kStereoType, id, &bounds), 0);
    EXPECT_TRUE (ViewGeometry::SameRect (bounds, kEditorRect));
    EXPECT_EQ (ActiveEditor(), nullptr) << "the size was learnt from an editor made for it and deleted";
    EXPECT_FALSE (process->GetEditorView()->HasEditor());
    EventRecord nothing {};
    ASSERT_EQ (group->Idle (kStereoType, id, &nothing), 0);
    EXPECT_EQ (ActiveEditor(), nullptr);

    OpenWindow();
    EXPECT_NE (ActiveEditor(), nullptr);
    EXPECT_TRUE (process->GetEditorView()->HasEditor());
}

TEST_F (EditorView, ClearingThePortDeletesTheEditorAndANewPortMakesAnother)
{
    Start (false, true);
    OpenWindow();
    EXPECT_NE (ActiveEditor(), nullptr) << "the port made the editor";
    ASSERT_EQ (group->SetViewPort (kStereoType, id, nullptr), 0);
    EXPECT_EQ (ActiveEditor(), nullptr);
    EXPECT_FALSE (process->GetEditorView()->HasEditor());
    Rect bounds {};
    ASSERT_EQ (group->GetViewRect (kStereoType, id, &bounds), 0);
    EXPECT_TRUE (ViewGeometry::SameRect (bounds, kEditorRect)) << "the last editor's size";
    ASSERT_EQ (group->InvalidateView (kStereoType, id, nullptr), 0);
    EXPECT_EQ (Window().pixels, std::vector<uint32_t> (900u * 300u, 0xFFFFFFFFu)) << "a view without a port draws nothing";

    ASSERT_EQ (group->SetViewPort (kStereoType, id, window), 0);
    EXPECT_NE (ActiveEditor(), nullptr);
    EXPECT_TRUE (ShowsTheEditorsOwnRendering());
}

// The host deletes the instance while its window is still open: the editor goes with the view,
// and the toolbox keeps nothing of the view but the host's own window.
TEST_F (EditorView, DeletingTheInstanceLeavesNothing)
{
    const HostExtObjectCounts before = toolbox.objectCounts();
    const size_t handlesBefore = toolbox.liveHandles();
    Start (false, true);
    OpenWindow();
    ASSERT_EQ (group->InvalidateView (kStereoType, id, nullptr), 0);
    DeleteInstance();
    toolbox.disposeWindow (window);
    window = nullptr;
    const HostExtObjectCounts after = toolbox.objectCounts();
    EXPECT_EQ (after.windows, before.windows);
    EXPECT_EQ (after.regions, before.regions);
    EXPECT_EQ (after.patterns, before.patterns);
    EXPECT_EQ (toolbox.liveHandles(), handlesBefore);
}

// A drag in the editor (on JUCE's message thread) leaves nothing for the host until the host's
// idle call; then it arrives as the touch, the last value and the release of control 5
// (parameter 3). Changes still waiting when the instance goes reach the host first.
TEST_F (EditorView, ChangesOnTheMessageThreadReachTheHostAtItsIdleCall)
{
    Start (true, true);
    int32_t nameID = 0;
    ASSERT_EQ (process->GetControlNameID (5, reinterpret_cast<void**> (&nameID)), 0);
    juce::AudioProcessor& processor = process->GetAudioProcessor();
    const auto drag = [&] (std::initializer_list<float> values) {
        OnMessageThread ([&] {
            processor.beginParameterChangeGesture (3);
            for (float value : values)
                processor.setParameterNotifyingHost (3, value);
            processor.endParameterChangeGesture (3);
        });
    };

    size_t earlier = Tokens (dae).size();
    drag ({ 0.6f, 0.65f, 0.7f });
    EXPECT_TRUE (TokensSince (dae, earlier).empty()) << "nothing crosses from the message thread";
    EventRecord nothing {};
    ASSERT_EQ (group->Idle (kStereoType, id, &nothing), 0);
    std::vector<int32_t> values;
    EXPECT_EQ (EditWords (TokensSince (dae, earlier), nameID, &values), (std::vector<std::string> { "touch", "value", "release" }));
    EXPECT_EQ (values, std::vector<int32_t> { ParameterToControlValue (0.7f) });

    earlier = Tokens (dae).size();
    drag ({ 0.2f });
    DeleteInstance();
    EXPECT_EQ (EditWords (TokensSince (dae, earlier), nameID), (std::vector<std::string> { "touch", "value", "release" }));
}

// The host redraws only what is marked for update, as a host does between its idle calls. The
// host automates a parameter: the editor shows it at its next refresh, the view's idle then marks
// the part of the view that the editor repainted, and the port's pixels show the new value.
TEST_F (EditorView, ThePortFollowsTheEditorAfterIdle)
{
    Start (false, true);
    OpenWindow();
    ASSERT_TRUE (ShowsTheEditorsOwnRendering());
    EventRecord nothing {};
    std::vector<Rect> marked;
    const auto hostIdle = [&] {
        toolbox.validateWindow (window);
        EXPECT_EQ (group->Idle (kStereoType, id, &nothing), 0);
        marked = toolbox.updateRegion (window);
        for (Rect& area : marked)
            EXPECT_EQ (group->InvalidateView (kStereoType, id, &area), 0);
    };
    ASSERT_TRUE (editor_test::Eventually ([&] {
        hostIdle();
        return marked.empty();
    })) << "an editor that does not change asks for no redraw";
    const Picture before = Window();

    ASSERT_EQ (process->UpdateControlValue (JucePlugInProcess::kFirstParameterControl + 2, ParameterToControlValue (0.9f)), 0);
    std::vector<Rect> firstMarked;
    EXPECT_TRUE (editor_test::Eventually ([&] {
        hostIdle();
        if (firstMarked.empty())
            firstMarked = marked;
        return Window().pixels != before.pixels && Differences (Window(), EditorsOwnRendering()).empty();
    })) << Differences (Window(), EditorsOwnRendering());
    ASSERT_FALSE (firstMarked.empty());
    Rect area = firstMarked[0];
    for (const Rect& box : firstMarked)
        area = ViewGeometry::Union (area, box);
    EXPECT_TRUE (ViewGeometry::Encloses (kEditorRect, area) && ! ViewGeometry::SameRect (area, kEditorRect))
        << "a part of the view is marked, not all of it: " << area.top << ", " << area.left << ", " << area.bottom << ", " << area.right;
}

// What the editor repaints is marked for update at the host's next idle call, and only that: the
// union of the areas it repainted since the port last showed them, where the view is now. A redraw
// of the host's that covers them leaves nothing to mark; one that does not leaves them.
TEST_F (EditorView, IdleMarksWhatTheEditorRepaintedSince)
{
    Start (false, true);
    OpenWindow();
    ASSERT_TRUE (ShowsTheEditorsOwnRendering());
    EventRecord nothing {};
    // The host's idle call after it redrew all that was marked: what the call marks.
    const auto idleMarks = [&] {
        toolbox.validateWindow (window);
        EXPECT_EQ (group->Idle (kStereoType, id, &nothing), 0);
        Rect marked {};
        for (const Rect& box : toolbox.updateRegion (window))
            marked = ViewGeometry::Union (marked, box);
        return marked;
    };
    // [message thread] Repaints parts of the editor; an empty one stands for all of it.
    const auto repaint = [&] (const std::vector<juce::Rectangle<int>>& parts) {
        OnMessageThread ([&] {
            for (const juce::Rectangle<int>& part : parts)
            {
                if (part.isEmpty())
                    process->GetAudioProcessor().getActiveEditor()->repaint();
                else
                    process->GetAudioProcessor().getActiveEditor()->repaint (part);
            }
        });
    };
    const auto text = [] (const Rect& r) {
        return std::to_string (r.top) + ", " + std::to_string (r.left) + ", " + std::to_string (r.bottom) + ", " + std::to_string (r.right);
    };
    ASSERT_TRUE (editor_test::Eventually ([&] { return ViewGeometry::IsEmpty (idleMarks()); })) << "the editor comes to rest";

    const Rect none {};
    const struct
    {
        const char* name;
        std::vector<juce::Rectangle<int>> repainted; // x, y, width, height in the editor
        Rect drawnFirst; // what the host redraws before its idle call (empty: nothing)
        Rect marked;
    } cases[] = {
        { "a small part", { { 100, 50, 20, 10 } }, none, { 50, 100, 60, 120 } },
        { "two parts: their union", { { 100, 50, 20, 10 }, { 300, 200, 10, 10 } }, none, { 50, 100, 210, 310 } },
        { "a part over the editor's edge", { { 890, 290, 30, 30 } }, none, { 290, 890, 300, 900 } },
        { "all of the editor", { {} }, none, kEditorRect },
        { "a part the host redrew since", { { 100, 50, 20, 10 } }, { 40, 90, 70, 130 }, none },
        { "a part the host redrew only some of", { { 100, 50, 20, 10 } }, { 40, 90, 55, 130 }, { 50, 100, 60, 120 } },
        { "a part beside what the host redrew", { { 100, 50, 20, 10 } }, { 0, 0, 10, 10 }, { 50, 100, 60, 120 } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        repaint (c.repainted);
        Rect drawnFirst = c.drawnFirst;
        if (! ViewGeometry::IsEmpty (drawnFirst))
        {
            ASSERT_EQ (group->InvalidateView (kStereoType, id, &drawnFirst), 0);
        }
        EXPECT_EQ (text (idleMarks()), text (c.marked));
        EXPECT_EQ (text (idleMarks()), text (none)) << "marked once";
    }

    // The view moved: the part is marked where the view shows it.
    ASSERT_EQ (group->MoveViewTo (kStereoType, id, Point { 10, 100 }), 0);
    repaint ({ { 100, 50, 20, 10 } });
    EXPECT_EQ (text (idleMarks()), text ({ 60, 200, 70, 220 }));
}

// The host deletes the instance while a drag is on; the editor ends the drag as it goes. The end
// reaches the host after the begin and the value did: the host's gesture is closed.
class EditorTeardown : public EditorView
{
protected:
    // [message thread] Ends the gesture of parameter 3 when the editor is deleted, as a knob whose
    // drag the deletion ends.
    struct EndsTheDragWhenDeleted final : juce::ComponentListener
    {
        void componentBeingDeleted (juce::Component&) override { processor->endParameterChangeGesture (3); }
        juce::AudioProcessor* processor = nullptr;
    };

    EndsTheDragWhenDeleted ender;
};

TEST_F (EditorTeardown, ADragWhoseEndComesDuringTeardownReachesTheHost)
{
    Start (true, true);
    OpenWindow();
    int32_t nameID = 0;
    ASSERT_EQ (process->GetControlNameID (5, reinterpret_cast<void**> (&nameID)), 0);
    juce::AudioProcessor& processor = process->GetAudioProcessor();
    size_t earlier = Tokens (dae).size();
    OnMessageThread ([&] {
        processor.beginParameterChangeGesture (3);
        processor.setParameterNotifyingHost (3, 0.4f);
        ender.processor = &processor;
        processor.getActiveEditor()->addComponentListener (&ender);
    });
    EventRecord nothing {};
    ASSERT_EQ (group->Idle (kStereoType, id, &nothing), 0);
    ASSERT_EQ (EditWords (TokensSince (dae, earlier), nameID), (std::vector<std::string> { "touch", "value" }));

    earlier = Tokens (dae).size();
    DeleteInstance();
    EXPECT_EQ (EditWords (TokensSince (dae, earlier), nameID), std::vector<std::string> { "release" });
}

// A process the host never tears down, with its editor shown and its adaptor rendering, deleted
// as it is: the editor goes before the processor it shows, the adaptor before the arrays it
// renders into, and the engine and the toolbox keep nothing of it.
TEST_F (EditorView, AProcessDestroyedWithoutATeardownLeavesNothing)
{
    Start (false, true);
    const HostExtObjectCounts before = toolbox.objectCounts();
    const size_t objectsBefore = tracker.liveObjects().size();
    JucePlugInProcess* untorn = NewUntornInstance();
    ASSERT_NE (untorn, nullptr);
    ASSERT_EQ (untorn->CreateAdaptorPlugIn (kUntornRecord), 0);
    window = toolbox.newWindow (kWindowBounds);
    ASSERT_EQ (untorn->SetViewPort (window), 0);
    ASSERT_TRUE (untorn->GetEditorView()->HasEditor());
    EXPECT_EQ (untorn->InvalidateView (nullptr), 0);

    const auto plugIn = tracker.plugIn (untorn->GetAdaptor());
    ASSERT_TRUE (plugIn && ! plugIn->workers.empty());
    EngineBlock block (2, 2);
    EXPECT_EQ (tracker.render (plugIn->workers[0], block.addresses, EngineBlock::kFrames, EngineBlock::kFrames), 0);

    ReleaseUntorn (*untorn);
    EXPECT_EQ (tracker.liveObjects().size(), objectsBefore) << "the adaptor and what it published are gone";
    toolbox.disposeWindow (window);
    window = nullptr;
    const HostExtObjectCounts after = toolbox.objectCounts();
    EXPECT_EQ (after.regions, before.regions);
    EXPECT_EQ (after.patterns, before.patterns);
}

// The changes on their way: consecutive values of one parameter become the last of them; anything
// else keeps its place.
TEST (EditorChanges, KeepTheirOrderAndOnlyTheLastOfConsecutiveValues)
{
    using Kind = JuceEditorChanges::Kind;
    using Change = JuceEditorChanges::Change;
    const struct
    {
        const char* name;
        std::vector<Change> posted;
        std::vector<Change> taken;
    } cases[] = {
        { "one parameter's values", { { Kind::value, 3, 0.1f }, { Kind::value, 3, 0.2f } }, { { Kind::value, 3, 0.2f } } },
        { "a gesture",
          { { Kind::gestureBegin, 3, 0 }, { Kind::value, 3, 0.1f }, { Kind::value, 3, 0.3f }, { Kind::gestureEnd, 3, 0 } },
          { { Kind::gestureBegin, 3, 0 }, { Kind::value, 3, 0.3f }, { Kind::gestureEnd, 3, 0 } } },
        { "two parameters in turn",
          { { Kind::value, 3, 0.1f }, { Kind::value, 4, 0.5f }, { Kind::value, 3, 0.2f } },
          { { Kind::value, 3, 0.1f }, { Kind::value, 4, 0.5f }, { Kind::value, 3, 0.2f } } },
        { "values around a gesture's end",
          { { Kind::value, 3, 0.1f }, { Kind::gestureEnd, 3, 0 }, { Kind::value, 3, 0.2f } },
          { { Kind::value, 3, 0.1f }, { Kind::gestureEnd, 3, 0 }, { Kind::value, 3, 0.2f } } },
    };
    const auto text = [] (const std::vector<Change>& changes) {
        std::string out;
        for (const Change& change : changes)
            out += std::to_string (int (change.kind)) + ":" + std::to_string (change.parameter) + "=" + std::to_string (change.value) + " ";
        return out;
    };
    for (const auto& c : cases)
    {
        JuceEditorChanges changes;
        for (const Change& change : c.posted)
            changes.Post (change);
        EXPECT_EQ (text (changes.Take()), text (c.taken)) << c.name;
        EXPECT_TRUE (changes.Take().empty()) << c.name;
    }
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
} // namespace
