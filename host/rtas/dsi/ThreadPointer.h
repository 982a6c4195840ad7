#pragma once
// The thread pointer (the base of GS on i386, the first word of each thread's control block,
// which points at itself) across the register bus's signal handlers.
//
// A kernel keeps each thread's thread-local segment descriptor apart, so a signal return reloads
// GS with the thread's own base. User-mode emulation of i386 may keep one descriptor table for
// the whole process: a signal return then reloads GS from the descriptor as the last thread to
// set its pointer (a thread just created, say) left it, and the thread goes on with another
// thread's thread-local storage, errno and thread identity. The handlers put the pointer back
// wherever a signal return may have changed it; where it is already right they change nothing.

#include <csignal>
#include <cstdint>
#include <ucontext.h>

namespace kestrune::host::rtas::ThreadPointer
{

// The running thread's pointer as GS gives it now.
uint32_t current();

// Points GS at `pointer` again if it points elsewhere. Uses no thread-local storage, so it may
// run before the pointer is right.
void restore (uint32_t pointer);

// The last step of a handler of a synchronous signal whose frame is `context` and `info`: the
// interrupted code resumes through a step that restores `pointer` after the signal return, then
// goes on where it was with every register and flag as the context holds them.
void resumeRestoring (ucontext_t& context, siginfo_t& info, uint32_t pointer);

} // namespace kestrune::host::rtas::ThreadPointer
