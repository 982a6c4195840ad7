#include "AAX_CString.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace
{
TEST (AAXString, ConstructionAndLengths)
{
    EXPECT_STREQ (AAX_CString (nullptr).Get(), "");
    EXPECT_EQ (AAX_CString (nullptr).Length(), 0u);
    EXPECT_EQ (AAX_CString ("Attack").Length(), 6u);
    EXPECT_EQ (AAX_CString().MaxLength(), 0xFFFFFFFEu);

    AAX_CString text ("ab");
    text.Append ("cd");
    text.Append (nullptr);
    EXPECT_STREQ (text.Get(), "abcd");
    AAX_CString copy (text);
    EXPECT_TRUE (copy == text);
    copy.Set ("abcD");
    EXPECT_FALSE (copy == text);
    copy.Set (static_cast<const AAX_IString&> (text));
    EXPECT_TRUE (copy == text);
    copy.Set (static_cast<const char*> (nullptr));
    EXPECT_EQ (copy.Length(), 0u);
}

TEST (AAXString, EraseStaysInsideTheText)
{
    struct Case
    {
        uint32_t position, count;
        const char* expected;
    };
    const Case cases[] = {
        { 0, 2, "cdef" },
        { 2, 2, "abef" },
        { 4, 100, "abcd" },
        { 6, 1, "abcdef" },
        { 100, 1, "abcdef" },
        { 0, 0, "abcdef" },
    };
    for (const Case& c : cases)
    {
        AAX_CString text ("abcdef");
        text.Erase (c.position, c.count);
        EXPECT_STREQ (text.Get(), c.expected) << c.position << "," << c.count;
    }
}

TEST (AAXString, AppendNumberWritesThreeDecimals)
{
    const std::pair<double, const char*> cases[] = {
        { 2.0, "x2.000" },
        { -0.25, "x-0.250" },
        { 0.5, "x0.500" },
        { -3.25, "x-3.250" },
        { 1000.0, "x1000.000" },
        { 0.0005, "x0.001" },
        { 12.5, "x12.500" },
    };
    for (const auto& [value, expected] : cases)
    {
        AAX_CString text ("x");
        text.AppendNumber (value);
        EXPECT_STREQ (text.Get(), expected) << value;
    }
}

TEST (AAXString, ToDoubleReadsFiniteDecimalsOnly)
{
    struct Case
    {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        { "1.5dB", true, 1.5 },
        { "  -3.25", true, -3.25 },
        { "+2", true, 2.0 },
        { ".5", true, 0.5 },
        { "1e3", true, 1000.0 },
        { "7", true, 7.0 },
        { "0", true, 0.0 },
        { "1,5", true, 1.0 },
        { "abc", false, 0.0 },
        { "", false, 0.0 },
        { "-", false, 0.0 },
        { ".", false, 0.0 },
        { "nan", false, 0.0 },
        { "NaN", false, 0.0 },
        { "inf", false, 0.0 },
        { "-infinity", false, 0.0 },
        { "0x1A", false, 0.0 },
        { "-0X10", false, 0.0 },
        { "1e999", false, 0.0 },
        { "+-1", false, 0.0 },
    };
    for (const Case& c : cases)
    {
        double value = 99.0;
        EXPECT_EQ (AAX_CString (c.text).ToDouble (&value), c.ok) << c.text;
        EXPECT_EQ (value, c.value) << c.text;
    }
}

// Sets a locale whose decimal point is a comma; builds one with localedef when none is installed.
bool SetCommaLocale()
{
    if (std::setlocale (LC_ALL, "de_DE.UTF-8") != nullptr)
        return true;
    const std::string directory = testing::TempDir() + "aax_locales";
    const std::string command = "mkdir -p " + directory + " && localedef -i de_DE -f UTF-8 " + directory
                                + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system (command.c_str()) != 0)
        return false;
    setenv ("LOCPATH", directory.c_str(), 1);
    return std::setlocale (LC_ALL, "de_DE.UTF-8") != nullptr;
}

TEST (AAXString, ConversionsIgnoreTheLocale)
{
    if (! SetCommaLocale())
        GTEST_SKIP() << "no locale with a decimal comma available";
    const bool commaLocale = *std::localeconv()->decimal_point == ',';
    AAX_CString text;
    text.AppendNumber (0.5);
    double value = 0.0;
    const bool ok = AAX_CString ("2.75").ToDouble (&value);
    std::setlocale (LC_ALL, "C");
    EXPECT_TRUE (commaLocale);
    EXPECT_STREQ (text.Get(), "0.500");
    EXPECT_TRUE (ok);
    EXPECT_EQ (value, 2.75);
}
} // namespace
