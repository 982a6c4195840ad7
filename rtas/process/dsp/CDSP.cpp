#include "process/dsp/CDSP.h"

#include "process/base/CDAEError.h"
#include "process/base/PointerWords.h"
#include "process/dsp/DSIBinding.h"
#include "process/dsp/DsiCompat.h"
#include "process/dsp/DSPCodeResources.h"
#include "process/dsp/DSPHostCallbacks.h"

#include <cstring>
#include <utility>

namespace
{
constexpr int32_t kReleaseShellControlBit = 10;
constexpr int32_t kPortControlBit = 0;
constexpr int32_t kCardType18 = 18;
constexpr int32_t kCardType19 = 19;
constexpr int32_t kLargestPortCommand = 127;
// The information record's third word: the address of the DSP's index location, 0 for none.
constexpr size_t kIndexLocationWord = 56;
constexpr int32_t kReservedQueryAnswer = 2;

int32_t InfoWordAt (const DSIDSPInfoRecord& record, size_t offset)
{
    int32_t word = 0;
    std::memcpy (&word, record.fBytes + offset, sizeof word);
    return word;
}

bool ComputePenFlag()
{
    try
    {
        return CountPlugInResources (kPenResourceType) > 0;
    }
    catch (...)
    {
        return false;
    }
}

// A code block handed to a shell: the shell's code pointer is cleared again and the block freed
// when it is taken back, at the latest when this goes out of scope. Handing an empty block keeps
// the code the shell has.
class ShellCodeCopy
{
public:
    explicit ShellCodeCopy (DSIShellRecord* shell) : fShell (shell) {}
    ~ShellCodeCopy() { Take(); }
    ShellCodeCopy (const ShellCodeCopy&) = delete;
    ShellCodeCopy& operator= (const ShellCodeCopy&) = delete;

    void Hand (DSPCodeBlock block)
    {
        if (block.empty())
            return;
        Take();
        fBlock = std::move (block);
        DsiCompat_SetShellDSPCode (fShell, fBlock.data());
    }

    void Take()
    {
        if (fBlock.empty())
            return;
        DsiCompat_SetShellDSPCode (fShell, nullptr);
        fBlock.clear();
    }

private:
    DSIShellRecord* fShell;
    DSPCodeBlock fBlock;
};
}

CDSP::CDSP()
{
    PlugInHasPenResources();
    RegisterDSPObject (this);
}

CDSP::~CDSP()
{
    ForgetDSPObject (this);
    bool shellStillLoaded = false;
    try
    {
        if (fShellLoaded)
            ReleaseShell();
    }
    catch (...)
    {
        shellStillLoaded = true;
    }
    if (fDSP != nullptr && DsiCompat_GetDSPClientVal (fDSP) == this)
        DsiCompat_SetDSPClientVal (fDSP, nullptr);
    // A shell that the DSP may still run is left to the driver rather than freed under it.
    if (! shellStillLoaded)
        DestroyShell();
}

void CDSP::DestroyShell()
{
    if (fShell != nullptr)
        DsiCompat_DestroyShell (fShell);
    fShell = nullptr;
}

bool CDSP::PlugInHasPenResources()
{
    static const bool hasPen = ComputePenFlag();
    return hasPen;
}

void CDSP::Attach (DSIDSPRecord* dsp)
{
    if (fShellLoaded)
        ReleaseShell();
    fDSP = dsp;
    fUserCount = 0;
    if (dsp == nullptr)
        return;
    fUseDriver = DsiCompat_UseDsiEntries();
    fInfoRecord = {};
    DsiCompat_GetDSPInfoRecord (dsp, &fInfoRecord);
    fInfoWord32 = InfoWordAt (fInfoRecord, 32);
    fInfoWord44 = InfoWordAt (fInfoRecord, 44);
    // Known before the port record is set, whose sync reads it.
    fIndexLocation = InfoWordAt (fInfoRecord, kIndexLocationWord);
    // The registers are the driver's own record, never the copy.
    SetPortRecord (fUseDriver ? nullptr : dsp->fInfo.fBytes);

    DestroyShell();
    fShell = DsiCompat_CreateShell();
    ThrowIfNull (fShell);
    DsiCompat_SetShellID (fShell, kDSPShellID);
    DsiCompat_SetShellIsStandard (fShell, 1);
    DsiCompat_SetShellDSPCode (fShell, nullptr);
    DsiCompat_SetShellHostCodeHandler (fShell, &DSPHostCodeHandler);
    DsiCompat_SetShellMaxLocation (fShell, 0);
}

void CDSP::ReleaseShell()
{
    if (fDSP == nullptr)
        return;
    ClearControlBit (kReleaseShellControlBit);
    ThrowIfError (DsiLoadShell (fDSP, GetShellList()));
    fShellLoaded = false;
    DsiCompat_SetDSPClientVal (fDSP, nullptr);
}

bool CDSP::Lock() { return false; }
void CDSP::Unlock() {}
void CDSP::ReservedOperation (int32_t, int32_t, int32_t) {}

DSIDSPRecord* CDSP::FindFreeDSP()
{
    for (DSIDSPRecord* dsp = GetDSPList(); dsp != nullptr; dsp = DsiCompat_GetNextDSP (dsp))
        if (DsiCompat_GetDSPClient (dsp) == nullptr)
            return dsp;
    return nullptr;
}

// 1. The module's code resource, as raw data; without one (and no 'PEN ' resources) -7061.
// 2. With 'PEN ' resources: code already in the shell of a TDM2 card is -7059; otherwise the
//    'SACD' resource of the plug-in's resource file, as 24-bit words, replaces it; still no
//    code is -7061.
// 3. A DSP that does not run the driver's standard shells is reset and given them.
// 4. The DSP's client value names this object and the object's shell is loaded.
// The code copy is freed, and the shell's pointer to it cleared, on every path.
void CDSP::LoadDSPCode (HMODULE module, int16_t resourceID)
{
    if (fDSP == nullptr)
        return;
    ShellCodeCopy code (fShell);
    uint32_t size = 0;
    const auto* resource = static_cast<const uint8_t*> (LoadModuleResource (module, kDSPCodeResourceType, resourceID, &size));
    const bool pen = PlugInHasPenResources();
    if (resource == nullptr && ! pen)
        throw CDAEError (DSPError::kNoDSPCode);
    if (resource != nullptr)
        code.Hand (RawCodeBlock (resource, size));
    if (pen)
    {
        if (DsiCompat_IsTDM2 (fDSP) && ! DsiCompat_ShellDSPCodeIsNULL (fShell))
        {
            code.Take();
            throw CDAEError (DSPError::kCodeAlreadyLoaded);
        }
        code.Hand (LoadPlugInResourceAsWords (kSACDResourceType, resourceID));
        if (DsiCompat_ShellDSPCodeIsNULL (fShell))
            throw CDAEError (DSPError::kNoDSPCode);
    }

    DSIShellRecord* standard = GetShellList();
    if (DsiCompat_GetDSPShell (fDSP) != standard)
    {
        DsiCompat_SetDSPClientVal (fDSP, nullptr);
        ThrowIfError (ResetDSP (fDSP));
        ThrowIfError (DsiLoadShell (fDSP, standard));
    }

    DsiCompat_SetDSPClientVal (fDSP, this);
    if (const int16_t loaded = DsiLoadShell (fDSP, fShell); loaded != 0)
    {
        DsiCompat_SetDSPClientVal (fDSP, nullptr);
        ThrowIfError (loaded);
    }
    fShellLoaded = true;
}

int32_t CDSP::EncodeCommand (int32_t vector) const
{
    const int32_t command = vector + fCommandBase;
    if (fUseDriver)
        return command;
    return command >= 0 && command <= kLargestPortCommand ? command : -1;
}

int32_t CDSP::CommandFor (int32_t vector, int32_t& command) const
{
    if (fDSP == nullptr)
        return DSPError::kNoDSP;
    command = EncodeCommand (vector);
    return ! fUseDriver && command < 0 ? DSPError::kBadCommandVector : 0;
}

uint8_t CDSP::Register (int offset)
{
    return fPortRecord[offset];
}

void CDSP::SetRegister (int offset, uint8_t value)
{
    fPortRecord[offset] = value;
}

template <typename Ready>
bool CDSP::PollRegisters (Ready ready)
{
    for (int32_t poll = 0; poll < DSPWait::kRegisterPolls; ++poll)
        if (ready())
            return true;
    return false;
}

bool CDSP::PollStatus (uint8_t bit)
{
    return PollRegisters ([&] { return (Register (DSIHostPortBytes::kStatus) & bit) != 0; });
}

int32_t CDSP::HostCommand (int32_t vector)
{
    int32_t command = 0;
    if (const int32_t error = CommandFor (vector, command); error != 0)
        return error;
    if (fUseDriver)
        return ShimDsiDoHostCommand (fDSP, command, DSPWait::kDriverWord);
    return CommandOnRegisters (command);
}

int32_t CDSP::HostCommandOnEmptyPort (int32_t vector)
{
    int32_t command = 0;
    if (const int32_t error = CommandFor (vector, command); error != 0)
        return error;
    if (fUseDriver)
        return ShimDsiDoHostCommandOnEmptyHostPort (fDSP, command, DSPWait::kDriverWord);
    if (const int32_t error = WaitForEmptyPort(); error != 0)
        return error;
    return CommandOnRegisters (command);
}

int32_t CDSP::CommandThenData (int32_t vector, int32_t outCount, int32_t* out, std::initializer_list<int32_t> in)
{
    return CommandThenDataArray (vector, outCount, out, static_cast<int32_t> (in.size()), in.begin());
}

int32_t CDSP::DataThenCommand (int32_t vector, int32_t outCount, int32_t* out, std::initializer_list<int32_t> in)
{
    return DataThenCommandArray (vector, outCount, out, static_cast<int32_t> (in.size()), in.begin());
}

int32_t CDSP::CommandThenDataArray (int32_t vector, int32_t outCount, int32_t* out, int32_t inCount, const int32_t* in)
{
    return CommandWithData (vector, 0, outCount, out, inCount, in);
}

int32_t CDSP::DataThenCommandArray (int32_t vector, int32_t outCount, int32_t* out, int32_t inCount, const int32_t* in)
{
    return CommandWithData (vector, 1, outCount, out, inCount, in);
}

int32_t CDSP::CommandWithData (int32_t vector, int32_t order, int32_t outCount, int32_t* out, int32_t inCount, const int32_t* in)
{
    int32_t command = 0;
    if (const int32_t error = CommandFor (vector, command); error != 0)
        return error;
    if (fUseDriver)
        return ShimDsiDoHostCommandWithDataList (fDSP, command, order, outCount, out, inCount, in);
    const int32_t inWords = in != nullptr ? inCount : 0;
    if (order != 0)
        if (const int32_t error = SendWordsOnRegisters (in, inWords); error != 0)
            return error;
    if (const int32_t error = WaitForEmptyPort(); error != 0)
        return error;
    if (const int32_t error = CommandOnRegisters (command); error != 0)
        return error;
    if (order == 0)
        if (const int32_t error = SendWordsOnRegisters (in, inWords); error != 0)
            return error;
    for (int32_t i = 0; out != nullptr && i < outCount; ++i)
        if (const int32_t error = ReceiveWordOnRegisters (out[i]); error != 0)
            return error;
    return 0;
}

int32_t CDSP::ReceiveWordStatus (int32_t& word)
{
    if (fDSP == nullptr)
        return DSPError::kNoDSP;
    if (! fUseDriver)
        return ReceiveWordOnRegisters (word);
    int32_t received = 0;
    const int32_t status = ShimDsiGetLo24ofS32 (fDSP, &received, DSPWait::kDriverWord);
    if (status == 0)
        word = received;
    return status;
}

int32_t CDSP::ReceiveWord()
{
    int32_t word = 0;
    return ReceiveWordStatus (word) == 0 ? word : -1;
}

int32_t CDSP::SendWord (int32_t word)
{
    if (fDSP == nullptr)
        return DSPError::kNoDSP;
    if (fUseDriver)
        return ShimDsiSendLo24of32 (fDSP, word, DSPWait::kDriverWord);
    return SendWordOnRegisters (word);
}

int32_t CDSP::CheckBlock (const void* words, int32_t count) const
{
    if (fDSP == nullptr)
        return DSPError::kNoDSP;
    if (count > 0 && words == nullptr)
        return RTASError::kNullPointer;
    return 0;
}

int32_t CDSP::SendWords (const int32_t* words, int32_t count)
{
    if (const int32_t error = CheckBlock (words, count); error != 0 || count <= 0)
        return error;
    if (fUseDriver)
        return DsiSendBlock (fDSP, words, count, DSPWait::kDriverBlock);
    return SendWordsOnRegisters (words, count);
}

int32_t CDSP::ReceiveWords (int32_t* words, int32_t count)
{
    if (const int32_t error = CheckBlock (words, count); error != 0 || count <= 0)
        return error;
    if (fUseDriver)
        return DsiReceiveBlock (fDSP, words, count, DSPWait::kDriverBlock);
    for (int32_t i = 0; i < count; ++i)
        if (const int32_t error = ReceiveWordOnRegisters (words[i]); error != 0)
            return error;
    return 0;
}

// The byte registers.

int32_t CDSP::CommandOnRegisters (int32_t command)
{
    SyncPort();
    if (! PollRegisters ([&] { return (Register (DSIHostPortBytes::kCommandVector) & DSIHostPortBytes::kCommandPending) == 0; }))
        return DSPError::kTimedOut;
    SetRegister (DSIHostPortBytes::kCommandVector, static_cast<uint8_t> (command | DSIHostPortBytes::kCommandPending));
    SyncPort();
    return 0;
}

int32_t CDSP::WaitForEmptyPort()
{
    return PollStatus (DSIHostPortBytes::kStatusPortEmpty) ? 0 : DSPError::kTimedOut;
}

int32_t CDSP::ReceiveWordOnRegisters (int32_t& word)
{
    if (! PollStatus (DSIHostPortBytes::kStatusReceiveFull))
        return DSPError::kTimedOut;
    const uint32_t high = Register (DSIHostPortBytes::kDataHigh);
    const uint32_t middle = Register (DSIHostPortBytes::kDataMiddle);
    const uint32_t low = Register (DSIHostPortBytes::kDataLow);
    word = DSISignExtend24 ((high << 16) | (middle << 8) | low);
    return 0;
}

int32_t CDSP::SendWordOnRegisters (int32_t word)
{
    if (! PollStatus (DSIHostPortBytes::kStatusTransmitEmpty))
        return DSPError::kTimedOut;
    const auto value = static_cast<uint32_t> (word);
    SyncPort();
    SetRegister (DSIHostPortBytes::kDataHigh, static_cast<uint8_t> (value >> 16));
    SyncPort();
    SetRegister (DSIHostPortBytes::kDataMiddle, static_cast<uint8_t> (value >> 8));
    SyncPort();
    SetRegister (DSIHostPortBytes::kDataLow, static_cast<uint8_t> (value));
    return 0;
}

int32_t CDSP::SendWordsOnRegisters (const int32_t* words, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        if (const int32_t error = SendWordOnRegisters (words[i]); error != 0)
            return error;
    return 0;
}

int32_t CDSP::GetCardType()
{
    return DsiCompat_GetCardTypeFromDSP (fDSP);
}

int32_t CDSP::ReservedQuery() { return kReservedQueryAnswer; }
DSIDSPRecord* CDSP::GetDSP() { return fDSP; }
void CDSP::SetDSP (DSIDSPRecord* dsp) { fDSP = dsp; }
DSIShellRecord* CDSP::GetShell() { return fShell; }
int32_t CDSP::GetUserWord() { return fUserWord; }
void CDSP::SetUserWord (int32_t word) { fUserWord = word; }

#define KESTRUNE_CDSP_DEFINE_SERVICE(selector, role, params, args) \
    int16_t CDSP::role params                                      \
    {                                                              \
        if (fDSP == nullptr)                                       \
            return DSPError::kNoDSP;                               \
        const ScopedDSPLock lock (*this);                          \
        return S##role (fDSP KESTRUNE_DSI_AFTER_DSP args);         \
    }
KESTRUNE_DSI_SHELL_SERVICES (KESTRUNE_CDSP_DEFINE_SERVICE)
#undef KESTRUNE_CDSP_DEFINE_SERVICE

volatile uint8_t* CDSP::GetPortRecord()
{
    return fPortRecord;
}
int32_t CDSP::GetFirstInfoWord() { return fInfoWord32; }
int32_t CDSP::GetSecondInfoWord() { return fInfoWord44; }

void CDSP::SyncPort()
{
    if (fPortRecord == nullptr)
        return;
    if (fIndexLocation != 0)
        static_cast<void> (*PointerOfWord<volatile const uint32_t> (fIndexLocation));
    else
        static_cast<void> (fPortRecord[DSIHostPortBytes::kInterruptVector]);
}

void CDSP::SetPortRecord (uint8_t* record)
{
    fPortRecord = fUseDriver ? nullptr : record;
    const int32_t cardType = GetCardType();
    fCardType18 = cardType == kCardType18;
    fCardType18Or19 = cardType == kCardType18 || cardType == kCardType19;
    if (fPortRecord == nullptr)
        return;
    SyncPort();
    ClearControlBit (kPortControlBit);
}

void CDSP::ClearControlBit (int32_t bit)
{
    if (fDSP == nullptr || bit < 0 || bit > 31)
        return;
    if (fUseDriver)
    {
        ShimDsiSetHostBit (fDSP, bit, 0);
        return;
    }
    if (fPortRecord == nullptr)
        return;
    // The control register is a byte: a bit beyond it leaves the register as it was.
    const uint32_t value = Register (DSIHostPortBytes::kControl) & ~(1u << bit);
    SetRegister (DSIHostPortBytes::kControl, static_cast<uint8_t> (value));
    SyncPort();
}

int16_t CDSP::IncrementUserCount() { return ++fUserCount; }
int16_t CDSP::DecrementUserCount() { return --fUserCount; }
int16_t CDSP::GetUserCount() const { return fUserCount; }
