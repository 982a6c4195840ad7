// The engine as the plug-in's entry glue meets it: loaded or not, found as "DAE.DLL", with or
// without "SetPlugInOpenAndCloseProcs", its control reached without linking it.

#include <DaeControl.h>

#include <win/Win32.h>

#include <gtest/gtest.h>

namespace
{

using namespace kestrune::host::rtas;

struct EngineBuild
{
    const char* path;
    bool offersOpenAndCloseProcs;
};

class EngineLoading : public ::testing::TestWithParam<EngineBuild>
{
};

TEST_P (EngineLoading, TheEngineIsFoundByItsNameOnlyWhileLoaded)
{
    const EngineBuild build = GetParam();
    ASSERT_EQ (GetModuleHandleA ("DAE.DLL"), nullptr);

    HMODULE engine = LoadLibraryA (build.path);
    ASSERT_NE (engine, nullptr);
    EXPECT_EQ (GetModuleHandleA ("DAE.DLL"), engine);
    EXPECT_EQ (GetModuleHandleA ("dae.dll"), engine);

    const FARPROC registrar = GetProcAddress (GetModuleHandleA ("DAE.DLL"), kSetPlugInOpenAndCloseProcsName);
    EXPECT_EQ (registrar != nullptr, build.offersOpenAndCloseProcs);

    auto control = reinterpret_cast<DaeControl* (*) ()> (GetProcAddress (engine, kDaeControlEntry));
    ASSERT_NE (control, nullptr);
    DaeControl& dae = *control();
    dae.reset();
    EXPECT_EQ (dae.offersOpenAndCloseProcs(), build.offersOpenAndCloseProcs);
    auto gestalt = reinterpret_cast<int16_t (*) (uint32_t, int32_t*)> (GetProcAddress (engine, "FicGestalt"));
    ASSERT_NE (gestalt, nullptr);
    int32_t response = 0;
    EXPECT_EQ (gestalt (kFicGestaltPISI, &response), 0);
    EXPECT_EQ (dae.script().countOf ("FicGestalt"), 1u);

    EXPECT_EQ (FreeLibrary (engine), TRUE);
    EXPECT_EQ (GetModuleHandleA ("DAE.DLL"), nullptr);
}

INSTANTIATE_TEST_SUITE_P (BothEngines, EngineLoading,
                          ::testing::Values (EngineBuild { KESTRUNE_DAE_PATH, true },
                                             EngineBuild { KESTRUNE_DAE_WITHOUT_OPEN_PROCS_PATH, false }));

} // namespace
