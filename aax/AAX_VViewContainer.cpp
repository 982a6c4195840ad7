#include "AAX_VViewContainer.h"

#include "AAX_Forward.h"

AAX_VViewContainer::AAX_VViewContainer (IACFUnknown* container)
    : container_ (QueryACFInterface<AAX_IACFViewContainer> (container, IID_IACFViewContainer))
{
}

#define FORWARD(missing, call) AAX_FORWARD_OR (container_, missing, call)

int32_t AAX_VViewContainer::GetType (int32_t* outType)
{
    FORWARD (AAX_SUCCESS, GetType (outType));
}
int32_t AAX_VViewContainer::GetPtr (void** outNativeView) { FORWARD (AAX_SUCCESS, GetPtr (outNativeView)); }
int32_t AAX_VViewContainer::GetModifiers (uint32_t* outModifiers) { FORWARD (AAX_ERROR_UNIMPLEMENTED, GetModifiers (outModifiers)); }
int32_t AAX_VViewContainer::SetViewSize (int32_t width, int32_t height) { FORWARD (AAX_SUCCESS, SetViewSize (width, height)); }
int32_t AAX_VViewContainer::HandleParameterMouseDown (const char* parameterId, uint32_t modifiers) { FORWARD (AAX_ERROR_UNIMPLEMENTED, HandleParameterMouseDown (parameterId, modifiers)); }
int32_t AAX_VViewContainer::HandleParameterMouseDrag (const char* parameterId, uint32_t modifiers) { FORWARD (AAX_ERROR_UNIMPLEMENTED, HandleParameterMouseDrag (parameterId, modifiers)); }
int32_t AAX_VViewContainer::HandleParameterMouseUp (const char* parameterId, uint32_t modifiers) { FORWARD (AAX_ERROR_UNIMPLEMENTED, HandleParameterMouseUp (parameterId, modifiers)); }

#undef FORWARD
