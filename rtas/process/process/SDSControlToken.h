#pragma once
// The control tokens that a process exchanges with the host's stream data service (SDS): their
// types, subtypes and identity, the tokens built here and the fields read from received ones.
//
// A token is the engine's header (abi/DAE.h: destination, type, subtype, manufacturer, protocol,
// source, three words, the 16-bit length at byte 36) and, from byte 38, its payload: the 32-bit
// control value ('CAVL'), or a 16-bit touched flag and a 32-bit 1 ('CTCH'). Every token built
// here names the same SDS name as destination and source. Fields are in host byte order.

#include <array>
#include <cstdint>

#include <abi/DAE.h>

#include "process/base/FourCharCode.h"

namespace SDSToken
{
inline constexpr uint32_t kCurrentValue = FourCharCode ("CURV");
inline constexpr uint32_t kSetValue = FourCharCode ("SETV");
inline constexpr uint32_t kGetValue = FourCharCode ("GETV");

inline constexpr uint32_t kControlValue = FourCharCode ("CAVL");
inline constexpr uint32_t kControlTouch = FourCharCode ("CTCH");
inline constexpr uint32_t kTouchAll = FourCharCode ("GIAC");
inline constexpr uint32_t kControlHighlight = FourCharCode ("CHIL");

inline constexpr uint32_t kManufacturer = FourCharCode ("DUZU");
inline constexpr uint32_t kProtocol = FourCharCode ("Ctrl");

inline constexpr uint16_t kHeaderLength = 38;
inline constexpr uint16_t kValueLength = 42;
inline constexpr uint16_t kTouchLength = 44;

// Received highlight tokens: the on flag at 38, a word at 40, the highlight text from 42 and a
// word at 54; a token must reach past all of them.
inline constexpr uint16_t kHighlightLength = 56;
}

class SDSControlToken
{
public:
    // 38 bytes: the header only.
    static SDSControlToken Plain (int32_t nameId, uint32_t type, uint32_t subType);
    // 42 bytes: the header and the 32-bit control value.
    static SDSControlToken WithValue (int32_t nameId, uint32_t type, uint32_t subType, int32_t controlValue);
    // 44 bytes: a 'SETV' / 'CTCH' token with the 16-bit touched flag and a 32-bit 1.
    static SDSControlToken Touch (int32_t nameId, bool touched);

    const uint8_t* Data() const { return fBytes.data(); }
    uint16_t Length() const { return fLength; }

private:
    SDSControlToken (int32_t nameId, uint32_t type, uint32_t subType, uint16_t length);

    std::array<uint8_t, SDSToken::kTouchLength> fBytes {};
    uint16_t fLength;
};

// The header fields of a received token. Every token the engine hands out holds its header.
uint32_t TokenType (const uint8_t* token);
uint32_t TokenSubType (const uint8_t* token);
uint16_t TokenLength (const uint8_t* token);

// The control value of a received 'CAVL' token; false (value untouched) for a token too short
// to hold it.
bool ReadTokenValue (const uint8_t* token, int32_t* controlValue);

struct SDSHighlightFields
{
    int16_t on; // its low byte is the flag
    int16_t colour; // the word at 54
    int16_t extra; // the word at 40
    uint8_t text[256]; // length-prefixed, cut where the token ends
};

// The fields of a received 'SETV' / 'CHIL' token; false for a token too short to hold them.
bool ReadHighlightFields (const uint8_t* token, SDSHighlightFields* fields);
