#include "process/process/SDSControlToken.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace
{
constexpr size_t kPayloadOffset = SDSToken::kHeaderLength;
constexpr size_t kTouchOneOffset = kPayloadOffset + 2;
constexpr size_t kHighlightExtraOffset = 40;
constexpr size_t kHighlightTextOffset = 42;
constexpr size_t kHighlightColourOffset = 54;

template <typename Field>
void Put (uint8_t* bytes, size_t offset, Field value)
{
    std::memcpy (bytes + offset, &value, sizeof value);
}

template <typename Field>
Field Get (const uint8_t* bytes, size_t offset)
{
    Field value;
    std::memcpy (&value, bytes + offset, sizeof value);
    return value;
}
}

SDSControlToken::SDSControlToken (int32_t nameId, uint32_t type, uint32_t subType, uint16_t length) : fLength (length)
{
    uint8_t* bytes = fBytes.data();
    Put (bytes, offsetof (SFicSDSTokenHeader, fDestination), nameId);
    Put (bytes, offsetof (SFicSDSTokenHeader, fType), type);
    Put (bytes, offsetof (SFicSDSTokenHeader, fSubType), subType);
    Put (bytes, offsetof (SFicSDSTokenHeader, fManufacturer), SDSToken::kManufacturer);
    Put (bytes, offsetof (SFicSDSTokenHeader, fProtocol), SDSToken::kProtocol);
    Put (bytes, offsetof (SFicSDSTokenHeader, fSource), nameId);
    Put (bytes, offsetof (SFicSDSTokenHeader, fLength), length);
}

SDSControlToken SDSControlToken::Plain (int32_t nameId, uint32_t type, uint32_t subType)
{
    return SDSControlToken (nameId, type, subType, SDSToken::kHeaderLength);
}

SDSControlToken SDSControlToken::WithValue (int32_t nameId, uint32_t type, uint32_t subType, int32_t controlValue)
{
    SDSControlToken token (nameId, type, subType, SDSToken::kValueLength);
    Put (token.fBytes.data(), kPayloadOffset, controlValue);
    return token;
}

SDSControlToken SDSControlToken::Touch (int32_t nameId, bool touched)
{
    SDSControlToken token (nameId, SDSToken::kSetValue, SDSToken::kControlTouch, SDSToken::kTouchLength);
    Put (token.fBytes.data(), kPayloadOffset, int16_t (touched ? 1 : 0));
    Put (token.fBytes.data(), kTouchOneOffset, int32_t (1));
    return token;
}

uint32_t TokenType (const uint8_t* token)
{
    return Get<uint32_t> (token, offsetof (SFicSDSTokenHeader, fType));
}

uint32_t TokenSubType (const uint8_t* token)
{
    return Get<uint32_t> (token, offsetof (SFicSDSTokenHeader, fSubType));
}

uint16_t TokenLength (const uint8_t* token)
{
    return Get<uint16_t> (token, offsetof (SFicSDSTokenHeader, fLength));
}

bool ReadTokenValue (const uint8_t* token, int32_t* controlValue)
{
    if (TokenLength (token) < SDSToken::kValueLength)
        return false;
    *controlValue = Get<int32_t> (token, kPayloadOffset);
    return true;
}

bool ReadHighlightFields (const uint8_t* token, SDSHighlightFields* fields)
{
    const uint16_t length = TokenLength (token);
    if (length < SDSToken::kHighlightLength)
        return false;
    fields->on = Get<int16_t> (token, kPayloadOffset);
    fields->extra = Get<int16_t> (token, kHighlightExtraOffset);
    fields->colour = Get<int16_t> (token, kHighlightColourOffset);
    const size_t available = length - kHighlightTextOffset - 1;
    const size_t textLength = std::min<size_t> (token[kHighlightTextOffset], available);
    fields->text[0] = static_cast<uint8_t> (textLength);
    std::memcpy (fields->text + 1, token + kHighlightTextOffset + 1, textLength);
    return true;
}
