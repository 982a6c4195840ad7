// The shaded colour sets -2 and -1, built once from the background colour of the first custom
// view that gets a window. Its own program, so that this test's view is that first one.

#include "ViewTestSupport.h"

#include "views/custom/CCustomView.h"
#include "views/custom/ColourSets.h"

namespace
{

class ShadedViews : public ViewToolboxTest
{
};

TEST_F (ShadedViews, SetsMinusTwoAndMinusOneDrawWithTheShadesOfTheFirstBackgroundGivenAWindow)
{
    const RGBColor background { 0x8888, 0x4444, 0xCCCC };
    CCustomView root;
    root.SetRect ({ 0, 0, kHeight, kWidth });
    root.SetBackColor (background);
    root.SetWindow (window);
    const auto shades = ShadesOf (background);

    // A later view with another background changes nothing.
    CCustomView other;
    other.SetBackColor ({ 0, 0, 0 });
    other.SetWindow (window);

    for (int16_t set : { int16_t (-2), int16_t (-1) })
    {
        SCOPED_TRACE (set);
        const size_t first = set == -2 ? 0 : 6;
        for (size_t colour = 0; colour < 6; ++colour)
            EXPECT_EQ (PixelOf (GetColourSet (set)[colour]), PixelOf (shades[first + colour]));

        auto framed = std::make_unique<CCustomView>();
        framed->SetRect ({ 10, 20, 40, 60 });
        CCustomView& view = *framed;
        root.AddChild (std::move (framed), false);
        view.SetWindow (window);
        view.SetStyle (true, set, 0);
        EXPECT_EQ (PixelAt (25, 15), PixelOf (shades[first + 2])) << "the face";
        EXPECT_EQ (PixelAt (20, 15), PixelOf (shades[first + 0])) << "the light edge";
        EXPECT_EQ (PixelAt (25, 39), PixelOf (shades[first + 5])) << "the dark edge";
        root.RemoveChild (&view);
    }
}

} // namespace
