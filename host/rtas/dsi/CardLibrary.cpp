#include "CardLibrary.h"

#include "CardKinds.h"

#include "StandInExport.h"

#include <cstring>
#include <tuple>
#include <type_traits>

namespace kestrune::host::rtas
{

namespace
{
    constexpr size_t kCodeInfoBufferSize = 256;

    PortKind portKindOf (const DSICardRecord* card)
    {
        return card != nullptr && hasOnyxPort (*card) ? PortKind::Onyx : PortKind::Bytes;
    }

    DSIDSPRecord* recordIn (uint8_t* view)
    {
        // The information record starts the protected page.
        return reinterpret_cast<DSIDSPRecord*> (view + RegisterWindow::pageSize() - offsetof (DSIDSPRecord, fInfo));
    }

    // Fills a callback's parameters from the raised arguments, in order.
    class ArgumentFeed
    {
    public:
        ArgumentFeed (const std::vector<int32_t>& numbers, CallbackOutcome& outcome) : numbers_ (numbers), outcome_ (outcome) {}

        template <typename T>
        T take()
        {
            if constexpr (std::is_same_v<T, int32_t*>)
            {
                outcome_.word = nextNumber();
                return &outcome_.word;
            }
            else if constexpr (std::is_same_v<T, void*>)
            {
                outcome_.buffer.assign (kCodeInfoBufferSize, 0);
                return outcome_.buffer.data();
            }
            else
            {
                return T (nextNumber());
            }
        }

    private:
        int32_t nextNumber() { return next_ < numbers_.size() ? numbers_[next_++] : 0; }

        const std::vector<int32_t>& numbers_;
        size_t next_ = 0;
        CallbackOutcome& outcome_;
    };

    template <typename... Parameters>
    int16_t callWith (DSIHostCallback callback, DSIDSPRecord* dsp, ArgumentFeed& feed)
    {
        using Typed = int16_t (*) (DSIDSPRecord*, Parameters...);
        // A braced list takes the arguments from the feed in order.
        std::tuple<DSIDSPRecord*, Parameters...> arguments { dsp, feed.take<Parameters>()... };
        return std::apply (reinterpret_cast<Typed> (callback), arguments);
    }

    template <typename... Parameters>
    int16_t callAs (int16_t (*) (DSIDSPRecord*, Parameters...), DSIHostCallback callback, DSIDSPRecord* dsp, ArgumentFeed& feed)
    {
        return callWith<Parameters...> (callback, dsp, feed);
    }

    int16_t callTyped (int16_t selector, DSIHostCallback callback, DSIDSPRecord* dsp, ArgumentFeed& feed)
    {
        switch (selector)
        {
#define KESTRUNE_DSI_CALL_CASE(number, role, params, args) \
    case number: return callAs (&S##role, callback, dsp, feed);
            KESTRUNE_DSI_SHELL_SERVICES (KESTRUNE_DSI_CALL_CASE)
#undef KESTRUNE_DSI_CALL_CASE
            default: return int16_t (kDsiBadArgument);
        }
    }
} // namespace

DSPSlot::DSPSlot (RegisterWindow* registerWindow, PortKind kind)
    : window (registerWindow),
      hostRecord (recordIn (registerWindow->hostView())),
      record (recordIn (registerWindow->deviceView())),
      device (std::make_unique<HostPortDevice> (kind, *registerWindow))
{
}

DSPSlot::~DSPSlot()
{
    {
        Bus::Hold hold;
        window->setDevice (nullptr);
        device.reset();
    }
    RegisterWindow::destroy (window);
}

CardLibrary::~CardLibrary()
{
    dsps_.clear();
    Bus::uninstall();
}

void CardLibrary::reset()
{
    std::lock_guard guard (lock_);
    script_.reset();
    cards_.clear();
    {
        Bus::Hold hold;
        dsps_.clear();
    }
    shells_.clear();
    for (DSIShellRecord* shell : createdShells_)
        delete shell;
    createdShells_.clear();
}

DSICardRecord* CardLibrary::addCard (int32_t kind, int32_t revision)
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

DSIDSPRecord* CardLibrary::addDSP (DSICardRecord* card, uint32_t flags, int32_t coreType)
{
    std::lock_guard guard (lock_);
    RegisterWindow* window = RegisterWindow::create (&HostPortDevice::registerAccessed);
    if (window == nullptr)
        return nullptr;
    DSIDSPRecord* own = recordIn (window->deviceView());
    own->fCard = card;
    own->fFlags = flags;
    own->fCoreType = coreType;
    for (size_t i = 0; i < sizeof own->fInfo.fBytes; ++i)
        own->fInfo.fBytes[i] = uint8_t (dsps_.size() * 16 + i);
    std::memset (own->fInfo.fBytes + HostPortDevice::kIndexLocationWord, 0, sizeof (uint32_t));

    Bus::Hold hold;
    auto slot = std::make_unique<DSPSlot> (window, portKindOf (card));
    window->setDevice (slot->device.get());
    if (card != nullptr)
    {
        if (card->fFirstDSP == nullptr)
            card->fFirstDSP = slot->hostRecord;
        ++card->fDSPCount;
    }
    if (! dsps_.empty())
        dsps_.back()->record->fNext = slot->hostRecord;
    dsps_.push_back (std::move (slot));
    return dsps_.back()->hostRecord;
}

DSIShellRecord* CardLibrary::addShell()
{
    std::lock_guard guard (lock_);
    shells_.push_back (std::make_unique<DSIShellRecord>());
    if (shells_.size() > 1)
        shells_[shells_.size() - 2]->fNext = shells_.back().get();
    return shells_.back().get();
}

DSPSlot* CardLibrary::slotOf (const DSIDSPRecord* dsp)
{
    for (auto& slot : dsps_)
        if (slot->hostRecord == dsp)
            return slot.get();
    return nullptr;
}

template <typename Use>
void CardLibrary::withDevice (DSIDSPRecord* dsp, Use use)
{
    std::lock_guard guard (lock_);
    if (DSPSlot* slot = slotOf (dsp))
    {
        Bus::Hold hold;
        use (*slot->device);
    }
}

void CardLibrary::setHostBit (DSIDSPRecord* dsp, int32_t bit, int32_t value)
{
    withDevice (dsp, [&] (HostPortDevice& device) { device.setHostBit (bit, value); });
}

int32_t CardLibrary::hostBit (DSIDSPRecord* dsp, int32_t bit)
{
    int32_t value = 0;
    withDevice (dsp, [&] (HostPortDevice& device) { value = device.hostBit (bit); });
    return value;
}

void CardLibrary::queueWordsToHost (DSIDSPRecord* dsp, const std::vector<int32_t>& words)
{
    withDevice (dsp, [&] (HostPortDevice& device) { device.queueWordsToHost (words); });
}

std::vector<int32_t> CardLibrary::wordsFromHost (DSIDSPRecord* dsp)
{
    std::vector<int32_t> words;
    withDevice (dsp, [&] (HostPortDevice& device) { words = device.valuesOf (DeviceEvent::Kind::WordToDSP); });
    return words;
}

std::vector<int32_t> CardLibrary::hostCommands (DSIDSPRecord* dsp)
{
    std::vector<int32_t> commands;
    withDevice (dsp, [&] (HostPortDevice& device) { commands = device.valuesOf (DeviceEvent::Kind::Command); });
    return commands;
}

std::vector<DeviceEvent> CardLibrary::traffic (DSIDSPRecord* dsp)
{
    std::vector<DeviceEvent> events;
    withDevice (dsp, [&] (HostPortDevice& device) { events = device.traffic(); });
    return events;
}

void CardLibrary::setDead (DSIDSPRecord* dsp, bool dead)
{
    withDevice (dsp, [&] (HostPortDevice& device) { device.setDead (dead); });
}

void CardLibrary::setStatusFlags (DSIDSPRecord* dsp, uint32_t flags)
{
    withDevice (dsp, [&] (HostPortDevice& device) { device.setStatusFlags (flags); });
}

void CardLibrary::setTransmitDelay (DSIDSPRecord* dsp, int statusReads)
{
    withDevice (dsp, [&] (HostPortDevice& device) { device.setTransmitDelay (statusReads); });
}

void CardLibrary::giveIndexLocation (DSIDSPRecord* dsp)
{
    withDevice (dsp, [&] (HostPortDevice& device) { device.giveIndexLocation(); });
}

int CardLibrary::indexReads (DSIDSPRecord* dsp)
{
    int reads = 0;
    withDevice (dsp, [&] (HostPortDevice& device) { reads = device.indexReads(); });
    return reads;
}

ShellState CardLibrary::shellState (DSIDSPRecord* dsp)
{
    std::lock_guard guard (lock_);
    const DSPSlot* slot = slotOf (dsp);
    return slot != nullptr ? slot->shell : ShellState {};
}

int32_t CardLibrary::memoryWord (DSIDSPRecord* dsp, MemorySpace space, int32_t address)
{
    std::lock_guard guard (lock_);
    const DSPSlot* slot = slotOf (dsp);
    if (slot == nullptr)
        return 0;
    const auto& memory = slot->memory[size_t (space)];
    const auto found = memory.find (address);
    return found != memory.end() ? found->second : 0;
}

void CardLibrary::setMemoryWord (DSIDSPRecord* dsp, MemorySpace space, int32_t address, int32_t word)
{
    std::lock_guard guard (lock_);
    if (DSPSlot* slot = slotOf (dsp))
        slot->memory[size_t (space)][address] = word;
}

void CardLibrary::setCodeName (DSIDSPRecord* dsp, const std::string& name)
{
    std::lock_guard guard (lock_);
    if (DSPSlot* slot = slotOf (dsp))
        slot->codeName = name;
}

CallbackOutcome CardLibrary::raiseHostCallback (DSIDSPRecord* dsp, int16_t selector, const std::vector<int32_t>& arguments)
{
    DSIHostCodeHandler handler = nullptr;
    {
        std::lock_guard guard (lock_);
        if (const DSPSlot* slot = slotOf (dsp); slot != nullptr && slot->record->fShell != nullptr)
            handler = slot->record->fShell->fHostCodeHandler;
    }
    CallbackOutcome outcome;
    if (handler == nullptr)
        return outcome;
    // The driver asks and calls on its own thread, holding none of the library's locks.
    driver_.run ([&] {
        const DSIHostCallback callback = handler (selector);
        if (callback == nullptr)
            return;
        outcome.answered = true;
        ArgumentFeed feed (arguments, outcome);
        outcome.result = callTyped (selector, callback, dsp, feed);
    });
    return outcome;
}

size_t CardLibrary::liveShells()
{
    std::lock_guard guard (lock_);
    return createdShells_.size();
}

DSIShellRecord* CardLibrary::createShell()
{
    auto* shell = new DSIShellRecord {};
    createdShells_.insert (shell);
    return shell;
}

bool CardLibrary::destroyShell (DSIShellRecord* shell)
{
    if (createdShells_.erase (shell) == 0)
        return false;
    delete shell;
    return true;
}

CardLibrary& library()
{
    static CardLibrary instance;
    return instance;
}

} // namespace kestrune::host::rtas

KESTRUNE_HOST_EXPORT kestrune::host::rtas::DsiControl* KestruneDsiStandIn()
{
    return &kestrune::host::rtas::library();
}
