// Files read as data: their resources without mapping or running them.

#include "ElfNotes.h"
#include "ModuleImage.h"

#include <fstream>
#include <iterator>
#include <memory>

namespace kestrune::win
{

namespace
{

    constexpr uint32_t kDataFileMagic = 0x4B444154; // 'KDAT'
    constexpr std::streamoff kLargestModuleFile = std::streamoff (1) << 29;

    struct DataFileImage
    {
        uint32_t magic = kDataFileMagic;
        std::vector<uint8_t> resources;
    };

    DataFileImage* imageOf (HMODULE handle)
    {
        auto* image = reinterpret_cast<DataFileImage*> (reinterpret_cast<uintptr_t> (handle) & ~uintptr_t (1));
        return image != nullptr && image->magic == kDataFileMagic ? image : nullptr;
    }

} // namespace

bool isDataFileHandle (HMODULE handle)
{
    return (reinterpret_cast<uintptr_t> (handle) & 1) != 0;
}

std::optional<std::vector<uint8_t>> readFileResources (const std::string& path)
{
    std::ifstream in (path, std::ios::binary | std::ios::ate);
    if (! in)
    {
        SetLastError (ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kLargestModuleFile)
    {
        SetLastError (ERROR_BAD_FORMAT);
        return std::nullopt;
    }
    in.seekg (0);
    std::vector<uint8_t> image (static_cast<size_t> (size));
    if (! in.read (reinterpret_cast<char*> (image.data()), size))
    {
        SetLastError (ERROR_BAD_FORMAT);
        return std::nullopt;
    }
    if (image.size() < 4 || image[0] != 0x7F || image[1] != 'E' || image[2] != 'L' || image[3] != 'F')
    {
        SetLastError (ERROR_BAD_FORMAT);
        return std::nullopt;
    }
    const auto note = findResourceNoteInFile (image);
    return note ? std::vector<uint8_t> (note->begin(), note->end()) : std::vector<uint8_t>();
}

HMODULE openDataFile (const std::string& path)
{
    auto resources = readFileResources (path);
    if (! resources)
        return nullptr;
    auto image = std::make_unique<DataFileImage>();
    image->resources = std::move (*resources);
    return reinterpret_cast<HMODULE> (reinterpret_cast<uintptr_t> (image.release()) | 1);
}

bool closeDataFile (HMODULE handle)
{
    std::unique_ptr<DataFileImage> image (imageOf (handle));
    if (! image)
    {
        SetLastError (ERROR_INVALID_HANDLE);
        return false;
    }
    image->magic = 0;
    return true;
}

std::span<const uint8_t> moduleResourceBytes (HMODULE handle, bool& validHandle)
{
    validHandle = false;
    if (isDataFileHandle (handle))
    {
        const DataFileImage* image = imageOf (handle);
        validHandle = image != nullptr;
        return image != nullptr ? std::span<const uint8_t> (image->resources) : std::span<const uint8_t>();
    }
    const auto module = findModuleByHandle (handle);
    if (! module)
        return {};
    validHandle = true;
    for (size_t i = 0; i < module->programHeaderCount; ++i)
    {
        const auto& header = module->programHeaders[i];
        if (header.p_type != PT_NOTE)
            continue;
        const std::span<const uint8_t> notes (reinterpret_cast<const uint8_t*> (module->bias + header.p_vaddr),
                                              size_t (header.p_memsz));
        if (auto note = findResourceNote (notes, size_t (header.p_align)))
            return *note;
    }
    return {};
}

} // namespace kestrune::win
