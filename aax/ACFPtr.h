// One counted reference to a host interface, released when the holder goes.
#pragma once

#include "ACFInterfaces.h"

#include <utility>

template <class Interface>
class ACFPtr
{
public:
    ACFPtr() = default;
    // Takes over a reference the caller already owns (as QueryInterface hands one out).
    static ACFPtr Adopt (Interface* iface) { return ACFPtr (iface); }
    // Adds a reference of its own.
    static ACFPtr Retain (Interface* iface)
    {
        if (iface != nullptr)
            iface->AddRef();
        return ACFPtr (iface);
    }

    ACFPtr (ACFPtr&& other) noexcept : iface_ (std::exchange (other.iface_, nullptr)) {}
    ACFPtr& operator= (ACFPtr&& other) noexcept
    {
        if (this != &other)
        {
            Reset();
            iface_ = std::exchange (other.iface_, nullptr);
        }
        return *this;
    }
    ACFPtr (const ACFPtr&) = delete;
    ACFPtr& operator= (const ACFPtr&) = delete;
    ~ACFPtr() { Reset(); }

    void Reset()
    {
        if (Interface* old = std::exchange (iface_, nullptr))
            old->Release();
    }

    Interface* Get() const { return iface_; }
    Interface* operator->() const { return iface_; }
    explicit operator bool() const { return iface_ != nullptr; }

private:
    explicit ACFPtr (Interface* iface) : iface_ (iface) {}
    Interface* iface_ = nullptr;
};

// Asks source for an interface; a null source, a failed query or a null answer give null.
template <class Interface>
ACFPtr<Interface> QueryACFInterface (IACFUnknown* source, const acfIID& iid)
{
    if (source == nullptr)
        return {};
    void* raw = nullptr;
    if (source->QueryInterface (iid, &raw) != ACF_OK)
        return {};
    return ACFPtr<Interface>::Adopt (static_cast<Interface*> (raw));
}
