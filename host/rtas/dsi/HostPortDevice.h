#pragma once
// The device behind one DSP's host port: what the DSP takes from the host and gives it, on both
// roads (DsiControl.h says how it behaves). Every operation runs with the bus held
// (Bus::Hold, or inside the trap handler), which also makes it safe on any thread.

#include "DsiControl.h"
#include "RegisterBus.h"

#include <array>
#include <deque>
#include <vector>

namespace kestrune::host::rtas
{

enum class PortKind
{
    Bytes,
    Onyx
};

class HostPortDevice
{
public:
    // The window's protected page starts with the DSP's information record; the Onyx registers
    // lie further on in the same page.
    static constexpr size_t kOnyxRegisterOffset = 1024;
    // Where the information record holds the address of the DSP's index location (0: none), and
    // where in the page that location lies once the driver gives it.
    static constexpr size_t kIndexLocationWord = 56;
    static constexpr size_t kIndexLocationOffset = 2048;

    HostPortDevice (PortKind kind, RegisterWindow& window);

    // The register window's access handler.
    static void registerAccessed (void* device, RegisterWindow& window, size_t offset, bool write);

    // Driver road: 0 or kDsiTimeout.
    int32_t command (int32_t vector);
    int32_t commandOnEmptyPort (int32_t vector);
    int32_t wordToDSP (int32_t word);
    int32_t wordToHost (int32_t& word);
    int32_t waitHostBit (int32_t bit, int32_t value) const;

    int32_t hostBit (int32_t bit) const;
    void setHostBit (int32_t bit, int32_t value);

    void queueWordsToHost (const std::vector<int32_t>& words);
    void setDead (bool dead);
    void setStatusFlags (uint32_t flags);
    void setTransmitDelay (int statusReads);
    // Gives the DSP its index location; every read of it is counted from then on.
    void giveIndexLocation();
    int indexReads() const { return indexReads_; }

    const std::vector<DeviceEvent>& traffic() const { return traffic_; }
    std::vector<int32_t> valuesOf (DeviceEvent::Kind kind) const;

private:
    void accessed (size_t offset, bool write);
    void byteRegisterAccessed (size_t offset, bool write);
    void onyxRegisterAccessed (size_t offset, bool write);
    void takeCommand (int32_t vector);
    void takeWord (int32_t word);
    int32_t giveWord();
    bool presenting() const { return ! dead_ && ! toHost_.empty(); }
    bool transmitEmpty() const { return ! dead_ && transmitBusyReads_ == 0; }
    void statusRead();
    // Writes the registers that the device drives into its view of the window.
    void refreshRegisters();
    uint32_t onyxRegister (int index) const;
    void setOnyxRegister (int index, uint32_t value);

    PortKind kind_;
    RegisterWindow& window_;
    bool dead_ = false;
    std::array<int32_t, 32> hostBits_ {};
    uint32_t statusFlags_ = 0;
    // The data registers read the receive side and write the transmit side: the bytes the host
    // wrote are latched as it writes them.
    uint8_t transmitHigh_ = 0;
    uint8_t transmitMiddle_ = 0;
    int transmitDelay_ = 0;
    int transmitBusyReads_ = 0; // status reads left before the transmit side is empty again
    bool indexGiven_ = false;
    int indexReads_ = 0;
    std::deque<int32_t> toHost_;
    std::vector<DeviceEvent> traffic_;
};

} // namespace kestrune::host::rtas
