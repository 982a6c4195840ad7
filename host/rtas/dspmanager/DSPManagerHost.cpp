// The stand-in DSP manager, DSPManager.dll: one host object that is the manager, its group
// registrar and its client, with critical regions that really exclude other threads.

#include "../DSPManagerControl.h"
#include "../StandInExport.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <thread>

namespace kestrune::host::rtas
{

namespace
{

    constexpr int32_t kDefaultVersion = 2;
    constexpr int32_t kFirstCookie = 1;

    struct RegionObject
    {
        std::recursive_mutex mutex;
        DSPRegion info;
    };

    class DSPManagerHost final : public IDSPManager,
                                 public IDSPGroupRegistrar,
                                 public IDSPManagerClient,
                                 public DSPManagerControl
    {
    public:
        DSPManagerHost() { resetState(); }

        // Control.

        void reset() override
        {
            std::lock_guard guard (lock_);
            resetState();
            script_.reset();
        }

        StandInScript& script() override { return script_; }

        void setAvailable (bool available) override
        {
            std::lock_guard guard (lock_);
            available_ = available;
        }

        void setVersion (int32_t version) override
        {
            std::lock_guard guard (lock_);
            version_ = version;
        }

        int32_t references() override
        {
            std::lock_guard guard (lock_);
            return references_;
        }

        std::vector<DSPRegion> regions() override
        {
            std::lock_guard guard (lock_);
            std::vector<DSPRegion> all;
            for (const auto& region : regions_)
                all.push_back (region->info);
            return all;
        }

        std::vector<void*> registeredProcesses() override
        {
            std::lock_guard guard (lock_);
            return registered_;
        }

        std::vector<void*> acceptedProcesses() override
        {
            std::lock_guard guard (lock_);
            return accepted_;
        }

        std::vector<std::pair<void*, int32_t>> registeredGroups() override
        {
            std::lock_guard guard (lock_);
            return groups_;
        }

        // The entry point.

        IDSPManager* getManager (int32_t group)
        {
            script_.record ("GetDSPManager", { group });
            if (script_.takeFailure ("GetDSPManager"))
                return nullptr;
            {
                std::lock_guard guard (lock_);
                if (! available_)
                    return nullptr;
            }
            AddRef();
            return this;
        }

        // The host object's reference counting, shared by its three interfaces.

        int32_t QueryInterface (const HostGUID& iid, void** object) override
        {
            script_.record ("Manager.QueryInterface", { iid.data1 });
            if (object == nullptr)
                return kHostNoInterface;
            *object = nullptr;
            if (script_.takeFailure ("Manager.QueryInterface"))
                return kHostNoInterface;
            if (iid == IID_IHostUnknown || iid == IID_IDSPManager)
                *object = static_cast<IDSPManager*> (this);
            else if (iid == IID_IDSPManagerClient)
                *object = static_cast<IDSPManagerClient*> (this);
            else if (iid == IID_IDSPGroupRegistrar)
                *object = static_cast<IDSPGroupRegistrar*> (this);
            else
                return kHostNoInterface;
            AddRef();
            return 0;
        }

        uint32_t AddRef() override
        {
            std::lock_guard guard (lock_);
            return uint32_t (++references_);
        }

        uint32_t Release() override
        {
            std::lock_guard guard (lock_);
            return uint32_t (--references_);
        }

        // The manager and the group registrar.

        IDSPGroupRegistrar* GetGroupRegistrar() override
        {
            script_.record ("Manager.GetGroupRegistrar");
            AddRef();
            return this;
        }

        int32_t RegisterGroup (void* processGroup, int32_t* cookie) override
        {
            script_.record ("Registrar.RegisterGroup", { addressOf (processGroup), addressOf (cookie) });
            if (auto failure = script_.takeFailure ("Registrar.RegisterGroup"))
                return *failure;
            if (processGroup == nullptr || cookie == nullptr)
                return kDSPManagerErrUnknownProcess;
            std::lock_guard guard (lock_);
            *cookie = nextCookie_++;
            groups_.emplace_back (processGroup, *cookie);
            return 0;
        }

        int32_t UnregisterGroup (int32_t cookie) override
        {
            script_.record ("Registrar.UnregisterGroup", { cookie });
            if (auto failure = script_.takeFailure ("Registrar.UnregisterGroup"))
                return *failure;
            std::lock_guard guard (lock_);
            const auto found = std::find_if (groups_.begin(), groups_.end(), [&] (const auto& g) { return g.second == cookie; });
            if (found == groups_.end())
                return kDSPManagerErrUnknownCookie;
            groups_.erase (found);
            return 0;
        }

        // The client: version and critical regions.

        int32_t GetVersion() override
        {
            script_.record ("Client.GetVersion");
            std::lock_guard guard (lock_);
            return version_;
        }

        DSPCriticalRegionRef NewCriticalRegion() override
        {
            script_.record ("Client.NewCriticalRegion");
            return newRegion ("Client.NewCriticalRegion", nullptr, 1);
        }

        DSPCriticalRegionRef NewNamedCriticalRegion (const char* name) override
        {
            script_.record ("Client.NewNamedCriticalRegion", {}, name == nullptr ? "" : name);
            return newRegion ("Client.NewNamedCriticalRegion", name == nullptr ? "" : name, 2);
        }

        int32_t DeleteCriticalRegion (DSPCriticalRegionRef ref) override
        {
            script_.record ("Client.DeleteCriticalRegion", { addressOf (ref) });
            if (auto failure = script_.takeFailure ("Client.DeleteCriticalRegion"))
                return *failure;
            std::lock_guard guard (lock_);
            RegionObject* region = regionOf (ref);
            if (region == nullptr)
                return kDSPManagerErrUnknownRegion;
            if (region->info.depth > 0)
                return kDSPManagerErrRegionBusy;
            region->info.deleted = true;
            return 0;
        }

        int32_t EnterCriticalRegion (DSPCriticalRegionRef ref) override
        {
            script_.record ("Client.EnterCriticalRegion", { addressOf (ref) });
            if (auto failure = script_.takeFailure ("Client.EnterCriticalRegion"))
                return *failure;
            RegionObject* region = liveRegion (ref);
            if (region == nullptr)
                return kDSPManagerErrUnknownRegion;
            region->mutex.lock();
            entered (*region);
            return 0;
        }

        int32_t TryEnterCriticalRegion (DSPCriticalRegionRef ref) override
        {
            script_.record ("Client.TryEnterCriticalRegion", { addressOf (ref) });
            if (auto failure = script_.takeFailure ("Client.TryEnterCriticalRegion"))
                return *failure;
            RegionObject* region = liveRegion (ref);
            if (region == nullptr)
                return kDSPManagerErrUnknownRegion;
            if (! region->mutex.try_lock())
                return kDSPManagerErrRegionBusy;
            entered (*region);
            return 0;
        }

        int32_t LeaveCriticalRegion (DSPCriticalRegionRef ref) override
        {
            script_.record ("Client.LeaveCriticalRegion", { addressOf (ref) });
            if (auto failure = script_.takeFailure ("Client.LeaveCriticalRegion"))
                return *failure;
            RegionObject* region = liveRegion (ref);
            if (region == nullptr)
                return kDSPManagerErrUnknownRegion;
            {
                std::lock_guard guard (lock_);
                if (region->info.depth == 0 || region->info.owner != std::this_thread::get_id())
                    return kDSPManagerErrNotHeld;
                if (--region->info.depth == 0)
                    region->info.owner = std::thread::id();
            }
            region->mutex.unlock();
            return 0;
        }

        // The client: DSP process instances.

        int32_t RegisterProcess (void* process) override
        {
            script_.record ("Client.RegisterProcess", { addressOf (process) });
            if (auto failure = script_.takeFailure ("Client.RegisterProcess"))
                return *failure;
            std::lock_guard guard (lock_);
            if (process == nullptr || contains (registered_, process))
                return kDSPManagerErrUnknownProcess;
            registered_.push_back (process);
            return 0;
        }

        int32_t AcceptProcess (void* process) override
        {
            script_.record ("Client.AcceptProcess", { addressOf (process) });
            if (auto failure = script_.takeFailure ("Client.AcceptProcess"))
                return *failure;
            std::lock_guard guard (lock_);
            if (! contains (registered_, process))
                return kDSPManagerErrUnknownProcess;
            if (! contains (accepted_, process))
                accepted_.push_back (process);
            return 0;
        }

        int32_t UnregisterProcess (void* process) override
        {
            script_.record ("Client.UnregisterProcess", { addressOf (process) });
            if (auto failure = script_.takeFailure ("Client.UnregisterProcess"))
                return *failure;
            std::lock_guard guard (lock_);
            if (! contains (registered_, process))
                return kDSPManagerErrUnknownProcess;
            std::erase (registered_, process);
            std::erase (accepted_, process);
            return 0;
        }

    private:
        static bool contains (const std::vector<void*>& list, void* item)
        {
            return std::find (list.begin(), list.end(), item) != list.end();
        }

        void resetState()
        {
            available_ = true;
            version_ = kDefaultVersion;
            references_ = 0;
            // A region still held stays alive for its holder, but is no longer reported.
            for (auto& region : regions_)
                if (region->info.depth > 0)
                    retiredRegions_.push_back (std::move (region));
            regions_.clear();
            registered_.clear();
            accepted_.clear();
            groups_.clear();
            nextCookie_ = kFirstCookie;
        }

        DSPCriticalRegionRef newRegion (const char* function, const char* name, int32_t leastVersion)
        {
            if (script_.takeFailure (function))
                return nullptr;
            std::lock_guard guard (lock_);
            if (version_ < leastVersion)
                return nullptr;
            auto region = std::make_unique<RegionObject>();
            region->info.named = name != nullptr;
            region->info.name = name == nullptr ? "" : name;
            regions_.push_back (std::move (region));
            return regions_.back().get();
        }

        RegionObject* regionOf (DSPCriticalRegionRef ref)
        {
            for (auto& region : regions_)
                if (region.get() == ref && ! region->info.deleted)
                    return region.get();
            return nullptr;
        }

        RegionObject* liveRegion (DSPCriticalRegionRef ref)
        {
            std::lock_guard guard (lock_);
            return regionOf (ref);
        }

        void entered (RegionObject& region)
        {
            std::lock_guard guard (lock_);
            region.info.owner = std::this_thread::get_id();
            ++region.info.depth;
        }

        std::mutex lock_;
        StandInScript script_;
        bool available_ = true;
        int32_t version_ = kDefaultVersion;
        int32_t references_ = 0;
        std::vector<std::unique_ptr<RegionObject>> regions_;
        std::vector<std::unique_ptr<RegionObject>> retiredRegions_;
        std::vector<void*> registered_;
        std::vector<void*> accepted_;
        std::vector<std::pair<void*, int32_t>> groups_;
        int32_t nextCookie_ = kFirstCookie;
    };

    DSPManagerHost& host()
    {
        static DSPManagerHost instance;
        return instance;
    }

} // namespace

} // namespace kestrune::host::rtas

KESTRUNE_HOST_EXPORT kestrune::host::rtas::DSPManagerControl* KestruneDSPManagerStandIn()
{
    return &kestrune::host::rtas::host();
}

KESTRUNE_HOST_EXPORT IDSPManager* GetDSPManager (int32_t group)
{
    return kestrune::host::rtas::host().getManager (group);
}
