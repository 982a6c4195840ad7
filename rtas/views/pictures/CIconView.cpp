#include "views/pictures/CIconView.h"

#include <cstring>

#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/ScopedPlugInResFile.h"
#include "views/base/ScopedToolboxObjects.h"

namespace
{
inline constexpr ResType kIconType = kestrune::rtas::abi::fourCC ("ICON");
}

CIconView::~CIconView()
{
    DisposeIcon();
}

void CIconView::DisposeIcon()
{
    if (fIcon == nullptr)
        return;
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->DisposeHandle (fIcon);
    fIcon = nullptr;
}

void CIconView::SetIconID (int32_t id)
{
    DisposeIcon();
    fIconID = id;
    if (id == kNoIconID || id < INT16_MIN || id > INT16_MAX)
        return;
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPlugInResFile plugInFile;
    if (! plugInFile.IsOpen())
        return;
    const ScopedLockedResource icon (kIconType, static_cast<int16_t> (id));
    if (icon.Size() == 0)
        return;
    Handle copy = toolbox.NewHandle (static_cast<int32_t> (icon.Size()));
    if (copy == nullptr || *copy == nullptr)
    {
        if (copy != nullptr)
            toolbox.DisposeHandle (copy);
        return;
    }
    std::memcpy (*copy, icon.Data(), icon.Size());
    fIcon = copy;
}

void CIconView::DrawContents (const Rect&)
{
    if (fIcon == nullptr)
        return;
    const Rect frame = GetRect();
    HostToolbox().PlotIcon (&frame, fIcon);
}
