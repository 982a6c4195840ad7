#include "PlugInLoader.h"

#include <stdexcept>
#include <utility>

namespace kestrune::host::rtas
{

namespace
{

#define KESTRUNE_STDCALL __attribute__ ((stdcall))
    using Word = uint32_t;

    using NewPlugInProc = int16_t (*) (int32_t);
    using GetRoutineDescriptorProc = int32_t (KESTRUNE_STDCALL*) (uint32_t, PlugInRoutine*);
    using WinPlugInOpenProc = int32_t (*) (int32_t);
    using WinPlugInCloseProc = int32_t (*)();

    template <typename... Words>
    int32_t callWith (PlugInRoutine routine, Words... words)
    {
        return reinterpret_cast<int32_t (KESTRUNE_STDCALL*) (Words...)> (routine) (words...);
    }

} // namespace

int32_t callPlugInRoutine (PlugInRoutine routine, const std::vector<uint32_t>& w)
{
    switch (w.size())
    {
        case 0: return callWith (routine);
        case 1: return callWith (routine, w[0]);
        case 2: return callWith (routine, w[0], w[1]);
        case 3: return callWith (routine, w[0], w[1], w[2]);
        case 4: return callWith (routine, w[0], w[1], w[2], w[3]);
        case 5: return callWith (routine, w[0], w[1], w[2], w[3], w[4]);
        case 6: return callWith (routine, w[0], w[1], w[2], w[3], w[4], w[5]);
        case 7: return callWith (routine, w[0], w[1], w[2], w[3], w[4], w[5], w[6]);
        default: throw std::invalid_argument ("a routine takes at most seven words");
    }
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
    engineControl_->reset();
    if (paths_.toolbox.empty())
        return true;
    if (toolbox_ == nullptr)
        toolbox_ = LoadLibraryA (paths_.toolbox.c_str());
    if (toolbox_ == nullptr)
        return false;
    toolboxControl_ = reinterpret_cast<HostExtControl* (*) ()> (GetProcAddress (toolbox_, kHostExtControlEntry))();
    toolboxControl_->reset();
    return true;
}

DaeControl& PlugInLoader::engine()
{
    if (engineControl_ == nullptr)
        throw std::logic_error ("the engine is not loaded");
    return *engineControl_;
}

HostExtControl* PlugInLoader::toolbox()
{
    return toolboxControl_;
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
    if (toolbox_ != nullptr)
        FreeLibrary (toolbox_);
    toolbox_ = nullptr;
    toolboxControl_ = nullptr;
    if (engine_ != nullptr)
        FreeLibrary (engine_);
    engine_ = nullptr;
    engineControl_ = nullptr;
}

} // namespace kestrune::host::rtas
