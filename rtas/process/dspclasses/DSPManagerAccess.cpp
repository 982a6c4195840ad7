#include "process/dspclasses/DSPManagerAccess.h"

#include "process/base/PointerWords.h"
#include "process/group/GlobalPlugInGroup.h"

#include <mutex>

namespace
{
struct ManagerCache
{
    std::mutex lock;
    IDSPManagerClient* client = nullptr;
};

ManagerCache& Cache()
{
    static ManagerCache cache;
    return cache;
}

IDSPManagerClient* FetchClient()
{
    const int32_t group = WordOfPointer (PlugInGroup());
    IDSPManager* manager = GetDSPManager (group);
    if (manager == nullptr)
        return nullptr;
    void* client = nullptr;
    const int32_t found = manager->QueryInterface (IID_IDSPManagerClient, &client);
    manager->Release();
    if (found != 0 || client == nullptr)
        return nullptr;
    auto* typed = static_cast<IDSPManagerClient*> (client);
    typed->Release();
    return typed;
}
}

IDSPManagerClient* DSPManagerClient()
{
    ManagerCache& cache = Cache();
    std::lock_guard guard (cache.lock);
    if (cache.client == nullptr)
        cache.client = FetchClient();
    return cache.client;
}

int32_t DSPManagerVersion()
{
    IDSPManagerClient* client = DSPManagerClient();
    return client != nullptr ? client->GetVersion() : 0;
}
