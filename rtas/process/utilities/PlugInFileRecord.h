#pragma once
// The host file spec of the plug-in file, built once from the module's file name, and the
// plug-in's resource file while the group holds it open.

#include "abi/HostTypes.h"

// [host thread] The kept file spec; the first call makes it from the file name of the module
// that holds this library. A toolbox that cannot make it throws CDAEError with its error and
// keeps nothing, so the next call tries again.
const FSSpec& GetPlugInFileSpec();

// [host thread] Replaces the kept file spec.
void SetPlugInFileSpec (const FSSpec& spec);

// [host thread] The plug-in's resource file while the group holds it open, else 0: what a
// page-table load uses as it is instead of opening (and closing) the file again.
int16_t HeldPlugInResFile();
// [host thread] The group gives the file it holds open, and 0 when it closes it.
void SetHeldPlugInResFile (int16_t file);
