#pragma once
// A scoped guard held around host calls. This platform takes no lock: the library-wide routine
// lock word stays 0, and the guard only notes whether it was nonzero.

#include <cstdint>

extern int32_t gRoutineLock;

struct RoutineGuard
{
    explicit RoutineGuard (int32_t routineLock) : fFlag (routineLock != 0 ? 1 : 0) {}
    RoutineGuard (const RoutineGuard&) = delete;
    RoutineGuard& operator= (const RoutineGuard&) = delete;

    int32_t fWord = 0;
    uint8_t fFlag;
};
