// UTF-8 / UTF-16 conversion: round trips, sizing, and invalid input.

#include <win/Win32.h>

#include <gtest/gtest.h>

#include <string>

namespace
{

std::u16string toWide (const std::string& text, DWORD flags = 0)
{
    const int needed = MultiByteToWideChar (CP_UTF8, flags, text.data(), int (text.size()), nullptr, 0);
    std::u16string wide (size_t (needed), u'\0');
    if (needed > 0)
    {
        EXPECT_EQ (MultiByteToWideChar (CP_UTF8, flags, text.data(), int (text.size()), wide.data(), needed), needed);
    }
    return wide;
}

std::string toNarrow (const std::u16string& wide, DWORD flags = 0)
{
    const int needed = WideCharToMultiByte (CP_UTF8, flags, wide.data(), int (wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text (size_t (needed), '\0');
    if (needed > 0)
    {
        EXPECT_EQ (WideCharToMultiByte (CP_UTF8, flags, wide.data(), int (wide.size()), text.data(), needed, nullptr, nullptr), needed);
    }
    return text;
}

struct RoundTrip
{
    const char* utf8;
    std::u16string utf16;
};

TEST (CodePages, ValidTextRoundTrips)
{
    const RoundTrip cases[] = {
        { "KESTrune", u"KESTrune" },
        { "Gr\xC3\xBC\xC3\x9F"
          "e",
          u"Gr\u00FC\u00DFe" },
        { "\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C" },
        { "\xF0\x9F\x98\x80!", u"\U0001F600!" },
        { "\xEF\xBF\xBF", u"\uFFFF" },
    };
    for (const auto& [utf8, utf16] : cases)
    {
        EXPECT_EQ (toWide (utf8, MB_ERR_INVALID_CHARS), utf16) << utf8;
        EXPECT_EQ (toNarrow (utf16, WC_ERR_INVALID_CHARS), utf8) << utf8;
    }
}

TEST (CodePages, ATerminatedSourceConvertsItsTerminatorToo)
{
    EXPECT_EQ (MultiByteToWideChar (CP_UTF8, 0, "ab", -1, nullptr, 0), 3);
    char16_t wide[3] = { u'x', u'x', u'x' };
    EXPECT_EQ (MultiByteToWideChar (CP_UTF8, 0, "ab", -1, wide, 3), 3);
    EXPECT_EQ (wide[2], u'\0');
    const char16_t source[] = u"\u00E9";
    EXPECT_EQ (WideCharToMultiByte (CP_UTF8, 0, source, -1, nullptr, 0, nullptr, nullptr), 3);
}

TEST (CodePages, InvalidUtf8IsRefusedOrReplaced)
{
    const char* invalid[] = {
        "\xC3", // cut short
        "\xC0\xAF", // overlong
        "\xED\xA0\x80", // a surrogate
        "\xF5\x80\x80\x80", // beyond U+10FFFF
        "\x80", // a lone continuation byte
        "a\xE2\x82" // cut short at the end
    };
    for (const char* text : invalid)
    {
        SetLastError (0);
        EXPECT_EQ (MultiByteToWideChar (CP_UTF8, MB_ERR_INVALID_CHARS, text, int (std::string (text).size()), nullptr, 0), 0) << text;
        EXPECT_EQ (GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
        const std::u16string replaced = toWide (text);
        EXPECT_NE (replaced.find (u'\uFFFD'), std::u16string::npos) << text;
    }
}

TEST (CodePages, UnpairedSurrogatesAreRefusedOrReplaced)
{
    const std::u16string invalid[] = { std::u16string (1, char16_t (0xD800)), std::u16string (1, char16_t (0xDC00)),
                                       std::u16string { char16_t (0xD83D), u'a' } };
    for (const auto& text : invalid)
    {
        SetLastError (0);
        EXPECT_EQ (WideCharToMultiByte (CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), int (text.size()), nullptr, 0, nullptr, nullptr), 0);
        EXPECT_EQ (GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
        EXPECT_EQ (toNarrow (text).substr (0, 3), "\xEF\xBF\xBD");
    }
}

TEST (CodePages, BadArgumentsAndShortTargetsFail)
{
    char16_t wide[2];
    SetLastError (0);
    EXPECT_EQ (MultiByteToWideChar (CP_UTF8, 0, "abc", 3, wide, 2), 0);
    EXPECT_EQ (GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ (MultiByteToWideChar (CP_UTF8, 0, "abc", 0, wide, 2), 0);
    EXPECT_EQ (GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ (MultiByteToWideChar (1252, 0, "abc", 3, wide, 2), 0);
    EXPECT_EQ (MultiByteToWideChar (CP_UTF8, 0, nullptr, 3, wide, 2), 0);
    BOOL usedDefault = FALSE;
    EXPECT_EQ (WideCharToMultiByte (CP_UTF8, 0, u"a", 1, nullptr, 0, nullptr, &usedDefault), 0);
    EXPECT_EQ (GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace
