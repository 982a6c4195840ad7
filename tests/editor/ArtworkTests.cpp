#include "KestruneArtwork.h"

#include <gtest/gtest.h>

#include <juce_graphics/juce_graphics.h>

namespace
{
juce::File committedFile (const juce::String& fileName)
{
    return juce::File (KESTRUNE_EDITOR_IMAGES_DIR).getChildFile (fileName);
}

juce::Image loadCommitted (const juce::String& fileName)
{
    return juce::ImageFileFormat::loadFrom (committedFile (fileName));
}

// What each embedded picture must be: size, whether it has transparency, a pixel that
// must be fully transparent and one that must be opaque (x, y; -1 for none).
struct PictureCase
{
    const char* fileName;
    int width, height;
    bool hasAlpha;
    juce::Point<int> transparentAt, opaqueAt;
};

const PictureCase pictureCases[] = {
    { "background.png", 900, 300, false, { -1, -1 }, { 450, 150 } },
    { "bypass.png", 91, 75, false, { -1, -1 }, { 45, 37 } },
    { "meter_face.png", 300, 300, true, { 1, 1 }, { 150, 150 } },
    { "meter_overlay.png", 300, 300, true, { 100, 200 }, { 5, 150 } },
    { "switch_off.png", 64, 64, true, { 2, 32 }, { 32, 32 } },
    { "switch_on.png", 64, 64, true, { 2, 32 }, { 32, 32 } },
    { "knob_body.png", 200, 200, true, { 2, 2 }, { 100, 100 } },
    { "knob_cap.png", 600, 600, true, { 10, 10 }, { 300, 300 } },
    { "knob_pointer.png", 200, 200, true, { 100, 100 }, { 100, 50 } },
};
}

TEST (ArtworkTest, DrawingAgainGivesTheCommittedBytes)
{
    ASSERT_EQ (KestruneArtwork::pictures().size(), std::size (pictureCases));

    for (const auto& picture : KestruneArtwork::pictures())
    {
        SCOPED_TRACE (picture.fileName);
        juce::MemoryBlock committed;
        ASSERT_TRUE (committedFile (picture.fileName).loadFileAsData (committed));
        EXPECT_TRUE (KestruneArtwork::encodePng (picture.draw()) == committed)
            << "run kestrune_draw_images editor/images and commit the result";
    }
}

TEST (ArtworkTest, EachPictureHasItsSizeAndTransparency)
{
    for (const auto& c : pictureCases)
    {
        SCOPED_TRACE (c.fileName);
        const auto image = loadCommitted (c.fileName);
        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getWidth(), c.width);
        EXPECT_EQ (image.getHeight(), c.height);
        EXPECT_EQ (image.hasAlphaChannel(), c.hasAlpha);
        if (c.transparentAt.x >= 0)
        {
            EXPECT_EQ (image.getPixelAt (c.transparentAt.x, c.transparentAt.y).getAlpha(), 0);
        }
        EXPECT_EQ (image.getPixelAt (c.opaqueAt.x, c.opaqueAt.y).getAlpha(), 255);
    }
}

TEST (ArtworkTest, LitBypassSwitchCoversTheBackgroundsUnlitSwitchExactly)
{
    const auto background = loadCommitted ("background.png");
    const auto bypass = loadCommitted ("bypass.png");
    const juce::Point<int> origin (804, 112);
    int lampDifference = 0, toggleDifference = 0;

    for (int y = 0; y < bypass.getHeight(); ++y)
        for (int x = 0; x < bypass.getWidth(); ++x)
        {
            const auto lit = bypass.getPixelAt (x, y);
            const auto unlit = background.getPixelAt (origin.x + x, origin.y + y);
            const int difference = std::abs (lit.getRed() - unlit.getRed()) + std::abs (lit.getGreen() - unlit.getGreen())
                                   + std::abs (lit.getBlue() - unlit.getBlue());
            (x < 50 ? lampDifference : toggleDifference) = std::max (x < 50 ? lampDifference : toggleDifference, difference);
        }

    // Only the lamp differs; the toggle, the plate and the panel around are the same pixels.
    EXPECT_GT (lampDifference, 150);
    EXPECT_EQ (toggleDifference, 0);

    // The lit lamp is red.
    const auto lamp = bypass.getPixelAt (25, 37);
    EXPECT_GT (lamp.getRed(), 200);
    EXPECT_LT (lamp.getGreen(), 150);
}

TEST (ArtworkTest, MeterOverlayLeavesTheScaleVisible)
{
    const auto face = loadCommitted ("meter_face.png");
    const auto overlay = loadCommitted ("meter_overlay.png");
    // The scale's marks lie where the bezel is open and the needle's pivot is covered.
    EXPECT_EQ (overlay.getPixelAt (150, 94).getAlpha() < 128, true);
    EXPECT_EQ (overlay.getPixelAt (150, 240).getAlpha(), 255);
    EXPECT_EQ (face.getPixelAt (150, 240).getAlpha(), 255);
}
