#include "CACFUnknown.h"

namespace
{
kestrune::sync::LockedCount& LiveObjects()
{
    static kestrune::sync::LockedCount count;
    return count;
}
} // namespace

CACFUnknown::CACFUnknown() : outer_ (&private_), private_ (*this)
{
    LiveObjects().Increment();
}

CACFUnknown::~CACFUnknown()
{
    LiveObjects().Decrement();
}

int32_t CACFUnknown::GetActiveObjectCount()
{
    return LiveObjects().Get();
}

ACFRESULT CACFUnknown::InternalInitialize()
{
    return ACF_OK;
}

void CACFUnknown::FinalRelease() {}

void CACFUnknown::DeleteThis()
{
    delete this;
}

ACFRESULT CACFUnknown::InternalQueryInterface (const acfIID& iid, void** out)
{
    if (out == nullptr)
        return ACF_E_POINTER;
    if (iid == IID_IACFUnknown)
        return ProvideInterface (static_cast<IACFUnknown*> (&private_), out);
    *out = nullptr;
    return ACF_E_NOINTERFACE;
}

uint32_t CACFUnknown::InternalAddRef()
{
    return static_cast<uint32_t> (refCount_.Increment());
}

uint32_t CACFUnknown::InternalRelease()
{
    // The count is kept in a local: after DeleteThis no member may be read.
    const int32_t remaining = refCount_.Decrement();
    if (remaining == 0)
    {
        FinalRelease();
        DeleteThis();
    }
    return static_cast<uint32_t> (remaining);
}

ACFRESULT CACFUnknown::PrivateUnknown::QueryInterface (const acfIID& iid, void** out)
{
    return owner_.InternalQueryInterface (iid, out);
}

uint32_t CACFUnknown::PrivateUnknown::AddRef()
{
    return owner_.InternalAddRef();
}

uint32_t CACFUnknown::PrivateUnknown::Release()
{
    return owner_.InternalRelease();
}
