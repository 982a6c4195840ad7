#pragma once
// Requests from the plug-in group to the host, through the callback that the host handed in
// (host selector 14): a relocatable toolbox block of the request's size, filled with the
// request's fields, handed to the callback and disposed of again. The group interface and the
// group classes built on it (the DSP group's request 13, the registration of request 15) send
// theirs through SendHostRequest.

#include <cstdint>
#include <functional>

// The host's request codes.
namespace HostRequestCode
{
inline constexpr int16_t kSlowHardware = 10;
inline constexpr int16_t k11 = 11;
inline constexpr int16_t k12 = 12;
inline constexpr int16_t k13 = 13;
inline constexpr int16_t k14 = 14;
inline constexpr int16_t k15 = 15;
inline constexpr int16_t kFastHardware = 17;
inline constexpr int16_t k19 = 19;
inline constexpr int16_t k20 = 20;
}

// The bytes of one request block, written at their offsets in the host's byte order. A field
// that would not lie wholly inside the block throws CDAEError -7401 and writes nothing.
class HostRequestBlock
{
public:
    HostRequestBlock (char* data, int32_t size) : fData (data), fSize (size) {}

    void Put32 (int32_t offset, int32_t value);
    void Put16 (int32_t offset, int16_t value);
    // A pointer as the 32-bit word the host reads.
    void PutPointer (int32_t offset, const void* pointer);

private:
    void Put (int32_t offset, const void* value, int32_t width);

    char* fData;
    int32_t fSize;
};

// Whether the block is moved high in the toolbox's memory before it is locked (the requests
// that hand the host a block it keeps for a while).
enum class HostRequestBlockMove
{
    kStays,
    kMovedHigh
};

// [host thread] Sends one request: -7175 without the host's callback, -7176 when no block can be
// had (no toolbox, or no memory); otherwise the callback's 16-bit result. The block is zeroed
// before `fill` writes it and disposed of whatever happens.
int32_t SendHostRequest (int16_t code, int32_t size, HostRequestBlockMove move,
                         const std::function<void (HostRequestBlock&)>& fill);
