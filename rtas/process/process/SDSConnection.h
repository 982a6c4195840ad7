#pragma once
// The library's connection to the host's stream data service (SDS), shared by every group and
// process of the module. The process group connects and disconnects it and counts the instances
// it creates; the processes name their controls and listen through it.

#include <cstdint>

#include <abi/DAE.h>

// The engine's SDS server and the SDS task made on it; 0 while not connected.
extern FicObjectRef gSDSServer;
extern FicObjectRef gSDSObject;
// Process instances created since the group was constructed; numbers the instances' SDS names.
extern int32_t gInstanceSerial;

// The standard type numbers of the task and of a listener on the server.
inline constexpr int32_t kSDSTaskTypeNumber = 57;
inline constexpr int32_t kSDSListenerTypeNumber = 56;

// [host thread] Whether SDS is in use: the task exists.
inline bool HasSDS()
{
    return gSDSObject != 0;
}
