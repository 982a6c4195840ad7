// The card library binding against the stand-in DSI.dll. This file is built once per build of
// the stand-in (KESTRUNE_DSI_BUILD): linked against it as the plug-in imports it, so that the
// loader finds it loaded and binds whatever entry points that build offers.

#include "process/base/CDAEError.h"
#include "process/dsp/DSIBinding.h"
#include "process/dsp/DsiCompat.h"

#include <dsi/DsiControl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{

using namespace kestrune::host::rtas;

enum class Build
{
    All,
    None,
    WithoutLast,
    WithoutMiddle
};
constexpr Build kBuild = Build (KESTRUNE_DSI_BUILD);

const char* const kEntryNames[] = {
    "_DsiIsDSP321@8", "_DsiGetDSPCardIndex@8", "_DsiIsPresto@8", "_DsiIsTDM2@8", "_DsiGetCardTypeFromDSP@8",
    "_DsiDSPToDriverType@8", "_DsiGetNextDSP@8", "_DsiGetDSPClient@8", "_DsiGetDSPClientVal@8",
    "_DsiSetDSPClientVal@8", "_DsiGetDSPShell@8", "_DsiGetDSPInfoRecord@8", "_DsiGetDSPCoreType@8",
    "_DsiGetNextCard@8", "_DsiGetCardClient@8", "_DsiSetCardClient@8", "_DsiGetCardClientVal@8",
    "_DsiSetCardClientVal@8", "_DsiGetCardType@8", "_DsiGetFirstDSPOnCard@8", "_DsiGetNumDSPsOnCard@8",
    "_DsiIsCardTDM2@8", "_DsiDoHostCommand@12", "_DsiDoHostCommandOnEmptyHostPort@12",
    "_DsiDoHostCommandWithDataList@28", "_DsiWaitHostBit@16", "_DsiSendLo24of32@12", "_DsiGetLo24ofS32@12",
    "_DsiSendLo24of32Check@16", "_DsiGetLo24ofS32Check@16", "_DsiSetHostBit@12", "_DsiGetHostBit@12",
    "_DsiCreateShell@4", "_DsiDestroyShell@4", "_DsiGetShellClient@8", "_DsiGetShellClientVal@8",
    "_DsiSetShellID@8", "_DsiGetShellID@8", "_DsiSetShellIsStandard@8", "_DsiSetShellMaxLocation@8",
    "_DsiSetShellDSPCode@8", "_DsiShellDSPCodeIsNULL@8", "_DsiSetShellHostCodeHandler@8"
};
constexpr const char* kMiddleEntry = "_DsiDoHostCommandWithDataList@28";
constexpr const char* kLastEntry = "_DsiSetShellHostCodeHandler@8";

bool Offered (const std::string& name)
{
    switch (kBuild)
    {
        case Build::All: return true;
        case Build::None: return false;
        case Build::WithoutLast: return name != kLastEntry;
        case Build::WithoutMiddle: return name != kMiddleEntry;
    }
    return false;
}

// The loader's answer and whether the compatibility layer goes through the entry points.
struct LoadOutcome
{
    int16_t result;
    bool useEntries;
};
LoadOutcome ExpectedLoad()
{
    switch (kBuild)
    {
        case Build::All: return { 0, true };
        case Build::None: return { -7053, false };
        case Build::WithoutLast: return { -7053, false };
        case Build::WithoutMiddle: return { 0, false };
    }
    return {};
}

size_t EntryCallsRecorded (const StandInScript& script)
{
    size_t count = 0;
    for (const auto& call : script.calls())
        count += call.function.rfind ("_Dsi", 0) == 0 ? 1 : 0;
    return count;
}

class DsiBinding : public ::testing::Test
{
protected:
    void SetUp() override { dsi.reset(); }
    void TearDown() override
    {
        UnloadDSIEntryPoints();
        dsi.reset();
    }

    DsiControl& dsi = *KestruneDsiStandIn();
};

TEST_F (DsiBinding, TableNamesTheEntryPointsInBindingOrder)
{
    const auto& names = DSIEntryPointNames();
    ASSERT_EQ (names.size(), std::size (kEntryNames));
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_STREQ (names[i], kEntryNames[i]) << "entry " << i;
}

TEST_F (DsiBinding, UsesTheEntryPointsOnlyWhenEveryOneIsBoundAndNoCardOfKind18IsThere)
{
    dsi.addDSP (dsi.addCard (26, 1));
    const LoadOutcome expected = ExpectedLoad();
    EXPECT_EQ (LoadDSIEntryPoints(), expected.result);
    EXPECT_EQ (DsiCompat_UseDsiEntries(), expected.useEntries);

    DSICardRecord* card18 = dsi.addCard (18, 0);
    dsi.addDSP (card18);
    EXPECT_EQ (LoadDSIEntryPoints(), expected.result) << "a second load binds afresh";
    EXPECT_FALSE (DsiCompat_UseDsiEntries()) << "a card of kind 18 keeps the records in use";
    EXPECT_TRUE (DsiCompat_IsCardType18 (card18->fFirstDSP));

    UnloadDSIEntryPoints();
    EXPECT_FALSE (DsiCompat_UseDsiEntries());
    EXPECT_EQ (ShimDsiIsPresto (card18->fFirstDSP, nullptr), -1) << "nothing stays bound after the unload";
}

TEST_F (DsiBinding, EveryShimReachesItsEntryPointOrAnswersMinusOne)
{
    DSICardRecord* card = dsi.addCard (26, 1);
    DSIDSPRecord* dsp = dsi.addDSP (card);
    dsi.setHostBit (dsp, 2, 1);
    LoadDSIEntryPoints();
    DSIShellRecord* shell = dsi.addShell();
    DSIShellRecord* created = nullptr;
    ShimDsiCreateShell (&created);

    int32_t number = 0;
    void* pointer = nullptr;
    DSIDSPRecord* otherDSP = nullptr;
    DSICardRecord* otherCard = nullptr;
    DSIShellRecord* otherShell = nullptr;
    DSIDSPInfoRecord info {};
    uint32_t id = 0;
    int32_t words[2] = {};
    const int32_t sent[2] = { 7, 8 };
    const std::vector<std::function<int32_t()>> calls = {
        [&] { return ShimDsiIsDSP321 (dsp, &number); },
        [&] { return ShimDsiGetDSPCardIndex (dsp, &number); },
        [&] { return ShimDsiIsPresto (dsp, &number); },
        [&] { return ShimDsiIsTDM2 (dsp, &number); },
        [&] { return ShimDsiGetCardTypeFromDSP (dsp, &number); },
        [&] { return ShimDsiDSPToDriverType (dsp, &number); },
        [&] { return ShimDsiGetNextDSP (dsp, &otherDSP); },
        [&] { return ShimDsiGetDSPClient (dsp, &pointer); },
        [&] { return ShimDsiGetDSPClientVal (dsp, &pointer); },
        [&] { return ShimDsiSetDSPClientVal (dsp, &number); },
        [&] { return ShimDsiGetDSPShell (dsp, &otherShell); },
        [&] { return ShimDsiGetDSPInfoRecord (dsp, &info); },
        [&] { return ShimDsiGetDSPCoreType (dsp, &number); },
        [&] { return ShimDsiGetNextCard (card, &otherCard); },
        [&] { return ShimDsiGetCardClient (card, &pointer); },
        [&] { return ShimDsiSetCardClient (card, &number); },
        [&] { return ShimDsiGetCardClientVal (card, &pointer); },
        [&] { return ShimDsiSetCardClientVal (card, &number); },
        [&] { return ShimDsiGetCardType (card, &number); },
        [&] { return ShimDsiGetFirstDSPOnCard (card, &otherDSP); },
        [&] { return ShimDsiGetNumDSPsOnCard (card, &number); },
        [&] { return ShimDsiIsCardTDM2 (card, &number); },
        [&] { return ShimDsiDoHostCommand (dsp, 5, 1000); },
        [&] { return ShimDsiDoHostCommandOnEmptyHostPort (dsp, 6, 1000); },
        [&] { return ShimDsiDoHostCommandWithDataList (dsp, 7, 1, 0, words, 0, sent); },
        [&] { return ShimDsiWaitHostBit (dsp, 2, 1, 1000); },
        [&] { return ShimDsiSendLo24of32 (dsp, 9, 1000); },
        [&] { dsi.queueWordsToHost (dsp, {3}); return ShimDsiGetLo24ofS32 (dsp, &number, 1000); },
        [&] { return ShimDsiSendLo24of32Check (dsp, 9, 1000, &number); },
        [&] { return ShimDsiGetLo24ofS32Check (dsp, &words[0], 1000, &number); },
        [&] { return ShimDsiSetHostBit (dsp, 5, 1); },
        [&] { return ShimDsiGetHostBit (dsp, 5, &number); },
        [&] { return ShimDsiCreateShell (&otherShell); },
        [&] { return ShimDsiDestroyShell (created); },
        [&] { return ShimDsiGetShellClient (shell, &pointer); },
        [&] { return ShimDsiGetShellClientVal (shell, &pointer); },
        [&] { return ShimDsiSetShellID (shell, 0x484D6B72); },
        [&] { return ShimDsiGetShellID (shell, &id); },
        [&] { return ShimDsiSetShellIsStandard (shell, 1); },
        [&] { return ShimDsiSetShellMaxLocation (shell, 0); },
        [&] { return ShimDsiSetShellDSPCode (shell, &number); },
        [&] { return ShimDsiShellDSPCodeIsNULL (shell, &number); },
        [&] { return ShimDsiSetShellHostCodeHandler (shell, nullptr); },
    };
    ASSERT_EQ (calls.size(), std::size (kEntryNames));
    for (size_t i = 0; i < calls.size(); ++i)
    {
        const std::string name = kEntryNames[i];
        if (! Offered (name) && name == kMiddleEntry)
            continue; // a shim with a fallback: below
        dsi.script().clearCalls();
        const int32_t result = calls[i]();
        EXPECT_EQ (result, Offered (name) ? 0 : -1) << name;
        EXPECT_EQ (dsi.script().countOf (name), Offered (name) ? 1u : 0u) << name;
    }
}

struct CardCase
{
    int32_t kind;
    int32_t revision;
    uint32_t flags;
    bool presto;
    bool tdm2;
    int32_t driverType;
};
// Independent of the library's table: the answers that the cards' records give.
const CardCase kCards[] = {
    { 10, 0, 0, false, false, 1072 },
    { 20, 0, 0, false, false, 61056 },
    { 21, 0, 1u << 9, false, false, 61072 },
    { 25, 0, 0, false, true, 61120 },
    { 26, 7, 0, true, true, 61120 },
    { 28, 2, 0, true, true, 61120 },
    { 28, 3, 1u << 9, false, true, 61120 },
    { 30, 0, 0, false, true, -1 },
    { 31, 3, 0, true, true, 61120 },
    { 31, 4, 0xFFFFFDFFu, false, true, 61120 },
    { 27, 0, 0, false, false, -1 },
};

TEST_F (DsiBinding, CompatibilityAnswersAgreeWhicheverRoadTheyTake)
{
    std::vector<DSIDSPRecord*> dsps;
    for (const CardCase& c : kCards)
        dsps.push_back (dsi.addDSP (dsi.addCard (c.kind, c.revision), c.flags, 40 + c.kind));
    LoadDSIEntryPoints();
    const bool entries = ExpectedLoad().useEntries;
    ASSERT_EQ (DsiCompat_UseDsiEntries(), entries);
    dsi.script().clearCalls();

    for (size_t i = 0; i < dsps.size(); ++i)
    {
        const CardCase& c = kCards[i];
        DSIDSPRecord* dsp = dsps[i];
        SCOPED_TRACE ("card kind " + std::to_string (c.kind) + " revision " + std::to_string (c.revision));
        EXPECT_EQ (DsiCompat_IsPresto (dsp), c.presto);
        EXPECT_EQ (DsiCompat_IsTDM2 (dsp), c.tdm2);
        EXPECT_EQ (DsiCompat_DSPToDriverType (dsp), c.driverType);
        EXPECT_EQ (DsiCompat_IsDSP321 (dsp), (c.flags & (1u << 9)) != 0);
        EXPECT_EQ (DsiCompat_GetCardTypeFromDSP (dsp), c.kind);
        EXPECT_EQ (DsiCompat_IsCardType21 (dsp), c.kind == 21);
        EXPECT_FALSE (DsiCompat_IsCardType18 (dsp));
        EXPECT_EQ (DsiCompat_GetDSPIndexField (dsp), entries ? 0 : int32_t (i));
        EXPECT_EQ (DsiCompat_GetNextDSP (dsp), i + 1 < dsps.size() ? dsps[i + 1] : nullptr);
        DSIDSPInfoRecord info {};
        EXPECT_EQ (DsiCompat_GetDSPInfoRecord (dsp, &info), 0);
        // Bytes beyond the host-port layout (registers or register addresses) keep the pattern.
        EXPECT_EQ (info.fBytes[32], uint8_t (i * 16 + 32));
        EXPECT_EQ (info.fBytes[79], uint8_t (i * 16 + 79));
        int value = 0;
        EXPECT_EQ (DsiCompat_SetDSPClientVal (dsp, &value), 0);
        EXPECT_EQ (DsiCompat_GetDSPClientVal (dsp), &value);
        EXPECT_EQ (dsp->fClientValue, &value);
        EXPECT_EQ (DsiCompat_GetDSPClient (dsp), nullptr);
    }
    EXPECT_TRUE (DsiCompat_HasDSP321());
    EXPECT_TRUE (DsiCompat_FindCard (31));
    EXPECT_FALSE (DsiCompat_FindCard (18));
    EXPECT_EQ (DsiCompat_FindCard (29), entries) << "through the entry points kind 29 stands for any DSP on a TDM2 card";

    if (entries)
        EXPECT_GT (dsi.script().countOf ("_DsiIsPresto@8"), 0u);
    else
        EXPECT_EQ (EntryCallsRecorded (dsi.script()), 0u) << "an incomplete set of entry points is not used at all";

    // The shim-only answers: from the library where it offers them, none otherwise.
    EXPECT_EQ (DsiCompat_GetDSPCoreType (dsps[0]), Offered ("_DsiGetDSPCoreType@8") ? 50 : -1);
    EXPECT_EQ (DsiCompat_GetDSPShell (dsps[0]), nullptr);
}

TEST_F (DsiBinding, FindCardStartsTheDriverAndThrowsItsError)
{
    dsi.addDSP (dsi.addCard (26, 0));
    LoadDSIEntryPoints();
    dsi.script().injectFailure ("InitSADriver", -6050);
    try
    {
        DsiCompat_FindCard (26);
        ADD_FAILURE() << "the driver's error is thrown";
    }
    catch (const CDAEError& error)
    {
        EXPECT_EQ (error.Code(), -6050);
    }
    EXPECT_TRUE (DsiCompat_FindCard (26));
}

TEST_F (DsiBinding, DriverTypeTableOfTheRecords)
{
    const std::pair<int32_t, int32_t> table[] = {
        { 10, 1072 },
        { 18, 60960 },
        { 20, 61056 },
        { 21, 61072 },
        { 25, 61120 },
        { 26, 61120 },
        { 28, 61120 },
        { 29, 61120 },
        { 31, 61120 },
    };
    for (int32_t kind = -1; kind <= 40; ++kind)
    {
        int32_t expected = -1;
        for (const auto& [tableKind, driverType] : table)
            if (tableKind == kind)
                expected = driverType;
        EXPECT_EQ (DsiCompat_DriverTypeOfCardKind (kind), expected) << "kind " << kind;
    }
}

TEST_F (DsiBinding, ShellsComeFromTheLibraryOrAreOurOwnRecords)
{
    LoadDSIEntryPoints();
    const bool entries = DsiCompat_UseDsiEntries();
    DSIShellRecord* shell = DsiCompat_CreateShell();
    ASSERT_NE (shell, nullptr);
    EXPECT_EQ (dsi.liveShells(), entries ? 1u : 0u);
    EXPECT_TRUE (DsiCompat_ShellDSPCodeIsNULL (shell));

    int code = 0;
    const bool canSetCode = Offered ("_DsiSetShellDSPCode@8");
    EXPECT_EQ (DsiCompat_SetShellDSPCode (shell, &code), canSetCode ? 0 : -1);
    EXPECT_EQ (DsiCompat_ShellDSPCodeIsNULL (shell), ! canSetCode);
    EXPECT_EQ (DsiCompat_SetShellID (shell, 0x484D6B72), Offered ("_DsiSetShellID@8") ? 0 : -1);
    EXPECT_EQ (shell->fID, Offered ("_DsiSetShellID@8") ? 0x484D6B72u : 0u);

    DsiCompat_DestroyShell (shell);
    EXPECT_EQ (dsi.liveShells(), 0u);
}

TEST_F (DsiBinding, DataListCommandFallsBackToSingleWords)
{
    DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (26, 0));
    dsi.setHostBit (dsp, 2, 1);
    LoadDSIEntryPoints();
    const bool offered = Offered (kMiddleEntry);
    const int32_t sent[3] = { 1, 2, 0x1234567 };

    for (const int32_t sendFirst : { 1, 0 })
    {
        SCOPED_TRACE ("send first " + std::to_string (sendFirst));
        dsi.reset();
        dsp = dsi.addDSP (dsi.addCard (26, 0));
        dsi.setHostBit (dsp, 2, 1);
        dsi.queueWordsToHost (dsp, { 0x800001, 5 });
        int32_t read[2] = {};
        const int32_t result = ShimDsiDoHostCommandWithDataList (dsp, 12, sendFirst, 2, read, 3, sent);
        if (kBuild == Build::None)
        {
            EXPECT_EQ (result, -1) << "no single-word entry points to fall back on";
            continue;
        }
        ASSERT_EQ (result, 0);
        EXPECT_EQ (dsi.wordsFromHost (dsp), (std::vector<int32_t> { 1, 2, 0x234567 }));
        EXPECT_EQ (dsi.hostCommands (dsp), (std::vector<int32_t> { 12 }));
        EXPECT_EQ (read[0], -8388607);
        EXPECT_EQ (read[1], 5);
        std::vector<std::string> expectedCalls;
        if (offered)
            expectedCalls = { kMiddleEntry };
        else if (sendFirst != 0)
            expectedCalls = { "_DsiSendLo24of32@12", "_DsiSendLo24of32@12", "_DsiSendLo24of32@12",
                              "_DsiDoHostCommandOnEmptyHostPort@12", "_DsiGetLo24ofS32@12", "_DsiGetLo24ofS32@12" };
        else
            expectedCalls = { "_DsiDoHostCommandOnEmptyHostPort@12", "_DsiSendLo24of32@12", "_DsiSendLo24of32@12",
                              "_DsiSendLo24of32@12", "_DsiGetLo24ofS32@12", "_DsiGetLo24ofS32@12" };
        EXPECT_EQ (dsi.script().callNames(), expectedCalls);
        for (const auto& call : dsi.script().callsOf ("_DsiSendLo24of32@12"))
            EXPECT_EQ (call.arguments.at (2), 1000000000);
    }

    if (! offered && kBuild != Build::None)
    {
        // The first error ends the exchange: a busy host port stops it before any word is read.
        dsi.reset();
        dsp = dsi.addDSP (dsi.addCard (26, 0));
        dsi.queueWordsToHost (dsp, { 4 });
        int32_t read[1] = {};
        EXPECT_EQ (ShimDsiDoHostCommandWithDataList (dsp, 12, 1, 1, read, 3, sent), kDsiTimeout);
        EXPECT_EQ (dsi.script().countOf ("_DsiGetLo24ofS32@12"), 0u);
        EXPECT_EQ (dsi.wordsFromHost (dsp).size(), 3u);
    }
}

TEST_F (DsiBinding, CommandOnEmptyHostPortWithoutAnyEntryPointAnswersMinusOne)
{
    DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (26, 0));
    dsi.setHostBit (dsp, 2, 1);
    LoadDSIEntryPoints();
    EXPECT_EQ (ShimDsiDoHostCommandOnEmptyHostPort (dsp, 3, 1000), kBuild == Build::None ? -1 : 0);
    EXPECT_EQ (dsi.hostCommands (dsp), kBuild == Build::None ? std::vector<int32_t> {} : std::vector<int32_t> { 3 });
}

TEST_F (DsiBinding, TimedWaitAcceptsSixMasks)
{
    DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (26, 0));
    LoadDSIEntryPoints();
    struct Case
    {
        int32_t mask;
        int32_t bit; // -1: refused
        int32_t value;
    };
    const Case cases[] = {
        { 1, 2, 1 },
        { 2, 1, 1 },
        { 4, 0, 1 },
        { 8, 7, 0 },
        { 16, 8, 1 },
        { 32, 9, 1 },
        { 0, -1, 0 },
        { 3, -1, 0 },
        { 64, -1, 0 },
        { -1, -1, 0 },
        { 31, -1, 0 },
    };
    for (const Case& c : cases)
    {
        dsi.script().clearCalls();
        if (c.bit >= 0)
            dsi.setHostBit (dsp, c.bit, c.value);
        const int32_t result = ShimDsiWaitHostBitTimed (dsp, c.mask);
        const auto waits = dsi.script().callsOf ("_DsiWaitHostBit@16");
        if (c.bit < 0 || kBuild == Build::None)
        {
            EXPECT_EQ (result, -1) << "mask " << c.mask;
            EXPECT_TRUE (waits.empty()) << "mask " << c.mask;
            continue;
        }
        EXPECT_EQ (result, 0) << "mask " << c.mask;
        ASSERT_EQ (waits.size(), 1u);
        EXPECT_EQ (waits[0].arguments, (std::vector<int64_t> { addressOf (dsp), c.bit, c.value, 1000000000 }));
    }
}

} // namespace
