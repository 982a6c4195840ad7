#include "views/base/ScopedToolboxObjects.h"

#include "process/base/CDAEError.h"

ScopedRegion::ScopedRegion() : fRegion (HostToolbox().NewRgn())
{
    if (fRegion == nullptr)
        throw CDAEError (RTASError::kNullPointer);
}

ScopedRegion::~ScopedRegion()
{
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->DisposeRgn (fRegion);
}

ScopedPortColour::ScopedPortColour (Which which) : fWhich (which)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    if (fWhich == Which::fore)
        toolbox.GetForeColor (&fSaved);
    else
        toolbox.GetBackColor (&fSaved);
}

ScopedPortColour::~ScopedPortColour()
{
    const HostToolboxRoutines* toolbox = InstalledHostToolbox();
    if (toolbox == nullptr)
        return;
    if (fWhich == Which::fore)
        toolbox->RGBForeColor (&fSaved);
    else
        toolbox->RGBBackColor (&fSaved);
}

ScopedLockedResource::ScopedLockedResource (ResType type, int16_t id)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    fResource = toolbox.Get1Resource (type, id);
    if (fResource == nullptr)
    {
        toolbox.ClearResError();
        return;
    }
    toolbox.HLock (fResource);
    const int32_t size = toolbox.GetHandleSize (fResource);
    if (*fResource != nullptr && size > 0)
    {
        fData = reinterpret_cast<const uint8_t*> (*fResource);
        fSize = static_cast<size_t> (size);
    }
}

ScopedLockedResource::~ScopedLockedResource()
{
    const HostToolboxRoutines* toolbox = InstalledHostToolbox();
    if (toolbox == nullptr || fResource == nullptr)
        return;
    toolbox->HUnlock (fResource);
    toolbox->ReleaseResource (fResource);
}

ScopedPortText::ScopedPortText()
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    GrafPtr port = nullptr;
    toolbox.GetPort (&port);
    fFont = toolbox.GetPortTextFont (port);
    fSize = toolbox.GetPortTextSize (port);
    fFace = toolbox.GetPortTextFace (port);
    fMode = toolbox.GetPortTextMode (port);
}

ScopedPortText::~ScopedPortText()
{
    const HostToolboxRoutines* toolbox = InstalledHostToolbox();
    if (toolbox == nullptr)
        return;
    toolbox->TextFont (fFont);
    toolbox->TextSize (fSize);
    toolbox->TextFace (fFace);
    toolbox->TextMode (fMode);
}

ScopedCurrentPort::ScopedCurrentPort (GrafPtr port)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    toolbox.GetPort (&fPrevious);
    toolbox.SetPort (port);
}

ScopedCurrentPort::~ScopedCurrentPort()
{
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->SetPort (fPrevious);
}

ScopedPenState::ScopedPenState()
{
    HostToolbox().GetPenState (&fSaved);
}

ScopedPenState::~ScopedPenState()
{
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->SetPenState (&fSaved);
}

ScopedClipRect::ScopedClipRect (const Rect& area)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    toolbox.GetClip (fSaved.Get());
    ScopedRegion clip;
    toolbox.RectRgn (clip.Get(), &area);
    toolbox.SectRgn (clip.Get(), fSaved.Get(), clip.Get());
    toolbox.SetClip (clip.Get());
}

ScopedClipRect::~ScopedClipRect()
{
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->SetClip (fSaved.Get());
}
