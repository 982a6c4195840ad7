// The stand-in toolbox, HostExt.dll: memory blocks, resource files, strings, time, keys and
// file specs, exported by ordinal only, with the control that the tests use.

#include "HandleHeap.h"
#include "ResourceManager.h"

#include "../HostExtControl.h"
#include "../StandInExport.h"

#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>

KESTRUNE_HOSTEXT_ROUTINES (KESTRUNE_HOSTEXT_DECLARE_EXPORT)

namespace kestrune::host::rtas
{

namespace
{

    constexpr uint64_t kMicrosecondsPerTick = 1000000 / 60;

    std::string textOf (ConstStr255Param text)
    {
        return text == nullptr ? std::string() : std::string (reinterpret_cast<const char*> (text + 1), text[0]);
    }

    void setPascal (StringPtr out, const std::string& text)
    {
        const size_t length = std::min<size_t> (text.size(), 255);
        out[0] = uint8_t (length);
        std::memcpy (out + 1, text.data(), length);
    }

    class HostExtToolbox final : public HostExtControl
    {
    public:
        HostExtToolbox() { resetState(); }

        // Control.

        void reset() override
        {
            std::lock_guard guard (lock_);
            resetState();
            script_.reset();
        }

        StandInScript& script() override { return script_; }

        size_t liveHandles() override
        {
            std::lock_guard guard (lock_);
            return heap_.count();
        }

        bool isLocked (Handle block) override
        {
            std::lock_guard guard (lock_);
            return heap_.isLocked (block).value_or (false);
        }

        void compactMemory() override
        {
            std::lock_guard guard (lock_);
            heap_.moveAllUnlocked();
        }

        std::vector<HostExtResourceFile> openResourceFiles() override
        {
            std::lock_guard guard (lock_);
            return resources_.files();
        }

        void setClock (uint64_t microseconds, uint64_t stepPerRead) override
        {
            std::lock_guard guard (lock_);
            manualClock_ = true;
            manualMicroseconds_ = microseconds;
            clockStep_ = stepPerRead;
        }

        void advanceClock (uint64_t microseconds) override
        {
            std::lock_guard guard (lock_);
            if (manualClock_)
                manualMicroseconds_ += microseconds;
            else
                realOffset_ += microseconds;
        }

        void useRealClock() override
        {
            std::lock_guard guard (lock_);
            manualClock_ = false;
        }

        void setKeyMap (const uint8_t* keyMap) override
        {
            std::lock_guard guard (lock_);
            std::memcpy (keyMap_, keyMap, sizeof keyMap_);
        }

        void setModifiers (uint16_t modifiers) override
        {
            std::lock_guard guard (lock_);
            modifiers_ = modifiers;
        }

        // Memory blocks.

        Handle newHandle (const char* role, int32_t size, bool clear)
        {
            script_.record (role, { size });
            std::lock_guard guard (lock_);
            if (auto failure = script_.takeFailure (role))
            {
                memError_ = OSErr (*failure);
                return nullptr;
            }
            Handle block = heap_.allocate (size, clear);
            memError_ = block != nullptr ? noErr : paramErr;
            return block;
        }

        void disposeHandle (Handle block)
        {
            script_.record ("DisposeHandle", { addressOf (block) });
            std::lock_guard guard (lock_);
            if (resources_.isResource (block))
            {
                resources_.release (block);
                memError_ = noErr;
                return;
            }
            memError_ = heap_.dispose (block) ? noErr : nilHandleErr;
        }

        int32_t handleSize (Handle block)
        {
            script_.record ("GetHandleSize", { addressOf (block) });
            std::lock_guard guard (lock_);
            const auto size = heap_.size (block);
            memError_ = size ? noErr : nilHandleErr;
            return size.value_or (0);
        }

        void setHandleSize (Handle block, int32_t size)
        {
            script_.record ("SetHandleSize", { addressOf (block), size });
            std::lock_guard guard (lock_);
            if (auto failure = script_.takeFailure ("SetHandleSize"))
            {
                memError_ = OSErr (*failure);
                return;
            }
            memError_ = heap_.resize (block, size);
        }

        void setLocked (const char* role, Handle block, bool locked)
        {
            script_.record (role, { addressOf (block) });
            std::lock_guard guard (lock_);
            memError_ = heap_.setLocked (block, locked) ? noErr : nilHandleErr;
        }

        void moveHigh (Handle block)
        {
            script_.record ("MoveHHi", { addressOf (block) });
            std::lock_guard guard (lock_);
            memError_ = heap_.move (block);
        }

        OSErr memError()
        {
            script_.record ("MemError");
            std::lock_guard guard (lock_);
            return memError_;
        }

        Ptr handleData (Handle block)
        {
            script_.record ("HandleData", { addressOf (block) });
            std::lock_guard guard (lock_);
            if (! heap_.contains (block))
            {
                memError_ = nilHandleErr;
                return nullptr;
            }
            memError_ = noErr;
            return *block;
        }

        // Resource files and resources.

        int16_t openResFile (const char* role, const std::string& path, ResourceSwapProc swap, bool bySpec)
        {
            std::lock_guard guard (lock_);
            if (auto failure = script_.takeFailure (role))
            {
                resources_.setError (OSErr (*failure));
                return -1;
            }
            return bySpec ? resources_.openBySpec (path) : resources_.openByPath (path, swap);
        }

        template <typename Operation>
        auto withResources (Operation operation)
        {
            std::lock_guard guard (lock_);
            return operation (resources_);
        }

        Handle getResource (const char* role, std::vector<int64_t> arguments, const std::string& text,
                            const std::function<Handle (ResourceManager&)>& find)
        {
            script_.record (role, std::move (arguments), text);
            std::lock_guard guard (lock_);
            if (auto failure = script_.takeFailure (role))
            {
                resources_.setError (OSErr (*failure));
                return nullptr;
            }
            return find (resources_);
        }

        // Time, keys and events.

        uint64_t microseconds()
        {
            std::lock_guard guard (lock_);
            return readClock();
        }

        uint32_t ticks()
        {
            script_.record ("TickCount");
            if (auto scripted = script_.takeResult ("TickCount"))
                return uint32_t (*scripted);
            std::lock_guard guard (lock_);
            return uint32_t (readClock() / kMicrosecondsPerTick);
        }

        void keys (uint8_t* keyMap)
        {
            script_.record ("GetKeys", { addressOf (keyMap) });
            std::lock_guard guard (lock_);
            if (keyMap != nullptr)
                std::memcpy (keyMap, keyMap_, sizeof keyMap_);
        }

        uint16_t modifiers()
        {
            script_.record ("GetCurrentKeyModifiers");
            std::lock_guard guard (lock_);
            return modifiers_;
        }

        uint8_t eventAvail (uint16_t mask, EventRecord* event)
        {
            script_.record ("EventAvail", { mask, addressOf (event) });
            std::lock_guard guard (lock_);
            if (event != nullptr)
            {
                *event = EventRecord {};
                event->when = uint32_t (readClock() / kMicrosecondsPerTick);
                event->modifiers = modifiers_;
            }
            return 0;
        }

    private:
        void resetState()
        {
            resources_.clear();
            heap_.clear();
            memError_ = noErr;
            manualClock_ = false;
            manualMicroseconds_ = 0;
            clockStep_ = 0;
            realStart_ = std::chrono::steady_clock::now();
            realOffset_ = 0;
            std::memset (keyMap_, 0, sizeof keyMap_);
            modifiers_ = 0;
        }

        uint64_t readClock()
        {
            if (! manualClock_)
                return uint64_t (std::chrono::duration_cast<std::chrono::microseconds> (std::chrono::steady_clock::now() - realStart_).count())
                       + realOffset_;
            const uint64_t now = manualMicroseconds_;
            manualMicroseconds_ += clockStep_;
            return now;
        }

        // Recursive: a swap routine may call back into the toolbox while a resource loads.
        std::recursive_mutex lock_;
        StandInScript script_;
        HandleHeap heap_;
        ResourceManager resources_ { heap_ };
        OSErr memError_ = noErr;
        bool manualClock_ = false;
        uint64_t manualMicroseconds_ = 0;
        uint64_t clockStep_ = 0;
        std::chrono::steady_clock::time_point realStart_;
        uint64_t realOffset_ = 0;
        uint8_t keyMap_[16] = {};
        uint16_t modifiers_ = 0;
    };

    HostExtToolbox& toolbox()
    {
        static HostExtToolbox instance;
        return instance;
    }

} // namespace

} // namespace kestrune::host::rtas

using kestrune::host::rtas::addressOf;
using kestrune::host::rtas::ResourceManager;
using kestrune::host::rtas::toolbox;

KESTRUNE_HOST_EXPORT kestrune::host::rtas::HostExtControl* KestruneHostExtStandIn()
{
    return &toolbox();
}

// Memory blocks.

Handle HostExt_NewHandle (int32_t size)
{
    return toolbox().newHandle ("NewHandle", size, false);
}

Handle HostExt_NewHandleClear (int32_t size)
{
    return toolbox().newHandle ("NewHandleClear", size, true);
}

void HostExt_DisposeHandle (Handle block)
{
    toolbox().disposeHandle (block);
}

int32_t HostExt_GetHandleSize (Handle block)
{
    return toolbox().handleSize (block);
}

void HostExt_SetHandleSize (Handle block, int32_t size)
{
    toolbox().setHandleSize (block, size);
}

void HostExt_HLock (Handle block)
{
    toolbox().setLocked ("HLock", block, true);
}

void HostExt_HUnlock (Handle block)
{
    toolbox().setLocked ("HUnlock", block, false);
}

void HostExt_MoveHHi (Handle block)
{
    toolbox().moveHigh (block);
}

OSErr HostExt_MemError()
{
    return toolbox().memError();
}

Ptr HostExt_HandleData (Handle block)
{
    return toolbox().handleData (block);
}

// Resource files and resources.

int16_t HostExt_OpenResFileWithSwap (const char* path, ResourceSwapProc swap)
{
    toolbox().script().record ("OpenResFileWithSwap", { addressOf (reinterpret_cast<void*> (swap)) }, path == nullptr ? "" : path);
    if (path == nullptr)
        return -1;
    return toolbox().openResFile ("OpenResFileWithSwap", path, swap, false);
}

void HostExt_CloseResFileByPath (const char* path)
{
    toolbox().script().record ("CloseResFileByPath", {}, path == nullptr ? "" : path);
    toolbox().withResources ([&] (ResourceManager& resources) {
        if (path == nullptr)
            resources.setError (resFNotFound);
        else
            resources.closeByPath (path);
        return 0;
    });
}

int16_t HostExt_FSpOpenResFile (const FSSpec* spec, int8_t permission)
{
    const std::string path = spec == nullptr ? "" : std::string (spec->path, strnlen (spec->path, sizeof spec->path));
    toolbox().script().record ("FSpOpenResFile", { permission }, path);
    if (spec == nullptr)
        return -1;
    return toolbox().openResFile ("FSpOpenResFile", path, nullptr, true);
}

void HostExt_CloseResFile (int16_t file)
{
    toolbox().script().record ("CloseResFile", { file });
    toolbox().withResources ([&] (ResourceManager& resources) {
        resources.close (file);
        return 0;
    });
}

int16_t HostExt_CurResFile()
{
    toolbox().script().record ("CurResFile");
    return toolbox().withResources ([] (ResourceManager& resources) { return resources.current(); });
}

void HostExt_UseResFile (int16_t file)
{
    toolbox().script().record ("UseResFile", { file });
    toolbox().withResources ([&] (ResourceManager& resources) {
        resources.use (file);
        return 0;
    });
}

Handle HostExt_GetResource (ResType type, int16_t id)
{
    return toolbox().getResource ("GetResource", { type, id }, "", [&] (ResourceManager& r) { return r.get (type, id); });
}

Handle HostExt_GetNamedResource (ResType type, ConstStr255Param name)
{
    const std::string text = kestrune::host::rtas::textOf (name);
    return toolbox().getResource ("GetNamedResource", { type }, text, [&] (ResourceManager& r) { return r.getNamed (type, text); });
}

int16_t HostExt_CountResources (ResType type)
{
    toolbox().script().record ("CountResources", { type });
    return toolbox().withResources ([&] (ResourceManager& resources) { return resources.count (type); });
}

Handle HostExt_GetIndResource (ResType type, int16_t index)
{
    return toolbox().getResource ("GetIndResource", { type, index }, "", [&] (ResourceManager& r) { return r.getIndexed (type, index); });
}

void HostExt_GetResInfo (Handle resource, int16_t* id, ResType* type, StringPtr name)
{
    toolbox().script().record ("GetResInfo", { addressOf (resource) });
    toolbox().withResources ([&] (ResourceManager& resources) { return resources.info (resource, id, type, name); });
}

void HostExt_LoadResource (Handle resource)
{
    toolbox().script().record ("LoadResource", { addressOf (resource) });
    toolbox().withResources ([&] (ResourceManager& resources) {
        resources.load (resource);
        return 0;
    });
}

void HostExt_ReleaseResource (Handle resource)
{
    toolbox().script().record ("ReleaseResource", { addressOf (resource) });
    toolbox().withResources ([&] (ResourceManager& resources) {
        resources.release (resource);
        return 0;
    });
}

OSErr HostExt_ResError()
{
    toolbox().script().record ("ResError");
    return toolbox().withResources ([] (ResourceManager& resources) { return resources.error(); });
}

void HostExt_ClearResError()
{
    toolbox().script().record ("ClearResError");
    toolbox().withResources ([] (ResourceManager& resources) {
        resources.setError (noErr);
        return 0;
    });
}

void HostExt_GetIndString (StringPtr text, int16_t listId, int16_t index)
{
    toolbox().script().record ("GetIndString", { addressOf (text), listId, index });
    toolbox().withResources ([&] (ResourceManager& resources) {
        resources.indexedString (text, listId, index);
        return 0;
    });
}

// Strings.

StringPtr HostExt_CStrToPStrInPlace (char* text)
{
    toolbox().script().record ("CStrToPStrInPlace", { addressOf (text) }, text == nullptr ? "" : text);
    if (text == nullptr)
        return nullptr;
    // A longer text is cut to the 255 characters that a length byte can count.
    const size_t length = std::min<size_t> (std::strlen (text), 255);
    std::memmove (text + 1, text, length);
    text[0] = char (uint8_t (length));
    return reinterpret_cast<StringPtr> (text);
}

void HostExt_NumToString (int32_t number, StringPtr text)
{
    toolbox().script().record ("NumToString", { number, addressOf (text) });
    if (text != nullptr)
        kestrune::host::rtas::setPascal (text, std::to_string (number));
}

void HostExt_StringToNum (ConstStr255Param text, int32_t* number)
{
    const std::string digits = kestrune::host::rtas::textOf (text);
    toolbox().script().record ("StringToNum", { addressOf (number) }, digits);
    if (number == nullptr)
        return;
    // An optional sign, then digits up to the first other character; saturates at the limits.
    size_t at = 0;
    const bool negative = ! digits.empty() && digits[0] == '-';
    if (! digits.empty() && (digits[0] == '-' || digits[0] == '+'))
        at = 1;
    int64_t value = 0;
    for (; at < digits.size() && digits[at] >= '0' && digits[at] <= '9'; ++at)
        value = std::min<int64_t> (value * 10 + (digits[at] - '0'), int64_t (INT32_MAX) + 1);
    value = negative ? -value : std::min<int64_t> (value, INT32_MAX);
    *number = int32_t (value);
}

// Events and time.

uint32_t HostExt_TickCount()
{
    return toolbox().ticks();
}

void HostExt_Microseconds (uint64_t* microseconds)
{
    toolbox().script().record ("Microseconds", { addressOf (microseconds) });
    if (microseconds != nullptr)
        *microseconds = toolbox().microseconds();
}

void HostExt_GetKeys (uint8_t* keyMap)
{
    toolbox().keys (keyMap);
}

uint16_t HostExt_GetCurrentKeyModifiers()
{
    return toolbox().modifiers();
}

uint8_t HostExt_EventAvail (uint16_t eventMask, EventRecord* event)
{
    return toolbox().eventAvail (eventMask, event);
}

// Files.

OSErr HostExt_FSMakeFSSpecFromPath (ConstStr255Param path, FSSpec* spec)
{
    const std::string text = kestrune::host::rtas::textOf (path);
    toolbox().script().record ("FSMakeFSSpecFromPath", { addressOf (spec) }, text);
    if (auto failure = toolbox().script().takeFailure ("FSMakeFSSpecFromPath"))
        return OSErr (*failure);
    if (path == nullptr || spec == nullptr || text.size() >= sizeof spec->path)
        return paramErr;
    std::memset (spec->path, 0, sizeof spec->path);
    std::memcpy (spec->path, text.data(), text.size());
    std::error_code error;
    return std::filesystem::exists (text, error) ? noErr : fnfErr;
}
