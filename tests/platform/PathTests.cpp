// The run-time library's path splitter.

#include <win/Win32.h>

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST (SplitPath, APathSplitsIntoFolderNameAndExtension)
{
    struct Case
    {
        const char* path;
        const char* directory;
        const char* name;
        const char* extension;
    };
    const Case cases[] = {
        { "/opt/host/Host.exe", "/opt/host/", "Host", ".exe" },
        { "/opt/host/Plug.In.dpm", "/opt/host/", "Plug.In", ".dpm" },
        { "Host", "", "Host", "" },
        { "/opt/host/", "/opt/host/", "", "" },
        { "", "", "", "" },
    };
    for (const auto& c : cases)
    {
        char drive[_MAX_DRIVE] = "x";
        char directory[_MAX_DIR];
        char name[_MAX_FNAME];
        char extension[_MAX_EXT];
        _splitpath (c.path, drive, directory, name, extension);
        EXPECT_STREQ (drive, "") << c.path;
        EXPECT_STREQ (directory, c.directory) << c.path;
        EXPECT_STREQ (name, c.name) << c.path;
        EXPECT_STREQ (extension, c.extension) << c.path;
    }
}

TEST (SplitPath, LongPartsAreCutToTheirBuffers)
{
    const std::string path = "/" + std::string (300, 'd') + "/" + std::string (300, 'n');
    char directory[_MAX_DIR];
    char name[_MAX_FNAME];
    _splitpath (path.c_str(), nullptr, directory, name, nullptr);
    EXPECT_EQ (std::string (directory), path.substr (0, _MAX_DIR - 1));
    EXPECT_EQ (std::string (name), std::string (_MAX_FNAME - 1, 'n'));
}

} // namespace
