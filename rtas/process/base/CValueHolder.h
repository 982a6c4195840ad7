#pragma once

#include <cstdint>

// One 32-bit value; Take hands it out and leaves 0.
class CValueHolder
{
public:
    int32_t Get() const { return fValue; }
    void Set (int32_t value) { fValue = value; }
    int32_t Take()
    {
        const int32_t value = fValue;
        fValue = 0;
        return value;
    }

private:
    int32_t fValue = 0;
};
