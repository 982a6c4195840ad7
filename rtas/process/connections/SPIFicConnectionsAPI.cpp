#include "process/connections/SPIFicConnectionsAPI.h"

#include "process/base/CDAEError.h"

int16_t SPIFicConnectionsAPI::ReactivateTalker (const SFicPlugInSpec* spec, int32_t port)
{
    return FicReactivateTalker (spec, static_cast<int16_t> (port));
}

int16_t SPIFicConnectionsAPI::DeactivateTalker (const SFicPlugInSpec* spec, int32_t port)
{
    return FicDeactivateTalker (spec, static_cast<int16_t> (port));
}

int16_t SPIFicConnectionsAPI::ReactivateListener (const SFicPlugInSpec* spec, int32_t port)
{
    return FicReactivateListener (spec, static_cast<int16_t> (port));
}

int16_t SPIFicConnectionsAPI::DeactivateListener (const SFicPlugInSpec* spec, int32_t port)
{
    return FicDeactivateListener (spec, static_cast<int16_t> (port));
}

int16_t SPIFicConnectionsAPI::Gestalt (uint32_t selector, int32_t* response)
{
    return FicGestalt (selector, response);
}

int16_t SPIFicConnectionsAPI::PrepareForConnections (int32_t flag)
{
    return FicPrepareForConnections (0, static_cast<int16_t> (flag));
}

uint8_t SPIFicConnectionsAPI::PrepareForConnectionsStatus()
{
    return static_cast<uint8_t> (FicPrepareForConnectionsStatus (0));
}

int16_t SPIFicConnectionsAPI::CreatePlugInSpec (SFicPlugInSpec* spec)
{
    if (spec == nullptr)
        return RTASError::kNullPointer;
    return FicCreatePlugInSpec (spec->fManufacturerID, spec->fProductID, spec->fPlugInID, spec);
}

SPIFicConnectionsAPI& PlugInConnectionsAPI()
{
    static SPIFicConnectionsAPI api;
    return api;
}
