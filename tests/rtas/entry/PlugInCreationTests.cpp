// Creating and destroying the plug-in group, turning exceptions into codes, and the entry
// glue's pieces that need no loaded module: the resource path and the byte-order fix-up.

#include "RecordingGroup.h"
#include "TestGroupFactory.h"

#include "entry/GroupFunctions.h"
#include "entry/PlugInEntry.h"
#include "entry/PlugInGroup.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <vector>

namespace
{

// A group whose initialisation and destruction do what a test asks.
class ScriptedGroup final : public CProcessGroupInterface
{
public:
    explicit ScriptedGroup (ThrownKind initialisation, bool throwOnDestruction = false)
        : fInitialisation (initialisation), fThrowOnDestruction (throwOnDestruction) { ++created; }
    ~ScriptedGroup() noexcept (false) override
    {
        globalDuringDestruction = PlugInGroup();
        S0ArgGroupFunc routine (&CProcessGroupInterface::GetGroupVersion);
        routineDuringDestructionFoundNoGroup = RunGroupFuncUnguarded (routine, 0) == -7003;
        if (destroyAgain)
            DestroyPlugInGroup();
        ++destroyed;
        if (fThrowOnDestruction)
            throw CDAEError (-7401);
    }

    int32_t Initialize() override
    {
        ++initialised;
        switch (fInitialisation)
        {
            case ThrownKind::kLibraryError: throw CDAEError (-7053);
            case ThrownKind::kLibraryErrorZero: throw CDAEError (0);
            case ThrownKind::kLibraryErrorTooWide: throw CDAEError (-40000);
            case ThrownKind::kOutOfMemory: throw std::bad_alloc();
            case ThrownKind::kContainerError: throw int16_t (-1);
            default: return 0;
        }
    }
    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }

    static inline int created = 0;
    static inline int destroyed = 0;
    static inline int initialised = 0;
    static inline CProcessGroupInterface* globalDuringDestruction = nullptr;
    static inline bool routineDuringDestructionFoundNoGroup = false;
    static inline bool destroyAgain = false;

private:
    ThrownKind fInitialisation;
    bool fThrowOnDestruction;
};

class PlugInCreation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ScriptedGroup::created = ScriptedGroup::destroyed = ScriptedGroup::initialised = 0;
        ScriptedGroup::globalDuringDestruction = reinterpret_cast<CProcessGroupInterface*> (this);
    }
    void TearDown() override
    {
        DestroyPlugInGroup();
        gTestGroupFactory = nullptr;
    }
    static void Makes (ThrownKind initialisation, bool throwOnDestruction = false)
    {
        gTestGroupFactory = [=] { return new ScriptedGroup (initialisation, throwOnDestruction); };
    }
};

TEST_F (PlugInCreation, AFactoryWithoutAGroupGivesMinus7003)
{
    gTestGroupFactory = [] { return nullptr; };
    EXPECT_EQ (NewPlugIn (0), -7003);
    EXPECT_EQ (PlugInGroup(), nullptr);
}

TEST_F (PlugInCreation, EachFailedInitialisationGivesItsCodeAndLeavesTheGroupForTheTeardown)
{
    const std::pair<ThrownKind, int16_t> cases[] = {
        { ThrownKind::kLibraryError, -7053 },
        { ThrownKind::kLibraryErrorZero, -7401 },
        { ThrownKind::kLibraryErrorTooWide, int16_t (-40000) }, // taken as 16 bits: 25536, still a failure
        { ThrownKind::kOutOfMemory, -7401 },
        { ThrownKind::kContainerError, -7401 },
    };
    for (const auto& [kind, code] : cases)
    {
        SCOPED_TRACE (code);
        Makes (kind);
        EXPECT_EQ (NewPlugIn (0), code);
        EXPECT_NE (PlugInGroup(), nullptr);
        DestroyPlugInGroup();
        EXPECT_EQ (PlugInGroup(), nullptr);
    }
    EXPECT_EQ (ScriptedGroup::destroyed, 5);
}

TEST_F (PlugInCreation, ASecondNewPlugInKeepsTheGroupItMadeFirst)
{
    Makes (ThrownKind::kNothing);
    ASSERT_EQ (NewPlugIn (0), 0);
    CProcessGroupInterface* first = PlugInGroup();
    EXPECT_EQ (NewPlugIn (0), 0);
    EXPECT_EQ (PlugInGroup(), first);
    EXPECT_EQ (ScriptedGroup::created, 1);
    EXPECT_EQ (ScriptedGroup::initialised, 1);
}

TEST_F (PlugInCreation, TheGroupReachesItselfWhileItIsDestroyedAndIsGoneAfterwardsEvenWhenItThrows)
{
    for (const bool throws : { false, true })
    {
        SCOPED_TRACE (throws);
        ScriptedGroup::destroyed = 0;
        Makes (ThrownKind::kNothing, throws);
        ASSERT_EQ (NewPlugIn (0), 0);
        CProcessGroupInterface* group = PlugInGroup();
        DestroyPlugInGroup();
        EXPECT_EQ (ScriptedGroup::destroyed, 1);
        EXPECT_EQ (ScriptedGroup::globalDuringDestruction, group) << "what the destructor ends reaches its group";
        EXPECT_TRUE (ScriptedGroup::routineDuringDestructionFoundNoGroup) << "the host's routines do not run on it";
        EXPECT_EQ (PlugInGroup(), nullptr) << "no one reaches the freed group";
        EXPECT_FALSE (IsPlugInGroupBeingDestroyed());
        DestroyPlugInGroup();
        EXPECT_EQ (ScriptedGroup::destroyed, 1);
    }
}

TEST_F (PlugInCreation, ADestructionStartedDuringDestructionDoesNothing)
{
    Makes (ThrownKind::kNothing);
    ASSERT_EQ (NewPlugIn (0), 0);
    ScriptedGroup::destroyAgain = true;
    DestroyPlugInGroup();
    ScriptedGroup::destroyAgain = false;
    EXPECT_EQ (ScriptedGroup::destroyed, 1) << "deleted once";
    EXPECT_EQ (PlugInGroup(), nullptr);
}

struct Throwing final : SGenFuncRetLong
{
    explicit Throwing (ThrownKind k) : kind (k) {}
    int32_t Call() override
    {
        switch (kind)
        {
            case ThrownKind::kOutOfMemory: throw std::bad_alloc();
            case ThrownKind::kLibraryError: throw CDAEError (-7125);
            case ThrownKind::kLibraryErrorZero: throw CDAEError (0);
            case ThrownKind::kLibraryErrorTooWide: throw CDAEError (70000);
            case ThrownKind::kContainerError: throw int16_t (-1);
            case ThrownKind::kOtherError: throw std::runtime_error ("unexpected");
            case ThrownKind::kNothing: break;
        }
        return -12;
    }
    ThrownKind kind;
};

TEST (ErrorConversion, HostRoutinesTurnEachExceptionIntoItsCode)
{
    const std::pair<ThrownKind, int32_t> cases[] = {
        { ThrownKind::kNothing, -12 },
        { ThrownKind::kOutOfMemory, -9006 },
        { ThrownKind::kLibraryError, -7125 },
        { ThrownKind::kLibraryErrorZero, -7401 },
        { ThrownKind::kLibraryErrorTooWide, 70000 },
        { ThrownKind::kContainerError, -7401 },
        { ThrownKind::kOtherError, -7401 },
    };
    for (const auto& [kind, code] : cases)
    {
        Throwing function (kind);
        EXPECT_EQ (CallCatchingErrors (function), code);
    }
}

TEST (ErrorConversion, OnlyCodesThatWouldReadAsSuccessIn16BitsBecomeMinus7401)
{
    const std::pair<int32_t, int32_t> cases[] = {
        { -7125, -7125 },
        { 0, -7401 },
        { 70000, 70000 },
        { 0x18000, 0x18000 },
        { 0x10000, -7401 },
        { -65536, -7401 },
        { -40000, -40000 },
        { 1, 1 },
        { 32767, 32767 },
        { -32768, -32768 },
    };
    for (const auto& [code, host] : cases)
        EXPECT_EQ (HostCodeOf (CDAEError (code)), host) << code;
}

TEST (ResourceFile, TheModulePathGetsItsSuffixOnlyWhenItFits)
{
    EXPECT_EQ (ResourcePathOf ("/plug-ins/KESTrune.dpm", 22), "/plug-ins/KESTrune.dpm.rsr");
    const std::string longest (255, 'p');
    EXPECT_EQ (ResourcePathOf (longest.c_str(), 255), longest + ".rsr");
    const std::string cut (255, 'p');
    EXPECT_EQ (ResourcePathOf (cut.c_str(), 256), std::nullopt) << "GetModuleFileNameA had to cut the path";
    EXPECT_EQ (ResourcePathOf ("", 0), std::nullopt);
    EXPECT_EQ (ResourcePathOf (nullptr, 3), std::nullopt);
}

TEST (ResourceFile, TheSwapTurnsComponentAndFragmentFieldsAndLeavesOtherTypes)
{
    std::vector<uint8_t> component (44);
    std::iota (component.begin(), component.end(), uint8_t (0));
    EXPECT_EQ (SwapPlugInResource (1, 0x74686e67, 128, component.data(), 44), 1);
    const std::vector<uint8_t> swapped = {
        0x03, 0x02, 0x01, 0x00, 0x07, 0x06, 0x05, 0x04, 0x0b, 0x0a, 0x09, 0x08, 0x0f, 0x0e, 0x0d, 0x0c,
        0x13, 0x12, 0x11, 0x10, 0x17, 0x16, 0x15, 0x14, 0x19, 0x18, 0x1d, 0x1c, 0x1b, 0x1a, 0x1f, 0x1e,
        0x23, 0x22, 0x21, 0x20, 0x25, 0x24, 0x29, 0x28, 0x27, 0x26, 0x2b, 0x2a
    };
    EXPECT_EQ (component, swapped);

    std::vector<uint8_t> fragment (40);
    std::iota (fragment.begin(), fragment.end(), uint8_t (0));
    EXPECT_EQ (SwapPlugInResource (1, 0x63667267, 0, fragment.data(), 40), 1);
    std::vector<uint8_t> expected (40);
    std::iota (expected.begin(), expected.end(), uint8_t (0));
    std::reverse (expected.begin() + 32, expected.begin() + 36);
    EXPECT_EQ (fragment, expected);

    std::vector<uint8_t> other (44);
    std::iota (other.begin(), other.end(), uint8_t (0));
    const std::vector<uint8_t> stored = other;
    for (const ResType type : { 0x54455854u, 0x7468696eu, 0u })
    {
        EXPECT_EQ (SwapPlugInResource (1, type, 1, other.data(), 44), 0);
        EXPECT_EQ (other, stored);
    }
    EXPECT_EQ (SwapPlugInResource (1, 0x74686e67, 128, nullptr, 44), 0);
}

// Each resource lies alone on the heap with exactly its size, so a swap past its end is caught.
TEST (ResourceFile, TheSwapTurnsOnlyTheFieldsInsideAShortResource)
{
    struct Case
    {
        ResType type;
        int32_t size;
        std::vector<uint8_t> swapped;
    };
    const Case cases[] = {
        { 0x74686e67, 0, {} },
        { 0x74686e67, 3, { 0x00, 0x01, 0x02 } },
        { 0x74686e67, 6, { 0x03, 0x02, 0x01, 0x00, 0x04, 0x05 } },
        { 0x74686e67, 25, { 0x03, 0x02, 0x01, 0x00, 0x07, 0x06, 0x05, 0x04, 0x0b, 0x0a, 0x09, 0x08, 0x0f, 0x0e, 0x0d, 0x0c, 0x13, 0x12, 0x11, 0x10, 0x17, 0x16, 0x15, 0x14, 0x18 } },
        { 0x74686e67, 43, { 0x03, 0x02, 0x01, 0x00, 0x07, 0x06, 0x05, 0x04, 0x0b, 0x0a, 0x09, 0x08, 0x0f, 0x0e, 0x0d, 0x0c, 0x13, 0x12, 0x11, 0x10, 0x17, 0x16, 0x15, 0x14, 0x19, 0x18, 0x1d, 0x1c, 0x1b, 0x1a, 0x1f, 0x1e, 0x23, 0x22, 0x21, 0x20, 0x25, 0x24, 0x29, 0x28, 0x27, 0x26, 0x2a } },
        { 0x63667267, 0, {} },
        { 0x63667267, 35, { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34 } },
        { 0x63667267, 36, { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 35, 34, 33, 32 } },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (testing::Message() << std::hex << c.type << std::dec << " of " << c.size << " bytes");
        const auto resource = std::make_unique<uint8_t[]> (size_t (c.size));
        std::iota (resource.get(), resource.get() + c.size, uint8_t (0));
        EXPECT_EQ (SwapPlugInResource (1, c.type, 128, resource.get(), c.size), 1);
        EXPECT_EQ (std::vector<uint8_t> (resource.get(), resource.get() + c.size), c.swapped);
    }
    uint8_t untouched[4] = { 1, 2, 3, 4 };
    EXPECT_EQ (SwapPlugInResource (1, 0x74686e67, 128, untouched, -4), 1) << "a negative size swaps nothing";
    EXPECT_EQ (std::vector<uint8_t> (untouched, untouched + 4), (std::vector<uint8_t> { 1, 2, 3, 4 }));
}

} // namespace
