// The toolbox's ports, regions and drawing, checked pixel by pixel.

#include "HostExtWindowFixture.h"

#include <cstring>

namespace
{

using kestrune::rtas::abi::fourCC;
using kestrune::rtas::abi::HostExtRoutines;

const std::string kToolboxResources = KESTRUNE_TOOLBOX_RESOURCES;

using HostExtDrawing = HostExtWindowTest;

bool inBox (int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

struct PrimitiveCase
{
    const char* name;
    std::function<void (HostExtRoutines&)> draw;
    std::function<bool (int x, int y)> black;
};

TEST_F (HostExtDrawing, PrimitivesSetThePixelsTheyCover)
{
    const PrimitiveCase cases[] = {
        { "PaintRect covers [left, right) x [top, bottom)",
          [] (HostExtRoutines& h) {
              const Rect r { 2, 3, 5, 7 };
              h.PaintRect (&r);
          },
          [] (int x, int y) { return inBox (x, y, 3, 2, 7, 5); } },
        { "an empty rectangle draws nothing",
          [] (HostExtRoutines& h) {
              const Rect r { 5, 9, 5, 20 };
              h.PaintRect (&r);
          },
          [] (int, int) { return false; } },
        { "FrameRect draws inside the rectangle",
          [] (HostExtRoutines& h) {
              const Rect r { 2, 3, 6, 8 };
              h.FrameRect (&r);
          },
          [] (int x, int y) { return inBox (x, y, 3, 2, 8, 6) && ! inBox (x, y, 4, 3, 7, 5); } },
        { "a 2 x 1 pen frames with wide sides",
          [] (HostExtRoutines& h) {
              const Rect r { 2, 3, 8, 10 };
              h.PenSize (2, 1);
              h.FrameRect (&r);
          },
          [] (int x, int y) { return inBox (x, y, 3, 2, 10, 8) && ! inBox (x, y, 5, 3, 8, 7); } },
        { "a line sets both of its end pixels",
          [] (HostExtRoutines& h) {
              h.MoveTo (1, 1);
              h.LineTo (5, 1);
          },
          [] (int x, int y) { return y == 1 && x >= 1 && x <= 5; } },
        { "a line to where the pen is sets one pixel",
          [] (HostExtRoutines& h) {
              h.MoveTo (4, 6);
              h.Line (0, 0);
          },
          [] (int x, int y) { return x == 4 && y == 6; } },
        { "the pen hangs right and below the line",
          [] (HostExtRoutines& h) {
              h.MoveTo (1, 1);
              h.PenSize (2, 2);
              h.LineTo (4, 1);
          },
          [] (int x, int y) { return inBox (x, y, 1, 1, 6, 3); } },
        { "a vertical line with a relative move",
          [] (HostExtRoutines& h) {
              h.MoveTo (10, 2);
              h.Move (0, 1);
              h.Line (0, 3);
          },
          [] (int x, int y) { return x == 10 && y >= 3 && y <= 6; } },
        { "a diagonal line steps one pixel each way",
          [] (HostExtRoutines& h) {
              h.MoveTo (0, 0);
              h.LineTo (3, 3);
          },
          [] (int x, int y) { return x == y && x <= 3; } },
        { "PaintOval leaves the corners of a 4 x 4 square",
          [] (HostExtRoutines& h) {
              const Rect r { 0, 0, 4, 4 };
              h.PaintOval (&r);
          },
          [] (int x, int y) { return inBox (x, y, 0, 0, 4, 4) && ! ((x == 0 || x == 3) && (y == 0 || y == 3)); } },
        { "FrameOval leaves the middle of an oval",
          [] (HostExtRoutines& h) {
              const Rect r { 0, 0, 10, 10 };
              h.FrameOval (&r);
          },
          [] (int x, int y) {
              const auto inside = [] (double px, double py, double centre, double radius) {
                  const double dx = (px + 0.5 - centre) / radius;
                  const double dy = (py + 0.5 - centre) / radius;
                  return dx * dx + dy * dy <= 1.0;
              };
              return inside (x, y, 5, 5) && ! (inBox (x, y, 1, 1, 9, 9) && inside (x - 1, y - 1, 4, 4));
          } },
        { "EraseRect puts the back colour over paint",
          [] (HostExtRoutines& h) {
              const Rect painted { 0, 0, 4, 8 };
              const Rect erased { 1, 2, 3, 6 };
              h.PaintRect (&painted);
              h.EraseRect (&erased);
          },
          [] (int x, int y) { return inBox (x, y, 0, 0, 8, 4) && ! inBox (x, y, 2, 1, 6, 3); } },
        { "EraseOval erases only the oval",
          [] (HostExtRoutines& h) {
              const Rect r { 0, 0, 4, 4 };
              h.PaintRect (&r);
              h.EraseOval (&r);
          },
          [] (int x, int y) { return (x == 0 || x == 3) && (y == 0 || y == 3); } },
        { "patXor inverts what is there",
          [] (HostExtRoutines& h) {
              const Rect a { 0, 0, 4, 4 };
              const Rect b { 2, 2, 6, 6 };
              h.PenMode (patXor);
              h.PaintRect (&a);
              h.PaintRect (&b);
          },
          [] (int x, int y) { return inBox (x, y, 0, 0, 4, 4) != inBox (x, y, 2, 2, 6, 6); } },
        { "an xor line inverts each pixel under a wide pen once",
          [] (HostExtRoutines& h) {
              h.PenMode (patXor);
              h.PenSize (3, 3);
              h.MoveTo (0, 0);
              h.LineTo (6, 2);
          },
          [] (int x, int y) {
              // The pen's corner steps through the pixels nearest to the line.
              const int corners[][2] = { { 0, 0 }, { 1, 0 }, { 2, 1 }, { 3, 1 }, { 4, 1 }, { 5, 2 }, { 6, 2 } };
              for (const auto& c : corners)
                  if (inBox (x, y, c[0], c[1], c[0] + 3, c[1] + 3))
                      return true;
              return false;
          } },
        { "patBic paints the back colour",
          [] (HostExtRoutines& h) {
              const Rect a { 0, 0, 4, 8 };
              const Rect b { 0, 2, 4, 4 };
              h.PaintRect (&a);
              h.PenMode (patBic);
              h.PaintRect (&b);
          },
          [] (int x, int y) { return inBox (x, y, 0, 0, 8, 4) && ! inBox (x, y, 2, 0, 4, 4); } },
        { "an unknown mode paints as a copy",
          [] (HostExtRoutines& h) {
              const Rect r { 1, 1, 3, 3 };
              h.PenMode (33);
              h.PaintRect (&r);
              h.PaintRect (&r);
          },
          [] (int x, int y) { return inBox (x, y, 1, 1, 3, 3); } },
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE (test.name);
        toolbox.disposeWindow (window);
        window = toolbox.newWindow (kGlobalBounds);
        host.SetPort (window);
        test.draw (host);
        EXPECT_EQ (mismatches ([&] (int x, int y) { return test.black (x, y) ? kBlack : kWhite; }), "");
    }
    EXPECT_EQ (toolbox.script().callsOf ("UnknownTransferMode").size(), 1u);
    EXPECT_EQ (toolbox.script().callsOf ("UnknownTransferMode")[0].arguments, (std::vector<int64_t> { 33 }));
}

TEST_F (HostExtDrawing, ColoursAreTheHighBytesOfTheirComponents)
{
    const RGBColor colour { 0x1234, 0xABCD, 0xFF00 };
    host.RGBForeColor (&colour);
    const Rect r { 0, 0, 1, 1 };
    host.PaintRect (&r);
    EXPECT_EQ (at (0, 0), 0xFF12ABFFu);
    host.ForeColor (redColor);
    host.BackColor (blueColor);
    const Rect next { 0, 1, 1, 2 };
    host.PaintRect (&next);
    const Rect erased { 0, 2, 1, 3 };
    host.EraseRect (&erased);
    EXPECT_EQ (at (1, 0), 0xFFFF0000u);
    EXPECT_EQ (at (2, 0), 0xFF0000FFu);
    RGBColor read {};
    host.GetBackColor (&read);
    EXPECT_EQ (read.blue, 0xFFFF);
    host.ForeColor (12345);
    EXPECT_EQ (toolbox.script().countOf ("UnknownColour"), 1u);
}

TEST_F (HostExtDrawing, ClippingThroughARegionWithAHole)
{
    RgnHandle saved = host.NewRgn();
    RgnHandle outer = host.NewRgn();
    RgnHandle hole = host.NewRgn();
    RgnHandle ring = host.NewRgn();
    const auto before = toolbox.portState (window);
    host.GetClip (saved);

    const Rect outerRect { 2, 2, 20, 30 };
    const Rect holeRect { 6, 8, 12, 16 };
    host.RectRgn (outer, &outerRect);
    host.RectRgn (hole, &holeRect);
    host.DiffRgn (outer, hole, ring);
    Rect bounds {};
    host.GetRegionBounds (ring, &bounds);
    EXPECT_EQ ((std::vector<int16_t> { bounds.top, bounds.left, bounds.bottom, bounds.right }), (std::vector<int16_t> { 2, 2, 20, 30 }));

    host.SetClip (ring);
    const Rect everything { 0, 0, kHeight, kWidth };
    host.PaintRect (&everything);
    EXPECT_EQ (mismatches ([] (int x, int y) { return inBox (x, y, 2, 2, 30, 20) && ! inBox (x, y, 8, 6, 16, 12) ? kBlack : kWhite; }), "");
    // A region is kept as bands of boxes: above the hole, beside it on each side, below it.
    std::vector<std::vector<int16_t>> boxes;
    for (const Rect& box : toolbox.portState (window).clip)
        boxes.push_back ({ box.top, box.left, box.bottom, box.right });
    EXPECT_EQ (boxes, (std::vector<std::vector<int16_t>> { { 2, 2, 6, 30 }, { 6, 2, 12, 8 }, { 6, 16, 12, 30 }, { 12, 2, 20, 30 } }));

    // The region algebra agrees: the hole and the ring make the whole again, and meet nowhere.
    RgnHandle whole = host.NewRgn();
    RgnHandle meeting = host.NewRgn();
    host.UnionRgn (ring, hole, whole);
    host.SectRgn (ring, hole, meeting);
    host.GetRegionBounds (whole, &bounds);
    EXPECT_EQ ((std::vector<int16_t> { bounds.top, bounds.left, bounds.bottom, bounds.right }), (std::vector<int16_t> { 2, 2, 20, 30 }));
    host.GetRegionBounds (meeting, &bounds);
    EXPECT_EQ ((std::vector<int16_t> { bounds.top, bounds.left, bounds.bottom, bounds.right }), (std::vector<int16_t> { 0, 0, 0, 0 }));

    host.SetClip (saved);
    const auto after = toolbox.portState (window);
    ASSERT_EQ (after.clip.size(), before.clip.size());
    EXPECT_EQ (std::memcmp (after.clip.data(), before.clip.data(), before.clip.size() * sizeof (Rect)), 0) << "the clip is as it was";
    for (RgnHandle region : { saved, outer, hole, ring, whole, meeting })
        host.DisposeRgn (region);
    EXPECT_EQ (toolbox.objectCounts().regions, 0u);
}

TEST_F (HostExtDrawing, ClipRectLimitsDrawingAndUnknownRegionsAreRecorded)
{
    const Rect clip { 0, 0, 5, 5 };
    host.ClipRect (&clip);
    const Rect r { 0, 0, 10, 10 };
    host.PaintRect (&r);
    EXPECT_EQ (mismatches ([] (int x, int y) { return inBox (x, y, 0, 0, 5, 5) ? kBlack : kWhite; }), "");

    int notARegion = 0;
    host.SetClip (reinterpret_cast<RgnHandle> (&notARegion));
    const auto invalid = toolbox.script().callsOf ("InvalidHandle");
    ASSERT_EQ (invalid.size(), 1u);
    EXPECT_EQ (invalid[0].text, "region");
    EXPECT_EQ (toolbox.portState (window).clip.size(), 1u) << "the clip is unchanged";
}

TEST_F (HostExtDrawing, ScrollRectMovesPixelsAndReturnsTheUncoveredStrip)
{
    // A vertical bar at x 2, then everything in (0, 0, 10, 10) moves 3 right and 2 down.
    const Rect bar { 0, 2, 10, 3 };
    host.PaintRect (&bar);
    const RGBColor grey { 0x8080, 0x8080, 0x8080 };
    host.RGBBackColor (&grey);
    RgnHandle uncovered = host.NewRgn();
    const Rect area { 0, 0, 10, 10 };
    host.ScrollRect (&area, 3, 2, uncovered);

    const uint32_t greyPixel = 0xFF808080u;
    EXPECT_EQ (mismatches ([&] (int x, int y) {
                   if (! inBox (x, y, 0, 0, 10, 10))
                       return kWhite;
                   if (x < 3 || y < 2)
                       return greyPixel;
                   return x == 5 ? kBlack : kWhite;
               }),
               "");
    Rect bounds {};
    host.GetRegionBounds (uncovered, &bounds);
    EXPECT_EQ ((std::vector<int16_t> { bounds.top, bounds.left, bounds.bottom, bounds.right }), (std::vector<int16_t> { 0, 0, 10, 10 }));
    // The strip is an L: a region that holds none of the moved pixels.
    RgnHandle moved = host.NewRgn();
    RgnHandle overlap = host.NewRgn();
    const Rect movedRect { 2, 3, 10, 10 };
    host.RectRgn (moved, &movedRect);
    host.SectRgn (uncovered, moved, overlap);
    host.GetRegionBounds (overlap, &bounds);
    EXPECT_EQ (bounds.bottom - bounds.top, 0);
}

TEST_F (HostExtDrawing, LocalAndGlobalCoordinatesFollowTheOrigin)
{
    host.SetOrigin (10, 20);
    Point point { 20, 10 };
    host.LocalToGlobal (&point);
    EXPECT_EQ (point.v, 100);
    EXPECT_EQ (point.h, 200);
    point = { 105, 203 };
    host.GlobalToLocal (&point);
    EXPECT_EQ (point.v, 25);
    EXPECT_EQ (point.h, 13);

    Rect bounds {};
    host.GetPortBounds (window, &bounds);
    EXPECT_EQ ((std::vector<int16_t> { bounds.top, bounds.left, bounds.bottom, bounds.right }),
               (std::vector<int16_t> { 20, 10, 20 + kHeight, 10 + kWidth }));
    const Rect local { 20, 10, 21, 11 };
    host.PaintRect (&local);
    EXPECT_EQ (at (0, 0), kBlack) << "local (10, 20) is the window's first pixel";

    // An update marked in local coordinates lands in window coordinates.
    const Rect dirty { 22, 15, 24, 18 };
    host.InvalWindowRect (window, &dirty);
    const auto update = toolbox.updateRegion (window);
    ASSERT_EQ (update.size(), 1u);
    EXPECT_EQ ((std::vector<int16_t> { update[0].top, update[0].left, update[0].bottom, update[0].right }), (std::vector<int16_t> { 2, 5, 4, 8 }));
    toolbox.validateWindow (window);
    EXPECT_TRUE (toolbox.updateRegion (window).empty());
}

TEST_F (HostExtDrawing, PointToAngleIsClockwiseFromTheTopOfTheRectangle)
{
    const Rect wide { 0, 0, 20, 40 };
    const std::pair<Point, int16_t> cases[] = {
        { { 0, 20 }, 0 },
        { { 10, 40 }, 90 },
        { { 20, 20 }, 180 },
        { { 10, 0 }, 270 },
        { { 0, 40 }, 45 },
        { { 20, 0 }, 225 },
        { { 10, 20 }, 0 },
        { { 0, 39 }, 44 },
    };
    for (const auto& [point, expected] : cases)
    {
        int16_t angle = -1;
        host.PtToAngle (&wide, point, &angle);
        EXPECT_EQ (angle, expected) << point.v << "," << point.h;
    }
}

TEST_F (HostExtDrawing, RectangleArithmetic)
{
    Rect a {};
    host.SetRect (&a, 1, 2, 11, 12);
    EXPECT_EQ ((std::vector<int16_t> { a.top, a.left, a.bottom, a.right }), (std::vector<int16_t> { 2, 1, 12, 11 }));
    const Rect b { 10, 10, 20, 20 };
    Rect result {};
    EXPECT_EQ (host.SectRect (&a, &b, &result), 1);
    EXPECT_EQ ((std::vector<int16_t> { result.top, result.left, result.bottom, result.right }), (std::vector<int16_t> { 10, 10, 12, 11 }));
    const Rect apart { 30, 30, 40, 40 };
    EXPECT_EQ (host.SectRect (&a, &apart, &result), 0);
    EXPECT_EQ ((std::vector<int16_t> { result.top, result.left, result.bottom, result.right }), (std::vector<int16_t> { 0, 0, 0, 0 }));
    host.UnionRect (&a, &apart, &result);
    EXPECT_EQ ((std::vector<int16_t> { result.top, result.left, result.bottom, result.right }), (std::vector<int16_t> { 2, 1, 40, 40 }));
    host.InsetRect (&a, 2, 3);
    EXPECT_EQ ((std::vector<int16_t> { a.top, a.left, a.bottom, a.right }), (std::vector<int16_t> { 5, 3, 9, 9 }));
    host.InsetRect (&a, 5, 0);
    EXPECT_EQ ((std::vector<int16_t> { a.top, a.left, a.bottom, a.right }), (std::vector<int16_t> { 0, 0, 0, 0 })) << "inset to nothing";
    EXPECT_EQ (host.PtInRect ({ 10, 10 }, &b), 1);
    EXPECT_EQ (host.PtInRect ({ 20, 10 }, &b), 0) << "the bottom edge is outside";
}

class HostExtResourceDrawing : public HostExtWindowTest
{
protected:
    void SetUp() override
    {
        HostExtWindowTest::SetUp();
        ASSERT_GT (host.OpenResFileWithSwap (kToolboxResources.c_str(), nullptr), 0);
    }
};

TEST_F (HostExtResourceDrawing, PatternsTileFromTheLocalOrigin)
{
    PixPatHandle pattern = host.GetPixPat (1001);
    ASSERT_NE (pattern, nullptr);
    EXPECT_EQ (toolbox.openResourceFiles()[0].loadedResources, 0u) << "the resource is released after reading";
    const uint32_t tile[2][2] = { { 0xFF112233u, 0xFF445566u }, { 0xFF778899u, 0xFFAABBCCu } };

    EXPECT_EQ (host.GetBackPixPat(), nullptr);
    host.BackPixPat (pattern);
    EXPECT_EQ (host.GetBackPixPat(), pattern);
    const Rect r { 0, 0, 4, 6 };
    host.EraseRect (&r);
    EXPECT_EQ (mismatches ([&] (int x, int y) { return inBox (x, y, 0, 0, 6, 4) ? tile[y % 2][x % 2] : kWhite; }), "");

    // With the origin at (1, 0) the window's first pixel is local (1, 0).
    host.SetOrigin (1, 0);
    const Rect shifted { 0, 1, 1, 2 };
    host.EraseRect (&shifted);
    EXPECT_EQ (at (0, 0), tile[0][1]);

    host.DisposePixPat (pattern);
    EXPECT_EQ (toolbox.portState (window).backPattern, nullptr) << "a port does not keep a disposed pattern";
    host.EraseRect (&shifted);
    EXPECT_EQ (at (0, 0), kWhite);
    EXPECT_EQ (toolbox.objectCounts().patterns, 0u);
}

TEST_F (HostExtResourceDrawing, PatternsThatAreMissingOrDamagedAreNull)
{
    EXPECT_EQ (host.GetPixPat (1002), nullptr);
    EXPECT_EQ (host.ResError(), mapReadErr);
    EXPECT_EQ (host.GetPixPat (999), nullptr);
    EXPECT_EQ (host.ResError(), resNotFound);
    toolbox.script().injectFailure ("GetPixPat", memFullErr);
    EXPECT_EQ (host.GetPixPat (1001), nullptr);
    EXPECT_EQ (host.MemError(), memFullErr);
}

TEST_F (HostExtResourceDrawing, PicturesAreScaledAndBlendedIntoTheirFrame)
{
    Handle picture = host.GetResource (fourCC ("PICT"), 128);
    ASSERT_NE (picture, nullptr);
    const RGBColor black { 0, 0, 0 };
    host.RGBBackColor (&black);
    const Rect r { 0, 0, 4, 4 };
    host.DrawPicture (picture, &r);
    // Half-covering blue over white: 0x80 + 0xFF * 0x7F / 0xFF for blue, 0x7F for the others.
    EXPECT_EQ (mismatches ([] (int x, int y) -> uint32_t {
                   if (! inBox (x, y, 0, 0, 4, 4))
                       return kWhite;
                   if (y < 2)
                       return x < 2 ? 0xFFFF0000u : 0xFF00FF00u;
                   return x < 2 ? 0xFF7F7FFFu : kWhite;
               }),
               "");

    int notAHandle = 0;
    host.DrawPicture (reinterpret_cast<Handle> (&notAHandle), &r);
    ASSERT_EQ (toolbox.script().countOf ("InvalidHandle"), 1u);
    EXPECT_EQ (toolbox.script().callsOf ("InvalidHandle")[0].text, "picture");
}

TEST_F (HostExtResourceDrawing, IconsArePlottedInForeAndBackColours)
{
    Handle icon = host.GetResource (fourCC ("ICON"), 128);
    ASSERT_NE (icon, nullptr);
    const RGBColor red { 0xFFFF, 0, 0 };
    host.RGBBackColor (&red);
    const Rect r { 2, 4, 18, 20 };
    host.PlotIcon (&r, icon);
    EXPECT_EQ (mismatches ([] (int x, int y) -> uint32_t {
                   if (! inBox (x, y, 4, 2, 20, 18))
                       return kWhite;
                   return y < 10 ? kBlack : 0xFFFF0000u;
               }),
               "");
}

TEST_F (HostExtDrawing, ARGBPixelsAreCopiedToTheCornerOfTheRectangle)
{
    // Three pixels a row, rows 16 bytes apart.
    const uint32_t pixels[] = { 0xFF010203u, 0xFF040506u, 0xFF070809u, 0, 0xFF0A0B0Cu, 0xFF0D0E0Fu, 0xFF101112u, 0 };
    const Rect clip { 0, 0, kHeight, 6 };
    host.ClipRect (&clip);
    const Rect destination { 1, 4, 20, 20 };
    host.CopyARGBPixels (pixels, 3, 2, 16, &destination);
    EXPECT_EQ (mismatches ([&] (int x, int y) -> uint32_t {
                   if (inBox (x, y, 4, 1, 6, 3))
                       return pixels[(y - 1) * 4 + (x - 4)];
                   return kWhite;
               }),
               "")
        << "the third column is clipped away";
    host.CopyARGBPixels (pixels, 3, 2, 8, &destination);
    EXPECT_EQ (toolbox.script().countOf ("InvalidHandle"), 1u) << "rows shorter than the width";
}

// The host backs a window with a native one of its own; drawing still goes to the window's
// pixels, and the answer goes with the window.
TEST_F (HostExtDrawing, AWindowAnswersTheNativeWindowThatBacksIt)
{
    EXPECT_EQ (host.GetNativeWindow (window), 0u) << "shown in none at first";
    toolbox.setNativeWindow (window, 0x00A00003u);
    EXPECT_EQ (host.GetNativeWindow (window), 0x00A00003u);
    const WindowRef other = toolbox.newWindow (kGlobalBounds);
    EXPECT_EQ (host.GetNativeWindow (other), 0u) << "each window its own";
    const Rect r { 0, 0, 2, 2 };
    host.PaintRect (&r);
    EXPECT_EQ (at (1, 1), kBlack);
    toolbox.setNativeWindow (window, 0);
    EXPECT_EQ (host.GetNativeWindow (window), 0u);

    toolbox.disposeWindow (other);
    EXPECT_EQ (host.GetNativeWindow (other), 0u);
    EXPECT_EQ (toolbox.script().countOf ("InvalidHandle"), 1u) << "a disposed window is unknown";
}

TEST_F (HostExtDrawing, ThePortStateShowsEverySettingAndItsRestoration)
{
    const auto initial = toolbox.portState (window);
    EXPECT_EQ (initial.pen.mode, patCopy);
    EXPECT_EQ (initial.pen.size.h, 1);
    EXPECT_EQ (initial.textMode, srcOr);
    EXPECT_EQ (initial.fore.red, 0);
    EXPECT_EQ (initial.back.red, 0xFFFF);

    PenState pen {};
    RGBColor fore {};
    host.GetPenState (&pen);
    host.GetForeColor (&fore);
    const int16_t font = host.GetPortTextFont (window);
    const int16_t size = host.GetPortTextSize (window);

    const RGBColor blue { 0, 0, 0xFFFF };
    host.RGBForeColor (&blue);
    host.PenSize (3, 4);
    host.PenMode (patXor);
    host.MoveTo (7, 8);
    host.TextFont (3);
    host.TextSize (9);
    const auto changed = toolbox.portState (window);
    EXPECT_EQ (changed.fore.blue, 0xFFFF);
    EXPECT_EQ (changed.pen.size.h, 3);
    EXPECT_EQ (changed.pen.size.v, 4);
    EXPECT_EQ (changed.pen.location.h, 7);
    EXPECT_EQ (host.GetPortTextFont (window), 3);
    EXPECT_EQ (host.GetPortTextSize (window), 9);

    host.SetPenState (&pen);
    host.RGBForeColor (&fore);
    host.TextFont (font);
    host.TextSize (size);
    const auto restored = toolbox.portState (window);
    EXPECT_EQ (std::memcmp (&restored.pen, &initial.pen, sizeof (PenState)), 0);
    EXPECT_EQ (std::memcmp (&restored.fore, &initial.fore, sizeof (RGBColor)), 0);
    EXPECT_EQ (restored.textFont, initial.textFont);
    EXPECT_EQ (restored.textSize, initial.textSize);

    // The log keeps the order of the calls.
    const auto names = toolbox.script().callNames();
    const auto first = std::find (names.begin(), names.end(), "RGBForeColor");
    ASSERT_NE (first, names.end());
    EXPECT_EQ (*(first + 1), "PenSize");
    EXPECT_EQ (names.back(), "TextSize");
}

TEST_F (HostExtDrawing, DrawingWithoutACurrentPortDoesNothing)
{
    host.SetPort (nullptr);
    GrafPtr current = window;
    host.GetPort (&current);
    EXPECT_EQ (current, nullptr);
    const Rect r { 0, 0, 10, 10 };
    host.PaintRect (&r);
    host.SetPort (window);
    EXPECT_EQ (mismatches ([] (int, int) { return kWhite; }), "");
    toolbox.disposeWindow (window);
    host.GetPort (&current);
    EXPECT_EQ (current, nullptr) << "a disposed window is not current";
    window = toolbox.newWindow (kGlobalBounds);
}

} // namespace
