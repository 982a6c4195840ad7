#include "process/connections/AS_Conn.h"

AS_Conn::AS_Conn (int32_t inputCount, int32_t outputCount, int32_t* inputs, int32_t* outputs)
    : fInputCount (inputCount), fOutputCount (outputCount), fInputs (inputs, inputCount), fOutputs (outputs, outputCount)
{
    ClearConnections (fInputs, fOutputs);
}

int32_t AS_Conn::IsInputConnected (int32_t port, uint8_t* connected)
{
    return fInputs.IsConnected (port, connected);
}

int32_t AS_Conn::IsOutputConnected (int32_t port, uint8_t* connected)
{
    return fOutputs.IsConnected (port, connected);
}

int32_t AS_Conn::CanConnectOutput (int32_t port, uint8_t* possible)
{
    return fOutputs.CanConnect (port, possible);
}

int32_t AS_Conn::ConnectInput (int32_t port, int32_t handle)
{
    return ::ConnectInput (fInputs, port, handle);
}

int32_t AS_Conn::DisconnectInput (int32_t port)
{
    return fInputs.Disconnect (port);
}

int32_t AS_Conn::ConnectOutput (int32_t port, int32_t handle)
{
    return ::ConnectOutput (fOutputs, port, handle);
}

int32_t AS_Conn::DisconnectOutput (int32_t port)
{
    return fOutputs.Disconnect (port);
}

int32_t AS_Conn::GetNumInputs (int16_t* count)
{
    if (count != nullptr)
        *count = static_cast<int16_t> (fInputCount);
    return 0;
}

int32_t AS_Conn::GetNumOutputs (int16_t* count)
{
    if (count != nullptr)
        *count = static_cast<int16_t> (fOutputCount);
    return 0;
}
