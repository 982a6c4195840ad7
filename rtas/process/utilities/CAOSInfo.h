#pragma once
// Connection information: one record per group of connections (a stem), with a flag per channel,
// and the list of them that a process keeps.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "process/base/CPtrList.h"

#include <abi/DAE.h>

#pragma pack(push, 2)
struct SAOSInfoRecord
{
    int32_t identifier;
    int32_t firstConnectionIndex;
    int32_t stemFormatIndex;
    char name[256];
};
#pragma pack(pop)
static_assert (offsetof (SAOSInfoRecord, identifier) == 0);
static_assert (offsetof (SAOSInfoRecord, firstConnectionIndex) == 4);
static_assert (offsetof (SAOSInfoRecord, stemFormatIndex) == 8);
static_assert (offsetof (SAOSInfoRecord, name) == 12);
static_assert (sizeof (SAOSInfoRecord) == 268);

class CAOSInfo
{
public:
    // Identifier -1, first index -1, format index -100, empty name, no channels.
    CAOSInfo();
    // The name is cut at 255 characters; one flag per channel of the format, all 0.
    CAOSInfo (int32_t stemFormatIndex, int32_t firstConnectionIndex, const char* name, int32_t identifier);
    virtual ~CAOSInfo() = default;

    const SAOSInfoRecord& Record() const { return *fRecord; }
    int32_t ChannelCount() const { return static_cast<int32_t> (fChannelFlags.size()); }

    // Channels outside 0..count-1 read as 1 and ignore writes.
    uint8_t GetChannelFlag (int32_t channel) const;
    void SetChannelFlag (int32_t channel, uint8_t flag);

private:
    bool IsChannel (int32_t channel) const { return channel >= 0 && channel < ChannelCount(); }

    std::unique_ptr<SAOSInfoRecord> fRecord;
    std::vector<uint8_t> fChannelFlags;
};

class CAOSInfoList
{
public:
    CAOSInfoList() = default;
    CAOSInfoList (const CAOSInfoList&) = delete;
    CAOSInfoList& operator= (const CAOSInfoList&) = delete;
    ~CAOSInfoList();

    // Takes the entry; null throws -7053.
    void Add (std::unique_ptr<CAOSInfo> info);
    int32_t Count() const { return fEntries.Count(); }
    int32_t TotalChannels() const { return fTotalChannels; }

    // 0-based; outside 0..count-1 throws -7103.
    CAOSInfo& GetEntry (int32_t index) const;
    // For a valid index fills the host's stem information record; else leaves it untouched. A
    // null record throws -7053.
    void GetInfoAt (int32_t index, SFicPlugInStemInfo* out) const;
    // The entry and channel whose first connection index + channel is the connection index.
    bool Find (int32_t connectionIndex, int32_t* entry, int32_t* channel) const;
    // 1 for a connection that no entry covers; setting one only changes a covered connection.
    uint8_t GetChannelFlagAt (int32_t connectionIndex) const;
    void SetChannelFlagAt (int32_t connectionIndex, uint8_t flag);

private:
    CPtrList<CAOSInfo> fEntries;
    int32_t fTotalChannels = 0;
};
