#pragma once
// The Windows functions that the plug-in libraries call, on top of the dynamic loader.
//
// Modules. A module handle (HMODULE) is the address of the module's ELF header in memory, so it
// means the same in every module that links this layer and needs no registry. Module names
// compare case-insensitively on their file name ("DAE.DLL" finds a loaded DAE.dll); a name
// without an extension gets ".dll". GetModuleHandleA(nullptr) is the program itself.
//
// Symbols. GetProcAddress finds only symbols that the module itself defines (not those of the
// libraries it depends on). An ordinal N (MAKEINTRESOURCEA(N)) of a module whose file is
// "<Stem>.<ext>" is the module's symbol "<Stem>_Ordinal_<N>".
//
// Loading. LoadLibraryA / LoadLibraryExA load with global visibility (the loaded module's
// exports then satisfy the imports of modules loaded after it, as on Windows). A bare name is
// looked for among the loaded modules, then in the directory set with SetDllDirectoryA, then
// beside the program (file names matched case-insensitively), then on the loader's own path.
// LOAD_LIBRARY_AS_DATAFILE reads the file's resources without mapping or running it; such a
// handle serves only the resource functions and FreeLibrary.
//
// Resources. A module carries its resources compiled in (cmake/ModuleResources.cmake): one
// resource container (win/ResourceContainer.h) in an ELF note owned by "KESTrune". Integer
// types and names are stored as "#<number>" (RT_VERSION is "#16"); text compares ignoring case.
//
// Code pages: CP_UTF8 only (and CP_ACP, which is UTF-8 here). WCHAR is 16-bit UTF-16.
//
// Each module that links this layer has its own hidden copy of it: the last error, the folder
// set with SetDllDirectoryA and the names of mutexes belong to that module.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct HINSTANCE__;
struct HRSRC__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HRSRC = HRSRC__*;
using HGLOBAL = void*;
using HANDLE = void*;
using BOOL = int32_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using WORD = uint16_t;
using LPVOID = void*;
using LPCVOID = const void*;
using LPSTR = char*;
using LPCSTR = const char*;
using WCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPBOOL = BOOL*;
using FARPROC = void (*)();

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

inline LPCSTR MAKEINTRESOURCEA (unsigned value)
{
    return reinterpret_cast<LPCSTR> (static_cast<uintptr_t> (static_cast<WORD> (value)));
}
inline bool IS_INTRESOURCE (LPCSTR name)
{
    return (reinterpret_cast<uintptr_t> (name) >> 16) == 0;
}
inline const LPCSTR RT_RCDATA = MAKEINTRESOURCEA (10);
inline const LPCSTR RT_VERSION = MAKEINTRESOURCEA (16);

inline constexpr DWORD LOAD_LIBRARY_AS_DATAFILE = 0x00000002;
inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT = 0x00000002;
inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS = 0x00000004;

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_UTF8 = 65001;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;
inline constexpr DWORD WC_ERR_INVALID_CHARS = 0x00000080;

inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_BAD_FORMAT = 11;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_NOT_OWNER = 288;
inline constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
inline constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
inline constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
inline constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

#pragma pack(push, 4)
// The fixed part of a version block (52 bytes).
struct VS_FIXEDFILEINFO
{
    DWORD dwSignature; // 0xFEEF04BD
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};
#pragma pack(pop)
static_assert (sizeof (VS_FIXEDFILEINFO) == 52);
inline constexpr DWORD kFixedFileInfoSignature = 0xFEEF04BD;

DWORD GetLastError();
void SetLastError (DWORD error);

// Modules and symbols.
HMODULE GetModuleHandleA (LPCSTR moduleName);
// With GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS the name is an address inside the module (how a
// module finds its own handle); the reference count is never changed here.
BOOL GetModuleHandleExA (DWORD flags, LPCSTR moduleName, HMODULE* module);
DWORD GetModuleFileNameA (HMODULE module, LPSTR fileName, DWORD size);
FARPROC GetProcAddress (HMODULE module, LPCSTR procName);
HMODULE LoadLibraryA (LPCSTR fileName);
HMODULE LoadLibraryExA (LPCSTR fileName, HANDLE reserved, DWORD flags);
BOOL FreeLibrary (HMODULE module);
BOOL SetDllDirectoryA (LPCSTR directory);

// Module resources. A resource stays valid while its module is loaded; LockResource gives its
// bytes, which are read-only.
HRSRC FindResourceA (HMODULE module, LPCSTR name, LPCSTR type);
DWORD SizeofResource (HMODULE module, HRSRC resource);
HGLOBAL LoadResource (HMODULE module, HRSRC resource);
LPVOID LockResource (HGLOBAL resourceData);

// Version information (the module's RT_VERSION resource 1).
DWORD GetFileVersionInfoSizeA (LPCSTR fileName, DWORD* handle);
BOOL GetFileVersionInfoA (LPCSTR fileName, DWORD handle, DWORD size, LPVOID data);
BOOL VerQueryValueA (LPCVOID block, LPCSTR subBlock, LPVOID* buffer, UINT* length);

// Code pages. A source length of -1 means zero-terminated (the terminator is converted too);
// a target size of 0 asks for the size needed.
int MultiByteToWideChar (UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR target,
                         int targetSize);
int WideCharToMultiByte (UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR target,
                         int targetSize, LPCSTR defaultChar, LPBOOL usedDefaultChar);

// The run-time library's path splitter. Each part is written cut to its buffer size below
// (terminator included); a null part is skipped. Paths have no drive here: it is always empty.
inline constexpr size_t _MAX_DRIVE = 3;
inline constexpr size_t _MAX_DIR = 256;
inline constexpr size_t _MAX_FNAME = 256;
inline constexpr size_t _MAX_EXT = 256;
void _splitpath (const char* path, char* drive, char* directory, char* fileName, char* extension);

// Mutexes: recursive for the owning thread; a name makes one mutex per name in the module.
HANDLE CreateMutexA (LPVOID attributes, BOOL initialOwner, LPCSTR name);
DWORD WaitForSingleObject (HANDLE handle, DWORD milliseconds);
BOOL ReleaseMutex (HANDLE mutex);
BOOL CloseHandle (HANDLE handle);

// Debug output: the text is for a debugger, and nothing shows it here. The layer keeps the
// latest texts of its module (at most kDebugOutputKept, oldest dropped first) for whoever asks.
void OutputDebugStringA (LPCSTR text);

namespace kestrune::win
{
inline constexpr size_t kDebugOutputKept = 64;
// The texts given to OutputDebugStringA since the last call, oldest first.
std::vector<std::string> takeDebugOutput();
} // namespace kestrune::win
