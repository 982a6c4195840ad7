#include "views/pictures/CPictureSlot.h"

#include "process/base/CDAEError.h"
#include "views/pictures/CCachedPictureManager.h"

CPictureSlot::CPictureSlot()
{
    AddPictureCacheUser();
}

CPictureSlot::~CPictureSlot()
{
    Empty();
    RemovePictureCacheUser();
}

void CPictureSlot::Empty()
{
    if (fPicture == nullptr)
        return;
    if (CCachedPictureManager* manager = GetCachedPictureManager())
        manager->Release (fPicture);
    fPicture = nullptr;
}

void CPictureSlot::Set (int16_t id)
{
    if (id == kNoPictureID)
    {
        Empty();
        return;
    }
    if (fPicture != nullptr && fPicture->GetID() == id)
        return;
    CCachedPictureManager* manager = GetCachedPictureManager();
    CCachedPicture* picture = manager != nullptr ? manager->Acquire (id) : nullptr;
    ThrowIfNull (picture);
    if (picture->GetID() != id)
    {
        try
        {
            picture->Load (id);
        }
        catch (...)
        {
            manager->Release (picture);
            throw;
        }
    }
    Empty();
    fPicture = picture;
}

int16_t CPictureSlot::GetID() const
{
    return fPicture != nullptr ? fPicture->GetID() : kNoPictureID;
}

void CPictureSlot::Draw (const Rect& frame) const
{
    if (fPicture != nullptr)
        fPicture->Draw (frame);
}
