#pragma once
// The plug-in library's handle on one signal processor of a host DSP card: it binds a DSP of the
// card driver, builds and loads the shell that carries the plug-in's DSP code, talks to the
// processor through its host port (host commands and 24-bit words) and serves the driver's
// requests for the shell's services.
//
// Two roads, chosen once at Attach: through the driver's entry points when the card library's
// entry points are in use (the driver road), or straight on the host port's registers, which are
// the bytes of the driver's own information record for the DSP (the register road).
//
// Results are 16-bit host codes in 32 bits (0 = success). Every host-port operation reports a
// time-out as -7218 without writing over a pending command or reading a word that is not there;
// operations called before a DSP is attached do nothing and report -7201 (a word: -1).
//
// [host thread] unless an operation says otherwise; the shell services also run on the driver's
// thread, when the driver's callbacks ask for them.

#include <abi/DSI.h>
#include <win/Win32.h>

#include <initializer_list>

namespace DSPError
{
inline constexpr int16_t kCodeAlreadyLoaded = -7059;
inline constexpr int16_t kNoDSPCode = -7061;
inline constexpr int16_t kNoDSP = -7201;
inline constexpr int16_t kTimedOut = -7218;
// A command vector that the command-vector register cannot carry.
inline constexpr int16_t kBadCommandVector = -7401;
} // namespace DSPError

// Bounds of the waits on the host port.
namespace DSPWait
{
inline constexpr int32_t kRegisterPolls = 1000000;
inline constexpr int32_t kDriverWord = 1000000000;
inline constexpr int32_t kDriverBlock = 2000000000;
} // namespace DSPWait

// The shell's identity.
inline constexpr uint32_t kDSPShellID = 0x484D6B72; // 'HMkr'

class CDSP
{
public:
    CDSP();
    // Releases the shell that LoadDSPCode loaded into the DSP, clears the DSP's client value when
    // it names this object, and destroys the shell record.
    virtual ~CDSP();
    CDSP (const CDSP&) = delete;
    CDSP& operator= (const CDSP&) = delete;

    // Binds the DSP (null binds none): chooses the road, copies the driver's information record
    // and three of its words (bytes 32, 44 and 56), and makes a fresh shell record for the
    // plug-in's code.
    virtual void Attach (DSIDSPRecord* dsp);
    // Clears control bit 10, loads the driver's standard shells into the DSP (a failure is thrown
    // as CDAEError) and clears the DSP's client value.
    virtual void ReleaseShell();
    // The lock around each exchange with the DSP; here there is none. Lock answers whether this
    // call took it, so that only that caller unlocks.
    virtual bool Lock();
    virtual void Unlock();
    virtual void ReservedOperation (int32_t a, int32_t b, int32_t c);
    // The first DSP of the driver's list without a client, or null.
    virtual DSIDSPRecord* FindFreeDSP();
    // Loads the plug-in's DSP code with the resource ID into the DSP through this object's shell
    // (see CDSP.cpp). Failures are thrown as CDAEError: -7061 without code, -7059 for code
    // already in the shell of a TDM2 card, or the driver's error.
    virtual void LoadDSPCode (HMODULE module, int16_t resourceID);

    // Host commands: the vector plus the command base.
    virtual int32_t HostCommand (int32_t vector);
    virtual int32_t HostCommandOnEmptyPort (int32_t vector);
    // A command with data words: the in words after the command (CommandThenData) or before it
    // (DataThenCommand), then outCount words back into out.
    int32_t CommandThenData (int32_t vector, int32_t outCount, int32_t* out, std::initializer_list<int32_t> in);
    virtual int32_t CommandThenDataArray (int32_t vector, int32_t outCount, int32_t* out, int32_t inCount, const int32_t* in);
    int32_t DataThenCommand (int32_t vector, int32_t outCount, int32_t* out, std::initializer_list<int32_t> in);
    virtual int32_t DataThenCommandArray (int32_t vector, int32_t outCount, int32_t* out, int32_t inCount, const int32_t* in);
    // One 24-bit word from the DSP, sign-extended; -1 without a DSP or on a time-out.
    virtual int32_t ReceiveWord();
    // The low 24 bits of the word to the DSP.
    virtual int32_t SendWord (int32_t word);
    virtual int32_t SendWords (const int32_t* words, int32_t count);
    virtual int32_t ReceiveWords (int32_t* words, int32_t count);

    virtual int32_t GetCardType();
    virtual int32_t ReservedQuery();
    virtual DSIDSPRecord* GetDSP();
    virtual void SetDSP (DSIDSPRecord* dsp);
    virtual DSIShellRecord* GetShell();
    virtual int32_t GetUserWord();
    virtual void SetUserWord (int32_t word);

    // The shell services: the driver's function of the same name for this DSP, under Lock; its
    // 16-bit status. [host thread, driver thread]
#define KESTRUNE_CDSP_DECLARE_SERVICE(selector, role, params, args) virtual int16_t role params;
    KESTRUNE_DSI_SHELL_SERVICES (KESTRUNE_CDSP_DECLARE_SERVICE)
#undef KESTRUNE_CDSP_DECLARE_SERVICE

    // The registers on the register road (null on the driver road) and two information words,
    // from bytes 32 and 44 of the information record.
    virtual volatile uint8_t* GetPortRecord();
    virtual int32_t GetFirstInfoWord();
    virtual int32_t GetSecondInfoWord();
    // On the register road: a read of the DSP's index location when the driver gives one (the
    // information record's word at byte 56), else of the interrupt-vector register; either read
    // forces the writes before it out to the port.
    virtual void SyncPort();
    // The host port's registers (ignored on the driver road); reads the card type flags and, on
    // the register road, clears control bit 0.
    virtual void SetPortRecord (uint8_t* record);

    // Clears a control bit: the driver's host bit, or the bit of the control register.
    void ClearControlBit (int32_t bit);

    // How many users the object has; Attach starts it at 0.
    int16_t IncrementUserCount();
    int16_t DecrementUserCount();
    int16_t GetUserCount() const;

    bool UsesDriver() const { return fUseDriver; }
    bool IsCardType18() const { return fCardType18; }
    bool IsCardType18Or19() const { return fCardType18Or19; }
    int32_t GetCommandBase() const { return fCommandBase; }

    // Whether the plug-in's resource file holds a 'PEN ' resource: looked up once, when the
    // first object is made.
    static bool PlugInHasPenResources();

protected:
    void SetCommandBase (int32_t base) { fCommandBase = base; }
    // A word from the DSP, or the reason there is none (the word is left as it was).
    int32_t ReceiveWordStatus (int32_t& word);

    // The command for a vector: on the driver road the driver takes it as it is (here vector +
    // command base); on the register road what the host port carries, or -1 when it cannot
    // carry it (here above 127 or below 0).
    virtual int32_t EncodeCommand (int32_t vector) const;
    // The register road, step by step, for the host port of the processor generation; each is
    // called only on the register road with a DSP attached. Here: the byte registers.
    virtual int32_t CommandOnRegisters (int32_t command);
    virtual int32_t WaitForEmptyPort();
    virtual int32_t SendWordOnRegisters (int32_t word);
    virtual int32_t ReceiveWordOnRegisters (int32_t& word);
    virtual int32_t SendWordsOnRegisters (const int32_t* words, int32_t count);

private:
    uint8_t Register (int offset);
    void SetRegister (int offset, uint8_t value);
    // Polls the register road until `ready` holds, at most kRegisterPolls times.
    template <typename Ready>
    bool PollRegisters (Ready ready);
    bool PollStatus (uint8_t bit);
    // 0 and the command for the vector, or why there is none (no DSP, or a vector the port
    // cannot carry).
    int32_t CommandFor (int32_t vector, int32_t& command) const;
    // A command with data words in either order: the in words after the command (order 0) or
    // before it (order 1), then the out words.
    int32_t CommandWithData (int32_t vector, int32_t order, int32_t outCount, int32_t* out, int32_t inCount, const int32_t* in);
    // 0 when a block transfer has something to move, else its answer (no DSP, an empty or a
    // missing block).
    int32_t CheckBlock (const void* words, int32_t count) const;
    void DestroyShell();

    volatile uint8_t* fPortRecord = nullptr;
    DSIDSPInfoRecord fInfoRecord {};
    int32_t fInfoWord32 = 0;
    int32_t fInfoWord44 = 0;
    int32_t fIndexLocation = 0;
    DSIDSPRecord* fDSP = nullptr;
    DSIShellRecord* fShell = nullptr;
    bool fShellLoaded = false;
    int16_t fUserCount = 0;
    int32_t fUserWord = 0;
    bool fCardType18 = false;
    bool fCardType18Or19 = false;
    bool fUseDriver = false;
    int32_t fCommandBase = 18;
};

// Holds a DSP object's lock for its lifetime, and unlocks only when its Lock took it.
class ScopedDSPLock
{
public:
    explicit ScopedDSPLock (CDSP& dsp) : fDSP (dsp), fTook (dsp.Lock()) {}
    ~ScopedDSPLock()
    {
        if (fTook)
            fDSP.Unlock();
    }
    ScopedDSPLock (const ScopedDSPLock&) = delete;
    ScopedDSPLock& operator= (const ScopedDSPLock&) = delete;

private:
    CDSP& fDSP;
    const bool fTook;
};
