// Resources compiled into modules, read from loaded modules and from files read as data, and
// their version information.

#include <win/Win32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

const std::string kModulePath = KESTRUNE_TEST_MODULE;
const std::string kNoTranslationPath = KESTRUNE_NO_TRANSLATION_MODULE;

std::vector<uint8_t> fixtureCode()
{
    std::ifstream in (KESTRUNE_DSPCODE_FIXTURE, std::ios::binary);
    return std::vector<uint8_t> (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> resourceBytes (HMODULE module, LPCSTR name, LPCSTR type)
{
    HRSRC resource = FindResourceA (module, name, type);
    if (resource == nullptr)
        return {};
    const auto* data = static_cast<const uint8_t*> (LockResource (LoadResource (module, resource)));
    return std::vector<uint8_t> (data, data + SizeofResource (module, resource));
}

void expectResources (HMODULE module)
{
    EXPECT_EQ (resourceBytes (module, MAKEINTRESOURCEA (1000), "DSPCODE"), fixtureCode());
    EXPECT_EQ (resourceBytes (module, "#1000", "dspcode"), fixtureCode());
    const auto kernel = resourceBytes (module, "kernel", "DSPCODE");
    EXPECT_EQ (std::string (kernel.begin(), kernel.end()), "kernel code");

    SetLastError (0);
    EXPECT_EQ (FindResourceA (module, MAKEINTRESOURCEA (1001), "DSPCODE"), nullptr);
    EXPECT_EQ (GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ (FindResourceA (module, MAKEINTRESOURCEA (1000), "DSPDATA"), nullptr);
    EXPECT_EQ (GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
}

TEST (ModuleResources, ALoadedModuleFindsItsResourcesAndMissingOnesAreNull)
{
    HMODULE module = LoadLibraryA (kModulePath.c_str());
    ASSERT_NE (module, nullptr);
    expectResources (module);
    EXPECT_EQ (FreeLibrary (module), TRUE);
}

TEST (ModuleResources, AFileReadAsDataGivesItsResourcesWithoutBeingLoaded)
{
    HMODULE data = LoadLibraryExA (kModulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE (data, nullptr);
    EXPECT_EQ (GetModuleHandleA ("TestModule.dll"), nullptr) << "read as data, never mapped or run";
    expectResources (data);
    EXPECT_EQ (GetProcAddress (data, "TestModuleAnswer"), nullptr);
    char path[256];
    EXPECT_EQ (GetModuleFileNameA (data, path, sizeof path), 0u);
    EXPECT_EQ (FreeLibrary (data), TRUE);
}

TEST (ModuleResources, FilesThatAreNotModulesCannotBeReadAsData)
{
    SetLastError (0);
    EXPECT_EQ (LoadLibraryExA ("/no/such/file.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    EXPECT_EQ (GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ (LoadLibraryExA (KESTRUNE_DSPCODE_FIXTURE, nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    EXPECT_EQ (GetLastError(), ERROR_BAD_FORMAT);
}

TEST (ModuleResources, TheProgramWithoutResourcesHasNone)
{
    SetLastError (0);
    EXPECT_EQ (FindResourceA (nullptr, MAKEINTRESOURCEA (1), RT_VERSION), nullptr);
    EXPECT_EQ (GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
}

std::vector<uint8_t> versionBlock (const std::string& path)
{
    DWORD handle = 99;
    const DWORD size = GetFileVersionInfoSizeA (path.c_str(), &handle);
    EXPECT_EQ (handle, 0u);
    std::vector<uint8_t> block (size);
    if (size == 0 || ! GetFileVersionInfoA (path.c_str(), 0, size, block.data()))
        return {};
    return block;
}

TEST (VersionInformation, TheFixedVersionRecordHasItsSignatureAndNumbers)
{
    const auto block = versionBlock (kModulePath);
    ASSERT_FALSE (block.empty());
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE (VerQueryValueA (block.data(), "\\", &value, &length));
    ASSERT_GE (length, 52u);
    VS_FIXEDFILEINFO fixed;
    std::memcpy (&fixed, value, sizeof fixed);
    EXPECT_EQ (fixed.dwSignature, 0xFEEF04BDu);
    char text[32];
    std::snprintf (text, sizeof text, "%d.%d.%d.%d", int (fixed.dwFileVersionMS >> 16), int (fixed.dwFileVersionMS & 0xFFFF),
                   int (fixed.dwFileVersionLS >> 16), int (fixed.dwFileVersionLS & 0xFFFF));
    EXPECT_STREQ (text, "1.5.0.0");
    EXPECT_EQ (fixed.dwProductVersionLS, 7u);
}

TEST (VersionInformation, TheCopyrightIsFoundThroughTheTranslationTable)
{
    const auto block = versionBlock (kModulePath);
    ASSERT_FALSE (block.empty());
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE (VerQueryValueA (block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ (length, 4u);
    uint16_t pair[2];
    std::memcpy (pair, value, sizeof pair);
    EXPECT_EQ (pair[0], 0x0409);
    EXPECT_EQ (pair[1], 0x04b0);

    char path[64];
    std::snprintf (path, sizeof path, "\\StringFileInfo\\%04x%04x\\LegalCopyright", pair[0], pair[1]);
    ASSERT_TRUE (VerQueryValueA (block.data(), path, &value, &length));
    EXPECT_STREQ (static_cast<const char*> (value), "Copyright (c) 2026 QORaudio");
    EXPECT_EQ (length, std::strlen ("Copyright (c) 2026 QORaudio") + 1);
    EXPECT_TRUE (VerQueryValueA (block.data(), "\\stringfileinfo\\040904B0\\legalcopyright", &value, &length));
    EXPECT_FALSE (VerQueryValueA (block.data(), "\\StringFileInfo\\040904b0\\CompanyName", &value, &length));
    EXPECT_FALSE (VerQueryValueA (block.data(), "\\StringFileInfo\\040704b0\\LegalCopyright", &value, &length));
}

TEST (VersionInformation, ABlockWithoutTranslationsAnswersOnlyItsFixedPart)
{
    const auto block = versionBlock (kNoTranslationPath);
    ASSERT_FALSE (block.empty());
    void* value = nullptr;
    UINT length = 0;
    EXPECT_TRUE (VerQueryValueA (block.data(), "\\", &value, &length));
    EXPECT_FALSE (VerQueryValueA (block.data(), "\\VarFileInfo\\Translation", &value, &length));
}

TEST (VersionInformation, FilesWithoutAVersionOrAShortBufferGiveNone)
{
    SetLastError (0);
    EXPECT_EQ (GetFileVersionInfoSizeA (KESTRUNE_DSPCODE_FIXTURE, nullptr), 0u);
    EXPECT_EQ (GetFileVersionInfoSizeA ("/no/such/file.dll", nullptr), 0u);
    EXPECT_EQ (GetLastError(), ERROR_FILE_NOT_FOUND);

    const DWORD size = GetFileVersionInfoSizeA (kModulePath.c_str(), nullptr);
    ASSERT_GT (size, 52u);
    std::vector<uint8_t> shortBuffer (size - 1);
    EXPECT_FALSE (GetFileVersionInfoA (kModulePath.c_str(), 0, size - 1, shortBuffer.data()));
    EXPECT_EQ (GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

} // namespace
