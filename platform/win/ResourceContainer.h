#pragma once
// The resource container: our one format for a module's compiled-in resources and for the
// toolbox's resource files ("<module>.rsr").
//
// Layout, all numbers little-endian:
//   header   0  4  magic "KRSR"
//            4  2  format version (1)
//            6  2  number of entries
//            8  4  total size in bytes, header included
//   entries, one after the other:
//            u8 type length (1-255), the type's bytes
//            i32 id
//            u8 name length (0-255), the name's bytes
//            u32 data size, the data's bytes
// A toolbox resource type is its four-character code's four bytes, most significant first;
// a module resource type is text ("DSPCODE", "#16" for a numeric type). The data is stored as
// given: resources that the host keeps in big-endian order stay so.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune::win
{

inline constexpr uint16_t kResourceContainerVersion = 1;
inline constexpr size_t kResourceContainerHeaderSize = 12;

struct ResourceEntry
{
    std::string type;
    int32_t id = 0;
    std::string name;
    std::vector<uint8_t> data;
};

// One entry of a parsed container; the views point into the container's bytes.
struct ResourceView
{
    std::string_view type;
    int32_t id = 0;
    std::string_view name;
    std::span<const uint8_t> data;
    const uint8_t* record = nullptr; // where the entry starts in the container
};

// A validated container over bytes that the caller keeps alive.
class ResourceContainerView
{
public:
    // Null when the bytes are not a complete, consistent container.
    static std::optional<ResourceContainerView> parse (std::span<const uint8_t> bytes);

    const std::vector<ResourceView>& entries() const { return entries_; }

private:
    std::vector<ResourceView> entries_;
};

// Writes a container from owned entries. Throws std::invalid_argument for a type that is empty
// or longer than 255 bytes, a name longer than 255 bytes, or more than 65535 entries.
std::vector<uint8_t> writeResourceContainer (const std::vector<ResourceEntry>& entries);

// The four bytes of a four-character code as a container type, and back (0 when the type is
// not four bytes long).
std::string typeFromFourCC (uint32_t code);
uint32_t fourCCFromType (std::string_view type);

} // namespace kestrune::win
