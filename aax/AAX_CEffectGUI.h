// The editor of one plug-in instance as the host sees it: it gets the instance's host unknown,
// then a view container per window the host opens, and null when the window closes.
#pragma once

#include "ACFGuard.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"
#include "CACFUnknown.h"

#include <memory>

class AAX_IEffectGUI : public AAX_IACFEffectGUI
{
};

// A plug-in derives from it and supplies the three view operations. Every host operation
// answers a result code and lets no exception out. [message thread: the host's window thread]
class AAX_CEffectGUI : public AAX_IEffectGUI, public CACFUnknown
{
public:
    AAX_CEffectGUI();
    ~AAX_CEffectGUI() override;

    ACFRESULT QueryInterface (const acfIID& iid, void** out) override;
    uint32_t AddRef() override;
    uint32_t Release() override;
    ACFRESULT InternalQueryInterface (const acfIID& iid, void** out) override;

    // Keeps the controller, the instance's effect parameters and the transport, then creates
    // the view contents. A null host unknown gives -20011.
    int32_t Initialize (IACFUnknown* host) override;
    int32_t Uninitialize() override;
    int32_t ReservedNotification (uint32_t type, const void* data, uint32_t size) override;
    // A window: its container becomes the current one (the earlier one is released), the view
    // is placed in it and every parameter reported updated. Null: the view leaves its window.
    int32_t SetViewContainer (IACFUnknown* container) override;
    int32_t GetViewSize (AAX_Point* outSize) const override;
    int32_t ReservedOperation8() override;
    int32_t ReservedOperation9() override;
    int32_t ParameterUpdated (const char* id) override;
    int32_t ReservedQuery11 (const char* id, AAX_IString* outText) const override;
    int32_t ReservedOperation12() override;

protected:
    virtual void CreateViewContents() = 0;
    virtual void CreateViewContainer() = 0;
    virtual void DeleteViewContainer() = 0;
    // Calls ParameterUpdated for every parameter the instance lists.
    virtual void UpdateAllParameters();

    AAX_IViewContainer* GetViewContainer() const { return viewContainer_.get(); }
    AAX_IACFEffectParameters* GetEffectParameters() const { return effectParameters_.Get(); }
    AAX_IController* GetController() const { return controller_.get(); }
    AAX_ITransport* GetTransport() const { return transport_.get(); }

private:
    std::unique_ptr<AAX_VController> controller_;
    ACFPtr<AAX_IACFEffectParameters> effectParameters_;
    std::unique_ptr<AAX_VViewContainer> viewContainer_;
    std::unique_ptr<AAX_VTransport> transport_;
};
