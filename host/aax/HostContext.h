// The host unknown handed to a module: it answers for the object factory and, for instances,
// the controller, transport and automation delegate.
#pragma once

#include "HostDescriptionObjects.h"
#include "HostServiceObjects.h"

namespace kestrune::host::aax
{
// Makes host services, collections, descriptors and property maps by class identifier.
class HostObjectFactory final : public HostObject<IACFObjectFactory>
{
public:
    explicit HostObjectFactory (HostFramework& framework);
    ACFRESULT CreateInstance (const acfCLSID& classId, IACFUnknown* outer, const acfIID& iid, void** out) override;
};

class HostContext final : public HostObject<IACFUnknown>
{
public:
    explicit HostContext (HostFramework& framework);
    ~HostContext() override;

    HostController& Controller() const { return *controller_; }
    HostTransport& Transport() const { return *transport_; }
    HostAutomationDelegate& AutomationDelegate() const { return *automation_; }
    // The instance this unknown belongs to, answered for its effect parameters (to its GUI);
    // not counted: the instance clears it before it goes.
    void SetEffectParameters (IACFUnknown* parameters) { parameters_ = parameters; }

    ACFRESULT QueryInterface (const acfIID& iid, void** out) override;

protected:
    IACFUnknown* FindInterface (const acfIID& iid) override;

private:
    HostObjectFactory* factory_;
    HostController* controller_;
    HostTransport* transport_;
    HostAutomationDelegate* automation_;
    IACFUnknown* parameters_ = nullptr;
};
} // namespace kestrune::host::aax
