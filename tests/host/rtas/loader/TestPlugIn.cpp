// A plug-in module with a minimal group, in one of five builds (KESTRUNE_TEST_GROUP): a group
// that initialises, no group at all, a group whose initialisation throws a library error, one
// whose initialisation runs out of memory, and one whose first initialisation fails. Its DllMain passes the call on to the entry glue
// only while "DAE.DLL" is loaded, as the plug-in's own entry point does.

#include "TestPlugInProbe.h"

#include <entry/PlugInEntry.h>
#include <entry/PlugInGroup.h>
#include <entry/PlugInModuleMain.h>
#include <process/base/CDAEError.h>
#include <process/group/CProcessGroupInterface.h>
#include <process/utilities/PStrings.h>
#include <process/utilities/PlugInFileRecord.h>
#include <process/utilities/ScopedPlugInResFile.h>
#include <process/utilities/ViewlessMode.h>

#include <new>

#define KESTRUNE_TEST_GROUP_INITIALISES 0
#define KESTRUNE_TEST_GROUP_NONE 1
#define KESTRUNE_TEST_GROUP_LIBRARY_ERROR 2
#define KESTRUNE_TEST_GROUP_OUT_OF_MEMORY 3
#define KESTRUNE_TEST_GROUP_FAILS_FIRST 4

namespace
{

inline constexpr int16_t kInitialisationError = -7053;
inline constexpr int16_t kNoSuchTypeIndex = -7300;

int32_t PadAndAppend (int32_t number, int16_t width, uint8_t* text)
{
    try
    {
        PStrPadAndAppend (number, text, width);
        return 0;
    }
    catch (const CDAEError& error)
    {
        return error.Code();
    }
}

const char* PlugInFilePath()
{
    try
    {
        return GetPlugInFileSpec().path;
    }
    catch (const CDAEError&)
    {
        return nullptr;
    }
}

TestPlugInProbe probe { 0, 0, 0, 0, 0, 0, &IsViewlessMode, &OpenedByWinPlugInOpen, &PadAndAppend, &PlugInFilePath, &HeldPlugInResFile };
bool passedOn = false;

class TestGroup final : public CProcessGroupInterface
{
public:
    TestGroup()
    {
        SetGroupGlobal (0);
        ++probe.groupsCreated;
    }
    ~TestGroup() override { ++probe.groupsDeleted; }

    int32_t Initialize() override
    {
        ++probe.groupsInitialised;
#if KESTRUNE_TEST_GROUP == KESTRUNE_TEST_GROUP_LIBRARY_ERROR
        throw CDAEError (kInitialisationError);
#elif KESTRUNE_TEST_GROUP == KESTRUNE_TEST_GROUP_OUT_OF_MEMORY
        throw std::bad_alloc();
#elif KESTRUNE_TEST_GROUP == KESTRUNE_TEST_GROUP_FAILS_FIRST
        if (probe.groupsInitialised == 1)
            throw CDAEError (kInitialisationError);
        return 0;
#else
        return 0;
#endif
    }

    int32_t GetTypeIDsByIndex (int32_t index, uint32_t* productID, uint32_t* typeID, uint32_t* typeIDs) override
    {
        if (index != 0)
            throw CDAEError (kNoSuchTypeIndex);
        *productID = kTestProductID;
        *typeID = kTestTypeID;
        *typeIDs = 0;
        return 0;
    }
};

} // namespace

CProcessGroupInterface* CreatePlugInGroup()
{
#if KESTRUNE_TEST_GROUP == KESTRUNE_TEST_GROUP_NONE
    return nullptr;
#else
    return new TestGroup();
#endif
}

extern "C" BOOL __attribute__ ((stdcall)) DllMain (HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == kDllProcessAttach)
    {
        ++probe.attachCalls;
        passedOn = GetModuleHandleA ("DAE.DLL") != nullptr;
        if (! passedOn)
            return TRUE;
    }
    else
    {
        ++probe.detachCalls;
        if (! passedOn)
            return TRUE;
    }
    ++probe.entryCalls;
    return PlugInDllEntry (module, reason);
}

extern "C" __attribute__ ((visibility ("default"))) TestPlugInProbe* KestruneTestPlugInProbe()
{
    return &probe;
}
