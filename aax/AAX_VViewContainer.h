// The GUI's view of the host window it draws into.
#pragma once

#include "ACFPtr.h"

class AAX_IViewContainer
{
public:
    virtual ~AAX_IViewContainer() = default;
    virtual int32_t GetType (int32_t* outType) = 0;
    virtual int32_t GetPtr (void** outNativeView) = 0;
    virtual int32_t GetModifiers (uint32_t* outModifiers) = 0;
    virtual int32_t SetViewSize (int32_t width, int32_t height) = 0;
    virtual int32_t HandleParameterMouseDown (const char* parameterId, uint32_t modifiers) = 0;
    virtual int32_t HandleParameterMouseDrag (const char* parameterId, uint32_t modifiers) = 0;
    virtual int32_t HandleParameterMouseUp (const char* parameterId, uint32_t modifiers) = 0;
};

// Forwards to the host's view container. Without one, the type, window and size calls
// answer 0 and the rest -20009. [message thread]
class AAX_VViewContainer final : public AAX_IViewContainer
{
public:
    // Queries the container unknown handed to the GUI (may be null).
    explicit AAX_VViewContainer (IACFUnknown* container);

    int32_t GetType (int32_t* outType) override;
    int32_t GetPtr (void** outNativeView) override;
    int32_t GetModifiers (uint32_t* outModifiers) override;
    int32_t SetViewSize (int32_t width, int32_t height) override;
    int32_t HandleParameterMouseDown (const char* parameterId, uint32_t modifiers) override;
    int32_t HandleParameterMouseDrag (const char* parameterId, uint32_t modifiers) override;
    int32_t HandleParameterMouseUp (const char* parameterId, uint32_t modifiers) override;

private:
    ACFPtr<AAX_IACFViewContainer> container_;
};
