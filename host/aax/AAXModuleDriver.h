// Loads an AAX module with dlopen and calls its seven exports as the host's framework does.
#pragma once

#include "HostContext.h"

#include <string>

namespace kestrune::host::aax
{
struct ModuleExports
{
    ACFRegisterPluginProc registerPlugin = nullptr;
    ACFRegisterComponentProc registerComponent = nullptr;
    ACFGetClassFactoryProc getClassFactory = nullptr;
    ACFCanUnloadNowProc canUnloadNow = nullptr;
    ACFStartupProc startup = nullptr;
    ACFShutdownProc shutdown = nullptr;
    ACFGetSDKVersionProc getSDKVersion = nullptr;
};

class AAXModuleDriver
{
public:
    // Throws std::runtime_error when the file does not load or lacks one of the exports.
    AAXModuleDriver (HostFramework& framework, const std::string& path);
    AAXModuleDriver (const AAXModuleDriver&) = delete;
    AAXModuleDriver& operator= (const AAXModuleDriver&) = delete;
    // Drops the definition and the host unknown, then unloads the file.
    ~AAXModuleDriver();

    const ModuleExports& Exports() const { return exports_; }
    // The host unknown the driver hands to the module.
    HostContext& Host() const { return *host_; }

    ACFRESULT Startup();
    ACFRESULT Shutdown();
    // Registers the plug-in; on success the definition is kept until the driver goes.
    ACFRESULT RegisterPlugin();
    IACFPluginDefinition* Definition() const { return definition_; }
    ACFRESULT CanUnloadNow() const;
    // Whether the module exports any symbol of that name.
    bool HasSymbol (const char* name) const;

    // Calls a factory procedure the description registered and asks the object for iid;
    // null when there is no such procedure, no object or no such interface.
    IACFUnknown* CreateObject (int32_t procedureKind, const acfIID& iid, size_t effect = 0) const;

private:
    HostFramework& framework_;
    void* handle_ = nullptr;
    ModuleExports exports_;
    HostContext* host_ = nullptr;
    IACFPluginDefinition* definition_ = nullptr;
};
} // namespace kestrune::host::aax
