// The card library's functions imported by name and its run-time entry points, over the records
// and devices of CardLibrary. Their declarations come from the library's one table, so a
// definition that differs from it does not compile.

#include "CardKinds.h"
#include "CardLibrary.h"
#include "StandInExport.h"

#include <cstring>
#include <optional>

using namespace kestrune::host::rtas;

// The run-time entry points are implemented under these names; each build's linker script
// exports some of them under their decorated names.
#define KESTRUNE_DSI_DECLARE_STAND_IN(role, name, params, args) KESTRUNE_HOST_EXPORT int32_t KESTRUNE_DSI_CALL DsiStandIn_##role params;
KESTRUNE_DSI_ENTRY_POINTS (KESTRUNE_DSI_DECLARE_STAND_IN)
#undef KESTRUNE_DSI_DECLARE_STAND_IN

namespace
{

// Records the call and gives the injected failure, if any.
std::optional<int32_t> enter (const char* name, std::vector<int64_t> arguments)
{
    library().script().record (name, std::move (arguments));
    return library().script().takeFailure (name);
}

// The body of an entry point on a card or shell: records it, answers an injected failure,
// refuses a null handle or out pointer, and otherwise runs `answer` under the library's lock.
template <typename Handle, typename Answer>
int32_t entryPoint (const char* name, Handle handle, const void* out, std::vector<int64_t> arguments, Answer answer)
{
    arguments.insert (arguments.begin(), addressOf (handle));
    if (auto failure = enter (name, std::move (arguments)))
        return *failure;
    if (handle == nullptr || out == nullptr)
        return kDsiBadArgument;
    std::lock_guard guard (library().lock());
    return answer();
}

// The same for an entry point on a DSP, which also refuses a DSP the library does not know and
// hands `answer` the DSP's slot.
template <typename Answer>
int32_t dspEntryPoint (const char* name, DSIDSPRecord* dsp, const void* out, std::vector<int64_t> arguments, Answer answer)
{
    arguments.insert (arguments.begin(), addressOf (dsp));
    if (auto failure = enter (name, std::move (arguments)))
        return *failure;
    if (dsp == nullptr || out == nullptr)
        return kDsiBadArgument;
    std::lock_guard guard (library().lock());
    DSPSlot* slot = library().slotOf (dsp);
    return slot != nullptr ? answer (*slot) : kDsiBadArgument;
}

// The same again for an operation of the DSP's device, run with the bus held.
template <typename Answer>
int32_t deviceEntryPoint (const char* name, DSIDSPRecord* dsp, const void* out, std::vector<int64_t> arguments, Answer answer)
{
    return dspEntryPoint (name, dsp, out, std::move (arguments), [&] (DSPSlot& slot) {
        Bus::Hold hold;
        return answer (*slot.device);
    });
}

// Marks an entry point that hands out nothing, for the out-pointer checks.
const int kNoOut = 0;

const DSICardRecord* cardOf (const DSPSlot& slot)
{
    return slot.record->fCard;
}

} // namespace

// Functions imported by name.

KESTRUNE_HOST_EXPORT int16_t InitSADriver()
{
    if (auto failure = enter ("InitSADriver", {}))
        return int16_t (*failure);
    return 0;
}

KESTRUNE_HOST_EXPORT DSICardRecord* GetCardList()
{
    library().script().record ("GetCardList");
    std::lock_guard guard (library().lock());
    return library().firstCard();
}

KESTRUNE_HOST_EXPORT DSIDSPRecord* GetDSPList()
{
    library().script().record ("GetDSPList");
    std::lock_guard guard (library().lock());
    return library().firstDSP();
}

KESTRUNE_HOST_EXPORT DSIShellRecord* GetShellList()
{
    library().script().record ("GetShellList");
    std::lock_guard guard (library().lock());
    return library().firstShell();
}

KESTRUNE_HOST_EXPORT int16_t DsiLoadShell (DSIDSPRecord* dsp, DSIShellRecord* shell)
{
    return int16_t (dspEntryPoint ("DsiLoadShell", dsp, shell, { addressOf (shell) }, [&] (DSPSlot& slot) {
        LoadedShell load;
        load.shell = shell;
        load.id = shell->fID;
        load.isStandard = shell->fIsStandard;
        load.hadCode = shell->fDSPCode != nullptr;
        if (load.hadCode)
            std::memcpy (&load.firstCodeWord, shell->fDSPCode, sizeof load.firstCodeWord);
        slot.shell.loads.push_back (load);
        slot.record->fShell = shell;
        return 0;
    }));
}

KESTRUNE_HOST_EXPORT int16_t ResetDSP (DSIDSPRecord* dsp)
{
    return int16_t (dspEntryPoint ("ResetDSP", dsp, &kNoOut, {}, [&] (DSPSlot& slot) {
        slot.record->fShell = nullptr;
        ShellState fresh;
        fresh.loads = std::move (slot.shell.loads);
        slot.shell = std::move (fresh);
        return 0;
    }));
}

KESTRUNE_HOST_EXPORT int16_t DsiSendBlock (DSIDSPRecord* dsp, const int32_t* words, int32_t count, int32_t timeout)
{
    return int16_t (deviceEntryPoint ("DsiSendBlock", dsp, words, { count, timeout }, [&] (HostPortDevice& device) {
        for (int32_t i = 0; i < count; ++i)
            if (const int32_t error = device.wordToDSP (words[i]); error != 0)
                return error;
        return 0;
    }));
}

KESTRUNE_HOST_EXPORT int16_t DsiReceiveBlock (DSIDSPRecord* dsp, int32_t* words, int32_t count, int32_t timeout)
{
    return int16_t (deviceEntryPoint ("DsiReceiveBlock", dsp, words, { count, timeout }, [&] (HostPortDevice& device) {
        for (int32_t i = 0; i < count; ++i)
            if (const int32_t error = device.wordToHost (words[i]); error != 0)
                return error;
        return 0;
    }));
}

// The run-time entry points.

#define DSI_ENTRY(role, ...) int32_t KESTRUNE_DSI_CALL DsiStandIn_##role (__VA_ARGS__)

DSI_ENTRY (IsDSP321, DSIDSPRecord* dsp, int32_t* out)
{
    return dspEntryPoint ("_DsiIsDSP321@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = (slot.record->fFlags & kDSIFlagDSP321) != 0 ? 1 : 0;
        return 0;
    });
}

DSI_ENTRY (GetDSPCardIndex, DSIDSPRecord* dsp, int32_t* out)
{
    return dspEntryPoint ("_DsiGetDSPCardIndex@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = cardOf (slot) != nullptr ? cardOf (slot)->fCardIndex : -1;
        return 0;
    });
}

DSI_ENTRY (IsPresto, DSIDSPRecord* dsp, int32_t* out)
{
    return dspEntryPoint ("_DsiIsPresto@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = cardOf (slot) != nullptr && isPrestoCard (*cardOf (slot)) ? 1 : 0;
        return 0;
    });
}

DSI_ENTRY (IsTDM2, DSIDSPRecord* dsp, int32_t* out)
{
    return dspEntryPoint ("_DsiIsTDM2@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = cardOf (slot) != nullptr && isTDM2Kind (cardOf (slot)->fKind) ? 1 : 0;
        return 0;
    });
}

DSI_ENTRY (GetCardTypeFromDSP, DSIDSPRecord* dsp, int32_t* out)
{
    return dspEntryPoint ("_DsiGetCardTypeFromDSP@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = cardOf (slot) != nullptr ? cardOf (slot)->fKind : -1;
        return 0;
    });
}

DSI_ENTRY (DSPToDriverType, DSIDSPRecord* dsp, int32_t* out)
{
    return dspEntryPoint ("_DsiDSPToDriverType@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = driverTypeOfKind (cardOf (slot) != nullptr ? cardOf (slot)->fKind : -1);
        return 0;
    });
}

DSI_ENTRY (GetNextDSP, DSIDSPRecord* dsp, DSIDSPRecord** out)
{
    return dspEntryPoint ("_DsiGetNextDSP@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = slot.record->fNext;
        return 0;
    });
}

DSI_ENTRY (GetDSPClient, DSIDSPRecord* dsp, void** out)
{
    return dspEntryPoint ("_DsiGetDSPClient@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = slot.record->fClient;
        return 0;
    });
}

DSI_ENTRY (GetDSPClientVal, DSIDSPRecord* dsp, void** out)
{
    return dspEntryPoint ("_DsiGetDSPClientVal@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = slot.record->fClientValue;
        return 0;
    });
}

DSI_ENTRY (SetDSPClientVal, DSIDSPRecord* dsp, void* value)
{
    return dspEntryPoint ("_DsiSetDSPClientVal@8", dsp, &kNoOut, { addressOf (value) }, [&] (DSPSlot& slot) {
        slot.record->fClientValue = value;
        return 0;
    });
}

DSI_ENTRY (GetDSPShell, DSIDSPRecord* dsp, DSIShellRecord** out)
{
    return dspEntryPoint ("_DsiGetDSPShell@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = slot.record->fShell;
        return 0;
    });
}

DSI_ENTRY (GetDSPInfoRecord, DSIDSPRecord* dsp, DSIDSPInfoRecord* out)
{
    return dspEntryPoint ("_DsiGetDSPInfoRecord@8", dsp, out, {}, [&] (DSPSlot& slot) {
        std::memcpy (out, &slot.record->fInfo, sizeof *out);
        return 0;
    });
}

DSI_ENTRY (GetDSPCoreType, DSIDSPRecord* dsp, int32_t* out)
{
    return dspEntryPoint ("_DsiGetDSPCoreType@8", dsp, out, {}, [&] (DSPSlot& slot) {
        *out = slot.record->fCoreType;
        return 0;
    });
}

DSI_ENTRY (GetNextCard, DSICardRecord* card, DSICardRecord** out)
{
    return entryPoint ("_DsiGetNextCard@8", card, out, {}, [&] { *out = card->fNext; return 0; });
}

DSI_ENTRY (GetCardClient, DSICardRecord* card, void** out)
{
    return entryPoint ("_DsiGetCardClient@8", card, out, {}, [&] { *out = card->fClient; return 0; });
}

DSI_ENTRY (SetCardClient, DSICardRecord* card, void* client)
{
    return entryPoint ("_DsiSetCardClient@8", card, &kNoOut, { addressOf (client) }, [&] { card->fClient = client; return 0; });
}

DSI_ENTRY (GetCardClientVal, DSICardRecord* card, void** out)
{
    return entryPoint ("_DsiGetCardClientVal@8", card, out, {}, [&] { *out = card->fClientValue; return 0; });
}

DSI_ENTRY (SetCardClientVal, DSICardRecord* card, void* value)
{
    return entryPoint ("_DsiSetCardClientVal@8", card, &kNoOut, { addressOf (value) }, [&] { card->fClientValue = value; return 0; });
}

DSI_ENTRY (GetCardType, DSICardRecord* card, int32_t* out)
{
    return entryPoint ("_DsiGetCardType@8", card, out, {}, [&] { *out = card->fKind; return 0; });
}

DSI_ENTRY (GetFirstDSPOnCard, DSICardRecord* card, DSIDSPRecord** out)
{
    return entryPoint ("_DsiGetFirstDSPOnCard@8", card, out, {}, [&] { *out = card->fFirstDSP; return 0; });
}

DSI_ENTRY (GetNumDSPsOnCard, DSICardRecord* card, int32_t* out)
{
    return entryPoint ("_DsiGetNumDSPsOnCard@8", card, out, {}, [&] { *out = card->fDSPCount; return 0; });
}

DSI_ENTRY (IsCardTDM2, DSICardRecord* card, int32_t* out)
{
    return entryPoint ("_DsiIsCardTDM2@8", card, out, {}, [&] { *out = isTDM2Kind(card->fKind) ? 1 : 0; return 0; });
}

DSI_ENTRY (DoHostCommand, DSIDSPRecord* dsp, int32_t vector, int32_t timeout)
{
    return deviceEntryPoint ("_DsiDoHostCommand@12", dsp, &kNoOut, { vector, timeout }, [&] (HostPortDevice& device) {
        return device.command (vector);
    });
}

DSI_ENTRY (DoHostCommandOnEmptyHostPort, DSIDSPRecord* dsp, int32_t command, int32_t timeout)
{
    return deviceEntryPoint ("_DsiDoHostCommandOnEmptyHostPort@12", dsp, &kNoOut, { command, timeout }, [&] (HostPortDevice& device) {
        return device.commandOnEmptyPort (command);
    });
}

DSI_ENTRY (DoHostCommandWithDataList, DSIDSPRecord* dsp, int32_t command, int32_t sendFirst, int32_t readCount, int32_t* readWords, int32_t sendCount, const int32_t* sendWords)
{
    return deviceEntryPoint ("_DsiDoHostCommandWithDataList@28", dsp, &kNoOut, { command, sendFirst, readCount, sendCount }, [&] (HostPortDevice& device) {
        const auto send = [&] {
            for (int32_t i = 0; sendWords != nullptr && i < sendCount; ++i)
                if (const int32_t error = device.wordToDSP (sendWords[i]); error != 0)
                    return error;
            return 0;
        };
        if (sendFirst != 0)
            if (const int32_t error = send(); error != 0)
                return error;
        if (const int32_t error = device.command (command); error != 0)
            return error;
        if (sendFirst == 0)
            if (const int32_t error = send(); error != 0)
                return error;
        for (int32_t i = 0; readWords != nullptr && i < readCount; ++i)
            if (const int32_t error = device.wordToHost (readWords[i]); error != 0)
                return error;
        return 0;
    });
}

DSI_ENTRY (WaitHostBit, DSIDSPRecord* dsp, int32_t bit, int32_t value, int32_t timeout)
{
    return deviceEntryPoint ("_DsiWaitHostBit@16", dsp, &kNoOut, { bit, value, timeout }, [&] (HostPortDevice& device) {
        return device.waitHostBit (bit, value);
    });
}

DSI_ENTRY (SendLo24of32, DSIDSPRecord* dsp, int32_t word, int32_t timeout)
{
    return deviceEntryPoint ("_DsiSendLo24of32@12", dsp, &kNoOut, { word, timeout }, [&] (HostPortDevice& device) {
        return device.wordToDSP (word);
    });
}

DSI_ENTRY (GetLo24ofS32, DSIDSPRecord* dsp, int32_t* word, int32_t timeout)
{
    return deviceEntryPoint ("_DsiGetLo24ofS32@12", dsp, word, { timeout }, [&] (HostPortDevice& device) {
        return device.wordToHost (*word);
    });
}

DSI_ENTRY (SendLo24of32Check, DSIDSPRecord* dsp, int32_t word, int32_t timeout, int32_t* sent)
{
    return deviceEntryPoint ("_DsiSendLo24of32Check@16", dsp, sent, { word, timeout }, [&] (HostPortDevice& device) {
        *sent = device.wordToDSP (word) == 0 ? 1 : 0;
        return 0;
    });
}

DSI_ENTRY (GetLo24ofS32Check, DSIDSPRecord* dsp, int32_t* word, int32_t timeout, int32_t* received)
{
    return deviceEntryPoint ("_DsiGetLo24ofS32Check@16", dsp, received, { timeout }, [&] (HostPortDevice& device) {
        int32_t taken = 0;
        *received = word != nullptr && device.wordToHost (taken) == 0 ? 1 : 0;
        if (*received != 0)
            *word = taken;
        return 0;
    });
}

DSI_ENTRY (SetHostBit, DSIDSPRecord* dsp, int32_t bit, int32_t value)
{
    return deviceEntryPoint ("_DsiSetHostBit@12", dsp, &kNoOut, { bit, value }, [&] (HostPortDevice& device) {
        if (bit < 0 || bit >= 32)
            return kDsiBadArgument;
        device.setHostBit (bit, value);
        return 0;
    });
}

DSI_ENTRY (GetHostBit, DSIDSPRecord* dsp, int32_t bit, int32_t* value)
{
    return deviceEntryPoint ("_DsiGetHostBit@12", dsp, value, { bit }, [&] (HostPortDevice& device) {
        if (bit < 0 || bit >= 32)
            return kDsiBadArgument;
        *value = device.hostBit (bit);
        return 0;
    });
}

DSI_ENTRY (CreateShell, DSIShellRecord** shell)
{
    if (auto failure = enter ("_DsiCreateShell@4", { addressOf (shell) }))
        return *failure;
    if (shell == nullptr)
        return kDsiBadArgument;
    std::lock_guard guard (library().lock());
    *shell = library().createShell();
    return 0;
}

DSI_ENTRY (DestroyShell, DSIShellRecord* shell)
{
    return entryPoint ("_DsiDestroyShell@4", shell, &kNoOut, {}, [&] {
        return library().destroyShell (shell) ? 0 : kDsiBadArgument;
    });
}

DSI_ENTRY (GetShellClient, DSIShellRecord* shell, void** out)
{
    return entryPoint ("_DsiGetShellClient@8", shell, out, {}, [&] { *out = shell->fClient; return 0; });
}

DSI_ENTRY (GetShellClientVal, DSIShellRecord* shell, void** out)
{
    return entryPoint ("_DsiGetShellClientVal@8", shell, out, {}, [&] { *out = shell->fClientValue; return 0; });
}

DSI_ENTRY (SetShellID, DSIShellRecord* shell, uint32_t id)
{
    return entryPoint ("_DsiSetShellID@8", shell, &kNoOut, { id }, [&] { shell->fID = id; return 0; });
}

DSI_ENTRY (GetShellID, DSIShellRecord* shell, uint32_t* out)
{
    return entryPoint ("_DsiGetShellID@8", shell, out, {}, [&] { *out = shell->fID; return 0; });
}

DSI_ENTRY (SetShellIsStandard, DSIShellRecord* shell, int32_t standard)
{
    return entryPoint ("_DsiSetShellIsStandard@8", shell, &kNoOut, { standard }, [&] { shell->fIsStandard = standard; return 0; });
}

DSI_ENTRY (SetShellMaxLocation, DSIShellRecord* shell, int32_t location)
{
    return entryPoint ("_DsiSetShellMaxLocation@8", shell, &kNoOut, { location }, [&] { shell->fMaxLocation = location; return 0; });
}

DSI_ENTRY (SetShellDSPCode, DSIShellRecord* shell, void* code)
{
    return entryPoint ("_DsiSetShellDSPCode@8", shell, &kNoOut, { addressOf (code) }, [&] { shell->fDSPCode = code; return 0; });
}

DSI_ENTRY (ShellDSPCodeIsNULL, DSIShellRecord* shell, int32_t* out)
{
    return entryPoint ("_DsiShellDSPCodeIsNULL@8", shell, out, {}, [&] { *out = shell->fDSPCode == nullptr ? 1 : 0; return 0; });
}

DSI_ENTRY (SetShellHostCodeHandler, DSIShellRecord* shell, DSIHostCodeHandler handler)
{
    return entryPoint ("_DsiSetShellHostCodeHandler@8", shell, &kNoOut, { addressOf (reinterpret_cast<const void*> (handler)) }, [&] {
        shell->fHostCodeHandler = handler;
        return 0;
    });
}
