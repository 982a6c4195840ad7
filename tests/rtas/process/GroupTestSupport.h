#pragma once
// Groups and types for the process-group tests: a concrete group whose types a test supplies, and
// a type that makes plain test processes and can be told to fail.

#include "ProcessTestSupport.h"

#include "process/base/CDAEError.h"
#include "process/group/CProcessGroup.h"
#include "process/type/CProcessType.h"

#include <abi/DAE.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

inline constexpr uint32_t kTestTypeID = FourCharCode ("TEST");
inline constexpr uint32_t kOtherTypeID = FourCharCode ("OTHR");
inline constexpr uint32_t kUnknownTypeID = FourCharCode ("NONE");

// A test group's alternative name as the group hands it out: length-prefixed, cut to maxLength.
inline void PutAltName (const std::string& altName, char* name, int32_t maxLength)
{
    const size_t length = std::min<size_t> (altName.size(), size_t (std::max (maxLength, 0)));
    name[0] = char (length);
    std::memcpy (name + 1, altName.data(), length);
}

// A group whose types come from `addTypes` and whose alternative name is scripted.
class CTestGroup final : public CProcessGroup
{
public:
    std::function<void (CTestGroup&)> addTypes;
    std::string altName = "KESTrune";
    int32_t altNameResult = 0;
    int altNameCalls = 0;

    void CreateTypes() override
    {
        if (addTypes)
            addTypes (*this);
    }
    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
    int32_t GetGroupAltName (char* name, int32_t maxLength) override
    {
        ++altNameCalls;
        PutAltName (altName, name, maxLength);
        return altNameResult;
    }
};

// A type of a product identifier of its own, with two inputs and `outputs` outputs.
template <class TypeBase>
class CIdentifiedType : public TypeBase
{
public:
    explicit CIdentifiedType (uint32_t productID) : fProductID (productID) {}

    int16_t outputs = 2;

    int32_t GetProductID (uint32_t* productID) override
    {
        *productID = fProductID;
        return 0;
    }
    int32_t GetNumInputs (int32_t, int16_t* count) override
    {
        *count = 2;
        return 0;
    }
    int32_t GetNumOutputs (int32_t, int16_t* count) override
    {
        *count = outputs;
        return 0;
    }

private:
    uint32_t fProductID;
};

// A type answering a product identifier of its own, whose instances are plain test processes
// numbered from 1. NewProcess can be made to answer a code or to throw.
class CInstanceType : public CIdentifiedType<CProcessType>
{
public:
    explicit CInstanceType (uint32_t productID = kTestTypeID) : CIdentifiedType (productID) {}

    int32_t failWith = 0;
    bool throwDAEError = false;
    bool throwOther = false;
    bool teardownThrows = false;

    int32_t CreateProcess (int32_t* id) override
    {
        if (throwDAEError)
            throw CDAEError (-7777);
        if (throwOther)
            throw std::runtime_error ("type failed");
        if (failWith != 0)
            return failWith;
        int32_t next = 1;
        while (FindProcess (next) != nullptr)
            ++next;
        auto* process = teardownThrows ? new CThrowingTeardownProcess : new CTestProcess;
        process->SetType (this);
        process->SetInstanceID (int16_t (next));
        AddProcess (process);
        *id = next;
        return 0;
    }

private:
    class CThrowingTeardownProcess final : public CTestProcess
    {
    public:
        void Teardown() override
        {
            CTestProcess::Teardown();
            throw CDAEError (-7654);
        }
    };
};
