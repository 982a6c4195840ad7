#pragma once
// The connection state of a process: its input and output connection tables over arrays that the
// caller owns. [host thread]

#include <cstdint>

#include "process/connections/ConnectionTable.h"

// The base of connection states; it has no operations of its own.
class PlugInConn
{
public:
    virtual ~PlugInConn() = default;
};

class AS_Conn : public PlugInConn
{
public:
    // Frees every port: the output array first, then the input array (a count of 0 or less
    // frees nothing).
    AS_Conn (int32_t inputCount, int32_t outputCount, int32_t* inputs, int32_t* outputs);

    virtual int32_t IsInputConnected (int32_t port, uint8_t* connected);
    virtual int32_t IsOutputConnected (int32_t port, uint8_t* connected);
    virtual int32_t CanConnectOutput (int32_t port, uint8_t* possible);
    virtual int32_t ConnectInput (int32_t port, int32_t handle);
    virtual int32_t DisconnectInput (int32_t port);
    virtual int32_t ConnectOutput (int32_t port, int32_t handle);
    virtual int32_t DisconnectOutput (int32_t port);
    // The counts as 16 bits; 0.
    virtual int32_t GetNumInputs (int16_t* count);
    virtual int32_t GetNumOutputs (int16_t* count);

private:
    int32_t fInputCount;
    int32_t fOutputCount;
    ConnectionTable fInputs;
    ConnectionTable fOutputs;
};
