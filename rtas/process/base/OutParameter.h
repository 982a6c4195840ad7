#pragma once
// Outputs that a host caller hands in by pointer and may leave null.

// Writes the value, converted to the output's type, unless the output is null.
template <typename T, typename V>
void PutOut (T* out, V value)
{
    if (out != nullptr)
        *out = static_cast<T> (value);
}
