#include "process/dspclasses/COnyxChipDSP.h"

#include "process/base/PointerWords.h"
#include "process/dsp/DSIBinding.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/HostUtilities.h"

#include <atomic>
#include <chrono>
#include <cstring>

namespace
{
constexpr int32_t kAddressOffset = 0x8001C0;
constexpr uint32_t kWaitTicks = 30;
constexpr uint32_t kSlowPollPause = 2;
constexpr uint32_t kControlFlagMask = 0x38;
constexpr int kFirstStatusFlag = 3;
constexpr int kLastStatusFlag = 6;

std::atomic<bool> gSlowPolling { false };

// The host's tick clock (60 a second); the library's own steady clock while no toolbox is there.
uint32_t HostTicks()
{
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox(); toolbox != nullptr && toolbox->TickCount != nullptr)
        return toolbox->TickCount();
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t> (std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, 60>>> (elapsed).count());
}

// The third word and every sixth after it wait for the DSP.
bool WaitingWord (int32_t index)
{
    return index >= 2 && (index - 2) % 6 == 0;
}
}

COnyxChipDSP::COnyxChipDSP()
{
    SetAddressOffset (kAddressOffset);
}

void COnyxChipDSP::SetSlowPolling (bool slow)
{
    gSlowPolling = slow;
}

void COnyxChipDSP::SetPortRecord (uint8_t* record)
{
    // The card flags as for any DSP; the Onyx port has no byte registers to touch.
    CDSP::SetPortRecord (nullptr);
    fRegisters = {};
    if (UsesDriver() || record == nullptr)
        return;
    for (int index = 0; index < DSIOnyxPort::kRegisterCount; ++index)
    {
        uint32_t address = 0;
        std::memcpy (&address, record + index * sizeof address, sizeof address);
        fRegisters[size_t (index)] = PointerOfWord<volatile uint32_t> (static_cast<int32_t> (address));
    }
}

void COnyxChipDSP::Sync()
{
    static_cast<void> (*fRegisters[DSIOnyxPort::kStatus]);
}

uint32_t COnyxChipDSP::ReadRegister (int index)
{
    Sync();
    const uint32_t value = *fRegisters[size_t (index)];
    Sync();
    return value;
}

void COnyxChipDSP::WriteRegister (int index, uint32_t value)
{
    Sync();
    *fRegisters[size_t (index)] = value;
    Sync();
}

template <typename Ready>
bool COnyxChipDSP::WaitFor (Ready ready)
{
    const uint32_t start = HostTicks();
    for (;;)
    {
        if (ready())
            return true;
        if (HostTicks() - start >= kWaitTicks)
            return false;
        Sync();
        if (gSlowPolling)
            WaitMicroseconds (kSlowPollPause);
    }
}

bool COnyxChipDSP::WaitForCommandTaken()
{
    return WaitFor ([&] { return (ReadRegister (DSIOnyxPort::kCommand) & DSIOnyxPort::kCommandPending) == 0; });
}

int32_t COnyxChipDSP::EncodeCommand (int32_t vector) const
{
    return (vector + fOnyxCommandBase) << 1;
}

int32_t COnyxChipDSP::CommandOnRegisters (int32_t command)
{
    if (! OnRegisterRoad())
        return DSPError::kNoDSP;
    Sync();
    if (! WaitForCommandTaken())
        return DSPError::kTimedOut;
    WriteRegister (DSIOnyxPort::kCommand, static_cast<uint32_t> (command) | DSIOnyxPort::kCommandPending);
    Sync();
    return WaitForCommandTaken() ? 0 : DSPError::kTimedOut;
}

int32_t COnyxChipDSP::WaitForEmptyPort()
{
    return WaitStatus (DSIOnyxPort::kStatusTransmitEmpty);
}

int32_t COnyxChipDSP::ReceiveWordOnRegisters (int32_t& word)
{
    if (const int32_t error = WaitStatus (DSIOnyxPort::kStatusReceiveFull); error != 0)
        return error;
    word = DSISignExtend24 (ReadRegister (DSIOnyxPort::kReceive));
    return 0;
}

int32_t COnyxChipDSP::SendWordOnRegisters (int32_t word)
{
    if (const int32_t error = WaitStatus (DSIOnyxPort::kStatusTransmitEmpty); error != 0)
        return error;
    WriteRegister (DSIOnyxPort::kTransmit, static_cast<uint32_t> (word));
    return WaitStatus (DSIOnyxPort::kStatusTransmitEmpty);
}

bool COnyxChipDSP::TrySendWord (int32_t word)
{
    if (GetDSP() == nullptr)
        return false;
    if (UsesDriver())
    {
        int32_t sent = 0;
        return ShimDsiSendLo24of32Check (GetDSP(), word, DSPWait::kDriverWord, &sent) == 0 && sent != 0;
    }
    if (! OnRegisterRoad() || (ReadRegister (DSIOnyxPort::kStatus) & DSIOnyxPort::kStatusTransmitEmpty) == 0)
        return false;
    WriteRegister (DSIOnyxPort::kTransmit, static_cast<uint32_t> (word));
    return true;
}

int32_t COnyxChipDSP::SendWordsOnRegisters (const int32_t* words, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
    {
        const bool waits = i == count - 1 || WaitingWord (i);
        if (! waits && TrySendWord (words[i]))
            continue;
        if (const int32_t error = SendWordOnRegisters (words[i]); error != 0)
            return error;
    }
    return 0;
}

int16_t COnyxChipDSP::SetLeftRightBit (int32_t)
{
    return 0;
}

int32_t COnyxChipDSP::WaitStatus (uint32_t mask)
{
    if (GetDSP() == nullptr)
        return DSPError::kNoDSP;
    if (UsesDriver())
        return ShimDsiWaitHostBitTimed (GetDSP(), static_cast<int32_t> (mask));
    if (! OnRegisterRoad())
        return DSPError::kNoDSP;
    return WaitFor ([&] { return (ReadRegister (DSIOnyxPort::kStatus) & mask) != 0; }) ? 0 : DSPError::kTimedOut;
}

bool COnyxChipDSP::HostStatus (uint32_t mask)
{
    if (GetDSP() == nullptr)
        return false;
    if (UsesDriver())
    {
        bool holds = false;
        return ShimDsiHostStatus (GetDSP(), static_cast<int32_t> (mask), &holds) == 0 && holds;
    }
    return OnRegisterRoad() && (ReadRegister (DSIOnyxPort::kStatus) & mask) != 0;
}

int32_t COnyxChipDSP::TryReceiveWord (bool& received)
{
    received = false;
    if (GetDSP() == nullptr)
        return -1;
    if (UsesDriver())
    {
        int32_t word = -1;
        int32_t got = 0;
        received = ShimDsiGetLo24ofS32Check (GetDSP(), &word, DSPWait::kDriverWord, &got) == 0 && got != 0;
        return received ? word : -1;
    }
    if (! ReceiveFull())
        return -1;
    received = true;
    return DSISignExtend24 (ReadRegister (DSIOnyxPort::kReceive));
}

bool COnyxChipDSP::TransmitEmpty()
{
    return HostStatus (DSIOnyxPort::kStatusTransmitEmpty);
}

bool COnyxChipDSP::ReceiveFull()
{
    return HostStatus (DSIOnyxPort::kStatusReceiveFull);
}

void COnyxChipDSP::ChangeControlFlags (uint32_t flags, bool set)
{
    flags &= kControlFlagMask;
    if (GetDSP() == nullptr)
        return;
    if (UsesDriver())
    {
        for (int flag = 0; flag < 3; ++flag)
            if ((flags & (1u << (DSIOnyxPort::kFirstFlagShift + flag))) != 0)
                ShimDsiSetHostBit (GetDSP(), DSIOnyxPort::kFirstFlagHostBit + flag, set ? 1 : 0);
        return;
    }
    if (! OnRegisterRoad())
        return;
    const uint32_t control = ReadRegister (DSIOnyxPort::kControl);
    WriteRegister (DSIOnyxPort::kControl, set ? control | flags : control & ~flags);
}

void COnyxChipDSP::SetControlFlags (uint32_t flags)
{
    ChangeControlFlags (flags, true);
}

void COnyxChipDSP::ClearControlFlags (uint32_t flags)
{
    ChangeControlFlags (flags, false);
}

bool COnyxChipDSP::ControlFlagsSet (uint32_t flags)
{
    flags &= kControlFlagMask;
    if (GetDSP() == nullptr || flags == 0)
        return false;
    if (UsesDriver())
    {
        for (int flag = 0; flag < 3; ++flag)
        {
            if ((flags & (1u << (DSIOnyxPort::kFirstFlagShift + flag))) == 0)
                continue;
            int32_t value = 0;
            if (ShimDsiGetHostBit (GetDSP(), DSIOnyxPort::kFirstFlagHostBit + flag, &value) != 0 || value == 0)
                return false;
        }
        return true;
    }
    return OnRegisterRoad() && (ReadRegister (DSIOnyxPort::kControl) & flags) == flags;
}

bool COnyxChipDSP::StatusBitSet (int bit)
{
    if (bit < kFirstStatusFlag || bit > kLastStatusFlag)
        return false;
    return HostStatus (1u << bit);
}

void COnyxChipDSP::FlushReceive()
{
    bool received = true;
    for (int32_t read = 0; received && read < DSPWait::kRegisterPolls; ++read)
        TryReceiveWord (received);
}

int16_t COnyxChipDSP::ChangeBitsIn (int32_t space, int32_t address, int32_t clearBits, int32_t setBits)
{
    switch (static_cast<DSPMemorySpace> (space))
    {
        case DSPMemorySpace::X: return ChangeXBits (address, clearBits, setBits);
        case DSPMemorySpace::Y: return ChangeYBits (address, clearBits, setBits);
        case DSPMemorySpace::P: return ChangePBits (address, clearBits, setBits);
    }
    return 0;
}

int16_t COnyxChipDSP::SetMemoryBits (int32_t space, int32_t address, int32_t bits)
{
    return ChangeBitsIn (space, address, 0, bits);
}

int16_t COnyxChipDSP::WriteMemoryBits (int32_t space, int32_t address, int32_t bits)
{
    return ChangeBitsIn (space, address, -1, bits);
}

int16_t COnyxChipDSP::ClearMemoryBits (int32_t space, int32_t address, int32_t bits)
{
    return ChangeBitsIn (space, address, bits, 0);
}
