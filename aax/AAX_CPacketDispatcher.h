// Packets: small blocks of parameter values posted to the host's processing context under a
// numbered port. The dispatcher knows which parameter feeds which packet, marks packets dirty
// when their parameter changes and, when the host asks, fills and posts the dirty ones.
#pragma once

#include "AAX_IParameter.h"
#include "AAX_VController.h"

#include <sync/RecursiveMutex.h>

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class AAX_CPacket
{
public:
    explicit AAX_CPacket (uint32_t port) : port_ (port), payload_ (8, 0) {}

    uint32_t GetID() const { return port_; }
    bool IsDirty() const { return dirty_; }
    void SetDirty (bool dirty) { dirty_ = dirty; }
    uint32_t GetSize() const { return size_; }
    const uint8_t* GetPtr() const { return payload_.data(); }

    // Makes the payload the value's bytes, in the machine's own order.
    template <typename T>
    void Set (const T& value)
    {
        size_ = sizeof (T);
        payload_.resize (sizeof (T));
        std::memcpy (payload_.data(), &value, sizeof (T));
    }

private:
    uint32_t port_;
    bool dirty_ = true;
    uint32_t size_ = 0;
    std::vector<uint8_t> payload_;
};

class AAX_IPacketHandler
{
public:
    virtual ~AAX_IPacketHandler() = default;
    virtual std::unique_ptr<AAX_IPacketHandler> Clone() const = 0;
    virtual int32_t Call (const char* identifier, AAX_CPacket& packet) const = 0;
};

// Calls a member of the target: the form taking the identifier when given, else the one
// taking the packet alone; -20004 with neither.
template <class Target>
class AAX_CPacketHandler final : public AAX_IPacketHandler
{
public:
    using IdentifierHandler = int32_t (Target::*) (const char*, AAX_CPacket&);
    using PacketHandler = int32_t (Target::*) (AAX_CPacket&);

    AAX_CPacketHandler (Target* target, IdentifierHandler handler) : target_ (target), withIdentifier_ (handler) {}
    AAX_CPacketHandler (Target* target, PacketHandler handler) : target_ (target), packetOnly_ (handler) {}

    std::unique_ptr<AAX_IPacketHandler> Clone() const override { return std::make_unique<AAX_CPacketHandler> (*this); }

    int32_t Call (const char* identifier, AAX_CPacket& packet) const override
    {
        if (target_ != nullptr && withIdentifier_ != nullptr)
            return (target_->*withIdentifier_) (identifier, packet);
        if (target_ != nullptr && packetOnly_ != nullptr)
            return (target_->*packetOnly_) (packet);
        return AAX_ERROR_NULL_OBJECT;
    }

private:
    Target* target_;
    IdentifierHandler withIdentifier_ = nullptr;
    PacketHandler packetOnly_ = nullptr;
};

// What the dispatcher asks of the instance that owns it: a parameter by identifier, with the
// effect parameters' result codes (0, or -20001 for an unknown identifier).
class AAX_IParameterLookup
{
public:
    virtual ~AAX_IParameterLookup() = default;
    virtual int32_t GetParameter (const char* identifier, AAX_IParameter** outParameter) = 0;
};

// A mutex that its owner thread may take again without waiting; only the call that took it
// releases it.
class AAX_CThreadMutex
{
public:
    // Returns whether this call took the mutex (false when the caller owns it already).
    bool Lock();
    void Unlock();

private:
    std::atomic<std::thread::id> owner_ {};
    kestrune::sync::RecursiveMutex mutex_;
};

class AAX_CPacketDispatcher
{
public:
    // Holds the dispatcher's mutex (unless there is none, or the caller holds it already) for
    // a span of its owner's: the owner keeps the making and unmaking of its parameters, host
    // objects and packets whole against every host operation that reads them, an update or a
    // dispatch on another thread included.
    class ScopedLock
    {
    public:
        explicit ScopedLock (const AAX_CPacketDispatcher& dispatcher);
        ScopedLock (const ScopedLock&) = delete;
        ScopedLock& operator= (const ScopedLock&) = delete;
        ~ScopedLock();

    private:
        AAX_CThreadMutex* mutex_;
        bool taken_;
    };

    // Creates the mutex; without one every operation runs unlocked.
    AAX_CPacketDispatcher();
    AAX_CPacketDispatcher (const AAX_CPacketDispatcher&) = delete;
    AAX_CPacketDispatcher& operator= (const AAX_CPacketDispatcher&) = delete;
    ~AAX_CPacketDispatcher();

    // The owner's controller and lookup; null detaches them (before they are deleted).
    // [host thread]
    void SetController (AAX_IController* controller);
    void SetEffectParameters (AAX_IParameterLookup* parameters);

    // [host thread] Packets for a port are made once and start dirty; handlers are cloned.
    int32_t RegisterPacket (const char* identifier, uint32_t port, const AAX_IPacketHandler& handler);
    // [host thread] Forgets every packet and handler, as when the owner's parameters go.
    void UnregisterAllPackets();
    // [any thread] Marks every packet of that parameter dirty.
    int32_t SetDirty (const char* identifier);
    // [any thread] Fills and posts every dirty packet and returns the result of the last post
    // (0 when nothing was posted). A packet whose handler failed is not posted and is clean; one
    // whose post failed stays dirty, to be posted again by the next call. Without a controller
    // nothing is posted and the answer is -20004.
    int32_t Dispatch();

    // The standard handler: the parameter's value, 4 bytes for bool (0 or 1), float or int32,
    // 8 for double.
    int32_t GenerateSingleValuePacket (const char* identifier, AAX_CPacket& packet);

private:
    std::map<uint32_t, std::unique_ptr<AAX_CPacket>> packets_;
    std::multimap<std::string, std::pair<AAX_CPacket*, std::unique_ptr<AAX_IPacketHandler>>> handlers_;
    AAX_IController* controller_ = nullptr;
    AAX_IParameterLookup* parameters_ = nullptr;
    std::unique_ptr<AAX_CThreadMutex> mutex_;
};
