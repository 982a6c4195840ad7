#pragma once
// The base of every described view: a CPlugInView with a colour set, an optional framed "plate"
// look (raised, or sunk when inverse), grip ridges chosen by style bits, and the shared
// background patterns.
//
// A view that paints something else into its window (an editor rendered elsewhere) derives from
// it, keeps its frame with SetRect, paints in DrawContents and overrides DrawBackground to draw
// nothing; it needs no description.
//
// [window thread] for every operation.

#include "views/base/CPlugInView.h"

class CViewDescriptionReader;

// Style bits: grip ridges across the width (bit 0) or across the height (bit 1).
inline constexpr uint16_t kStyleRidgesAcross = 0x0001;
inline constexpr uint16_t kStyleRidgesDown = 0x0002;

class CCustomView : public CPlugInView
{
public:
    // Loads the shared background patterns if they are not loaded yet and counts this view as
    // a user when there are any.
    CCustomView();
    ~CCustomView() override;

    // Takes the reader's current attribute list (and moves it on to the next): the view's ID as
    // a four-character code, then any of the keywords "plate" and "inversePlate" and an integer
    // colour-set index (-2 to 6). Anything else throws CDAEError -7400.
    virtual void ReadDescription (CViewDescriptionReader& reader);
    // Stores the three and redraws a view that has a window; a colour set outside -2 to 6 throws
    // CDAEError -7400 and changes nothing.
    virtual void SetStyle (bool framed, int16_t colourSet, uint16_t styleBits);
    // The colour set to draw with: 1 while highlighted, the set of the highlight colour of a
    // highlighted control, else the view's own.
    virtual int16_t GetDrawState() const;
    // Draws the plate in the given frame with the colours of the draw state.
    virtual void DrawFrame (const Rect& frame);

    // Builds the shaded colour sets from this view's background colour the first time any custom
    // view gets a window.
    void SetWindow (WindowRef window) override;
    RGBColor GetBackColor() const override;
    PixPatHandle GetBackPattern() const override;
    void DrawBackground (const Rect& area) override;

    bool IsFramed() const { return fFramed != 0; }
    bool IsInverse() const { return fInverse != 0; }
    int16_t GetColourSetIndex() const { return fColourSet; }
    uint16_t GetStyleBits() const { return fStyleBits; }

private:
    void UseSharedBackPatterns();
    void DrawGripRidges (const Rect& frame, int kind) const;

    int16_t fColourSet = 0;
    uint8_t fFramed = 0;
    uint8_t fInverse = 0;
    uint16_t fStyleBits = 0;
    // Whether this view is counted as a user of the shared patterns (at most once).
    bool fUsesSharedPatterns = false;
};
