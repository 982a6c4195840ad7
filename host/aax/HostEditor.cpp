#include "HostEditor.h"

#include <stdexcept>

namespace kestrune::host::aax
{
HostEditor::HostEditor (HostInstance& instance, bool initialize) : instance_ (instance)
{
    auto* object = instance.Driver().CreateObject (AAX_PROC_EFFECT_GUI, IID_IACFEffectGUI, instance.Settings().effect);
    if (object == nullptr)
        throw std::runtime_error ("the GUI factory made no effect GUI");
    gui_ = static_cast<AAX_IACFEffectGUI*> (object);
    if (! initialize)
        return;
    if (const int32_t result = gui_->Initialize (&instance.Host()); result != AAX_SUCCESS)
    {
        gui_->Release();
        throw std::runtime_error ("the GUI refused to initialise: " + std::to_string (result));
    }
}

HostEditor::~HostEditor()
{
    if (container_ != nullptr)
        gui_->SetViewContainer (nullptr);
    gui_->Uninitialize();
    gui_->Release();
    if (container_ != nullptr)
        container_->Release();
}

std::pair<int32_t, int32_t> HostEditor::ViewSize() const
{
    AAX_Point size { 0.0f, 0.0f };
    if (gui_->GetViewSize (&size) != AAX_SUCCESS)
        return { 0, 0 };
    return { static_cast<int32_t> (size.horz), static_cast<int32_t> (size.vert) };
}

HostViewContainer& HostEditor::Open (HostViewContainer* container)
{
    gui_->SetViewContainer (container);
    if (container_ != nullptr)
        container_->Release();
    container_ = container;
    return *container;
}

HostViewContainer& HostEditor::OpenOffscreen()
{
    auto* container = NewHostObject<HostViewContainer> (instance_.Host().Framework());
    const auto [width, height] = ViewSize();
    container->UseOffscreen (width, height);
    return Open (container);
}

HostViewContainer& HostEditor::OpenInX11Window (unsigned long window, std::function<void (int32_t, int32_t)> resize)
{
    auto* container = NewHostObject<HostViewContainer> (instance_.Host().Framework());
    container->UseX11Window (window, std::move (resize));
    return Open (container);
}

void HostEditor::Close()
{
    gui_->SetViewContainer (nullptr);
}
} // namespace kestrune::host::aax
