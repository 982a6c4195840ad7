// The toolbox's memory blocks: sizes, locking, moving, errors.

#include "HostExtFixture.h"

#include <cstring>

namespace
{

using HostExtMemory = HostExtTest;

TEST_F (HostExtMemory, ABlockHasItsSizeAndClearBlocksAreZero)
{
    Handle block = host.NewHandleClear (16);
    ASSERT_NE (block, nullptr);
    EXPECT_EQ (host.MemError(), noErr);
    EXPECT_EQ (host.GetHandleSize (block), 16);
    EXPECT_EQ (std::memcmp (*block, std::string (16, '\0').data(), 16), 0);
    EXPECT_EQ (host.HandleData (block), *block);
    host.DisposeHandle (block);
    EXPECT_EQ (host.MemError(), noErr);
    EXPECT_EQ (toolbox.liveHandles(), 0u);
    EXPECT_EQ (host.GetHandleSize (block), 0);
    EXPECT_EQ (host.MemError(), nilHandleErr);
    EXPECT_EQ (host.NewHandle (-1), nullptr);
    EXPECT_EQ (host.MemError(), paramErr);
}

TEST_F (HostExtMemory, LockedDataStaysWhereUnlockedDataMoves)
{
    Handle locked = host.NewHandle (8);
    Handle unlocked = host.NewHandle (8);
    std::memcpy (*unlocked, "movable", 8);
    host.HLock (locked);
    EXPECT_TRUE (toolbox.isLocked (locked));
    const Ptr lockedData = *locked;
    const Ptr unlockedData = *unlocked;

    toolbox.compactMemory();
    EXPECT_EQ (*locked, lockedData);
    EXPECT_NE (*unlocked, unlockedData);
    EXPECT_STREQ (*unlocked, "movable") << "moving keeps the content";

    host.MoveHHi (locked);
    EXPECT_EQ (host.MemError(), memLockedErr);
    EXPECT_EQ (*locked, lockedData);
    host.HUnlock (locked);
    host.MoveHHi (locked);
    EXPECT_EQ (host.MemError(), noErr);
    EXPECT_NE (*locked, lockedData);
}

TEST_F (HostExtMemory, ALockedBlockCannotGrowButCanShrink)
{
    Handle block = host.NewHandle (8);
    host.HLock (block);
    host.SetHandleSize (block, 9);
    EXPECT_EQ (host.MemError(), memLockedErr);
    EXPECT_EQ (host.GetHandleSize (block), 8);
    host.SetHandleSize (block, 4);
    EXPECT_EQ (host.MemError(), noErr);
    EXPECT_EQ (host.GetHandleSize (block), 4);
    host.HUnlock (block);
    std::memcpy (*block, "abc", 4);
    host.SetHandleSize (block, 4000);
    EXPECT_EQ (host.GetHandleSize (block), 4000);
    EXPECT_STREQ (*block, "abc");
}

TEST_F (HostExtMemory, InjectedFailuresGiveNullAndTheMemoryError)
{
    toolbox.script().injectFailure ("NewHandle", memFullErr);
    EXPECT_EQ (host.NewHandle (10), nullptr);
    EXPECT_EQ (host.MemError(), memFullErr);
    EXPECT_NE (host.NewHandle (10), nullptr);
    EXPECT_EQ (host.MemError(), noErr);
    host.HLock (nullptr);
    EXPECT_EQ (host.MemError(), nilHandleErr);
    EXPECT_EQ (toolbox.script().callNames(),
               (std::vector<std::string> { "NewHandle", "MemError", "NewHandle", "MemError", "HLock", "MemError" }));
}

} // namespace
