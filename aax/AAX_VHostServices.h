// The module's one view of the host's services, made by ACFStartup.
#pragma once

#include "ACFPtr.h"

class AAX_IHostServices
{
public:
    virtual ~AAX_IHostServices() = default;
    virtual int32_t HandleAssertFailure (const char* file, int32_t line, const char* note) const = 0;
    virtual int32_t Trace (int32_t priority, const char* message) const = 0;
};

// Forwards to the host-services object it makes on the host's object factory; without one
// both calls answer -20004. [host thread]
class AAX_VHostServices final : public AAX_IHostServices
{
public:
    // Raises ACFError when the host answers the factory query with a null factory.
    explicit AAX_VHostServices (IACFUnknown* host);

    int32_t HandleAssertFailure (const char* file, int32_t line, const char* note) const override;
    int32_t Trace (int32_t priority, const char* message) const override;

private:
    ACFPtr<AAX_IACFHostServices> services_;
};
