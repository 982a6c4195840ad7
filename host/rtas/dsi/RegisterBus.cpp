// The bus behind the register windows: a write-protected page, a fault handler that lets the
// faulting access run by itself (trap flag) and a trap handler that shows it to the device.
// Everything the handlers touch is lock-free or owned through the bus lock; they call only
// functions that are safe in a handler of a synchronous fault.
//
// The fault handler opens the page only as far as the fault asks: for a read, to reads. An
// instruction that reads and then writes (an OR into a register, say) may fault as a read first,
// as user-mode emulation reports it; its write then faults too, within the same step, and the
// device sees the one write, as it does where the first fault already reports the write.

#include "RegisterBus.h"

#include "ThreadPointer.h"

#include <array>
#include <atomic>
#include <csignal>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

namespace kestrune::host::rtas
{

namespace
{
    constexpr size_t kMaxWindows = 256;
    constexpr int kMaxPending = 4;
    constexpr greg_t kTrapFlag = 0x100;

    struct PendingAccess
    {
        RegisterWindow* window;
        size_t offset;
        bool write;
    };

    std::array<std::atomic<RegisterWindow*>, kMaxWindows> gWindows {};
    std::atomic<pid_t> gOwner { 0 };
    int gHoldDepth = 0; // levels taken through Bus::Hold by the owner
    bool gAcquiredByHold = false; // the outermost Hold took the lock (a trap had not)
    std::array<PendingAccess, kMaxPending> gPending {};
    int gPendingCount = 0;
    bool gAcquiredByTrap = false;
    uint32_t gStepThreadPointer = 0; // the stepping thread's own, taken at its first fault

    struct sigaction gPreviousFault
    {
    };
    struct sigaction gPreviousStep
    {
    };
    std::atomic<bool> gInstalled { false };

    // Asked of the kernel directly: in a handler GS may still point at another thread's control
    // block (see ThreadPointer.h), and the C library makes its system calls through it.
    pid_t currentThread()
    {
        pid_t id = SYS_gettid;
        asm volatile("int $0x80"
                     : "+a"(id)
                     :
                     : "memory");
        return id;
    }

    void acquire (pid_t self)
    {
        pid_t expected = 0;
        while (! gOwner.compare_exchange_weak (expected, self, std::memory_order_acquire))
        {
            expected = 0;
            syscall (SYS_sched_yield);
        }
    }

    void release()
    {
        gOwner.store (0, std::memory_order_release);
    }

    RegisterWindow* windowHolding (const uint8_t* address)
    {
        const size_t page = RegisterWindow::pageSize();
        for (auto& slot : gWindows)
        {
            RegisterWindow* window = slot.load (std::memory_order_acquire);
            if (window != nullptr && address >= window->hostRegisters() && address < window->hostRegisters() + page)
                return window;
        }
        return nullptr;
    }

    void passOn (const struct sigaction& previous, int signal, siginfo_t* info, void* context)
    {
        if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr)
        {
            previous.sa_sigaction (signal, info, context);
            return;
        }
        if (previous.sa_handler == SIG_IGN)
            return;
        if (previous.sa_handler == SIG_DFL || previous.sa_handler == nullptr)
        {
            // The default action: the faulting instruction runs again and ends the process.
            struct sigaction defaults
            {
            };
            defaults.sa_handler = SIG_DFL;
            sigaction (signal, &defaults, nullptr);
            if (signal == SIGTRAP)
                raise (signal);
            return;
        }
        previous.sa_handler (signal);
    }

    int protectionFor (bool watchReads)
    {
        return watchReads ? PROT_NONE : PROT_READ;
    }

    // Notes the access for the end of the step; a write where a read of the same register is
    // noted is the second half of one access that reads and writes.
    void notePending (RegisterWindow* window, size_t offset, bool write)
    {
        for (int i = 0; i < gPendingCount; ++i)
        {
            PendingAccess& access = gPending[size_t (i)];
            if (access.window == window && access.offset == offset)
            {
                access.write = access.write || write;
                return;
            }
        }
        if (gPendingCount < kMaxPending)
            gPending[size_t (gPendingCount++)] = { window, offset, write };
    }

    // The handlers align the stack themselves: user-mode emulation may enter them with %esp on a
    // 16-byte boundary, where the ABI has it there before the return address was pushed, and code
    // built for the ABI (the compiler's aligned spills, the address sanitizer's frames) relies on it.
    __attribute__ ((force_align_arg_pointer)) void onFault (int signal, siginfo_t* info, void* context)
    {
        auto* address = static_cast<uint8_t*> (info->si_addr);
        RegisterWindow* window = windowHolding (address);
        if (window == nullptr)
        {
            passOn (gPreviousFault, signal, info, context);
            return;
        }
        auto* machine = static_cast<ucontext_t*> (context);
        const pid_t self = currentThread();
        if (gOwner.load (std::memory_order_relaxed) != self)
        {
            acquire (self);
            gAcquiredByTrap = true;
        }
        // A second fault of the same step follows a signal return.
        if (gPendingCount == 0)
            gStepThreadPointer = ThreadPointer::current();
        else
            ThreadPointer::restore (gStepThreadPointer);
        const bool write = (machine->uc_mcontext.gregs[REG_ERR] & 2) != 0;
        notePending (window, size_t (address - window->hostRegisters()), write);
        mprotect (window->hostRegisters(), RegisterWindow::pageSize(), write ? PROT_READ | PROT_WRITE : PROT_READ);
        machine->uc_mcontext.gregs[REG_EFL] |= kTrapFlag;
    }

    __attribute__ ((force_align_arg_pointer)) void onStep (int signal, siginfo_t* info, void* context)
    {
        if (gOwner.load (std::memory_order_relaxed) != currentThread() || gPendingCount == 0)
        {
            passOn (gPreviousStep, signal, info, context);
            return;
        }
        ThreadPointer::restore (gStepThreadPointer);
        const uint32_t threadPointer = gStepThreadPointer;
        auto* machine = static_cast<ucontext_t*> (context);
        machine->uc_mcontext.gregs[REG_EFL] &= ~kTrapFlag;
        for (int i = 0; i < gPendingCount; ++i)
        {
            const PendingAccess& access = gPending[size_t (i)];
            access.window->deliver (access.offset, access.write);
            mprotect (access.window->hostRegisters(), RegisterWindow::pageSize(), protectionFor (access.window->watchingReads()));
        }
        gPendingCount = 0;
        if (gAcquiredByTrap)
        {
            gAcquiredByTrap = false;
            release();
        }
        ThreadPointer::resumeRestoring (*machine, *info, threadPointer);
    }

    void install()
    {
        if (gInstalled.exchange (true))
            return;
        struct sigaction fault
        {
        };
        fault.sa_sigaction = onFault;
        fault.sa_flags = SA_SIGINFO;
        sigemptyset (&fault.sa_mask);
        sigaction (SIGSEGV, &fault, &gPreviousFault);
        struct sigaction step
        {
        };
        step.sa_sigaction = onStep;
        step.sa_flags = SA_SIGINFO;
        sigemptyset (&step.sa_mask);
        sigaction (SIGTRAP, &step, &gPreviousStep);
    }

    void restoreIfOurs (int signal, const struct sigaction& previous, void (*ours) (int, siginfo_t*, void*))
    {
        struct sigaction current
        {
        };
        sigaction (signal, nullptr, &current);
        if ((current.sa_flags & SA_SIGINFO) != 0 && current.sa_sigaction == ours)
            sigaction (signal, &previous, nullptr);
    }
} // namespace

size_t RegisterWindow::pageSize()
{
    static const size_t size = size_t (sysconf (_SC_PAGESIZE));
    return size;
}

RegisterWindow* RegisterWindow::create (RegisterAccessHandler handler)
{
    install();
    const size_t bytes = 2 * pageSize();
    const int descriptor = memfd_create ("kestrune-dsp-registers", MFD_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    auto* window = new RegisterWindow();
    window->descriptor_ = descriptor;
    window->handler_ = handler;
    void* hostView = MAP_FAILED;
    void* deviceView = MAP_FAILED;
    if (ftruncate (descriptor, off_t (bytes)) == 0)
    {
        hostView = mmap (nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0);
        deviceView = mmap (nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0);
    }
    if (hostView == MAP_FAILED || deviceView == MAP_FAILED)
    {
        if (hostView != MAP_FAILED)
            munmap (hostView, bytes);
        if (deviceView != MAP_FAILED)
            munmap (deviceView, bytes);
        close (descriptor);
        delete window;
        return nullptr;
    }
    window->hostView_ = static_cast<uint8_t*> (hostView);
    window->deviceView_ = static_cast<uint8_t*> (deviceView);
    mprotect (window->hostRegisters(), pageSize(), PROT_READ);

    Bus::Hold hold;
    for (auto& slot : gWindows)
    {
        RegisterWindow* expected = nullptr;
        if (slot.compare_exchange_strong (expected, window))
            return window;
    }
    munmap (hostView, bytes);
    munmap (deviceView, bytes);
    close (descriptor);
    delete window;
    return nullptr;
}

void RegisterWindow::destroy (RegisterWindow* window)
{
    if (window == nullptr)
        return;
    {
        Bus::Hold hold;
        for (auto& slot : gWindows)
        {
            RegisterWindow* expected = window;
            if (slot.compare_exchange_strong (expected, nullptr))
                break;
        }
    }
    munmap (window->hostView_, 2 * pageSize());
    munmap (window->deviceView_, 2 * pageSize());
    close (window->descriptor_);
    delete window;
}

void RegisterWindow::deliver (size_t offset, bool write)
{
    if ((write || watchReads_) && device_ != nullptr)
        handler_ (device_, *this, offset, write);
}

void RegisterWindow::watchReads (bool watch)
{
    if (watchReads_ == watch)
        return;
    watchReads_ = watch;
    mprotect (hostRegisters(), pageSize(), protectionFor (watch));
}

Bus::Hold::Hold()
{
    const pid_t self = currentThread();
    if (gOwner.load (std::memory_order_relaxed) != self)
    {
        acquire (self);
        gAcquiredByHold = true;
    }
    ++gHoldDepth;
}

Bus::Hold::~Hold()
{
    if (--gHoldDepth == 0 && gAcquiredByHold)
    {
        gAcquiredByHold = false;
        release();
    }
}

void Bus::uninstall()
{
    if (! gInstalled.exchange (false))
        return;
    restoreIfOurs (SIGSEGV, gPreviousFault, onFault);
    restoreIfOurs (SIGTRAP, gPreviousStep, onStep);
}

} // namespace kestrune::host::rtas
