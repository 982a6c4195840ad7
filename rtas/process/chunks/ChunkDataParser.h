#pragma once
// A list of named, typed values converted to and from the data area of a host chunk record.
// The data area is the stored format of saved host projects: the marker 01 01 01 01, then per
// entry a two-character type prefix, the name, a zero and zero padding to a multiple of 4, then
// the value, big-endian (8 bytes for a double, else 4; a short in the first 2 of its 4).

#include <cstdint>
#include <string>
#include <vector>

// The chunk record: signed 32-bit total size at byte 0 (header plus data), the chunk's version
// word at byte 4, the data from byte 56 on.
inline constexpr int32_t kChunkHeaderSize = 56;
inline constexpr int32_t kChunkSizeOffset = 0;
inline constexpr int32_t kChunkVersionOffset = 4;

enum EChunkValueType : int32_t
{
    kChunkValueFloat = 1,
    kChunkValueLong = 2,
    kChunkValueDouble = 3,
    kChunkValueShort = 4
};

class ChunkDataParser
{
public:
    ChunkDataParser() = default;

    void Clear();
    void AddLong (const std::string& name, int32_t value);
    void AddDouble (const std::string& name, double value);

    // Bytes of the data area for the current list; 4 for an empty list.
    int32_t GetDataSize() const;
    // [host thread] Stores the total size (GetDataSize() + 56) when the record has room for the
    // size word, then writes the data area when the whole chunk fits in the capacity (the bytes
    // the record may hold). 0, or -333 when the chunk does not fit or writing failed.
    int32_t WriteChunk (void* chunkRecord, int32_t capacity) const;
    // [host thread] Replaces the list with the entries of a record whose total size says how many
    // bytes it holds. The version word is taken whenever the record holds it; a record smaller
    // than its header has no entries; reading stops at the first entry that does not fit in the
    // data and keeps the entries before it.
    void ReadChunk (const void* chunkRecord);

    // The index of the entry with exactly that name, searching from just after the last hit and
    // wrapping around; -1 when there is none.
    int32_t FindEntry (const std::string& name);
    // True and the value when the entry exists with that type.
    bool GetDouble (const std::string& name, double* value);
    bool GetLong (const std::string& name, int32_t* value);

    int32_t Version() const { return fVersion; }
    int32_t Cursor() const { return fCursor; }
    const std::vector<std::string>& Names() const { return fNames; }
    const std::vector<int64_t>& Values() const { return fValues; }
    const std::vector<int32_t>& Types() const { return fTypes; }

private:
    void Append (const std::string& name, int64_t cell, int32_t type);

    int32_t fCursor = -1;
    int32_t fVersion = -1;
    std::vector<std::string> fNames;
    std::vector<int64_t> fValues; // 32-bit values sign-extended, doubles as their 64 bits
    std::vector<int32_t> fTypes;
};
