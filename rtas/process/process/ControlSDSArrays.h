#pragma once
// A process's per-control SDS state: for each control, its SDS name ID, its three listeners, its
// touch nesting depth and the task value its listeners carry. Entries are 1-based (entry 0 stays
// unused), sized once when the process is initialised, and every access is bounded by that size:
// a control added later, or any index below 1, has no entry.

#include <cstddef>
#include <cstdint>
#include <vector>

#include <abi/DAE.h>

class CProcess;

#pragma pack(push, 2)
// The task value given to a control's listeners: the engine hands it back with each token.
struct SListenerTaskValue
{
    CProcess* fProcess;
    int32_t fControlIndex;
};
#pragma pack(pop)
static_assert (sizeof (SListenerTaskValue) == 8);

struct ControlSDSEntry
{
    int32_t nameId = 0;
    FicObjectRef currentValueListener = 0; // 'CURV' / 'CAVL'
    FicObjectRef getValueListener = 0; // 'GETV' / 'CAVL'
    FicObjectRef highlightListener = 0; // 'SETV' / 'CHIL'
    int32_t touchCount = 0;
};

class ControlSDSArrays
{
public:
    // Entries for controls 1..controlCount, all zero. Running out of memory throws CDAEError -7053.
    void Allocate (int32_t controlCount);
    void Free();

    bool IsAllocated() const { return ! fEntries.empty(); }
    // The number of controls that have an entry.
    int32_t ControlCount() const;

    // Null for an index without an entry.
    ControlSDSEntry* Entry (int32_t index);
    const ControlSDSEntry* Entry (int32_t index) const;
    SListenerTaskValue* TaskValue (int32_t index);

private:
    bool HasEntry (int32_t index) const { return index >= 1 && static_cast<size_t> (index) < fEntries.size(); }

    // Sized once: listeners hold the addresses of the task values.
    std::vector<ControlSDSEntry> fEntries;
    std::vector<SListenerTaskValue> fTaskValues;
};
