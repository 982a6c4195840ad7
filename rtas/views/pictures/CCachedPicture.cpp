#include "views/pictures/CCachedPicture.h"

#include "process/utilities/HostExtToolbox.h"
#include "views/base/ScopedToolboxObjects.h"

namespace
{
inline constexpr ResType kPictureType = kestrune::rtas::abi::fourCC ("PICT");
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
        toolbox->ReleaseResource (fPicture);
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
    ScopedPlugInResFile plugInFile;
    Handle picture = plugInFile.IsOpen() ? toolbox.Get1Resource (kPictureType, id) : nullptr;
    if (picture == nullptr)
    {
        toolbox.ClearResError();
        return;
    }
    toolbox.LoadResource (picture);
    fPicture = picture;
    fID = id;
}
