#pragma once
// The test side of the stand-in card library (DSI.dll).
//
// KestruneDsiStandIn() gives the control; a test that loads DSI.dll at run time reaches it with
// GetProcAddress(module, kDsiControlEntry).
//
// Builds. The library is built four times from the same code, each file named DSI.dll in its own
// folder, differing only in which of the 43 run-time entry points ("_Dsi...@N") it exports: all
// of them, none, all but the last ("_DsiSetShellHostCodeHandler@8"), or all but one in the middle
// ("_DsiDoHostCommandWithDataList@28"). The functions imported by name, the shell services and
// the control are in every build.
//
// A reset library: no cards, DSPs or shells, no calls recorded and nothing scripted. Every
// exported function is recorded under its exported name with its numeric arguments; every one
// with a status takes injectFailure (the result code is the injected one, nothing else happens).
//
// Records. Entry points answer from the records: card kind, revision, index, clients, the DSP's
// flags word (bit 9: DSP 321), its core type, shell and information record. A DSP record lives in
// a register window (RegisterBus.h): its information record is the protected page, so that on the
// register road the library's accesses to the host port reach the DSP's device.
//
// The device behind a DSP's host port answers both roads alike:
//   - the driver's entry points (commands, 24-bit words, host bits) and
//   - the registers in memory: byte registers in the information record (DSIHostPortBytes) for
//     every DSP but those of card kind 21 and of Presto cards, whose information record begins
//     with the addresses of the five 32-bit Onyx registers (DSIOnyxPort).
// It takes every command and word at once, recording them in order (traffic), and hands the host
// the words queued for it, in order. A dead device takes and gives nothing: commands stay
// pending, every wait of the driver times out with kDsiTimeout, and the registers never report
// ready. Block transfers take or give their words one by one and stop at the first time-out. A
// command is recorded as the driver's vector: what _DsiDoHostCommand was given, the
// byte register's value without its pending bit, or the Onyx command register's value without
// its pending bit; words as their low 24 bits.
//
// Host bits: the driver's 32 host bits, each 0 after a reset; bit 2 says that the DSP has emptied
// its host port, so a test that wants commands on an empty port sets it. Waiting for a host bit answers at once (0, or kDsiTimeout when the bit differs or the
// device is dead). Bits 4, 5 and 6 are the Onyx control flags 0x08, 0x10 and 0x20. A command on an
// empty host port needs bit 2; on the register road bit 2 is the status register's port-empty
// bit.
//
// Shells. _DsiCreateShell makes shells that stay the library's until _DsiDestroyShell.
// DsiLoadShell makes a shell the DSP's current one and records the load; ResetDSP leaves the DSP
// without a shell and its shell state as new. The shell services keep per DSP: X, Y and P memory
// (ChangeBits clears the first bits, then sets the second), executed routines, the left-right bit,
// the control latch, the two delays, whether the shell was initialised, started and paused, and
// the count of peripheral updates. The code information of selector 1 is the DSP's code name as a
// length-prefixed text; an empty name, or any other selector, answers kDsiBadArgument.
//
// Driver callbacks: raiseHostCallback asks the DSP's current shell's host-code handler for the
// selector's callback and calls it on the driver's own thread, as the driver does when the DSP
// asks the host for a service.

#include <abi/DSI.h>

#include "StandInScript.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrune::host::rtas
{

inline constexpr int32_t kDsiTimeout = -6001;
inline constexpr int32_t kDsiBadArgument = -6002;

struct DeviceEvent
{
    enum class Kind
    {
        Command,
        WordToDSP, // sent by the host
        WordToHost // taken by the host
    };
    Kind kind;
    int32_t value;

    bool operator== (const DeviceEvent&) const = default;
};

enum class MemorySpace
{
    X = 0,
    Y = 1,
    P = 2
};

struct LoadedShell
{
    DSIShellRecord* shell = nullptr;
    uint32_t id = 0;
    int32_t isStandard = 0;
    bool hadCode = false; // the shell carried DSP code when it was loaded
    int32_t firstCodeWord = 0; // the code's first 32-bit word (its length or word count)
};

struct ShellState
{
    std::vector<LoadedShell> loads;
    std::vector<int16_t> executed;
    int32_t leftRightBit = 0;
    int32_t controlLatch = 0;
    int32_t inputDelay = 0;
    int32_t outputDelay = 0;
    bool initialised = false;
    bool started = false;
    bool paused = false;
    int peripheralUpdates = 0;
};

// What a raised callback did: nothing when the handler gave no callback (or there is no shell or
// handler); otherwise its 16-bit result, the word it wrote through a word pointer, and the bytes
// of the 256-byte buffer of a code-information request.
struct CallbackOutcome
{
    bool answered = false;
    int16_t result = 0;
    int32_t word = 0;
    std::vector<uint8_t> buffer;
};

class DsiControl
{
public:
    virtual void reset() = 0;
    virtual StandInScript& script() = 0;

    // Appends a card (its index is the number of cards before it) to the card list.
    virtual DSICardRecord* addCard (int32_t kind, int32_t revision) = 0;
    // Appends a DSP of the card to the DSP list; its information record's byte i is
    // (DSP number * 16 + i) modulo 256, the DSP number counting from 0, apart from the bytes of
    // its host-port layout and the word at byte 56 (no index location: 0).
    virtual DSIDSPRecord* addDSP (DSICardRecord* card, uint32_t flags = 0, int32_t coreType = 0) = 0;
    // Appends a shell to the standard shell list.
    virtual DSIShellRecord* addShell() = 0;

    // The host port of a DSP.
    virtual void setHostBit (DSIDSPRecord* dsp, int32_t bit, int32_t value) = 0;
    virtual int32_t hostBit (DSIDSPRecord* dsp, int32_t bit) = 0;
    virtual void queueWordsToHost (DSIDSPRecord* dsp, const std::vector<int32_t>& words) = 0;
    virtual std::vector<int32_t> wordsFromHost (DSIDSPRecord* dsp) = 0;
    virtual std::vector<int32_t> hostCommands (DSIDSPRecord* dsp) = 0;
    virtual std::vector<DeviceEvent> traffic (DSIDSPRecord* dsp) = 0;
    virtual void setDead (DSIDSPRecord* dsp, bool dead) = 0;
    // The DSP-driven flags of the Onyx status register (bits 3 to 6).
    virtual void setStatusFlags (DSIDSPRecord* dsp, uint32_t flags) = 0;
    // A slower DSP: after each word it takes through the registers, the status register reports
    // the transmit side full for the next `statusReads` reads of it (0: never).
    virtual void setTransmitDelay (DSIDSPRecord* dsp, int statusReads) = 0;
    // The driver gives the DSP an index location: the information record's word at byte 56, 0
    // until then, becomes the host's address of a register of the DSP's own, whose reads the
    // device counts from then on (indexReads).
    virtual void giveIndexLocation (DSIDSPRecord* dsp) = 0;
    virtual int indexReads (DSIDSPRecord* dsp) = 0;

    // The shell side of a DSP.
    virtual ShellState shellState (DSIDSPRecord* dsp) = 0;
    virtual int32_t memoryWord (DSIDSPRecord* dsp, MemorySpace space, int32_t address) = 0;
    virtual void setMemoryWord (DSIDSPRecord* dsp, MemorySpace space, int32_t address, int32_t word) = 0;
    virtual void setCodeName (DSIDSPRecord* dsp, const std::string& name) = 0;

    // Runs a host callback on the driver's thread and waits for it. The arguments fill the
    // callback's number parameters in order; a word pointer gets the outcome's word (starting
    // as the next argument, if any), a buffer the outcome's buffer.
    virtual CallbackOutcome raiseHostCallback (DSIDSPRecord* dsp, int16_t selector, const std::vector<int32_t>& arguments) = 0;

    // Shells made by _DsiCreateShell and not yet destroyed.
    virtual size_t liveShells() = 0;

protected:
    ~DsiControl() = default;
};

inline constexpr const char* kDsiControlEntry = "KestruneDsiStandIn";

} // namespace kestrune::host::rtas

extern "C" kestrune::host::rtas::DsiControl* KestruneDsiStandIn();
