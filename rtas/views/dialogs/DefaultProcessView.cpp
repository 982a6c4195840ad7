// The view a process makes for its window unless it makes another: a dialog view. The view
// toolkit installs its maker when the library is loaded.

#include "process/process/ProcessView.h"
#include "views/dialogs/CDialogView.h"

namespace
{
std::unique_ptr<IProcessView> MakeDialogView (CProcess&)
{
    return std::make_unique<CDialogView>();
}

[[maybe_unused]] const bool gDialogViewIsDefault = [] {
    SetDefaultProcessViewMaker (&MakeDialogView);
    return true;
}();
} // namespace
