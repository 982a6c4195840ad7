#include "HostFramework.h"

#include <algorithm>

namespace kestrune::host::aax
{
void HostFramework::FailQuery (const acfIID& iid)
{
    std::lock_guard lock (mutex_);
    failingQueries_.push_back (iid);
}

void HostFramework::FailCreation (const acfCLSID& classId)
{
    std::lock_guard lock (mutex_);
    failingCreations_.push_back (classId);
}

void HostFramework::SetResult (const std::string& interfaceName, int slot, int32_t result)
{
    std::lock_guard lock (mutex_);
    results_[{ interfaceName, slot }] = result;
}

bool HostFramework::QueryFails (const acfIID& iid) const
{
    std::lock_guard lock (mutex_);
    return std::find (failingQueries_.begin(), failingQueries_.end(), iid) != failingQueries_.end();
}

bool HostFramework::CreationFails (const acfCLSID& classId) const
{
    std::lock_guard lock (mutex_);
    return std::find (failingCreations_.begin(), failingCreations_.end(), classId) != failingCreations_.end();
}

int32_t HostFramework::Log (const char* interfaceName, int slot, std::string arguments)
{
    std::lock_guard lock (mutex_);
    calls_.push_back ({ interfaceName, slot, std::move (arguments) });
    const auto scripted = results_.find ({ interfaceName, slot });
    return scripted != results_.end() ? scripted->second : 0;
}

std::vector<HostCall> HostFramework::Calls() const
{
    std::lock_guard lock (mutex_);
    return calls_;
}

std::vector<HostCall> HostFramework::CallsTo (const std::string& interfaceName) const
{
    std::lock_guard lock (mutex_);
    std::vector<HostCall> matching;
    for (const HostCall& call : calls_)
        if (call.interfaceName == interfaceName)
            matching.push_back (call);
    return matching;
}

void HostFramework::ClearCalls()
{
    std::lock_guard lock (mutex_);
    calls_.clear();
}
} // namespace kestrune::host::aax
