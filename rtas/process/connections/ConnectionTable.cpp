#include "process/connections/ConnectionTable.h"

ConnectionTable::ConnectionTable (int32_t* handles, int32_t count)
    : fHandles (handles), fCount (handles != nullptr && count > 0 ? count : 0)
{
}

int32_t ConnectionTable::IsConnected (int32_t port, uint8_t* connected) const
{
    if (! IsPort (port))
        return ConnectionResult::kPortOutOfRange;
    if (connected != nullptr)
        *connected = HandleAt (port) != 0 ? 1 : 0;
    return 0;
}

int32_t ConnectionTable::CanConnect (int32_t port, uint8_t* possible) const
{
    if (possible != nullptr)
        *possible = IsPort (port) && HandleAt (port) == 0 ? 1 : 0;
    return 0;
}

int32_t ConnectionTable::Connect (int32_t port, int32_t handle, int32_t busyCode)
{
    if (! IsPort (port))
        return ConnectionResult::kPortOutOfRange;
    if (HandleAt (port) != 0 && handle != 0)
        return busyCode;
    HandleAt (port) = handle;
    return 0;
}

int32_t ConnectionTable::Disconnect (int32_t port)
{
    if (! IsPort (port))
        return ConnectionResult::kPortOutOfRange;
    if (HandleAt (port) == 0)
        return ConnectionResult::kPortNotConnected;
    HandleAt (port) = 0;
    return 0;
}

void ConnectionTable::Clear()
{
    for (int32_t port = 1; port <= fCount; ++port)
        HandleAt (port) = 0;
}

int32_t ConnectInput (ConnectionTable& inputs, int32_t port, int32_t handle)
{
    return inputs.Connect (port, handle, ConnectionResult::kInputBusy);
}

int32_t ConnectOutput (ConnectionTable& outputs, int32_t port, int32_t handle)
{
    return outputs.Connect (port, handle, ConnectionResult::kOutputBusy);
}

void ClearConnections (ConnectionTable& inputs, ConnectionTable& outputs)
{
    outputs.Clear();
    inputs.Clear();
}
