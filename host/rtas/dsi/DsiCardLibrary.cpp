// The stand-in card library: cards, DSPs and shells as records that tests fill, the functions
// imported by name, and the run-time entry points over the same records.

#include "DsiControl.h"
#include "StandInExport.h"

#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>

using namespace kestrune::host::rtas;

namespace
{

struct HostPort
{
    int32_t bits[32] = {};
    std::deque<int32_t> toHost;
    std::vector<int32_t> fromHost;
    std::vector<int32_t> commands;
};

int32_t signExtend24 (int32_t word)
{
    const int32_t low = word & 0xFFFFFF;
    return (low & 0x800000) != 0 ? low - 0x1000000 : low;
}

bool isTDM2Kind (int32_t kind)
{
    return kind == 25 || kind == 26 || kind == 28 || kind == 30 || kind == 31;
}

bool isPrestoCard (const DSICardRecord& card)
{
    return card.fKind == 26 || (card.fKind == 28 && card.fRevision < 3) || (card.fKind == 31 && card.fRevision <= 3);
}

int32_t driverTypeOfKind (int32_t kind)
{
    switch (kind)
    {
        case 10: return 1072;
        case 18: return 60960;
        case 20: return 61056;
        case 21: return 61072;
        case 25:
        case 26:
        case 28:
        case 29:
        case 31: return 61120;
        default: return -1;
    }
}

class CardLibrary final : public DsiControl
{
public:
    void reset() override
    {
        std::lock_guard guard (lock_);
        script_.reset();
        cards_.clear();
        dsps_.clear();
        shells_.clear();
        for (DSIShellRecord* shell : createdShells_)
            delete shell;
        createdShells_.clear();
        ports_.clear();
    }

    StandInScript& script() override { return script_; }

    DSICardRecord* addCard (int32_t kind, int32_t revision) override
    {
        std::lock_guard guard (lock_);
        auto card = std::make_unique<DSICardRecord>();
        card->fKind = kind;
        card->fRevision = revision;
        card->fCardIndex = int32_t (cards_.size());
        if (! cards_.empty())
            cards_.back()->fNext = card.get();
        cards_.push_back (std::move (card));
        return cards_.back().get();
    }

    DSIDSPRecord* addDSP (DSICardRecord* card, uint32_t flags, int32_t coreType) override
    {
        std::lock_guard guard (lock_);
        auto dsp = std::make_unique<DSIDSPRecord>();
        dsp->fCard = card;
        dsp->fFlags = flags;
        dsp->fCoreType = coreType;
        for (size_t i = 0; i < sizeof dsp->fInfo.fBytes; ++i)
            dsp->fInfo.fBytes[i] = uint8_t (dsps_.size() * 16 + i);
        if (card != nullptr)
        {
            if (card->fFirstDSP == nullptr)
                card->fFirstDSP = dsp.get();
            ++card->fDSPCount;
        }
        if (! dsps_.empty())
            dsps_.back()->fNext = dsp.get();
        dsps_.push_back (std::move (dsp));
        return dsps_.back().get();
    }

    DSIShellRecord* addShell() override
    {
        std::lock_guard guard (lock_);
        shells_.push_back (std::make_unique<DSIShellRecord>());
        if (shells_.size() > 1)
            shells_[shells_.size() - 2]->fNext = shells_.back().get();
        return shells_.back().get();
    }

    void setHostBit (DSIDSPRecord* dsp, int32_t bit, int32_t value) override
    {
        std::lock_guard guard (lock_);
        if (bit >= 0 && bit < 32)
            ports_[dsp].bits[bit] = value != 0 ? 1 : 0;
    }

    int32_t hostBit (DSIDSPRecord* dsp, int32_t bit) override
    {
        std::lock_guard guard (lock_);
        return bit >= 0 && bit < 32 ? ports_[dsp].bits[bit] : 0;
    }

    void queueWordsToHost (DSIDSPRecord* dsp, const std::vector<int32_t>& words) override
    {
        std::lock_guard guard (lock_);
        auto& queue = ports_[dsp].toHost;
        queue.insert (queue.end(), words.begin(), words.end());
    }

    std::vector<int32_t> wordsFromHost (DSIDSPRecord* dsp) override
    {
        std::lock_guard guard (lock_);
        return ports_[dsp].fromHost;
    }

    std::vector<int32_t> hostCommands (DSIDSPRecord* dsp) override
    {
        std::lock_guard guard (lock_);
        return ports_[dsp].commands;
    }

    size_t liveShells() override
    {
        std::lock_guard guard (lock_);
        return createdShells_.size();
    }

    // For the exported functions.
    std::mutex& lock() { return lock_; }
    DSICardRecord* firstCard() { return cards_.empty() ? nullptr : cards_.front().get(); }
    DSIDSPRecord* firstDSP() { return dsps_.empty() ? nullptr : dsps_.front().get(); }
    DSIShellRecord* firstShell() { return shells_.empty() ? nullptr : shells_.front().get(); }
    HostPort& port (DSIDSPRecord* dsp) { return ports_[dsp]; }
    DSIShellRecord* createShell()
    {
        auto* shell = new DSIShellRecord {};
        createdShells_.insert (shell);
        return shell;
    }
    bool destroyShell (DSIShellRecord* shell)
    {
        if (createdShells_.erase (shell) == 0)
            return false;
        delete shell;
        return true;
    }

private:
    std::mutex lock_;
    StandInScript script_;
    std::vector<std::unique_ptr<DSICardRecord>> cards_;
    std::vector<std::unique_ptr<DSIDSPRecord>> dsps_;
    std::vector<std::unique_ptr<DSIShellRecord>> shells_;
    std::set<DSIShellRecord*> createdShells_;
    std::map<DSIDSPRecord*, HostPort> ports_;
};

CardLibrary& library()
{
    static CardLibrary instance;
    return instance;
}

// Records the call and gives the injected failure, if any.
std::optional<int32_t> enter (const char* name, std::vector<int64_t> arguments)
{
    library().script().record (name, std::move (arguments));
    return library().script().takeFailure (name);
}

// The body of every entry point: records it, answers an injected failure, refuses a null handle
// or out pointer, and otherwise runs `answer` under the library's lock.
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

// Marks an entry point that hands out nothing, for entryPoint's out-pointer check.
const int kNoOut = 0;

} // namespace

KESTRUNE_HOST_EXPORT DsiControl* KestruneDsiStandIn()
{
    return &library();
}

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

// The run-time entry points: each build's linker script exports some of them under their
// decorated names.

#define DSI_ENTRY(role, ...) KESTRUNE_HOST_EXPORT int32_t KESTRUNE_DSI_CALL DsiStandIn_##role (__VA_ARGS__)

DSI_ENTRY (IsDSP321, DSIDSPRecord* dsp, int32_t* out)
{
    return entryPoint ("_DsiIsDSP321@8", dsp, out, {}, [&] { *out = (dsp->fFlags & kDSIFlagDSP321) != 0 ? 1 : 0; return 0; });
}

DSI_ENTRY (GetDSPCardIndex, DSIDSPRecord* dsp, int32_t* out)
{
    return entryPoint ("_DsiGetDSPCardIndex@8", dsp, out, {}, [&] { *out = dsp->fCard != nullptr ? dsp->fCard->fCardIndex : -1; return 0; });
}

DSI_ENTRY (IsPresto, DSIDSPRecord* dsp, int32_t* out)
{
    return entryPoint ("_DsiIsPresto@8", dsp, out, {}, [&] { *out = dsp->fCard != nullptr && isPrestoCard(*dsp->fCard) ? 1 : 0; return 0; });
}

DSI_ENTRY (IsTDM2, DSIDSPRecord* dsp, int32_t* out)
{
    return entryPoint ("_DsiIsTDM2@8", dsp, out, {}, [&] { *out = dsp->fCard != nullptr && isTDM2Kind(dsp->fCard->fKind) ? 1 : 0; return 0; });
}

DSI_ENTRY (GetCardTypeFromDSP, DSIDSPRecord* dsp, int32_t* out)
{
    return entryPoint ("_DsiGetCardTypeFromDSP@8", dsp, out, {}, [&] { *out = dsp->fCard != nullptr ? dsp->fCard->fKind : -1; return 0; });
}

DSI_ENTRY (DSPToDriverType, DSIDSPRecord* dsp, int32_t* out)
{
    return entryPoint ("_DsiDSPToDriverType@8", dsp, out, {}, [&] { *out = driverTypeOfKind(dsp->fCard != nullptr ? dsp->fCard->fKind : -1); return 0; });
}

DSI_ENTRY (GetNextDSP, DSIDSPRecord* dsp, DSIDSPRecord** out)
{
    return entryPoint ("_DsiGetNextDSP@8", dsp, out, {}, [&] { *out = dsp->fNext; return 0; });
}

DSI_ENTRY (GetDSPClient, DSIDSPRecord* dsp, void** out)
{
    return entryPoint ("_DsiGetDSPClient@8", dsp, out, {}, [&] { *out = dsp->fClient; return 0; });
}

DSI_ENTRY (GetDSPClientVal, DSIDSPRecord* dsp, void** out)
{
    return entryPoint ("_DsiGetDSPClientVal@8", dsp, out, {}, [&] { *out = dsp->fClientValue; return 0; });
}

DSI_ENTRY (SetDSPClientVal, DSIDSPRecord* dsp, void* value)
{
    return entryPoint ("_DsiSetDSPClientVal@8", dsp, &kNoOut, { addressOf (value) }, [&] { dsp->fClientValue = value; return 0; });
}

DSI_ENTRY (GetDSPShell, DSIDSPRecord* dsp, DSIShellRecord** out)
{
    return entryPoint ("_DsiGetDSPShell@8", dsp, out, {}, [&] { *out = dsp->fShell; return 0; });
}

DSI_ENTRY (GetDSPInfoRecord, DSIDSPRecord* dsp, DSIDSPInfoRecord* out)
{
    return entryPoint ("_DsiGetDSPInfoRecord@8", dsp, out, {}, [&] { std::memcpy(out, &dsp->fInfo, sizeof *out); return 0; });
}

DSI_ENTRY (GetDSPCoreType, DSIDSPRecord* dsp, int32_t* out)
{
    return entryPoint ("_DsiGetDSPCoreType@8", dsp, out, {}, [&] { *out = dsp->fCoreType; return 0; });
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
    return entryPoint ("_DsiDoHostCommand@12", dsp, &kNoOut, { vector, timeout }, [&] {
        library().port (dsp).commands.push_back (vector);
        return 0;
    });
}

DSI_ENTRY (DoHostCommandOnEmptyHostPort, DSIDSPRecord* dsp, int32_t command, int32_t timeout)
{
    return entryPoint ("_DsiDoHostCommandOnEmptyHostPort@12", dsp, &kNoOut, { command, timeout }, [&] {
        HostPort& port = library().port (dsp);
        if (port.bits[2] == 0)
            return kDsiTimeout;
        port.commands.push_back (command);
        return 0;
    });
}

DSI_ENTRY (DoHostCommandWithDataList, DSIDSPRecord* dsp, int32_t command, int32_t sendFirst, int32_t readCount,
           int32_t* readWords, int32_t sendCount, const int32_t* sendWords)
{
    return entryPoint ("_DsiDoHostCommandWithDataList@28", dsp, &kNoOut, { command, sendFirst, readCount, sendCount }, [&] {
        HostPort& port = library().port (dsp);
        const auto send = [&] {
            for (int32_t i = 0; sendWords != nullptr && i < sendCount; ++i)
                port.fromHost.push_back (sendWords[i] & 0xFFFFFF);
        };
        if (sendFirst != 0)
            send();
        port.commands.push_back (command);
        if (sendFirst == 0)
            send();
        for (int32_t i = 0; readWords != nullptr && i < readCount; ++i)
        {
            if (port.toHost.empty())
                return kDsiTimeout;
            readWords[i] = signExtend24 (port.toHost.front());
            port.toHost.pop_front();
        }
        return 0;
    });
}

DSI_ENTRY (WaitHostBit, DSIDSPRecord* dsp, int32_t bit, int32_t value, int32_t timeout)
{
    return entryPoint ("_DsiWaitHostBit@16", dsp, &kNoOut, { bit, value, timeout }, [&] {
        if (bit < 0 || bit >= 32)
            return kDsiBadArgument;
        return library().port (dsp).bits[bit] == (value != 0 ? 1 : 0) ? 0 : kDsiTimeout;
    });
}

DSI_ENTRY (SendLo24of32, DSIDSPRecord* dsp, int32_t word, int32_t timeout)
{
    return entryPoint ("_DsiSendLo24of32@12", dsp, &kNoOut, { word, timeout }, [&] {
        library().port (dsp).fromHost.push_back (word & 0xFFFFFF);
        return 0;
    });
}

DSI_ENTRY (GetLo24ofS32, DSIDSPRecord* dsp, int32_t* word, int32_t timeout)
{
    return entryPoint ("_DsiGetLo24ofS32@12", dsp, word, { timeout }, [&] {
        auto& queue = library().port (dsp).toHost;
        if (queue.empty())
            return kDsiTimeout;
        *word = signExtend24 (queue.front());
        queue.pop_front();
        return 0;
    });
}

DSI_ENTRY (SendLo24of32Check, DSIDSPRecord* dsp, int32_t word, int32_t timeout, int32_t* sent)
{
    return entryPoint ("_DsiSendLo24of32Check@16", dsp, sent, { word, timeout }, [&] {
        library().port (dsp).fromHost.push_back (word & 0xFFFFFF);
        *sent = 1;
        return 0;
    });
}

DSI_ENTRY (GetLo24ofS32Check, DSIDSPRecord* dsp, int32_t* word, int32_t timeout, int32_t* received)
{
    return entryPoint ("_DsiGetLo24ofS32Check@16", dsp, received, { timeout }, [&] {
        auto& queue = library().port (dsp).toHost;
        *received = queue.empty() || word == nullptr ? 0 : 1;
        if (*received != 0)
        {
            *word = signExtend24 (queue.front());
            queue.pop_front();
        }
        return 0;
    });
}

DSI_ENTRY (SetHostBit, DSIDSPRecord* dsp, int32_t bit, int32_t value)
{
    return entryPoint ("_DsiSetHostBit@12", dsp, &kNoOut, { bit, value }, [&] {
        if (bit < 0 || bit >= 32)
            return kDsiBadArgument;
        library().port (dsp).bits[bit] = value != 0 ? 1 : 0;
        return 0;
    });
}

DSI_ENTRY (GetHostBit, DSIDSPRecord* dsp, int32_t bit, int32_t* value)
{
    return entryPoint ("_DsiGetHostBit@12", dsp, value, { bit }, [&] {
        if (bit < 0 || bit >= 32)
            return kDsiBadArgument;
        *value = library().port (dsp).bits[bit];
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
    return entryPoint ("_DsiSetShellHostCodeHandler@8", shell, &kNoOut, { addressOf (reinterpret_cast<const void*> (handler)) },
                       [&] { shell->fHostCodeHandler = handler; return 0; });
}
