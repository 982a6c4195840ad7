#include "AAX_VHostServices.h"

#include "ACFHostObject.h"
#include "AAX_Forward.h"

AAX_VHostServices::AAX_VHostServices (IACFUnknown* host)
    : services_ (CreateHostObject<AAX_IACFHostServices> (host, CLSID_HostServices, IID_IACFHostServices).primary)
{
}

int32_t AAX_VHostServices::HandleAssertFailure (const char* file, int32_t line, const char* note) const
{
    AAX_FORWARD_OR (services_, AAX_ERROR_NULL_OBJECT, HandleAssertFailure (file, line, note));
}

int32_t AAX_VHostServices::Trace (int32_t priority, const char* message) const
{
    AAX_FORWARD_OR (services_, AAX_ERROR_NULL_OBJECT, Trace (priority, message));
}
