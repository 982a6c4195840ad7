// Taper delegates: how a parameter's value in engineering units maps to the host's 0..1.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>

class AAX_ITaperDelegateBase
{
public:
    virtual ~AAX_ITaperDelegateBase() = default;
};

template <typename T>
class AAX_ITaperDelegate : public AAX_ITaperDelegateBase
{
public:
    virtual std::unique_ptr<AAX_ITaperDelegate> Clone() const = 0;
    virtual T GetMaximumValue() const = 0;
    virtual T GetMinimumValue() const = 0;
    virtual T ConstrainRealValue (T value) const = 0;
    virtual T NormalizedToReal (double normalizedValue) const = 0;
    virtual double RealToNormalized (T realValue) const = 0;
};

// A straight line from minimum (0) to maximum (1). Values outside the range, and NaN, are
// constrained into it (NaN becomes the minimum).
template <typename T, int32_t RealPrecision = 0>
class AAX_CLinearTaperDelegate final : public AAX_ITaperDelegate<T>
{
public:
    AAX_CLinearTaperDelegate (T minimum = T (0), T maximum = T (1)) : minimum_ (minimum), maximum_ (maximum) {}

    std::unique_ptr<AAX_ITaperDelegate<T>> Clone() const override
    {
        return std::make_unique<AAX_CLinearTaperDelegate> (*this);
    }
    T GetMaximumValue() const override { return maximum_; }
    T GetMinimumValue() const override { return minimum_; }
    T ConstrainRealValue (T value) const override
    {
        if (std::isnan (value))
            return minimum_;
        if (value > maximum_)
            return maximum_;
        if (value < minimum_)
            return minimum_;
        return value;
    }
    T NormalizedToReal (double normalizedValue) const override
    {
        return ConstrainRealValue (static_cast<T> ((maximum_ - minimum_) * normalizedValue + minimum_));
    }
    double RealToNormalized (T realValue) const override
    {
        return (static_cast<double> (ConstrainRealValue (realValue)) - minimum_) / (static_cast<double> (maximum_) - minimum_);
    }

private:
    T minimum_;
    T maximum_;
};

// Off (false) at 0, on (true) above 0.
template <typename T>
class AAX_CBinaryTaperDelegate final : public AAX_ITaperDelegate<T>
{
public:
    std::unique_ptr<AAX_ITaperDelegate<T>> Clone() const override
    {
        return std::make_unique<AAX_CBinaryTaperDelegate> (*this);
    }
    T GetMaximumValue() const override { return true; }
    T GetMinimumValue() const override { return false; }
    T ConstrainRealValue (T value) const override { return value; }
    T NormalizedToReal (double normalizedValue) const override { return normalizedValue > 0.0; }
    double RealToNormalized (T realValue) const override { return realValue ? 1.0 : 0.0; }
};
