#include "process/meters/CMeterBlock.h"

#include "process/base/CDAEError.h"
#include "process/process/CProcess.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/type/CProcessType.h"

namespace
{
// Raw values are fetched at most once in this many ticks.
constexpr uint32_t kFetchInterval = 2;
}

CMeterBlock::CMeterBlock (CProcess* process, int32_t count)
    : fListForm (false), fFixed (static_cast<size_t> (count > 0 ? count : 0), SMeterState { 0, kFixedFormReaderTag, 0 })
{
    AttachProcess (process);
}

void CMeterBlock::AttachProcess (CProcess* process)
{
    fProcess = process;
    if (process != nullptr && process->GetType() != nullptr)
        process->GetType()->GetTypeKind (&fTypeKind);
}

void CMeterBlock::AddMeter (std::unique_ptr<CMeter> meter)
{
    ThrowIfNull (meter.get());
    fMeters.push_back (std::move (meter));
}

int32_t CMeterBlock::GetNumMeters() const
{
    return static_cast<int32_t> (fMeters.size());
}

CMeter* CMeterBlock::GetMeter (int32_t index) const
{
    if (index < 1 || index > GetNumMeters())
        return nullptr;
    return fMeters[static_cast<size_t> (index - 1)].get();
}

int32_t CMeterBlock::CountMetersOfType (EMeterType type) const
{
    int32_t count = 0;
    for (const auto& meter : fMeters)
        count += meter->GetType() == type ? 1 : 0;
    return count;
}

int32_t CMeterBlock::FindMeterOfType (EMeterType type, int32_t n) const
{
    int32_t seen = 0;
    for (int32_t position = 1; position <= GetNumMeters(); ++position)
        if (fMeters[static_cast<size_t> (position - 1)]->GetType() == type && ++seen == n)
            return position;
    return 0;
}

int32_t CMeterBlock::Count() const
{
    return fListForm ? GetNumMeters() : static_cast<int32_t> (fFixed.size());
}

SMeterState& CMeterBlock::StateAt (int32_t position)
{
    return fListForm ? fMeters[static_cast<size_t> (position)]->State() : fFixed[static_cast<size_t> (position)];
}

bool CMeterBlock::HasFreshData() const
{
    return fTypeKind != kFreshMetersTypeKind || (fProcess != nullptr && fProcess->IsMeterDataReady());
}

bool CMeterBlock::FetchIsDue (uint32_t now) const
{
    return now - fLastFetch >= kFetchInterval;
}

void CMeterBlock::ReadMeters (uint8_t tag, int32_t* values, uint8_t* clips, int32_t which, int32_t* oneValue, bool reset)
{
    const int32_t count = Count();
    if (reset)
    {
        if (fProcess != nullptr)
            fProcess->ReadRawMeters (values, clips);
        for (int32_t i = 0; i < count; ++i)
            StateAt (i) = { 0, StateAt (i).readerTag, 0 };
        return;
    }
    const bool allMeters = which == kAllMeters;
    if (! allMeters)
    {
        if (oneValue != nullptr)
            *oneValue = 0;
        if (which < 1 || which > count)
            return;
    }
    const uint32_t now = HostToolbox().TickCount();
    if (FetchIsDue (now) && HasFreshData() && fProcess != nullptr)
    {
        fLastFetch = now;
        fProcess->ReadRawMeters (values, clips);
        fProcess->SetMeterDataReady (false);
        for (int32_t i = 0; i < count; ++i)
        {
            SMeterState& state = StateAt (i);
            const int32_t raw = values[i];
            // A reader that did not see the last peak is shown it while the level has fallen.
            const int32_t shown = state.readerTag == tag || raw >= state.heldPeak ? raw : state.heldPeak;
            if (allMeters)
                values[i] = shown;
            else if (i == which - 1 && oneValue != nullptr)
                *oneValue = shown;
            state = { raw, tag, clips[i] };
        }
        return;
    }
    if (! allMeters)
    {
        if (oneValue != nullptr)
            *oneValue = StateAt (which - 1).heldPeak;
        return;
    }
    for (int32_t i = 0; i < count; ++i)
    {
        values[i] = StateAt (i).heldPeak;
        clips[i] = StateAt (i).clipFlag;
    }
}
