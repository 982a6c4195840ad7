// The utilities that ask the host, against the stand-in engine (DAE.dll, linked as the plug-in
// imports it) and the stand-in toolbox (HostExt.dll, loaded at run time as the host loads it and
// bound by ordinal through the library's toolbox binding).

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/HostUtilities.h"
#include "process/utilities/PStrings.h"
#include "process/utilities/PlugInFileRecord.h"

#include <DaeControl.h>
#include <HostExtControl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{

using namespace kestrune::host::rtas;

// The toolbox module stays loaded for the whole run, as the host keeps it.
HMODULE LoadedToolbox()
{
    static HMODULE module = LoadLibraryA (KESTRUNE_HOSTEXT_PATH);
    return module;
}

class HostUtilities : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (LoadedToolbox(), nullptr);
        auto entry = reinterpret_cast<HostExtControl* (*) ()> (GetProcAddress (LoadedToolbox(), kHostExtControlEntry));
        ASSERT_NE (entry, nullptr);
        toolbox = entry();
        toolbox->reset();
        dae.reset();
        ASSERT_TRUE (InstallHostToolbox());
    }

    void TearDown() override
    {
        ReleaseHostToolbox();
        if (toolbox != nullptr)
            toolbox->reset();
        dae.reset();
    }

    // A toolbox memory block holding the given bytes.
    Handle Block (const std::string& bytes)
    {
        auto newHandle = reinterpret_cast<Handle (*) (int32_t)> (GetProcAddress (LoadedToolbox(), MAKEINTRESOURCEA (1)));
        Handle block = newHandle (int32_t (bytes.size()));
        std::memcpy (*block, bytes.data(), bytes.size());
        return block;
    }

    HostExtControl* toolbox = nullptr;
    DaeControl& dae = *KestruneDaeStandIn();
};

TEST_F (HostUtilities, TheBindingHoldsEveryRoutineOfTheOrdinalTableAndIsInstalledOnce)
{
    const HostToolboxRoutines* installed = InstalledHostToolbox();
    ASSERT_NE (installed, nullptr);
    EXPECT_EQ (&HostToolbox(), installed);
#define KESTRUNE_EXPECT_BOUND(ordinal, role, result, params)                                                              \
    EXPECT_EQ (reinterpret_cast<FARPROC> (installed->role), GetProcAddress (LoadedToolbox(), MAKEINTRESOURCEA (ordinal))) \
        << #role;                                                                                                         \
    EXPECT_NE (installed->role, nullptr) << #role;
    KESTRUNE_HOSTEXT_ROUTINES (KESTRUNE_EXPECT_BOUND)
#undef KESTRUNE_EXPECT_BOUND

    EXPECT_TRUE (InstallHostToolbox());
    EXPECT_EQ (InstalledHostToolbox(), installed) << "a second install keeps the binding";

    ReleaseHostToolbox();
    EXPECT_EQ (InstalledHostToolbox(), nullptr);
    try
    {
        HostToolbox();
        ADD_FAILURE() << "no toolbox after the release";
    }
    catch (const CDAEError& error)
    {
        EXPECT_EQ (error.Code(), -7401);
    }
    uint8_t text[256] = {};
    EXPECT_THROW (PStrPadAndAppend (7, text, 3), CDAEError);
    EXPECT_EQ (text[0], 0) << "nothing appended without the toolbox";
    EXPECT_TRUE (InstallHostToolbox());
    PStrPadAndAppend (7, text, 3);
    EXPECT_EQ (std::string (reinterpret_cast<const char*> (text + 1), text[0]), "007");
}

// The kept record lives as long as the process, so the whole story is one test.
TEST_F (HostUtilities, PISICacheAsksTheEngineOnlyUntilOneQuerySucceeds)
{
    dae.script().injectFailure ("FicGestalt", -5551, 2);
    EXPECT_EQ (GetPISIGestalt(), nullptr);
    EXPECT_EQ (GetPISIGestalt(), nullptr);
    EXPECT_EQ (dae.script().countOf ("FicGestalt"), 2u) << "a failed query is asked again";

    const SPISIService* service = GetPISIGestalt();
    ASSERT_NE (service, nullptr);
    EXPECT_EQ (service, dae.pisiService());
    ASSERT_EQ (dae.script().countOf ("FicGestalt"), 3u);
    EXPECT_EQ (dae.script().callsOf ("FicGestalt")[2].arguments.at (0), int64_t (0x70697369));

    dae.script().injectFailure ("FicGestalt", -5551, -1);
    EXPECT_EQ (GetPISIGestalt(), service);
    EXPECT_EQ (GetPISIGestalt(), service);
    EXPECT_EQ (dae.script().countOf ("FicGestalt"), 3u) << "the kept record is not asked for again";
}

TEST_F (HostUtilities, WaitMicrosecondsReadsTheClockUntilItHasAdvancedEnough)
{
    struct Case
    {
        uint64_t start;
        uint64_t step;
        uint32_t wait;
        size_t reads; // the first reading and every reading until the clock has moved far enough
    };
    const Case cases[] = {
        { 1000, 10, 100, 11 },
        { 1000, 10, 95, 11 },
        { 1000, 10, 5, 2 },
        { 1000, 10, 0, 2 },
        { 1000, 1u << 20, 0xFFFFFFFFu, 4097 },
        { UINT64_MAX - 50, 10, 100, 11 }, // the clock wraps around during the wait
    };
    for (const Case& c : cases)
    {
        toolbox->script().clearCalls();
        toolbox->setClock (c.start, c.step);
        WaitMicroseconds (c.wait);
        EXPECT_EQ (toolbox->script().countOf ("Microseconds"), c.reads) << "start " << c.start << " wait " << c.wait;
    }
}

TEST_F (HostUtilities, ControlFlagBitIsBitTwoOfTheEighthByteOfTheControlRecord)
{
    struct Case
    {
        std::string record;
        bool flag;
    };
    const Case cases[] = {
        { std::string ("\0\0\0\0\0\0\0\x04\0\0\0\0\0\0\0\0", 16), true },
        { std::string ("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFB\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 16), false },
        { std::string ("\0\0\0\0\0\0\x04\0\x04\0\0\0\0\0\0\0", 16), false },
        { std::string ("\0\0\0\0\0\0\0\x07\0\0\0\0\0\0\0\0\x55\x55", 18), true },
        { std::string ("\0\0\0\0\0\0\0\x04\0\0\0\0\0\0\0", 15), false }, // no full record: nothing read past it
    };
    for (const Case& c : cases)
        EXPECT_EQ (GetControlFlagBit (Block (c.record)), c.flag) << c.record.size() << " bytes";
    EXPECT_FALSE (GetControlFlagBit (nullptr));
}

TEST_F (HostUtilities, PlugInFileSpecIsMadeOnceFromTheModuleFileName)
{
    char path[300] = {};
    ASSERT_GT (GetModuleFileNameA (nullptr, path, sizeof path), 0u) << "the library is linked into this program";

    toolbox->script().injectFailure ("FSMakeFSSpecFromPath", -43);
    try
    {
        GetPlugInFileSpec();
        ADD_FAILURE() << "a toolbox that cannot make the file spec is an error";
    }
    catch (const CDAEError& error)
    {
        EXPECT_EQ (error.Code(), -43);
    }

    const FSSpec& spec = GetPlugInFileSpec();
    EXPECT_STREQ (spec.path, path);
    ASSERT_EQ (toolbox->script().countOf ("CStrToPStrInPlace"), 2u) << "tried again after the failure";
    EXPECT_EQ (toolbox->script().callsOf ("FSMakeFSSpecFromPath").back().text, path);

    EXPECT_STREQ (GetPlugInFileSpec().path, path);
    EXPECT_EQ (toolbox->script().countOf ("FSMakeFSSpecFromPath"), 2u) << "kept, not made again";

    FSSpec other {};
    std::strcpy (other.path, "/elsewhere/Other.dpm");
    SetPlugInFileSpec (other);
    EXPECT_STREQ (GetPlugInFileSpec().path, "/elsewhere/Other.dpm");
    EXPECT_EQ (toolbox->script().countOf ("FSMakeFSSpecFromPath"), 2u);
}

TEST_F (HostUtilities, ThrowHelpersAndTextsGoThroughTheBoundToolbox)
{
    auto getResource = reinterpret_cast<Handle (*) (ResType, int16_t)> (GetProcAddress (LoadedToolbox(), MAKEINTRESOURCEA (26)));
    EXPECT_EQ (getResource (kestrune::rtas::abi::fourCC ("NONE"), 1), nullptr);
    try
    {
        ThrowIfResError();
        ADD_FAILURE() << "the missing resource is reported";
    }
    catch (const CDAEError& error)
    {
        EXPECT_EQ (error.Code(), -192);
    }

    auto newHandle = reinterpret_cast<Handle (*) (int32_t)> (GetProcAddress (LoadedToolbox(), MAKEINTRESOURCEA (1)));
    toolbox->script().injectFailure ("NewHandle", -108);
    EXPECT_EQ (newHandle (64), nullptr);
    try
    {
        ThrowIfToolboxError();
        ADD_FAILURE() << "the memory error is reported";
    }
    catch (const CDAEError& error)
    {
        EXPECT_EQ (error.Code(), -108);
    }

    uint8_t text[256] = { 0 };
    PStrPadAndAppend (7, text, 3);
    EXPECT_EQ (std::string (reinterpret_cast<const char*> (text + 1), text[0]), "007");
    EXPECT_EQ (toolbox->script().countOf ("NumToString"), 1u);

    const std::string name ("\x07KESTrun\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x5A", 32);
    uint8_t copied[32] = {};
    CopyFixedNameFromBlock (Block (name), copied);
    EXPECT_EQ (std::memcmp (copied, name.data(), 32), 0);
}

} // namespace
