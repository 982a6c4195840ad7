#include "views/pictures/CCachedPicture.h"

#include <cstring>

#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/ScopedPlugInResFile.h"
#include "views/base/ScopedToolboxObjects.h"

namespace
{
inline constexpr ResType kPictureType = kestrune::rtas::abi::fourCC ("PICT");

// A block of the picture resource's bytes, made while the plug-in's file is current; null when
// the file has no such picture or there is no memory for the block.
Handle CopyOfPicture (const HostToolboxRoutines& toolbox, int16_t id)
{
    const ScopedLockedResource picture (kPictureType, id);
    if (! picture.IsFound())
        return nullptr;
    Handle copy = toolbox.NewHandle (static_cast<int32_t> (picture.Size()));
    if (copy == nullptr)
        return nullptr;
    if (picture.Size() > 0)
    {
        if (*copy == nullptr)
        {
            toolbox.DisposeHandle (copy);
            return nullptr;
        }
        std::memcpy (*copy, picture.Data(), picture.Size());
    }
    return copy;
}
}

CCachedPicture::~CCachedPicture()
{
    ReleasePicture();
}

void CCachedPicture::ReleasePicture()
{
    if (fPicture == nullptr)
        return;
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->DisposeHandle (fPicture);
    fPicture = nullptr;
}

void CCachedPicture::Draw (const Rect& frame) const
{
    if (fPicture != nullptr)
        HostToolbox().DrawPicture (fPicture, &frame);
}

void CCachedPicture::Load (int16_t id)
{
    ReleasePicture();
    fID = kNoPictureID;
    const HostToolboxRoutines& toolbox = HostToolbox();
    Handle picture = nullptr;
    {
        const ScopedPlugInResFile plugInFile;
        if (plugInFile.IsOpen())
            picture = CopyOfPicture (toolbox, id);
    }
    if (picture == nullptr)
    {
        toolbox.ClearResError();
        return;
    }
    fPicture = picture;
    fID = id;
}
