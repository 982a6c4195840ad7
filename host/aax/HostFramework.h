// The stand-in host's shared state: what modules told it, what it is scripted to answer, and
// how many of its objects and references are alive.
#pragma once

#include "HostDescription.h"

#include <atomic>
#include <charconv>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kestrune::host::aax
{
// One call a module made on a host interface: interface name, slot number, arguments as text.
struct HostCall
{
    std::string interfaceName;
    int slot = 0;
    std::string arguments;
};

class HostFramework
{
public:
    HostFramework() = default;
    HostFramework (const HostFramework&) = delete;
    HostFramework& operator= (const HostFramework&) = delete;

    // ---- scripting
    // Every host object refuses this interface.
    void FailQuery (const acfIID& iid);
    // The host unknown answers the factory query with success and a null factory.
    void SetNullFactory (bool nullFactory) { nullFactory_ = nullFactory; }
    bool NullFactory() const { return nullFactory_; }
    // The factory refuses to make objects of this class.
    void FailCreation (const acfCLSID& classId);
    // The host operation at this slot of the named interface answers result (else 0).
    void SetResult (const std::string& interfaceName, int slot, int32_t result);

    bool QueryFails (const acfIID& iid) const;
    bool CreationFails (const acfCLSID& classId) const;

    // ---- recording
    // Logs a call and returns its scripted result.
    template <class... Args>
    int32_t Record (const char* interfaceName, int slot, const Args&... args)
    {
        std::ostringstream text;
        [[maybe_unused]] const char* separator = "";
        ((text << separator << Format (args), separator = ","), ...);
        return Log (interfaceName, slot, text.str());
    }
    std::vector<HostCall> Calls() const;
    // The calls made on one interface, in order.
    std::vector<HostCall> CallsTo (const std::string& interfaceName) const;
    void ClearCalls();

    HostDescription& Description() { return description_; }
    const HostDescription& Description() const { return description_; }

    // ---- reference ledger
    void ObjectCreated() { ++liveObjects_; }
    void ObjectDestroyed() { --liveObjects_; }
    void ReferenceAdded() { ++references_; }
    void ReferenceReleased() { --references_; }
    // Host objects alive, and references held on them by anyone.
    int32_t LiveObjects() const { return liveObjects_.load(); }
    int64_t References() const { return references_.load(); }

private:
    static std::string Format (const char* text) { return text != nullptr ? '"' + std::string (text) + '"' : "null"; }
    static std::string Format (char* text) { return Format (static_cast<const char*> (text)); }
    // The shortest text that reads back as the same number, so that values differing in their
    // last bits are told apart.
    static std::string Format (double value)
    {
        char text[32];
        const auto end = std::to_chars (std::begin (text), std::end (text), value).ptr;
        return std::string (text, end);
    }
    template <class T>
    static std::string Format (T* pointer)
    {
        std::ostringstream text;
        text << static_cast<const void*> (pointer);
        return pointer != nullptr ? text.str() : "null";
    }
    template <class T>
    static std::string Format (const T& value)
    {
        std::ostringstream text;
        text << value;
        return text.str();
    }
    int32_t Log (const char* interfaceName, int slot, std::string arguments);

    mutable std::mutex mutex_;
    std::vector<acfIID> failingQueries_;
    std::vector<acfCLSID> failingCreations_;
    std::map<std::pair<std::string, int>, int32_t> results_;
    std::vector<HostCall> calls_;
    std::atomic<bool> nullFactory_ { false };
    HostDescription description_;
    std::atomic<int32_t> liveObjects_ { 0 };
    std::atomic<int64_t> references_ { 0 };
};
} // namespace kestrune::host::aax
