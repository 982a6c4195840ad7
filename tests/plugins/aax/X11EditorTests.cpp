// The editor in a real X11 window under Xvfb: a child of the host's window, shown, and on
// screen as the editor draws itself. The whole suite is skipped when Xvfb cannot start.
#include "EditorTestSupport.h"
#include "HostWindow.h"
#include "X11TestServer.h"

namespace
{
using namespace plugin_test;
using namespace editor_test;
using kestrune::host::HostWindow;

using X11Editor = X11DisplayTest;

TEST_F (X11Editor, IsAShownChildOfTheHostsWindowAndLooksAsItDrawsItself)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    instance->Parameters().SetParameterNormalizedValue ("3", 1.0);
    HostWindow window (400, 200);
    {
        HostEditor editor (*instance);
        editor.OpenInX11Window (window.Id(), [&] (int32_t width, int32_t height) { window.Resize (width, height); });
        EXPECT_EQ (window.Size(), std::make_pair (900, 300));
        std::vector<unsigned long> children;
        ASSERT_TRUE (Eventually ([&] {
            children = window.Children();
            return children.size() == 1 && window.IsShown (children[0]);
        }));

        // The editor's own rendering, from a second, headless editor of the same instance.
        HostEditor headless (*instance);
        auto& view = headless.OpenOffscreen();
        Picture own;
        Picture screen;
        const bool matched = Eventually ([&] {
            own = Draw (view);
            screen = Screenshot (window.Id(), server->Display());
            return screen.width == 900 && screen.height == 300 && own.pixels.size() == screen.pixels.size()
                   && DifferentPixels (own, screen) < own.pixels.size() / 100;
        });
        EXPECT_TRUE (matched) << "screen " << screen.width << " x " << screen.height << ", "
                              << (screen.pixels.size() == own.pixels.size() ? DifferentPixels (own, screen) : own.pixels.size())
                              << " pixels differ; at (450, 150): own " << std::hex << own.At (450, 150) << " screen "
                              << screen.At (450, 150) << ", at (10, 10): own " << own.At (10, 10) << " screen " << screen.At (10, 10);

        // Closing the window takes the editor out of it.
        editor.Close();
        EXPECT_TRUE (Eventually ([&] { return window.Children().empty(); }));
    }
    instance.reset();
    EXPECT_EQ (plugin.driver.CanUnloadNow(), 0);
}
} // namespace
