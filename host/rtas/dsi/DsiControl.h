#pragma once
// The test side of the stand-in card library (DSI.dll).
//
// KestruneDsiStandIn() gives the control; a test that loads DSI.dll at run time reaches it with
// GetProcAddress(module, kDsiControlEntry).
//
// Builds. The library is built four times from the same code, each file named DSI.dll in its own
// folder, differing only in which of the 43 run-time entry points ("_Dsi...@N") it exports: all
// of them, none, all but the last ("_DsiSetShellHostCodeHandler@8"), or all but one in the middle
// ("_DsiDoHostCommandWithDataList@28"). The functions imported by name (InitSADriver,
// GetCardList, GetDSPList, GetShellList) and the control are in every build.
//
// A reset library: no cards, DSPs or shells, every host bit 0, no words or commands queued,
// no calls recorded and nothing scripted. Every exported function is recorded under its
// exported name with its numeric arguments; "InitSADriver" and every entry point take
// injectFailure (the result code is the injected one, nothing else happens).
//
// Entry points answer from the records: card kind, revision, index, clients, the DSP's flags
// word (bit 9: DSP 321), its core type, shell and information record. The host port: a command
// is appended to the DSP's commands (vector as given); a word sent is kept in its low 24 bits; a
// word read takes the next queued word, sign-extended from 24 bits; waiting for a host bit, or
// reading with no word queued, times out with kDsiTimeout at once. The data-list command sends
// and reads as its arguments say and records the command in between. Shells made by
// _DsiCreateShell are the library's until _DsiDestroyShell.

#include <process/dsp/DSIInterface.h>

#include "StandInScript.h"

#include <vector>

namespace kestrune::host::rtas
{

inline constexpr int32_t kDsiTimeout = -6001;
inline constexpr int32_t kDsiBadArgument = -6002;

class DsiControl
{
public:
    virtual void reset() = 0;
    virtual StandInScript& script() = 0;

    // Appends a card (its index is the number of cards before it) to the card list.
    virtual DSICardRecord* addCard (int32_t kind, int32_t revision) = 0;
    // Appends a DSP of the card to the DSP list; its information record's byte i is
    // (DSP number * 16 + i) modulo 256, the DSP number counting from 0.
    virtual DSIDSPRecord* addDSP (DSICardRecord* card, uint32_t flags = 0, int32_t coreType = 0) = 0;
    // Appends a shell to the standard shell list.
    virtual DSIShellRecord* addShell() = 0;

    // The host port of a DSP.
    virtual void setHostBit (DSIDSPRecord* dsp, int32_t bit, int32_t value) = 0;
    virtual int32_t hostBit (DSIDSPRecord* dsp, int32_t bit) = 0;
    virtual void queueWordsToHost (DSIDSPRecord* dsp, const std::vector<int32_t>& words) = 0;
    virtual std::vector<int32_t> wordsFromHost (DSIDSPRecord* dsp) = 0;
    virtual std::vector<int32_t> hostCommands (DSIDSPRecord* dsp) = 0;

    // Shells made by _DsiCreateShell and not yet destroyed.
    virtual size_t liveShells() = 0;

protected:
    ~DsiControl() = default;
};

inline constexpr const char* kDsiControlEntry = "KestruneDsiStandIn";

} // namespace kestrune::host::rtas

extern "C" kestrune::host::rtas::DsiControl* KestruneDsiStandIn();
