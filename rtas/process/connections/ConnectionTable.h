#pragma once
// The rules of a process's connection tables: one array of 32-bit connection handles for its
// inputs and one for its outputs, ports numbered from 1, a handle of 0 meaning not connected. The
// arrays belong to the caller; a table only reads and writes inside them.

#include <cstdint>

namespace ConnectionResult
{
inline constexpr int32_t kInputBusy = -7100;
inline constexpr int32_t kOutputBusy = -7101;
inline constexpr int32_t kStreamFormatRefused = -7104;
inline constexpr int32_t kPortOutOfRange = -7106;
inline constexpr int32_t kPortNotConnected = -7107;
}

class ConnectionTable
{
public:
    // A count of 0 or less is a table without ports.
    ConnectionTable (int32_t* handles, int32_t count);

    int32_t Count() const { return fCount; }
    bool IsPort (int32_t port) const { return port >= 1 && port <= fCount; }

    // -7106 outside 1..count; else whether the port holds a handle.
    int32_t IsConnected (int32_t port, uint8_t* connected) const;
    // Possible only for a free port in range; always 0.
    int32_t CanConnect (int32_t port, uint8_t* possible) const;
    // -7106 outside 1..count; busyCode when the port holds a handle and the new one is not 0;
    // else stores the handle (0 disconnects).
    int32_t Connect (int32_t port, int32_t handle, int32_t busyCode);
    // -7106 outside 1..count; -7107 when the port is free; else frees it.
    int32_t Disconnect (int32_t port);
    void Clear();

private:
    int32_t& HandleAt (int32_t port) const { return fHandles[port - 1]; }

    int32_t* fHandles;
    int32_t fCount;
};

// The connect rules with the busy codes of inputs and outputs.
int32_t ConnectInput (ConnectionTable& inputs, int32_t port, int32_t handle);
int32_t ConnectOutput (ConnectionTable& outputs, int32_t port, int32_t handle);
// Frees every port: the outputs first, then the inputs.
void ClearConnections (ConnectionTable& inputs, ConnectionTable& outputs);
