#pragma once
// The view of one dialog item: the described view when the item (a control, static-text or
// edit-text item) carries a valid view description in its text; otherwise the standard view of
// its kind, enabled unless the item is disabled, framed by the item's rectangle and given the
// item: a plain view (user item), a push button, check box or radio button titled with the text,
// a control from the template whose id is the data's first 16-bit value, a static text showing
// the text, an icon or a picture of the id in the data's first 16-bit value.

#include <memory>

#include "views/base/DialogItem.h"

class CPlugInView;

// [window thread] An item of an unknown kind, or one whose data is too short for its id, throws
// CDAEError -7400.
std::unique_ptr<CPlugInView> MakeDialogItemView (const SDialogItem& item);
