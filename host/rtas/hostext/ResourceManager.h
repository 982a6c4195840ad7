#pragma once
// The toolbox's resource files: open files in a chain, the current file, resources loaded into
// handles (each passed to its file's swap routine once), and the last resource error.

#include "HandleHeap.h"

#include <abi/HostExt.h>
#include <win/ResourceContainer.h>

#include "../HostExtControl.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrune::host::rtas
{

class ResourceManager
{
public:
    explicit ResourceManager (HandleHeap& heap) : heap_ (heap) {}

    int16_t openByPath (const std::string& path, ResourceSwapProc swap);
    int16_t openBySpec (const std::string& path);
    void closeByPath (const std::string& path);
    void close (int16_t reference);

    int16_t current() const { return current_; }
    void use (int16_t reference);

    Handle get (ResType type, int16_t id);
    // Only in the current file.
    Handle getFromCurrent (ResType type, int16_t id);
    // Whether the resource that get() would find is loaded already.
    bool isLoaded (ResType type, int16_t id);
    Handle getNamed (ResType type, const std::string& name);
    int16_t count (ResType type);
    Handle getIndexed (ResType type, int16_t index);
    bool isResource (Handle block) const;
    void load (Handle block);
    void release (Handle block);
    void indexedString (StringPtr text, int16_t listId, int16_t index);

    OSErr error() const { return error_; }
    void setError (OSErr error) { error_ = error; }

    std::vector<HostExtResourceFile> files() const;
    void clear();

private:
    struct LoadedResource
    {
        size_t entry = 0;
        Handle block = nullptr;
    };

    struct File
    {
        int16_t reference = 0;
        std::string path;
        ResourceSwapProc swap = nullptr;
        int opens = 0;
        std::vector<uint8_t> bytes;
        std::vector<win::ResourceView> entries;
        std::vector<LoadedResource> loaded;
    };

    File* findFile (int16_t reference);
    File* findFileByPath (const std::string& path);
    int16_t reopen (File& file);
    int16_t openFile (const std::string& path, ResourceSwapProc swap);
    void closeFile (File& file);
    // The files to search, the current one first.
    std::vector<File*> searchChain();
    Handle loadEntry (File& file, size_t entry);
    template <typename Matches>
    Handle findAndLoad (Matches matches, bool currentOnly = false);

    HandleHeap& heap_;
    std::vector<std::unique_ptr<File>> files_; // in the order opened
    int16_t current_ = 0;
    int16_t nextReference_ = 0;
    OSErr error_ = noErr;
};

} // namespace kestrune::host::rtas
