#include "entry/PlugInEntry.h"

#include <algorithm>

#include <abi/DAE.h>

#include "entry/ObjectTracker.h"
#include "entry/PlugInGroup.h"
#include "process/base/FourCharCode.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/ScopedPlugInResFile.h"
#include "process/utilities/ViewlessMode.h"

namespace
{
inline constexpr ResType kCodeFragmentType = FourCharCode ("cfrg");
inline constexpr ResType kComponentType = FourCharCode ("thng");
inline constexpr int kCodeFragmentSwappedOffset = 32;
inline constexpr int kComponentWordCount = 5;
inline constexpr int kComponentRecordOffsets[] = { 20, 26, 32, 38 };

struct EntryState
{
    HINSTANCE module = nullptr;
    SetPlugInOpenAndCloseProcsProc registrar = nullptr;
    // Every open call, failed ones included, until the close that matches it.
    int32_t openCount = 0;
    // The group exists: set by the open that created it, cleared by the close that destroyed it.
    bool openedSuccessfully = false;
    bool attachFailed = false;
    // The resource file that the first open opened, closed again with the same path.
    std::optional<std::string> resourceFile;
};

EntryState gEntry;

// Reverses the field at the offset when it lies wholly inside the resource's bytes.
void ReverseField (uint8_t* bytes, int32_t size, int32_t offset, int32_t width)
{
    if (offset >= 0 && width <= size && offset <= size - width)
        std::reverse (bytes + offset, bytes + offset + width);
}

// Opens the resource file through the installed toolbox; without a toolbox the plug-in runs
// without its resource file. The file it opened is the one held for the library's uses of it.
void OpenResourceFile()
{
    char modulePath[kModulePathSize] = {};
    const DWORD length = GetModuleFileNameA (gEntry.module, modulePath, kModulePathSize);
    gEntry.resourceFile = ResourcePathOf (modulePath, length);
    const HostToolboxRoutines* toolbox = InstalledHostToolbox();
    if (! gEntry.resourceFile || toolbox == nullptr)
    {
        gEntry.resourceFile.reset();
        return;
    }
    SetModulePlugInResFile (toolbox->OpenResFileWithSwap (gEntry.resourceFile->c_str(), &SwapPlugInResource));
}

void CloseResourceFile()
{
    SetModulePlugInResFile (0);
    if (! gEntry.resourceFile)
        return;
    const std::string path = std::move (*gEntry.resourceFile);
    gEntry.resourceFile.reset();
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->CloseResFileByPath (path.c_str());
}

// Undoes an open: the group, the resource file, then the toolbox binding that both used. The
// host's object tracker belongs to the session that ends here: the next one asks for it anew.
void TearDownOpen()
{
    DestroyPlugInGroup();
    ForgetObjectTracker();
    CloseResourceFile();
    ReleaseHostToolbox();
}

int16_t OpenProcedure()
{
    return PlugInOpen();
}

int16_t CloseProcedure()
{
    return PlugInClose();
}
}

std::optional<std::string> ResourcePathOf (const char* modulePath, size_t pathLength)
{
    // GetModuleFileNameA answers the full buffer size when it had to cut the path.
    if (modulePath == nullptr || pathLength == 0 || pathLength >= kModulePathSize)
        return std::nullopt;
    return std::string (modulePath, pathLength) + kResourceFileSuffix;
}

BOOL PlugInDllEntry (HINSTANCE module, DWORD reason)
{
    try
    {
        if (reason == kDllProcessAttach)
        {
            gEntry.module = module;
            const HMODULE engine = GetModuleHandleA ("DAE.DLL");
            gEntry.registrar = engine == nullptr ? nullptr
                                                 : reinterpret_cast<SetPlugInOpenAndCloseProcsProc> (GetProcAddress (engine, kSetPlugInOpenAndCloseProcsName));
            if (gEntry.registrar != nullptr)
            {
                gEntry.registrar (&OpenProcedure, &CloseProcedure);
                return TRUE;
            }
            return PlugInOpen() == 0 ? TRUE : FALSE;
        }
        if (reason == kDllProcessDetach && gEntry.registrar == nullptr)
            PlugInClose();
        return TRUE;
    }
    catch (...)
    {
        return FALSE;
    }
}

// Every open is counted until its close, a failed one too (the host closes what it opened). An
// open made while the group exists only counts; any other open tries to create it, so that a
// good open after a failed one has its group, and only the close that matches the last open
// destroys it.
int16_t PlugInOpen()
{
    if (gEntry.attachFailed)
        return PlugInResult::kNoGroup;
    ++gEntry.openCount;
    if (gEntry.openedSuccessfully)
        return 0;
    // The binding is there before anything of the library uses the toolbox.
    InstallHostToolbox();
    try
    {
        OpenResourceFile();
    }
    catch (...)
    {
        // Without room for its path the plug-in runs without its resource file.
        gEntry.resourceFile.reset();
    }
    const int16_t result = NewPlugIn (0);
    gEntry.openedSuccessfully = result == 0;
    if (result != 0)
        TearDownOpen();
    return result;
}

int16_t PlugInClose()
{
    if (gEntry.openCount <= 0)
    {
        gEntry.openCount = 0;
        return 0;
    }
    if (--gEntry.openCount != 0)
        return 0;
    if (gEntry.openedSuccessfully)
    {
        gEntry.openedSuccessfully = false;
        TearDownOpen();
    }
    return 0;
}

int32_t WinPlugInOpen (int32_t key)
{
    SetOpenedByWinPlugInOpen (false);
    if (key != kWinPlugInOpenKey || gEntry.attachFailed)
        return kWinPlugInOpenRefused;
    SetOpenedByWinPlugInOpen (true);
    return PlugInOpen();
}

int32_t WinPlugInClose()
{
    return PlugInClose();
}

int32_t SwapPlugInResource (int16_t, ResType type, int16_t, void* data, int32_t size)
{
    if (data == nullptr)
        return 0;
    auto* bytes = static_cast<uint8_t*> (data);
    if (type == kCodeFragmentType)
    {
        ReverseField (bytes, size, kCodeFragmentSwappedOffset, 4);
        return 1;
    }
    if (type == kComponentType)
    {
        for (int word = 0; word < kComponentWordCount; ++word)
            ReverseField (bytes, size, word * 4, 4);
        for (const int record : kComponentRecordOffsets)
        {
            ReverseField (bytes, size, record, 4);
            ReverseField (bytes, size, record + 4, 2);
        }
        return 1;
    }
    return 0;
}

void RecordModuleAttach (bool attached)
{
    gEntry.attachFailed = ! attached;
}

bool ModuleAttachFailed()
{
    return gEntry.attachFailed;
}
