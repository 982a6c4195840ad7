#include "process/base/RoutineGuard.h"

int32_t gRoutineLock = 0;
