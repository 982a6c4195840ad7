#pragma once
// The stand-in toolbox, HostExt.dll: one object holding every part of the toolbox under one
// lock, the control that the tests use, and the helpers that the exported routines share.

#include "Controls.h"
#include "Graphics.h"
#include "HandleHeap.h"
#include "Menus.h"
#include "MouseScript.h"
#include "PascalText.h"
#include "ResourceManager.h"
#include "TextEdit.h"

#include "../HostExtControl.h"
#include "../StandInExport.h"

#include <chrono>
#include <mutex>
#include <optional>
#include <string>

KESTRUNE_HOSTEXT_ROUTINES (KESTRUNE_HOSTEXT_DECLARE_EXPORT)

namespace kestrune::host::rtas
{

class HostExtToolbox final : public HostExtControl
{
public:
    HostExtToolbox();

    // Control.
    void reset() override;
    StandInScript& script() override { return script_; }
    size_t liveHandles() override;
    bool isLocked (Handle block) override;
    void compactMemory() override;
    std::vector<HostExtResourceFile> openResourceFiles() override;
    void setClock (uint64_t microseconds, uint64_t stepPerRead) override;
    void advanceClock (uint64_t microseconds) override;
    void useRealClock() override;
    void setKeyMap (const uint8_t* keyMap) override;
    void setModifiers (uint16_t modifiers) override;
    WindowRef newWindow (const Rect& globalBounds) override;
    void disposeWindow (WindowRef window) override;
    void setNativeWindow (WindowRef window, uint32_t nativeWindow) override;
    std::vector<uint32_t> windowPixels (WindowRef window) override;
    uint32_t pixel (WindowRef window, int32_t x, int32_t y) override;
    std::vector<Rect> updateRegion (WindowRef window) override;
    void validateWindow (WindowRef window) override;
    HostExtPortState portState (GrafPtr port) override;
    WindowRef lastPopUpWindow() override;
    HostExtObjectCounts objectCounts() override;
    void setMouseScript (const std::vector<HostExtMouseSample>& samples) override;
    size_t pendingMouseSamples() override;
    void setScreens (const std::vector<Rect>& screens) override;
    void setClipboardText (const std::optional<std::string>& text) override;

    // The routines hold this lock while they use the parts below. Recursive: a swap routine, a
    // menu definition or a control's action procedure calls back into the toolbox.
    std::recursive_mutex& mutex() { return lock_; }
    HandleHeap& heap() { return heap_; }
    ResourceManager& resources() { return resources_; }
    Graphics& graphics() { return graphics_; }
    Controls& controls() { return controls_; }
    TextEdit& textEdit() { return textEdit_; }
    Menus& menus() { return menus_; }
    MouseScript& mouse() { return mouse_; }
    const std::vector<Box>& screens() const { return screens_; }
    const std::optional<std::string>& clipboard() const { return clipboard_; }

    // Memory blocks.
    Handle newHandle (const char* role, int32_t size, bool clear);
    void disposeHandle (Handle block);
    int32_t handleSize (Handle block);
    void setHandleSize (Handle block, int32_t size);
    void setLocked (const char* role, Handle block, bool locked);
    void moveHigh (Handle block);
    OSErr takeMemError();
    Ptr handleData (Handle block);

    // Resources.
    template <typename Operation>
    auto withResources (Operation operation)
    {
        std::lock_guard guard (lock_);
        return operation (resources_);
    }
    int16_t openResFile (const char* role, const std::string& path, ResourceSwapProc swap, bool bySpec);
    Handle getResource (const char* role, std::vector<int64_t> arguments, const std::string& text,
                        const std::function<Handle (ResourceManager&)>& find);
    // The bytes of a resource as a caller would see them loaded; the resource is released again
    // unless it was loaded before.
    std::optional<std::vector<uint8_t>> resourceBytes (ResType type, int16_t id);

    // Time, keys and events.
    uint64_t microseconds();
    uint32_t ticks();
    uint32_t clockTicks();
    void keys (uint8_t* keyMap);
    uint16_t modifiers();
    uint8_t eventAvail (uint16_t mask, EventRecord* event);

    // Whether a routine that creates an object is to fail now: sets the memory error then.
    bool failsNow (const char* role);

private:
    void resetState();
    // Disposes of a window and the controls in it.
    void closeWindow (WindowRef window);
    uint64_t readClock();

    std::recursive_mutex lock_;
    StandInScript script_;
    HandleHeap heap_;
    ResourceManager resources_ { heap_ };
    Graphics graphics_ { script_ };
    MouseScript mouse_;
    Controls controls_ { heap_, graphics_, mouse_ };
    TextEdit textEdit_ { heap_, graphics_, mouse_, [this] { return clockTicks(); } };
    std::vector<Box> screens_;
    Menus menus_ { heap_, graphics_, mouse_, screens_, [this] (WindowRef window) { closeWindow (window); } };
    std::optional<std::string> clipboard_;
    OSErr memError_ = noErr;
    bool manualClock_ = false;
    uint64_t manualMicroseconds_ = 0;
    uint64_t clockStep_ = 0;
    std::chrono::steady_clock::time_point realStart_;
    uint64_t realOffset_ = 0;
    uint8_t keyMap_[16] = {};
    uint16_t modifiers_ = 0;
};

HostExtToolbox& toolbox();

// Runs an operation on the toolbox under its lock.
template <typename Operation>
auto withToolbox (Operation operation)
{
    std::lock_guard guard (toolbox().mutex());
    return operation (toolbox());
}

// Records a routine's call, then runs it on the toolbox under its lock.
template <typename Operation>
auto recordedCall (const char* role, std::vector<int64_t> arguments, Operation operation, std::string text = {})
{
    toolbox().script().record (role, std::move (arguments), std::move (text));
    return withToolbox (operation);
}

inline std::vector<int64_t> argumentsOf (const Rect* rect)
{
    if (rect == nullptr)
        return { 0 };
    return { rect->top, rect->left, rect->bottom, rect->right };
}

} // namespace kestrune::host::rtas
