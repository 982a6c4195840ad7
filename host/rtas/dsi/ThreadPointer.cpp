// Both steps are written in assembly: they run while GS may still point at another thread's
// control block, so they touch nothing through it but its first word, call the kernel directly
// rather than through the C library (whose system calls go through GS), and the resuming step
// keeps every register and flag of the interrupted code.

#include "ThreadPointer.h"

#include <cstring>
#include <sys/syscall.h>

static_assert (SYS_get_thread_area == 244 && SYS_set_thread_area == 243, "the numbers the steps below use");

extern "C"
{
    __attribute__ ((visibility ("hidden"))) void kestrune_restore_thread_pointer (uint32_t pointer);
    __attribute__ ((visibility ("hidden"))) void kestrune_resume_restoring_thread_pointer();
}

// kestrune_restore_thread_pointer (pointer): while GS's first word is not `pointer`, reads the
// descriptor GS selects, writes it back with `pointer` for its base and reloads GS from it. Gives
// up, leaving GS as it is, if the kernel refuses either. Keeps %ebx, %esi, %edi and %ebp.
//
// kestrune_resume_restoring_thread_pointer: entered from a signal return with the stack on three
// words: the pointer, the interrupted %eip and the interrupted %esp. Restores the pointer, puts
// the interrupted %eip just below the interrupted stack, and returns there with that stack.
asm(R"(
    .text
    .globl kestrune_restore_thread_pointer
    .hidden kestrune_restore_thread_pointer
    .type kestrune_restore_thread_pointer, @function
kestrune_restore_thread_pointer:
    pushl %ebx
    subl $16, %esp
1:  movl %gs:0, %eax
    cmpl 24(%esp), %eax
    je 2f
    movw %gs, %ax
    movzwl %ax, %eax
    shrl $3, %eax
    movl %eax, (%esp)
    movl %esp, %ebx
    movl $244, %eax
    int $0x80
    testl %eax, %eax
    jne 2f
    movl 24(%esp), %eax
    movl %eax, 4(%esp)
    movl $243, %eax
    int $0x80
    testl %eax, %eax
    jne 2f
    movw %gs, %ax
    movw %ax, %gs
    jmp 1b
2:  addl $16, %esp
    popl %ebx
    ret
    .size kestrune_restore_thread_pointer, . - kestrune_restore_thread_pointer

    .globl kestrune_resume_restoring_thread_pointer
    .hidden kestrune_resume_restoring_thread_pointer
    .type kestrune_resume_restoring_thread_pointer, @function
kestrune_resume_restoring_thread_pointer:
    pushfl
    pushal
    pushl 36(%esp)
    call kestrune_restore_thread_pointer
    addl $4, %esp
    movl 40(%esp), %eax
    movl 44(%esp), %ecx
    subl $4, %ecx
    movl %eax, (%ecx)
    movl %ecx, 44(%esp)
    popal
    popfl
    movl 8(%esp), %esp
    ret
    .size kestrune_resume_restoring_thread_pointer, . - kestrune_resume_restoring_thread_pointer
)");

namespace kestrune::host::rtas::ThreadPointer
{

uint32_t current()
{
    uint32_t pointer = 0;
    asm volatile("movl %%gs:0, %0"
                 : "=r"(pointer));
    return pointer;
}

void restore (uint32_t pointer)
{
    kestrune_restore_thread_pointer (pointer);
}

void resumeRestoring (ucontext_t& context, siginfo_t& info, uint32_t pointer)
{
    // The three words go into the frame's signal information, which a signal return does not
    // read. The resumed stack starts at them, so a signal taken during the step leaves them be.
    greg_t* registers = context.uc_mcontext.gregs;
    const uint32_t words[] = { pointer, uint32_t (registers[REG_EIP]), uint32_t (registers[REG_ESP]) };
    static_assert (sizeof words <= sizeof (siginfo_t));
    std::memcpy (&info, words, sizeof words);
    registers[REG_ESP] = greg_t (reinterpret_cast<uintptr_t> (&info));
    registers[REG_EIP] = greg_t (reinterpret_cast<uintptr_t> (&kestrune_resume_restoring_thread_pointer));
}

} // namespace kestrune::host::rtas::ThreadPointer
