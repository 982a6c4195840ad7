#pragma once
// A scripted host toolbox for the utility tests: a table of the toolbox's routines, installed
// for the lifetime of the object in place of the bound HostExt.dll. Routines the tests here do
// not reach stay null.

#include <cstdio>
#include <cstring>
#include <deque>
#include <list>
#include <map>

#include "process/utilities/HostExtToolbox.h"

class FakeToolbox
{
public:
    FakeToolbox() : fInstalled (Routines())
    {
        sCurrent = this;
    }
    ~FakeToolbox() { sCurrent = nullptr; }
    FakeToolbox (const FakeToolbox&) = delete;
    FakeToolbox& operator= (const FakeToolbox&) = delete;

    // Each query takes the next scripted reading; 0 once the script is used up.
    std::deque<int16_t> resourceErrors;
    std::deque<int16_t> toolboxErrors;
    int resourceQueries = 0;
    int toolboxQueries = 0;

    // A handle to the caller's bytes, whose block size the toolbox reports as given.
    Handle Block (void* data, int32_t size)
    {
        Ptr& handle = fHandles.emplace_back (static_cast<Ptr> (data));
        fSizes[&handle] = size;
        return &handle;
    }

private:
    static HostToolboxRoutines Routines()
    {
        HostToolboxRoutines routines;
        routines.ResError = [] { return Next (sCurrent->resourceErrors, sCurrent->resourceQueries); };
        routines.MemError = [] { return Next (sCurrent->toolboxErrors, sCurrent->toolboxQueries); };
        routines.NumToString = [] (int32_t number, StringPtr text) {
            char digits[16];
            const int length = std::snprintf (digits, sizeof digits, "%d", static_cast<int> (number));
            text[0] = static_cast<uint8_t> (length);
            std::memcpy (text + 1, digits, static_cast<size_t> (length));
        };
        routines.HandleData = [] (Handle block) { return block != nullptr ? *block : nullptr; };
        routines.GetHandleSize = [] (Handle block) {
            const auto found = sCurrent->fSizes.find (block);
            return found != sCurrent->fSizes.end() ? found->second : 0;
        };
        return routines;
    }

    static int16_t Next (std::deque<int16_t>& script, int& queries)
    {
        ++queries;
        if (script.empty())
            return 0;
        const int16_t value = script.front();
        script.pop_front();
        return value;
    }

    static inline FakeToolbox* sCurrent = nullptr;
    std::list<Ptr> fHandles;
    std::map<Handle, int32_t> fSizes;
    ScopedHostToolbox fInstalled;
};
