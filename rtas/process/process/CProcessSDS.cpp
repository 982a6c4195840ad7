// The process's link to the host's stream data service: the names of the instance and of its
// controls, the three listeners per control, and the control tokens it sends and services.

#include <cstdio>

#include "process/base/CDAEError.h"
#include "process/base/PointerWords.h"
#include "process/base/RoutineGuard.h"
#include "process/process/CProcess.h"
#include "process/process/SDSConnection.h"
#include "process/process/SDSControlToken.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PStrings.h"

namespace
{
// Tokens are serviced for at most this many ticks per call.
constexpr uint32_t kServiceTicks = 2;
constexpr const char* kInstanceNameSeparator = "/Inst";

// Gives a token back to the engine however its handling ends.
class HeldToken
{
public:
    explicit HeldToken (uint8_t* token) : fToken (token) {}
    ~HeldToken() { FicSDSDoneWithToken (fToken); }
    HeldToken (const HeldToken&) = delete;
    HeldToken& operator= (const HeldToken&) = delete;

private:
    uint8_t* fToken;
};

// Names and sets up a new listener; what the engine answers to each setting is not looked at.
void SetUpListener (FicObjectRef listener, int32_t nameId, uint32_t type, uint32_t subType, SListenerTaskValue* taskValue)
{
    FicSDSSetListenerName (listener, nameId);
    FicSDSSetListenerType (listener, type);
    FicSDSSetListenerSubType (listener, subType);
    FicSDSSetListenerGoal (listener, 0);
    FicSDSSetListenerCritical (listener, 0);
    FicSDSSetListenerLatest (listener, 1);
    FicSDSSetListenerTaskVal (listener, taskValue);
    FicSDSSetListenerTask (listener, gSDSObject);
    FicSDSSetListenerProtocol (listener, SDSToken::kProtocol);
    FicSDSSetListenerManufacturer (listener, SDSToken::kManufacturer);
}
}

int32_t CProcess::ReserveInstanceName (int32_t parentNameId)
{
    if (! HasSDS())
        return 0;
    if (fInstanceNameId != 0)
    {
        FreeControlNames();
        FreeInstanceName();
    }
    if (gSDSServer == 0)
        return 0;
    char baseName[kPStrMaxLength + 1] = {};
    GetBaseName (baseName);
    baseName[kPStrMaxLength] = '\0';
    // The base name gives way to the suffix, so that every instance asks for a name of its own
    // within a length-prefixed name.
    char suffix[32];
    const int suffixLength = std::snprintf (suffix, sizeof suffix, "%s%d", kInstanceNameSeparator, static_cast<int> (gInstanceSerial));
    char text[kPStrMaxLength + 1];
    std::snprintf (text, sizeof text, "%.*s%s", kPStrMaxLength - suffixLength, baseName, suffix);
    uint8_t name[kPStrMaxLength + 1];
    CopyCToPStr (text, name);
    int32_t nameId = 0;
    const int16_t result = FicSDSReserveName (parentNameId, name, &nameId);
    if (result == 0)
        fInstanceNameId = nameId;
    return result;
}

int32_t CProcess::ReserveControlNames()
{
    if (! HasSDS() || gSDSServer == 0)
        return 0;
    for (int32_t index = 1; index <= fSDS.ControlCount(); ++index)
    {
        char controlName[kControlNameLength + 1] = {};
        GetControlSDSName (index, controlName);
        uint8_t name[kPStrMaxLength + 1];
        CopyCToPStr (controlName, name);
        int32_t nameId = 0;
        if (const int16_t result = FicSDSReserveName (fInstanceNameId, name, &nameId))
            return result;
        fSDS.Entry (index)->nameId = nameId;
    }
    static const uint8_t kRootName[] = { 0 };
    return FicSDSGetNameId (0, kRootName, &fRootNameId);
}

int32_t CProcess::CreateControlListeners()
{
    if (! HasSDS() || gSDSServer == 0 || ! fSDS.IsAllocated())
        return 0;
    for (int32_t index = 1; index <= fSDS.ControlCount(); ++index)
        if (const int32_t result = CreateListenersFor (index))
            return result;
    return 0;
}

int32_t CProcess::CreateListenersFor (int32_t index)
{
    SListenerTaskValue* taskValue = fSDS.TaskValue (index);
    ControlSDSEntry& entry = *fSDS.Entry (index);
    *taskValue = { this, index };
    const struct
    {
        FicObjectRef* listener;
        uint32_t type;
        uint32_t subType;
    } listeners[] = {
        { &entry.currentValueListener, SDSToken::kCurrentValue, SDSToken::kControlValue },
        { &entry.getValueListener, SDSToken::kGetValue, SDSToken::kControlValue },
        { &entry.highlightListener, SDSToken::kSetValue, SDSToken::kControlHighlight },
    };
    for (const auto& kind : listeners)
    {
        *kind.listener = FicNewObject (gSDSServer, FicFindStandardType (gSDSServer, kSDSListenerTypeNumber));
        if (*kind.listener == 0)
            return RTASError::kNullPointer;
        SetUpListener (*kind.listener, entry.nameId, kind.type, kind.subType, taskValue);
    }
    return 0;
}

int32_t CProcess::DeleteControlListeners()
{
    for (int32_t index = 1; index <= fSDS.ControlCount(); ++index)
    {
        ControlSDSEntry& entry = *fSDS.Entry (index);
        for (FicObjectRef* listener : { &entry.currentValueListener, &entry.getValueListener, &entry.highlightListener })
        {
            if (*listener != 0)
                FicDelete (*listener);
            *listener = 0;
        }
    }
    return 0;
}

int32_t CProcess::FreeControlNames()
{
    int32_t result = 0;
    for (int32_t index = 1; index <= fSDS.ControlCount(); ++index)
    {
        ControlSDSEntry& entry = *fSDS.Entry (index);
        if (entry.nameId == 0)
            continue;
        char controlName[kControlNameLength + 1] = {};
        GetControlSDSName (index, controlName);
        uint8_t name[kPStrMaxLength + 1];
        CopyCToPStr (controlName, name);
        result = FicSDSFreeName (fInstanceNameId, name);
        entry.nameId = 0;
    }
    return result;
}

int32_t CProcess::FreeInstanceName()
{
    // An instance without a reserved name frees nothing: the engine takes parent 0 as the root.
    if (fInstanceNameId == 0)
        return 0;
    const int16_t result = FicSDSFreeName (fInstanceNameId, nullptr);
    fInstanceNameId = 0;
    return result;
}

int32_t CProcess::GetInstanceNameID (void** nameId)
{
    if (nameId != nullptr)
        *nameId = PointerOfWord<void> (fInstanceNameId);
    return 0;
}

int32_t CProcess::GetControlNameID (int32_t index, void** nameId)
{
    if (nameId != nullptr)
        *nameId = PointerOfWord<void> (ControlNameID (index));
    return 0;
}

int32_t CProcess::ControlNameID (int32_t index) const
{
    const ControlSDSEntry* entry = fSDS.Entry (index);
    return entry != nullptr ? entry->nameId : 0;
}

int32_t CProcess::DispatchControlToken (int32_t index, uint32_t type, uint32_t subType, int32_t value)
{
    const SDSControlToken token = SDSControlToken::WithValue (ControlNameID (index), type, subType, value);
    return FicSDSDispatchToken (token.Data());
}

int32_t CProcess::BeginControlTouch (int32_t index)
{
    ControlSDSEntry* entry = HasSDS() ? fSDS.Entry (index) : nullptr;
    if (entry == nullptr)
        return 0;
    if (entry->touchCount == 0)
    {
        FicSDSDispatchToken (SDSControlToken::Touch (entry->nameId, true).Data());
        FicSDSDispatchToken (SDSControlToken::Plain (fRootNameId, SDSToken::kSetValue, SDSToken::kTouchAll).Data());
    }
    ++entry->touchCount;
    return 0;
}

int32_t CProcess::EndControlTouch (int32_t index)
{
    ControlSDSEntry* entry = HasSDS() ? fSDS.Entry (index) : nullptr;
    // An end without its begin releases nothing.
    if (entry == nullptr || entry->touchCount <= 0)
        return 0;
    if (--entry->touchCount == 0)
        FicSDSDispatchToken (SDSControlToken::Touch (entry->nameId, false).Data());
    return 0;
}

int32_t CProcess::ServiceSDSTokens()
{
    if (! HasSDS())
        return 0;
    RoutineGuard guard (gRoutineLock);
    const auto& toolbox = HostToolbox();
    const uint32_t deadline = toolbox.TickCount() + kServiceTicks;
    while (static_cast<int32_t> (deadline - toolbox.TickCount()) > 0)
    {
        uint8_t* token = nullptr;
        void* taskValue = nullptr;
        if (FicSDSGetTokenAndTaskVal (gSDSObject, &token, &taskValue) != 0 || token == nullptr)
            break;
        HeldToken held (token);
        try
        {
            HandleToken (token, taskValue);
        }
        catch (...)
        {
            // A handler that throws (a control change reaching the view, say) ends only its own
            // token: the others are still serviced and the engine still gets its idle time.
        }
    }
    FicPersonalityDoIdle();
    return 0;
}

void CProcess::HandleToken (uint8_t* token, void* taskValue)
{
    const auto* task = static_cast<const SListenerTaskValue*> (taskValue);
    const uint32_t type = TokenType (token);
    const uint32_t subType = TokenSubType (token);
    if (task != nullptr && task->fProcess != nullptr)
    {
        CProcess& target = *task->fProcess;
        const int32_t index = task->fControlIndex;
        if (type == SDSToken::kCurrentValue && subType == SDSToken::kControlValue)
        {
            int32_t value = 0;
            if (ReadTokenValue (token, &value))
                target.ControlValueChanged (index, value);
            return;
        }
        if (type == SDSToken::kGetValue && subType == SDSToken::kControlValue)
        {
            int32_t value = 0;
            target.GetControlValue (index, &value);
            if (target.fSDS.Entry (index) != nullptr)
                target.DispatchControlToken (index, SDSToken::kCurrentValue, SDSToken::kControlValue, value);
            return;
        }
        if (type == SDSToken::kSetValue && subType == SDSToken::kControlHighlight)
        {
            SDSHighlightFields fields;
            if (ReadHighlightFields (token, &fields))
                target.SetControlHighlight (index, fields.on, fields.colour, fields.extra, fields.text);
            return;
        }
    }
    HandleOtherToken (token);
}
