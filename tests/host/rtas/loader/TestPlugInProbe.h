#pragma once
// What the test plug-in module shows the tests about itself, through its export
// "KestruneTestPlugInProbe", and the library utilities it lets them call.

#include <cstdint>

struct TestPlugInProbe
{
    int32_t groupsCreated;
    int32_t groupsInitialised;
    int32_t groupsDeleted;
    int32_t attachCalls; // DllMain with the attach reason
    int32_t detachCalls; // DllMain with the detach reason
    int32_t entryCalls; // DllMain passed the call on to the entry glue
    bool (*viewless)(); // IsViewlessMode of the module's library
    bool (*openedByWinPlugInOpen)();
    // PStrPadAndAppend of the module's library into the text: 0, or the code it threw.
    int32_t (*padAndAppend) (int32_t number, int16_t width, uint8_t* text);
    // The path of GetPlugInFileSpec of the module's library, or null when it threw.
    const char* (*plugInFilePath)();
    // HeldPlugInResFile of the module's library.
    int16_t (*heldPlugInResFile)();
};

inline constexpr const char* kTestPlugInProbeEntry = "KestruneTestPlugInProbe";

// The product and type identifiers that the test group answers for type index 0.
inline constexpr uint32_t kTestProductID = 0x4B535452; // 'KSTR'
inline constexpr uint32_t kTestTypeID = 0x514F5261; // 'QORa'
