// Mutexes: recursive for the owning thread, named ones shared within the module.

#include "Win32.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace
{

constexpr uint32_t kMutexMagic = 0x4B4D5458; // 'KMTX'

struct MutexObject
{
    uint32_t magic = kMutexMagic;
    std::recursive_timed_mutex mutex;
    std::atomic<std::thread::id> owner {};
    uint32_t depth = 0; // changed by the owner only
    std::string name;
    uint32_t handles = 1;
};

std::mutex& registryLock()
{
    static std::mutex lock;
    return lock;
}

std::map<std::string, MutexObject*>& namedMutexes()
{
    static std::map<std::string, MutexObject*> mutexes;
    return mutexes;
}

MutexObject* mutexOf (HANDLE handle)
{
    auto* object = static_cast<MutexObject*> (handle);
    return object != nullptr && object->magic == kMutexMagic ? object : nullptr;
}

void takeOwnership (MutexObject& object)
{
    object.owner = std::this_thread::get_id();
    ++object.depth;
}

} // namespace

HANDLE CreateMutexA (LPVOID, BOOL initialOwner, LPCSTR name)
{
    MutexObject* object = nullptr;
    if (name != nullptr && name[0] != 0)
    {
        std::lock_guard guard (registryLock());
        auto& named = namedMutexes();
        if (auto found = named.find (name); found != named.end())
        {
            object = found->second;
            ++object->handles;
            SetLastError (ERROR_ALREADY_EXISTS);
            return object; // an existing mutex is opened, not taken
        }
        object = new MutexObject;
        object->name = name;
        named[name] = object;
    }
    else
        object = new MutexObject;
    SetLastError (ERROR_SUCCESS);
    if (initialOwner)
    {
        object->mutex.lock();
        takeOwnership (*object);
    }
    return object;
}

DWORD WaitForSingleObject (HANDLE handle, DWORD milliseconds)
{
    MutexObject* object = mutexOf (handle);
    if (object == nullptr)
    {
        SetLastError (ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    bool taken = false;
    if (milliseconds == INFINITE)
    {
        object->mutex.lock();
        taken = true;
    }
    else if (milliseconds == 0)
        taken = object->mutex.try_lock();
    else
        taken = object->mutex.try_lock_for (std::chrono::milliseconds (milliseconds));
    if (! taken)
        return WAIT_TIMEOUT;
    takeOwnership (*object);
    return WAIT_OBJECT_0;
}

BOOL ReleaseMutex (HANDLE handle)
{
    MutexObject* object = mutexOf (handle);
    if (object == nullptr)
    {
        SetLastError (ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (object->owner.load() != std::this_thread::get_id() || object->depth == 0)
    {
        SetLastError (ERROR_NOT_OWNER);
        return FALSE;
    }
    if (--object->depth == 0)
        object->owner = std::thread::id();
    object->mutex.unlock();
    return TRUE;
}

BOOL CloseHandle (HANDLE handle)
{
    MutexObject* object = mutexOf (handle);
    if (object == nullptr)
    {
        SetLastError (ERROR_INVALID_HANDLE);
        return FALSE;
    }
    {
        std::lock_guard guard (registryLock());
        if (--object->handles > 0)
            return TRUE;
        if (! object->name.empty())
            namedMutexes().erase (object->name);
    }
    // Closing the last handle abandons the levels that this thread still holds.
    if (object->owner.load() == std::this_thread::get_id())
        while (object->depth > 0)
        {
            --object->depth;
            object->mutex.unlock();
        }
    object->magic = 0;
    delete object;
    return TRUE;
}
