#include "entry/PlugInEntry.h"

#include <algorithm>

#include <abi/DAE.h>

#include "entry/PlugInGroup.h"
#include "process/base/FourCharCode.h"
#include "process/utilities/ToolboxRoutines.h"
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
    int32_t openCount = 0;
    bool openedSuccessfully = false;
    bool openedByWinPlugInOpen = false;
    bool attachFailed = false;
    // The resource file that the first open opened, closed again with the same path.
    std::optional<std::string> resourceFile;
};

EntryState gEntry;

void ReverseBytes (uint8_t* field, size_t size)
{
    std::reverse (field, field + size);
}

void OpenResourceFile()
{
    char modulePath[kModulePathSize] = {};
    const DWORD length = GetModuleFileNameA (gEntry.module, modulePath, kModulePathSize);
    gEntry.resourceFile = ResourcePathOf (modulePath, length);
    const auto toolbox = LoadedToolboxRoutines();
    if (! gEntry.resourceFile || ! toolbox || toolbox->OpenResFileWithSwap == nullptr)
    {
        gEntry.resourceFile.reset();
        return;
    }
    toolbox->OpenResFileWithSwap (gEntry.resourceFile->c_str(), &SwapPlugInResource);
}

void CloseResourceFile()
{
    if (! gEntry.resourceFile)
        return;
    const std::string path = std::move (*gEntry.resourceFile);
    gEntry.resourceFile.reset();
    if (const auto toolbox = LoadedToolboxRoutines(); toolbox && toolbox->CloseResFileByPath != nullptr)
        toolbox->CloseResFileByPath (path.c_str());
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

int16_t PlugInOpen()
{
    if (gEntry.attachFailed)
        return PlugInResult::kNoGroup;
    if (++gEntry.openCount != 1)
        return 0;
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
    {
        DestroyPlugInGroup();
        CloseResourceFile();
        // The failed first open is not an open: the next open starts again from the top.
        gEntry.openCount = 0;
    }
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
        DestroyPlugInGroup();
        CloseResourceFile();
    }
    return 0;
}

int32_t WinPlugInOpen (int32_t key)
{
    gEntry.openedByWinPlugInOpen = false;
    ClearOpenedWithoutViews();
    if (key != kWinPlugInOpenKey || gEntry.attachFailed)
        return kWinPlugInOpenRefused;
    gEntry.openedByWinPlugInOpen = true;
    MarkOpenedWithoutViews();
    return PlugInOpen();
}

int32_t WinPlugInClose()
{
    return PlugInClose();
}

bool OpenedByWinPlugInOpen()
{
    return gEntry.openedByWinPlugInOpen;
}

int32_t SwapPlugInResource (int16_t, ResType type, int16_t, void* data)
{
    if (data == nullptr)
        return 0;
    auto* bytes = static_cast<uint8_t*> (data);
    if (type == kCodeFragmentType)
    {
        ReverseBytes (bytes + kCodeFragmentSwappedOffset, 4);
        return 1;
    }
    if (type == kComponentType)
    {
        for (int word = 0; word < kComponentWordCount; ++word)
            ReverseBytes (bytes + word * 4, 4);
        for (const int record : kComponentRecordOffsets)
        {
            ReverseBytes (bytes + record, 4);
            ReverseBytes (bytes + record + 4, 2);
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
