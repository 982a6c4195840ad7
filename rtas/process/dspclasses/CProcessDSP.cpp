#include "process/dspclasses/CProcessDSP.h"

#include "process/base/PointerWords.h"
#include "process/dsp/DSPGroupRequests.h"
#include "process/dsp/DSPHostCallbacks.h"
#include "process/dspclasses/DSPManagerAccess.h"
#include "process/utilities/HostExtToolbox.h"

#include <array>
#include <cstdio>
#include <string>

namespace
{
constexpr int16_t kCodeNameSelector = 1;
constexpr size_t kCodeInfoSize = 256;
constexpr size_t kRegionNameSize = 128; // at most 127 characters
constexpr size_t kMostCommandWords = 8;
constexpr int32_t kFlagOn = 0xFFFFFF;
constexpr uint32_t kLow24 = 0xFFFFFF;
constexpr int64_t kBytesPerStateWord = 4;

constexpr const char* kNullXState = "CProcessDSP::SetStateData anXStateMem == NULL.";
constexpr const char* kShortXState = "CProcessDSP::SetStateData anXStateMem valid, but too small!";
constexpr const char* kNullYState = "CProcessDSP::SetStateData anYStateMem == NULL.";
constexpr const char* kShortYState = "CProcessDSP::SetStateData anYStateMem valid, but too small!";
constexpr const char* kNegativeStateCount = "CProcessDSP::SetStateData word count below 0.";
constexpr const char* kNegativeTimeOfDay = "CProcessDSP::GetCurrentTimeOfDay TODHi is negative!";

// A word whose top 8 bits come from `high` and low 24 bits from `low`.
int32_t Combine24 (int32_t high, int32_t low)
{
    return static_cast<int32_t> ((static_cast<uint32_t> (high) << 24) | (static_cast<uint32_t> (low) & kLow24));
}

int32_t ReportBadStateMemory (const char* text)
{
    OutputDebugStringA (text);
    return ProcessDSPError::kBadStateMemory;
}

bool BlockHolds (Handle block, int32_t count)
{
    return HostToolbox().GetHandleSize (block) >= kBytesPerStateWord * count;
}

// A toolbox block locked for as long as its words are read.
class LockedBlock
{
public:
    explicit LockedBlock (Handle block) : fBlock (block)
    {
        if (fBlock != nullptr)
            HostToolbox().HLock (fBlock);
    }
    ~LockedBlock()
    {
        if (fBlock != nullptr)
            HostToolbox().HUnlock (fBlock);
    }
    LockedBlock (const LockedBlock&) = delete;
    LockedBlock& operator= (const LockedBlock&) = delete;

    const int32_t* Words() const { return fBlock != nullptr ? reinterpret_cast<const int32_t*> (*fBlock) : nullptr; }

private:
    Handle fBlock;
};
}

CProcessDSP::CProcessDSP() = default;

CProcessDSP::~CProcessDSP()
{
    // No driver callback may reach the object while it is taken apart.
    ForgetDSPObject (this);
    DeleteRegion();
}

void CProcessDSP::Attach (DSIDSPRecord* dsp)
{
    CDSP::Attach (dsp);
    DeleteRegion();
    fRegionDepth = 0;
    CreateRegion();
}

void CProcessDSP::CreateRegion()
{
    IDSPManagerClient* client = DSPManagerClient();
    const int32_t version = client != nullptr ? client->GetVersion() : 0;
    if (version < 1)
        return;
    if (version == 1)
    {
        fRegion = client->NewCriticalRegion();
        return;
    }
    std::array<uint8_t, kCodeInfoSize> name {};
    const int16_t status = GetDSPCodeInfo (kCodeNameSelector, name.data());
    char text[kRegionNameSize];
    if (status != 0 || name[0] == 0)
        std::snprintf (text, sizeof text, "CProcessDSP <unknown> cr");
    else
        std::snprintf (text, sizeof text, "CProcessDSP<%s> cr", std::string (reinterpret_cast<const char*> (name.data() + 1), name[0]).c_str());
    fRegion = client->NewNamedCriticalRegion (text);
}

void CProcessDSP::DeleteRegion()
{
    if (fRegion == nullptr)
        return;
    IDSPManagerClient* client = DSPManagerClient();
    if (client != nullptr && client->GetVersion() > 0)
        client->DeleteCriticalRegion (fRegion);
    fRegion = nullptr;
}

void CProcessDSP::EnterRegion()
{
    if (fRegion == nullptr)
        return;
    DSPManagerClient()->EnterCriticalRegion (fRegion);
    ++fRegionDepth;
}

void CProcessDSP::LeaveRegion()
{
    if (fRegion == nullptr)
        return;
    --fRegionDepth;
    DSPManagerClient()->LeaveCriticalRegion (fRegion);
}

bool CProcessDSP::Lock()
{
    const std::thread::id self = std::this_thread::get_id();
    if (fOwner.load() == self)
        return false;
    fExclusion.lock();
    EnterRegion();
    fOwner = self;
    return true;
}

void CProcessDSP::Unlock()
{
    if (fOwner.load() != std::this_thread::get_id())
        return;
    fOwner = std::thread::id();
    LeaveRegion();
    fExclusion.unlock();
}

void CProcessDSP::Barrier()
{
    const bool held = fOwner.load() == std::this_thread::get_id();
    if (! held)
        fExclusion.lock();
    EnterRegion();
    LeaveRegion();
    if (! held)
        fExclusion.unlock();
}

int16_t CProcessDSP::InitShell()
{
    const ScopedDSPLock lock (*this);
    HostCommand (fInitShellVector);
    return 0;
}

int16_t CProcessDSP::StartShell()
{
    const ScopedDSPLock lock (*this);
    HostCommand (fStartShellVector);
    return 0;
}

int16_t CProcessDSP::GetDSPCodeInfo (int16_t selector, void* buffer)
{
    const int32_t dsp = WordOfPointer (GetDSP());
    const int32_t status = QueryGroupForDSP (dsp, selector, static_cast<int16_t*> (buffer));
    if (status == kNoGroupForDSP)
        return CDSP::GetDSPCodeInfo (selector, buffer);
    return static_cast<int16_t> (status);
}

int32_t CProcessDSP::SendCommand (int32_t command, int32_t replyCount, int32_t* replies, std::initializer_list<int32_t> arguments)
{
    std::array<int32_t, kMostCommandWords> words {};
    words[0] = command;
    size_t count = 1;
    for (const int32_t argument : arguments)
        if (count < words.size())
            words[count++] = argument;
    const ScopedDSPLock lock (*this);
    return CommandThenDataArray (fCommandVector, replyCount, replies, static_cast<int32_t> (count), words.data());
}

int32_t CProcessDSP::CommandWord (int32_t command, std::initializer_list<int32_t> arguments)
{
    int32_t word = -1;
    return SendCommand (command, 1, &word, arguments) == 0 ? word : -1;
}

int32_t CProcessDSP::QueryState()
{
    const ScopedDSPLock lock (*this);
    const int32_t word = CommandWord (ProcessCommand::kQueryState, { -1, -1 });
    SendCommand (ProcessCommand::kQueryState, 0, nullptr, { -1, -1 });
    return word;
}

int32_t CProcessDSP::SendCommand1 (int32_t a, int32_t b, int32_t c, int32_t address)
{
    return SendCommand (ProcessCommand::k1, 0, nullptr, { a, b, c, address + fAddressOffset });
}

int32_t CProcessDSP::SendCommand2 (int32_t a, int32_t b, int32_t c, int32_t address)
{
    return SendCommand (ProcessCommand::k2, 0, nullptr, { a, b, c, address + fAddressOffset });
}

int32_t CProcessDSP::SendCommand1Default (int32_t a, int32_t b, int32_t c)
{
    return SendCommand1 (a, b, c, fDefaultWord1);
}

int32_t CProcessDSP::SendCommand2Default (int32_t a, int32_t b, int32_t c)
{
    return SendCommand2 (a, b, c, fDefaultWord2);
}

int32_t CProcessDSP::SendCommand3 (int32_t a, int32_t b, int32_t c)
{
    return SendCommand (ProcessCommand::k3, 0, nullptr, { a, b, c });
}

int32_t CProcessDSP::SendCommand4 (int32_t a, int32_t b, int32_t c)
{
    return SendCommand (ProcessCommand::k4, 0, nullptr, { a, b, c });
}

int32_t CProcessDSP::SendFlag6 (int32_t a, int32_t b, bool on)
{
    return SendCommand (ProcessCommand::kFlag6, 0, nullptr, { a, b, on ? kFlagOn : 0 });
}

int32_t CProcessDSP::SendFlag7 (int32_t a, int32_t b, bool on)
{
    return SendCommand (ProcessCommand::kFlag7, 0, nullptr, { a, b, on ? kFlagOn : 0 });
}

int32_t CProcessDSP::SetOffsetValue (int16_t value)
{
    fOffsetValue = value;
    return SendCommand (ProcessCommand::kFlag7, 0, nullptr, { -1, -1, value + fAddressOffset });
}

int32_t CProcessDSP::SetRange (int16_t x, int16_t y)
{
    fRangeX = x;
    fRangeY = y;
    return SendCommand (ProcessCommand::kRange, 0, nullptr, { -1, -1, x + fAddressOffset, y + fAddressOffset });
}

std::pair<int16_t, int16_t> CProcessDSP::GetRange()
{
    return { fRangeX, fRangeY };
}

int32_t CProcessDSP::StateDataCheck (Handle xBlock, int32_t xCount, Handle yBlock, int32_t yCount)
{
    if (xBlock == nullptr)
        return ReportBadStateMemory (kNullXState);
    if (xCount < 0 || yCount < 0)
        return ReportBadStateMemory (kNegativeStateCount);
    if (! BlockHolds (xBlock, xCount))
        return ReportBadStateMemory (kShortXState);
    if (yBlock == nullptr && yCount > 0)
        return ReportBadStateMemory (kNullYState);
    if (yBlock != nullptr && ! BlockHolds (yBlock, yCount))
        return ReportBadStateMemory (kShortYState);
    return 0;
}

int32_t CProcessDSP::SetStateData (Handle xBlock, int32_t xCount, Handle yBlock, int32_t yCount, int32_t c, int32_t d, int32_t e, int32_t f, int32_t g)
{
    if (const int32_t error = StateDataCheck (xBlock, xCount, yBlock, yCount); error != 0)
        return error;
    return SendStateData (xBlock, xCount, yBlock, yCount, c, d, e, f, g);
}

int32_t CProcessDSP::SendStateData (Handle xBlock, int32_t xCount, Handle yBlock, int32_t yCount, int32_t c, int32_t d, int32_t e, int32_t f, int32_t g)
{
    const ScopedDSPLock lock (*this);
    const LockedBlock xWords (xBlock);
    const LockedBlock yWords (yBlock);
    if (const int32_t error = SendCommand (ProcessCommand::kStateData, 0, nullptr, { f, g, e, xCount, d }); error != 0)
        return error;
    if (const int32_t error = SendWords (xWords.Words(), xCount); error != 0)
        return error;
    if (const int32_t error = SendWord (yCount); error != 0)
        return error;
    if (const int32_t error = SendWord (c); error != 0)
        return error;
    return SendWords (yWords.Words(), yCount);
}

int32_t CProcessDSP::SendCommand11 (int32_t word, int32_t b, int32_t c)
{
    const ScopedDSPLock lock (*this);
    if (SendCommand12() == -1)
        return ProcessDSPError::kCommand12Failed;
    const auto value = static_cast<uint32_t> (word);
    return SendCommand (ProcessCommand::k11, 0, nullptr, { -1, -1, c, b, static_cast<int32_t> (value >> 24), static_cast<int32_t> (value & kLow24) });
}

int32_t CProcessDSP::SendCommand13 (int32_t a, int32_t b)
{
    return CommandWord (ProcessCommand::k13, { a, b });
}

int32_t CProcessDSP::SendCommand12()
{
    return CommandWord (ProcessCommand::k12, { -1, -1 });
}

int32_t CProcessDSP::SendCommand14()
{
    return SendCommand (ProcessCommand::k14, 0, nullptr, { -1, -1 });
}

int32_t CProcessDSP::SendCommand15 (int32_t on)
{
    int32_t replies[2] = {};
    return SendCommand (ProcessCommand::k15, 2, replies, { -1, -1, on });
}

int32_t CProcessDSP::ReadCommand15 (int32_t on, int32_t a, int32_t b, int32_t* out)
{
    if (b == -1)
        return 0;
    const ScopedDSPLock lock (*this);
    if (const int32_t error = SendCommand (ProcessCommand::k15, 0, nullptr, { a, b }); error != 0)
        return error;
    int32_t replies[2] = {};
    if (const int32_t error = SendCommand (ProcessCommand::k15, 2, replies, { a, b, on }); error != 0)
        return error;
    if (out != nullptr)
        *out = Combine24 (replies[0], replies[1]);
    return 0;
}

int32_t CProcessDSP::GetCurrentTimeOfDay (int32_t* out)
{
    int32_t replies[2] = {};
    if (const int32_t error = SendCommand (ProcessCommand::kTimeOfDay, 2, replies, { -1, -1 }); error != 0)
        return error;
    if (replies[0] < 0)
        OutputDebugStringA (kNegativeTimeOfDay);
    if (out != nullptr)
        *out = Combine24 (replies[0], replies[1]);
    return 0;
}

int32_t CProcessDSP::GetAddressOffset() { return fAddressOffset; }
void CProcessDSP::SetCommandVector (int16_t vector) { fCommandVector = vector; }
void CProcessDSP::SetInitShellVector (int16_t vector) { fInitShellVector = vector; }
void CProcessDSP::SetStartShellVector (int16_t vector) { fStartShellVector = vector; }

bool CProcessDSP::SendWordChecked (int32_t word)
{
    return SendWord (word) == 0;
}

int32_t CProcessDSP::TryReceiveWord (bool& received)
{
    int32_t word = -1;
    received = ReceiveWordStatus (word) == 0;
    return received ? word : -1;
}

bool CProcessDSP::TransmitEmpty() { return true; }
bool CProcessDSP::ReceiveFull() { return true; }
