#pragma once
// One item of a plug-in window's dialog-item list, as the loaders hand it to the views that they
// build from it: its rectangle, its type byte and its text (the item's data bytes).

#include <cstddef>
#include <cstdint>

#include <abi/HostTypes.h>

// Bit 7 of the type byte: the item is disabled (its view takes no clicks).
inline constexpr uint8_t kDialogItemDisabled = 0x80;

struct SDialogItem
{
    Rect bounds {};
    uint8_t type = 0;
    const uint8_t* text = nullptr;
    size_t length = 0;
};
