#include "views/base/KeyMap.h"

#include <cstdint>

#include "process/utilities/HostExtToolbox.h"

bool IsKeyDown (int keyCode)
{
    if (keyCode < 0 || keyCode >= 128)
        return false;
    uint8_t keys[16] {};
    HostToolbox().GetKeys (keys);
    return ((keys[keyCode >> 3] >> (keyCode & 7)) & 1) != 0;
}
