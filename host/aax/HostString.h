// The host's own string, handed to a module's operations that fill a text.
#pragma once

#include "ACFInterfaces.h"

#include <string>

namespace kestrune::host::aax
{
class HostString final : public AAX_IString
{
public:
    HostString() = default;
    explicit HostString (std::string text) : text_ (std::move (text)) {}

    uint32_t Length() const override { return static_cast<uint32_t> (text_.size()); }
    uint32_t MaxLength() const override { return 0xFFFFFFFEu; }
    const char* Get() const override { return text_.c_str(); }
    void Append (const char* text) override
    {
        if (text != nullptr)
            text_ += text;
    }
    void Set (const char* text) override { text_ = text != nullptr ? text : ""; }
    void Set (const AAX_IString& other) override { text_ = other.Get() != nullptr ? other.Get() : ""; }

    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
} // namespace kestrune::host::aax
