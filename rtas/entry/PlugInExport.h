#pragma once
// Marks the functions that the plug-in module exports to the host: C linkage, visible to the
// dynamic loader. The calling convention of the routine table is the host's stdcall.

#define KESTRUNE_RTAS_EXPORT extern "C" __attribute__ ((visibility ("default")))
#define KESTRUNE_RTAS_STDCALL __attribute__ ((stdcall))
