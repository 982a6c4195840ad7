// The tokens a plug-in dispatched to the stand-in engine's SDS service, as the engine recorded
// them: destination, type, subtype and payload.
#pragma once

#include <DaeControl.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace sds_test
{
inline constexpr uint32_t kSETV = 0x53455456;
inline constexpr uint32_t kCURV = 0x43555256;
inline constexpr uint32_t kCAVL = 0x4341564C;
inline constexpr uint32_t kCTCH = 0x43544348;
inline constexpr uint32_t kGIAC = 0x47494143;

struct Token
{
    int32_t destination;
    uint32_t type;
    uint32_t subType;
    std::vector<uint8_t> payload;
};

inline std::vector<Token> Tokens (kestrune::host::rtas::DaeControl& dae)
{
    std::vector<Token> tokens;
    for (const auto& bytes : dae.dispatchedTokens())
    {
        Token token {};
        std::memcpy (&token.destination, bytes.data(), 4);
        std::memcpy (&token.type, bytes.data() + 4, 4);
        std::memcpy (&token.subType, bytes.data() + 8, 4);
        token.payload.assign (bytes.begin() + 38, bytes.end());
        tokens.push_back (token);
    }
    return tokens;
}

// The tokens dispatched since the first `earlier` ones.
inline std::vector<Token> TokensSince (kestrune::host::rtas::DaeControl& dae, size_t earlier)
{
    const auto all = Tokens (dae);
    return earlier < all.size() ? std::vector<Token> (all.begin() + std::ptrdiff_t (earlier), all.end()) : std::vector<Token> {};
}

inline int32_t WordOf (const std::vector<uint8_t>& payload, size_t offset)
{
    int32_t word = 0;
    std::memcpy (&word, payload.data() + offset, 4);
    return word;
}

// An edit of one control as the host receives it, in words: "touch", "value" and "release" for
// the control's tokens, "elsewhere" for a token to another name; the notice of the touch to the
// root name ('GIAC') is left out. The values in `values`.
inline std::vector<std::string> EditWords (const std::vector<Token>& tokens, int32_t controlName, std::vector<int32_t>* values = nullptr)
{
    std::vector<std::string> words;
    for (const Token& token : tokens)
    {
        if (token.subType == kGIAC)
            continue;
        if (token.destination != controlName || token.type != kSETV)
            words.push_back ("elsewhere");
        else if (token.subType == kCTCH)
            words.push_back (token.payload.at (0) == 1 ? "touch" : "release");
        else if (token.subType == kCAVL)
        {
            words.push_back ("value");
            if (values != nullptr)
                values->push_back (WordOf (token.payload, 0));
        }
        else
            words.push_back ("elsewhere");
    }
    return words;
}
} // namespace sds_test
