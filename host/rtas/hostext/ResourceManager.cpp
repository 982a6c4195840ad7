#include "ResourceManager.h"

#include <win/ByteOrder.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <strings.h>

namespace kestrune::host::rtas
{

namespace
{

    constexpr int16_t kFirstReference = 20;
    constexpr uint32_t kStringListType = 0x53545223; // 'STR#'

    std::optional<std::vector<uint8_t>> readFile (const std::string& path)
    {
        std::ifstream in (path, std::ios::binary);
        if (! in)
            return std::nullopt;
        return std::vector<uint8_t> (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
    }

    bool typeIs (const win::ResourceView& entry, ResType type)
    {
        return win::fourCCFromType (entry.type) == type && entry.type.size() == 4;
    }

} // namespace

int16_t ResourceManager::openByPath (const std::string& path, ResourceSwapProc swap)
{
    if (File* file = findFileByPath (path))
        return reopen (*file);
    return openFile (path, swap);
}

int16_t ResourceManager::openBySpec (const std::string& path)
{
    if (File* file = findFileByPath (path))
        return reopen (*file);
    // A module keeps its toolbox resources beside it, in "<module>.rsr".
    const std::string companion = path + ".rsr";
    if (File* file = findFileByPath (companion))
        return reopen (*file);
    const auto bytes = readFile (path);
    if (bytes && win::ResourceContainerView::parse (*bytes))
        return openFile (path, nullptr);
    return openFile (companion, nullptr);
}

int16_t ResourceManager::reopen (File& file)
{
    ++file.opens;
    current_ = file.reference;
    error_ = noErr;
    return file.reference;
}

int16_t ResourceManager::openFile (const std::string& path, ResourceSwapProc swap)
{
    auto bytes = readFile (path);
    if (! bytes)
    {
        error_ = fnfErr;
        return -1;
    }
    auto file = std::make_unique<File>();
    file->bytes = std::move (*bytes);
    const auto container = win::ResourceContainerView::parse (file->bytes);
    if (! container)
    {
        error_ = mapReadErr;
        return -1;
    }
    file->entries = container->entries();
    file->path = path;
    file->swap = swap;
    file->opens = 1;
    file->reference = nextReference_ == 0 ? kFirstReference : nextReference_;
    nextReference_ = int16_t (file->reference + 1);
    current_ = file->reference;
    files_.push_back (std::move (file));
    error_ = noErr;
    return current_;
}

void ResourceManager::closeByPath (const std::string& path)
{
    if (File* file = findFileByPath (path))
        closeFile (*file);
    else
        error_ = resFNotFound;
}

void ResourceManager::close (int16_t reference)
{
    if (File* file = findFile (reference))
        closeFile (*file);
    else
        error_ = resFNotFound;
}

void ResourceManager::closeFile (File& file)
{
    error_ = noErr;
    if (--file.opens > 0)
        return;
    for (const auto& resource : file.loaded)
        heap_.dispose (resource.block);
    const auto at = std::find_if (files_.begin(), files_.end(), [&] (const auto& f) { return f.get() == &file; });
    if (file.reference == current_)
        current_ = at == files_.begin() ? 0 : (*(at - 1))->reference;
    files_.erase (at);
}

void ResourceManager::use (int16_t reference)
{
    if (reference == 0 || findFile (reference) != nullptr)
    {
        current_ = reference;
        error_ = noErr;
    }
    else
        error_ = resFNotFound;
}

std::vector<ResourceManager::File*> ResourceManager::searchChain()
{
    std::vector<File*> chain;
    auto at = std::find_if (files_.begin(), files_.end(), [&] (const auto& f) { return f->reference == current_; });
    if (at == files_.end())
        return chain;
    for (;; --at)
    {
        chain.push_back (at->get());
        if (at == files_.begin())
            break;
    }
    return chain;
}

Handle ResourceManager::loadEntry (File& file, size_t entry)
{
    for (const auto& resource : file.loaded)
        if (resource.entry == entry)
            return resource.block;
    const auto& view = file.entries[entry];
    Handle block = heap_.allocateCopy (view.data.data(), int32_t (view.data.size()));
    if (block == nullptr)
    {
        error_ = memFullErr;
        return nullptr;
    }
    file.loaded.push_back ({ entry, block });
    if (file.swap != nullptr)
        file.swap (file.reference, win::fourCCFromType (view.type), int16_t (view.id), *block, int32_t (view.data.size()));
    return block;
}

template <typename Matches>
Handle ResourceManager::findAndLoad (Matches matches, bool currentOnly)
{
    auto chain = searchChain();
    if (currentOnly && chain.size() > 1)
        chain.resize (1);
    for (File* file : chain)
        for (size_t i = 0; i < file->entries.size(); ++i)
            if (matches (file->entries[i]))
            {
                Handle block = loadEntry (*file, i);
                if (block != nullptr)
                    error_ = noErr;
                return block;
            }
    error_ = resNotFound;
    return nullptr;
}

Handle ResourceManager::get (ResType type, int16_t id)
{
    return findAndLoad ([&] (const win::ResourceView& entry) { return typeIs (entry, type) && entry.id == id; });
}

Handle ResourceManager::getFromCurrent (ResType type, int16_t id)
{
    return findAndLoad ([&] (const win::ResourceView& entry) { return typeIs (entry, type) && entry.id == id; }, true);
}

bool ResourceManager::isLoaded (ResType type, int16_t id)
{
    for (File* file : searchChain())
        for (size_t i = 0; i < file->entries.size(); ++i)
            if (typeIs (file->entries[i], type) && file->entries[i].id == id)
                return std::any_of (file->loaded.begin(), file->loaded.end(), [&] (const LoadedResource& r) { return r.entry == i; });
    return false;
}

Handle ResourceManager::getNamed (ResType type, const std::string& name)
{
    return findAndLoad ([&] (const win::ResourceView& entry) {
        return typeIs (entry, type) && entry.name.size() == name.size()
               && strncasecmp (entry.name.data(), name.data(), name.size()) == 0;
    });
}

int16_t ResourceManager::count (ResType type)
{
    int count = 0;
    for (File* file : searchChain())
        count += int (std::count_if (file->entries.begin(), file->entries.end(),
                                     [&] (const win::ResourceView& entry) { return typeIs (entry, type); }));
    error_ = noErr;
    return int16_t (std::min (count, 0x7FFF));
}

Handle ResourceManager::getIndexed (ResType type, int16_t index)
{
    int remaining = index;
    if (remaining < 1)
    {
        error_ = resNotFound;
        return nullptr;
    }
    return findAndLoad ([&] (const win::ResourceView& entry) { return typeIs (entry, type) && --remaining == 0; });
}

bool ResourceManager::isResource (Handle block) const
{
    for (const auto& file : files_)
        for (const auto& resource : file->loaded)
            if (resource.block == block)
                return true;
    return false;
}

void ResourceManager::load (Handle block)
{
    error_ = isResource (block) ? noErr : resNotFound;
}

void ResourceManager::release (Handle block)
{
    for (const auto& file : files_)
    {
        auto& loaded = file->loaded;
        const auto at = std::find_if (loaded.begin(), loaded.end(), [&] (const auto& r) { return r.block == block; });
        if (at == loaded.end())
            continue;
        heap_.dispose (block);
        loaded.erase (at);
        error_ = noErr;
        return;
    }
    error_ = resNotFound;
}

void ResourceManager::indexedString (StringPtr text, int16_t listId, int16_t index)
{
    if (text == nullptr)
        return;
    text[0] = 0;
    Handle list = get (kStringListType, listId);
    if (list == nullptr)
        return;
    const auto size = size_t (*heap_.size (list));
    const auto* bytes = reinterpret_cast<const uint8_t*> (*list);
    if (size < 2)
    {
        error_ = mapReadErr;
        return;
    }
    const int count = win::readBE16 (bytes);
    size_t at = 2;
    for (int i = 1; i <= count && at < size; ++i)
    {
        const size_t length = bytes[at];
        if (length + 1 > size - at)
            break;
        if (i == index)
        {
            std::memcpy (text, bytes + at, length + 1);
            return;
        }
        at += length + 1;
    }
    if (index < 1 || index > count)
        error_ = resNotFound;
    else
        error_ = mapReadErr;
}

std::vector<HostExtResourceFile> ResourceManager::files() const
{
    std::vector<HostExtResourceFile> all;
    for (const auto& file : files_)
        all.push_back ({ file->reference, file->path, file->opens, file->loaded.size() });
    return all;
}

void ResourceManager::clear()
{
    for (const auto& file : files_)
        for (const auto& resource : file->loaded)
            heap_.dispose (resource.block);
    files_.clear();
    current_ = 0;
    nextReference_ = 0;
    error_ = noErr;
}

ResourceManager::File* ResourceManager::findFile (int16_t reference)
{
    for (auto& file : files_)
        if (file->reference == reference)
            return file.get();
    return nullptr;
}

ResourceManager::File* ResourceManager::findFileByPath (const std::string& path)
{
    for (auto& file : files_)
        if (file->path == path)
            return file.get();
    return nullptr;
}

} // namespace kestrune::host::rtas
