// An X11 display of the test's own for the editor tests of both plug-in files: an Xvfb server
// started on a free display number and stopped at the end, pictures of windows on it, and a
// fixture for a suite of tests on it.
#pragma once

#include "EditorPicture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace editor_test
{
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
inline Picture Screenshot (unsigned long window, const std::string& display)
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

// A suite of tests on the display: the server starts before the suite's first test (and before
// JUCE inside a plug-in looks for a display) and DISPLAY names it; every test is skipped when
// Xvfb cannot start.
class X11DisplayTest : public ::testing::Test
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
    static inline Xvfb* server = nullptr;
};
} // namespace editor_test
