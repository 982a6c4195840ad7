#pragma once
// What the stand-in card library knows about its cards from their kind and revision.

#include <abi/DSI.h>

namespace kestrune::host::rtas
{

inline bool isTDM2Kind (int32_t kind)
{
    return kind == 25 || kind == 26 || kind == 28 || kind == 30 || kind == 31;
}

inline bool isPrestoCard (const DSICardRecord& card)
{
    return card.fKind == 26 || (card.fKind == 28 && card.fRevision < 3) || (card.fKind == 31 && card.fRevision <= 3);
}

// The DSPs of card kind 21 and of Presto cards have the Onyx host port.
inline bool hasOnyxPort (const DSICardRecord& card)
{
    return card.fKind == 21 || isPrestoCard (card);
}

inline int32_t driverTypeOfKind (int32_t kind)
{
    switch (kind)
    {
        case 10: return 1072;
        case 18: return 60960;
        case 20: return 61056;
        case 21: return 61072;
        case 25:
        case 26:
        case 28:
        case 29:
        case 31: return 61120;
        default: return -1;
    }
}

} // namespace kestrune::host::rtas
