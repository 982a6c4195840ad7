// The toolbox's string, time, key, event and file services, and its export by ordinal only.

#include "HostExtFixture.h"

#include <climits>
#include <cstring>
#include <string>

namespace
{

using HostExtServices = HostExtTest;
using kestrune::rtas::abi::HostExtOrdinal;

std::string pascalText (const unsigned char* text)
{
    return std::string (reinterpret_cast<const char*> (text + 1), text[0]);
}

TEST_F (HostExtServices, RoutinesAreExportedByOrdinalOnly)
{
    HMODULE module = GetModuleHandleA ("HostExt.dll");
    EXPECT_EQ (GetProcAddress (module, "HostExt_NewHandle"), nullptr);
    EXPECT_EQ (GetProcAddress (module, "NewHandle"), nullptr);
    EXPECT_EQ (reinterpret_cast<void*> (GetProcAddress (module, MAKEINTRESOURCEA (unsigned (HostExtOrdinal::TickCount)))),
               reinterpret_cast<void*> (host.TickCount));
    EXPECT_EQ (GetProcAddress (module, MAKEINTRESOURCEA (99)), nullptr);
}

TEST_F (HostExtServices, CTextBecomesLengthPrefixedInPlace)
{
    char text[300] = "KESTrune";
    StringPtr converted = host.CStrToPStrInPlace (text);
    EXPECT_EQ (converted, reinterpret_cast<StringPtr> (text));
    EXPECT_EQ (pascalText (converted), "KESTrune");
    std::memset (text, 'a', 299);
    text[299] = 0;
    EXPECT_EQ (host.CStrToPStrInPlace (text)[0], 255) << "a length byte counts at most 255";
    char empty[1] = "";
    EXPECT_EQ (host.CStrToPStrInPlace (empty)[0], 0);
}

TEST_F (HostExtServices, NumbersBecomeTextAndBack)
{
    const std::pair<int32_t, std::string> numbers[] = { { 0, "0" }, { 7, "7" }, { -42, "-42" }, { INT32_MAX, "2147483647" }, { INT32_MIN, "-2147483648" } };
    for (const auto& [number, expected] : numbers)
    {
        Str255 text;
        host.NumToString (number, text);
        EXPECT_EQ (pascalText (text), expected);
        int32_t back = 1;
        host.StringToNum (text, &back);
        EXPECT_EQ (back, number);
    }
    const std::pair<std::string, int32_t> texts[] = { { "+12", 12 }, { "12ab", 12 }, { "", 0 }, { "-", 0 }, { "99999999999", INT32_MAX }, { "-99999999999", INT32_MIN } };
    for (const auto& [input, expected] : texts)
    {
        Str255 text;
        text[0] = uint8_t (input.size());
        std::memcpy (text + 1, input.data(), input.size());
        int32_t number = 1;
        host.StringToNum (text, &number);
        EXPECT_EQ (number, expected) << input;
    }
}

TEST_F (HostExtServices, TheClockCanBeSetStepAndAdvance)
{
    toolbox.setClock (1000000, 0);
    uint64_t now = 0;
    host.Microseconds (&now);
    EXPECT_EQ (now, 1000000u);
    EXPECT_EQ (host.TickCount(), 60u);
    toolbox.advanceClock (500000);
    EXPECT_EQ (host.TickCount(), 90u);

    toolbox.setClock (0, 250);
    host.Microseconds (&now);
    EXPECT_EQ (now, 0u);
    host.Microseconds (&now);
    EXPECT_EQ (now, 250u) << "each read moves the clock by its step";

    toolbox.script().scriptResult ("TickCount", 12345, 1);
    EXPECT_EQ (host.TickCount(), 12345u);
    EXPECT_NE (host.TickCount(), 12345u);
}

TEST_F (HostExtServices, TheRealClockMovesForward)
{
    uint64_t first = 0;
    uint64_t second = 0;
    host.Microseconds (&first);
    toolbox.advanceClock (2000000);
    host.Microseconds (&second);
    EXPECT_GE (second, first + 2000000);
}

TEST_F (HostExtServices, KeysModifiersAndEventsReportWhatTheTestSet)
{
    uint8_t keys[16];
    host.GetKeys (keys);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (keys), 16), std::string (16, '\0'));
    uint8_t down[16] = {};
    down[6] = 0x80;
    toolbox.setKeyMap (down);
    toolbox.setModifiers (0x0800);
    host.GetKeys (keys);
    EXPECT_EQ (keys[6], 0x80);
    EXPECT_EQ (host.GetCurrentKeyModifiers(), 0x0800);

    EventRecord event;
    std::memset (&event, 0xFF, sizeof event);
    EXPECT_EQ (host.EventAvail (0, &event), 0);
    EXPECT_EQ (event.what, 0);
    EXPECT_EQ (event.modifiers, 0x0800);
    EXPECT_EQ (toolbox.script().callsOf ("EventAvail").at (0).arguments.at (0), 0);
}

TEST_F (HostExtServices, AFileSpecificationHoldsThePath)
{
    const std::string existing = KESTRUNE_HOST_RESOURCES;
    Str255 path;
    path[0] = uint8_t (existing.size());
    std::memcpy (path + 1, existing.data(), existing.size());
    FSSpec spec;
    EXPECT_EQ (host.FSMakeFSSpecFromPath (path, &spec), noErr);
    EXPECT_STREQ (spec.path, existing.c_str());
    EXPECT_EQ (host.FSMakeFSSpecFromPath (reinterpret_cast<ConstStr255Param> ("\x08/no/file"), &spec), fnfErr);
    EXPECT_STREQ (spec.path, "/no/file");
    toolbox.script().injectFailure ("FSMakeFSSpecFromPath", paramErr);
    EXPECT_EQ (host.FSMakeFSSpecFromPath (path, &spec), paramErr);
}

TEST_F (HostExtServices, ResetPutsTheServicesBack)
{
    toolbox.setClock (5000000, 0);
    toolbox.setModifiers (1);
    host.NewHandle (4);
    toolbox.reset();
    EXPECT_LT (host.TickCount(), 60u);
    EXPECT_EQ (host.GetCurrentKeyModifiers(), 0);
    EXPECT_EQ (toolbox.liveHandles(), 0u);
    EXPECT_EQ (toolbox.script().callNames(), (std::vector<std::string> { "TickCount", "GetCurrentKeyModifiers" }));
}

} // namespace
