// Display delegates: how a parameter's value reads as text and is read back from text.
#pragma once

#include "AAX_CString.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

class AAX_IDisplayDelegateBase
{
public:
    virtual ~AAX_IDisplayDelegateBase() = default;
};

template <typename T>
class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase
{
public:
    virtual std::unique_ptr<AAX_IDisplayDelegate> Clone() const = 0;
    virtual bool ValueToString (T value, int32_t maxLength, AAX_CString* outText) const = 0;
    virtual bool ValueToString (T value, AAX_CString* outText) const = 0;
    virtual bool StringToValue (const AAX_CString& text, T* outValue) const = 0;
};

// The value as a decimal number with Precision decimals ("0.500"). A length cuts the text and
// drops a point left dangling at its end ("12.500" at 3 gives "12").
template <typename T, int32_t Precision = 2, int32_t SpaceAfter = 0>
class AAX_CNumberDisplayDelegate final : public AAX_IDisplayDelegate<T>
{
public:
    std::unique_ptr<AAX_IDisplayDelegate<T>> Clone() const override
    {
        return std::make_unique<AAX_CNumberDisplayDelegate> (*this);
    }
    bool ValueToString (T value, int32_t maxLength, AAX_CString* outText) const override
    {
        std::string text = aax_text::FormatFixed (static_cast<double> (value), Precision);
        const size_t length = maxLength > 0 ? static_cast<size_t> (maxLength) : 0;
        if (text.size() > length)
            text.resize (length);
        if (! text.empty() && text.size() == length && text.back() == '.')
            text.pop_back();
        outText->Set (text.c_str());
        return true;
    }
    bool ValueToString (T value, AAX_CString* outText) const override
    {
        outText->Set (aax_text::FormatFixed (static_cast<double> (value), Precision).c_str());
        return true;
    }
    // Reads a finite decimal number from the start of the text; failure writes 0.
    bool StringToValue (const AAX_CString& text, T* outValue) const override
    {
        double value = 0.0;
        const bool ok = aax_text::ParseLeadingDecimal (text.Get(), value) && std::isfinite (static_cast<T> (value));
        *outValue = ok ? static_cast<T> (value) : T (0);
        return ok;
    }
};

// A shortened pair of texts for the binary display, used when the host asks for at most length
// characters.
struct AAX_CDisplayStringEntry
{
    int32_t fLength;
    AAX_CString fFalseText;
    AAX_CString fTrueText;
};

// One text for false, one for true, with optional shortened pairs.
template <typename T>
class AAX_CBinaryDisplayDelegate final : public AAX_IDisplayDelegate<T>
{
public:
    AAX_CBinaryDisplayDelegate (const char* falseText, const char* trueText)
        : falseText_ (falseText), trueText_ (trueText), maxLength_ (static_cast<int32_t> (std::max (falseText_.Length(), trueText_.Length())))
    {
    }

    void AddShortenedStrings (int32_t length, const char* falseText, const char* trueText)
    {
        shortened_.push_back ({ length, AAX_CString (falseText), AAX_CString (trueText) });
    }

    std::unique_ptr<AAX_IDisplayDelegate<T>> Clone() const override
    {
        return std::make_unique<AAX_CBinaryDisplayDelegate> (*this);
    }
    bool ValueToString (T value, int32_t maxLength, AAX_CString* outText) const override
    {
        if (shortened_.empty() || maxLength >= maxLength_)
            return ValueToString (value, outText);
        const AAX_CDisplayStringEntry* chosen = &shortened_.front();
        for (auto entry = shortened_.rbegin(); entry != shortened_.rend(); ++entry)
            if (entry->fLength <= maxLength)
            {
                chosen = &*entry;
                break;
            }
        outText->Set (value ? chosen->fTrueText : chosen->fFalseText);
        return true;
    }
    bool ValueToString (T value, AAX_CString* outText) const override
    {
        outText->Set (value ? trueText_ : falseText_);
        return true;
    }
    bool StringToValue (const AAX_CString& text, T* outValue) const override
    {
        *outValue = text == trueText_;
        return text == trueText_ || text == falseText_;
    }

private:
    AAX_CString falseText_;
    AAX_CString trueText_;
    int32_t maxLength_;
    std::vector<AAX_CDisplayStringEntry> shortened_;
};
