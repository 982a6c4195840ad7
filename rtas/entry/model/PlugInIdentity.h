#pragma once
// A plug-in's identity record as the object model keeps it: three values and two codes, copied
// whole.

#include <array>
#include <cstdint>

struct SPlugInSpec
{
    std::array<int32_t, 5> fWords {};

    // Whether the first four words equal those of the other record (how a group matches a type).
    bool MatchesKey (const SPlugInSpec& key) const
    {
        return fWords[0] == key.fWords[0] && fWords[1] == key.fWords[1] && fWords[2] == key.fWords[2]
               && fWords[3] == key.fWords[3];
    }
};
