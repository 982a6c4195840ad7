#pragma once
// The host callbacks through which the card driver asks the plug-in for a shell's services.
//
// The shell's host-code handler answers selectors 256 to 273 with the callback of the service of
// the same row of the card library's table, and every other selector, or any selector while the
// plug-in carries 'PEN ' resources, with null. A callback finds its DSP object through the DSP's
// client value among the objects that still exist, and calls the object's service; the services
// of selectors 256 to 261 run under the module's group lock when the host level is not 0 and a
// group exists that is not being destroyed (the callback holds a use of it, so the group is not
// destroyed before the callback has unlocked it). Without an object a callback answers the lookup's error (-7053 when the lookup
// itself succeeded). No exception leaves a callback: a CDAEError gives its code, anything else
// -7401. [driver thread]

#include <abi/DSI.h>

class CDSP;

DSIHostCallback DSPHostCodeHandler (int16_t selector);

// Every DSP object is known from construction until its destruction begins; a callback that is
// running keeps the object from being forgotten until it has returned. [any thread]
void RegisterDSPObject (CDSP* object);
void ForgetDSPObject (CDSP* object);
