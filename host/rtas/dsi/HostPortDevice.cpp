#include "HostPortDevice.h"

#include <cstring>

namespace kestrune::host::rtas
{

namespace
{
    constexpr int32_t kWordMask = 0xFFFFFF;
    constexpr int kPortEmptyBit = 2;
    constexpr uint32_t kOnyxFlagMask = 0x38; // control flags 0x08, 0x10, 0x20
    constexpr uint32_t kOnyxStatusFlagMask = 0x78; // status bits 3 to 6

    bool validBit (int32_t bit)
    {
        return bit >= 0 && bit < 32;
    }
} // namespace

HostPortDevice::HostPortDevice (PortKind kind, RegisterWindow& window)
    : kind_ (kind), window_ (window)
{
    if (kind_ == PortKind::Onyx)
    {
        // The information record begins with the host's addresses of the five registers.
        for (int index = 0; index < DSIOnyxPort::kRegisterCount; ++index)
        {
            const auto address = uint32_t (reinterpret_cast<uintptr_t> (window_.hostRegisters() + kOnyxRegisterOffset + size_t (index) * 4));
            std::memcpy (window_.deviceRegisters() + size_t (index) * 4, &address, sizeof address);
            setOnyxRegister (index, 0);
        }
    }
    else
    {
        uint8_t* registers = window_.deviceRegisters();
        registers[DSIHostPortBytes::kControl] = 0;
        registers[DSIHostPortBytes::kCommandVector] = 0;
    }
    refreshRegisters();
}

void HostPortDevice::registerAccessed (void* device, RegisterWindow&, size_t offset, bool write)
{
    static_cast<HostPortDevice*> (device)->accessed (offset, write);
}

void HostPortDevice::accessed (size_t offset, bool write)
{
    if (offset == kIndexLocationOffset && indexGiven_ && ! write)
        ++indexReads_;
    else if (kind_ == PortKind::Onyx)
        onyxRegisterAccessed (offset, write);
    else
        byteRegisterAccessed (offset, write);
    refreshRegisters();
}

void HostPortDevice::byteRegisterAccessed (size_t offset, bool write)
{
    uint8_t* registers = window_.deviceRegisters();
    if (write && offset == DSIHostPortBytes::kCommandVector)
    {
        const uint8_t value = registers[offset];
        if (! dead_ && (value & DSIHostPortBytes::kCommandPending) != 0)
        {
            takeCommand (value & ~DSIHostPortBytes::kCommandPending);
            registers[offset] = uint8_t (value & ~DSIHostPortBytes::kCommandPending);
        }
    }
    else if (write && offset == DSIHostPortBytes::kDataHigh)
    {
        transmitHigh_ = registers[offset];
    }
    else if (write && offset == DSIHostPortBytes::kDataMiddle)
    {
        transmitMiddle_ = registers[offset];
    }
    else if (write && offset == DSIHostPortBytes::kDataLow && ! dead_)
    {
        takeWord ((int32_t (transmitHigh_) << 16) | (int32_t (transmitMiddle_) << 8) | int32_t (registers[offset]));
        transmitBusyReads_ = transmitDelay_;
    }
    else if (! write && offset == DSIHostPortBytes::kDataLow && presenting())
    {
        giveWord();
    }
    else if (! write && offset == DSIHostPortBytes::kStatus)
    {
        statusRead();
    }
}

void HostPortDevice::onyxRegisterAccessed (size_t offset, bool write)
{
    if (offset < kOnyxRegisterOffset || (offset - kOnyxRegisterOffset) % 4 != 0)
        return;
    const auto index = int ((offset - kOnyxRegisterOffset) / 4);
    const uint32_t value = onyxRegister (index);
    if (write && index == DSIOnyxPort::kCommand)
    {
        if (! dead_ && (value & DSIOnyxPort::kCommandPending) != 0)
        {
            takeCommand (int32_t (value & ~DSIOnyxPort::kCommandPending));
            setOnyxRegister (index, value & ~DSIOnyxPort::kCommandPending);
        }
    }
    else if (write && index == DSIOnyxPort::kTransmit && ! dead_)
    {
        takeWord (int32_t (value));
        transmitBusyReads_ = transmitDelay_;
    }
    else if (write && index == DSIOnyxPort::kControl)
    {
        for (int flag = 0; flag < 3; ++flag)
            hostBits_[size_t (DSIOnyxPort::kFirstFlagHostBit + flag)] = int32_t ((value >> (DSIOnyxPort::kFirstFlagShift + flag)) & 1);
    }
    else if (! write && index == DSIOnyxPort::kReceive && presenting())
    {
        giveWord();
    }
    else if (! write && index == DSIOnyxPort::kStatus)
    {
        statusRead();
    }
}

void HostPortDevice::statusRead()
{
    if (transmitBusyReads_ > 0)
        --transmitBusyReads_;
}

void HostPortDevice::takeCommand (int32_t vector)
{
    traffic_.push_back ({ DeviceEvent::Kind::Command, vector });
}

void HostPortDevice::takeWord (int32_t word)
{
    traffic_.push_back ({ DeviceEvent::Kind::WordToDSP, word & kWordMask });
}

int32_t HostPortDevice::giveWord()
{
    const int32_t word = DSISignExtend24 (uint32_t (toHost_.front()));
    toHost_.pop_front();
    traffic_.push_back ({ DeviceEvent::Kind::WordToHost, word });
    return word;
}

int32_t HostPortDevice::command (int32_t vector)
{
    if (dead_)
        return kDsiTimeout;
    takeCommand (vector);
    return 0;
}

int32_t HostPortDevice::commandOnEmptyPort (int32_t vector)
{
    if (dead_ || hostBits_[kPortEmptyBit] == 0)
        return kDsiTimeout;
    takeCommand (vector);
    return 0;
}

int32_t HostPortDevice::wordToDSP (int32_t word)
{
    if (dead_)
        return kDsiTimeout;
    takeWord (word);
    return 0;
}

int32_t HostPortDevice::wordToHost (int32_t& word)
{
    if (! presenting())
        return kDsiTimeout;
    word = giveWord();
    refreshRegisters();
    return 0;
}

int32_t HostPortDevice::waitHostBit (int32_t bit, int32_t value) const
{
    if (! validBit (bit))
        return kDsiBadArgument;
    return ! dead_ && hostBits_[size_t (bit)] == (value != 0 ? 1 : 0) ? 0 : kDsiTimeout;
}

int32_t HostPortDevice::hostBit (int32_t bit) const
{
    return validBit (bit) ? hostBits_[size_t (bit)] : 0;
}

void HostPortDevice::setHostBit (int32_t bit, int32_t value)
{
    if (! validBit (bit))
        return;
    hostBits_[size_t (bit)] = value != 0 ? 1 : 0;
    refreshRegisters();
}

void HostPortDevice::queueWordsToHost (const std::vector<int32_t>& words)
{
    toHost_.insert (toHost_.end(), words.begin(), words.end());
    refreshRegisters();
}

void HostPortDevice::setDead (bool dead)
{
    dead_ = dead;
    if (! dead_)
    {
        // Back to life, the device takes a command that waited for it.
        if (kind_ == PortKind::Onyx)
            onyxRegisterAccessed (kOnyxRegisterOffset + size_t (DSIOnyxPort::kCommand) * 4, true);
        else
            byteRegisterAccessed (DSIHostPortBytes::kCommandVector, true);
    }
    refreshRegisters();
}

void HostPortDevice::setTransmitDelay (int statusReads)
{
    transmitDelay_ = statusReads > 0 ? statusReads : 0;
}

void HostPortDevice::giveIndexLocation()
{
    const auto address = uint32_t (reinterpret_cast<uintptr_t> (window_.hostRegisters() + kIndexLocationOffset));
    std::memcpy (window_.deviceRegisters() + kIndexLocationWord, &address, sizeof address);
    indexGiven_ = true;
    refreshRegisters();
}

void HostPortDevice::setStatusFlags (uint32_t flags)
{
    statusFlags_ = flags & kOnyxStatusFlagMask;
    refreshRegisters();
}

std::vector<int32_t> HostPortDevice::valuesOf (DeviceEvent::Kind kind) const
{
    std::vector<int32_t> values;
    for (const DeviceEvent& event : traffic_)
        if (event.kind == kind)
            values.push_back (event.value);
    return values;
}

uint32_t HostPortDevice::onyxRegister (int index) const
{
    uint32_t value = 0;
    std::memcpy (&value, window_.deviceRegisters() + kOnyxRegisterOffset + size_t (index) * 4, sizeof value);
    return value;
}

void HostPortDevice::setOnyxRegister (int index, uint32_t value)
{
    std::memcpy (window_.deviceRegisters() + kOnyxRegisterOffset + size_t (index) * 4, &value, sizeof value);
}

void HostPortDevice::refreshRegisters()
{
    const bool alive = ! dead_;
    if (kind_ == PortKind::Onyx)
    {
        const bool commandTaken = (onyxRegister (DSIOnyxPort::kCommand) & DSIOnyxPort::kCommandPending) == 0;
        uint32_t status = statusFlags_;
        status |= alive && commandTaken ? DSIOnyxPort::kStatusCommandReady : 0u;
        status |= transmitEmpty() ? DSIOnyxPort::kStatusTransmitEmpty : 0u;
        status |= presenting() ? DSIOnyxPort::kStatusReceiveFull : 0u;
        setOnyxRegister (DSIOnyxPort::kStatus, status);
        uint32_t flags = 0;
        for (int flag = 0; flag < 3; ++flag)
            flags |= uint32_t (hostBits_[size_t (DSIOnyxPort::kFirstFlagHostBit + flag)]) << (DSIOnyxPort::kFirstFlagShift + flag);
        setOnyxRegister (DSIOnyxPort::kControl, (onyxRegister (DSIOnyxPort::kControl) & ~kOnyxFlagMask) | flags);
        if (presenting())
            setOnyxRegister (DSIOnyxPort::kReceive, uint32_t (toHost_.front() & kWordMask));
    }
    else
    {
        uint8_t* registers = window_.deviceRegisters();
        uint8_t status = 0;
        status |= presenting() ? DSIHostPortBytes::kStatusReceiveFull : 0;
        status |= transmitEmpty() ? DSIHostPortBytes::kStatusTransmitEmpty : 0;
        status |= alive && hostBits_[kPortEmptyBit] != 0 ? DSIHostPortBytes::kStatusPortEmpty : 0;
        registers[DSIHostPortBytes::kStatus] = status;
        if (presenting())
        {
            const int32_t word = toHost_.front();
            registers[DSIHostPortBytes::kDataHigh] = uint8_t (word >> 16);
            registers[DSIHostPortBytes::kDataMiddle] = uint8_t (word >> 8);
            registers[DSIHostPortBytes::kDataLow] = uint8_t (word);
        }
    }
    window_.watchReads (indexGiven_ || presenting() || transmitBusyReads_ > 0);
}

} // namespace kestrune::host::rtas
