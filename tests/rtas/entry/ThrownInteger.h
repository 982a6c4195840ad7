#pragma once
// The integer of a given type that a call throws (the entry library throws plain 16-bit and
// 32-bit codes), or 0 when it returns.

#include <functional>

template <class Code>
Code ThrownInteger (const std::function<void()>& call)
{
    try
    {
        call();
    }
    catch (Code code)
    {
        return code;
    }
    return 0;
}
