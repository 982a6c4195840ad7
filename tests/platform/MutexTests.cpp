// Mutexes: recursive for their owner, exclusive towards other threads, shared by name.

#include <win/Win32.h>

#include <gtest/gtest.h>

#include <future>

namespace
{

DWORD waitFromAnotherThread (HANDLE mutex, bool release)
{
    return std::async (std::launch::async, [=] {
               const DWORD result = WaitForSingleObject (mutex, 0);
               if (result == WAIT_OBJECT_0 && release)
                   ReleaseMutex (mutex);
               return result;
           })
        .get();
}

TEST (Mutexes, TheOwnerTakesItAgainAndOthersWaitUntilEveryLevelIsReleased)
{
    HANDLE mutex = CreateMutexA (nullptr, FALSE, nullptr);
    ASSERT_NE (mutex, nullptr);
    EXPECT_EQ (WaitForSingleObject (mutex, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ (WaitForSingleObject (mutex, 0), WAIT_OBJECT_0);
    EXPECT_EQ (waitFromAnotherThread (mutex, true), WAIT_TIMEOUT);
    EXPECT_EQ (ReleaseMutex (mutex), TRUE);
    EXPECT_EQ (waitFromAnotherThread (mutex, true), WAIT_TIMEOUT);
    EXPECT_EQ (ReleaseMutex (mutex), TRUE);
    EXPECT_EQ (waitFromAnotherThread (mutex, true), WAIT_OBJECT_0);
    SetLastError (0);
    EXPECT_EQ (ReleaseMutex (mutex), FALSE);
    EXPECT_EQ (GetLastError(), ERROR_NOT_OWNER);
    EXPECT_EQ (CloseHandle (mutex), TRUE);
}

TEST (Mutexes, AnInitialOwnerHoldsItFromTheStart)
{
    HANDLE mutex = CreateMutexA (nullptr, TRUE, nullptr);
    EXPECT_EQ (waitFromAnotherThread (mutex, true), WAIT_TIMEOUT);
    EXPECT_EQ (ReleaseMutex (mutex), TRUE);
    EXPECT_EQ (waitFromAnotherThread (mutex, true), WAIT_OBJECT_0);
    EXPECT_EQ (CloseHandle (mutex), TRUE);
}

TEST (Mutexes, ANameOpensTheSameMutexUntilItsLastHandleCloses)
{
    HANDLE first = CreateMutexA (nullptr, FALSE, "packets");
    EXPECT_EQ (GetLastError(), ERROR_SUCCESS);
    HANDLE second = CreateMutexA (nullptr, TRUE, "packets");
    EXPECT_EQ (GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ (first, second);
    EXPECT_EQ (waitFromAnotherThread (first, true), WAIT_OBJECT_0) << "opening an existing mutex does not take it";
    EXPECT_EQ (CloseHandle (second), TRUE);
    EXPECT_EQ (CloseHandle (first), TRUE);
    HANDLE fresh = CreateMutexA (nullptr, FALSE, "packets");
    EXPECT_EQ (GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ (CloseHandle (fresh), TRUE);
    EXPECT_EQ (WaitForSingleObject (nullptr, 0), WAIT_FAILED);
    EXPECT_EQ (CloseHandle (nullptr), FALSE);
}

} // namespace
