#include "views/custom/SharedBackPatterns.h"

#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/ScopedPlugInResFile.h"
#include "views/base/CPlugInView.h"

namespace
{
struct SSharedBackPatterns
{
    PixPatHandle plain = nullptr;
    PixPatHandle coloured = nullptr;
    int32_t users = 0;
};

SSharedBackPatterns gShared;

void LoadIfMissing (CPlugInView& loader, PixPatHandle& pattern, int16_t id)
{
    if (pattern == nullptr)
        pattern = loader.CPlugInView::LoadPicture (id);
}

void DisposeBoth()
{
    const HostToolboxRoutines* toolbox = InstalledHostToolbox();
    for (PixPatHandle* pattern : { &gShared.plain, &gShared.coloured })
    {
        if (toolbox != nullptr && *pattern != nullptr)
            toolbox->DisposePixPat (*pattern);
        *pattern = nullptr;
    }
}
} // namespace

bool AcquireSharedBackPatterns (CPlugInView& loader)
{
    if (InstalledHostToolbox() == nullptr)
        return false;
    try
    {
        ScopedPlugInResFile plugInFile;
        if (plugInFile.IsOpen())
        {
            LoadIfMissing (loader, gShared.plain, kPlainBackPatternID);
            LoadIfMissing (loader, gShared.coloured, kColouredBackPatternID);
        }
    }
    catch (...)
    {
        if (gShared.users == 0)
            DisposeBoth();
        throw;
    }
    if (gShared.plain == nullptr && gShared.coloured == nullptr)
        return false;
    ++gShared.users;
    return true;
}

void ReleaseSharedBackPatterns()
{
    if (gShared.users <= 0 || --gShared.users > 0)
        return;
    DisposeBoth();
}

PixPatHandle GetSharedBackPattern (int16_t id)
{
    if (id == kPlainBackPatternID)
        return gShared.plain;
    if (id == kColouredBackPatternID)
        return gShared.coloured;
    return nullptr;
}
