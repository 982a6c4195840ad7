#pragma once
// What every stand-in host library keeps for the tests: the calls it received, in order, and
// the script of results and failures that the next calls are to give.
//
// - Recorded calls: the function's name, its numeric arguments (addresses as numbers) and its
//   text argument (a name or path), when it has one.
// - Injected failures: injectFailure("FicNewObject", code) makes the next call of that
//   function fail as it would for a real reason, reporting `code` (a routine with a result code
//   returns it; one that returns an object returns none and, where the host keeps a last error,
//   sets it to `code`). `skip` lets that many calls pass first; `times` < 0 fails for good.
// - Scripted results: scriptResult("TickCount", value) makes the next calls of a function that
//   answers a value answer `value` instead; which functions take a scripted result is said at
//   each stand-in.
// - Recording can be switched off (setRecording(false)) by a long-running user such as a host
//   tool, so that idle-time calls do not pile up; reset switches it on again.
// Header only, so that a test and the stand-in library share one definition of it.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune::host::rtas
{

struct RecordedCall
{
    std::string function;
    std::vector<int64_t> arguments;
    std::string text;
};

class StandInScript
{
public:
    void record (std::string function, std::vector<int64_t> arguments = {}, std::string text = {})
    {
        std::lock_guard guard (lock_);
        if (recording_)
            calls_.push_back ({ std::move (function), std::move (arguments), std::move (text) });
    }

    std::vector<RecordedCall> calls() const
    {
        std::lock_guard guard (lock_);
        return calls_;
    }

    std::vector<RecordedCall> callsOf (std::string_view function) const
    {
        std::lock_guard guard (lock_);
        std::vector<RecordedCall> matching;
        for (const auto& call : calls_)
            if (call.function == function)
                matching.push_back (call);
        return matching;
    }

    size_t countOf (std::string_view function) const { return callsOf (function).size(); }

    // The names of the recorded calls, in order.
    std::vector<std::string> callNames() const
    {
        std::lock_guard guard (lock_);
        std::vector<std::string> names;
        for (const auto& call : calls_)
            names.push_back (call.function);
        return names;
    }

    void setRecording (bool recording)
    {
        std::lock_guard guard (lock_);
        recording_ = recording;
    }

    void clearCalls()
    {
        std::lock_guard guard (lock_);
        calls_.clear();
    }

    void injectFailure (const std::string& function, int32_t code, int times = 1, int skip = 0)
    {
        std::lock_guard guard (lock_);
        failures_[function] = { code, times, skip };
    }

    void scriptResult (const std::string& function, int64_t value, int times = -1, int skip = 0)
    {
        std::lock_guard guard (lock_);
        results_[function] = { value, times, skip };
    }

    // Consulted once per call by the stand-in: the failure this call is to report, if any.
    std::optional<int32_t> takeFailure (std::string_view function)
    {
        std::lock_guard guard (lock_);
        auto value = take (failures_, function);
        return value ? std::optional<int32_t> (int32_t (*value)) : std::nullopt;
    }

    // Consulted once per call by the stand-in: the value this call is to answer, if scripted.
    std::optional<int64_t> takeResult (std::string_view function)
    {
        std::lock_guard guard (lock_);
        return take (results_, function);
    }

    void reset()
    {
        std::lock_guard guard (lock_);
        calls_.clear();
        failures_.clear();
        results_.clear();
        recording_ = true;
    }

private:
    struct Scripted
    {
        int64_t value = 0;
        int times = 1; // < 0: every call
        int skip = 0;
    };

    static std::optional<int64_t> take (std::map<std::string, Scripted, std::less<>>& script, std::string_view function)
    {
        const auto found = script.find (function);
        if (found == script.end())
            return std::nullopt;
        Scripted& entry = found->second;
        if (entry.times == 0)
        {
            script.erase (found);
            return std::nullopt;
        }
        if (entry.skip > 0)
        {
            --entry.skip;
            return std::nullopt;
        }
        const int64_t value = entry.value;
        if (entry.times > 0 && --entry.times == 0)
            script.erase (found);
        return value;
    }

    mutable std::mutex lock_;
    bool recording_ = true;
    std::vector<RecordedCall> calls_;
    std::map<std::string, Scripted, std::less<>> failures_;
    std::map<std::string, Scripted, std::less<>> results_;
};

inline int64_t addressOf (const void* pointer)
{
    return int64_t (reinterpret_cast<uintptr_t> (pointer));
}

} // namespace kestrune::host::rtas
