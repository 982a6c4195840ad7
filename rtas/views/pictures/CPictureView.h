#pragma once
// A view that draws a picture of the plug-in's resource file, chosen by its state: the disabled
// picture while the view is disabled, the clicked one while it is highlighted, else the normal
// one. Each state's picture comes with a companion (the picture whose id is 10000 more). The
// pictures are shared through the picture cache.
//
// [window thread] for every operation.

#include "views/custom/CCustomView.h"
#include "views/pictures/CPictureSlot.h"

class CCachedPicture;

namespace PictureState
{
inline constexpr int16_t kNormal = 0;
inline constexpr int16_t kClicked = 1;
inline constexpr int16_t kDisabled = 2;
inline constexpr int16_t kCount = 3;
} // namespace PictureState

// The companion of picture id n is n + 10000 (none when that is no 16-bit id).
inline constexpr int32_t kCompanionPictureOffset = 10000;

class CPictureView : public CCustomView
{
public:
    CPictureView() = default;

    // The picture of a state (0-2; another throws CDAEError -7400) and its companion become those
    // of the id (kNoPictureID: none); the frame is then marked for update.
    virtual void SetPicture (int16_t state, int16_t id);
    // The id of the state's picture; kNoPictureID when it has none (or for no state).
    virtual int16_t GetPictureID (int16_t state) const;
    // The picture that the view draws now; null when it has none.
    virtual const CCachedPicture* GetCurrentPicture() const;
    const CCachedPicture* GetCompanionPicture (int16_t state) const;

    // After the custom view's list, one list of pairs: "normal", "clicked" or "disabled" and the
    // picture id (a string in its place is taken and ignored). Anything else throws -7400.
    void ReadDescription (CViewDescriptionReader& reader) override;
    void DrawContents (const Rect& area) override;
    // Redraws when the flag changes.
    void SetEnabled (bool enabled) override;

private:
    static bool IsValidState (int16_t state) { return state >= 0 && state < PictureState::kCount; }
    const CCachedPicture* LoadedPicture (int16_t state) const;

    CPictureSlot fPictures[PictureState::kCount];
    CPictureSlot fCompanions[PictureState::kCount];
};
