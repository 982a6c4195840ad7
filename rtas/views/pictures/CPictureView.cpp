#include "views/pictures/CPictureView.h"

#include "process/base/CDAEError.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/ViewRegistry.h"
#include "views/pictures/CCachedPicture.h"

namespace
{
int16_t CompanionOf (int16_t id)
{
    const int32_t companion = int32_t (id) + kCompanionPictureOffset;
    return id == kNoPictureID || companion > INT16_MAX ? kNoPictureID : static_cast<int16_t> (companion);
}

// The state that a keyword names; -1 for another word.
int16_t StateOfKeyword (int32_t keyword)
{
    switch (keyword)
    {
        case ViewKeyword::kNormal: return PictureState::kNormal;
        case ViewKeyword::kClicked: return PictureState::kClicked;
        case ViewKeyword::kDisabled: return PictureState::kDisabled;
        default: return -1;
    }
}
} // namespace

void CPictureView::SetPicture (int16_t state, int16_t id)
{
    if (! IsValidState (state))
        throw CDAEError (RTASError::kConditionFalse);
    fPictures[state].Set (id);
    fCompanions[state].Set (CompanionOf (id));
    InvalidateFrame();
}

int16_t CPictureView::GetPictureID (int16_t state) const
{
    return IsValidState (state) ? fPictures[state].GetID() : kNoPictureID;
}

const CCachedPicture* CPictureView::LoadedPicture (int16_t state) const
{
    const CCachedPicture* picture = fPictures[state].GetPicture();
    return picture != nullptr && picture->IsLoaded() ? picture : nullptr;
}

const CCachedPicture* CPictureView::GetCurrentPicture() const
{
    if (! IsEnabled())
        if (const CCachedPicture* disabled = LoadedPicture (PictureState::kDisabled))
            return disabled;
    if (GetHilite() != 0)
        if (const CCachedPicture* clicked = LoadedPicture (PictureState::kClicked))
            return clicked;
    return fPictures[PictureState::kNormal].GetPicture();
}

const CCachedPicture* CPictureView::GetCompanionPicture (int16_t state) const
{
    return IsValidState (state) ? fCompanions[state].GetPicture() : nullptr;
}

void CPictureView::ReadDescription (CViewDescriptionReader& reader)
{
    CCustomView::ReadDescription (reader);
    for (const SDescriptionNode* node = reader.TakeAttributeList(); node != nullptr; node = node->next->next)
    {
        const int16_t state = node->kind == kNodeKeyword ? StateOfKeyword (node->value) : -1;
        if (state < 0)
            throw CDAEError (RTASError::kConditionFalse);
        const SDescriptionNode* id = node->next;
        ThrowIfNull (id);
        if (id->kind == kNodeInteger && id->value >= INT16_MIN && id->value <= INT16_MAX)
            SetPicture (state, static_cast<int16_t> (id->value));
        else if (id->kind != kNodeString)
            throw CDAEError (RTASError::kConditionFalse);
    }
}

void CPictureView::DrawContents (const Rect&)
{
    if (const CCachedPicture* picture = GetCurrentPicture())
        picture->Draw (GetRect());
}

void CPictureView::SetEnabled (bool enabled)
{
    if (enabled == IsEnabled())
        return;
    CCustomView::SetEnabled (enabled);
    Invalidate (nullptr);
}
