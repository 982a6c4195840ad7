#include "entry/model/CPlugIn.h"

#include <new>

#include "entry/CPlugInData.h"
#include "entry/CWordBuffer.h"
#include "entry/ObjectTracker.h"
#include "entry/model/CPlugInPort.h"
#include "entry/model/CPlugInType.h"
#include "entry/model/CPlugInUserInterface.h"
#include "entry/model/CPlugInWorker.h"
#include "entry/model/CSNPlugInControl.h"
#include "entry/model/ObjectModelResults.h"

using ObjectModelResult::kDefaultObject;
using ObjectModelResult::kNotImplemented;

// One side of the plug-in's ports, for changing its count.
struct CPlugIn::SPortSide
{
    CSet<CPlugInPort>& ports;
    bool (CPlugIn::*canChange)();
    CPlugInPort* (CPlugIn::*newPort) (int32_t);
    int32_t countFixed;
};

namespace
{
[[noreturn]] void ThrowNoPlugInType()
{
    throw ObjectModelResult::kNoPlugInType;
}

// Publishes the end of publishing also when publishing stops half way.
class PublishingBracket
{
public:
    explicit PublishingBracket (CPlugIn& plugIn) : fPlugIn (plugIn) { fPlugIn.PublishState (true); }
    ~PublishingBracket()
    {
        if (! fEnded)
        {
            try
            {
                fPlugIn.PublishState (false);
            }
            catch (...)
            {
            }
        }
    }
    void End()
    {
        fEnded = true;
        fPlugIn.PublishState (false);
    }

private:
    CPlugIn& fPlugIn;
    bool fEnded = false;
};
}

CPlugIn::CPlugIn (const SPlugInSpec& spec, CPlugInType* type) : fSpec (spec), fType (type)
{
    TrackerRegister (this, ETrackedKind::kPlugIn);
}

CPlugIn::~CPlugIn()
{
    fUserInterface.reset();
    TrackerUnregister (this);
    DeletePorts (fInputs);
    DeletePorts (fOutputs);
}

void CPlugIn::DeletePorts (CSet<CPlugInPort>& ports)
{
    ports.DestroyAll();
}

void CPlugIn::GetSpec (SPlugInSpec* spec)
{
    if (spec != nullptr)
        *spec = fSpec;
}

int32_t CPlugIn::GetNumInputs() { return fInputs.GetCount(); }
int32_t CPlugIn::GetNumOutputs() { return fOutputs.GetCount(); }

int32_t CPlugIn::SetNumInputs (int32_t count)
{
    return SetNumPorts ({ fInputs, &CPlugIn::CanChangeInputs, &CPlugIn::NewInput, ObjectModelResult::kInputCountFixed },
                        count);
}

int32_t CPlugIn::SetNumOutputs (int32_t count)
{
    return SetNumPorts ({ fOutputs, &CPlugIn::CanChangeOutputs, &CPlugIn::NewOutput, ObjectModelResult::kOutputCountFixed },
                        count);
}

int32_t CPlugIn::SetNumPorts (const SPortSide& side, int32_t count)
{
    if (count < 0)
        return 0;
    const int32_t current = side.ports.GetCount();
    if (count != current && ! (this->*side.canChange)())
        return side.countFixed;
    for (int32_t number = current + 1; number <= count; ++number)
    {
        std::unique_ptr<CPlugInPort> port ((this->*side.newPort) (number));
        if (port == nullptr)
            return ObjectModelResult::kNotCreated;
        side.ports.Add (port.get());
        port.release();
    }
    while (side.ports.GetCount() > count)
    {
        CPlugInPort* last = side.ports.GetAt (side.ports.GetCount());
        if (last == nullptr)
            return ObjectModelResult::kNotCreated;
        side.ports.Remove (last);
        delete last;
    }
    Register();
    return 0;
}

CPlugInPort* CPlugIn::GetInput (int32_t n)
{
    CPlugInPort* port = fInputs.GetAt (n);
    return port != nullptr ? port : GetDefaultPort();
}

CPlugInPort* CPlugIn::GetOutput (int32_t n)
{
    CPlugInPort* port = fOutputs.GetAt (n);
    return port != nullptr ? port : GetDefaultPort();
}

int32_t CPlugIn::GetNumControls() { return fControls.GetCount(); }

CSNPlugInControl* CPlugIn::GetControl (int32_t n)
{
    CSNPlugInControl* control = fControls.GetAt (n);
    return control != nullptr ? control : GetDefaultControl();
}

CPlugInUserInterface* CPlugIn::GetUserInterface()
{
    return fUserInterface != nullptr ? fUserInterface.get() : GetDefaultUserInterface();
}

int32_t CPlugIn::Reserved1() { return 0; }
int32_t CPlugIn::Reserved2() { return 0; }
void CPlugIn::Reserved3 (char* text) { ClearText (text); }
void CPlugIn::Reserved4 (int32_t* out) { PutOut (out, 0); }
int32_t CPlugIn::Reserved5() { return 0; }
int32_t CPlugIn::Reserved6() { return 0; }
bool CPlugIn::Reserved7() { return false; }
void CPlugIn::Reserved8() {}
void CPlugIn::Reserved9() {}
void CPlugIn::Reserved10() {}
void CPlugIn::Reserved11() {}
void CPlugIn::Reserved12() {}
void CPlugIn::Reserved13() {}
int32_t CPlugIn::Reserved14() { return 0; }
int32_t CPlugIn::Reserved15() { return kNotImplemented; }
bool CPlugIn::Reserved16() { return false; }
int32_t CPlugIn::Reserved17() { return kNotImplemented; }
bool CPlugIn::Reserved18() { return false; }
int32_t CPlugIn::Reserved19() { return kNotImplemented; }
int32_t CPlugIn::Reserved20() { return kNotImplemented; }
int32_t CPlugIn::Reserved21 (int32_t, int32_t second) { return second; }
int32_t CPlugIn::Reserved22() { return kNotImplemented; }
int32_t CPlugIn::Reserved23() { return kNotImplemented; }
int32_t CPlugIn::Reserved24() { return kNotImplemented; }
void CPlugIn::Reserved25 (char* text) { ClearText (text); }
int32_t CPlugIn::Reserved26() { return 0; }
int32_t CPlugIn::Reserved27() { return 0; }
int32_t CPlugIn::Reserved28() { return 0; }
int32_t CPlugIn::Reserved29() { return 0; }
void CPlugIn::Reserved30() {}
int32_t CPlugIn::Reserved31() { return 0; }
int32_t CPlugIn::Reserved32() { return kBlankCode; }
void CPlugIn::Reserved33 (char* text) { ClearText (text); }
int32_t CPlugIn::Reserved34() { return 0; }
int32_t CPlugIn::Reserved35() { return ObjectModelResult::kRefused; }
int32_t CPlugIn::Reserved36() { return ObjectModelResult::kRefused; }
bool CPlugIn::Reserved37() { return false; }
int32_t CPlugIn::Reserved38 (int32_t) { return 0; }
int32_t CPlugIn::Reserved39 (int32_t) { return 0; }
int32_t CPlugIn::Reserved40 (int32_t) { return 0; }
int32_t CPlugIn::Reserved41 (int32_t, int32_t) { return 0; }
int32_t CPlugIn::Reserved42() { return 0; }
int32_t CPlugIn::Reserved43 (uint8_t) { return 0; }
int32_t CPlugIn::Reserved44() { return 0; }

void CPlugIn::Register()
{
    CSet<CPlugInData> dataBlocks;
    for (CSet<CPlugInWorker>::Iterator worker (fWorkers); worker.IsValid(); worker.Next())
        for (CSet<CPlugInData>::Iterator block (worker.Current()->GetDataBlocks()); block.IsValid(); block.Next())
            dataBlocks.Add (block.Current());

    PublishingBracket bracket (*this);
    for (CSet<CPlugInPort>::Iterator input (fInputs); input.IsValid(); input.Next())
        input.Current()->Publish();
    for (CSet<CPlugInPort>::Iterator output (fOutputs); output.IsValid(); output.Next())
        output.Current()->Publish();
    for (CSet<CPlugInWorker>::Iterator worker (fWorkers); worker.IsValid(); worker.Next())
        worker.Current()->Publish();
    for (CSet<CPlugInData>::Iterator block (dataBlocks); block.IsValid(); block.Next())
        block.Current()->PublishLocked();

    CWordBuffer description;
    description.AppendWord (kDescriptionVersion);
    for (const int32_t word : fSpec.fWords)
        description.AppendWord (word);
    description.AppendSet (fInputs);
    description.AppendSet (fOutputs);
    description.AppendSet (fWorkers);
    TrackerPublish (this, description);
    bracket.End();
}

void CPlugIn::PublishState (bool publishing)
{
    CWordBuffer state;
    state.AppendWord (kDescriptionVersion);
    state.AppendWord (publishing ? kPlugInStatePublishing : kPlugInStatePublished);
    TrackerPublish (this, state);
}

int32_t CPlugIn::Reserved45 (int32_t* out)
{
    PutOut (out, 0);
    return 0;
}

int32_t CPlugIn::Reserved46 (int32_t* out)
{
    PutOut (out, 0);
    return 0;
}

int32_t CPlugIn::Reserved47() { return 0; }

void CPlugIn::Reserved48 (int32_t* record)
{
    if (record == nullptr)
        return;
    for (int32_t word = 8; word <= 12; ++word)
        record[word] = 0;
}

int32_t CPlugIn::NotSupported (int32_t* out)
{
    PutOut (out, 0);
    return kDefaultObject;
}

CPlugInPort* CPlugIn::GetDefaultPort()
{
    if (fType == nullptr)
        ThrowNoPlugInType();
    return &fType->GetDefaultPort();
}

CSNPlugInControl* CPlugIn::GetDefaultControl()
{
    if (fType == nullptr)
        ThrowNoPlugInType();
    return &fType->GetDefaultControl();
}

CPlugInUserInterface* CPlugIn::GetDefaultUserInterface()
{
    if (fType == nullptr)
        ThrowNoPlugInType();
    return &fType->GetDefaultUserInterface();
}

bool CPlugIn::CanChangeInputs() { return false; }
bool CPlugIn::CanChangeOutputs() { return false; }

CPlugInPort* CPlugIn::NewInput (int32_t n)
{
    return new (std::nothrow) CPlugInInput (*this, n);
}

CPlugInPort* CPlugIn::NewOutput (int32_t n)
{
    return new (std::nothrow) CPlugInOutput (*this, n);
}

void CPlugIn::SetUserInterface (std::unique_ptr<CPlugInUserInterface> userInterface)
{
    fUserInterface = std::move (userInterface);
}

int32_t CDefaultPlugIn::SetNumInputs (int32_t) { return kDefaultObject; }
int32_t CDefaultPlugIn::SetNumOutputs (int32_t) { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved15() { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved17() { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved19() { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved20() { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved22() { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved23() { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved24() { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved35() { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved36() { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved38 (int32_t) { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved39 (int32_t) { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved40 (int32_t) { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved41 (int32_t, int32_t) { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved42() { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved43 (uint8_t) { return kDefaultObject; }
int32_t CDefaultPlugIn::Reserved44() { return kDefaultObject; }
