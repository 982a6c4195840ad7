#include "views/pictures/CCachedPictureManager.h"

#include <algorithm>

namespace
{
struct SPictureCache
{
    std::unique_ptr<CCachedPictureManager> manager;
    int32_t users = 0;
};

SPictureCache& TheCache()
{
    static SPictureCache cache;
    return cache;
}
} // namespace

CCachedPictureManager::~CCachedPictureManager() = default;

CCachedPicture* CCachedPictureManager::Acquire (int16_t id)
{
    CCachedPicture* picture = Find (id);
    if (picture == nullptr)
    {
        fPictures.push_back (std::make_unique<CCachedPicture>());
        picture = fPictures.back().get();
    }
    ++picture->fReferences;
    return picture;
}

void CCachedPictureManager::Release (CCachedPicture* picture)
{
    const auto held = std::find_if (fPictures.begin(), fPictures.end(), [picture] (const auto& cached) { return cached.get() == picture; });
    if (held == fPictures.end())
        return;
    if (picture->fReferences > 0)
        --picture->fReferences;
    if (picture->fReferences == 0)
        fPictures.erase (held);
}

int32_t CCachedPictureManager::GetCount() const
{
    return static_cast<int32_t> (fPictures.size());
}

CCachedPicture* CCachedPictureManager::Find (int16_t id) const
{
    const auto found = std::find_if (fPictures.begin(), fPictures.end(), [id] (const auto& cached) { return cached->GetID() == id; });
    return found != fPictures.end() ? found->get() : nullptr;
}

CCachedPictureManager* GetCachedPictureManager()
{
    return TheCache().manager.get();
}

void AddPictureCacheUser()
{
    SPictureCache& cache = TheCache();
    if (cache.manager == nullptr)
        cache.manager = std::make_unique<CCachedPictureManager>();
    ++cache.users;
}

void RemovePictureCacheUser()
{
    SPictureCache& cache = TheCache();
    if (cache.users > 0)
        --cache.users;
    if (cache.users == 0 && cache.manager != nullptr && cache.manager->GetCount() == 0)
        cache.manager.reset();
}
