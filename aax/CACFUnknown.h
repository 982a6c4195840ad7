// The reference-counted base of every object the library hands to the host.
#pragma once

#include "ACFInterfaces.h"

#include <sync/LockedCount.h>

// Owns the object's reference count and answers the framework's IACFUnknown. A class the host
// sees derives first from its ACF interface and then from CACFUnknown; that interface's
// QueryInterface, AddRef and Release forward to GetOuterUnknown(). Every live CACFUnknown counts
// towards the module's live-object count, which decides when the module may be unloaded.
class CACFUnknown
{
public:
    CACFUnknown();
    CACFUnknown (const CACFUnknown&) = delete;
    CACFUnknown& operator= (const CACFUnknown&) = delete;
    virtual ~CACFUnknown();

    // Called once after construction by whoever makes the object; 0 means ready.
    virtual ACFRESULT InternalInitialize();
    // Called when the last reference goes, just before DeleteThis.
    virtual void FinalRelease();
    virtual void DeleteThis();

    // [any thread] The non-delegating operations.
    virtual ACFRESULT InternalQueryInterface (const acfIID& iid, void** out);
    virtual uint32_t InternalAddRef();
    virtual uint32_t InternalRelease();

    IACFUnknown* GetOuterUnknown() const { return outer_; }

    // Number of CACFUnknown objects alive in this module.
    static int32_t GetActiveObjectCount();

protected:
    // Hands out one of the object's interfaces with one reference added through it.
    template <class Interface>
    static ACFRESULT ProvideInterface (Interface* iface, void** out)
    {
        *out = iface;
        iface->AddRef();
        return ACF_OK;
    }

private:
    class PrivateUnknown final : public IACFUnknown
    {
    public:
        explicit PrivateUnknown (CACFUnknown& owner) : owner_ (owner) {}
        ACFRESULT QueryInterface (const acfIID& iid, void** out) override;
        uint32_t AddRef() override;
        uint32_t Release() override;

    private:
        CACFUnknown& owner_;
    };

    kestrune::sync::LockedCount refCount_;
    IACFUnknown* outer_;
    PrivateUnknown private_;
};
