#include "AAX_VAutomationDelegate.h"

#include "AAX_Forward.h"

AAX_VAutomationDelegate::AAX_VAutomationDelegate (IACFUnknown* host)
    : delegate_ (QueryACFInterface<AAX_IACFAutomationDelegate> (host, IID_IACFAutomationDelegate))
{
}

#define FORWARD(call) AAX_FORWARD_OR (delegate_, AAX_ERROR_NULL_OBJECT, call)

int32_t AAX_VAutomationDelegate::RegisterParameter (const char* parameterId)
{
    FORWARD (RegisterParameter (parameterId));
}
int32_t AAX_VAutomationDelegate::UnregisterParameter (const char* parameterId) { FORWARD (UnregisterParameter (parameterId)); }
int32_t AAX_VAutomationDelegate::PostSetValueRequest (const char* parameterId, double normalizedValue) const { FORWARD (PostSetValueRequest (parameterId, normalizedValue)); }
int32_t AAX_VAutomationDelegate::PostCurrentValue (const char* parameterId, double normalizedValue) const { FORWARD (PostCurrentValue (parameterId, normalizedValue)); }
int32_t AAX_VAutomationDelegate::PostTouchRequest (const char* parameterId) { FORWARD (PostTouchRequest (parameterId)); }
int32_t AAX_VAutomationDelegate::PostReleaseRequest (const char* parameterId) { FORWARD (PostReleaseRequest (parameterId)); }
int32_t AAX_VAutomationDelegate::GetTouchState (const char* parameterId, int32_t* outTouched) { FORWARD (GetTouchState (parameterId, outTouched)); }

#undef FORWARD
