#pragma once
// COM-style reference-counted base objects. Counts are plain: every object is created, referenced
// and released on the host thread that drives the plug-in.

#include <cstdint>

#include <abi/HostTypes.h>

namespace DOA
{

// Interface identifiers are the host's: one 128-bit record type for the library and the host.
using GUID = ::HostGUID;

bool IsEqualID (const GUID& a, const GUID& b);

inline constexpr GUID IID_IUnknown = IID_IHostUnknown;
inline constexpr int32_t kNoInterface = kHostNoInterface;
inline constexpr int32_t kNullOutPointer = kHostNullOutPointer;

class IUnknown
{
public:
    virtual int32_t QueryInterface (const GUID& iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    virtual ~IUnknown() = default;
};

class INondelegatingUnknown
{
public:
    virtual int32_t NonDelegatingQueryInterface (const GUID& iid, void** out) = 0;
    virtual uint32_t NonDelegatingAddRef() = 0;
    virtual uint32_t NonDelegatingRelease() = 0;
    virtual ~INondelegatingUnknown() = default;
};

// Starts with one reference. The owner is the controlling unknown: the object itself, or the outer
// object when it is aggregated. Classes that carry an interface part forward that interface's three
// operations unchanged to the owner (Owner()).
class CUnknown : public INondelegatingUnknown
{
public:
    CUnknown();
    explicit CUnknown (INondelegatingUnknown* outer);
    CUnknown (const CUnknown&) = delete;
    CUnknown& operator= (const CUnknown&) = delete;

    // [host thread] Answers IUnknown with the nondelegating interface; derived classes answer theirs
    // first. A null out pointer answers E_POINTER (0x80004003) and nothing is written.
    int32_t NonDelegatingQueryInterface (const GUID& iid, void** out) override;
    // [host thread]
    uint32_t NonDelegatingAddRef() override;
    // [host thread] Deletes the object when the count reaches 0.
    uint32_t NonDelegatingRelease() override;
    ~CUnknown() override = default;

    // Stores the interface and adds a reference through it; 0. A null out pointer answers
    // E_POINTER (0x80004003) and adds no reference.
    static int32_t GetInterface (IUnknown* pointer, void** out);

    INondelegatingUnknown* Owner() const { return fOwner; }
    int32_t ReferenceCount() const { return fReferenceCount; }

private:
    int32_t fReferenceCount = 1;
    INondelegatingUnknown* fOwner;
};

// An interface part of an object that also derives from CUnknown: the interface's three
// reference-counting operations go unchanged to the object's owner. [host thread]
template <class Interface, class Object>
class CDelegatingInterface : public Interface
{
public:
    int32_t QueryInterface (const GUID& iid, void** out) override { return OwnerOfObject().NonDelegatingQueryInterface (iid, out); }
    uint32_t AddRef() override { return OwnerOfObject().NonDelegatingAddRef(); }
    uint32_t Release() override { return OwnerOfObject().NonDelegatingRelease(); }

protected:
    ~CDelegatingInterface() override = default;

private:
    INondelegatingUnknown& OwnerOfObject() { return *static_cast<Object&> (*this).Owner(); }
};

}
