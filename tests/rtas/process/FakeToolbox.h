#pragma once
// A scripted host toolbox for the utility tests, installed for the lifetime of the object.

#include <cstdio>
#include <cstring>
#include <deque>

#include "process/utilities/ToolboxServices.h"

class FakeToolbox : public IHostToolboxServices
{
public:
    FakeToolbox() { SetHostToolbox (this); }
    ~FakeToolbox() override { SetHostToolbox (nullptr); }

    // Each query takes the next scripted reading; 0 once the script is used up.
    std::deque<int16_t> resourceErrors;
    std::deque<int16_t> toolboxErrors;
    int resourceQueries = 0;
    int toolboxQueries = 0;

    int16_t ResourceError() override
    {
        ++resourceQueries;
        return Next (resourceErrors);
    }
    int16_t ToolboxError() override
    {
        ++toolboxQueries;
        return Next (toolboxErrors);
    }

    void NumberToText (int32_t number, uint8_t* pascalText) override
    {
        char text[16];
        const int length = std::snprintf (text, sizeof text, "%d", static_cast<int> (number));
        pascalText[0] = static_cast<uint8_t> (length);
        std::memcpy (pascalText + 1, text, static_cast<size_t> (length));
    }

    // Blocks are handles: a pointer to the data pointer.
    void* BlockData (void* block) override { return *static_cast<void**> (block); }

    // The utilities tested here do not use the clock, controls or file specs.
    uint64_t Microseconds() override { return 0; }
    bool ControlRecord (void*, uint8_t*) override { return false; }
    void CStrToPStrInPlace (char*) override {}
    int16_t MakeFileSpec (const uint8_t*, FSSpec*) override { return paramErr; }

private:
    static int16_t Next (std::deque<int16_t>& script)
    {
        if (script.empty())
            return 0;
        const int16_t value = script.front();
        script.pop_front();
        return value;
    }
};
