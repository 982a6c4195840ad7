#include "process/process/SDSConnection.h"

FicObjectRef gSDSServer = 0;
FicObjectRef gSDSObject = 0;
int32_t gInstanceSerial = 0;
