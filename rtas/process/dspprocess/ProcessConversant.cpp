#include "process/dspprocess/ProcessConversant.h"

#include <vector>

#include "process/connections/ProcessIdentity.h"
#include "process/connections/SPIFicConnectionsAPI.h"
#include "process/dspprocess/CDSPProcess.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/type/CProcessType.h"

namespace
{
// The side-chain port the group reports for the process's type; 0 for none.
int32_t SideChainPortOf (CDSPProcess& process)
{
    CProcessType* type = process.GetType();
    CProcessGroupInterface* group = type != nullptr ? type->GetGroup() : nullptr;
    if (group == nullptr)
        return 0;
    uint32_t typeID = 0;
    type->GetProductID (&typeID);
    int32_t port = 0;
    group->GetCardInfo (typeID, kSideChainCardInfoKey, &port);
    return port > 0 ? port : 0;
}

using ConnectionCall = int16_t (SFicConnectionsAPI::*) (const SFicPlugInSpec*, int32_t);

int32_t SwitchPorts (SProcessConversant& conversant, const std::vector<int32_t>& ports, ConnectionCall call)
{
    for (const int32_t port : ports)
    {
        const int16_t result = (conversant.fConnections->*call) (&conversant.fSpec, port);
        if (result != 0 && result != kConnectionAlreadyInState)
            return result;
    }
    return 0;
}

std::vector<int32_t> TalkerPorts (const SProcessConversant& conversant)
{
    std::vector<int32_t> ports;
    for (int32_t n = 0; n < conversant.fOutputs; ++n)
        ports.push_back (conversant.fFirstOutput + n);
    return ports;
}

std::vector<int32_t> ListenerPorts (SProcessConversant& conversant)
{
    std::vector<int32_t> ports;
    for (int32_t n = 0; n < conversant.fInputs; ++n)
        if (conversant.IsInputConnected (conversant.fFirstInput + n) != 0)
            ports.push_back (conversant.fFirstInput + n);
    if (conversant.fSideChain != 0 && conversant.IsInputConnected (conversant.fSideChainIndex) != 0)
        ports.push_back (conversant.fSideChainIndex);
    return ports;
}
}

SProcessConversant::SProcessConversant (CDSPProcess& process)
{
    FillProcessPlugInSpec (process, &fSpec);
    fInputs = process.GetNumInputsOrThrow();
    fFirstInput = process.GetFirstInputIndex();
    fOutputs = process.GetNumOutputsOrThrow();
    fFirstOutput = process.GetFirstOutputIndex();
    fSideChainIndex = SideChainPortOf (process);
    fSideChain = fSideChainIndex > 0 ? 1 : 0;
    fConnections = &PlugInConnectionsAPI();
    fProcess = &process;
}

uint8_t SProcessConversant::IsInputConnected (int32_t port)
{
    uint8_t connected = 0;
    fProcess->IsInputConnected (port, &connected);
    return connected;
}

int32_t DeactivateTalkers (SProcessConversant& conversant)
{
    return SwitchPorts (conversant, TalkerPorts (conversant), &SFicConnectionsAPI::DeactivateTalker);
}

int32_t ReactivateTalkers (SProcessConversant& conversant)
{
    return SwitchPorts (conversant, TalkerPorts (conversant), &SFicConnectionsAPI::ReactivateTalker);
}

int32_t DeactivateListeners (SProcessConversant& conversant)
{
    return SwitchPorts (conversant, ListenerPorts (conversant), &SFicConnectionsAPI::DeactivateListener);
}

int32_t ReactivateListeners (SProcessConversant& conversant)
{
    return SwitchPorts (conversant, ListenerPorts (conversant), &SFicConnectionsAPI::ReactivateListener);
}
