// What the library reads about module files: the version and copyright of a module built with
// its version block, its DSP code resource (from the loaded module and from the file), the
// folders of the program and of loaded modules, and UTF-8 / UTF-16 conversion.

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "entry/module/FileNameCallback.h"
#include "entry/module/ModuleInformation.h"

namespace
{
const std::string kModulePath = KESTRUNE_MODULE_INFO_MODULE;
const std::string kModuleFolder = kModulePath.substr (0, kModulePath.find_last_of ('/') + 1);
const std::string kCopyright = "Copyright (c) 2026 QORaudio. All rights reserved.";
const std::vector<uint8_t> kDSPCode { 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                      0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff };

class ModuleInformation : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE (module, nullptr); }
    void TearDown() override { FreeLibrary (module); }

    HMODULE module = LoadLibraryA (kModulePath.c_str());
};

// A record whose every number is 9: what a failed lookup must leave as it was.
SModuleVersion Nines()
{
    return { 9, 9, 9, 9 };
}

bool operator== (const SModuleVersion& a, const SModuleVersion& b)
{
    return a.fMajor == b.fMajor && a.fMinor == b.fMinor && a.fRelease == b.fRelease && a.fBuild == b.fBuild;
}
}

TEST_F (ModuleInformation, TheModulesVersionReadsAsOneFiveZeroZero)
{
    SModuleVersion version = Nines();
    ASSERT_TRUE (GetModuleVersion (module, &version));
    EXPECT_TRUE (version == (SModuleVersion { 1, 5, 0, 0 }));
    EXPECT_EQ (FormatModuleVersion (version), "1.5.0.0");
    EXPECT_EQ (GetModuleVersionText (module), "1.5.0.0");

    version = Nines();
    EXPECT_TRUE (GetModuleVersionByName ("moduleinfo.DLL", &version));
    EXPECT_EQ (FormatModuleVersion (version), "1.5.0.0");
    version = Nines();
    EXPECT_TRUE (GetModuleVersionFromFile (kModulePath.c_str(), &version));
    EXPECT_EQ (version.fMinor, 5);
}

TEST_F (ModuleInformation, AFailedVersionLookupLeavesTheRecordAndReadsAsZeros)
{
    SModuleVersion version = Nines();
    EXPECT_FALSE (GetModuleVersionByName ("NotLoaded.dll", &version));
    EXPECT_FALSE (GetModuleVersionFromFile ((kModuleFolder + "missing.dll").c_str(), &version));
    EXPECT_FALSE (GetModuleVersionFromFile (nullptr, &version));
    // The test program carries no version block.
    EXPECT_FALSE (GetModuleVersion (GetModuleHandleA (nullptr), &version));
    EXPECT_TRUE (version == Nines());
    EXPECT_EQ (GetModuleVersionText (GetModuleHandleA (nullptr)), "0.0.0.0");
    EXPECT_FALSE (GetModuleVersion (module, nullptr));
}

TEST_F (ModuleInformation, TheCopyrightIsCutToTheCapacityAndTerminated)
{
    std::array<char, 128> text;
    text.fill ('x');
    ASSERT_TRUE (GetModuleCopyright (module, text.data(), text.size()));
    EXPECT_EQ (std::string (text.data()), kCopyright);

    text.fill ('x');
    ASSERT_TRUE (GetModuleCopyright (module, text.data(), 10));
    EXPECT_EQ (std::string (text.data()), "Copyright");
    EXPECT_EQ (text[10], 'x') << "nothing written past the capacity";

    text.fill ('x');
    EXPECT_FALSE (GetModuleCopyright (GetModuleHandleA (nullptr), text.data(), text.size()));
    EXPECT_EQ (text[0], 0);
}

TEST (ModuleInformationBlocks, AFixedVersionValueShorterThan52BytesIsRefused)
{
    uint8_t value[52] = {};
    value[8] = 5; // the minor number of the file version
    SModuleVersion version = Nines();
    EXPECT_FALSE (ReadFixedFileVersion (value, 51, &version));
    EXPECT_TRUE (version == Nines());
    EXPECT_TRUE (ReadFixedFileVersion (value, 52, &version));
    EXPECT_EQ (version.fMinor, 5);
    EXPECT_FALSE (ReadFixedFileVersion (nullptr, 52, &version));
}

TEST (ModuleInformationBlocks, AVersionBlockWithoutATranslationTableHasNoCopyright)
{
    const HMODULE module = LoadLibraryA (KESTRUNE_VERSION_ONLY_MODULE);
    ASSERT_NE (module, nullptr);
    EXPECT_EQ (GetModuleVersionText (module), "2.1.0.3");
    std::array<char, 16> text;
    text.fill ('x');
    EXPECT_FALSE (GetModuleCopyright (module, text.data(), text.size()));
    EXPECT_EQ (text[0], 0);
    FreeLibrary (module);
}

TEST_F (ModuleInformation, TheDSPCodeResourceIsReadFromTheModule)
{
    DWORD size = 0;
    const auto* bytes = static_cast<const uint8_t*> (LoadModuleResource (module, kDSPCodeResourceType, 1000, &size));
    ASSERT_NE (bytes, nullptr);
    EXPECT_EQ (std::vector<uint8_t> (bytes, bytes + size), kDSPCode);
    EXPECT_NE (LoadModuleResource (module, kDSPCodeResourceType, 1000, nullptr), nullptr);
    size = 7;
    EXPECT_EQ (LoadModuleResource (module, kDSPCodeResourceType, 1001, &size), nullptr);
    EXPECT_EQ (size, 7u);
}

TEST_F (ModuleInformation, CopyingFromTheFileTakesAtMostTheCapacityAndReportsTheFullSize)
{
    std::array<uint8_t, 32> destination;
    struct Case
    {
        DWORD capacity;
        size_t copied;
    };
    for (const Case c : { Case { 5, 5 }, Case { 16, 16 }, Case { 32, 16 }, Case { 0, 0 } })
    {
        SCOPED_TRACE (c.capacity);
        destination.fill (0xA5);
        DWORD size = 0;
        ASSERT_TRUE (CopyResourceFromFile (kModulePath.c_str(), kDSPCodeResourceType, 1000, &size, c.capacity,
                                           destination.data()));
        EXPECT_EQ (size, 16u);
        EXPECT_EQ (std::vector<uint8_t> (destination.begin(), destination.begin() + static_cast<long> (c.copied)),
                   std::vector<uint8_t> (kDSPCode.begin(), kDSPCode.begin() + static_cast<long> (c.copied)));
        EXPECT_EQ (destination[c.copied], 0xA5);
    }
    DWORD size = 0;
    EXPECT_FALSE (CopyResourceFromFile (kModulePath.c_str(), kDSPCodeResourceType, 1001, &size, 32, destination.data()));
    EXPECT_FALSE (CopyResourceFromFile ((kModuleFolder + "missing.dll").c_str(), kDSPCodeResourceType, 1000, &size, 32,
                                        destination.data()));
}

TEST_F (ModuleInformation, FoldersOfTheProgramAndOfLoadedModules)
{
    char program[4096] = {};
    const ssize_t length = readlink ("/proc/self/exe", program, sizeof program - 1);
    ASSERT_GT (length, 0);
    const std::string programPath (program, static_cast<size_t> (length));
    const std::string programFolder = programPath.substr (0, programPath.find_last_of ('/') + 1);
    EXPECT_EQ (GetExecutableDirectory(), programFolder);
    EXPECT_EQ (GetModuleDirectory ("ModuleInfo.dll"), kModuleFolder);
    EXPECT_EQ (GetModuleDirectory ("NotLoaded.dll"), "");

    DefaultPathFileNameCallback callback ("plug-ins/KESTrune.dpm");
    std::string resolved = "old";
    callback.ResolveFileName (resolved);
    EXPECT_EQ (resolved, programFolder + "plug-ins/KESTrune.dpm");
}

TEST (ModuleInformationText, UtfConversionsRoundTrip)
{
    const std::string utf8 = "K\xc3\xa4se \xe2\x82\xac \xf0\x9f\x8e\xb5";
    const std::u16string utf16 = u"K\u00e4se \u20ac \U0001F3B5";
    EXPECT_EQ (Utf8ToUtf16 (utf8), utf16);
    EXPECT_EQ (Utf16ToUtf8 (utf16), utf8);
    EXPECT_EQ (Utf8ToUtf16 (""), u"");
    EXPECT_EQ (Utf16ToUtf8 (u""), "");
}
