#include "AAX_CPacketDispatcher.h"

#include <set>

bool AAX_CThreadMutex::Lock()
{
    if (owner_.load() == std::this_thread::get_id())
        return false;
    mutex_.Lock();
    owner_.store (std::this_thread::get_id());
    return true;
}

void AAX_CThreadMutex::Unlock()
{
    if (owner_.load() != std::this_thread::get_id())
        return;
    owner_.store (std::thread::id {});
    mutex_.Unlock();
}

AAX_CPacketDispatcher::ScopedLock::ScopedLock (const AAX_CPacketDispatcher& dispatcher)
    : mutex_ (dispatcher.mutex_.get()), taken_ (mutex_ != nullptr && mutex_->Lock())
{
}

AAX_CPacketDispatcher::ScopedLock::~ScopedLock()
{
    if (taken_)
        mutex_->Unlock();
}

AAX_CPacketDispatcher::AAX_CPacketDispatcher()
{
    try
    {
        mutex_ = std::make_unique<AAX_CThreadMutex>();
    }
    catch (...)
    {
        mutex_.reset();
    }
}

AAX_CPacketDispatcher::~AAX_CPacketDispatcher()
{
    {
        const ScopedLock lock (*this);
        handlers_.clear();
        packets_.clear();
    }
    mutex_.reset();
}

void AAX_CPacketDispatcher::SetController (AAX_IController* controller)
{
    const ScopedLock lock (*this);
    controller_ = controller;
}

void AAX_CPacketDispatcher::SetEffectParameters (AAX_IParameterLookup* parameters)
{
    const ScopedLock lock (*this);
    parameters_ = parameters;
}

int32_t AAX_CPacketDispatcher::RegisterPacket (const char* identifier, uint32_t port, const AAX_IPacketHandler& handler)
{
    const ScopedLock lock (*this);
    auto& packet = packets_[port];
    if (packet == nullptr)
        packet = std::make_unique<AAX_CPacket> (port);
    handlers_.emplace (identifier != nullptr ? identifier : "", std::make_pair (packet.get(), handler.Clone()));
    return AAX_SUCCESS;
}

void AAX_CPacketDispatcher::UnregisterAllPackets()
{
    const ScopedLock lock (*this);
    handlers_.clear();
    packets_.clear();
}

int32_t AAX_CPacketDispatcher::SetDirty (const char* identifier)
{
    if (identifier == nullptr)
        return AAX_SUCCESS;
    const ScopedLock lock (*this);
    const auto [first, last] = handlers_.equal_range (identifier);
    for (auto entry = first; entry != last; ++entry)
        entry->second.first->SetDirty (true);
    return AAX_SUCCESS;
}

int32_t AAX_CPacketDispatcher::Dispatch()
{
    const ScopedLock lock (*this);
    if (controller_ == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    // Flags are cleared before the handlers run, so a change marked during a post (even from
    // inside it, on this thread) is posted by the next call.
    std::set<AAX_CPacket*> pending;
    for (const auto& [port, packet] : packets_)
        if (packet->IsDirty())
        {
            pending.insert (packet.get());
            packet->SetDirty (false);
        }

    int32_t result = AAX_SUCCESS;
    for (const auto& [identifier, entry] : handlers_)
    {
        AAX_CPacket* packet = entry.first;
        if (pending.count (packet) == 0 || entry.second->Call (identifier.c_str(), *packet) != AAX_SUCCESS)
            continue;
        result = controller_->PostPacket (packet->GetID(), packet->GetPtr(), packet->GetSize());
        if (result != AAX_SUCCESS)
            packet->SetDirty (true);
    }
    return result;
}

int32_t AAX_CPacketDispatcher::GenerateSingleValuePacket (const char* identifier, AAX_CPacket& packet)
{
    AAX_IParameter* parameter = nullptr;
    if (parameters_ == nullptr || parameters_->GetParameter (identifier, &parameter) != AAX_SUCCESS || parameter == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    bool boolValue = false;
    float floatValue = 0.0f;
    int32_t intValue = 0;
    double doubleValue = 0.0;
    if (parameter->GetValueAsBool (&boolValue))
        packet.Set<int32_t> (boolValue ? 1 : 0);
    else if (parameter->GetValueAsFloat (&floatValue))
        packet.Set (floatValue);
    else if (parameter->GetValueAsInt32 (&intValue))
        packet.Set (intValue);
    else if (parameter->GetValueAsDouble (&doubleValue))
        packet.Set (doubleValue);
    else
        return AAX_ERROR_NULL_OBJECT;
    return AAX_SUCCESS;
}
