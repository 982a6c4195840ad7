#pragma once
// The root view of a plug-in window built from a dialog resource of the plug-in's resource file:
// the dialog gives the window's size and names the item list that fills it; a pixel pattern is
// the window's background. The view itself is disabled, so its background takes no clicks. It is
// the view that a process makes for its window unless the process makes another.
//
// [window thread] for every operation.

#include "views/dialogs/CItemListView.h"

inline constexpr int16_t kDefaultDialogID = 1;
inline constexpr int16_t kDefaultBackgroundPatternID = 1000;

class CDialogView : public CItemListView
{
public:
    CDialogView() = default;
    // Disposes of the background pattern.
    ~CDialogView() override;

    // The first time a window comes, loads the background pattern from the plug-in's resource
    // file (with the window's port current); then the custom view's.
    void SetWindow (WindowRef window) override;
    PixPatHandle GetBackPattern() const override;
    // Once: takes the dialog (none: CDAEError -7053; shorter than a dialog: -7400): the frame
    // becomes the dialog's rectangle at (0, 0), the view is disabled and takes the dialog's item
    // list; then the item list's building.
    CPlugInView* GetParentOrAttach() override;

    virtual int16_t GetDialogID() const;
    virtual void SetDialogID (int16_t id);
    virtual int16_t GetPatternID() const;
    virtual void SetPatternID (int16_t id);

private:
    void LoadDialog();

    int16_t fDialogID = kDefaultDialogID;
    int16_t fPatternID = kDefaultBackgroundPatternID;
    PixPatHandle fPattern = nullptr;
};
