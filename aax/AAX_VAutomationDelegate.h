// The instance's view of the host's automation delegate, given to every parameter.
#pragma once

#include "ACFPtr.h"

class AAX_IAutomationDelegate
{
public:
    virtual ~AAX_IAutomationDelegate() = default;
    virtual int32_t RegisterParameter (const char* parameterId) = 0;
    virtual int32_t UnregisterParameter (const char* parameterId) = 0;
    virtual int32_t PostSetValueRequest (const char* parameterId, double normalizedValue) const = 0;
    virtual int32_t PostCurrentValue (const char* parameterId, double normalizedValue) const = 0;
    virtual int32_t PostTouchRequest (const char* parameterId) = 0;
    virtual int32_t PostReleaseRequest (const char* parameterId) = 0;
    virtual int32_t GetTouchState (const char* parameterId, int32_t* outTouched) = 0;
};

// Forwards to the host's automation delegate; without one every call answers -20004.
// [host thread, message thread: whichever thread changes a parameter]
class AAX_VAutomationDelegate final : public AAX_IAutomationDelegate
{
public:
    explicit AAX_VAutomationDelegate (IACFUnknown* host);

    int32_t RegisterParameter (const char* parameterId) override;
    int32_t UnregisterParameter (const char* parameterId) override;
    int32_t PostSetValueRequest (const char* parameterId, double normalizedValue) const override;
    int32_t PostCurrentValue (const char* parameterId, double normalizedValue) const override;
    int32_t PostTouchRequest (const char* parameterId) override;
    int32_t PostReleaseRequest (const char* parameterId) override;
    int32_t GetTouchState (const char* parameterId, int32_t* outTouched) override;

private:
    ACFPtr<AAX_IACFAutomationDelegate> delegate_;
};
