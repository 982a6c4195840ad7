#pragma once
// The stand-in card library's state: cards, DSPs with their devices and shell state, shells, the
// script and the driver's thread. The exported functions (DsiExports.cpp, ShellServices.cpp) and
// the control share it.

#include "DriverThread.h"
#include "DsiControl.h"
#include "HostPortDevice.h"

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace kestrune::host::rtas
{

// One DSP: its record in a register window, the device behind its host port and its shell state.
struct DSPSlot
{
    DSPSlot (RegisterWindow* registerWindow, PortKind kind);
    ~DSPSlot();
    DSPSlot (const DSPSlot&) = delete;
    DSPSlot& operator= (const DSPSlot&) = delete;

    RegisterWindow* window;
    DSIDSPRecord* hostRecord; // the record the plug-in library is given
    DSIDSPRecord* record; // the same record in the device's view, for the stand-in's own use
    std::unique_ptr<HostPortDevice> device;
    ShellState shell;
    std::array<std::map<int32_t, int32_t>, 3> memory;
    std::string codeName;
};

class CardLibrary final : public DsiControl
{
public:
    ~CardLibrary();

    void reset() override;
    StandInScript& script() override { return script_; }

    DSICardRecord* addCard (int32_t kind, int32_t revision) override;
    DSIDSPRecord* addDSP (DSICardRecord* card, uint32_t flags, int32_t coreType) override;
    DSIShellRecord* addShell() override;

    void setHostBit (DSIDSPRecord* dsp, int32_t bit, int32_t value) override;
    int32_t hostBit (DSIDSPRecord* dsp, int32_t bit) override;
    void queueWordsToHost (DSIDSPRecord* dsp, const std::vector<int32_t>& words) override;
    std::vector<int32_t> wordsFromHost (DSIDSPRecord* dsp) override;
    std::vector<int32_t> hostCommands (DSIDSPRecord* dsp) override;
    std::vector<DeviceEvent> traffic (DSIDSPRecord* dsp) override;
    void setDead (DSIDSPRecord* dsp, bool dead) override;
    void setStatusFlags (DSIDSPRecord* dsp, uint32_t flags) override;
    void setTransmitDelay (DSIDSPRecord* dsp, int statusReads) override;
    void giveIndexLocation (DSIDSPRecord* dsp) override;
    int indexReads (DSIDSPRecord* dsp) override;

    ShellState shellState (DSIDSPRecord* dsp) override;
    int32_t memoryWord (DSIDSPRecord* dsp, MemorySpace space, int32_t address) override;
    void setMemoryWord (DSIDSPRecord* dsp, MemorySpace space, int32_t address, int32_t word) override;
    void setCodeName (DSIDSPRecord* dsp, const std::string& name) override;

    CallbackOutcome raiseHostCallback (DSIDSPRecord* dsp, int16_t selector, const std::vector<int32_t>& arguments) override;

    size_t liveShells() override;

    // For the exported functions; call them with lock() held.
    std::mutex& lock() { return lock_; }
    DSPSlot* slotOf (const DSIDSPRecord* dsp);
    DSICardRecord* firstCard() { return cards_.empty() ? nullptr : cards_.front().get(); }
    DSIDSPRecord* firstDSP() { return dsps_.empty() ? nullptr : dsps_.front()->hostRecord; }
    DSIShellRecord* firstShell() { return shells_.empty() ? nullptr : shells_.front().get(); }
    DSIShellRecord* createShell();
    bool destroyShell (DSIShellRecord* shell);

private:
    // Runs `use` on a DSP's slot with the library's lock and the bus held; nothing for a DSP the
    // library does not know.
    template <typename Use>
    void withDevice (DSIDSPRecord* dsp, Use use);

    std::mutex lock_;
    StandInScript script_;
    std::vector<std::unique_ptr<DSICardRecord>> cards_;
    std::vector<std::unique_ptr<DSPSlot>> dsps_;
    std::vector<std::unique_ptr<DSIShellRecord>> shells_;
    std::set<DSIShellRecord*> createdShells_;
    DriverThread driver_;
};

CardLibrary& library();

} // namespace kestrune::host::rtas
