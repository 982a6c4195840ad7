// The narrow, NUL-terminated string the library and the host exchange.
#pragma once

#include "ACFInterfaces.h"

#include <string>

class AAX_CString : public AAX_IString
{
public:
    AAX_CString() = default;
    // A null text gives the empty string.
    AAX_CString (const char* text); // NOLINT: converts like a text
    AAX_CString (const AAX_CString& other) = default;
    AAX_CString& operator= (const AAX_CString& other) = default;
    ~AAX_CString() override = default;

    uint32_t Length() const override;
    uint32_t MaxLength() const override;
    const char* Get() const override;
    void Append (const char* text) override;
    void Set (const char* text) override;
    void Set (const AAX_IString& other) override;

    // Removes up to count characters from position on, never beyond the end.
    void Erase (uint32_t position, uint32_t count);
    // Appends the value in fixed notation with three decimals: 2 gives "2.000".
    void AppendNumber (double value);
    // Reads a finite decimal number from the start (after white space); failure writes 0.
    bool ToDouble (double* outValue) const;

    bool operator== (const AAX_CString& other) const { return text_ == other.text_; }
    bool operator!= (const AAX_CString& other) const { return text_ != other.text_; }

private:
    std::string text_;
};

// The decimal conversions AAX_CString uses, shared with the library's display texts. Both are
// independent of the locale; parsing accepts only finite decimal numbers.
namespace aax_text
{
// Fixed notation with the given number of decimals.
std::string FormatFixed (double value, int decimals);
bool ParseLeadingDecimal (const char* text, double& outValue);
} // namespace aax_text
