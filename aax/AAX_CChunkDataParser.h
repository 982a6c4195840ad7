// Writes a list of typed, named values as the data of a host chunk, and reads it back.
//
// Data layout: the marker 01 01 01 01, then one entry after another, each at a multiple of 4:
// the key (a two-character type prefix, the name, a zero byte, zero padding to 4), then the
// value, big-endian: "f_" and "l_" 4 bytes, "d_" 8 bytes, "s_" 2 bytes in a 4-byte slot, "r_"
// the text with its zero byte, padded to 4.
#pragma once

#include "AAX_CString.h"

#include <vector>

class AAX_CChunkDataParser
{
public:
    enum DataType : int32_t
    {
        kNone = 0,
        kFloat = 1,
        kInt32 = 2,
        kDouble = 3,
        kInt16 = 4,
        kString = 5
    };

    struct DataValue
    {
        int32_t fDataType = kNone;
        AAX_CString fDataName; // the key without its type prefix
        uint64_t fIntValue = 0; // double bits, 32-bit integer or float bits, or 16-bit value
        AAX_CString fStringValue;
    };

    static constexpr uint32_t kMarker = 0x01010101;

    AAX_CChunkDataParser() = default;
    virtual ~AAX_CChunkDataParser() = default;

    void Reset();
    void AddDouble (const char* name, double value);
    void AddInt32 (const char* name, int32_t value);
    void AddString (const char* name, const AAX_CString& value);

    // The data size of the current entries: 4 when there are none.
    int32_t GetChunkDataSize() const;
    // Sets the record's size and writes the data; the record holds at least that many data
    // bytes. 0, or -333 when writing failed.
    int32_t WriteChunk (AAX_SPlugInChunkHeader* chunk) const;
    // Replaces the entries by those of the record. Every read stays inside the record's size.
    // A key of no known type (an empty one included) gives an entry of type 0 without value
    // bytes; reading stops at a key without its zero byte in reach or a value cut short,
    // keeping the entries before it.
    void ReadChunk (const AAX_SPlugInChunkHeader* chunk);

    bool FindDouble (const char* name, double* outValue);
    bool FindInt32 (const char* name, int32_t* outValue);
    bool FindString (const char* name, AAX_CString* outValue);
    // Searches from just after the last hit, wrapping round; -1 when absent.
    int32_t FindIndex (const char* name);

    int32_t GetChunkVersion() const { return version_; }
    const std::vector<DataValue>& Entries() const { return entries_; }

private:
    const DataValue* FindTyped (const char* name, int32_t type);

    int32_t lastFoundIndex_ = -1;
    int32_t version_ = -1;
    std::vector<DataValue> entries_;
};
