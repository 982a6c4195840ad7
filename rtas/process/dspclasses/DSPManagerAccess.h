#pragma once
// The host's DSP manager, as the DSP objects and the DSP process types reach it.

#include <abi/DSPManager.h>

// [host thread] The manager's client interface, asked for once per process: GetDSPManager of
// DSPManager.dll for the module's group, queried for IID_IDSPManagerClient. The pointer is
// kept and both references are given back at once (the manager lives as long as its library);
// while the host has no manager the answer is null and the next call asks again.
IDSPManagerClient* DSPManagerClient();

// The manager's version (its first operation); 0 without a manager.
int32_t DSPManagerVersion();
