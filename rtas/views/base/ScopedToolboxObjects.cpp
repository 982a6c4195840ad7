#include "views/base/ScopedToolboxObjects.h"

#include "process/base/CDAEError.h"
#include "process/utilities/PlugInFileRecord.h"

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

ScopedPlugInResFile::ScopedPlugInResFile()
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    fPrevious = toolbox.CurResFile();
    try
    {
        fFile = toolbox.FSpOpenResFile (&GetPlugInFileSpec(), fsRdPerm);
    }
    catch (const CDAEError&)
    {
        fFile = -1;
    }
    if (fFile <= 0)
        toolbox.UseResFile (fPrevious);
}

ScopedPlugInResFile::~ScopedPlugInResFile()
{
    const HostToolboxRoutines* toolbox = InstalledHostToolbox();
    if (toolbox == nullptr || fFile <= 0)
        return;
    toolbox->CloseResFile (fFile);
    toolbox->UseResFile (fPrevious);
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
