// What the module's exports need from the plug-in, and what they offer the rest of the library.
#pragma once

#include "AAX_VCollection.h"
#include "AAX_VHostServices.h"

// The plug-in's description: supplied by the plug-in linked with this library, called by
// ACFRegisterPlugin. [host thread]
int32_t GetEffectDescriptions (AAX_ICollection* collection);

// The host services made by ACFStartup; null before it and after ACFShutdown.
AAX_IHostServices* AAX_GetHostServices();

#define ACF_EXPORT extern "C" __attribute__ ((visibility ("default")))

ACF_EXPORT ACFRESULT ACFRegisterPlugin (IACFUnknown* host, IACFPluginDefinition** outDefinition);
ACF_EXPORT ACFRESULT ACFRegisterComponent (IACFUnknown* host, const acfCLSID* componentId, IACFUnknown** outComponent);
ACF_EXPORT ACFRESULT ACFGetClassFactory (IACFUnknown* host, const acfCLSID* classId, const acfIID* iid, void** outFactory);
ACF_EXPORT ACFRESULT ACFCanUnloadNow();
ACF_EXPORT ACFRESULT ACFStartup (IACFUnknown* host);
ACF_EXPORT ACFRESULT ACFShutdown (IACFUnknown* host);
ACF_EXPORT ACFRESULT ACFGetSDKVersion (uint64_t* outVersion);
