#pragma once
// The card library's answers for old and new DSI.dll alike: through the run-time entry points
// when all of them are bound (DSIBinding.h), otherwise from the records that DSI.dll hands out.
// A null DSP, card or shell gets the empty answer (false, null, -1 for a number). [host thread]

#include <abi/DSI.h>

bool DsiCompat_UseDsiEntries();

// Starts the driver (its error thrown as CDAEError) and looks for a card of the kind; with the
// entry points, kind 29 asks instead whether any DSP sits on a TDM2 card.
bool DsiCompat_FindCard (int32_t kind);
bool DsiCompat_HasDSP321();

// 0 and the DSP's 80-byte information record, or the entry point's error.
int32_t DsiCompat_GetDSPInfoRecord (DSIDSPRecord* dsp, DSIDSPInfoRecord* info);
void* DsiCompat_GetDSPClient (DSIDSPRecord* dsp);
void* DsiCompat_GetDSPClientVal (DSIDSPRecord* dsp);
int32_t DsiCompat_SetDSPClientVal (DSIDSPRecord* dsp, void* value);
int32_t DsiCompat_GetCardTypeFromDSP (DSIDSPRecord* dsp);
DSIDSPRecord* DsiCompat_GetNextDSP (DSIDSPRecord* dsp);

// Always through the entry points (an old DSI.dll has no answer: null, -1).
DSIShellRecord* DsiCompat_GetDSPShell (DSIDSPRecord* dsp);
int32_t DsiCompat_GetDSPCoreType (DSIDSPRecord* dsp);
int32_t DsiCompat_SetShellID (DSIShellRecord* shell, uint32_t id);
int32_t DsiCompat_SetShellIsStandard (DSIShellRecord* shell, int32_t standard);
int32_t DsiCompat_SetShellMaxLocation (DSIShellRecord* shell, int32_t location);
int32_t DsiCompat_SetShellDSPCode (DSIShellRecord* shell, void* code);
int32_t DsiCompat_SetShellHostCodeHandler (DSIShellRecord* shell, DSIHostCodeHandler handler);

bool DsiCompat_IsDSP321 (DSIDSPRecord* dsp);
// Card kind 26; 28 below revision 3; 31 up to revision 3.
bool DsiCompat_IsPresto (DSIDSPRecord* dsp);
// Card kind 25, 26, 28, 30 or 31.
bool DsiCompat_IsTDM2 (DSIDSPRecord* dsp);
bool DsiCompat_IsCardType21 (DSIDSPRecord* dsp);
bool DsiCompat_IsCardType18 (DSIDSPRecord* dsp);
// The driver type of the DSP's card kind (see the table in DsiCompat.cpp), -1 for others.
int32_t DsiCompat_DSPToDriverType (DSIDSPRecord* dsp);
// The driver type that the records give for a card kind, -1 for a kind without one.
int32_t DsiCompat_DriverTypeOfCardKind (int32_t kind);

// Without the entry points a shell is a zeroed 286-byte record of the library's; one made
// there is destroyed here too.
DSIShellRecord* DsiCompat_CreateShell();
void DsiCompat_DestroyShell (DSIShellRecord* shell);
bool DsiCompat_ShellDSPCodeIsNULL (DSIShellRecord* shell);

// The card index of the DSP's card from the records; 0 with the entry points.
int32_t DsiCompat_GetDSPIndexField (DSIDSPRecord* dsp);
