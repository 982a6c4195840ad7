#include "entry/model/CPlugInPort.h"

#include "entry/CWordBuffer.h"
#include "entry/ObjectTracker.h"
#include "entry/model/CPlugIn.h"
#include "entry/model/ObjectModelResults.h"

CPlugInPort::CPlugInPort (CPlugIn* owner, int32_t portNumber) : fOwner (owner), fPortNumber (portNumber) {}

CPlugInPort::CPlugInPort (CPlugIn& owner, int32_t portNumber, const CSet<CPlugInPort>& side, ETrackedKind kind)
    : fOwner (&owner), fPortNumber (portNumber != 0 ? portNumber : side.GetCount() + 1), fRegistered (true)
{
    TrackerRegister (this, kind);
}

CPlugInPort::~CPlugInPort()
{
    if (fRegistered)
        TrackerUnregister (this);
}

bool CPlugInPort::IsConnected() { return fConnection != 0; }
bool CPlugInPort::Reserved1() { return true; }

int32_t CPlugInPort::Connect (int32_t connection)
{
    fConnection = connection;
    return 0;
}

int32_t CPlugInPort::Disconnect()
{
    fConnection = 0;
    return 0;
}

int32_t CPlugInPort::Reserved2 (int32_t* first, int32_t* second)
{
    PutOut (first, 0);
    PutOut (second, 0);
    return ObjectModelResult::kNotImplemented;
}

int32_t CPlugInPort::Reserved3() { return 0; }
int32_t CPlugInPort::Reserved4() { return ObjectModelResult::kNotImplemented; }
int32_t CPlugInPort::Reserved5() { return ObjectModelResult::kNotImplemented; }
int32_t CPlugInPort::Reserved6() { return ObjectModelResult::kNotImplemented; }
int32_t CPlugInPort::Reserved7() { return ObjectModelResult::kNotImplemented; }
int32_t CPlugInPort::Reserved8() { return ObjectModelResult::kNotImplemented; }
int32_t CPlugInPort::Reserved9() { return ObjectModelResult::kNotImplemented; }
int32_t CPlugInPort::Reserved10() { return ObjectModelResult::kNotImplemented; }
int32_t CPlugInPort::Reserved11() { return 0; }
void CPlugInPort::Reserved12() {}

void CPlugInPort::Publish()
{
    CWordBuffer description;
    description.AppendWord (kDescriptionVersion);
    description.AppendPointer (fOwner);
    description.AppendWord (fPortNumber);
    TrackerPublish (this, description);
}

CPlugInInput::CPlugInInput (CPlugIn& owner, int32_t portNumber)
    : CPlugInPort (owner, portNumber, owner.GetInputList(), ETrackedKind::kPlugInInput)
{
}

CPlugInOutput::CPlugInOutput (CPlugIn& owner, int32_t portNumber)
    : CPlugInPort (owner, portNumber, owner.GetOutputList(), ETrackedKind::kPlugInOutput)
{
}

int32_t CDefaultPlugInPort::Connect (int32_t) { return ObjectModelResult::kDefaultPort; }
int32_t CDefaultPlugInPort::Disconnect() { return ObjectModelResult::kDefaultPort; }

int32_t CDefaultPlugInPort::Reserved2 (int32_t*, int32_t*)
{
    return ObjectModelResult::kDefaultPort;
}

int32_t CDefaultPlugInPort::Reserved4() { return ObjectModelResult::kDefaultPort; }
int32_t CDefaultPlugInPort::Reserved5() { return ObjectModelResult::kDefaultPort; }
