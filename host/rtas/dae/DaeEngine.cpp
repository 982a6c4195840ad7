// The stand-in engine, DAE.dll: the Fic* services, the PISI service and the open and close
// procedure registration, with the control that the tests use.

#include "../DaeControl.h"
#include "../StandInExport.h"
#include "ObjectTrackerStandIn.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <list>
#include <map>
#include <memory>
#include <mutex>

namespace kestrune::host::rtas
{

namespace
{

    constexpr int32_t kRootNameId = 1;
    constexpr int32_t kFirstNameId = 100;
    constexpr FicObjectRef kFirstObject = 0x1000;
    constexpr uint32_t kSpecSignature = 0x44414573; // 'DAEs'
    constexpr int32_t kDefaultPISIVersion = 2;
    constexpr size_t kTokenLengthOffset = 36;
    constexpr size_t kSmallestToken = 38;
    constexpr size_t kLargestToken = 4096;

    std::string textOf (ConstStr255Param name)
    {
        return name == nullptr ? std::string() : std::string (reinterpret_cast<const char*> (name + 1), name[0]);
    }

    struct PISILock
    {
        std::recursive_mutex mutex;
        DaeLock info;
    };

    struct SDSName
    {
        int32_t parent = 0;
        std::string name;
    };

    struct QueuedToken
    {
        FicObjectRef task = 0;
        void* taskValue = nullptr;
        std::vector<uint8_t> bytes;
        FicObjectRef listener = 0; // 0 for a token queued by a test
    };

    template <typename Field>
    Field fieldOf (const std::vector<uint8_t>& token, size_t offset)
    {
        Field value {};
        std::memcpy (&value, token.data() + offset, sizeof value);
        return value;
    }

    bool listenerHears (const DaeListener& listener, const std::vector<uint8_t>& token)
    {
        return listener.nameId == fieldOf<int32_t> (token, offsetof (SFicSDSTokenHeader, fDestination))
               && listener.type == fieldOf<uint32_t> (token, offsetof (SFicSDSTokenHeader, fType))
               && listener.subType == fieldOf<uint32_t> (token, offsetof (SFicSDSTokenHeader, fSubType))
               && listener.protocol == fieldOf<uint32_t> (token, offsetof (SFicSDSTokenHeader, fProtocol))
               && listener.manufacturer == fieldOf<uint32_t> (token, offsetof (SFicSDSTokenHeader, fManufacturer));
    }

    class DaeEngine final : public DaeControl
    {
    public:
        DaeEngine() { resetState(); }

        void reset() override
        {
            std::lock_guard guard (lock_);
            resetState();
            script_.reset();
            resetObjectTrackerStandIn();
        }

        StandInScript& script() override { return script_; }

        void setGestalt (uint32_t selector, int32_t response) override
        {
            std::lock_guard guard (lock_);
            gestalt_[selector] = response;
        }

        void removeGestalt (uint32_t selector) override
        {
            std::lock_guard guard (lock_);
            gestalt_.erase (selector);
        }

        void setAlive (bool alive) override
        {
            std::lock_guard guard (lock_);
            alive_ = alive;
        }

        void setPISIVersion (int32_t version) override
        {
            std::lock_guard guard (lock_);
            pisiVersion_ = version;
        }

        const SPISIService* pisiService() override { return &kPISIService; }

        std::vector<DaeLock> locks() override
        {
            std::lock_guard guard (lock_);
            std::vector<DaeLock> all;
            for (const auto& lock : pisiLocks_)
                all.push_back (lock->info);
            return all;
        }

        std::vector<DaeObject> liveObjects() override
        {
            std::lock_guard guard (lock_);
            std::vector<DaeObject> all;
            for (const auto& [ref, object] : objects_)
                all.push_back (object);
            return all;
        }

        uint32_t standardType (int32_t number) override { return 0x53540000u | (uint32_t (number) & 0xFFFF); }

        std::optional<int32_t> nameId (int32_t parentId, const std::string& name) override
        {
            std::lock_guard guard (lock_);
            return findName (parentId, name);
        }

        size_t reservedNameCount() override
        {
            std::lock_guard guard (lock_);
            return names_.size();
        }

        void queueToken (FicObjectRef task, void* taskValue, std::vector<uint8_t> token) override
        {
            std::lock_guard guard (lock_);
            queued_.push_back ({ task, taskValue, std::move (token) });
        }

        std::vector<std::vector<uint8_t>> dispatchedTokens() override
        {
            std::lock_guard guard (lock_);
            return dispatched_;
        }

        size_t tokensHandedOut() override
        {
            std::lock_guard guard (lock_);
            return handedOut_.size();
        }

        bool connectionsPrepared() override
        {
            std::lock_guard guard (lock_);
            return prepared_;
        }

        std::vector<void*> midiClients() override
        {
            std::lock_guard guard (lock_);
            return midiClients_;
        }

        bool offersOpenAndCloseProcs() override { return kOffersOpenAndCloseProcs; }

        PlugInOpenProc openProc() override
        {
            std::lock_guard guard (lock_);
            return openProc_;
        }

        PlugInCloseProc closeProc() override
        {
            std::lock_guard guard (lock_);
            return closeProc_;
        }

        // Engine services.

        int16_t gestalt (uint32_t selector, int32_t* response)
        {
            script_.record ("FicGestalt", { selector, addressOf (response) });
            if (auto failure = script_.takeFailure ("FicGestalt"))
                return int16_t (*failure);
            if (response == nullptr)
                return kFicErrBadArgument;
            std::lock_guard guard (lock_);
            const auto found = gestalt_.find (selector);
            if (found == gestalt_.end())
                return kFicErrUnknownSelector;
            *response = found->second;
            return 0;
        }

        uint8_t isAlive()
        {
            script_.record ("FicIsAlive");
            if (script_.takeFailure ("FicIsAlive"))
                return 0;
            std::lock_guard guard (lock_);
            return alive_ ? 1 : 0;
        }

        FicObjectRef newServer()
        {
            script_.record ("FicNewServer");
            if (script_.takeFailure ("FicNewServer"))
                return 0;
            std::lock_guard guard (lock_);
            return addObject ({ 0, 0, 0, {} });
        }

        uint32_t findStandardType (FicObjectRef server, int32_t number)
        {
            script_.record ("FicFindStandardType", { server, number });
            if (script_.takeFailure ("FicFindStandardType"))
                return 0;
            return standardType (number);
        }

        FicObjectRef newObject (FicObjectRef server, uint32_t type)
        {
            script_.record ("FicNewObject", { server, type });
            if (script_.takeFailure ("FicNewObject"))
                return 0;
            std::lock_guard guard (lock_);
            const auto found = objects_.find (server);
            if (found == objects_.end() || found->second.server != 0)
                return 0;
            return addObject ({ 0, server, type, {} });
        }

        int16_t deleteObject (FicObjectRef object)
        {
            script_.record ("FicDelete", { object });
            if (auto failure = script_.takeFailure ("FicDelete"))
                return int16_t (*failure);
            std::lock_guard guard (lock_);
            // A deleted listener hears nothing more: its tokens still waiting go with it.
            queued_.remove_if ([object] (const QueuedToken& queued) { return queued.listener == object; });
            return objects_.erase (object) == 1 ? 0 : kFicErrUnknownObject;
        }

        int16_t simpleCall (const char* function, std::vector<int64_t> arguments = {})
        {
            script_.record (function, std::move (arguments));
            if (auto failure = script_.takeFailure (function))
                return int16_t (*failure);
            return 0;
        }

        int16_t createPlugInSpec (uint32_t manufacturer, uint32_t product, uint32_t plugIn, SFicPlugInSpec* spec)
        {
            script_.record ("FicCreatePlugInSpec", { manufacturer, product, plugIn, addressOf (spec) });
            if (auto failure = script_.takeFailure ("FicCreatePlugInSpec"))
                return int16_t (*failure);
            if (spec == nullptr)
                return kFicErrBadArgument;
            std::lock_guard guard (lock_);
            std::memset (spec, 0, sizeof *spec);
            spec->fEngineSignature = kSpecSignature;
            spec->fEngineSerial = ++specSerial_;
            spec->fManufacturerID = manufacturer;
            spec->fProductID = product;
            spec->fPlugInID = plugIn;
            return 0;
        }

        int16_t reserveName (int32_t parent, ConstStr255Param name, int32_t* id)
        {
            const std::string text = textOf (name);
            script_.record ("FicSDSReserveName", { parent, addressOf (id) }, text);
            if (auto failure = script_.takeFailure ("FicSDSReserveName"))
                return int16_t (*failure);
            if (name == nullptr || id == nullptr || text.empty())
                return kFicErrBadArgument;
            std::lock_guard guard (lock_);
            if (parent != 0 && parent != kRootNameId && names_.count (parent) == 0)
                return kFicErrUnknownName;
            if (findName (parent, text))
                return kFicErrNameInUse;
            *id = nextNameId_++;
            names_[*id] = { parent, text };
            return 0;
        }

        int16_t getNameId (int32_t parent, ConstStr255Param name, int32_t* id)
        {
            const std::string text = textOf (name);
            script_.record ("FicSDSGetNameId", { parent, addressOf (id) }, text);
            if (auto failure = script_.takeFailure ("FicSDSGetNameId"))
                return int16_t (*failure);
            if (id == nullptr)
                return kFicErrBadArgument;
            std::lock_guard guard (lock_);
            if (parent == 0 && text.empty())
            {
                *id = kRootNameId;
                return 0;
            }
            const auto found = findName (parent, text);
            if (! found)
                return kFicErrUnknownName;
            *id = *found;
            return 0;
        }

        int16_t freeName (int32_t parent, ConstStr255Param name)
        {
            const std::string text = textOf (name);
            script_.record ("FicSDSFreeName", { parent, name == nullptr ? 0 : 1 }, text);
            if (auto failure = script_.takeFailure ("FicSDSFreeName"))
                return int16_t (*failure);
            std::lock_guard guard (lock_);
            const auto target = name == nullptr ? std::optional<int32_t> (parent) : findName (parent, text);
            if (! target || names_.count (*target) == 0)
                return kFicErrUnknownName;
            freeNameTree (*target);
            return 0;
        }

        template <typename Setter>
        int16_t setListener (const char* function, FicObjectRef listener, int64_t value, Setter setter)
        {
            script_.record (function, { listener, value });
            if (auto failure = script_.takeFailure (function))
                return int16_t (*failure);
            std::lock_guard guard (lock_);
            const auto found = objects_.find (listener);
            if (found == objects_.end() || found->second.server == 0)
                return kFicErrUnknownObject;
            setter (found->second.listener);
            return 0;
        }

        int16_t getToken (FicObjectRef task, uint8_t** token, void** taskValue)
        {
            script_.record ("FicSDSGetTokenAndTaskVal", { task, addressOf (token), addressOf (taskValue) });
            if (auto failure = script_.takeFailure ("FicSDSGetTokenAndTaskVal"))
                return int16_t (*failure);
            if (token == nullptr || taskValue == nullptr)
                return kFicErrBadArgument;
            std::lock_guard guard (lock_);
            *token = nullptr;
            *taskValue = nullptr;
            for (auto queued = queued_.begin(); queued != queued_.end(); ++queued)
            {
                if (queued->task != task)
                    continue;
                handedOut_.push_back (std::move (queued->bytes));
                *token = handedOut_.back().data();
                *taskValue = queued->taskValue;
                queued_.erase (queued);
                break;
            }
            return 0;
        }

        int16_t dispatchToken (const uint8_t* token)
        {
            script_.record ("FicSDSDispatchToken", { addressOf (token) });
            if (auto failure = script_.takeFailure ("FicSDSDispatchToken"))
                return int16_t (*failure);
            if (token == nullptr)
                return kFicErrBadArgument;
            uint16_t length = 0;
            std::memcpy (&length, token + kTokenLengthOffset, sizeof length);
            if (length < kSmallestToken || length > kLargestToken)
                return kFicErrBadArgument;
            std::lock_guard guard (lock_);
            dispatched_.emplace_back (token, token + length);
            deliver (dispatched_.back());
            return 0;
        }

        size_t queuedTokens() override
        {
            std::lock_guard guard (lock_);
            return queued_.size();
        }

        int16_t doneWithToken (uint8_t* token)
        {
            script_.record ("FicSDSDoneWithToken", { addressOf (token) });
            if (auto failure = script_.takeFailure ("FicSDSDoneWithToken"))
                return int16_t (*failure);
            std::lock_guard guard (lock_);
            for (auto given = handedOut_.begin(); given != handedOut_.end(); ++given)
                if (given->data() == token)
                {
                    handedOut_.erase (given);
                    return 0;
                }
            return kFicErrUnknownToken;
        }

        int16_t portCall (const char* function, const SFicPlugInSpec* spec, int16_t port)
        {
            script_.record (function, { spec == nullptr ? 0 : spec->fPlugInID, spec == nullptr ? 0 : spec->fInstanceWord, port });
            if (auto failure = script_.takeFailure (function))
                return int16_t (*failure);
            return spec == nullptr ? kFicErrBadArgument : 0;
        }

        int16_t prepareForConnections (int32_t reserved, int16_t flag)
        {
            script_.record ("FicPrepareForConnections", { reserved, flag });
            if (auto failure = script_.takeFailure ("FicPrepareForConnections"))
                return int16_t (*failure);
            std::lock_guard guard (lock_);
            prepared_ = flag != 0;
            return 0;
        }

        int16_t prepareStatus (int32_t reserved)
        {
            script_.record ("FicPrepareForConnectionsStatus", { reserved });
            if (auto failure = script_.takeFailure ("FicPrepareForConnectionsStatus"))
                return int16_t (*failure);
            if (auto scripted = script_.takeResult ("FicPrepareForConnectionsStatus"))
                return int16_t (*scripted);
            std::lock_guard guard (lock_);
            return prepared_ ? 1 : 0;
        }

        int16_t registerMidiClient (void* client, void* object, const SFicPlugInSpec* spec, void* context)
        {
            script_.record ("FicRegisterDirectMIDIClient",
                            { addressOf (client), addressOf (object), spec == nullptr ? 0 : spec->fManufacturerID, addressOf (context) });
            if (auto failure = script_.takeFailure ("FicRegisterDirectMIDIClient"))
                return int16_t (*failure);
            if (client == nullptr)
                return kFicErrBadArgument;
            std::lock_guard guard (lock_);
            for (void* known : midiClients_)
                if (known == client)
                    return kFicErrClientInUse;
            midiClients_.push_back (client);
            return 0;
        }

        int16_t unregisterMidiClient (void* client)
        {
            script_.record ("FicUnRegisterDirectMIDIClient", { addressOf (client) });
            if (auto failure = script_.takeFailure ("FicUnRegisterDirectMIDIClient"))
                return int16_t (*failure);
            std::lock_guard guard (lock_);
            for (auto known = midiClients_.begin(); known != midiClients_.end(); ++known)
                if (*known == client)
                {
                    midiClients_.erase (known);
                    return 0;
                }
            return kFicErrUnknownObject;
        }

        void setOpenAndCloseProcs (PlugInOpenProc open, PlugInCloseProc close)
        {
            script_.record ("SetPlugInOpenAndCloseProcs", { addressOf (reinterpret_cast<void*> (open)), addressOf (reinterpret_cast<void*> (close)) });
            std::lock_guard guard (lock_);
            openProc_ = open;
            closeProc_ = close;
        }

        // The PISI service.

        int32_t pisiVersion()
        {
            script_.record ("PISI.GetVersion");
            std::lock_guard guard (lock_);
            return pisiVersion_;
        }

        PISILockRef newLock (const char* name)
        {
            const char* function = name == nullptr ? "PISI.NewLock" : "PISI.NewNamedLock";
            script_.record (function, {}, name == nullptr ? "" : name);
            if (script_.takeFailure (function))
                return nullptr;
            std::lock_guard guard (lock_);
            auto lock = std::make_unique<PISILock>();
            lock->info.named = name != nullptr;
            lock->info.name = name == nullptr ? "" : name;
            pisiLocks_.push_back (std::move (lock));
            return pisiLocks_.back().get();
        }

        PISILock* lockOf (PISILockRef ref)
        {
            std::lock_guard guard (lock_);
            for (auto& lock : pisiLocks_)
                if (lock.get() == ref && ! lock->info.disposed)
                    return lock.get();
            return nullptr;
        }

        void lockPISI (PISILockRef ref)
        {
            script_.record ("PISI.Lock", { addressOf (ref) });
            if (PISILock* lock = lockOf (ref))
            {
                lock->mutex.lock();
                std::lock_guard guard (lock_);
                ++lock->info.depth;
            }
        }

        uint8_t tryLockPISI (PISILockRef ref)
        {
            script_.record ("PISI.TryLock", { addressOf (ref) });
            PISILock* lock = lockOf (ref);
            if (lock == nullptr || script_.takeFailure ("PISI.TryLock") || ! lock->mutex.try_lock())
                return 0;
            std::lock_guard guard (lock_);
            ++lock->info.depth;
            return 1;
        }

        void unlockPISI (PISILockRef ref)
        {
            script_.record ("PISI.Unlock", { addressOf (ref) });
            PISILock* lock = lockOf (ref);
            if (lock == nullptr)
                return;
            {
                std::lock_guard guard (lock_);
                if (lock->info.depth == 0)
                    return;
                --lock->info.depth;
            }
            lock->mutex.unlock();
        }

        void disposeLock (PISILockRef ref)
        {
            script_.record ("PISI.DisposeLock", { addressOf (ref) });
            if (PISILock* lock = lockOf (ref))
            {
                std::lock_guard guard (lock_);
                lock->info.disposed = true;
            }
        }

        static const SPISIService kPISIService;
        static const bool kOffersOpenAndCloseProcs;

    private:
        void resetState()
        {
            gestalt_.clear();
            gestalt_[kFicGestaltPISI] = int32_t (reinterpret_cast<uintptr_t> (&kPISIService));
            alive_ = true;
            pisiVersion_ = kDefaultPISIVersion;
            // A lock still held stays alive for its holder, but is no longer reported.
            for (auto& lock : pisiLocks_)
                if (lock->info.depth > 0)
                    retiredLocks_.push_back (std::move (lock));
            pisiLocks_.clear();
            objects_.clear();
            nextObject_ = kFirstObject;
            names_.clear();
            nextNameId_ = kFirstNameId;
            queued_.clear();
            handedOut_.clear();
            dispatched_.clear();
            prepared_ = false;
            midiClients_.clear();
            openProc_ = nullptr;
            closeProc_ = nullptr;
            specSerial_ = 0;
        }

        // A listener that wants only the latest token replaces its token still waiting.
        void deliver (const std::vector<uint8_t>& token)
        {
            for (const auto& [ref, object] : objects_)
            {
                const DaeListener& listener = object.listener;
                if (object.server == 0 || listener.task == 0 || ! listenerHears (listener, token))
                    continue;
                const auto waiting = std::find_if (queued_.begin(), queued_.end(), [ref = ref] (const QueuedToken& queued) {
                    return queued.listener == ref;
                });
                if (listener.latest != 0 && waiting != queued_.end())
                    waiting->bytes = token;
                else
                    queued_.push_back ({ listener.task, listener.taskValue, token, ref });
            }
        }

        FicObjectRef addObject (DaeObject object)
        {
            object.ref = nextObject_++;
            objects_[object.ref] = object;
            return object.ref;
        }

        std::optional<int32_t> findName (int32_t parent, const std::string& name) const
        {
            for (const auto& [id, entry] : names_)
                if (entry.parent == parent && entry.name == name)
                    return id;
            return std::nullopt;
        }

        void freeNameTree (int32_t id)
        {
            std::vector<int32_t> children;
            for (const auto& [child, entry] : names_)
                if (entry.parent == id)
                    children.push_back (child);
            for (int32_t child : children)
                freeNameTree (child);
            names_.erase (id);
        }

        std::mutex lock_;
        StandInScript script_;
        std::map<uint32_t, int32_t> gestalt_;
        bool alive_ = true;
        int32_t pisiVersion_ = kDefaultPISIVersion;
        std::vector<std::unique_ptr<PISILock>> pisiLocks_;
        std::vector<std::unique_ptr<PISILock>> retiredLocks_;
        std::map<FicObjectRef, DaeObject> objects_;
        FicObjectRef nextObject_ = kFirstObject;
        std::map<int32_t, SDSName> names_;
        int32_t nextNameId_ = kFirstNameId;
        std::list<QueuedToken> queued_;
        std::list<std::vector<uint8_t>> handedOut_;
        std::vector<std::vector<uint8_t>> dispatched_;
        bool prepared_ = false;
        std::vector<void*> midiClients_;
        PlugInOpenProc openProc_ = nullptr;
        PlugInCloseProc closeProc_ = nullptr;
        uint32_t specSerial_ = 0;
    };

    DaeEngine& engine()
    {
        static DaeEngine instance;
        return instance;
    }

    const SPISIService DaeEngine::kPISIService = {
        [] { return engine().pisiVersion(); },
        [] { return engine().newLock (nullptr); },
        [] (const char* name) { return engine().newLock (name != nullptr ? name : ""); },
        [] (PISILockRef lock) { engine().lockPISI (lock); },
        [] (PISILockRef lock) { return engine().tryLockPISI (lock); },
        [] (PISILockRef lock) { engine().unlockPISI (lock); },
        [] (PISILockRef lock) { engine().disposeLock (lock); },
    };

#ifdef KESTRUNE_DAE_WITHOUT_OPEN_PROCS
    const bool DaeEngine::kOffersOpenAndCloseProcs = false;
#else
    const bool DaeEngine::kOffersOpenAndCloseProcs = true;
#endif

} // namespace

} // namespace kestrune::host::rtas

using kestrune::host::rtas::engine;

KESTRUNE_HOST_EXPORT kestrune::host::rtas::DaeControl* KestruneDaeStandIn()
{
    return &engine();
}

KESTRUNE_HOST_EXPORT int16_t FicGestalt (uint32_t selector, int32_t* response)
{
    return engine().gestalt (selector, response);
}

KESTRUNE_HOST_EXPORT uint8_t FicIsAlive()
{
    return engine().isAlive();
}

KESTRUNE_HOST_EXPORT FicObjectRef FicNewServer()
{
    return engine().newServer();
}

KESTRUNE_HOST_EXPORT uint32_t FicFindStandardType (FicObjectRef server, int32_t number)
{
    return engine().findStandardType (server, number);
}

KESTRUNE_HOST_EXPORT FicObjectRef FicNewObject (FicObjectRef server, uint32_t standardType)
{
    return engine().newObject (server, standardType);
}

KESTRUNE_HOST_EXPORT int16_t FicDelete (FicObjectRef object)
{
    return engine().deleteObject (object);
}

KESTRUNE_HOST_EXPORT int16_t FicPersonalityDoIdle()
{
    return engine().simpleCall ("FicPersonalityDoIdle");
}

KESTRUNE_HOST_EXPORT int16_t FicCreatePlugInSpec (uint32_t manufacturerID, uint32_t productID, uint32_t plugInID,
                                                  SFicPlugInSpec* spec)
{
    return engine().createPlugInSpec (manufacturerID, productID, plugInID, spec);
}

KESTRUNE_HOST_EXPORT int16_t FicSDSReserveName (int32_t parentId, ConstStr255Param name, int32_t* nameId)
{
    return engine().reserveName (parentId, name, nameId);
}

KESTRUNE_HOST_EXPORT int16_t FicSDSGetNameId (int32_t parentId, ConstStr255Param name, int32_t* nameId)
{
    return engine().getNameId (parentId, name, nameId);
}

KESTRUNE_HOST_EXPORT int16_t FicSDSFreeName (int32_t parentId, ConstStr255Param name)
{
    return engine().freeName (parentId, name);
}

using kestrune::host::rtas::DaeListener;

KESTRUNE_HOST_EXPORT int16_t FicSDSSetListenerName (FicObjectRef listener, int32_t nameId)
{
    return engine().setListener ("FicSDSSetListenerName", listener, nameId, [&] (DaeListener& l) { l.nameId = nameId; });
}

KESTRUNE_HOST_EXPORT int16_t FicSDSSetListenerType (FicObjectRef listener, uint32_t type)
{
    return engine().setListener ("FicSDSSetListenerType", listener, type, [&] (DaeListener& l) { l.type = type; });
}

KESTRUNE_HOST_EXPORT int16_t FicSDSSetListenerSubType (FicObjectRef listener, uint32_t subType)
{
    return engine().setListener ("FicSDSSetListenerSubType", listener, subType, [&] (DaeListener& l) { l.subType = subType; });
}

KESTRUNE_HOST_EXPORT int16_t FicSDSSetListenerGoal (FicObjectRef listener, int32_t goal)
{
    return engine().setListener ("FicSDSSetListenerGoal", listener, goal, [&] (DaeListener& l) { l.goal = goal; });
}

KESTRUNE_HOST_EXPORT int16_t FicSDSSetListenerCritical (FicObjectRef listener, uint8_t critical)
{
    return engine().setListener ("FicSDSSetListenerCritical", listener, critical, [&] (DaeListener& l) { l.critical = critical; });
}

KESTRUNE_HOST_EXPORT int16_t FicSDSSetListenerLatest (FicObjectRef listener, uint8_t latest)
{
    return engine().setListener ("FicSDSSetListenerLatest", listener, latest, [&] (DaeListener& l) { l.latest = latest; });
}

KESTRUNE_HOST_EXPORT int16_t FicSDSSetListenerTaskVal (FicObjectRef listener, void* taskValue)
{
    return engine().setListener ("FicSDSSetListenerTaskVal", listener, kestrune::host::rtas::addressOf (taskValue),
                                 [&] (DaeListener& l) { l.taskValue = taskValue; });
}

KESTRUNE_HOST_EXPORT int16_t FicSDSSetListenerTask (FicObjectRef listener, FicObjectRef task)
{
    return engine().setListener ("FicSDSSetListenerTask", listener, task, [&] (DaeListener& l) { l.task = task; });
}

KESTRUNE_HOST_EXPORT int16_t FicSDSSetListenerProtocol (FicObjectRef listener, uint32_t protocol)
{
    return engine().setListener ("FicSDSSetListenerProtocol", listener, protocol, [&] (DaeListener& l) { l.protocol = protocol; });
}

KESTRUNE_HOST_EXPORT int16_t FicSDSSetListenerManufacturer (FicObjectRef listener, uint32_t manufacturer)
{
    return engine().setListener ("FicSDSSetListenerManufacturer", listener, manufacturer,
                                 [&] (DaeListener& l) { l.manufacturer = manufacturer; });
}

KESTRUNE_HOST_EXPORT int16_t FicSDSGetTokenAndTaskVal (FicObjectRef task, uint8_t** token, void** taskValue)
{
    return engine().getToken (task, token, taskValue);
}

KESTRUNE_HOST_EXPORT int16_t FicSDSDispatchToken (const uint8_t* token)
{
    return engine().dispatchToken (token);
}

KESTRUNE_HOST_EXPORT int16_t FicSDSDoneWithToken (uint8_t* token)
{
    return engine().doneWithToken (token);
}

KESTRUNE_HOST_EXPORT int16_t FicDeactivateListener (const SFicPlugInSpec* spec, int16_t port)
{
    return engine().portCall ("FicDeactivateListener", spec, port);
}

KESTRUNE_HOST_EXPORT int16_t FicReactivateListener (const SFicPlugInSpec* spec, int16_t port)
{
    return engine().portCall ("FicReactivateListener", spec, port);
}

KESTRUNE_HOST_EXPORT int16_t FicDeactivateTalker (const SFicPlugInSpec* spec, int16_t port)
{
    return engine().portCall ("FicDeactivateTalker", spec, port);
}

KESTRUNE_HOST_EXPORT int16_t FicReactivateTalker (const SFicPlugInSpec* spec, int16_t port)
{
    return engine().portCall ("FicReactivateTalker", spec, port);
}

KESTRUNE_HOST_EXPORT int16_t FicPrepareForConnections (int32_t reserved, int16_t flag)
{
    return engine().prepareForConnections (reserved, flag);
}

KESTRUNE_HOST_EXPORT int16_t FicPrepareForConnectionsStatus (int32_t reserved)
{
    return engine().prepareStatus (reserved);
}

KESTRUNE_HOST_EXPORT int16_t FicRegisterDirectMIDIClient (void* client, void* object, const SFicPlugInSpec* spec,
                                                          void* context)
{
    return engine().registerMidiClient (client, object, spec, context);
}

KESTRUNE_HOST_EXPORT int16_t FicUnRegisterDirectMIDIClient (void* client)
{
    return engine().unregisterMidiClient (client);
}

#ifndef KESTRUNE_DAE_WITHOUT_OPEN_PROCS
KESTRUNE_HOST_EXPORT void SetPlugInOpenAndCloseProcs (PlugInOpenProc open, PlugInCloseProc close)
{
    engine().setOpenAndCloseProcs (open, close);
}
#endif
