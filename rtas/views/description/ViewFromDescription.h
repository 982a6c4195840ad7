#pragma once
// Builds the view that a dialog item's description names: the marker "!", a registered view
// type, then one list of attribute lists (at least one) and nothing after it.

#include <memory>

#include "views/base/DialogItem.h"

class CCustomView;

// [window thread] The described view: created by its type's creator, enabled unless the item is
// disabled, framed by the item's rectangle, given the item, then its attribute lists. Null, with
// ok false, when the item's text is not a valid description or the view refuses its attributes
// (the loader then builds the item as a standard one); ok is true otherwise.
std::unique_ptr<CCustomView> CreateViewFromDescription (const SDialogItem& item, bool* ok);
