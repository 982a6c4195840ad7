#pragma once
// The host file spec of the plug-in file, built once from the module's file name.

#include "abi/HostTypes.h"

// [host thread] The kept file spec; the first call makes it from the file name of the module
// that holds this library. A toolbox that cannot make it throws CDAEError with its error and
// keeps nothing, so the next call tries again.
const FSSpec& GetPlugInFileSpec();

// [host thread] Replaces the kept file spec.
void SetPlugInFileSpec (const FSSpec& spec);
