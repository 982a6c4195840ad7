#pragma once
// A host control made from a control template of the plug-in's resource file: moved to the
// view's top-left corner, and the control's rectangle becomes the view's frame.
//
// [window thread] for every operation.

#include "views/hostcontrols/CMacControlView.h"

inline constexpr int16_t kNoControlTemplate = -1;

class CResControlView : public CMacControlView
{
public:
    CResControlView() = default;

    // Null when the resource file has no usable template of the id; a view without a template id
    // throws CDAEError -7400.
    ControlHandle CreateControl (WindowRef window) override;

    void SetTemplateID (int16_t id) { fTemplateID = id; }
    int16_t GetTemplateID() const { return fTemplateID; }

private:
    int16_t fTemplateID = kNoControlTemplate;
};
