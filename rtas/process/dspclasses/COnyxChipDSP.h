#pragma once
// A DSP behind the Onyx host port: on the register road five 32-bit registers (control, status,
// command, transmit, receive) whose addresses open the driver's information record, each read or
// written with a sync (a read of the status register) before and after. Commands carry
// ((vector + Onyx command base) << 1), on the register road with the pending bit 1. Its own
// command base is 58, its addresses start at 0x8001C0.
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
    static constexpr uint32_t kControlFlag08 = 0x08;
    static constexpr uint32_t kControlFlag10 = 0x10;
    static constexpr uint32_t kControlFlag20 = 0x20;

    COnyxChipDSP();

    // The Onyx registers of the record; none on the driver road.
    void SetPortRecord (uint8_t* record) override;
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
    // The same for one flag each.
    void SetControlFlag08() { SetControlFlags (kControlFlag08); }
    void ClearControlFlag08() { ClearControlFlags (kControlFlag08); }
    bool ControlFlag08Set() { return ControlFlagsSet (kControlFlag08); }
    void SetControlFlag10() { SetControlFlags (kControlFlag10); }
    void ClearControlFlag10() { ClearControlFlags (kControlFlag10); }
    bool ControlFlag10Set() { return ControlFlagsSet (kControlFlag10); }
    void SetControlFlag20() { SetControlFlags (kControlFlag20); }
    void ClearControlFlag20() { ClearControlFlags (kControlFlag20); }
    bool ControlFlag20Set() { return ControlFlagsSet (kControlFlag20); }
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

    // The register road of the Onyx port. Commands wait for the command register to be free,
    // and again for the DSP to take them; a word waits for transmit-empty, and again for the
    // DSP to take it. Words alternate between a word sent only when the transmit register is
    // empty and a waiting one (the third word, every sixth after it, and the last); a word that
    // finds the register full waits instead, so none is lost.
    int32_t EncodeCommand (int32_t vector) const override;
    int32_t CommandOnRegisters (int32_t command) override;
    // Waits for the transmit register to be empty.
    int32_t WaitForEmptyPort() override;
    int32_t SendWordOnRegisters (int32_t word) override;
    int32_t ReceiveWordOnRegisters (int32_t& word) override;
    int32_t SendWordsOnRegisters (const int32_t* words, int32_t count) override;

private:
    bool OnRegisterRoad() const { return fRegisters[0] != nullptr; }
    uint32_t ReadRegister (int index);
    void WriteRegister (int index, uint32_t value);
    void Sync();
    template <typename Ready>
    bool WaitFor (Ready ready);
    bool WaitForCommandTaken();
    bool HostStatus (uint32_t mask);
    void ChangeControlFlags (uint32_t flags, bool set);
    int16_t ChangeBitsIn (int32_t space, int32_t address, int32_t clearBits, int32_t setBits);

    std::array<volatile uint32_t*, DSIOnyxPort::kRegisterCount> fRegisters {};
    int32_t fOnyxCommandBase = 58;
};
