// The editor in a real X11 window under Xvfb: a child of the host's window, shown, and on
// screen as the editor draws itself. The whole suite is skipped when Xvfb cannot start.
#include "EditorTestSupport.h"
#include "HostWindow.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char** environ;

namespace
{
using namespace plugin_test;

// An Xvfb server of the test's own on a free display number, stopped at the end.
class Xvfb
{
public:
    Xvfb()
    {
        for (int number = 90; number < 140 && pid_ == 0; ++number)
        {
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string (number);
            const std::string lock = "/tmp/.X" + std::to_string (number) + "-lock";
            struct stat info
            {
            };
            if (stat (socket.c_str(), &info) == 0 || stat (lock.c_str(), &info) == 0)
                continue;
            const std::string display = ":" + std::to_string (number);
            const char* arguments[] = { "Xvfb", display.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", nullptr };
            pid_t pid = 0;
            if (posix_spawnp (&pid, "Xvfb", nullptr, nullptr, const_cast<char* const*> (arguments), environ) != 0)
                return;
            if (WaitForSocket (socket, pid))
            {
                pid_ = pid;
                display_ = display;
                // Stopped even when the test process ends early.
                running = pid;
                std::atexit ([] {
                    if (running != 0)
                        Stop (running);
                });
            }
            else
                Stop (pid);
        }
    }
    ~Xvfb()
    {
        if (pid_ != 0)
            Stop (pid_);
        running = 0;
    }
    bool Running() const { return pid_ != 0; }
    const std::string& Display() const { return display_; }

private:
    static bool WaitForSocket (const std::string& socket, pid_t pid)
    {
        for (int attempt = 0; attempt < 100; ++attempt)
        {
            struct stat info
            {
            };
            if (stat (socket.c_str(), &info) == 0)
                return true;
            int status = 0;
            if (waitpid (pid, &status, WNOHANG) == pid)
                return false;
            std::this_thread::sleep_for (std::chrono::milliseconds (50));
        }
        return false;
    }
    static void Stop (pid_t pid)
    {
        kill (pid, SIGTERM);
        int status = 0;
        waitpid (pid, &status, 0);
    }

    static inline pid_t running = 0;
    pid_t pid_ = 0;
    std::string display_;
};

// A window's picture, taken with xwd and read from its file (24-bit depth, 32 bits a pixel).
Picture Screenshot (unsigned long window, const std::string& display)
{
    const std::string file = "/tmp/kestrune-xwd-" + std::to_string (getpid()) + ".xwd";
    const std::string command = "xwd -silent -display " + display + " -id " + std::to_string (window) + " -out " + file;
    Picture picture;
    if (std::system (command.c_str()) != 0)
        return picture;
    std::ifstream in (file, std::ios::binary);
    std::vector<uint8_t> bytes ((std::istreambuf_iterator<char> (in)), std::istreambuf_iterator<char>());
    std::remove (file.c_str());
    const auto word = [&] (size_t index) {
        const size_t at = index * 4;
        return at + 4 <= bytes.size() ? (uint32_t (bytes[at]) << 24) | (uint32_t (bytes[at + 1]) << 16) | (uint32_t (bytes[at + 2]) << 8) | bytes[at + 3] : 0u;
    };
    const uint32_t headerSize = word (0), width = word (4), height = word (5), byteOrder = word (7), bitsPerPixel = word (11),
                   bytesPerLine = word (12), colours = word (19);
    if (bitsPerPixel != 32)
        return picture;
    const size_t start = size_t (headerSize) + size_t (colours) * 12;
    if (start + size_t (bytesPerLine) * height > bytes.size())
        return picture;
    picture.width = int32_t (width);
    picture.height = int32_t (height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            const uint8_t* p = &bytes[start + size_t (y) * bytesPerLine + size_t (x) * 4];
            const uint32_t value = byteOrder == 0 ? uint32_t (p[0]) | (uint32_t (p[1]) << 8) | (uint32_t (p[2]) << 16)
                                                  : uint32_t (p[3]) | (uint32_t (p[2]) << 8) | (uint32_t (p[1]) << 16);
            picture.pixels.push_back (0xFF000000u | value);
        }
    return picture;
}

// How many pixels of two pictures of one size differ by more than a little in any channel.
size_t DifferentPixels (const Picture& a, const Picture& b)
{
    size_t different = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs (int ((a.pixels[i] >> shift) & 0xFF) - int ((b.pixels[i] >> shift) & 0xFF)) > 8)
            {
                ++different;
                break;
            }
    return different;
}

class X11Editor : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        server = new Xvfb;
        if (server->Running())
            setenv ("DISPLAY", server->Display().c_str(), 1);
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    void SetUp() override
    {
        if (! server->Running())
            GTEST_SKIP() << "Xvfb could not start";
    }
    static Xvfb* server;
};
Xvfb* X11Editor::server = nullptr;

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
