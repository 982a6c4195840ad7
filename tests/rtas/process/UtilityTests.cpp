#include <cstring>

#include <gtest/gtest.h>

#include "process/base/ByteSwap.h"
#include "process/base/CDAEError.h"
#include "process/base/CValueHolder.h"
#include "process/base/RoutineGuard.h"
#include "process/utilities/StemFormats.h"
#include "process/utilities/ViewlessMode.h"

TEST (ByteSwapTest, SwapsReverseTheBytes)
{
    int32_t value = 0x11223344;
    EXPECT_EQ (SwapLongInPlace (&value), 0x44332211);
    EXPECT_EQ (value, 0x44332211);
    int32_t negative = -2;
    EXPECT_EQ (static_cast<uint32_t> (SwapLongInPlace (&negative)), 0xFEFFFFFFu);
    EXPECT_EQ (SwapLongLong (0x0102030405060708ull), 0x0807060504030201ull);

    const uint8_t record[] = { 0x9A, 0x01, 0x02, 0x03, 0x04, 0x05 };
    EXPECT_EQ (FirstByteOf (record), 0x9A);
    const int16_t field = ShortFieldAt (record, 1);
    EXPECT_EQ (std::memcmp (&field, record + 1, 2), 0);
    const int32_t a = 7, b = 7, c = 8;
    EXPECT_TRUE (LongsEqual (&a, &b));
    EXPECT_FALSE (LongsEqual (&a, &c));
}

TEST (StemFormatTest, FormatIndexesGiveTheirChannelCounts)
{
    const std::pair<int32_t, int32_t> table[] = {
        { 0, 1 },
        { 1, 2 },
        { 2, 3 },
        { 3, 4 },
        { 4, 4 },
        { 5, 5 },
        { 6, 6 },
        { 7, 6 },
        { 8, 7 },
        { 9, 7 },
        { 10, 8 },
    };
    for (const auto& [index, channels] : table)
        EXPECT_EQ (MapFormatIndexToCode (index), channels) << index;
    for (int32_t bad : { -1, 11, -100, 1000 })
    {
        try
        {
            MapFormatIndexToCode (bad);
            ADD_FAILURE() << bad << " was accepted";
        }
        catch (const CDAEError& e)
        {
            EXPECT_EQ (e.Code(), -7401);
        }
    }
}

// The process-wide flags keep their state between tests: one test walks through them in order.
TEST (ViewlessModeTest, EitherTheFlagOrTheViewlessOpenTurnsViewsOff)
{
    EXPECT_FALSE (IsViewlessMode());
    SetViewlessMode (true);
    EXPECT_TRUE (IsViewlessMode());
    SetViewlessMode (false);
    EXPECT_FALSE (IsViewlessMode());
    SetOpenedByWinPlugInOpen (true);
    EXPECT_TRUE (OpenedByWinPlugInOpen());
    EXPECT_TRUE (IsViewlessMode());
    SetViewlessMode (false);
    EXPECT_TRUE (IsViewlessMode());
    SetOpenedByWinPlugInOpen (false);
    EXPECT_FALSE (OpenedByWinPlugInOpen());
    EXPECT_FALSE (IsViewlessMode());
}

TEST (RoutineGuardTest, TheGuardOnlyNotesANonzeroLock)
{
    EXPECT_EQ (gRoutineLock, 0);
    const RoutineGuard idle (gRoutineLock);
    EXPECT_EQ (idle.fWord, 0);
    EXPECT_EQ (idle.fFlag, 0);
    const RoutineGuard held (5);
    EXPECT_EQ (held.fWord, 0);
    EXPECT_EQ (held.fFlag, 1);
}

TEST (ValueHolderTest, TakeHandsOutTheValueAndLeavesZero)
{
    CValueHolder holder;
    EXPECT_EQ (holder.Get(), 0);
    holder.Set (-17);
    EXPECT_EQ (holder.Get(), -17);
    EXPECT_EQ (holder.Take(), -17);
    EXPECT_EQ (holder.Get(), 0);
    EXPECT_EQ (holder.Take(), 0);
}
