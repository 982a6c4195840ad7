#include "process/utilities/ScopedPlugInResFile.h"

#include <utility>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PlugInFileRecord.h"

PlugInResFileOpen PlugInResFileOpen::Open()
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    try
    {
        return PlugInResFileOpen (toolbox.FSpOpenResFile (&GetPlugInFileSpec(), fsRdPerm));
    }
    catch (const CDAEError&)
    {
        return {};
    }
}

PlugInResFileOpen::~PlugInResFileOpen()
{
    Close();
}

PlugInResFileOpen::PlugInResFileOpen (PlugInResFileOpen&& other) noexcept : fFile (std::exchange (other.fFile, int16_t (-1))) {}

PlugInResFileOpen& PlugInResFileOpen::operator= (PlugInResFileOpen&& other) noexcept
{
    if (this != &other)
    {
        Close();
        fFile = std::exchange (other.fFile, int16_t (-1));
    }
    return *this;
}

void PlugInResFileOpen::Close() noexcept
{
    const int16_t file = std::exchange (fFile, int16_t (-1));
    if (file <= 0)
        return;
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->CloseResFile (file);
}

ScopedPlugInResFile::ScopedPlugInResFile()
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    fPrevious = toolbox.CurResFile();
    fOpen = PlugInResFileOpen::Open();
    if (fOpen.IsOpen())
        toolbox.UseResFile (fOpen.GetFile());
}

ScopedPlugInResFile::~ScopedPlugInResFile()
{
    fOpen.Close();
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->UseResFile (fPrevious);
}

PlugInResFileOpen ScopedPlugInResFile::KeepOpen()
{
    return std::move (fOpen);
}
