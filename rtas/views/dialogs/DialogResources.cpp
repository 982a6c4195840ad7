#include "views/dialogs/DialogResources.h"

#include <algorithm>
#include <cstring>

#include "process/base/CDAEError.h"

namespace
{
template <class Value>
Value ReadAt (const uint8_t* data, size_t size, size_t offset)
{
    if (offset > size || size - offset < sizeof (Value))
        ThrowConditionFalse();
    Value value;
    std::memcpy (&value, data + offset, sizeof value);
    return value;
}
} // namespace

std::vector<SDialogItem> ReadDialogItemList (const uint8_t* data, size_t size)
{
    if (data == nullptr)
        ThrowConditionFalse();
    const int32_t count = int32_t (ReadAt<int16_t> (data, size, 0)) + 1;
    if (count < 0)
        ThrowConditionFalse();
    std::vector<SDialogItem> items;
    items.reserve (std::min (static_cast<size_t> (count), size / kDialogItemHeaderSize));
    size_t at = sizeof (int16_t);
    for (int32_t i = 0; i < count; ++i)
    {
        SDialogItem item;
        item.bounds = ReadAt<Rect> (data, size, at + 4);
        item.type = ReadAt<uint8_t> (data, size, at + 12);
        item.length = ReadAt<uint8_t> (data, size, at + 13);
        at += kDialogItemHeaderSize;
        if (size - at < item.length)
            ThrowConditionFalse();
        item.text = data + at;
        at += item.length + (item.length & 1);
        items.push_back (item);
    }
    return items;
}

SDialogTemplate ReadDialogTemplate (const uint8_t* data, size_t size)
{
    if (data == nullptr)
        ThrowConditionFalse();
    SDialogTemplate dialog;
    dialog.bounds = ReadAt<Rect> (data, size, 0);
    dialog.itemListID = ReadAt<int16_t> (data, size, kDialogItemListIDOffset);
    return dialog;
}

int16_t FirstShortOfItem (const SDialogItem& item)
{
    return ReadAt<int16_t> (item.text, item.length, 0);
}
