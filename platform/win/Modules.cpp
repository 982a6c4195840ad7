// Module handles, file names, symbols and run-time loading over the dynamic loader.

#include "ModuleImage.h"
#include "Win32.h"

#include <dlfcn.h>
#include <link.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <strings.h>
#include <unistd.h>

namespace kestrune::win
{

namespace
{

    thread_local DWORD lastError = ERROR_SUCCESS;

    std::string& dllDirectory()
    {
        static std::string directory;
        return directory;
    }

    std::string programPath()
    {
        char buffer[PATH_MAX];
        const ssize_t length = readlink ("/proc/self/exe", buffer, sizeof buffer - 1);
        return length > 0 ? std::string (buffer, size_t (length)) : std::string();
    }

    std::string absolutePath (const char* path)
    {
        char buffer[PATH_MAX];
        return realpath (path, buffer) != nullptr ? std::string (buffer) : std::string (path);
    }

    int collectModule (dl_phdr_info* info, size_t, void* data)
    {
        auto& modules = *static_cast<std::vector<LoadedModule>*> (data);
        LoadedModule module;
        module.bias = info->dlpi_addr;
        module.programHeaders = info->dlpi_phdr;
        module.programHeaderCount = info->dlpi_phnum;
        bool haveLoad = false;
        uintptr_t lowest = 0;
        for (size_t i = 0; i < info->dlpi_phnum; ++i)
        {
            const auto& header = info->dlpi_phdr[i];
            if (header.p_type != PT_LOAD)
                continue;
            const uintptr_t start = uintptr_t (header.p_vaddr - header.p_offset);
            if (! haveLoad || start < lowest)
                lowest = start;
            haveLoad = true;
        }
        if (! haveLoad)
            return 0;
        module.base = info->dlpi_addr + lowest;
        const bool program = modules.empty();
        module.isProgram = program;
        const char* name = info->dlpi_name;
        module.path = program ? programPath() : (name != nullptr && name[0] != 0 ? absolutePath (name) : std::string());
        if (! module.path.empty())
            modules.push_back (std::move (module));
        return 0;
    }

    bool equalsIgnoringCase (std::string_view a, std::string_view b)
    {
        return a.size() == b.size() && strncasecmp (a.data(), b.data(), a.size()) == 0;
    }

    // The file name that a module name stands for: its last path part, ".dll" added when it has
    // no extension.
    std::string requestedFileName (std::string_view name)
    {
        const size_t slash = name.find_last_of ("/\\");
        std::string file (slash == std::string_view::npos ? name : name.substr (slash + 1));
        if (file.find ('.') == std::string::npos)
            file += ".dll";
        return file;
    }

    std::string_view fileNameOf (std::string_view path)
    {
        const size_t slash = path.find_last_of ('/');
        return slash == std::string_view::npos ? path : path.substr (slash + 1);
    }

    std::optional<LoadedModule> findModuleByName (std::string_view name)
    {
        const std::string wanted = requestedFileName (name);
        for (auto& module : loadedModules())
            if (! module.isProgram && equalsIgnoringCase (fileNameOf (module.path), wanted))
                return module;
        return std::nullopt;
    }

    // A file in the folder whose name matches ignoring case.
    std::optional<std::string> findInDirectory (const std::string& directory, const std::string& fileName)
    {
        std::error_code error;
        if (directory.empty() || ! std::filesystem::is_directory (directory, error))
            return std::nullopt;
        for (const auto& entry : std::filesystem::directory_iterator (directory, error))
            if (equalsIgnoringCase (entry.path().filename().string(), fileName))
                return entry.path().string();
        return std::nullopt;
    }

    std::string resolveLibrary (std::string_view name)
    {
        if (name.find ('/') != std::string_view::npos)
            return std::string (name);
        if (auto loaded = findModuleByName (name))
            return loaded->path;
        const std::string fileName = requestedFileName (name);
        if (auto found = findInDirectory (dllDirectory(), fileName))
            return *found;
        if (auto found = findInDirectory (std::filesystem::path (programPath()).parent_path().string(), fileName))
            return *found;
        return fileName;
    }

    std::optional<LoadedModule> moduleOfLoaderHandle (void* handle)
    {
        link_map* map = nullptr;
        if (dlinfo (handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr)
            return std::nullopt;
        for (auto& module : loadedModules())
            if (! module.isProgram && module.bias == map->l_addr)
                return module;
        return std::nullopt;
    }

    // The loader's handle of a module, with a reference the caller gives back with dlclose.
    void* loaderHandle (const LoadedModule& module)
    {
        return module.isProgram ? dlopen (nullptr, RTLD_LAZY) : dlopen (module.path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    }

} // namespace

std::vector<LoadedModule> loadedModules()
{
    std::vector<LoadedModule> modules;
    dl_iterate_phdr (collectModule, &modules);
    return modules;
}

std::optional<LoadedModule> findModuleByHandle (HMODULE handle)
{
    auto modules = loadedModules();
    if (handle == nullptr)
        return modules.empty() ? std::nullopt : std::optional (modules.front());
    for (auto& module : modules)
        if (module.base == reinterpret_cast<uintptr_t> (handle))
            return module;
    return std::nullopt;
}

HMODULE handleOf (const LoadedModule& module)
{
    return reinterpret_cast<HMODULE> (module.base);
}

} // namespace kestrune::win

using namespace kestrune::win;

DWORD GetLastError()
{
    return lastError;
}

void SetLastError (DWORD error)
{
    lastError = error;
}

HMODULE GetModuleHandleA (LPCSTR moduleName)
{
    auto module = moduleName == nullptr ? findModuleByHandle (nullptr) : findModuleByName (moduleName);
    if (! module)
    {
        SetLastError (ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return handleOf (*module);
}

BOOL GetModuleHandleExA (DWORD flags, LPCSTR moduleName, HMODULE* module)
{
    if (module == nullptr)
    {
        SetLastError (ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *module = nullptr;
    if ((flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) == 0)
    {
        *module = GetModuleHandleA (moduleName);
        return *module != nullptr ? TRUE : FALSE;
    }
    Dl_info info {};
    const auto found = dladdr (moduleName, &info) != 0 ? findModuleByHandle (static_cast<HMODULE> (info.dli_fbase))
                                                       : std::nullopt;
    if (! found)
    {
        SetLastError (ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    *module = handleOf (*found);
    return TRUE;
}

DWORD GetModuleFileNameA (HMODULE module, LPSTR fileName, DWORD size)
{
    const auto found = isDataFileHandle (module) ? std::nullopt : findModuleByHandle (module);
    if (! found)
    {
        SetLastError (ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (size == 0 || fileName == nullptr)
    {
        SetLastError (ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::string& path = found->path;
    if (path.size() < size)
    {
        std::memcpy (fileName, path.c_str(), path.size() + 1);
        return DWORD (path.size());
    }
    std::memcpy (fileName, path.data(), size - 1);
    fileName[size - 1] = 0;
    SetLastError (ERROR_INSUFFICIENT_BUFFER);
    return size;
}

FARPROC GetProcAddress (HMODULE module, LPCSTR procName)
{
    const auto found = isDataFileHandle (module) || module == nullptr ? std::nullopt : findModuleByHandle (module);
    if (! found || procName == nullptr)
    {
        SetLastError (found ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::string symbol;
    if (IS_INTRESOURCE (procName))
    {
        const auto ordinal = reinterpret_cast<uintptr_t> (procName);
        std::string_view stem = fileNameOf (found->path);
        stem = stem.substr (0, stem.find ('.'));
        symbol = std::string (stem) + "_Ordinal_" + std::to_string (ordinal);
    }
    else
        symbol = procName;

    void* loader = loaderHandle (*found);
    void* address = loader != nullptr ? dlsym (loader, symbol.c_str()) : nullptr;
    if (loader != nullptr)
        dlclose (loader);
    Dl_info info {};
    if (address == nullptr || dladdr (address, &info) == 0 || reinterpret_cast<uintptr_t> (info.dli_fbase) != found->base)
    {
        SetLastError (ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC> (address);
}

HMODULE LoadLibraryA (LPCSTR fileName)
{
    return LoadLibraryExA (fileName, nullptr, 0);
}

HMODULE LoadLibraryExA (LPCSTR fileName, HANDLE, DWORD flags)
{
    if (fileName == nullptr || fileName[0] == 0)
    {
        SetLastError (ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::string path = resolveLibrary (fileName);
    if ((flags & LOAD_LIBRARY_AS_DATAFILE) != 0)
        return openDataFile (path);

    void* loader = dlopen (path.c_str(), RTLD_LAZY | RTLD_GLOBAL);
    if (loader == nullptr)
    {
        SetLastError (ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // The loader keeps the reference until FreeLibrary.
    const auto module = moduleOfLoaderHandle (loader);
    if (! module)
    {
        dlclose (loader);
        SetLastError (ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return handleOf (*module);
}

BOOL FreeLibrary (HMODULE module)
{
    if (isDataFileHandle (module))
        return closeDataFile (module) ? TRUE : FALSE;
    const auto found = module == nullptr ? std::nullopt : findModuleByHandle (module);
    if (! found)
    {
        SetLastError (ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (found->isProgram)
        return TRUE;
    void* loader = loaderHandle (*found);
    if (loader == nullptr)
    {
        SetLastError (ERROR_INVALID_HANDLE);
        return FALSE;
    }
    dlclose (loader);
    return dlclose (loader) == 0 ? TRUE : FALSE;
}

BOOL SetDllDirectoryA (LPCSTR directory)
{
    dllDirectory() = directory != nullptr ? directory : "";
    return TRUE;
}
