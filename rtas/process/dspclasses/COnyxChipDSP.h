#pragma once
// A DSP behind the Onyx host port: on the register road five 32-bit registers (control, status,
// command, transmit, receive) whose addresses open the driver's information record, each read or
// written with a sync (a read of the status register) before and after. Commands carry
// ((vector + Onyx command base) << 1) with the pending bit 1, on both roads. Its own command
// base is 58, its addresses start at 0x8001C0.
//
// Waits on the register road poll the status with a sync between polls (and a 2-microsecond
// pause while slow polling is on) and give up after 30 ticks of the host's clock: a time-out
// writes nothing further and reports -7218.

#include "process/dspclasses/CGenericDSP.h"

#include <array>

// Memory spaces of the memory-bit operations.
enum class DSPMemorySpace : int32_t
{
    X = 0,
    Y = 1,
    P = 2
};

class COnyxChipDSP : public CGenericDSP
{
public:
    COnyxChipDSP();

    // The Onyx registers of the record; none on the driver road.
    void SetPortRecord (uint8_t* record) override;
    int32_t HostCommand (int32_t vector) override;
    // Waits for the transmit register to be empty, then sends the command.
    int32_t HostCommandOnEmptyPort (int32_t vector) override;
    int32_t CommandThenDataArray (int32_t vector, int32_t outCount, int32_t* out, int32_t inCount, const int32_t* in) override;
    int32_t DataThenCommandArray (int32_t vector, int32_t outCount, int32_t* out, int32_t inCount, const int32_t* in) override;
    int32_t ReceiveWord() override;
    // Waits for transmit-empty, writes, and waits again for the DSP to take the word.
    int32_t SendWord (int32_t word) override;
    // Words alternate between a word sent only when the transmit register is empty and the
    // waiting SendWord (for the third word, every sixth after it, and the last); a word that
    // finds the register full is sent with the waiting form, so none is lost.
    int32_t SendWords (const int32_t* words, int32_t count) override;
    int32_t ReceiveWords (int32_t* words, int32_t count) override;
    int16_t SetLeftRightBit (int32_t value) override;

    // -7201 without a DSP, 0 once a status bit of the mask is set, -7218 after 30 ticks (on the
    // driver road: the driver's wait for the host bit the mask stands for).
    int32_t WaitStatus (uint32_t mask);
    // Writes the word only when the transmit register is empty; whether it did.
    bool TrySendWord (int32_t word);
    int32_t TryReceiveWord (bool& received) override;
    bool TransmitEmpty() override;
    bool ReceiveFull() override;

    // The control flags 0x08, 0x10 and 0x20 (the driver's host bits 4, 5 and 6).
    void SetControlFlags (uint32_t flags);
    void ClearControlFlags (uint32_t flags);
    // Whether every flag of the mask is set.
    bool ControlFlagsSet (uint32_t flags);
    // Status bits 3 to 6: the DSP's own flags.
    bool StatusBitSet (int bit);
    // Reads and drops whatever the DSP has sent.
    void FlushReceive();

    // ChangeXBits, ChangeYBits or ChangePBits by space with (address, 0, bits), (address, -1,
    // bits) and (address, bits, 0); 0 for any other space.
    int16_t SetMemoryBits (int32_t space, int32_t address, int32_t bits);
    int16_t WriteMemoryBits (int32_t space, int32_t address, int32_t bits);
    int16_t ClearMemoryBits (int32_t space, int32_t address, int32_t bits);

    int32_t GetOnyxCommandBase() const { return fOnyxCommandBase; }

    // [any thread] The library's slow-poll flag: waits pause 2 microseconds between polls.
    static void SetSlowPolling (bool slow);

protected:
    void SetOnyxCommandBase (int32_t base) { fOnyxCommandBase = base; }

private:
    bool OnRegisterRoad() const { return fRegisters[0] != nullptr; }
    uint32_t ReadRegister (int index);
    void WriteRegister (int index, uint32_t value);
    void Sync();
    template <typename Ready>
    bool WaitFor (Ready ready);
    bool WaitForCommandTaken();
    int32_t OnyxCommand (int32_t vector) const { return (vector + fOnyxCommandBase) << 1; }
    int32_t ReceiveOnyxWord (int32_t& word);
    int32_t CommandWithData (int32_t vector, int32_t order, int32_t outCount, int32_t* out, int32_t inCount, const int32_t* in);
    bool HostStatus (uint32_t mask);
    void ChangeControlFlags (uint32_t flags, bool set);
    int16_t ChangeBitsIn (int32_t space, int32_t address, int32_t clearBits, int32_t setBits);

    std::array<volatile uint32_t*, DSIOnyxPort::kRegisterCount> fRegisters {};
    int32_t fOnyxCommandBase = 58;
};
