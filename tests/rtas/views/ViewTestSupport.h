#pragma once
// The stand-in toolbox as the views meet it (installed as the library's binding, one window open
// with the plug-in's resource file beside a module of our own), and views that record what the
// tree asks of them and paint their frame in one colour.

#include "process/base/CDAEError.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/GlobalPlugInGroup.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PlugInFileRecord.h"
#include "views/base/CPlugInView.h"
#include "views/base/ViewGeometry.h"

#include <HostExtControl.h>
#include <ThrownCode.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

inline constexpr uint32_t kWhitePixel = 0xFFFFFFFFu;
inline constexpr RGBColor kWhite { 0xFFFF, 0xFFFF, 0xFFFF };
inline constexpr RGBColor kRed { 0xFFFF, 0, 0 };
inline constexpr RGBColor kGreen { 0, 0xFFFF, 0 };
inline constexpr RGBColor kBlue { 0, 0, 0xFFFF };

inline uint32_t PixelOf (const RGBColor& colour)
{
    return 0xFF000000u | (uint32_t (colour.red >> 8) << 16) | (uint32_t (colour.green >> 8) << 8) | uint32_t (colour.blue >> 8);
}

inline Point At (int h, int v)
{
    return { int16_t (v), int16_t (h) };
}

inline std::string Describe (const Rect& r)
{
    return "(" + std::to_string (r.top) + "," + std::to_string (r.left) + "," + std::to_string (r.bottom) + "," + std::to_string (r.right) + ")";
}

// A view that logs the tree's calls into a shared log (as "<name> <call>") and paints the part of
// its frame that it is asked to draw in its colour.
class LoggingView : public CPlugInView
{
public:
    LoggingView (std::string name, Rect frame, std::vector<std::string>* log, RGBColor colour = { 0, 0, 0 })
        : fName (std::move (name)), fLog (log), fColour (colour)
    {
        SetRect (frame);
        SetEnabled (true);
    }

    bool focusable = false;
    std::function<void()> onDraw;
    int drawCount = 0;

    bool CanTakeFocus() const override { return focusable; }
    void EndEditing (bool accept) override { Log (accept ? "EndEditing accept" : "EndEditing cancel"); }
    void BeginEditing() override { Log ("BeginEditing"); }
    void HandleKey (int16_t character, bool& handled) override
    {
        Log ("HandleKey " + std::to_string (character));
        handled = true;
    }
    void Click (const EventRecord& event) override
    {
        Log ("Click");
        CPlugInView::Click (event);
    }
    void ChildMoved (CPlugInView*) override { Log ("ChildMoved"); }
    void DrawContents (const Rect& area) override
    {
        ++drawCount;
        if (onDraw)
            onDraw();
        const HostToolboxRoutines& toolbox = HostToolbox();
        toolbox.RGBForeColor (&fColour);
        const Rect painted = ViewGeometry::Intersection (area, GetRect());
        toolbox.PaintRect (&painted);
    }

    const std::string& Name() const { return fName; }

private:
    void Log (const std::string& call) const
    {
        if (fLog != nullptr)
            fLog->push_back (fName + " " + call);
    }

    std::string fName;
    std::vector<std::string>* fLog;
    RGBColor fColour;
};

// A group whose idle time (YieldLock) is counted.
class CountingGroup final : public CProcessGroupInterface
{
public:
    int yields = 0;
    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
    int32_t YieldLock() override
    {
        ++yields;
        return 0;
    }
};

// Installs the group as the module's one group for the life of the object.
class ScopedGlobalGroup
{
public:
    explicit ScopedGlobalGroup (CProcessGroupInterface& group) { SetPlugInGroup (&group); }
    ~ScopedGlobalGroup() { SetPlugInGroup (nullptr); }
    ScopedGlobalGroup (const ScopedGlobalGroup&) = delete;
    ScopedGlobalGroup& operator= (const ScopedGlobalGroup&) = delete;
};

// The stand-in toolbox, bound as the library binds it, with a window of 120 x 80 pixels at
// global (v 100, h 200) and the plug-in's resource file beside KESTRUNE_VIEW_MODULE.
class ViewToolboxTest : public ::testing::Test
{
protected:
    static constexpr int kWidth = 120;
    static constexpr int kHeight = 80;
    static constexpr Rect kWindowBounds { 100, 200, 100 + kHeight, 200 + kWidth };

    void SetUp() override
    {
        toolbox.reset();
        ASSERT_TRUE (InstallHostToolbox());
        FSSpec spec {};
        std::strncpy (spec.path, KESTRUNE_VIEW_MODULE, sizeof spec.path - 1);
        SetPlugInFileSpec (spec);
        window = toolbox.newWindow (kWindowBounds);
        ASSERT_NE (window, nullptr);
    }

    void TearDown() override
    {
        toolbox.disposeWindow (window);
        ReleaseHostToolbox();
        toolbox.reset();
    }

    uint32_t PixelAt (int x, int y) { return toolbox.pixel (window, x, y); }

    // The pixels that differ from `expected`, as text for a failure message; empty when all match.
    std::string Mismatches (const std::function<uint32_t (int x, int y)>& expected)
    {
        std::string found;
        const auto pixels = toolbox.windowPixels (window);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (pixels[size_t (y * kWidth + x)] != expected (x, y) && found.size() < 300)
                    found += "(" + std::to_string (x) + "," + std::to_string (y) + ") ";
        return found;
    }

    kestrune::host::rtas::HostExtControl& toolbox = *KestruneHostExtStandIn();
    WindowRef window = nullptr;
};
