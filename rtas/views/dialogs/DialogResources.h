#pragma once
// The two resources a plug-in window is built from, read from their bytes as the toolbox hands
// them out (multi-byte fields in the machine's byte order):
//
// dialog-item list ('DITL'): a signed 16-bit count minus one, then that many plus one items, each
//   4 reserved bytes, the item's Rect (top, left, bottom, right), the type byte (bit 7: disabled,
//   bits 2-6: the kind, bits 0-1: the control kind), the data length byte, the data, padded to
//   an even length;
// dialog ('DLOG'): its Rect first; the item-list id is the signed 16-bit value at byte 18.
//
// Reading never goes past the bytes: a table that is not whole (a negative count, an item or its
// data past the end) throws CDAEError -7400.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "views/base/DialogItem.h"

inline constexpr ResType kDialogItemListType = kestrune::rtas::abi::fourCC ("DITL");
inline constexpr ResType kDialogType = kestrune::rtas::abi::fourCC ("DLOG");

// The kinds of dialog items (bits 2-6 of the type byte) and the control kinds (bits 0-1).
namespace DialogItemKind
{
inline constexpr uint8_t kMask = 0x7C;
inline constexpr uint8_t kUser = 0;
inline constexpr uint8_t kControl = 4;
inline constexpr uint8_t kStaticText = 8;
inline constexpr uint8_t kEditText = 16;
inline constexpr uint8_t kIcon = 32;
inline constexpr uint8_t kPicture = 64;
} // namespace DialogItemKind

namespace DialogControlKind
{
inline constexpr uint8_t kMask = 0x03;
inline constexpr uint8_t kButton = 0;
inline constexpr uint8_t kCheckBox = 1;
inline constexpr uint8_t kRadioButton = 2;
inline constexpr uint8_t kTemplate = 3;
} // namespace DialogControlKind

inline constexpr size_t kDialogItemHeaderSize = 14;
inline constexpr size_t kDialogItemListIDOffset = 18;

struct SDialogTemplate
{
    Rect bounds {};
    int16_t itemListID = -1;
};

// The items of a dialog-item list; their texts point into `data`.
std::vector<SDialogItem> ReadDialogItemList (const uint8_t* data, size_t size);
SDialogTemplate ReadDialogTemplate (const uint8_t* data, size_t size);
// The first signed 16-bit value of an item's data; a shorter item throws CDAEError -7400.
int16_t FirstShortOfItem (const SDialogItem& item);
