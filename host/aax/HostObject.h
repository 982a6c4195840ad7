// The reference-counted base of every stand-in host object.
#pragma once

#include "HostFramework.h"

#include <atomic>
#include <initializer_list>
#include <vector>

namespace kestrune::host::aax
{
// Implements IACFUnknown for an interface chain. The object answers IACFUnknown and the
// identifiers it is given; FindInterface may add others (or other objects). It starts with no
// reference, counts itself and its references in the framework's ledger and deletes itself
// when the last reference goes.
template <class Interface>
class HostObject : public Interface
{
public:
    HostObject (HostFramework& framework, std::initializer_list<acfIID> identifiers)
        : framework_ (framework), identifiers_ (identifiers)
    {
        framework_.ObjectCreated();
    }
    HostObject (const HostObject&) = delete;
    HostObject& operator= (const HostObject&) = delete;
    virtual ~HostObject() { framework_.ObjectDestroyed(); }

    ACFRESULT QueryInterface (const acfIID& iid, void** out) override
    {
        if (out == nullptr)
            return ACF_E_POINTER;
        *out = nullptr;
        if (framework_.QueryFails (iid))
            return ACF_E_NOINTERFACE;
        IACFUnknown* found = FindInterface (iid);
        if (found == nullptr)
            return ACF_E_NOINTERFACE;
        found->AddRef();
        *out = found;
        return ACF_OK;
    }

    uint32_t AddRef() override
    {
        framework_.ReferenceAdded();
        return ++references_;
    }

    uint32_t Release() override
    {
        framework_.ReferenceReleased();
        const uint32_t remaining = --references_;
        if (remaining == 0)
            delete this;
        return remaining;
    }

    HostFramework& Framework() const { return framework_; }

protected:
    virtual IACFUnknown* FindInterface (const acfIID& iid)
    {
        if (iid == IID_IACFUnknown)
            return this;
        for (const acfIID& own : identifiers_)
            if (own == iid)
                return this;
        return nullptr;
    }

private:
    HostFramework& framework_;
    std::vector<acfIID> identifiers_;
    std::atomic<uint32_t> references_ { 0 };
};

// Makes a host object and takes the first reference to it.
template <class Object, class... Args>
Object* NewHostObject (Args&&... args)
{
    auto* object = new Object (std::forward<Args> (args)...);
    object->AddRef();
    return object;
}
} // namespace kestrune::host::aax
