#pragma once
// The identity record under which the engine knows a process's talkers, listeners and MIDI
// client. [host thread]

#include <cstdint>

#include <abi/DAE.h>

#include "process/base/FourCharCode.h"

class CProcess;

// A mixer's identity: its records carry a marker in the instance word before the engine builds them.
inline constexpr uint32_t kMixerManufacturerID = FourCharCode ("HMkr");
inline constexpr uint32_t kMixerProductID = FourCharCode ("Mixr");
inline constexpr uint32_t kMixerInstanceMarker = 0x87654321;

// The group fills the process type's IDs, the engine builds the record from them, and the instance
// word takes the process's instance ID, which is answered. Throws CDAEError on a failure.
int32_t FillProcessPlugInSpec (CProcess& process, SFicPlugInSpec* spec);

// The manufacturer ID of a record made for no process.
inline constexpr uint32_t kNoProcessManufacturerID = FourCharCode ("XXXX");

// Registers a DirectMIDI client with the engine under a record filled for the process (a zeroed
// record with manufacturer 'XXXX' for none); the engine's result.
int16_t RegisterDirectMIDIClient (void* client, CProcess* process, void* object, void* context);
// The same with the process as the object.
int16_t RegisterDirectMIDIClient (void* client, CProcess* process, void* context);
int16_t UnregisterDirectMIDIClient (void* client);
