#include "AAX_CEffectGUI.h"

#include "AAX_CString.h"

#include <utility>

AAX_CEffectGUI::AAX_CEffectGUI() = default;
AAX_CEffectGUI::~AAX_CEffectGUI() = default;

ACFRESULT AAX_CEffectGUI::QueryInterface (const acfIID& iid, void** out)
{
    return GetOuterUnknown()->QueryInterface (iid, out);
}

uint32_t AAX_CEffectGUI::AddRef()
{
    return GetOuterUnknown()->AddRef();
}

uint32_t AAX_CEffectGUI::Release()
{
    return GetOuterUnknown()->Release();
}

ACFRESULT AAX_CEffectGUI::InternalQueryInterface (const acfIID& iid, void** out)
{
    if (out != nullptr && iid == IID_IACFEffectGUI)
        return ProvideInterface (static_cast<AAX_IACFEffectGUI*> (this), out);
    return CACFUnknown::InternalQueryInterface (iid, out);
}

int32_t AAX_CEffectGUI::Initialize (IACFUnknown* host)
{
    return Guarded ([&]() -> int32_t {
        controller_ = std::make_unique<AAX_VController> (host);
        if (host == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        effectParameters_ = QueryACFInterface<AAX_IACFEffectParameters> (host, IID_IACFEffectParameters);
        transport_ = std::make_unique<AAX_VTransport> (host);
        CreateViewContents();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectGUI::Uninitialize()
{
    return Guarded ([&]() -> int32_t {
        effectParameters_.Reset();
        controller_.reset();
        transport_.reset();
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectGUI::ReservedNotification (uint32_t, const void*, uint32_t)
{
    return AAX_SUCCESS;
}

int32_t AAX_CEffectGUI::SetViewContainer (IACFUnknown* container)
{
    return Guarded ([&]() -> int32_t {
        if (container != nullptr)
        {
            // The earlier container is released once the view has moved to the new one.
            auto previous = std::exchange (viewContainer_, std::make_unique<AAX_VViewContainer> (container));
            CreateViewContainer();
            previous.reset();
            UpdateAllParameters();
        }
        else
        {
            DeleteViewContainer();
            viewContainer_.reset();
        }
        return AAX_SUCCESS;
    });
}

int32_t AAX_CEffectGUI::GetViewSize (AAX_Point*) const
{
    return AAX_SUCCESS;
}

int32_t AAX_CEffectGUI::ReservedOperation8() { return AAX_SUCCESS; }
int32_t AAX_CEffectGUI::ReservedOperation9() { return AAX_SUCCESS; }
int32_t AAX_CEffectGUI::ParameterUpdated (const char*) { return AAX_SUCCESS; }
int32_t AAX_CEffectGUI::ReservedQuery11 (const char*, AAX_IString*) const { return AAX_ERROR_NULL_OBJECT; }
int32_t AAX_CEffectGUI::ReservedOperation12() { return AAX_SUCCESS; }

void AAX_CEffectGUI::UpdateAllParameters()
{
    if (! effectParameters_)
        return;
    int32_t count = 0;
    if (effectParameters_->GetNumberOfParameters (&count) != AAX_SUCCESS)
        return;
    for (int32_t index = 0; index < count; ++index)
    {
        AAX_CString id;
        if (effectParameters_->GetParameterIDFromIndex (index, &id) == AAX_SUCCESS)
            ParameterUpdated (id.Get());
    }
}
