// What a module told the stand-in host while describing itself.
#pragma once

#include "ACFInterfaces.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kestrune::host::aax
{
using PropertyValues = std::map<uint32_t, int32_t>;

struct RecordedProcedure
{
    void* procedure = nullptr;
    int32_t kind = 0;
};

struct RecordedDataPort
{
    uint32_t field = 0;
    uint32_t packetSize = 0;
    int32_t buffered = 0;
};

struct RecordedPrivateData
{
    uint32_t field = 0;
    int32_t size = 0;
    uint32_t options = 0;
};

struct RecordedProcessProcedure
{
    AAX_ProcessProc procedure = nullptr;
    PropertyValues properties;
};

// What a context field of a component holds.
enum class FieldKind
{
    audioIn, // float* const*: one pointer per input channel
    audioOut, // float* const*: one pointer per output channel
    bufferLength, // int32_t*: samples in the block
    dataInPort, // the last packet posted on the port of that number
    privateData // a block the instance's ClearDataBlock fills
};

struct RecordedComponent
{
    std::vector<uint32_t> audioFields; // fields declared by the audio-in, audio-out and buffer-length calls
    std::map<uint32_t, FieldKind> fields;
    std::vector<RecordedDataPort> dataInPorts;
    std::vector<RecordedPrivateData> privateData;
    std::vector<RecordedProcessProcedure> processProcedures;
};

struct RecordedEffect
{
    std::string identifier;
    std::vector<std::string> names;
    std::vector<uint32_t> categories;
    std::vector<RecordedProcedure> procedures;
    PropertyValues properties;
    std::vector<RecordedComponent> components;

    // The registered procedure of a kind (0 processor factory, 1 GUI factory), or null.
    const RecordedProcedure* Procedure (int32_t procedureKind) const
    {
        for (const RecordedProcedure& entry : procedures)
            if (entry.kind == procedureKind)
                return &entry;
        return nullptr;
    }
};

struct HostDescription
{
    std::string manufacturer;
    std::vector<std::string> packageNames;
    uint32_t packageVersion = 0;
    PropertyValues properties;
    std::vector<RecordedEffect> effects;
    int32_t definitionQueries = 0;
};
} // namespace kestrune::host::aax
