// The stand-in engine's object tracker: the record of the plug-in objects that register and
// publish themselves, the blocks it gives their data objects, and the render call through a
// worker's callback.

#include "ObjectTrackerStandIn.h"

#include "../DaeObjectTrackerControl.h"
#include "../StandInExport.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace kestrune::host::rtas
{

namespace
{

    constexpr int32_t kLargestDataBlock = 65536;

    // Reads a description word by word; every read past the end, and every list whose count
    // does not fit what is left, fails.
    class DescriptionReader
    {
    public:
        explicit DescriptionReader (const std::vector<int32_t>& words) : words_ (words) {}

        bool word (int32_t& value)
        {
            if (next_ >= words_.size())
                return false;
            value = words_[next_++];
            return true;
        }

        bool pointer (void*& value)
        {
            int32_t word = 0;
            if (! this->word (word))
                return false;
            value = reinterpret_cast<void*> (uintptr_t (uint32_t (word)));
            return true;
        }

        bool list (std::vector<void*>& elements)
        {
            int32_t count = 0;
            if (! word (count) || count < 0 || size_t (count) > words_.size() - next_)
                return false;
            elements.resize (size_t (count));
            for (auto& element : elements)
                pointer (element);
            return true;
        }

        bool atEnd() const { return next_ == words_.size(); }

    private:
        const std::vector<int32_t>& words_;
        size_t next_ = 0;
    };

    std::optional<TrackedPlugIn> readPlugIn (const std::vector<int32_t>& words)
    {
        DescriptionReader reader (words);
        TrackedPlugIn plugIn;
        int32_t version = 0;
        if (! reader.word (version) || version != kDescriptionVersion)
            return std::nullopt;
        for (auto& word : plugIn.spec)
            if (! reader.word (word))
                return std::nullopt;
        if (! reader.list (plugIn.inputs) || ! reader.list (plugIn.outputs) || ! reader.list (plugIn.workers)
            || ! reader.atEnd())
            return std::nullopt;
        return plugIn;
    }

    std::optional<TrackedWorker> readWorker (const std::vector<int32_t>& words)
    {
        DescriptionReader reader (words);
        TrackedWorker worker;
        int32_t version = 0;
        void* callback = nullptr;
        int32_t lists = 0;
        if (! reader.word (version) || version != kDescriptionVersion || ! reader.pointer (callback)
            || ! reader.word (lists) || lists != kWorkerListCount || ! reader.list (worker.dataObjects))
            return std::nullopt;
        std::vector<void*> ignored;
        for (int32_t list = 1; list < kWorkerListCount; ++list)
            if (! reader.list (ignored))
                return std::nullopt;
        void* userWord = nullptr;
        if (! reader.pointer (userWord) || ! reader.word (worker.state) || ! reader.atEnd())
            return std::nullopt;
        worker.callback = reinterpret_cast<PlugInRenderCallback> (callback);
        worker.userWord = userWord;
        return worker;
    }

    struct DataBlock
    {
        std::unique_ptr<uint8_t[]> bytes;
        int32_t size = 0;
    };

    class ObjectTracker final : public DaeObjectTrackerControl
    {
    public:
        void reset() override
        {
            std::lock_guard guard (lock_);
            objects_.clear();
            order_.clear();
            blocks_.clear();
            offers_ = true;
            script_.reset();
        }

        StandInScript& script() override { return script_; }
        StandInHostCallback hostCallback() override;
        const SObjectTrackerRoutines* routines() override { return &kRoutines; }

        void setOffersTracker (bool offers) override
        {
            std::lock_guard guard (lock_);
            offers_ = offers;
        }

        std::vector<TrackedObject> liveObjects() override
        {
            std::lock_guard guard (lock_);
            std::vector<TrackedObject> all;
            for (void* object : order_)
                all.push_back (objects_.at (object));
            return all;
        }

        std::optional<TrackedObject> object (void* object) override
        {
            std::lock_guard guard (lock_);
            const auto found = objects_.find (object);
            return found == objects_.end() ? std::nullopt : std::optional<TrackedObject> (found->second);
        }

        std::optional<TrackedPlugIn> plugIn (void* object) override
        {
            std::lock_guard guard (lock_);
            const auto found = objects_.find (object);
            if (found == objects_.end() || found->second.kind != int32_t (ETrackedKind::kPlugIn))
                return std::nullopt;
            return readPlugIn (found->second.description);
        }

        std::optional<TrackedWorker> worker (void* object) override
        {
            std::lock_guard guard (lock_);
            return workerLocked (object);
        }

        void* dataBlock (void* dataObject) override
        {
            std::lock_guard guard (lock_);
            const auto found = blocks_.find (dataObject);
            return found == blocks_.end() ? nullptr : found->second.bytes.get();
        }

        int32_t render (void* worker, const std::vector<RenderChannelCell*>& cells, int32_t frameCount,
                        int32_t variableBlockSize) override
        {
            PlugInRenderCallback callback = nullptr;
            void* userData = nullptr;
            {
                std::lock_guard guard (lock_);
                const auto found = workerLocked (worker);
                if (! found || found->callback == nullptr || found->dataObjects.empty())
                    return kFicErrUnknownObject;
                callback = found->callback;
                const auto block = blocks_.find (found->dataObjects.front());
                if (block == blocks_.end())
                    return kFicErrUnknownObject;
                userData = block->second.bytes.get();
            }
            script_.record ("Render", { addressOf (worker), frameCount, variableBlockSize });
            std::vector<uint32_t> instance (sizeof (SRenderInstance) / 4 + cells.size(), 0);
            instance[offsetof (SRenderInstance, fUserData) / 4] = uint32_t (reinterpret_cast<uintptr_t> (userData));
            for (size_t i = 0; i < cells.size(); ++i)
                instance[sizeof (SRenderInstance) / 4 + i] = uint32_t (reinterpret_cast<uintptr_t> (cells[i]));
            SRenderContext context {};
            context.fSilentBuffer = silence_.data();
            context.fFrameCount = frameCount;
            context.fVariableBlockSize = variableBlockSize;
            return callback (instance.data(), &context);
        }

        const float* silentBuffer() override { return silence_.data(); }

        // The engine's side.

        int16_t request (int16_t code, char** block)
        {
            script_.record ("HostCallback", { code });
            if (auto failure = script_.takeFailure ("HostCallback"))
                return int16_t (*failure);
            if (code != kHostRequestObjectTracker)
                return kFicErrUnknownSelector;
            if (block == nullptr)
                return kFicErrBadArgument;
            std::lock_guard guard (lock_);
            const SObjectTrackerRoutines* handed = offers_ ? &kRoutines : nullptr;
            std::memcpy (block, &handed, sizeof handed);
            return 0;
        }

        int32_t registerObject (void* object, int32_t kind)
        {
            script_.record ("Tracker.Register", { addressOf (object), kind });
            if (auto failure = script_.takeFailure ("Tracker.Register"))
                return *failure;
            std::lock_guard guard (lock_);
            if (object == nullptr)
                return kFicErrBadArgument;
            if (objects_.count (object) != 0)
                return kFicErrClientInUse;
            objects_[object] = { object, kind };
            order_.push_back (object);
            return 0;
        }

        int32_t unregisterObject (void* object)
        {
            script_.record ("Tracker.Unregister", { addressOf (object) });
            if (auto failure = script_.takeFailure ("Tracker.Unregister"))
                return *failure;
            std::lock_guard guard (lock_);
            if (objects_.erase (object) == 0)
                return kFicErrUnknownObject;
            std::erase (order_, object);
            blocks_.erase (object);
            return 0;
        }

        int32_t publish (void* object, const int32_t* words, int32_t count)
        {
            script_.record ("Tracker.Publish", { addressOf (object), count });
            if (auto failure = script_.takeFailure ("Tracker.Publish"))
                return *failure;
            if (count < 0 || (count > 0 && words == nullptr))
                return kFicErrBadArgument;
            const std::vector<int32_t> description (words, words + count);
            std::lock_guard guard (lock_);
            const auto found = objects_.find (object);
            if (found == objects_.end())
                return kFicErrUnknownObject;
            TrackedObject& tracked = found->second;
            if (description.size() == 2 && description[0] == kDescriptionVersion)
            {
                tracked.state = description[1];
                ++tracked.publications;
                return 0;
            }
            const int16_t result = accepts (tracked, description);
            if (result != 0)
                return result;
            tracked.description = description;
            ++tracked.publications;
            return 0;
        }

    private:
        static const SObjectTrackerRoutines kRoutines;

        int16_t accepts (const TrackedObject& tracked, const std::vector<int32_t>& description)
        {
            switch (ETrackedKind (tracked.kind))
            {
                case ETrackedKind::kPlugInData: return giveDataBlock (tracked.object, description);
                case ETrackedKind::kPlugIn: return readPlugIn (description) ? 0 : kFicErrBadArgument;
                case ETrackedKind::kPlugInWorker: return readWorker (description) ? 0 : kFicErrBadArgument;
                default: return 0;
            }
        }

        // The data object's block, written through its published-block pointer.
        int16_t giveDataBlock (void* object, const std::vector<int32_t>& description)
        {
            if (description.size() != 4 || description[0] != kDescriptionVersion)
                return kFicErrBadArgument;
            const int32_t size = description[2];
            const auto pointerWord = uint32_t (description[3]);
            if (size < 1 || size > kLargestDataBlock || pointerWord == 0 || pointerWord % 4 != 0)
                return kFicErrBadArgument;
            DataBlock& block = blocks_[object];
            if (block.size != size)
            {
                block.bytes = std::make_unique<uint8_t[]> (size_t (size));
                block.size = size;
            }
            void* address = block.bytes.get();
            std::memcpy (reinterpret_cast<void*> (uintptr_t (pointerWord)), &address, sizeof address);
            return 0;
        }

        std::optional<TrackedWorker> workerLocked (void* object)
        {
            const auto found = objects_.find (object);
            if (found == objects_.end() || found->second.kind != int32_t (ETrackedKind::kPlugInWorker))
                return std::nullopt;
            return readWorker (found->second.description);
        }

        std::mutex lock_;
        StandInScript script_;
        std::map<void*, TrackedObject> objects_;
        std::vector<void*> order_;
        std::map<void*, DataBlock> blocks_;
        bool offers_ = true;
        std::array<float, kSilentBufferFrames> silence_ {};
    };

    ObjectTracker& tracker()
    {
        static ObjectTracker instance;
        return instance;
    }

    int16_t __attribute__ ((stdcall)) engineHostCallback (int16_t request, void*, char** block)
    {
        return tracker().request (request, block);
    }

    StandInHostCallback ObjectTracker::hostCallback()
    {
        return &engineHostCallback;
    }

    int32_t KESTRUNE_TRACKER_CALL trackerRegister (void* object, int32_t kind)
    {
        return tracker().registerObject (object, kind);
    }

    int32_t KESTRUNE_TRACKER_CALL trackerUnregister (void* object)
    {
        return tracker().unregisterObject (object);
    }

    int32_t KESTRUNE_TRACKER_CALL trackerPublish (void* object, const int32_t* words, int32_t count)
    {
        return tracker().publish (object, words, count);
    }

    const SObjectTrackerRoutines ObjectTracker::kRoutines = { &trackerRegister, &trackerUnregister, &trackerPublish };

} // namespace

void resetObjectTrackerStandIn()
{
    tracker().reset();
}

} // namespace kestrune::host::rtas

KESTRUNE_HOST_EXPORT kestrune::host::rtas::DaeObjectTrackerControl* KestruneDaeObjectTracker()
{
    return &kestrune::host::rtas::tracker();
}
