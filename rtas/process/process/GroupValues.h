#pragma once
// What a process or a process type takes from the plug-in group when it is made.

#include <cstdint>

#include <abi/DAE.h>

// [host thread] The group's sample rate and its two shared settings; a new group's values while
// there is no group.
int32_t CurrentGroupSampleRate();
SFicTimeCodeInfo CurrentGroupSettingPair();
