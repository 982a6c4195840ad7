#include "process/RoutineGuard.h"

int32_t gRoutineLock = 0;
