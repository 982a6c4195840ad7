#include "views/pictures/CCachedPicture.h"

#include "process/utilities/HostExtToolbox.h"

namespace
{
inline constexpr ResType kPictureType = kestrune::rtas::abi::fourCC ("PICT");
}

CCachedPicture::~CCachedPicture()
{
    ReleasePicture();
}

// The resource first, then the open that kept its file: the last close of a file disposes of
// what is still loaded from it.
void CCachedPicture::ReleasePicture()
{
    if (fPicture != nullptr)
    {
        if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
            toolbox->ReleaseResource (fPicture);
        fPicture = nullptr;
    }
    fFileOpen.Close();
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
    fFileOpen = plugInFile.KeepOpen();
}
