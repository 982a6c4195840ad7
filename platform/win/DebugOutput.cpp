// Debug output: kept for the module's own tests, shown nowhere.

#include "Win32.h"

#include <deque>
#include <mutex>

namespace
{
struct DebugOutput
{
    std::mutex lock;
    std::deque<std::string> texts;
};

DebugOutput& output()
{
    static DebugOutput kept;
    return kept;
}
} // namespace

void OutputDebugStringA (LPCSTR text)
{
    DebugOutput& kept = output();
    std::lock_guard guard (kept.lock);
    kept.texts.emplace_back (text != nullptr ? text : "");
    if (kept.texts.size() > kestrune::win::kDebugOutputKept)
        kept.texts.pop_front();
}

std::vector<std::string> kestrune::win::takeDebugOutput()
{
    DebugOutput& kept = output();
    std::lock_guard guard (kept.lock);
    std::vector<std::string> texts (kept.texts.begin(), kept.texts.end());
    kept.texts.clear();
    return texts;
}
