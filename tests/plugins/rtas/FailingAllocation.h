// The allocation functions of a test program that links FailingAllocation.cpp: a thread can have
// its next throwing allocation fail (std::bad_alloc), as when the memory runs out just then.
#pragma once

// Whether the calling thread's next throwing allocation fails.
void FailNextAllocation (bool fail);
bool NextAllocationFails();
