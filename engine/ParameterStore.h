#pragma once

#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>

namespace kestrune::engine
{
// The processor's parameters in engineering units, as one block sees them.
struct ParameterValues
{
    bool bypass = false;
    bool softKnee = true;
    float attack = 0.027f;
    float release = 0.3f;
    float threshold = std::pow (10.0f, -1.0f);
    float lowCut = 0.0f;
    float ratioSlope = 0.75f;
    float drive = 0.25f;
    float level = 1.0f;
    float mix = 1.0f;
};

// Same value, bit for bit (a stored NaN equals itself).
inline bool sameValue (float a, float b) noexcept
{
    return std::bit_cast<uint32_t> (a) == std::bit_cast<uint32_t> (b);
}

// The parameter values as every thread shares them: each one is stored and loaded whole,
// without a lock, by whichever thread sets or reads parameters; the audio thread takes one
// snapshot per block.
class ParameterStore
{
public:
    explicit ParameterStore (const ParameterValues& initial = {}) noexcept
        : bypass (initial.bypass), softKnee (initial.softKnee), attack (initial.attack), release (initial.release), threshold (initial.threshold), lowCut (initial.lowCut), ratioSlope (initial.ratioSlope), drive (initial.drive), level (initial.level), mix (initial.mix)
    {
    }

    ParameterValues snapshot() const noexcept
    {
        ParameterValues values;
        values.bypass = bypass.load (order);
        values.softKnee = softKnee.load (order);
        values.attack = attack.load (order);
        values.release = release.load (order);
        values.threshold = threshold.load (order);
        values.lowCut = lowCut.load (order);
        values.ratioSlope = ratioSlope.load (order);
        values.drive = drive.load (order);
        values.level = level.load (order);
        values.mix = mix.load (order);
        return values;
    }

    void setBypass (bool value) noexcept { bypass.store (value, order); }
    void setSoftKnee (bool value) noexcept { softKnee.store (value, order); }
    void setAttack (float value) noexcept { attack.store (value, order); }
    void setRelease (float value) noexcept { release.store (value, order); }
    void setThreshold (float value) noexcept { threshold.store (value, order); }
    void setLowCut (float value) noexcept { lowCut.store (value, order); }
    void setRatioSlope (float value) noexcept { ratioSlope.store (value, order); }
    void setDrive (float value) noexcept { drive.store (value, order); }
    void setLevel (float value) noexcept { level.store (value, order); }
    void setMix (float value) noexcept { mix.store (value, order); }

private:
    // Each value stands on its own: nothing is published through it.
    static constexpr auto order = std::memory_order_relaxed;
    static_assert (std::atomic<float>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

    std::atomic<bool> bypass;
    std::atomic<bool> softKnee;
    std::atomic<float> attack;
    std::atomic<float> release;
    std::atomic<float> threshold;
    std::atomic<float> lowCut;
    std::atomic<float> ratioSlope;
    std::atomic<float> drive;
    std::atomic<float> level;
    std::atomic<float> mix;
};
} // namespace kestrune::engine
