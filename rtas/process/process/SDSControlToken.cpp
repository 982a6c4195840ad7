#include "process/process/SDSControlToken.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "process/base/ByteSwap.h"

namespace
{
constexpr size_t kPayloadOffset = SDSToken::kHeaderLength;
constexpr size_t kTouchOneOffset = kPayloadOffset + 2;
constexpr size_t kHighlightExtraOffset = 40;
constexpr size_t kHighlightTextOffset = 42;
constexpr size_t kHighlightColourOffset = 54;
}

SDSControlToken::SDSControlToken (int32_t nameId, uint32_t type, uint32_t subType, uint16_t length) : fLength (length)
{
    uint8_t* bytes = fBytes.data();
    PutFieldAt (bytes, offsetof (SFicSDSTokenHeader, fDestination), nameId);
    PutFieldAt (bytes, offsetof (SFicSDSTokenHeader, fType), type);
    PutFieldAt (bytes, offsetof (SFicSDSTokenHeader, fSubType), subType);
    PutFieldAt (bytes, offsetof (SFicSDSTokenHeader, fManufacturer), SDSToken::kManufacturer);
    PutFieldAt (bytes, offsetof (SFicSDSTokenHeader, fProtocol), SDSToken::kProtocol);
    PutFieldAt (bytes, offsetof (SFicSDSTokenHeader, fSource), nameId);
    PutFieldAt (bytes, offsetof (SFicSDSTokenHeader, fLength), length);
}

SDSControlToken SDSControlToken::Plain (int32_t nameId, uint32_t type, uint32_t subType)
{
    return SDSControlToken (nameId, type, subType, SDSToken::kHeaderLength);
}

SDSControlToken SDSControlToken::WithValue (int32_t nameId, uint32_t type, uint32_t subType, int32_t controlValue)
{
    SDSControlToken token (nameId, type, subType, SDSToken::kValueLength);
    PutFieldAt (token.fBytes.data(), kPayloadOffset, controlValue);
    return token;
}

SDSControlToken SDSControlToken::Touch (int32_t nameId, bool touched)
{
    SDSControlToken token (nameId, SDSToken::kSetValue, SDSToken::kControlTouch, SDSToken::kTouchLength);
    PutFieldAt (token.fBytes.data(), kPayloadOffset, int16_t (touched ? 1 : 0));
    PutFieldAt (token.fBytes.data(), kTouchOneOffset, int32_t (1));
    return token;
}

uint32_t TokenType (const uint8_t* token)
{
    return FieldAt<uint32_t> (token, offsetof (SFicSDSTokenHeader, fType));
}

uint32_t TokenSubType (const uint8_t* token)
{
    return FieldAt<uint32_t> (token, offsetof (SFicSDSTokenHeader, fSubType));
}

uint16_t TokenLength (const uint8_t* token)
{
    return FieldAt<uint16_t> (token, offsetof (SFicSDSTokenHeader, fLength));
}

bool ReadTokenValue (const uint8_t* token, int32_t* controlValue)
{
    if (TokenLength (token) < SDSToken::kValueLength)
        return false;
    *controlValue = FieldAt<int32_t> (token, kPayloadOffset);
    return true;
}

bool ReadHighlightFields (const uint8_t* token, SDSHighlightFields* fields)
{
    const uint16_t length = TokenLength (token);
    if (length < SDSToken::kHighlightLength)
        return false;
    fields->on = FieldAt<int16_t> (token, kPayloadOffset);
    fields->extra = FieldAt<int16_t> (token, kHighlightExtraOffset);
    fields->colour = FieldAt<int16_t> (token, kHighlightColourOffset);
    const size_t available = length - kHighlightTextOffset - 1;
    const size_t textLength = std::min<size_t> (token[kHighlightTextOffset], available);
    fields->text[0] = static_cast<uint8_t> (textLength);
    std::memcpy (fields->text + 1, token + kHighlightTextOffset + 1, textLength);
    return true;
}
