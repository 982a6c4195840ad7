#include "process/connections/ProcessIdentity.h"

#include "process/base/CDAEError.h"
#include "process/process/CProcess.h"

int32_t FillProcessPlugInSpec (CProcess& process, SFicPlugInSpec* spec)
{
    ThrowIfNull (spec);
    process.FillPlugInSpecIDs (spec);
    if (spec->fManufacturerID == kMixerManufacturerID && spec->fProductID == kMixerProductID)
        spec->fInstanceWord = kMixerInstanceMarker;
    ThrowIfNonZero (FicCreatePlugInSpec (spec->fManufacturerID, spec->fProductID, spec->fPlugInID, spec));
    const int32_t instanceID = process.GetInstanceID();
    spec->fInstanceWord = static_cast<uint32_t> (instanceID);
    return instanceID;
}

int16_t RegisterDirectMIDIClient (void* client, CProcess* process, void* object, void* context)
{
    SFicPlugInSpec spec {};
    spec.fManufacturerID = kNoProcessManufacturerID;
    if (process != nullptr)
        FillProcessPlugInSpec (*process, &spec);
    return FicRegisterDirectMIDIClient (client, object, &spec, context);
}

int16_t RegisterDirectMIDIClient (void* client, CProcess* process, void* context)
{
    return RegisterDirectMIDIClient (client, process, process, context);
}

int16_t UnregisterDirectMIDIClient (void* client)
{
    return FicUnRegisterDirectMIDIClient (client);
}
