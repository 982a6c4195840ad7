#pragma once
// One picture that a view draws by id, taken from the picture cache: a slot holds at most one
// cached picture and counts as a user of the cache for as long as it lives, so the cache stays
// while any slot does.
//
// A slot given another id lets its picture go and takes the cached picture of the new id: the
// picture that other slots share is never loaded again with another id under them.
//
// [window thread] for every operation.

#include <cstdint>

#include <abi/HostTypes.h>

class CCachedPicture;

class CPictureSlot
{
public:
    CPictureSlot();
    // Lets the picture go.
    ~CPictureSlot();
    CPictureSlot (const CPictureSlot&) = delete;
    CPictureSlot& operator= (const CPictureSlot&) = delete;

    // kNoPictureID empties the slot; another id holds the cached picture of that id, loaded from
    // the plug-in's resource file when the cache did not have it yet. Throws CDAEError -7053 when
    // the cache has no picture to give.
    void Set (int16_t id);
    // The picture's id: kNoPictureID for an empty slot or a picture that has no resource.
    int16_t GetID() const;
    bool IsEmpty() const { return fPicture == nullptr; }
    const CCachedPicture* GetPicture() const { return fPicture; }
    // Draws the picture scaled into the frame; nothing for an empty slot.
    void Draw (const Rect& frame) const;

private:
    void Empty();

    CCachedPicture* fPicture = nullptr;
};
