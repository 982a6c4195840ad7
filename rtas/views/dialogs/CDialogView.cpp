#include "views/dialogs/CDialogView.h"

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/ScopedPlugInResFile.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/base/ViewGeometry.h"
#include "views/dialogs/DialogResources.h"

using ViewGeometry::Saturate;

CDialogView::~CDialogView()
{
    if (fPattern == nullptr)
        return;
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->DisposePixPat (fPattern);
}

void CDialogView::SetWindow (WindowRef window)
{
    if (window != nullptr && fPattern == nullptr)
    {
        const ScopedCurrentPort port (window);
        const ScopedPlugInResFile plugInFile;
        if (plugInFile.IsOpen())
            fPattern = LoadPicture (GetPatternID());
    }
    CItemListView::SetWindow (window);
}

PixPatHandle CDialogView::GetBackPattern() const
{
    return fPattern;
}

CPlugInView* CDialogView::GetParentOrAttach()
{
    if (! AreItemsLoaded())
        LoadDialog();
    return CItemListView::GetParentOrAttach();
}

void CDialogView::LoadDialog()
{
    const ScopedPlugInResFile plugInFile;
    if (! plugInFile.IsOpen())
        throw CDAEError (RTASError::kNullPointer);
    const ScopedLockedResource resource (kDialogType, GetDialogID());
    if (! resource.IsFound())
        throw CDAEError (RTASError::kNullPointer);
    const SDialogTemplate dialog = ReadDialogTemplate (resource.Data(), resource.Size());
    SetRect ({ 0, 0, Saturate (dialog.bounds.bottom - dialog.bounds.top), Saturate (dialog.bounds.right - dialog.bounds.left) });
    SetEnabled (false);
    SetItemListID (dialog.itemListID);
}

int16_t CDialogView::GetDialogID() const
{
    return fDialogID;
}

void CDialogView::SetDialogID (int16_t id)
{
    fDialogID = id;
}

int16_t CDialogView::GetPatternID() const
{
    return fPatternID;
}

void CDialogView::SetPatternID (int16_t id)
{
    fPatternID = id;
}
