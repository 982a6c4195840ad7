// The stand-in toolbox's state and control, and its routines for memory blocks, resource files,
// strings, time, keys, the mouse and file specs.

#include "HostExtToolbox.h"

#include <charconv>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>

namespace kestrune::host::rtas
{

namespace
{

    constexpr uint64_t kMicrosecondsPerTick = 1000000 / 60;
    constexpr Box kMainScreen { 0, 0, 1024, 768 };

} // namespace

HostExtToolbox::HostExtToolbox()
{
    resetState();
}

// Control.

void HostExtToolbox::reset()
{
    std::lock_guard guard (lock_);
    resetState();
    script_.reset();
}

size_t HostExtToolbox::liveHandles()
{
    std::lock_guard guard (lock_);
    return heap_.count();
}

bool HostExtToolbox::isLocked (Handle block)
{
    std::lock_guard guard (lock_);
    return heap_.isLocked (block).value_or (false);
}

void HostExtToolbox::compactMemory()
{
    std::lock_guard guard (lock_);
    heap_.moveAllUnlocked();
}

std::vector<HostExtResourceFile> HostExtToolbox::openResourceFiles()
{
    std::lock_guard guard (lock_);
    return resources_.files();
}

void HostExtToolbox::setClock (uint64_t microseconds, uint64_t stepPerRead)
{
    std::lock_guard guard (lock_);
    manualClock_ = true;
    manualMicroseconds_ = microseconds;
    clockStep_ = stepPerRead;
}

void HostExtToolbox::advanceClock (uint64_t microseconds)
{
    std::lock_guard guard (lock_);
    if (manualClock_)
        manualMicroseconds_ += microseconds;
    else
        realOffset_ += microseconds;
}

void HostExtToolbox::useRealClock()
{
    std::lock_guard guard (lock_);
    manualClock_ = false;
}

void HostExtToolbox::setKeyMap (const uint8_t* keyMap)
{
    std::lock_guard guard (lock_);
    std::memcpy (keyMap_, keyMap, sizeof keyMap_);
}

void HostExtToolbox::setModifiers (uint16_t modifiers)
{
    std::lock_guard guard (lock_);
    modifiers_ = modifiers;
}

WindowRef HostExtToolbox::newWindow (const Rect& globalBounds)
{
    std::lock_guard guard (lock_);
    return graphics_.newWindow (boxOf (globalBounds));
}

void HostExtToolbox::disposeWindow (WindowRef window)
{
    std::lock_guard guard (lock_);
    closeWindow (window);
}

void HostExtToolbox::closeWindow (WindowRef window)
{
    controls_.disposeAllOf (window);
    graphics_.disposeWindow (window);
}

std::vector<uint32_t> HostExtToolbox::windowPixels (WindowRef window)
{
    std::lock_guard guard (lock_);
    const Port* port = graphics_.port (window);
    return port != nullptr ? port->pixels : std::vector<uint32_t>();
}

uint32_t HostExtToolbox::pixel (WindowRef window, int32_t x, int32_t y)
{
    std::lock_guard guard (lock_);
    const Port* port = graphics_.port (window);
    return port != nullptr ? port->pixel (x, y) : 0;
}

std::vector<Rect> HostExtToolbox::updateRegion (WindowRef window)
{
    std::lock_guard guard (lock_);
    std::vector<Rect> rects;
    if (const Port* port = graphics_.port (window))
        for (const Box& box : port->update.boxes())
            rects.push_back (rectOf (box));
    return rects;
}

void HostExtToolbox::validateWindow (WindowRef window)
{
    std::lock_guard guard (lock_);
    if (Port* port = graphics_.port (window))
        port->update = Region();
}

HostExtPortState HostExtToolbox::portState (GrafPtr grafPort)
{
    std::lock_guard guard (lock_);
    HostExtPortState state {};
    const Port* port = graphics_.port (grafPort);
    if (port == nullptr)
        return state;
    state.origin = { int16_t (port->originV), int16_t (port->originH) };
    for (const Box& box : port->clip.boxes())
        state.clip.push_back (rectOf (box));
    state.fore = port->fore;
    state.back = port->back;
    state.pen = port->pen;
    state.textFont = port->textFont;
    state.textSize = port->textSize;
    state.textFace = port->textFace;
    state.textMode = port->textMode;
    state.backPattern = port->backPattern;
    return state;
}

WindowRef HostExtToolbox::lastPopUpWindow()
{
    std::lock_guard guard (lock_);
    return menus_.lastPopUpWindow();
}

HostExtObjectCounts HostExtToolbox::objectCounts()
{
    std::lock_guard guard (lock_);
    return { graphics_.windowCount(), graphics_.regionCount(), graphics_.patternCount(), controls_.count(),
             textEdit_.count(), menus_.menuCount(), menus_.definitionCount() };
}

void HostExtToolbox::setMouseScript (const std::vector<HostExtMouseSample>& samples)
{
    std::lock_guard guard (lock_);
    mouse_.set (samples);
}

size_t HostExtToolbox::pendingMouseSamples()
{
    std::lock_guard guard (lock_);
    return mouse_.pending();
}

void HostExtToolbox::setScreens (const std::vector<Rect>& screens)
{
    std::lock_guard guard (lock_);
    screens_.clear();
    for (const Rect& screen : screens)
        screens_.push_back (boxOf (screen));
}

void HostExtToolbox::setClipboardText (const std::optional<std::string>& text)
{
    std::lock_guard guard (lock_);
    clipboard_ = text;
}

void HostExtToolbox::resetState()
{
    // Objects that live in the heap go with it.
    controls_.clear();
    textEdit_.clear();
    menus_.clear();
    graphics_.clear();
    resources_.clear();
    heap_.clear();
    mouse_.clear();
    screens_ = { kMainScreen };
    clipboard_.reset();
    memError_ = noErr;
    manualClock_ = false;
    manualMicroseconds_ = 0;
    clockStep_ = 0;
    realStart_ = std::chrono::steady_clock::now();
    realOffset_ = 0;
    std::memset (keyMap_, 0, sizeof keyMap_);
    modifiers_ = 0;
}

bool HostExtToolbox::failsNow (const char* role)
{
    if (auto failure = script_.takeFailure (role))
    {
        memError_ = OSErr (*failure);
        return true;
    }
    memError_ = noErr;
    return false;
}

// Memory blocks.

Handle HostExtToolbox::newHandle (const char* role, int32_t size, bool clear)
{
    script_.record (role, { size });
    std::lock_guard guard (lock_);
    if (failsNow (role))
        return nullptr;
    Handle block = heap_.allocate (size, clear);
    memError_ = block != nullptr ? noErr : paramErr;
    return block;
}

void HostExtToolbox::disposeHandle (Handle block)
{
    script_.record ("DisposeHandle", { addressOf (block) });
    std::lock_guard guard (lock_);
    if (resources_.isResource (block))
    {
        resources_.release (block);
        memError_ = noErr;
        return;
    }
    // A control, text-edit record or menu goes through its own disposal.
    if (controls_.owns (block) || textEdit_.owns (block) || menus_.owns (block))
    {
        memError_ = paramErr;
        return;
    }
    memError_ = heap_.dispose (block) ? noErr : nilHandleErr;
}

int32_t HostExtToolbox::handleSize (Handle block)
{
    script_.record ("GetHandleSize", { addressOf (block) });
    std::lock_guard guard (lock_);
    const auto size = heap_.size (block);
    memError_ = size ? noErr : nilHandleErr;
    return size.value_or (0);
}

void HostExtToolbox::setHandleSize (Handle block, int32_t size)
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

void HostExtToolbox::setLocked (const char* role, Handle block, bool locked)
{
    script_.record (role, { addressOf (block) });
    std::lock_guard guard (lock_);
    memError_ = heap_.setLocked (block, locked) ? noErr : nilHandleErr;
}

void HostExtToolbox::moveHigh (Handle block)
{
    script_.record ("MoveHHi", { addressOf (block) });
    std::lock_guard guard (lock_);
    memError_ = heap_.move (block);
}

OSErr HostExtToolbox::takeMemError()
{
    script_.record ("MemError");
    std::lock_guard guard (lock_);
    return memError_;
}

Ptr HostExtToolbox::handleData (Handle block)
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

int16_t HostExtToolbox::openResFile (const char* role, const std::string& path, ResourceSwapProc swap, bool bySpec)
{
    std::lock_guard guard (lock_);
    if (auto failure = script_.takeFailure (role))
    {
        resources_.setError (OSErr (*failure));
        return -1;
    }
    return bySpec ? resources_.openBySpec (path) : resources_.openByPath (path, swap);
}

Handle HostExtToolbox::getResource (const char* role, std::vector<int64_t> arguments, const std::string& text,
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

std::optional<std::vector<uint8_t>> HostExtToolbox::resourceBytes (ResType type, int16_t id)
{
    std::lock_guard guard (lock_);
    const bool loadedBefore = resources_.isLoaded (type, id);
    Handle block = resources_.get (type, id);
    if (block == nullptr)
        return std::nullopt;
    const auto* data = reinterpret_cast<const uint8_t*> (*block);
    std::vector<uint8_t> bytes (data, data + *heap_.size (block));
    if (! loadedBefore)
        resources_.release (block);
    return bytes;
}

// Time, keys and events.

uint64_t HostExtToolbox::microseconds()
{
    std::lock_guard guard (lock_);
    return readClock();
}

uint32_t HostExtToolbox::clockTicks()
{
    std::lock_guard guard (lock_);
    return uint32_t (readClock() / kMicrosecondsPerTick);
}

uint32_t HostExtToolbox::ticks()
{
    script_.record ("TickCount");
    if (auto scripted = script_.takeResult ("TickCount"))
        return uint32_t (*scripted);
    return clockTicks();
}

void HostExtToolbox::keys (uint8_t* keyMap)
{
    script_.record ("GetKeys", { addressOf (keyMap) });
    std::lock_guard guard (lock_);
    if (keyMap != nullptr)
        std::memcpy (keyMap, keyMap_, sizeof keyMap_);
}

uint16_t HostExtToolbox::modifiers()
{
    script_.record ("GetCurrentKeyModifiers");
    std::lock_guard guard (lock_);
    return modifiers_;
}

uint8_t HostExtToolbox::eventAvail (uint16_t mask, EventRecord* event)
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

uint64_t HostExtToolbox::readClock()
{
    if (! manualClock_)
        return uint64_t (std::chrono::duration_cast<std::chrono::microseconds> (std::chrono::steady_clock::now() - realStart_).count())
               + realOffset_;
    const uint64_t now = manualMicroseconds_;
    manualMicroseconds_ += clockStep_;
    return now;
}

HostExtToolbox& toolbox()
{
    static HostExtToolbox instance;
    return instance;
}

} // namespace kestrune::host::rtas

using kestrune::host::rtas::addressOf;
using kestrune::host::rtas::ResourceManager;
using kestrune::host::rtas::toolbox;
using kestrune::host::rtas::withToolbox;

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
    return toolbox().takeMemError();
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

Handle HostExt_Get1Resource (ResType type, int16_t id)
{
    return toolbox().getResource ("Get1Resource", { type, id }, "", [&] (ResourceManager& r) { return r.getFromCurrent (type, id); });
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

uint8_t HostExt_StringToReal (ConstStr255Param text, double* value)
{
    const std::string characters = kestrune::host::rtas::textOf (text);
    toolbox().script().record ("StringToReal", { addressOf (value) }, characters);
    if (value == nullptr)
        return 0;
    *value = 0.0;
    // An optional sign, then what from_chars reads as a fixed or scientific number (no words such
    // as "inf" or "nan", no hexadecimal).
    size_t at = 0;
    const bool negative = ! characters.empty() && characters[0] == '-';
    if (! characters.empty() && (characters[0] == '-' || characters[0] == '+'))
        at = 1;
    const bool startsNumber = at < characters.size() && ((characters[at] >= '0' && characters[at] <= '9') || characters[at] == '.');
    double read = 0.0;
    if (! startsNumber
        || std::from_chars (characters.data() + at, characters.data() + characters.size(), read, std::chars_format::general).ec != std::errc())
        return 0;
    *value = negative ? -read : read;
    return 1;
}

int16_t HostExt_StringWidth (ConstStr255Param text)
{
    const std::string characters = kestrune::host::rtas::textOf (text);
    toolbox().script().record ("StringWidth", {}, characters);
    return withToolbox ([&] (auto& t) { return int16_t (t.graphics().currentFont().width (characters.size())); });
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

uint8_t HostExt_StillDown()
{
    toolbox().script().record ("StillDown");
    return withToolbox ([] (auto& t) { return uint8_t (t.mouse().stillDown() ? 1 : 0); });
}

void HostExt_GetMouse (Point* where)
{
    toolbox().script().record ("GetMouse", { addressOf (where) });
    if (where != nullptr)
        *where = withToolbox ([] (auto& t) { return t.graphics().globalToLocal (t.mouse().where()); });
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
