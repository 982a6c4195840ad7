#pragma once
// The picture cache: one CCachedPicture per picture id, shared by every user of the library and
// deleted when its last user lets it go. There is one manager per library; it exists while the
// cache has users (picture slots, CPictureSlot) or holds pictures.
//
// [window thread] for every operation.

#include <cstdint>
#include <memory>
#include <vector>

#include "views/pictures/CCachedPicture.h"

class CCachedPictureManager
{
public:
    CCachedPictureManager() = default;
    // Deletes every cached picture.
    virtual ~CCachedPictureManager();
    CCachedPictureManager (const CCachedPictureManager&) = delete;
    CCachedPictureManager& operator= (const CCachedPictureManager&) = delete;

    // The cached picture of that id with one more reference: the one already cached, else a new
    // one (not loaded, id kNoPictureID) added to the cache.
    virtual CCachedPicture* Acquire (int16_t id);
    // One reference fewer (never below 0); at 0 the picture leaves the cache and is deleted. A
    // picture that the cache does not hold is left alone.
    virtual void Release (CCachedPicture* picture);
    virtual int32_t GetCount() const;

    // The first cached picture, in the order they were added, whose id is that id; null when none.
    CCachedPicture* Find (int16_t id) const;

private:
    std::vector<std::unique_ptr<CCachedPicture>> fPictures;
};

// The library's manager; null while the cache has no user and holds no picture.
CCachedPictureManager* GetCachedPictureManager();
// A user of the cache comes: the first makes the manager.
void AddPictureCacheUser();
// A user goes: when none is left and the cache holds no picture, the manager is deleted.
void RemovePictureCacheUser();
