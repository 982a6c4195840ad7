// The host tool's state file: the chunks a plug-in instance reported, as the host keeps them.
//
// Layout (little-endian): the magic "KSTH", a 32-bit count, then per chunk a 32-bit length and
// that many bytes: the chunk record's 56-byte header followed by its data, whose size the
// header's size field gives.
#pragma once

#include "HostInstance.h"

#include <optional>
#include <vector>

namespace kestrune::tool
{
std::vector<uint8_t> encodeStateFile (const std::vector<host::aax::ChunkRecord>& chunks);
// Nothing when the bytes are not a complete, consistent state file.
std::optional<std::vector<host::aax::ChunkRecord>> decodeStateFile (const std::vector<uint8_t>& bytes);
} // namespace kestrune::tool
