#include "AAX_CString.h"

#include <charconv>
#include <cmath>

namespace aax_text
{
std::string FormatFixed (double value, int decimals)
{
    char buffer[400];
    const auto [end, error] = std::to_chars (buffer, buffer + sizeof (buffer), value,
                                             std::chars_format::fixed, decimals);
    if (error != std::errc {})
        return {};
    return std::string (buffer, end);
}

namespace
{
    bool IsSpace (char c)
    {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }

    bool IsDigit (char c)
    {
        return c >= '0' && c <= '9';
    }
} // namespace

bool ParseLeadingDecimal (const char* text, double& outValue)
{
    outValue = 0.0;
    if (text == nullptr)
        return false;
    while (IsSpace (*text))
        ++text;

    // from_chars takes no '+' and would read "0x1A" as 0: handle both before it.
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    const bool startsNumber = IsDigit (text[0]) || (text[0] == '.' && IsDigit (text[1]));
    if (! startsNumber || (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')))
        return false;

    double value = 0.0;
    const char* end = text;
    while (*end != '\0')
        ++end;
    const auto [stop, error] = std::from_chars (text, end, value, std::chars_format::general);
    if (error != std::errc {} || stop == text || ! std::isfinite (value))
        return false;
    outValue = negative ? -value : value;
    return true;
}
} // namespace aax_text

AAX_CString::AAX_CString (const char* text) : text_ (text != nullptr ? text : "") {}

uint32_t AAX_CString::Length() const
{
    return static_cast<uint32_t> (text_.size());
}

uint32_t AAX_CString::MaxLength() const
{
    return 0xFFFFFFFEu;
}

const char* AAX_CString::Get() const
{
    return text_.c_str();
}

void AAX_CString::Append (const char* text)
{
    if (text != nullptr)
        text_ += text;
}

void AAX_CString::Set (const char* text)
{
    text_ = text != nullptr ? text : "";
}

void AAX_CString::Set (const AAX_IString& other)
{
    Set (other.Get());
}

void AAX_CString::Erase (uint32_t position, uint32_t count)
{
    if (position >= text_.size())
        return;
    text_.erase (position, count);
}

void AAX_CString::AppendNumber (double value)
{
    text_ += aax_text::FormatFixed (value, 3);
}

bool AAX_CString::ToDouble (double* outValue) const
{
    double value = 0.0;
    const bool ok = aax_text::ParseLeadingDecimal (text_.c_str(), value);
    if (outValue != nullptr)
        *outValue = value;
    return ok;
}
