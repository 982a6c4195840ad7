#include "process/group/HostRequests.h"

#include <cstring>

#include "process/base/CDAEError.h"
#include "process/base/PointerWords.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/utilities/HostExtToolbox.h"

namespace
{
// The toolbox block of one request: allocated zeroed, locked while it lives, then unlocked and
// disposed of.
class LockedRequestBlock
{
public:
    LockedRequestBlock (const HostToolboxRoutines& toolbox, int32_t size, HostRequestBlockMove move)
        : fToolbox (toolbox), fHandle (toolbox.NewHandleClear (size))
    {
        if (fHandle == nullptr)
            return;
        if (*fHandle == nullptr)
        {
            fToolbox.DisposeHandle (fHandle);
            fHandle = nullptr;
            return;
        }
        if (move == HostRequestBlockMove::kMovedHigh)
            fToolbox.MoveHHi (fHandle);
        fToolbox.HLock (fHandle);
    }

    ~LockedRequestBlock()
    {
        if (fHandle == nullptr)
            return;
        fToolbox.HUnlock (fHandle);
        fToolbox.DisposeHandle (fHandle);
    }

    LockedRequestBlock (const LockedRequestBlock&) = delete;
    LockedRequestBlock& operator= (const LockedRequestBlock&) = delete;

    Handle Get() const { return fHandle; }

private:
    const HostToolboxRoutines& fToolbox;
    Handle fHandle;
};
}

void HostRequestBlock::Put (int32_t offset, const void* value, int32_t width)
{
    if (offset < 0 || width > fSize || offset > fSize - width)
        throw CDAEError (RTASError::kUnexpected);
    std::memcpy (fData + offset, value, static_cast<size_t> (width));
}

void HostRequestBlock::Put32 (int32_t offset, int32_t value)
{
    Put (offset, &value, sizeof value);
}

void HostRequestBlock::Put16 (int32_t offset, int16_t value)
{
    Put (offset, &value, sizeof value);
}

void HostRequestBlock::PutPointer (int32_t offset, const void* pointer)
{
    Put32 (offset, WordOfPointer (pointer));
}

int32_t SendHostRequest (int16_t code, int32_t size, HostRequestBlockMove move,
                         const std::function<void (HostRequestBlock&)>& fill)
{
    const HostCallbackProc callback = CProcessGroupInterface::GetHostCallback();
    if (callback == nullptr)
        return GroupResult::kNoHostCallback;
    const HostToolboxRoutines* toolbox = InstalledHostToolbox();
    if (toolbox == nullptr)
        return GroupResult::kNoRequestBlock;
    const LockedRequestBlock block (*toolbox, size, move);
    if (block.Get() == nullptr)
        return GroupResult::kNoRequestBlock;
    HostRequestBlock request (*block.Get(), size);
    fill (request);
    return callback (code, nullptr, block.Get());
}
