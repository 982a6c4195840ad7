#include "process/process/ControlSDSArrays.h"

#include <new>

#include "process/base/CDAEError.h"

void ControlSDSArrays::Allocate (int32_t controlCount)
{
    Free();
    const size_t entries = static_cast<size_t> (controlCount < 0 ? 0 : controlCount) + 1;
    try
    {
        fEntries.assign (entries, ControlSDSEntry {});
        fTaskValues.assign (entries, SListenerTaskValue { nullptr, 0 });
    }
    catch (const std::bad_alloc&)
    {
        Free();
        throw CDAEError (RTASError::kNullPointer);
    }
}

void ControlSDSArrays::Free()
{
    std::vector<ControlSDSEntry>().swap (fEntries);
    std::vector<SListenerTaskValue>().swap (fTaskValues);
}

int32_t ControlSDSArrays::ControlCount() const
{
    return fEntries.empty() ? 0 : static_cast<int32_t> (fEntries.size() - 1);
}

ControlSDSEntry* ControlSDSArrays::Entry (int32_t index)
{
    return HasEntry (index) ? &fEntries[static_cast<size_t> (index)] : nullptr;
}

const ControlSDSEntry* ControlSDSArrays::Entry (int32_t index) const
{
    return HasEntry (index) ? &fEntries[static_cast<size_t> (index)] : nullptr;
}

SListenerTaskValue* ControlSDSArrays::TaskValue (int32_t index)
{
    return HasEntry (index) ? &fTaskValues[static_cast<size_t> (index)] : nullptr;
}
