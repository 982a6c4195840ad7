#include "process/utilities/CAOSInfo.h"

#include <cstring>

#include "process/base/CDAEError.h"
#include "process/utilities/StemFormats.h"

namespace
{
void CopyName (const char* source, char* destination)
{
    const size_t length = strnlen (source, 255);
    std::memcpy (destination, source, length);
    destination[length] = '\0';
}
}

CAOSInfo::CAOSInfo() : fRecord (std::make_unique<SAOSInfoRecord>())
{
    fRecord->identifier = -1;
    fRecord->firstConnectionIndex = -1;
    fRecord->stemFormatIndex = -100;
    fRecord->name[0] = '\0';
}

CAOSInfo::CAOSInfo (int32_t stemFormatIndex, int32_t firstConnectionIndex, const char* name, int32_t identifier)
    : fRecord (std::make_unique<SAOSInfoRecord>()),
      fChannelFlags (static_cast<size_t> (MapFormatIndexToCode (stemFormatIndex)), 0)
{
    fRecord->identifier = identifier;
    fRecord->firstConnectionIndex = firstConnectionIndex;
    fRecord->stemFormatIndex = stemFormatIndex;
    CopyName (name != nullptr ? name : "", fRecord->name);
}

uint8_t CAOSInfo::GetChannelFlag (int32_t channel) const
{
    return IsChannel (channel) ? fChannelFlags[static_cast<size_t> (channel)] : 1;
}

void CAOSInfo::SetChannelFlag (int32_t channel, uint8_t flag)
{
    if (IsChannel (channel))
        fChannelFlags[static_cast<size_t> (channel)] = flag;
}

CAOSInfoList::~CAOSInfoList()
{
    fEntries.DeleteAll();
}

void CAOSInfoList::Add (std::unique_ptr<CAOSInfo> info)
{
    fEntries.Add (info.get());
    fTotalChannels += info->ChannelCount();
    info.release();
}

CAOSInfo& CAOSInfoList::GetEntry (int32_t index) const
{
    if (! fEntries.IsValidIndex (index + 1))
        throw CDAEError (RTASError::kNoInfoEntry);
    return *fEntries.GetAtValue (index + 1);
}

void CAOSInfoList::GetInfoAt (int32_t index, SFicPlugInStemInfo* out) const
{
    ThrowIfNull (out);
    if (! fEntries.IsValidIndex (index + 1))
        return;
    const SAOSInfoRecord& record = GetEntry (index).Record();
    out->fPresent = record.identifier != 0 ? 1 : 0;
    if (out->fPresent == 0)
        return;
    out->fFirstConnectionIndex = record.firstConnectionIndex;
    out->fStemFormatIndex = record.stemFormatIndex;
    CopyName (record.name, out->fName);
}

bool CAOSInfoList::Find (int32_t connectionIndex, int32_t* entry, int32_t* channel) const
{
    for (int32_t i = 0; i < Count(); ++i)
    {
        const CAOSInfo& info = GetEntry (i);
        const int64_t j = static_cast<int64_t> (connectionIndex) - info.Record().firstConnectionIndex;
        if (j >= 0 && j < info.ChannelCount())
        {
            *entry = i;
            *channel = static_cast<int32_t> (j);
            return true;
        }
    }
    return false;
}

uint8_t CAOSInfoList::GetChannelFlagAt (int32_t connectionIndex) const
{
    int32_t entry = 0, channel = 0;
    if (! Find (connectionIndex, &entry, &channel))
        return 1;
    return GetEntry (entry).GetChannelFlag (channel);
}

void CAOSInfoList::SetChannelFlagAt (int32_t connectionIndex, uint8_t flag)
{
    int32_t entry = 0, channel = 0;
    if (Find (connectionIndex, &entry, &channel))
        GetEntry (entry).SetChannelFlag (channel, flag);
}
