#include "process/base/DOAUnknown.h"

namespace DOA
{

bool IsEqualID (const GUID& a, const GUID& b)
{
    return a == b;
}

CUnknown::CUnknown() : fOwner (this) {}

CUnknown::CUnknown (INondelegatingUnknown* outer) : fOwner (outer != nullptr ? outer : this) {}

int32_t CUnknown::NonDelegatingQueryInterface (const GUID& iid, void** out)
{
    if (out == nullptr)
        return kNullOutPointer;
    if (IsEqualID (iid, IID_IUnknown))
    {
        INondelegatingUnknown* self = this;
        *out = self;
        self->NonDelegatingAddRef();
        return 0;
    }
    *out = nullptr;
    return kNoInterface;
}

uint32_t CUnknown::NonDelegatingAddRef()
{
    return static_cast<uint32_t> (++fReferenceCount);
}

uint32_t CUnknown::NonDelegatingRelease()
{
    if (--fReferenceCount == 0)
    {
        delete this;
        return 0;
    }
    return static_cast<uint32_t> (fReferenceCount);
}

int32_t CUnknown::GetInterface (IUnknown* pointer, void** out)
{
    if (out == nullptr)
        return kNullOutPointer;
    *out = pointer;
    pointer->AddRef();
    return 0;
}

}
