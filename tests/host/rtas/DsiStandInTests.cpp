// The stand-in card library's simulated card: the device behind a DSP's host port, reached
// through the driver's entry points and through its registers in memory, the shell services and
// the driver's callbacks.

#include <dsi/DsiControl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <latch>
#include <thread>

namespace
{

// The run-time entry points, found by their decorated names as the plug-in library finds them.
template <typename Function>
Function* Entry (const char* name)
{
    return reinterpret_cast<Function*> (dlsym (RTLD_DEFAULT, name));
}

const auto DoHostCommand = Entry<int32_t KESTRUNE_DSI_CALL (DSIDSPRecord*, int32_t, int32_t)> ("_DsiDoHostCommand@12");
const auto DoHostCommandOnEmptyHostPort = Entry<int32_t KESTRUNE_DSI_CALL (DSIDSPRecord*, int32_t, int32_t)> ("_DsiDoHostCommandOnEmptyHostPort@12");
const auto SendLo24of32 = Entry<int32_t KESTRUNE_DSI_CALL (DSIDSPRecord*, int32_t, int32_t)> ("_DsiSendLo24of32@12");
const auto GetLo24ofS32 = Entry<int32_t KESTRUNE_DSI_CALL (DSIDSPRecord*, int32_t*, int32_t)> ("_DsiGetLo24ofS32@12");
const auto SetHostBit = Entry<int32_t KESTRUNE_DSI_CALL (DSIDSPRecord*, int32_t, int32_t)> ("_DsiSetHostBit@12");
const auto SetShellHostCodeHandler = Entry<int32_t KESTRUNE_DSI_CALL (DSIShellRecord*, DSIHostCodeHandler)> ("_DsiSetShellHostCodeHandler@8");

using namespace kestrune::host::rtas;
using Kind = DeviceEvent::Kind;

constexpr int32_t kBound = 1000;

class DsiStandIn : public ::testing::Test
{
protected:
    void SetUp() override { dsi.reset(); }
    void TearDown() override { dsi.reset(); }

    DsiControl& dsi = *KestruneDsiStandIn();
};

// The byte registers as the host sees them.
volatile uint8_t* bytePort (DSIDSPRecord* dsp)
{
    return dsp->fInfo.fBytes;
}

volatile uint32_t* onyxRegister (DSIDSPRecord* dsp, int index)
{
    uint32_t address = 0;
    std::memcpy (&address, dsp->fInfo.fBytes + index * 4, sizeof address);
    return reinterpret_cast<volatile uint32_t*> (uintptr_t (address));
}

TEST_F (DsiStandIn, ByteRegistersTakeCommandsAndWordsAsTheyAreWritten)
{
    DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (18, 0));
    dsi.setHostBit (dsp, 2, 1);
    volatile uint8_t* port = bytePort (dsp);
    EXPECT_EQ (port[DSIHostPortBytes::kStatus], DSIHostPortBytes::kStatusTransmitEmpty | DSIHostPortBytes::kStatusPortEmpty);

    port[DSIHostPortBytes::kCommandVector] = 0x97;
    EXPECT_EQ (port[DSIHostPortBytes::kCommandVector], 0x17) << "the device took the command";
    port[DSIHostPortBytes::kDataHigh] = 0x12;
    port[DSIHostPortBytes::kDataMiddle] = 0x34;
    EXPECT_TRUE (dsi.wordsFromHost (dsp).empty()) << "a word is complete with its low byte";
    port[DSIHostPortBytes::kDataLow] = 0x56;
    port[DSIHostPortBytes::kDataLow] = 0x56;
    EXPECT_EQ (dsi.traffic (dsp), (std::vector<DeviceEvent> { { Kind::Command, 0x17 }, { Kind::WordToDSP, 0x123456 }, { Kind::WordToDSP, 0x123456 } }))
        << "writing the same value again is a second word";
}

TEST_F (DsiStandIn, ByteRegistersHandOutTheQueuedWordsOneByOne)
{
    DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (18, 0));
    volatile uint8_t* port = bytePort (dsp);
    EXPECT_EQ (port[DSIHostPortBytes::kStatus] & DSIHostPortBytes::kStatusReceiveFull, 0);
    dsi.queueWordsToHost (dsp, { 0x800001, 0x000102 });

    std::vector<int32_t> read;
    while ((port[DSIHostPortBytes::kStatus] & DSIHostPortBytes::kStatusReceiveFull) != 0)
    {
        const int32_t high = port[DSIHostPortBytes::kDataHigh];
        const int32_t middle = port[DSIHostPortBytes::kDataMiddle];
        const int32_t low = port[DSIHostPortBytes::kDataLow];
        read.push_back ((high << 16) | (middle << 8) | low);
    }
    EXPECT_EQ (read, (std::vector<int32_t> { 0x800001, 0x000102 }));
    EXPECT_EQ (dsi.traffic (dsp), (std::vector<DeviceEvent> { { Kind::WordToHost, -8388607 }, { Kind::WordToHost, 0x102 } }));
}

TEST_F (DsiStandIn, ByteDataRegistersWriteTheTransmitSideAndReadTheReceiveSide)
{
    DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (18, 0));
    dsi.queueWordsToHost (dsp, { 0x010203 });
    volatile uint8_t* port = bytePort (dsp);
    port[DSIHostPortBytes::kDataHigh] = 0xAA;
    port[DSIHostPortBytes::kDataMiddle] = 0xBB;
    EXPECT_EQ (port[DSIHostPortBytes::kDataHigh], 0x01) << "a read gives the word waiting for the host";
    port[DSIHostPortBytes::kDataLow] = 0xCC;
    EXPECT_EQ (dsi.wordsFromHost (dsp), (std::vector<int32_t> { 0xAABBCC }));
}

TEST_F (DsiStandIn, ASlowDeviceKeepsTheTransmitSideFullForSomeStatusReads)
{
    DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (21, 0));
    dsi.setTransmitDelay (dsp, 2);
    volatile uint32_t* status = onyxRegister (dsp, DSIOnyxPort::kStatus);
    *onyxRegister (dsp, DSIOnyxPort::kTransmit) = 1;
    EXPECT_EQ (*status & DSIOnyxPort::kStatusTransmitEmpty, 0u);
    EXPECT_EQ (*status & DSIOnyxPort::kStatusTransmitEmpty, 0u);
    EXPECT_NE (*status & DSIOnyxPort::kStatusTransmitEmpty, 0u) << "taken after two reads";
    EXPECT_NE (*status & DSIOnyxPort::kStatusTransmitEmpty, 0u);
}

TEST_F (DsiStandIn, ADeadDeviceTakesNothingOnEitherRoad)
{
    DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (18, 0));
    dsi.setHostBit (dsp, 2, 1);
    dsi.queueWordsToHost (dsp, { 7 });
    dsi.setDead (dsp, true);
    volatile uint8_t* port = bytePort (dsp);
    EXPECT_EQ (port[DSIHostPortBytes::kStatus], 0);
    port[DSIHostPortBytes::kCommandVector] = 0x85;
    EXPECT_EQ (port[DSIHostPortBytes::kCommandVector], 0x85) << "the command stays pending";
    port[DSIHostPortBytes::kDataLow] = 1;

    int32_t word = 0;
    EXPECT_EQ (DoHostCommand (dsp, 3, kBound), kDsiTimeout);
    EXPECT_EQ (DoHostCommandOnEmptyHostPort (dsp, 3, kBound), kDsiTimeout);
    EXPECT_EQ (SendLo24of32 (dsp, 3, kBound), kDsiTimeout);
    EXPECT_EQ (GetLo24ofS32 (dsp, &word, kBound), kDsiTimeout);
    EXPECT_TRUE (dsi.traffic (dsp).empty());

    dsi.setDead (dsp, false);
    EXPECT_EQ (port[DSIHostPortBytes::kCommandVector], 0x05) << "back to life, the device takes the waiting command";
    EXPECT_EQ (GetLo24ofS32 (dsp, &word, kBound), 0);
    EXPECT_EQ (word, 7);
    EXPECT_EQ (dsi.traffic (dsp), (std::vector<DeviceEvent> { { Kind::Command, 5 }, { Kind::WordToHost, 7 } }));
}

TEST_F (DsiStandIn, OnyxPortIsFiveRegistersWhoseAddressesOpenTheInformationRecord)
{
    DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (21, 0));
    volatile uint32_t* status = onyxRegister (dsp, DSIOnyxPort::kStatus);
    EXPECT_EQ (*status, DSIOnyxPort::kStatusCommandReady | DSIOnyxPort::kStatusTransmitEmpty);

    *onyxRegister (dsp, DSIOnyxPort::kCommand) = ((5 + 58) << 1) | 1;
    EXPECT_EQ (*onyxRegister (dsp, DSIOnyxPort::kCommand) & DSIOnyxPort::kCommandPending, 0u);
    *onyxRegister (dsp, DSIOnyxPort::kTransmit) = 0xFF123456;
    dsi.queueWordsToHost (dsp, { 0xFFFFFF });
    EXPECT_NE (*status & DSIOnyxPort::kStatusReceiveFull, 0u);
    EXPECT_EQ (*onyxRegister (dsp, DSIOnyxPort::kReceive), 0xFFFFFFu);
    EXPECT_EQ (*status & DSIOnyxPort::kStatusReceiveFull, 0u);
    EXPECT_EQ (dsi.traffic (dsp), (std::vector<DeviceEvent> { { Kind::Command, 126 }, { Kind::WordToDSP, 0x123456 }, { Kind::WordToHost, -1 } }));

    // The control flags are the driver's host bits 4 to 6, whichever road sets them.
    *onyxRegister (dsp, DSIOnyxPort::kControl) = 0x28;
    EXPECT_EQ (dsi.hostBit (dsp, 4), 1);
    EXPECT_EQ (dsi.hostBit (dsp, 5), 0);
    EXPECT_EQ (dsi.hostBit (dsp, 6), 1);
    EXPECT_EQ (SetHostBit (dsp, 5, 1), 0);
    EXPECT_EQ (*onyxRegister (dsp, DSIOnyxPort::kControl), 0x38u);
    dsi.setStatusFlags (dsp, 0x48);
    EXPECT_EQ (*status & 0x78u, 0x48u);

    dsi.setDead (dsp, true);
    *onyxRegister (dsp, DSIOnyxPort::kCommand) = 3;
    EXPECT_EQ (*status & 0x07u, 0u);
    EXPECT_EQ (*onyxRegister (dsp, DSIOnyxPort::kCommand), 3u);
}

TEST_F (DsiStandIn, PrestoCardsHaveTheOnyxPortAndOthersTheByteRegisters)
{
    struct Case
    {
        int32_t kind;
        int32_t revision;
        bool onyx;
    };
    const Case cases[] = { { 18, 0, false }, { 21, 0, true }, { 26, 0, true }, { 28, 2, true }, { 28, 3, false }, { 31, 3, true }, { 31, 4, false }, { 10, 0, false } };
    for (const Case& c : cases)
    {
        DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (c.kind, c.revision));
        uint32_t firstWord = 0;
        std::memcpy (&firstWord, dsp->fInfo.fBytes, sizeof firstWord);
        const bool pointsAtRegisters = firstWord == uint32_t (uintptr_t (onyxRegister (dsp, DSIOnyxPort::kControl))) && firstWord % 4 == 0
                                       && (firstWord & 0xFFF) == 1024;
        EXPECT_EQ (pointsAtRegisters, c.onyx) << "kind " << c.kind << " revision " << c.revision;
    }
}

// Instructions that read a register and write it back in one go, as compiled code may use.
void orIntoRegister (volatile uint8_t* address)
{
    asm volatile("orb $0x80, (%0)"
                 :
                 : "r"(address)
                 : "memory");
}

void lockedOrIntoRegister (volatile uint8_t* address)
{
    asm volatile("lock orb $0x80, (%0)"
                 :
                 : "r"(address)
                 : "memory");
}

void exchangeWithRegister (volatile uint8_t* address)
{
    uint8_t value = 0x85;
    asm volatile("xchgb %1, (%0)"
                 :
                 : "r"(address), "q"(value)
                 : "memory");
}

TEST_F (DsiStandIn, AnInstructionThatReadsAndWritesARegisterIsOneWrite)
{
    struct Case
    {
        const char* name;
        void (*instruction) (volatile uint8_t*);
        bool readsWatched;
    };
    const Case cases[] = { { "or", &orIntoRegister, false },
                           { "or, reads watched", &orIntoRegister, true },
                           { "locked or, reads watched", &lockedOrIntoRegister, true },
                           { "exchange, reads watched", &exchangeWithRegister, true } };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.name);
        dsi.reset();
        DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (18, 0));
        if (c.readsWatched)
            dsi.queueWordsToHost (dsp, { 7 });
        volatile uint8_t* port = bytePort (dsp);
        port[DSIHostPortBytes::kCommandVector] = 0x05;
        c.instruction (port + DSIHostPortBytes::kCommandVector);
        EXPECT_EQ (port[DSIHostPortBytes::kCommandVector], 0x05) << "the device took the command";
        EXPECT_EQ (dsi.traffic (dsp), (std::vector<DeviceEvent> { { Kind::Command, 5 } }));
    }
}

thread_local int tThreadMark = 0;

// Read afresh through the thread pointer on every call.
__attribute__ ((noipa)) int ThreadMark()
{
    return tThreadMark;
}

// Writes `count` words through the byte registers; counts the writes after which the thread
// found another thread's thread-local storage in place of its own.
int SendWordsCountingForeignStorage (DSIDSPRecord* dsp, int mark, int count)
{
    tThreadMark = mark;
    int foreign = 0;
    volatile uint8_t* port = bytePort (dsp);
    for (int i = 0; i < count; ++i)
    {
        port[DSIHostPortBytes::kDataLow] = uint8_t (i);
        foreign += ThreadMark() != mark ? 1 : 0;
    }
    return foreign;
}

TEST_F (DsiStandIn, RegistersWrittenFromTwoThreadsAreAllSeen)
{
    DSIDSPRecord* first = dsi.addDSP (dsi.addCard (18, 0));
    DSIDSPRecord* second = dsi.addDSP (dsi.addCard (18, 0));
    std::thread other (SendWordsCountingForeignStorage, second, 2, 200);
    SendWordsCountingForeignStorage (first, 1, 200);
    other.join();
    EXPECT_EQ (dsi.wordsFromHost (first).size(), 200u);
    EXPECT_EQ (dsi.wordsFromHost (second).size(), 200u);
}

TEST_F (DsiStandIn, EveryThreadGoesOnWithItsOwnThreadLocalStorage)
{
    constexpr int kThreads = 6;
    constexpr int kWords = 1000;
    std::vector<DSIDSPRecord*> dsps;
    for (int i = 0; i < kThreads; ++i)
        dsps.push_back (dsi.addDSP (dsi.addCard (18, 0)));
    // All threads exist before any writes, and then they all write at once.
    std::latch start (kThreads);
    std::vector<int> foreign (kThreads, -1);
    auto send = [&] (int i) {
        start.arrive_and_wait();
        foreign[size_t (i)] = SendWordsCountingForeignStorage (dsps[size_t (i)], i, kWords);
    };
    std::vector<std::thread> others;
    for (int i = 1; i < kThreads; ++i)
        others.emplace_back (send, i);
    send (0);
    for (std::thread& other : others)
        other.join();
    EXPECT_EQ (foreign, std::vector<int> (kThreads, 0));
    for (DSIDSPRecord* dsp : dsps)
        EXPECT_EQ (dsi.wordsFromHost (dsp).size(), size_t (kWords));
}

TEST_F (DsiStandIn, ShellServicesKeepTheStateOfEachDSP)
{
    DSICardRecord* card = dsi.addCard (26, 0);
    DSIDSPRecord* dsp = dsi.addDSP (card);
    DSIDSPRecord* other = dsi.addDSP (card);
    dsi.setMemoryWord (dsp, MemorySpace::Y, 0x40, 0x0F0F);

    int32_t word = -1;
    EXPECT_EQ (SGetYWord (dsp, 0x40, &word), 0);
    EXPECT_EQ (word, 0x0F0F);
    EXPECT_EQ (SChangeYBits (dsp, 0x40, 0x000F, 0x3000), 0);
    EXPECT_EQ (dsi.memoryWord (dsp, MemorySpace::Y, 0x40), 0x3F00);
    EXPECT_EQ (SChangePBits (dsp, 7, 0, 5), 0);
    EXPECT_EQ (SGetPWord (dsp, 7, &word), 0);
    EXPECT_EQ (word, 5);
    EXPECT_EQ (SGetXWord (other, 0x40, &word), 0);
    EXPECT_EQ (word, 0);

    EXPECT_EQ (SExecute (dsp, 12), 0);
    EXPECT_EQ (SSetControlLatch (dsp, 9), 0);
    EXPECT_EQ (SGetControlLatch (dsp, &word), 0);
    EXPECT_EQ (word, 9);
    EXPECT_EQ (SInitShell (dsp), 0);
    EXPECT_EQ (SPauseShell (dsp), 0);
    EXPECT_EQ (SSetOutputDelay (dsp, 33), 0);
    ShellState state = dsi.shellState (dsp);
    EXPECT_EQ (state.executed, (std::vector<int16_t> { 12 }));
    EXPECT_TRUE (state.initialised);
    EXPECT_TRUE (state.paused);
    EXPECT_EQ (state.outputDelay, 33);

    uint8_t name[256] = {};
    EXPECT_EQ (SGetDSPCodeInfo (dsp, 1, name), kDsiBadArgument) << "no code name yet";
    dsi.setCodeName (dsp, "KESTrune");
    EXPECT_EQ (SGetDSPCodeInfo (dsp, 1, name), 0);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (name + 1), name[0]), "KESTrune");
    EXPECT_EQ (SGetDSPCodeInfo (dsp, 2, name), kDsiBadArgument);

    dsi.script().injectFailure ("SStartShell", -6050);
    EXPECT_EQ (SStartShell (dsp), -6050);
    EXPECT_FALSE (dsi.shellState (dsp).started);

    DSIShellRecord* shell = dsi.addShell();
    EXPECT_EQ (DsiLoadShell (dsp, shell), 0);
    EXPECT_EQ (dsp->fShell, shell);
    EXPECT_EQ (ResetDSP (dsp), 0);
    EXPECT_EQ (dsp->fShell, nullptr);
    state = dsi.shellState (dsp);
    EXPECT_FALSE (state.initialised);
    ASSERT_EQ (state.loads.size(), 1u) << "a reset keeps the record of loads";
    EXPECT_EQ (state.loads[0].shell, shell);
}

DSIDSPRecord* gCalledWith = nullptr;
std::thread::id gCalledOn;

int16_t GetXWordCallback (DSIDSPRecord* dsp, int32_t address, int32_t* word)
{
    gCalledWith = dsp;
    gCalledOn = std::this_thread::get_id();
    *word += address;
    return 17;
}

DSIHostCallback Handler (int16_t selector)
{
    return selector == 256 ? reinterpret_cast<DSIHostCallback> (&GetXWordCallback) : nullptr;
}

TEST_F (DsiStandIn, DriverCallbacksRunOnTheDriversThread)
{
    DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (18, 0));
    EXPECT_FALSE (dsi.raiseHostCallback (dsp, 256, { 1 }).answered) << "no shell loaded";

    DSIShellRecord* shell = dsi.addShell();
    ASSERT_EQ (SetShellHostCodeHandler (shell, &Handler), 0);
    ASSERT_EQ (DsiLoadShell (dsp, shell), 0);
    EXPECT_FALSE (dsi.raiseHostCallback (dsp, 257, {}).answered);

    const CallbackOutcome outcome = dsi.raiseHostCallback (dsp, 256, { 0x100, 5 });
    EXPECT_TRUE (outcome.answered);
    EXPECT_EQ (outcome.result, 17);
    EXPECT_EQ (outcome.word, 0x105) << "the word starts as the next argument";
    EXPECT_EQ (gCalledWith, dsp);
    EXPECT_NE (gCalledOn, std::this_thread::get_id());
}

} // namespace
