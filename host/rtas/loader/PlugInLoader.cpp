#include "PlugInLoader.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace kestrune::host::rtas
{

namespace
{

#define KESTRUNE_STDCALL __attribute__ ((stdcall))

    using NewPlugInProc = int16_t (*) (int32_t);
    using GetRoutineDescriptorProc = int32_t (KESTRUNE_STDCALL*) (uint32_t, PlugInRoutine*);
    using WinPlugInOpenProc = int32_t (*) (int32_t);
    using WinPlugInCloseProc = int32_t (*)();

    // The i386 System V ABI wants the stack 16-byte aligned at every call.
    constexpr int32_t kCallAlignment = 16;

    struct StackCall
    {
        int32_t result;
        uint32_t stackBefore; // the stack pointer before the words were pushed
        uint32_t stackAfter; // the stack pointer after the routine returned
    };

    // Pushes the words (the first word last, so that it lies lowest), calls the routine and
    // restores the stack pointer whatever the routine took off. Every register the routine may
    // change is an output or a clobber; the routine's address travels in eax.
    StackCall callWithStackWords (PlugInRoutine routine, const uint32_t* words, uint32_t count)
    {
        StackCall call {};
        uint32_t wordsLeft = count;
        uint32_t saved = 0;
        asm volatile(
            "movl %%esp, %[saved]\n\t"
            "leal (,%[left],4), %%edx\n\t"
            "subl %%edx, %%esp\n\t"
            "andl %[alignment], %%esp\n\t"
            "addl %%edx, %%esp\n\t"
            "movl %%esp, %[before]\n\t"
            "1:\n\t"
            "testl %[left], %[left]\n\t"
            "jz 2f\n\t"
            "pushl -4(%[words],%[left],4)\n\t"
            "decl %[left]\n\t"
            "jmp 1b\n\t"
            "2:\n\t"
            "call *%%eax\n\t"
            "movl %%esp, %%edx\n\t"
            "movl %[saved], %%esp\n\t"
            : "=a"(call.result), "=&d"(call.stackAfter), [saved] "=&S"(saved), [before] "=&b"(call.stackBefore),
              [left] "+c"(wordsLeft)
            : "0"(routine), [words] "D"(words), [alignment] "i"(-kCallAlignment)
            : "memory", "cc", "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "st", "st(1)", "st(2)",
              "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
        return call;
    }

} // namespace

int32_t callPlugInRoutine (PlugInRoutine routine, const std::vector<uint32_t>& words)
{
    const StackCall call = callWithStackWords (routine, words.data(), uint32_t (words.size()));
    if (call.stackAfter != call.stackBefore)
    {
        const int32_t taken = int32_t (call.stackAfter - call.stackBefore) / 4 + int32_t (words.size());
        throw std::logic_error ("the routine took " + std::to_string (taken) + " argument words off the stack; it was given "
                                + std::to_string (words.size()));
    }
    return call.result;
}

PlugInLoader::PlugInLoader (PlugInLoaderPaths paths) : paths_ (std::move (paths)) {}

PlugInLoader::~PlugInLoader()
{
    unloadPlugIn();
    unloadHost();
}

bool PlugInLoader::loadHost()
{
    if (engine_ == nullptr)
        engine_ = LoadLibraryA (paths_.engine.c_str());
    if (engine_ == nullptr)
        return false;
    engineControl_ = reinterpret_cast<DaeControl* (*) ()> (GetProcAddress (engine_, kDaeControlEntry))();
    trackerControl_ = reinterpret_cast<DaeObjectTrackerControl* (*) ()> (GetProcAddress (engine_, kDaeObjectTrackerEntry))();
    engineControl_->reset();
    return loadLibrary (paths_.cardLibrary, kDsiControlEntry, cardLibrary_, cardLibraryControl_)
           && loadLibrary (paths_.dspManager, kDSPManagerControlEntry, dspManager_, dspManagerControl_)
           && loadLibrary (paths_.toolbox, kHostExtControlEntry, toolbox_, toolboxControl_);
}

template <typename Control>
bool PlugInLoader::loadLibrary (const std::string& path, const char* controlEntry, HMODULE& module, Control*& control)
{
    if (path.empty())
        return true;
    if (module == nullptr)
        module = LoadLibraryA (path.c_str());
    if (module == nullptr)
        return false;
    control = reinterpret_cast<Control* (*) ()> (GetProcAddress (module, controlEntry))();
    control->reset();
    return true;
}

DaeControl& PlugInLoader::engine()
{
    if (engineControl_ == nullptr)
        throw std::logic_error ("the engine is not loaded");
    return *engineControl_;
}

DaeObjectTrackerControl& PlugInLoader::objectTracker()
{
    if (trackerControl_ == nullptr)
        throw std::logic_error ("the engine is not loaded");
    return *trackerControl_;
}

HostExtControl* PlugInLoader::toolbox()
{
    return toolboxControl_;
}

DsiControl* PlugInLoader::cardLibrary()
{
    return cardLibraryControl_;
}

DSPManagerControl* PlugInLoader::dspManager()
{
    return dspManagerControl_;
}

bool PlugInLoader::loadPlugIn()
{
    if (plugIn_ == nullptr)
        plugIn_ = LoadLibraryA (paths_.plugIn.c_str());
    return plugIn_ != nullptr;
}

FARPROC PlugInLoader::plugInSymbol (const char* name) const
{
    return plugIn_ == nullptr ? nullptr : GetProcAddress (plugIn_, name);
}

int32_t PlugInLoader::open (StartUpRoad road, int32_t key)
{
    if (road == StartUpRoad::kRegisteredProcedures)
    {
        const PlugInOpenProc procedure = engineControl_ == nullptr ? nullptr : engineControl_->openProc();
        return procedure == nullptr ? -1 : procedure();
    }
    const auto procedure = plugInExport<WinPlugInOpenProc> ("WinPlugInOpen");
    return procedure == nullptr ? -1 : procedure (key);
}

int32_t PlugInLoader::close (StartUpRoad road)
{
    if (road == StartUpRoad::kRegisteredProcedures)
    {
        const PlugInCloseProc procedure = engineControl_ == nullptr ? nullptr : engineControl_->closeProc();
        return procedure == nullptr ? -1 : procedure();
    }
    const auto procedure = plugInExport<WinPlugInCloseProc> ("WinPlugInClose");
    return procedure == nullptr ? -1 : procedure();
}

int32_t PlugInLoader::newPlugIn()
{
    const auto procedure = plugInExport<NewPlugInProc> ("NewPlugIn");
    return procedure == nullptr ? -1 : procedure (0);
}

int32_t PlugInLoader::routineDescriptor (uint32_t selector, PlugInRoutine* routine)
{
    const auto procedure = plugInExport<GetRoutineDescriptorProc> ("_PI_GetRoutineDescriptor");
    return procedure == nullptr ? -1 : procedure (selector, routine);
}

std::optional<PlugInRoutine> PlugInLoader::routine (uint32_t selector)
{
    PlugInRoutine routine = nullptr;
    if (routineDescriptor (selector, &routine) != 0 || routine == nullptr)
        return std::nullopt;
    return routine;
}

std::optional<int32_t> PlugInLoader::call (uint32_t selector, const std::vector<uint32_t>& words)
{
    const auto found = routine (selector);
    if (! found)
        return std::nullopt;
    return callPlugInRoutine (*found, words);
}

bool PlugInLoader::unloadPlugIn()
{
    if (plugIn_ == nullptr)
        return true;
    const std::string path = paths_.plugIn;
    FreeLibrary (plugIn_);
    plugIn_ = nullptr;
    // Gone when the loader no longer knows the file.
    const size_t slash = path.find_last_of ('/');
    return GetModuleHandleA (path.substr (slash == std::string::npos ? 0 : slash + 1).c_str()) == nullptr;
}

void PlugInLoader::unloadHost()
{
    const auto unload = [] (HMODULE& module, auto*& control) {
        if (module != nullptr)
            FreeLibrary (module);
        module = nullptr;
        control = nullptr;
    };
    unload (toolbox_, toolboxControl_);
    unload (dspManager_, dspManagerControl_);
    unload (cardLibrary_, cardLibraryControl_);
    unload (engine_, engineControl_);
    trackerControl_ = nullptr;
}

} // namespace kestrune::host::rtas
