// The binding's hold on DSI.dll: the library and the binding (in a module of its own, as in the
// plug-in) are loaded at run time, so the card library really unloads once nothing holds it.

#include <win/Win32.h>

#include <gtest/gtest.h>

namespace
{

TEST (DsiReferences, ASecondLoadHoldsNoSecondReference)
{
    ASSERT_EQ (GetModuleHandleA ("DSI.dll"), nullptr);
    HMODULE hostReference = LoadLibraryA (KESTRUNE_DSI_PATH);
    ASSERT_NE (hostReference, nullptr);
    HMODULE probe = LoadLibraryA (KESTRUNE_DSI_PROBE_PATH);
    ASSERT_NE (probe, nullptr);
    auto load = reinterpret_cast<int16_t (*)()> (GetProcAddress (probe, "ProbeLoadDSIEntryPoints"));
    auto unload = reinterpret_cast<void (*)()> (GetProcAddress (probe, "ProbeUnloadDSIEntryPoints"));
    ASSERT_NE (load, nullptr);
    ASSERT_NE (unload, nullptr);

    EXPECT_EQ (load(), 0);
    EXPECT_EQ (load(), 0);
    unload();
    EXPECT_NE (GetModuleHandleA ("DSI.dll"), nullptr) << "the host's own reference keeps it";

    EXPECT_TRUE (FreeLibrary (probe));
    EXPECT_TRUE (FreeLibrary (hostReference));
    EXPECT_EQ (GetModuleHandleA ("DSI.dll"), nullptr) << "one unload gives back everything that the loads took";
}

} // namespace
