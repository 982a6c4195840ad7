#include "HostContext.h"

#include <cstdio>

namespace kestrune::host::aax
{
namespace
{
    template <class Object>
    ACFRESULT Make (HostFramework& framework, const acfIID& iid, void** out)
    {
        auto* object = NewHostObject<Object> (framework);
        const ACFRESULT result = object->QueryInterface (iid, out);
        object->Release();
        return result;
    }

    std::string ClassName (const acfCLSID& classId)
    {
        char text[16];
        std::snprintf (text, sizeof (text), "%08X", classId.data1);
        return text;
    }
} // namespace

HostObjectFactory::HostObjectFactory (HostFramework& framework)
    : HostObject (framework, { IID_IACFObjectFactory })
{
}

ACFRESULT HostObjectFactory::CreateInstance (const acfCLSID& classId, IACFUnknown*, const acfIID& iid, void** out)
{
    if (out == nullptr)
        return ACF_E_POINTER;
    *out = nullptr;
    const int32_t scripted = Framework().Record ("ObjectFactory", 3, ClassName (classId));
    if (scripted != ACF_OK)
        return scripted;
    if (Framework().CreationFails (classId))
        return ACF_E_NOINTERFACE;
    if (classId == CLSID_HostServices)
        return Make<HostServices> (Framework(), iid, out);
    if (classId == CLSID_Collection)
        return Make<HostCollection> (Framework(), iid, out);
    if (classId == CLSID_EffectDescriptor)
        return Make<HostEffectDescriptor> (Framework(), iid, out);
    if (classId == CLSID_ComponentDescriptor)
        return Make<HostComponentDescriptor> (Framework(), iid, out);
    if (classId == CLSID_PropertyMap)
        return Make<HostPropertyMap> (Framework(), iid, out);
    return ACF_E_NOINTERFACE;
}

HostContext::HostContext (HostFramework& framework)
    : HostObject (framework, {}),
      factory_ (NewHostObject<HostObjectFactory> (framework)),
      controller_ (NewHostObject<HostController> (framework)),
      transport_ (NewHostObject<HostTransport> (framework)),
      automation_ (NewHostObject<HostAutomationDelegate> (framework))
{
}

HostContext::~HostContext()
{
    automation_->Release();
    transport_->Release();
    controller_->Release();
    factory_->Release();
}

ACFRESULT HostContext::QueryInterface (const acfIID& iid, void** out)
{
    if (iid == IID_IACFObjectFactory && out != nullptr && Framework().NullFactory() && ! Framework().QueryFails (iid))
    {
        *out = nullptr;
        return ACF_OK;
    }
    return HostObject::QueryInterface (iid, out);
}

IACFUnknown* HostContext::FindInterface (const acfIID& iid)
{
    if (iid == IID_IACFObjectFactory)
        return factory_;
    if (iid == IID_IACFController || iid == IID_IACFController_V2)
        return controller_;
    if (iid == IID_IACFTransport || iid == IID_IACFTransport_V2)
        return transport_;
    if (iid == IID_IACFAutomationDelegate)
        return automation_;
    if (iid == IID_IACFEffectParameters && parameters_ != nullptr)
    {
        // The instance's own object answers with its interface.
        void* answer = nullptr;
        if (parameters_->QueryInterface (iid, &answer) != ACF_OK || answer == nullptr)
            return nullptr;
        auto* own = static_cast<IACFUnknown*> (answer);
        own->Release();
        return own;
    }
    return HostObject::FindInterface (iid);
}
} // namespace kestrune::host::aax
