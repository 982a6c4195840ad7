#pragma once
// What the Windows layer knows about a module: a loaded module as the dynamic loader reports
// it, or a file read as data (LOAD_LIBRARY_AS_DATAFILE), and the resource bytes each carries.

#include "Win32.h"

#include <link.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kestrune::win
{

struct LoadedModule
{
    uintptr_t base = 0; // address of the ELF header: the module handle
    uintptr_t bias = 0; // the loader's load bias
    const ElfW (Phdr) * programHeaders = nullptr;
    size_t programHeaderCount = 0;
    std::string path; // full path of the module's file
    bool isProgram = false;
};

std::vector<LoadedModule> loadedModules();
std::optional<LoadedModule> findModuleByHandle (HMODULE handle); // null handle: the program
HMODULE handleOf (const LoadedModule& module);

// Data-file handles carry bit 0 set, as on Windows; the image behind one owns the resource
// bytes read from the file.
bool isDataFileHandle (HMODULE handle);
HMODULE openDataFile (const std::string& path);
bool closeDataFile (HMODULE handle);

// The resource container bytes of a module or data file; empty when it carries none. They stay
// valid while the module is loaded or the data file open.
std::span<const uint8_t> moduleResourceBytes (HMODULE handle, bool& validHandle);

// Reads a file's resource container without loading it (empty when the file carries none);
// null when the file cannot be read or is not a module.
std::optional<std::vector<uint8_t>> readFileResources (const std::string& path);

} // namespace kestrune::win
