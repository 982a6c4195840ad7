#pragma once
// Processes and controls for the process, type and meter tests.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "process/base/FourCharCode.h"
#include "process/controls/CPluginControl_Discrete.h"
#include "process/process/CProcess.h"
#include "process/type/CProcessType.h"
#include "process/utilities/ViewlessMode.h"

// A plain process of two inputs and two outputs that keeps what the meter block asks of it.
class CTestProcess : public CProcess
{
public:
    int32_t GetNumInputs (int16_t* count) override
    {
        *count = 2;
        return 0;
    }
    int32_t GetNumOutputs (int16_t* count) override
    {
        *count = 2;
        return 0;
    }

    // What ReadRawMeters hands out, and how often it was asked.
    std::vector<int32_t> rawValues;
    std::vector<uint8_t> rawClips;
    int rawReads = 0;

    void ReadRawMeters (int32_t* values, uint8_t* clips) override
    {
        ++rawReads;
        for (size_t i = 0; i < rawValues.size(); ++i)
            values[i] = rawValues[i];
        for (size_t i = 0; i < rawClips.size(); ++i)
            clips[i] = rawClips[i];
    }

    // The values the view side was asked to show, by control.
    std::vector<std::pair<int32_t, int32_t>> shown;
    int32_t ControlValueChanged (int32_t index, int32_t value) override
    {
        shown.emplace_back (index, value);
        return CProcess::ControlValueChanged (index, value);
    }

    std::vector<int32_t> changed;
    void OnControlChanged (int32_t index) override { changed.push_back (index); }
};

// The identifier of test control n: 'ct' followed by two digits.
inline uint32_t TestControlID (int n)
{
    return FourCharCode ("ct00") + uint32_t ((n / 10) << 8) + uint32_t (n % 10);
}

// Adds discrete controls over [0, 10] named "Control n\nCn" with the identifier of n.
inline void AddTestControls (CProcess& process, int count)
{
    for (int n = 1; n <= count; ++n)
    {
        char name[32];
        std::snprintf (name, sizeof name, "Control %d\nC%d", n, n);
        process.AddControl (new CPluginControl_Discrete (TestControlID (n), name, 0, 10, 5, true));
    }
}

// The value the process holds for a control.
inline int32_t ControlValueOf (CProcess& process, int32_t index)
{
    int32_t value = 0;
    process.GetControlValue (index, &value);
    return value;
}

// The instance IDs of a type's processes, in list order.
inline std::vector<int16_t> InstanceIDs (const CProcessType& type)
{
    std::vector<int16_t> ids;
    for (CProcess* process : type.Processes())
        ids.push_back (process->GetInstanceID());
    return ids;
}

// Sets the view-less mode for the life of the object.
class ScopedViewless
{
public:
    explicit ScopedViewless (bool viewless = true) { SetViewlessMode (viewless); }
    ~ScopedViewless() { SetViewlessMode (false); }
};
