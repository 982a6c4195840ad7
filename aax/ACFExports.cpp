// The seven functions the host's component framework looks up in the module.
#include "ACFGuard.h"
#include "ACFModule.h"

#include "CACFUnknown.h"

#include <memory>

namespace
{
std::unique_ptr<AAX_VHostServices>& HostServices()
{
    static std::unique_ptr<AAX_VHostServices> services;
    return services;
}
} // namespace

AAX_IHostServices* AAX_GetHostServices()
{
    return HostServices().get();
}

// [host thread] Lets the plug-in describe itself, then hands the host the definition.
ACFRESULT ACFRegisterPlugin (IACFUnknown* host, IACFPluginDefinition** outDefinition)
{
    if (outDefinition != nullptr)
        *outDefinition = nullptr;
    return Guarded ([&]() -> ACFRESULT {
        AAX_VCollection collection (host);
        const int32_t result = GetEffectDescriptions (&collection);
        if (result != AAX_SUCCESS)
            return result;
        AAX_IACFCollection* hostCollection = collection.GetHostCollection();
        void* definition = nullptr;
        if (outDefinition == nullptr || hostCollection == nullptr
            || hostCollection->QueryInterface (IID_IACFPluginDefinition, &definition) != ACF_OK
            || definition == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        *outDefinition = static_cast<IACFPluginDefinition*> (definition);
        return AAX_SUCCESS;
    });
}

// [host thread] The module registers no components of its own.
ACFRESULT ACFRegisterComponent (IACFUnknown*, const acfCLSID*, IACFUnknown** outComponent)
{
    if (outComponent != nullptr)
        *outComponent = nullptr;
    return ACF_OK;
}

// [host thread] Instances come from the description's factory procedures, not a class factory.
ACFRESULT ACFGetClassFactory (IACFUnknown*, const acfCLSID*, const acfIID*, void** outFactory)
{
    if (outFactory != nullptr)
        *outFactory = nullptr;
    return AAX_ERROR_UNIMPLEMENTED;
}

// [any thread] 0 when no object of the module is alive any more.
ACFRESULT ACFCanUnloadNow()
{
    return CACFUnknown::GetActiveObjectCount();
}

// [host thread] Called before anything else.
ACFRESULT ACFStartup (IACFUnknown* host)
{
    return Guarded ([&]() -> ACFRESULT {
        if (! HostServices() && host != nullptr)
            HostServices() = std::make_unique<AAX_VHostServices> (host);
        return ACF_OK;
    });
}

// [host thread] Called last.
ACFRESULT ACFShutdown (IACFUnknown*)
{
    return Guarded ([&]() -> ACFRESULT {
        HostServices().reset();
        return ACF_OK;
    });
}

ACFRESULT ACFGetSDKVersion (uint64_t* outVersion)
{
    if (outVersion == nullptr)
        return ACF_E_POINTER;
    *outVersion = ACF_SDK_VERSION;
    return ACF_OK;
}
