#include "process/utilities/ScopedPlugInResFile.h"

#include <utility>

#include "process/base/CDAEError.h"
#include "process/utilities/PlugInFileRecord.h"

namespace
{
// The file the module's open holds.
int16_t gModuleFile = 0;
// The file opened for the holds while nothing else held it, and how many holds it has.
int16_t gOpenedFile = 0;
int32_t gOpenedHolds = 0;
}

int16_t HeldPlugInResFile()
{
    return gModuleFile > 0 ? gModuleFile : gOpenedFile;
}

void SetModulePlugInResFile (int16_t file)
{
    gModuleFile = file > 0 ? file : int16_t (0);
}

PlugInResFileHold PlugInResFileHold::Take (const HostToolboxRoutines& toolbox)
{
    if (gModuleFile > 0)
        return PlugInResFileHold (gModuleFile, false);
    if (gOpenedFile <= 0)
    {
        const int16_t file = toolbox.FSpOpenResFile (&GetPlugInFileSpec(), fsRdPerm);
        if (file <= 0)
            return {};
        gOpenedFile = file;
    }
    ++gOpenedHolds;
    return PlugInResFileHold (gOpenedFile, true);
}

PlugInResFileHold::~PlugInResFileHold()
{
    Release();
}

PlugInResFileHold::PlugInResFileHold (PlugInResFileHold&& other) noexcept
    : fFile (std::exchange (other.fFile, int16_t (0))), fCounted (std::exchange (other.fCounted, false))
{
}

PlugInResFileHold& PlugInResFileHold::operator= (PlugInResFileHold&& other) noexcept
{
    if (this != &other)
    {
        Release();
        fFile = std::exchange (other.fFile, int16_t (0));
        fCounted = std::exchange (other.fCounted, false);
    }
    return *this;
}

void PlugInResFileHold::Release() noexcept
{
    fFile = 0;
    if (! std::exchange (fCounted, false) || --gOpenedHolds > 0)
        return;
    gOpenedHolds = 0;
    const int16_t file = std::exchange (gOpenedFile, int16_t (0));
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->CloseResFile (file);
}

ScopedPlugInResFile::ScopedPlugInResFile()
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    fPrevious = toolbox.CurResFile();
    try
    {
        fHold = PlugInResFileHold::Take (toolbox);
    }
    catch (const CDAEError&)
    {
        // No file spec of the plug-in: no file.
    }
    if (fHold.IsOpen())
        toolbox.UseResFile (fHold.GetFile());
}

ScopedPlugInResFile::~ScopedPlugInResFile()
{
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->UseResFile (fPrevious);
    fHold.Release();
}
