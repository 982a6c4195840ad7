// KESTrune.dpm's editor in a real X11 window under Xvfb: the host backs its toolbox window with an
// X11 window of its own, and the editor becomes a shown native child of it that looks as the
// editor draws itself, takes the mouse there (a knob dragged reaches the host as the touch, the
// values and the release of its control), follows the host's automation and moves with the view.
// The whole suite is skipped when Xvfb cannot start.
#include "DpmTestSupport.h"
#include "HostWindow.h"
#include "SDSTokens.h"
#include "X11TestServer.h"

#include <algorithm>

namespace
{
using namespace dpm_test;
using namespace sds_test;
using namespace editor_test;
using kestrune::host::HostWindow;

using DpmX11Window = DpmTestOn<X11DisplayTest>;

// The ratio knob (parameter 3, control 5) and the control beside it (parameter 4).
constexpr int32_t kRatioControl = 5;
constexpr int32_t kKneeControl = 6;
constexpr int32_t kKnobX = 606, kKnobY = 30, kKnobSize = 90;

// The name the engine knows a control by: the host's own update of it is sent there.
int32_t NameOfControl (DaeControl& engine, HostedProcess& process, int32_t control)
{
    const int32_t value = process.ControlValue (control);
    const size_t earlier = Tokens (engine).size();
    process.UpdateControlValue (control, value);
    const auto tokens = TokensSince (engine, earlier);
    return tokens.size() == 1 && tokens[0].type == kCURV ? tokens[0].destination : 0;
}

std::vector<uint32_t> Knob (const Picture& picture)
{
    return picture.Region (kKnobX, kKnobY, kKnobSize, kKnobSize);
}

size_t DifferentInKnob (const Picture& a, const Picture& b)
{
    const auto first = Knob (a);
    const auto second = Knob (b);
    size_t different = 0;
    for (size_t i = 0; i < first.size(); ++i)
        different += first[i] != second[i] ? 1 : 0;
    return different;
}

TEST_F (DpmX11Window, TheEditorIsANativeChildThatTakesTheMouseAndFollowsTheHost)
{
    offerSDS = true;
    Open (StartUpRoad::kRegisteredProcedures);
    HostedProcess& process = Make (2);
    // A second instance with the same values, in a window the host shows in none: the editor's
    // own rendering, painted into the window's pixels.
    HostedProcess& reference = Make (2);
    const HostedWindow headless (reference);
    const auto ownRendering = [&] {
        headless.Redraw();
        return Picture { headless.Width(), headless.Height(), headless.Pixels() };
    };

    DaeControl& engine = loader->engine();
    const int32_t ratioName = NameOfControl (engine, process, kRatioControl);
    ASSERT_NE (ratioName, 0);
    ASSERT_NE (NameOfControl (engine, process, kKneeControl), ratioName);

    HostWindow x11 (900, 300);
    const HostedWindow window (process, uint32_t (x11.Id()));
    std::vector<unsigned long> children;
    ASSERT_TRUE (Eventually ([&] {
        children = x11.Children();
        return children.size() == 1 && x11.IsShown (children[0]);
    }));
    Picture own;
    Picture screen;
    const bool looksTheSame = Eventually ([&] {
        own = ownRendering();
        screen = Screenshot (x11.Id(), server->Display());
        return screen.width == 900 && screen.height == 300 && DifferentPixels (own, screen) < own.pixels.size() / 100;
    });
    EXPECT_TRUE (looksTheSame) << "screen " << screen.width << " x " << screen.height;
    EXPECT_EQ (window.Pixels(), std::vector<uint32_t> (900u * 300u, 0xFFFFFFFFu)) << "the editor draws itself, not into the port";

    // The user drags the ratio knob up; the host idles meanwhile, as hosts do.
    const size_t earlier = Tokens (engine).size();
    const int32_t x = kKnobX + kKnobSize / 2, y = kKnobY + kKnobSize / 2;
    x11.MovePointer (x, y);
    x11.PressButton (true);
    for (const int32_t up : { 10, 30, 60 })
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (20));
        x11.MovePointer (x, y - up);
        process.Idle();
    }
    x11.PressButton (false);
    std::vector<std::string> words;
    std::vector<int32_t> values;
    ASSERT_TRUE (Eventually ([&] {
        process.Idle();
        values.clear();
        words = EditWords (TokensSince (engine, earlier), ratioName, &values);
        return ! words.empty() && words.back() == "release";
    })) << words.size()
        << " words";
    EXPECT_EQ (words.front(), "touch");
    EXPECT_TRUE (std::all_of (words.begin() + 1, words.end() - 1, [] (const std::string& word) { return word == "value"; }));
    ASSERT_FALSE (values.empty());
    EXPECT_GT (ControlValueToFraction (values.back()), ControlValueToFraction (process.ControlValue (kRatioControl)))
        << "up turns the knob up";
    // The host answers with the value: the control takes it.
    process.UpdateControlValue (kRatioControl, values.back());
    EXPECT_EQ (process.ControlValue (kRatioControl), values.back());

    // The host's automation moves the knob at the editor's next refresh, as the other instance
    // draws the same value.
    reference.UpdateControlValue (kRatioControl, FractionToControlValue (0.1));
    const Picture before = Screenshot (x11.Id(), server->Display());
    process.UpdateControlValue (kRatioControl, FractionToControlValue (0.1));
    EXPECT_TRUE (Eventually ([&] {
        screen = Screenshot (x11.Id(), server->Display());
        own = ownRendering();
        return screen.width == 900 && DifferentInKnob (screen, before) > 0 && DifferentInKnob (screen, own) * 50 < size_t (kKnobSize * kKnobSize);
    }));

    // The host moves the view: the editor's window moves with it, and back to the corner when the
    // host asks for the view's rectangle.
    process.MoveViewTo (20, 10);
    EXPECT_TRUE (Eventually ([&] { return x11.PositionOf (children[0]) == std::make_pair (20, 10); }));
    const Rect view = process.ViewRect();
    EXPECT_EQ (view.left, 0);
    EXPECT_EQ (view.top, 0);
    EXPECT_TRUE (Eventually ([&] { return x11.PositionOf (children[0]) == std::make_pair (0, 0); }));
}
} // namespace
