#pragma once
// A view that plots an icon resource of the plug-in's resource file in its frame.
//
// The view keeps its own copy of the icon's bytes, so that views showing the same icon (which the
// toolbox loads once, under one handle) do not free it under each other.
//
// [window thread] for every operation.

#include <cstdint>

#include "views/custom/CCustomView.h"

inline constexpr int32_t kNoIconID = -1;

class CIconView : public CCustomView
{
public:
    CIconView() = default;
    // Lets the icon go.
    ~CIconView() override;

    // Lets the shown icon go and, unless the id is kNoIconID, loads the icon of that id (none
    // when the resource file has no such icon or the id is no 16-bit id).
    void SetIconID (int32_t id);
    int32_t GetIconID() const { return fIconID; }
    bool HasIcon() const { return fIcon != nullptr; }

    void DrawContents (const Rect& area) override;

private:
    void DisposeIcon();

    int32_t fIconID = kNoIconID;
    Handle fIcon = nullptr;
};
