#pragma once
// A DSP that runs the plug-in's DSP code: a CDSP with a lock over the host DSP manager's critical
// region, the small command protocol of the plug-in's DSP code, and the plug-in's own answers to
// the shell's init, start and code-information requests.
//
// Commands. Every command goes out under the lock as CommandThenData with the command vector:
// the command number first, then its argument words; the replies come back into the caller's
// words. Addresses sent to the DSP have the address offset added. Results are statuses (0 =
// success, a host-port or driver error otherwise) unless an operation answers a word, which is
// -1 when the exchange failed.
//
// Lock. The first Lock of a thread enters the manager's region (when there is one) and takes the
// object's own lock, so that two threads never talk to the DSP at once; a nested Lock of the
// holder answers false and neither enters nor counts, and only the call that answered true
// unlocks. [host thread, driver thread]

#include "process/dsp/CDSP.h"

#include <abi/DSPManager.h>
#include <abi/HostTypes.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

namespace ProcessDSPError
{
inline constexpr int16_t kBadStateMemory = -108;
inline constexpr int16_t kCommand12Failed = -7433;
} // namespace ProcessDSPError

// The process commands of the plug-in's DSP code.
namespace ProcessCommand
{
inline constexpr int32_t kQueryState = 0;
inline constexpr int32_t k1 = 1;
inline constexpr int32_t k2 = 2;
inline constexpr int32_t k3 = 3;
inline constexpr int32_t k4 = 4;
inline constexpr int32_t kFlag6 = 6;
inline constexpr int32_t kFlag7 = 7; // also the offset value
inline constexpr int32_t kRange = 8;
inline constexpr int32_t kStateData = 9;
inline constexpr int32_t k11 = 11;
inline constexpr int32_t k12 = 12;
inline constexpr int32_t k13 = 13;
inline constexpr int32_t k14 = 14;
inline constexpr int32_t k15 = 15;
inline constexpr int32_t kTimeOfDay = 16;
} // namespace ProcessCommand

class CProcessDSP : public CDSP
{
public:
    CProcessDSP();
    // Deletes the critical region.
    ~CProcessDSP() override;

    // CDSP's Attach, then a fresh critical region: none without a manager of version 1 or more,
    // an unnamed one from version 1, one named "CProcessDSP<name> cr" from version 2 (the name
    // from GetDSPCodeInfo(1), or "<unknown>" after a space when that fails or is empty).
    void Attach (DSIDSPRecord* dsp) override;
    bool Lock() override;
    void Unlock() override;
    // The init-shell or start-shell host command, under the lock; 0.
    int16_t InitShell() override;
    int16_t StartShell() override;
    // The plug-in group's answer (QueryGroupForDSP with the DSP); without a group, the driver's.
    int16_t GetDSPCodeInfo (int16_t selector, void* buffer) override;

    // Command 0 with (-1, -1) and one word back, then once more without a reply; the word.
    virtual int32_t QueryState();
    virtual int32_t SendCommand1 (int32_t a, int32_t b, int32_t c, int32_t address);
    virtual int32_t SendCommand2 (int32_t a, int32_t b, int32_t c, int32_t address);
    virtual int32_t SendCommand1Default (int32_t a, int32_t b, int32_t c);
    virtual int32_t SendCommand2Default (int32_t a, int32_t b, int32_t c);
    virtual int32_t SendCommand3 (int32_t a, int32_t b, int32_t c);
    virtual int32_t SendCommand4 (int32_t a, int32_t b, int32_t c);
    // 0xFFFFFF when on, else 0.
    virtual int32_t SendFlag6 (int32_t a, int32_t b, bool on);
    virtual int32_t SendFlag7 (int32_t a, int32_t b, bool on);
    virtual int32_t SetOffsetValue (int16_t value);
    virtual int32_t SetRange (int16_t x, int16_t y);
    virtual std::pair<int16_t, int16_t> GetRange();
    int16_t GetOffsetValue() const { return fOffsetValue; }
    // Command 9 with (f, g, e, xCount, d), the X words, the Y count, c, then the Y words, all
    // under one lock. The blocks are toolbox handles of at least 4 bytes per word; a missing or
    // short block, or a negative count, is -108 (reported through the host's debug output) and
    // nothing is sent.
    virtual int32_t SetStateData (Handle xBlock, int32_t xCount, Handle yBlock, int32_t yCount, int32_t c, int32_t d, int32_t e, int32_t f, int32_t g);
    // -7433 when command 12 answers -1; else command 11 with (-1, -1, c, b, the word's top 8
    // bits, its low 24 bits).
    virtual int32_t SendCommand11 (int32_t word, int32_t b, int32_t c);
    virtual int32_t SendCommand13 (int32_t a, int32_t b);
    virtual int32_t SendCommand12();
    virtual int32_t SendCommand14();
    virtual int32_t SendCommand15 (int32_t on);
    // Nothing when b is -1; else command 15 with (a, b) without a reply, then with (a, b, on) and
    // two words back: out = first << 24 | (second & 0xFFFFFF).
    virtual int32_t ReadCommand15 (int32_t on, int32_t a, int32_t b, int32_t* out);
    // Command 16 with (-1, -1) and two words back: out = high << 24 | (low & 0xFFFFFF). A
    // negative high word is reported through the host's debug output.
    virtual int32_t GetCurrentTimeOfDay (int32_t* out);
    // Enters and leaves the critical region once: waits for whoever holds it.
    virtual void Barrier();
    virtual int32_t GetAddressOffset();
    virtual void SetCommandVector (int16_t vector);
    virtual void SetInitShellVector (int16_t vector);
    virtual void SetStartShellVector (int16_t vector);
    // The word exchange as the chip classes refine it.
    virtual bool SendWordChecked (int32_t word);
    virtual int32_t TryReceiveWord (bool& received);
    virtual bool TransmitEmpty();
    virtual bool ReceiveFull();

    int32_t GetRegionDepth() const { return fRegionDepth; }
    DSPCriticalRegionRef GetCriticalRegion() const { return fRegion; }

protected:
    void SetAddressOffset (int32_t offset) { fAddressOffset = offset; }
    void SetDefaultWords (int32_t first, int32_t second)
    {
        fDefaultWord1 = first;
        fDefaultWord2 = second;
    }

private:
    // One command: under the lock, the command number and its arguments to the DSP, replyCount
    // words back into replies.
    int32_t SendCommand (int32_t command, int32_t replyCount, int32_t* replies, std::initializer_list<int32_t> arguments);
    // A command whose answer is its one reply word (-1 when the exchange failed).
    int32_t CommandWord (int32_t command, std::initializer_list<int32_t> arguments);
    int32_t StateDataCheck (Handle xBlock, int32_t xCount, Handle yBlock, int32_t yCount);
    int32_t SendStateData (Handle xBlock, int32_t xCount, Handle yBlock, int32_t yCount, int32_t c, int32_t d, int32_t e, int32_t f, int32_t g);
    void CreateRegion();
    void DeleteRegion();
    void EnterRegion();
    void LeaveRegion();

    int16_t fRangeX = -1;
    int16_t fRangeY = -1;
    int16_t fOffsetValue = 0;
    int32_t fAddressOffset = 0xFFC0;
    int32_t fDefaultWord1 = 63;
    int32_t fDefaultWord2 = 63;
    int16_t fCommandVector = 13;
    int16_t fInitShellVector = 0;
    int16_t fStartShellVector = 1;
    DSPCriticalRegionRef fRegion = nullptr;
    std::atomic<int32_t> fRegionDepth { 0 };
    // The locked flag: the thread that holds the lock, none while it is free.
    std::atomic<std::thread::id> fOwner {};
    std::mutex fExclusion;
};
