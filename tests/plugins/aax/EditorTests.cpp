// The editor in the host's view container, headless: the GUI's life, the view, a knob drag to
// the host and the host's answer back into the knob.
#include "EditorTestSupport.h"

#include <atomic>
#include <cstdlib>
#include <thread>

namespace
{
using namespace plugin_test;

struct HeadlessEditor : ::testing::Test
{
    void SetUp() override { unsetenv ("DISPLAY"); }
    LoadedPlugin plugin;
};

TEST_F (HeadlessEditor, InitializesWithTheInstanceAndReportsItsSize)
{
    auto instance = plugin.NewInstance();
    {
        HostEditor withoutUnknown (*instance, false);
        EXPECT_EQ (withoutUnknown.GUI().Initialize (nullptr), AAX_ERROR_NULL_ARGUMENT);
        EXPECT_EQ (withoutUnknown.ViewSize(), std::make_pair (0, 0));
        void* out = nullptr;
        EXPECT_EQ (withoutUnknown.GUI().QueryInterface (IID_IACFEffectParameters, &out), ACF_E_NOINTERFACE);
    }
    HostEditor editor (*instance);
    EXPECT_EQ (editor.ViewSize(), std::make_pair (900, 300));
    auto& view = editor.OpenOffscreen();
    EXPECT_EQ (view.RequestedSize(), std::make_pair (900, 300));
    const Picture picture = Draw (view);
    ASSERT_EQ (picture.pixels.size(), 900u * 300u);
    // The panel is opaque artwork, not the empty view.
    size_t drawn = 0;
    for (uint32_t pixel : picture.pixels)
        drawn += (pixel & 0xFF000000u) == 0xFF000000u ? 1 : 0;
    EXPECT_EQ (drawn, picture.pixels.size());
}

TEST_F (HeadlessEditor, KnobDragReachesTheHostAndTheHostsAnswerComesBack)
{
    auto instance = plugin.NewInstance();
    HostEditor editor (*instance);
    auto& view = editor.OpenOffscreen();
    plugin.framework.ClearCalls();

    const int32_t x = kRatioKnob.x + kRatioKnob.w / 2, y = kRatioKnob.y + kRatioKnob.h / 2;
    ASSERT_TRUE (view.Mouse (AAX_MOUSE_DOWN, x, y));
    view.Mouse (AAX_MOUSE_DRAG, x, y - 20);
    view.Mouse (AAX_MOUSE_DRAG, x, y - 60);
    view.Mouse (AAX_MOUSE_UP, x, y - 60);

    std::vector<int> slots;
    for (const HostCall& call : plugin.framework.CallsTo ("AutomationDelegate"))
    {
        EXPECT_EQ (call.arguments.substr (0, 3), "\"3\"") << call.arguments;
        slots.push_back (call.slot);
    }
    ASSERT_GE (slots.size(), 4u);
    EXPECT_EQ (slots.front(), 7); // touch
    EXPECT_EQ (slots.back(), 8); // release
    EXPECT_NE (std::find (slots.begin(), slots.end(), 5), slots.end()); // set-value requests between
    EXPECT_NE (NormalizedValue (*instance, "3"), 0.5);

    // A host change of the ratio: the knob follows at the next refresh, drawn as an editor
    // opened on that value draws it.
    auto reference = plugin.NewInstance();
    reference->Parameters().UpdateParameterNormalizedValue ("3", 0.1, 0);
    HostEditor referenceEditor (*reference);
    auto& referenceView = referenceEditor.OpenOffscreen();
    const auto knob = [] (const Picture& p) { return p.Region (kRatioKnob.x, kRatioKnob.y, kRatioKnob.w, kRatioKnob.h); };
    ASSERT_TRUE (Eventually ([&] { return knob (Draw (referenceView)) != knob (Draw (view)); }));
    const auto nearlySame = [] (const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        size_t different = 0;
        for (size_t i = 0; i < a.size(); ++i)
            different += a[i] != b[i] ? 1 : 0;
        return different * 50 < a.size();
    };
    const auto before = knob (Draw (view));
    instance->Parameters().UpdateParameterNormalizedValue ("3", 0.1, 0);
    EXPECT_TRUE (Eventually ([&] {
        const auto now = knob (Draw (view));
        return now != before && nearlySame (now, knob (Draw (referenceView)));
    }));
}

TEST_F (HeadlessEditor, KnobDragsWhileTheHostReinitialisesMeetWholeParameters)
{
    auto instance = plugin.NewInstance();
    HostEditor editor (*instance);
    auto& view = editor.OpenOffscreen();
    const int32_t x = kRatioKnob.x + kRatioKnob.w / 2, y = kRatioKnob.y + kRatioKnob.h / 2;
    const auto drag = [&] (int32_t distance) {
        view.Mouse (AAX_MOUSE_DOWN, x, y);
        view.Mouse (AAX_MOUSE_DRAG, x, y - distance);
        view.Mouse (AAX_MOUSE_UP, x, y - distance);
    };

    std::atomic<bool> running { true };
    std::atomic<int> drags { 0 };
    std::thread dragging ([&] {
        while (running.load())
            drag (10 + drags++ % 50);
    });
    for (int round = 0; round < 30 || drags.load() < 30; ++round)
    {
        ASSERT_EQ (instance->Parameters().Uninitialize(), AAX_SUCCESS);
        ASSERT_EQ (instance->Parameters().Initialize (&instance->Host()), AAX_SUCCESS);
    }
    running = false;
    dragging.join();

    // The instance came out whole: a drag now is a gesture the host hears from start to end,
    // and its value lands in the parameter.
    const double before = NormalizedValue (*instance, "3");
    plugin.framework.ClearCalls();
    drag (-80);
    std::vector<int> slots;
    for (const HostCall& call : plugin.framework.CallsTo ("AutomationDelegate"))
        slots.push_back (call.slot);
    ASSERT_GE (slots.size(), 3u);
    EXPECT_EQ (slots.front(), 7);
    EXPECT_EQ (slots.back(), 8);
    EXPECT_NE (std::find (slots.begin(), slots.end(), 5), slots.end());
    EXPECT_FALSE (instance->AutomationDelegate().IsTouched ("3"));
    EXPECT_NE (NormalizedValue (*instance, "3"), before);
}

TEST_F (HeadlessEditor, ContainersAreLetGoAndTheEditorLeavesThem)
{
    auto instance = plugin.NewInstance();
    {
        HostEditor editor (*instance);
        const int32_t liveBefore = plugin.framework.LiveObjects();
        auto& first = editor.OpenOffscreen();
        first.AddRef();
        auto& second = editor.OpenOffscreen();
        // The editor moved: the first container has no client, and only the test holds it.
        EXPECT_FALSE (first.HasClient());
        EXPECT_TRUE (second.HasClient());
        EXPECT_TRUE (first.Draw().empty());
        EXPECT_EQ (first.Release(), 0u);
        EXPECT_EQ (plugin.framework.LiveObjects(), liveBefore + 1);

        // Clearing deletes the editor; a new window gets a new one.
        editor.Close();
        EXPECT_FALSE (second.HasClient());
        EXPECT_TRUE (second.Draw().empty());
        auto& third = editor.OpenOffscreen();
        EXPECT_TRUE (third.HasClient());
        EXPECT_EQ (Draw (third).pixels.size(), 900u * 300u);
    }
    instance.reset();
    EXPECT_EQ (plugin.driver.CanUnloadNow(), 0);
}

TEST_F (HeadlessEditor, ViewSizeIsTheEditorsAlsoWithTheWindowClosed)
{
    auto instance = plugin.NewInstance();
    {
        HostEditor uninitialised (*instance, false);
        AAX_Point size { -1.0f, -1.0f };
        EXPECT_EQ (uninitialised.GUI().GetViewSize (&size), AAX_ERROR_NULL_OBJECT);
        EXPECT_EQ (size.horz, -1.0f);
        EXPECT_EQ (size.vert, -1.0f);
    }
    HostEditor editor (*instance);
    editor.OpenOffscreen();
    editor.Close();
    AAX_Point size { -1.0f, -1.0f };
    EXPECT_EQ (editor.GUI().GetViewSize (&size), AAX_SUCCESS);
    EXPECT_EQ (size.horz, 900.0f);
    EXPECT_EQ (size.vert, 300.0f);
    EXPECT_EQ (editor.GUI().GetViewSize (nullptr), AAX_ERROR_NULL_ARGUMENT);

    // The host's next window is made at that size before the editor comes into it.
    EXPECT_EQ (editor.ViewSize(), std::make_pair (900, 300));
    auto& view = editor.OpenOffscreen();
    EXPECT_EQ (std::make_pair (view.Width(), view.Height()), std::make_pair (900, 300));
}

TEST_F (HeadlessEditor, DestroyingTheGUIReleasesItsLastContainer)
{
    auto instance = plugin.NewInstance();
    HostViewContainer* kept = nullptr;
    const int32_t liveBefore = plugin.framework.LiveObjects();
    {
        HostEditor editor (*instance);
        kept = &editor.OpenOffscreen();
        kept->AddRef();
    }
    // The GUI let its container go and left it: only the test's reference remains.
    EXPECT_FALSE (kept->HasClient());
    EXPECT_EQ (kept->Release(), 0u);
    EXPECT_EQ (plugin.framework.LiveObjects(), liveBefore);
    instance.reset();
    EXPECT_EQ (plugin.driver.CanUnloadNow(), 0);
}
} // namespace
