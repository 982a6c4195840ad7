// The shell services of the card library: the services that a loaded shell offers the host, kept
// per DSP in its shell state (DsiControl.h).

#include "CardLibrary.h"
#include "StandInExport.h"

#include <algorithm>
#include <cstring>

using namespace kestrune::host::rtas;

namespace
{

constexpr int16_t kCodeNameSelector = 1;
constexpr size_t kMaxCodeName = 255;

// Records the service, answers an injected failure, refuses an unknown DSP, and otherwise runs
// `serve` on the DSP's slot under the library's lock.
template <typename Serve>
int16_t shellService (const char* name, DSIDSPRecord* dsp, std::vector<int64_t> arguments, Serve serve)
{
    arguments.insert (arguments.begin(), addressOf (dsp));
    library().script().record (name, std::move (arguments));
    if (auto failure = library().script().takeFailure (name))
        return int16_t (*failure);
    std::lock_guard guard (library().lock());
    DSPSlot* slot = library().slotOf (dsp);
    return slot != nullptr ? int16_t (serve (*slot)) : int16_t (kDsiBadArgument);
}

int16_t getWord (const char* name, DSIDSPRecord* dsp, MemorySpace space, int32_t address, int32_t* word)
{
    return shellService (name, dsp, { address }, [&] (DSPSlot& slot) {
        if (word == nullptr)
            return kDsiBadArgument;
        const auto& memory = slot.memory[size_t (space)];
        const auto found = memory.find (address);
        *word = found != memory.end() ? found->second : 0;
        return 0;
    });
}

int16_t changeBits (const char* name, DSIDSPRecord* dsp, MemorySpace space, int32_t address, int32_t clearBits, int32_t setBits)
{
    return shellService (name, dsp, { address, clearBits, setBits }, [&] (DSPSlot& slot) {
        int32_t& word = slot.memory[size_t (space)][address];
        word = (word & ~clearBits) | setBits;
        return 0;
    });
}

template <typename Change>
int16_t changeShell (const char* name, DSIDSPRecord* dsp, std::vector<int64_t> arguments, Change change)
{
    return shellService (name, dsp, std::move (arguments), [&] (DSPSlot& slot) {
        change (slot.shell);
        return 0;
    });
}

} // namespace

// Every service is exported under the name the library's table gives it.
#define KESTRUNE_DSI_DECLARE_SERVICE(selector, role, params, args) \
    KESTRUNE_HOST_EXPORT int16_t S##role (DSIDSPRecord* dsp KESTRUNE_DSI_AFTER_DSP params);
KESTRUNE_DSI_SHELL_SERVICES (KESTRUNE_DSI_DECLARE_SERVICE)
#undef KESTRUNE_DSI_DECLARE_SERVICE

int16_t SGetXWord (DSIDSPRecord* dsp, int32_t address, int32_t* word)
{
    return getWord ("SGetXWord", dsp, MemorySpace::X, address, word);
}

int16_t SGetYWord (DSIDSPRecord* dsp, int32_t address, int32_t* word)
{
    return getWord ("SGetYWord", dsp, MemorySpace::Y, address, word);
}

int16_t SGetPWord (DSIDSPRecord* dsp, int32_t address, int32_t* word)
{
    return getWord ("SGetPWord", dsp, MemorySpace::P, address, word);
}

int16_t SChangeXBits (DSIDSPRecord* dsp, int32_t address, int32_t clearBits, int32_t setBits)
{
    return changeBits ("SChangeXBits", dsp, MemorySpace::X, address, clearBits, setBits);
}

int16_t SChangeYBits (DSIDSPRecord* dsp, int32_t address, int32_t clearBits, int32_t setBits)
{
    return changeBits ("SChangeYBits", dsp, MemorySpace::Y, address, clearBits, setBits);
}

int16_t SChangePBits (DSIDSPRecord* dsp, int32_t address, int32_t clearBits, int32_t setBits)
{
    return changeBits ("SChangePBits", dsp, MemorySpace::P, address, clearBits, setBits);
}

int16_t SExecute (DSIDSPRecord* dsp, int16_t routine)
{
    return changeShell ("SExecute", dsp, { routine }, [&] (ShellState& shell) { shell.executed.push_back (routine); });
}

int16_t SSetLeftRightBit (DSIDSPRecord* dsp, int32_t value)
{
    return changeShell ("SSetLeftRightBit", dsp, { value }, [&] (ShellState& shell) { shell.leftRightBit = value; });
}

int16_t SGetControlLatch (DSIDSPRecord* dsp, int32_t* value)
{
    return shellService ("SGetControlLatch", dsp, {}, [&] (DSPSlot& slot) {
        if (value == nullptr)
            return kDsiBadArgument;
        *value = slot.shell.controlLatch;
        return 0;
    });
}

int16_t SSetControlLatch (DSIDSPRecord* dsp, int32_t value)
{
    return changeShell ("SSetControlLatch", dsp, { value }, [&] (ShellState& shell) { shell.controlLatch = value; });
}

int16_t SInitShell (DSIDSPRecord* dsp)
{
    return changeShell ("SInitShell", dsp, {}, [] (ShellState& shell) { shell.initialised = true; });
}

int16_t SStartShell (DSIDSPRecord* dsp)
{
    return changeShell ("SStartShell", dsp, {}, [] (ShellState& shell) { shell.started = true; });
}

int16_t SPauseShell (DSIDSPRecord* dsp)
{
    return changeShell ("SPauseShell", dsp, {}, [] (ShellState& shell) { shell.paused = true; });
}

int16_t SResumeShell (DSIDSPRecord* dsp)
{
    return changeShell ("SResumeShell", dsp, {}, [] (ShellState& shell) { shell.paused = false; });
}

int16_t SSetInputDelay (DSIDSPRecord* dsp, int32_t delay)
{
    return changeShell ("SSetInputDelay", dsp, { delay }, [&] (ShellState& shell) { shell.inputDelay = delay; });
}

int16_t SSetOutputDelay (DSIDSPRecord* dsp, int32_t delay)
{
    return changeShell ("SSetOutputDelay", dsp, { delay }, [&] (ShellState& shell) { shell.outputDelay = delay; });
}

int16_t SUpdateDSPPeripheral (DSIDSPRecord* dsp)
{
    return changeShell ("SUpdateDSPPeripheral", dsp, {}, [] (ShellState& shell) { ++shell.peripheralUpdates; });
}

int16_t SGetDSPCodeInfo (DSIDSPRecord* dsp, int16_t selector, void* buffer)
{
    return shellService ("SGetDSPCodeInfo", dsp, { selector }, [&] (DSPSlot& slot) {
        if (selector != kCodeNameSelector || buffer == nullptr || slot.codeName.empty())
            return kDsiBadArgument;
        auto* text = static_cast<uint8_t*> (buffer);
        const size_t length = std::min (slot.codeName.size(), kMaxCodeName);
        text[0] = uint8_t (length);
        std::memcpy (text + 1, slot.codeName.data(), length);
        return 0;
    });
}
