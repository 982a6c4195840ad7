#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "process/utilities/CAOSInfo.h"
#include "ThrownCode.h"
#include "process/base/CDAEError.h"
#include "process/base/CPtrList.h"

namespace
{

struct Item
{
    explicit Item (int* deleted) : fDeleted (deleted) {}
    virtual ~Item() { ++*fDeleted; }
    int* fDeleted;
};
}

TEST (CPtrListTest, ItemsAreNumberedFromOne)
{
    int deleted = 0;
    CPtrList<Item> list;
    Item* first = new Item (&deleted);
    Item* second = new Item (&deleted);
    list.Add (first);
    list.Add (second);

    EXPECT_EQ (list.Count(), 2);
    EXPECT_EQ (list.GetAt (1), first);
    EXPECT_EQ (list.GetAtValue (2), second);
    const std::pair<int32_t, bool> indexes[] = { { -1, false }, { 0, false }, { 1, true }, { 2, true }, { 3, false } };
    for (const auto& [n, valid] : indexes)
    {
        SCOPED_TRACE (n);
        EXPECT_EQ (list.IsValidIndex (n), valid);
        EXPECT_EQ (ThrownCode ([&, n = n] { list.GetAt (n); }), valid ? 0 : -7300);
        EXPECT_EQ (ThrownCode ([&, n = n] { list.GetAtValue (n); }), valid ? 0 : -7300);
    }

    EXPECT_EQ (ThrownCode ([&] { list.Add (nullptr); }), -7053);
    EXPECT_EQ (list.Count(), 2);

    list.DeleteAll();
    EXPECT_EQ (deleted, 2);
    EXPECT_EQ (list.Count(), 0);
}

TEST (CAOSInfoTest, DefaultAndFullConstruction)
{
    const CAOSInfo empty;
    EXPECT_EQ (empty.Record().identifier, -1);
    EXPECT_EQ (empty.Record().firstConnectionIndex, -1);
    EXPECT_EQ (empty.Record().stemFormatIndex, -100);
    EXPECT_STREQ (empty.Record().name, "");
    EXPECT_EQ (empty.ChannelCount(), 0);
    EXPECT_EQ (empty.GetChannelFlag (0), 1);

    const std::string longName (300, 'n');
    const CAOSInfo info (6, 10, longName.c_str(), 77);
    EXPECT_EQ (info.Record().identifier, 77);
    EXPECT_EQ (info.Record().firstConnectionIndex, 10);
    EXPECT_EQ (info.Record().stemFormatIndex, 6);
    EXPECT_EQ (std::string (info.Record().name), longName.substr (0, 255));
    EXPECT_EQ (info.ChannelCount(), 6);

    EXPECT_EQ (ThrownCode ([] { CAOSInfo bad (11, 0, "x", 1); }), -7401);
}

TEST (CAOSInfoTest, ChannelsOutsideTheFormatReadAsOneAndIgnoreWrites)
{
    CAOSInfo info (1, 0, "stereo", 1);
    info.SetChannelFlag (1, 1);
    for (int32_t outside : { -1, 2, 3, 1000000 })
        info.SetChannelFlag (outside, 0);
    const std::pair<int32_t, uint8_t> reads[] = { { -5, 1 }, { -1, 1 }, { 0, 0 }, { 1, 1 }, { 2, 1 }, { 1000000, 1 } };
    for (const auto& [channel, flag] : reads)
        EXPECT_EQ (info.GetChannelFlag (channel), flag) << channel;
}

class CAOSInfoListTest : public testing::Test
{
protected:
    // Entries: mono at connection 0 (id 5), stereo at 4 and 5 (id 0), quad at 10..13 (id 9).
    void SetUp() override
    {
        list.Add (std::make_unique<CAOSInfo> (0, 0, "mono", 5));
        list.Add (std::make_unique<CAOSInfo> (1, 4, "stereo", 0));
        list.Add (std::make_unique<CAOSInfo> (3, 10, "quad", 9));
    }

    CAOSInfoList list;
};

TEST_F (CAOSInfoListTest, EntriesAndTheirCodes)
{
    EXPECT_EQ (list.Count(), 3);
    EXPECT_EQ (list.TotalChannels(), 7);
    EXPECT_EQ (list.GetEntry (2).Record().identifier, 9);
    for (int32_t bad : { -1, 3 })
        EXPECT_EQ (ThrownCode ([&] { list.GetEntry (bad); }), -7103) << bad;
    EXPECT_EQ (ThrownCode ([&] { list.Add (nullptr); }), -7053);
    EXPECT_EQ (list.Count(), 3);
    EXPECT_EQ (list.TotalChannels(), 7);
}

TEST_F (CAOSInfoListTest, InfoRecordsAnswerPresenceAndCopyOnlyPresentEntries)
{
    SFicPlugInStemInfo out;
    std::memset (&out, 0x11, sizeof out);
    list.GetInfoAt (2, &out);
    EXPECT_EQ (out.fPresent, 1);
    EXPECT_EQ (out.fFirstConnectionIndex, 10);
    EXPECT_EQ (out.fStemFormatIndex, 3);
    EXPECT_STREQ (out.fName, "quad");

    std::memset (&out, 0x11, sizeof out);
    list.GetInfoAt (1, &out);
    EXPECT_EQ (out.fPresent, 0);
    EXPECT_EQ (out.fFirstConnectionIndex, 0x11111111);

    std::memset (&out, 0x22, sizeof out);
    list.GetInfoAt (3, &out);
    list.GetInfoAt (-1, &out);
    EXPECT_EQ (out.fPresent, 0x22222222);

    EXPECT_EQ (ThrownCode ([&] { list.GetInfoAt (2, nullptr); }), -7053) << "the host's null record is refused";
}

TEST_F (CAOSInfoListTest, ConnectionsAreFoundInTheEntryThatCoversThem)
{
    struct Case
    {
        int32_t connection;
        bool found;
        int32_t entry;
        int32_t channel;
    };
    const Case cases[] = {
        { 0, true, 0, 0 },
        { 1, false, 0, 0 },
        { 4, true, 1, 0 },
        { 5, true, 1, 1 },
        { 6, false, 0, 0 },
        { 10, true, 2, 0 },
        { 13, true, 2, 3 },
        { 14, false, 0, 0 },
        { -1, false, 0, 0 },
        { INT32_MIN, false, 0, 0 },
        { INT32_MAX, false, 0, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.connection);
        int32_t entry = -1, channel = -1;
        EXPECT_EQ (list.Find (c.connection, &entry, &channel), c.found);
        if (c.found)
        {
            EXPECT_EQ (entry, c.entry);
            EXPECT_EQ (channel, c.channel);
        }
    }
}

TEST_F (CAOSInfoListTest, ChannelFlagsByConnection)
{
    list.SetChannelFlagAt (5, 1);
    list.SetChannelFlagAt (7, 0);
    EXPECT_EQ (list.GetChannelFlagAt (4), 0);
    EXPECT_EQ (list.GetChannelFlagAt (5), 1);
    EXPECT_EQ (list.GetEntry (1).GetChannelFlag (1), 1);
    EXPECT_EQ (list.GetChannelFlagAt (7), 1);
    EXPECT_EQ (list.GetChannelFlagAt (12), 0);
}
