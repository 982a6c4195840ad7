#include "AAXModuleDriver.h"

#include <dlfcn.h>

#include <stdexcept>

namespace kestrune::host::aax
{
namespace
{
    template <class Proc>
    void Bind (void* handle, const char* name, Proc& proc)
    {
        proc = reinterpret_cast<Proc> (dlsym (handle, name));
        if (proc == nullptr)
            throw std::runtime_error (std::string ("module lacks the export ") + name);
    }
} // namespace

AAXModuleDriver::AAXModuleDriver (HostFramework& framework, const std::string& path) : framework_ (framework)
{
    handle_ = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr)
        throw std::runtime_error ("cannot load " + path + ": " + dlerror());
    try
    {
        Bind (handle_, "ACFRegisterPlugin", exports_.registerPlugin);
        Bind (handle_, "ACFRegisterComponent", exports_.registerComponent);
        Bind (handle_, "ACFGetClassFactory", exports_.getClassFactory);
        Bind (handle_, "ACFCanUnloadNow", exports_.canUnloadNow);
        Bind (handle_, "ACFStartup", exports_.startup);
        Bind (handle_, "ACFShutdown", exports_.shutdown);
        Bind (handle_, "ACFGetSDKVersion", exports_.getSDKVersion);
    }
    catch (...)
    {
        dlclose (handle_);
        throw;
    }
    host_ = NewHostObject<HostContext> (framework_);
}

AAXModuleDriver::~AAXModuleDriver()
{
    if (definition_ != nullptr)
        definition_->Release();
    host_->Release();
    dlclose (handle_);
}

ACFRESULT AAXModuleDriver::Startup()
{
    return exports_.startup (host_);
}

ACFRESULT AAXModuleDriver::Shutdown()
{
    return exports_.shutdown (host_);
}

ACFRESULT AAXModuleDriver::RegisterPlugin()
{
    IACFPluginDefinition* definition = nullptr;
    const ACFRESULT result = exports_.registerPlugin (host_, &definition);
    if (result == ACF_OK && definition != nullptr)
    {
        if (definition_ != nullptr)
            definition_->Release();
        definition_ = definition;
    }
    return result;
}

ACFRESULT AAXModuleDriver::CanUnloadNow() const
{
    return exports_.canUnloadNow();
}

bool AAXModuleDriver::HasSymbol (const char* name) const
{
    return dlsym (handle_, name) != nullptr;
}

IACFUnknown* AAXModuleDriver::CreateObject (int32_t procedureKind, const acfIID& iid, size_t effect) const
{
    const auto& effects = framework_.Description().effects;
    if (effect >= effects.size())
        return nullptr;
    const RecordedProcedure* entry = effects[effect].Procedure (procedureKind);
    if (entry == nullptr)
        return nullptr;
    IACFUnknown* object = reinterpret_cast<AAX_CreateObjectProc> (entry->procedure)();
    if (object == nullptr)
        return nullptr;
    // Hold the object while asking, so that a refused interface still frees it.
    void* unknown = nullptr;
    if (object->QueryInterface (IID_IACFUnknown, &unknown) != ACF_OK || unknown == nullptr)
        return nullptr;
    void* wanted = nullptr;
    const ACFRESULT result = object->QueryInterface (iid, &wanted);
    static_cast<IACFUnknown*> (unknown)->Release();
    return result == ACF_OK ? static_cast<IACFUnknown*> (wanted) : nullptr;
}
} // namespace kestrune::host::aax
