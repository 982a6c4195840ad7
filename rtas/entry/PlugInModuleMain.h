#pragma once
// The plug-in module's entry point, as the Windows loader would call it: defined by the
// plug-in (its wrapper), run by the module's load and unload (PlugInModuleLoad.cpp).

#include <win/Win32.h>

extern "C" BOOL __attribute__ ((stdcall)) DllMain (HINSTANCE module, DWORD reason, LPVOID reserved);
