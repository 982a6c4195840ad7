#pragma once
// The resource list: the small text from which the resource tool writes a module's resources
// or a ".rsr" resource file. One directive per line; a line starting with '#' is a comment;
// tokens are separated by blanks, and a token in double quotes may hold blanks and the escapes
// \" \\ \n \t \xHH.
//
//   version <file a.b.c.d> [<product a.b.c.d>]     the fixed version (product defaults to file)
//   translation <language hex> <code page hex>      an entry of the translation table
//   string <name> <value>                           a string of the first translation
//   resource <type> <id> [named <name>] <content>   a resource, content one of:
//       file <path>              the file's bytes (a relative path is taken from the list's folder)
//       hex <bytes>...           hex bytes, in one or more tokens ("00 01 ff")
//       text <text>              the text's bytes, no terminator
//       strings <text>...        a string list: big-endian 16-bit count, then length-prefixed strings
//
// Any version, translation or string line makes the version block, resource "#16" 1; strings
// without a translation line are filed under 0409 / 04b0.

#include "ResourceContainer.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune::win
{

struct ResourceList
{
    std::vector<ResourceEntry> entries;
    std::vector<std::filesystem::path> inputFiles; // files that the list reads
};

// Throws std::runtime_error naming the line for anything it cannot read.
ResourceList parseResourceList (std::string_view text, const std::filesystem::path& baseDirectory);

// The string-list resource layout used by "strings".
std::vector<uint8_t> writeStringList (const std::vector<std::string>& strings);

} // namespace kestrune::win
