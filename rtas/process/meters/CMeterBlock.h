#pragma once
// The part of an effect process that answers the host's meter questions: how many meters there
// are, of which types, and their current peak and clip values. Raw values come from the process
// (ReadRawMeters) at most once every two ticks. Each meter holds the last raw value as its peak
// and the tag of the reader that last read it, so that two readers (the mixer window and a
// control surface, each with its own one-byte tag) both see a peak that fell between their reads.
//
// [host thread] for every operation; only the process's meter-data-ready byte is shared with the
// audio thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "process/group/ProcessGroupRecords.h"

class CProcess;

// What the block keeps per meter.
struct SMeterState
{
    int32_t heldPeak = 0;
    uint8_t readerTag = 0;
    uint8_t clipFlag = 0;
};

// One meter of the list form, made by the effect process.
class CMeter
{
public:
    CMeter (EMeterType type, EMeterOrientation orientation) : fType (type), fOrientation (orientation) {}
    virtual ~CMeter() = default;

    EMeterType GetType() const { return fType; }
    EMeterOrientation GetOrientation() const { return fOrientation; }
    SMeterState& State() { return fState; }
    const SMeterState& State() const { return fState; }

private:
    EMeterType fType;
    EMeterOrientation fOrientation;
    SMeterState fState;
};

inline constexpr uint8_t kFixedFormReaderTag = 97; // 'a'
inline constexpr int32_t kAllMeters = -1;

class CMeterBlock
{
public:
    // The list form: no meters, no process.
    CMeterBlock() = default;
    // The fixed form: count meters, each with peak 0, reader tag 'a' and clip 0.
    CMeterBlock (CProcess* process, int32_t count);
    CMeterBlock (const CMeterBlock&) = delete;
    CMeterBlock& operator= (const CMeterBlock&) = delete;

    // Stores the process and reads the kind of its type (when it has one).
    void AttachProcess (CProcess* process);
    // Appends a meter (owned from now on); null throws CDAEError -7053.
    void AddMeter (std::unique_ptr<CMeter> meter);
    int32_t GetNumMeters() const;
    // The meter at a 1-based index; null outside 1..count (and in the fixed form).
    CMeter* GetMeter (int32_t index) const;
    int32_t CountMetersOfType (EMeterType type) const;
    // The 1-based position of the n-th meter of the type; 0 when there are fewer.
    int32_t FindMeterOfType (EMeterType type, int32_t n) const;

    // Answers a reader. values and clips hold one entry per meter. which is a meter number
    // (1..count) or kAllMeters; for one meter its value goes to oneValue (0 for a number out of
    // range, which changes nothing). A reset read fetches the raw values and zeroes every held
    // peak and clip flag.
    void ReadMeters (uint8_t tag, int32_t* values, uint8_t* clips, int32_t which, int32_t* oneValue, bool reset);

private:
    int32_t Count() const;
    SMeterState& StateAt (int32_t position);
    bool HasFreshData() const;
    bool FetchIsDue (uint32_t now) const;

    uint32_t fLastFetch = 0;
    CProcess* fProcess = nullptr;
    int32_t fTypeKind = 0;
    bool fListForm = true;
    std::vector<SMeterState> fFixed;
    std::vector<std::unique_ptr<CMeter>> fMeters;
};
