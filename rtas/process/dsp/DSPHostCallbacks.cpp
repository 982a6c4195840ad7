#include "process/dsp/DSPHostCallbacks.h"

#include "process/base/CDAEError.h"
#include "process/dsp/CDSP.h"
#include "process/dsp/DSIBinding.h"
#include "process/dsp/DsiCompat.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/GlobalPlugInGroup.h"

#include <mutex>
#include <set>

namespace
{
constexpr int16_t kLastGroupLockedSelector = 261;

struct LiveObjects
{
    // Held while a callback runs, so that an object is not forgotten (and then destroyed) under it.
    std::recursive_mutex lock;
    std::set<CDSP*> objects;
};

LiveObjects& Live()
{
    static LiveObjects live;
    return live;
}

// The DSP object that the DSP's client value names, when it still exists; call with the live
// objects' lock held. `status` is the lookup's answer when there is no object.
CDSP* ObjectOf (DSIDSPRecord* dsp, int32_t& status)
{
    void* value = nullptr;
    status = 0;
    if (DsiCompat_UseDsiEntries())
        status = ShimDsiGetDSPClientVal (dsp, &value);
    else
        value = DsiCompat_GetDSPClientVal (dsp);
    auto* object = static_cast<CDSP*> (value);
    if (status == 0 && (object == nullptr || Live().objects.count (object) == 0))
        status = RTASError::kNullPointer;
    return status == 0 ? object : nullptr;
}

// The module's group lock around the services that touch DSP memory, when the host has a level
// and a group exists; the group comes from a use that outlasts the lock.
class GroupLockForSelector
{
public:
    GroupLockForSelector (int16_t selector, CProcessGroupInterface* group)
    {
        if (selector > kLastGroupLockedSelector || gHostLevel == 0 || group == nullptr)
            return;
        group->Lock();
        fGroup = group;
    }
    ~GroupLockForSelector()
    {
        if (fGroup != nullptr)
            fGroup->Unlock();
    }
    GroupLockForSelector (const GroupLockForSelector&) = delete;
    GroupLockForSelector& operator= (const GroupLockForSelector&) = delete;

private:
    CProcessGroupInterface* fGroup = nullptr;
};

template <typename Service>
int16_t RunCallback (DSIDSPRecord* dsp, int16_t selector, Service service)
{
    try
    {
        const PlugInGroupUse use;
        const GroupLockForSelector groupLock (selector, use.Group());
        std::lock_guard guard (Live().lock);
        int32_t status = 0;
        CDSP* object = ObjectOf (dsp, status);
        if (object == nullptr)
            return static_cast<int16_t> (status);
        return service (*object);
    }
    catch (const CDAEError& error)
    {
        return static_cast<int16_t> (error.Code());
    }
    catch (...)
    {
        return RTASError::kUnexpected;
    }
}

#define KESTRUNE_DSP_CALLBACK(selector, role, params, args)                                  \
    int16_t Callback##role (DSIDSPRecord* dsp KESTRUNE_DSI_AFTER_DSP params)                 \
    {                                                                                        \
        return RunCallback (dsp, selector, [&] (CDSP& object) { return object.role args; }); \
    }
KESTRUNE_DSI_SHELL_SERVICES (KESTRUNE_DSP_CALLBACK)
#undef KESTRUNE_DSP_CALLBACK
}

DSIHostCallback DSPHostCodeHandler (int16_t selector)
{
    if (CDSP::PlugInHasPenResources())
        return nullptr;
    switch (selector)
    {
#define KESTRUNE_DSP_CALLBACK_CASE(number, role, params, args) \
    case number: return reinterpret_cast<DSIHostCallback> (&Callback##role);
        KESTRUNE_DSI_SHELL_SERVICES (KESTRUNE_DSP_CALLBACK_CASE)
#undef KESTRUNE_DSP_CALLBACK_CASE
        default: return nullptr;
    }
}

void RegisterDSPObject (CDSP* object)
{
    std::lock_guard guard (Live().lock);
    Live().objects.insert (object);
}

void ForgetDSPObject (CDSP* object)
{
    std::lock_guard guard (Live().lock);
    Live().objects.erase (object);
}
