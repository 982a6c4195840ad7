// Module handles by name, symbols, file names and run-time loading.

#include <win/Win32.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{

const std::string kModulePath = KESTRUNE_TEST_MODULE;

std::string realPath (const std::string& path)
{
    char buffer[PATH_MAX];
    return realpath (path.c_str(), buffer) != nullptr ? buffer : path;
}

// Loads the test module for one test and frees it afterwards.
class LoadedTestModule : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ (GetModuleHandleA ("TestModule.dll"), nullptr) << "the module must start unloaded";
        module = LoadLibraryA (kModulePath.c_str());
        ASSERT_NE (module, nullptr);
    }

    void TearDown() override
    {
        if (module != nullptr)
        {
            EXPECT_EQ (FreeLibrary (module), TRUE);
        }
        EXPECT_EQ (GetModuleHandleA ("TestModule.dll"), nullptr);
    }

    HMODULE module = nullptr;
};

TEST (ModuleHandles, AModuleThatIsNotLoadedHasNoHandle)
{
    SetLastError (0);
    EXPECT_EQ (GetModuleHandleA ("TestModule.dll"), nullptr);
    EXPECT_EQ (GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST_F (LoadedTestModule, ALoadedModuleIsFoundByItsNameIgnoringCase)
{
    for (const char* name : { "TestModule.dll", "TESTMODULE.DLL", "testmodule.Dll", "TestModule", "/elsewhere/testmodule.dll" })
        EXPECT_EQ (GetModuleHandleA (name), module) << name;
    EXPECT_EQ (GetModuleHandleA ("TestModule.dl"), nullptr);
    EXPECT_EQ (GetModuleHandleA ("Test.dll"), nullptr);
}

TEST_F (LoadedTestModule, LoadingAgainCountsAndTheLastFreeUnloads)
{
    HMODULE again = LoadLibraryA ("testmodule.dll");
    EXPECT_EQ (again, module);
    EXPECT_EQ (FreeLibrary (again), TRUE);
    EXPECT_EQ (GetModuleHandleA ("TestModule.dll"), module);
}

TEST_F (LoadedTestModule, SymbolsAreFoundByNameAndByOrdinal)
{
    auto answer = reinterpret_cast<int (*)()> (GetProcAddress (module, "TestModuleAnswer"));
    ASSERT_NE (answer, nullptr);
    EXPECT_EQ (answer(), 42);

    auto seventh = reinterpret_cast<int (*)()> (GetProcAddress (module, MAKEINTRESOURCEA (7)));
    ASSERT_NE (seventh, nullptr);
    EXPECT_EQ (seventh(), 7);

    SetLastError (0);
    EXPECT_EQ (GetProcAddress (module, MAKEINTRESOURCEA (8)), nullptr);
    EXPECT_EQ (GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ (GetProcAddress (module, "NoSuchExport"), nullptr);
}

TEST_F (LoadedTestModule, SymbolsOfTheLibrariesAModuleUsesAreNotItsOwn)
{
    EXPECT_EQ (GetProcAddress (module, "malloc"), nullptr);
    EXPECT_EQ (GetProcAddress (GetModuleHandleA ("libc.so.6"), "TestModuleAnswer"), nullptr);
}

TEST_F (LoadedTestModule, AnAddressInsideAModuleGivesItsHandle)
{
    HMODULE found = nullptr;
    const auto* address = reinterpret_cast<LPCSTR> (GetProcAddress (module, "TestModuleAnswer"));
    EXPECT_EQ (GetModuleHandleExA (GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   address, &found),
               TRUE);
    EXPECT_EQ (found, module);
    EXPECT_EQ (GetModuleHandleExA (0, "testmodule.dll", &found), TRUE);
    EXPECT_EQ (found, module);
    EXPECT_EQ (GetModuleHandleExA (GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR> (uintptr_t (16)), &found), FALSE);
    EXPECT_EQ (found, nullptr);
}

TEST_F (LoadedTestModule, TheModuleFileNameIsItsFullPath)
{
    char path[512];
    const DWORD length = GetModuleFileNameA (module, path, sizeof path);
    EXPECT_EQ (std::string (path), realPath (kModulePath));
    EXPECT_EQ (length, std::string (path).size());
}

TEST_F (LoadedTestModule, AShortBufferGetsTheCutFileNameAndItsSize)
{
    char path[6] = { 'x', 'x', 'x', 'x', 'x', 'x' };
    SetLastError (0);
    EXPECT_EQ (GetModuleFileNameA (module, path, 5), 5u);
    EXPECT_EQ (GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ (std::string (path), realPath (kModulePath).substr (0, 4));
    EXPECT_EQ (path[5], 'x');
}

TEST (ModuleFileNames, TheProgramIsTheNullModule)
{
    char path[512];
    ASSERT_GT (GetModuleFileNameA (nullptr, path, sizeof path), 0u);
    EXPECT_EQ (std::string (path), std::filesystem::canonical ("/proc/self/exe").string());
    EXPECT_NE (GetModuleHandleA (nullptr), nullptr);
    EXPECT_EQ (GetModuleFileNameA (reinterpret_cast<HMODULE> (uintptr_t (0x1000)), path, sizeof path), 0u);
}

TEST (RunTimeLoading, ABareNameIsFoundInTheLibraryFolderIgnoringCase)
{
    const std::string folder = std::filesystem::path (kModulePath).parent_path().string();
    EXPECT_EQ (LoadLibraryA ("TESTMODULE.DLL"), nullptr);
    ASSERT_EQ (SetDllDirectoryA (folder.c_str()), TRUE);
    HMODULE module = LoadLibraryA ("TESTMODULE.DLL");
    SetDllDirectoryA (nullptr);
    ASSERT_NE (module, nullptr);
    EXPECT_EQ (GetModuleHandleA ("TestModule.dll"), module);
    EXPECT_EQ (FreeLibrary (module), TRUE);
    EXPECT_EQ (GetModuleHandleA ("TestModule.dll"), nullptr);
}

TEST (RunTimeLoading, AMissingLibraryFailsWithModuleNotFound)
{
    SetLastError (0);
    EXPECT_EQ (LoadLibraryA ("NoSuchLibrary.dll"), nullptr);
    EXPECT_EQ (GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ (FreeLibrary (reinterpret_cast<HMODULE> (uintptr_t (0x1000))), FALSE);
}

} // namespace
