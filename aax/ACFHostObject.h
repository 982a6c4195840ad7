// Making host objects through the host's object factory.
#pragma once

#include "ACFPtr.h"

#include <exception>

// An ACF failure raised inside the library; the exports turn it into a result code.
class ACFError : public std::exception
{
public:
    explicit ACFError (ACFRESULT code) : code_ (code) {}
    ACFRESULT Code() const { return code_; }
    const char* what() const noexcept override { return "ACF error"; }

private:
    ACFRESULT code_;
};

template <class Primary, class Second>
struct ACFHostObject
{
    ACFPtr<Primary> primary;
    ACFPtr<Second> second;
};

// Creates the host object of a class on host's object factory and returns the raw interfaces,
// each with one reference: the primary one (null when there is no factory or the creation
// failed) and, when secondIid is given, the new object's answer for it. A factory query that
// succeeds with a null factory raises ACFError(ACF_E_POINTER).
void CreateACFHostObject (IACFUnknown* host, const acfCLSID& classId, const acfIID& iid,
                          const acfIID* secondIid, void*& outPrimary, void*& outSecond);

template <class Primary, class Second = Primary>
ACFHostObject<Primary, Second> CreateHostObject (IACFUnknown* host, const acfCLSID& classId,
                                                 const acfIID& iid, const acfIID* secondIid = nullptr)
{
    void* primary = nullptr;
    void* second = nullptr;
    CreateACFHostObject (host, classId, iid, secondIid, primary, second);
    return { ACFPtr<Primary>::Adopt (static_cast<Primary*> (primary)),
             ACFPtr<Second>::Adopt (static_cast<Second*> (second)) };
}
