// A parameter holding a value of type T (float or bool) in engineering units.
#pragma once

#include "AAX_IParameter.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <type_traits>

// Changes made on the plug-in side go to the host through the automation delegate; the value
// itself changes when the host answers with UpdateNormalizedValue. Without a delegate the
// parameter updates itself at once. [host thread, message thread]
template <typename T>
class AAX_CParameter final : public AAX_IParameter
{
    static_assert (std::is_same_v<T, float> || std::is_same_v<T, bool>, "float and bool parameters only");

public:
    static constexpr size_t kMaxIdentifierLength = 31;

    AAX_CParameter (const char* identifier, const AAX_CString& name, T defaultValue,
                    const AAX_ITaperDelegate<T>& taper, const AAX_IDisplayDelegate<T>& display,
                    bool automatable = true)
        : name_ (name), automatable_ (automatable), taper_ (taper.Clone()), display_ (display.Clone()), value_ (defaultValue), default_ (defaultValue)
    {
        if (identifier != nullptr)
            std::strncpy (identifier_, identifier, kMaxIdentifierLength);
        if (steps_ == 0)
            steps_ = type_ == 0 ? 2 : 128;
        SetValue (defaultValue);
    }

    ~AAX_CParameter() override { SetAutomationDelegate (nullptr); }

    const char* Identifier() const override { return identifier_; }
    void SetName (const AAX_CString& name) override { name_ = name; }
    const AAX_CString& Name() const override { return name_; }

    void AddShortenedName (const AAX_CString& name) override
    {
        shortenedNames_[static_cast<int32_t> (name.Length())] = name;
    }

    // The name when it fits or none is shorter; else the longest shortened name that fits,
    // or the shortest one when none fits.
    AAX_CString ShortenedName (int32_t length) const override
    {
        if (shortenedNames_.empty() || length >= static_cast<int32_t> (name_.Length()))
            return name_;
        auto fitting = shortenedNames_.upper_bound (length);
        if (fitting == shortenedNames_.begin())
            return fitting->second;
        return std::prev (fitting)->second;
    }

    void ClearShortenedNames() override { shortenedNames_.clear(); }
    bool Automatable() const override { return automatable_; }

    void SetAutomationDelegate (AAX_IAutomationDelegate* delegate) override
    {
        if (automation_ != nullptr)
            automation_->UnregisterParameter (identifier_);
        automation_ = delegate;
        if (automation_ != nullptr)
            automation_->RegisterParameter (identifier_);
    }

    void Touch() override
    {
        if (automation_ != nullptr)
            automation_->PostTouchRequest (identifier_);
    }

    void Release() override
    {
        if (automation_ != nullptr)
            automation_->PostReleaseRequest (identifier_);
    }

    void SetNormalizedValue (double normalizedValue) override { SetValue (taper_->NormalizedToReal (normalizedValue)); }
    double GetNormalizedValue() const override { return taper_->RealToNormalized (value_.load()); }
    void SetNormalizedDefaultValue (double normalizedValue) override
    {
        default_ = taper_->ConstrainRealValue (taper_->NormalizedToReal (normalizedValue));
    }
    double GetNormalizedDefaultValue() const override { return taper_->RealToNormalized (default_); }
    void SetToDefaultValue() override { SetValue (default_); }

    void SetNumberOfSteps (int32_t steps) override { steps_ = steps; }
    int32_t GetNumberOfSteps() const override { return steps_; }

    int32_t GetStepValue() const override
    {
        if (steps_ < 2)
            return 0;
        const int32_t last = steps_ - 1;
        const auto step = static_cast<int32_t> (GetNormalizedValue() * last + 0.5);
        return std::clamp (step, 0, last);
    }

    void SetStepValue (int32_t step) override
    {
        if (steps_ < 2)
            return;
        SetNormalizedValue (std::clamp (static_cast<double> (step) / (steps_ - 1), 0.0, 1.0));
    }

    // The length is not applied: the host cuts the text itself.
    bool GetValueString (int32_t, AAX_CString* outText) const override { return display_->ValueToString (value_.load(), outText); }
    bool GetValueString (AAX_CString* outText) const override { return display_->ValueToString (value_.load(), outText); }

    // True only when the text reads as a value inside the taper's range; out gets the
    // normalised value of the (constrained) reading either way.
    bool GetNormalizedValueFromString (const AAX_CString& text, double* outValue) const override
    {
        T value {};
        if (! display_->StringToValue (text, &value))
            return false;
        *outValue = taper_->RealToNormalized (value);
        return InRange (value);
    }

    bool GetStringFromNormalizedValue (double normalizedValue, int32_t maxLength, AAX_CString* outText) const override
    {
        const T value = taper_->NormalizedToReal (normalizedValue);
        return display_->ValueToString (value, maxLength, outText) && InRange (value);
    }

    bool GetStringFromNormalizedValue (double normalizedValue, AAX_CString* outText) const override
    {
        const T value = taper_->NormalizedToReal (normalizedValue);
        return display_->ValueToString (value, outText) && InRange (value);
    }

    bool SetValueFromString (const AAX_CString& text) override
    {
        T value {};
        if (! display_->StringToValue (text, &value))
            return false;
        SetValue (value);
        return true;
    }

    bool GetValueAsBool (bool* outValue) const override { return GetAs<bool> (outValue); }
    bool GetValueAsInt32 (int32_t*) const override { return false; }
    bool GetValueAsFloat (float* outValue) const override { return GetAs<float> (outValue); }
    bool GetValueAsDouble (double*) const override { return false; }
    bool GetValueAsString (AAX_CString*) const override { return false; }
    bool SetValueWithBool (bool value) override { return SetAs<bool> (value); }
    bool SetValueWithInt32 (int32_t) override { return false; }
    bool SetValueWithFloat (float value) override { return SetAs<float> (value); }
    bool SetValueWithDouble (double) override { return false; }
    bool SetValueWithString (const AAX_CString&) override { return false; }

    void SetType (int32_t type) override { type_ = type; }
    int32_t GetType() const override { return type_; }
    void SetOrientation (int32_t orientation) override { orientation_ = orientation; }
    int32_t GetOrientation() const override { return orientation_; }

    // A taper of another value type is ignored.
    void SetTaperDelegate (const AAX_ITaperDelegateBase& taper, bool preserveValue) override
    {
        const auto* typed = dynamic_cast<const AAX_ITaperDelegate<T>*> (&taper);
        if (typed == nullptr)
            return;
        const double normalized = GetNormalizedValue();
        taper_ = typed->Clone();
        needsUpdate_ = true;
        if (preserveValue)
            SetValue (value_.load());
        else
            UpdateNormalizedValue (normalized);
    }

    // A display of another value type is ignored.
    void SetDisplayDelegate (const AAX_IDisplayDelegateBase& display) override
    {
        const auto* typed = dynamic_cast<const AAX_IDisplayDelegate<T>*> (&display);
        if (typed == nullptr)
            return;
        display_ = typed->Clone();
        if (automation_ != nullptr)
            automation_->PostCurrentValue (identifier_, GetNormalizedValue());
    }

    // Stores the host's value (constrained by the taper) and reports the host's value back. A
    // value outside 0..1 (or NaN) is reported as what was stored instead, also when that is
    // unchanged, so that the host does not keep a value the parameter cannot hold. Two updates
    // at once are the caller's to serialise (the effect parameters do).
    void UpdateNormalizedValue (double normalizedValue) override
    {
        const T value = taper_->NormalizedToReal (normalizedValue);
        const bool inRange = normalizedValue >= 0.0 && normalizedValue <= 1.0;
        if (inRange && ! needsUpdate_.load() && value == value_.load())
            return;
        value_.store (value);
        if (automation_ != nullptr)
            automation_->PostCurrentValue (identifier_, inRange ? normalizedValue : taper_->RealToNormalized (value));
        needsUpdate_.store (false);
    }

    // Asks the host for the value (through the delegate), or takes it at once without one.
    void SetValue (T value)
    {
        const double normalized = taper_->RealToNormalized (value);
        if (automation_ != nullptr)
        {
            Touch();
            automation_->PostSetValueRequest (identifier_, normalized);
            Release();
            return;
        }
        needsUpdate_ = true;
        UpdateNormalizedValue (normalized);
    }

    T GetValue() const { return value_.load(); }

private:
    bool InRange (T value) const { return taper_->GetMinimumValue() <= value && value <= taper_->GetMaximumValue(); }

    template <typename U>
    bool GetAs (U* outValue) const
    {
        if constexpr (std::is_same_v<T, U>)
        {
            *outValue = value_.load();
            return true;
        }
        else
        {
            (void) outValue;
            return false;
        }
    }

    template <typename U>
    bool SetAs (U value)
    {
        if constexpr (std::is_same_v<T, U>)
        {
            SetValue (value);
            return true;
        }
        else
        {
            (void) value;
            return false;
        }
    }

    char identifier_[kMaxIdentifierLength + 1] = {};
    AAX_CString name_;
    std::map<int32_t, AAX_CString> shortenedNames_;
    bool automatable_;
    int32_t steps_ = 0;
    int32_t type_ = 1;
    int32_t orientation_ = 0;
    std::unique_ptr<AAX_ITaperDelegate<T>> taper_;
    std::unique_ptr<AAX_IDisplayDelegate<T>> display_;
    AAX_IAutomationDelegate* automation_ = nullptr;
    // Atomic, as the value: set on one host thread, read by an update on another.
    std::atomic<bool> needsUpdate_ { true };
    // Atomic so that a packet handler on another thread reads a whole value.
    std::atomic<T> value_;
    T default_;
};
