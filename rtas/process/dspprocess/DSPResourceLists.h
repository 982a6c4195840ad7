#pragma once
// The lists of DSP resources that the DSP process group owns and shares with its DSP process
// types: the identifiers of the DSPs the host gave the plug-in, the shells the host gave it, and
// the DSP objects made for those DSPs. The group is the one owner of every DSP object.

#include <cstdint>
#include <memory>
#include <vector>

class CProcessDSP;

using DSPIdentifierList = std::vector<int32_t>;
using ShellList = std::vector<int32_t>;
using ProcessDSPList = std::vector<std::unique_ptr<CProcessDSP>>;
