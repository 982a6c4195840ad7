#include "views/hostcontrols/CResControlView.h"

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/ScopedPlugInResFile.h"

ControlHandle CResControlView::CreateControl (WindowRef window)
{
    if (fTemplateID == kNoControlTemplate)
        throw CDAEError (RTASError::kConditionFalse);
    const HostToolboxRoutines& toolbox = HostToolbox();
    ControlHandle control = nullptr;
    {
        ScopedPlugInResFile plugInFile;
        if (! plugInFile.IsOpen())
            return nullptr;
        control = toolbox.GetNewControl (fTemplateID, window);
    }
    if (control == nullptr)
    {
        toolbox.ClearResError();
        return nullptr;
    }
    const Rect frame = GetRect();
    toolbox.MoveControl (control, frame.left, frame.top);
    Rect bounds {};
    toolbox.GetControlBounds (control, &bounds);
    SetRect (bounds);
    return control;
}
