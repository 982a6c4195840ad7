#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/CSet.h"
#include "entry/CVoidPtrMap.h"
#include "entry/CWordBuffer.h"

namespace
{
// True when the call throws the containers' 16-bit -1.
bool ThrowsContainerFailure (const std::function<void()>& call)
{
    try
    {
        call();
    }
    catch (int16_t code)
    {
        return code == -1;
    }
    return false;
}

struct Counted
{
    explicit Counted (int* deleted) : fDeleted (deleted) {}
    virtual ~Counted() { ++*fDeleted; }
    int* fDeleted;
};

std::vector<int*> Elements (const CSet<int>& set)
{
    std::vector<int*> elements;
    for (CSet<int>::Iterator it (set); it.IsValid(); it.Next())
        elements.push_back (it.Current());
    return elements;
}
}

TEST (CSetTest, KeepsInsertionOrderWithoutDuplicates)
{
    int a = 1, b = 2, c = 3;
    CSet<int> set;
    set.Add (&b);
    set.Add (&a);
    set.Add (&b);
    set.Add (&c);
    EXPECT_EQ (set.GetCount(), 3);
    EXPECT_EQ (Elements (set), (std::vector<int*> { &b, &a, &c }));
    const std::pair<int32_t, int*> positions[] = { { -1, nullptr }, { 0, nullptr }, { 1, &b }, { 2, &a }, { 3, &c }, { 4, nullptr } };
    for (const auto& [n, element] : positions)
        EXPECT_EQ (set.GetAt (n), element) << n;
    EXPECT_TRUE (set.Contains (&a));

    set.Remove (&a);
    set.Remove (&a);
    EXPECT_FALSE (set.Contains (&a));
    EXPECT_EQ (Elements (set), (std::vector<int*> { &b, &c }));
    set.Add (&a);
    EXPECT_EQ (Elements (set), (std::vector<int*> { &b, &c, &a }));
}

TEST (CSetTest, RemovingEndsKeepsTheLinksRight)
{
    int a = 1, b = 2;
    CSet<int> set;
    set.Add (&a);
    set.Remove (&a);
    EXPECT_EQ (set.FirstNode(), nullptr);
    EXPECT_EQ (set.LastNode(), nullptr);
    EXPECT_EQ (set.GetCount(), 0);

    set.Add (&a);
    set.Add (&b);
    set.Remove (&b);
    EXPECT_EQ (set.FirstNode(), set.LastNode());
    EXPECT_EQ (set.LastNode()->next, nullptr);
    set.Add (&b);
    set.Remove (&a);
    EXPECT_EQ (set.FirstNode()->element, &b);
    EXPECT_EQ (set.FirstNode()->previous, nullptr);
    EXPECT_EQ (Elements (set), (std::vector<int*> { &b }));
}

TEST (CSetTest, CopyClearAndDelete)
{
    int a = 1, b = 2, c = 3;
    CSet<int> source, copy;
    source.Add (&a);
    source.Add (&b);
    copy.Add (&c);
    copy.CopyFrom (source);
    EXPECT_EQ (Elements (copy), (std::vector<int*> { &a, &b }));
    EXPECT_FALSE (copy.Contains (&c));
    copy.CopyFrom (copy);
    EXPECT_EQ (Elements (copy), (std::vector<int*> { &a, &b }));
    copy.Clear();
    EXPECT_EQ (copy.GetCount(), 0);
    EXPECT_FALSE (copy.Contains (&a));
    EXPECT_EQ (source.GetCount(), 2);

    int deleted = 0;
    CSet<Counted> owned;
    owned.Add (new Counted (&deleted));
    owned.Add (new Counted (&deleted));
    owned.DestroyAll();
    EXPECT_EQ (deleted, 2);
    EXPECT_EQ (owned.GetCount(), 0);
    owned.Add (new Counted (&deleted));
    owned.DeleteAll();
    EXPECT_EQ (deleted, 3);
}

// An element that leaves its set as it is destroyed, as the object model's children do; it may
// take a sibling out with it.
struct SelfRemoving
{
    SelfRemoving (CSet<SelfRemoving>& set, std::vector<int>& order, int id) : fSet (set), fOrder (order), fId (id) {}
    virtual ~SelfRemoving()
    {
        fOrder.push_back (fId);
        fSet.Remove (this);
        if (fSibling != nullptr)
            fSet.Remove (fSibling);
    }
    CSet<SelfRemoving>& fSet;
    std::vector<int>& fOrder;
    int fId;
    SelfRemoving* fSibling = nullptr;
};

TEST (CSetTest, DeletingElementsThatRemoveThemselvesFollowsNoFreedLink)
{
    for (const bool destroy : { false, true })
    {
        SCOPED_TRACE (destroy);
        std::vector<int> order;
        CSet<SelfRemoving> set;
        for (int id = 1; id <= 4; ++id)
            set.Add (new SelfRemoving (set, order, id));
        auto* kept = new SelfRemoving (set, order, 5);
        set.GetAt (2)->fSibling = kept; // element 2 takes element 5 out of the set with it
        set.Add (kept);
        if (destroy)
            set.DestroyAll();
        else
            set.DeleteAll();
        EXPECT_EQ (order, (std::vector<int> { 1, 2, 3, 4 })) << "oldest first, each once";
        EXPECT_EQ (set.GetCount(), 0);
        EXPECT_EQ (set.FirstNode(), nullptr);
        EXPECT_EQ (set.LastNode(), nullptr);
        delete kept;
    }
}

TEST (CSetTest, LiveSetsAreCountedWithTheirHighWaterMark)
{
    EXPECT_STREQ (CSetLimit.message, "Maximum # of CSet<T>");
    const int32_t before = CSetBase::LiveCount();
    const int32_t maximumBefore = CSetLimit.maximum;
    {
        CSet<int> kept;
        {
            CSet<int> dropped;
            EXPECT_EQ (CSetBase::LiveCount(), before + 2);
        }
        EXPECT_EQ (CSetBase::LiveCount(), before + 1);
        EXPECT_EQ (CSetLimit.maximum, std::max (maximumBefore, before + 2));
    }
    EXPECT_EQ (CSetBase::LiveCount(), before);
}

TEST (CVoidPtrMapTest, SetReplacesAndRemoveErases)
{
    CVoidPtrMap map;
    int x = 0, y = 0;
    EXPECT_EQ (map.Get (5), nullptr);
    map.Set (5, &x);
    map.Set (5, &y);
    EXPECT_EQ (map.Get (5), &y);
    map.Remove (5);
    map.Remove (6);
    EXPECT_EQ (map.Get (5), nullptr);

    CVoidPtrMapHolder holder;
    holder.Set (1, &x);
    EXPECT_EQ (holder.Get (1), &x);
    EXPECT_TRUE (ThrowsContainerFailure ([&] { holder.SetChecked (2, nullptr); }));
    EXPECT_EQ (holder.Get (2), nullptr);
    holder.SetChecked (2, &y);
    EXPECT_EQ (holder.Get (2), &y);
    holder.Remove (2);
    holder.Remove (3);
    EXPECT_EQ (holder.Get (2), nullptr);
    EXPECT_EQ (holder.Get (1), &x);
}

TEST (CVoidPtrMapTest, DumpListsTheAddressAndEveryEntryInKeyOrder)
{
    CVoidPtrMap map;
    map.Set (300, reinterpret_cast<void*> (0xdeadbeef));
    map.Set (-1, reinterpret_cast<void*> (16));
    map.Set (7, nullptr);

    std::FILE* file = std::tmpfile();
    ASSERT_NE (file, nullptr);
    map.Dump (file);
    std::rewind (file);
    std::string text;
    for (int ch = std::fgetc (file); ch != EOF; ch = std::fgetc (file))
        text += static_cast<char> (ch);
    std::fclose (file);

    char address[16];
    std::snprintf (address, sizeof address, "%08X", static_cast<unsigned> (reinterpret_cast<uintptr_t> (&map)));
    EXPECT_EQ (text, std::string ("Dumping CVoidPtrMap  0x") + address + "\n"
                                                                         " item:  key: -1 (0xffffffff)  value: 16 (0x10)\n"
                                                                         " item:  key: 7 (0x7)  value: 0 (0x0)\n"
                                                                         " item:  key: 300 (0x12c)  value: -559038737 (0xdeadbeef)\n");
}

TEST (CWordBufferTest, PadFillsUpToTheNextGroup)
{
    struct Case
    {
        int32_t words;
        int32_t bytes;
        int32_t added;
    };
    const Case cases[] = {
        { 4, 16, 4 },
        { 5, 16, 3 },
        { 0, 16, 4 },
        { 7, 8, 1 },
        { 6, 8, 2 },
        { 3, 4, 1 },
        // Fewer than 4 bytes, or none: nothing.
        { 3, 0, 0 },
        { 3, 3, 0 },
        { 3, -8, 0 },
        // Groups that are not a power of two pad by the remainder.
        { 4, 12, 2 },
        { 3, 12, 3 },
        { 7, 20, 3 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.words << " words, Pad " << c.bytes);
        CWordBuffer buffer;
        for (int32_t i = 0; i < c.words; ++i)
            buffer.AppendWord (i + 1);
        buffer.Pad (c.bytes);
        ASSERT_EQ (buffer.GetCount(), c.words + c.added);
        for (int32_t i = c.words; i < buffer.GetCount(); ++i)
            EXPECT_EQ (buffer.Words()[static_cast<size_t> (i)], 0);
    }
}

TEST (CWordBufferTest, BlocksHoldTheWordsInOrder)
{
    int a = 0, b = 0;
    CSet<int> set;
    set.Add (&a);
    set.Add (&b);
    CWordBuffer buffer;
    buffer.AppendWord (-3);
    buffer.AppendSet (set);
    buffer.AppendPointer (&a);
    const std::vector<int32_t> expected { -3, 2, static_cast<int32_t> (reinterpret_cast<uintptr_t> (&a)),
                                          static_cast<int32_t> (reinterpret_cast<uintptr_t> (&b)),
                                          static_cast<int32_t> (reinterpret_cast<uintptr_t> (&a)) };
    EXPECT_EQ (buffer.Words(), expected);

    CWordBlock& block = buffer.MakeBlock();
    ASSERT_EQ (block.Size(), 20);
    EXPECT_EQ (std::memcmp (block.Data(), expected.data(), 20), 0);

    CWordBlock small (19);
    EXPECT_TRUE (ThrowsContainerFailure ([&] { buffer.CopyTo (small); }));
    CWordBlock exact (20);
    buffer.CopyTo (exact);
    EXPECT_EQ (std::memcmp (exact.Data(), expected.data(), 20), 0);

    buffer.AppendWord (9);
    EXPECT_EQ (buffer.MakeBlock().Size(), 24);
}

TEST (CWordBufferReaderTest, ReadsEveryWordAndThrowsPastTheEnd)
{
    CWordBuffer buffer;
    buffer.AppendWord (11);
    int target = 0;
    buffer.AppendPointer (&target);
    CWordBlock& block = buffer.MakeBlock();
    ASSERT_EQ (block.Size(), 8);

    CWordBufferReader reader (&block);
    int32_t word = 0;
    void* pointer = nullptr;
    reader.ReadWord (&word);
    reader.ReadPointer (&pointer);
    EXPECT_EQ (word, 11);
    EXPECT_EQ (pointer, &target);
    EXPECT_TRUE (ThrowsContainerFailure ([&] { reader.ReadWord (&word); }));
    EXPECT_TRUE (ThrowsContainerFailure ([&] { reader.ReadPointer (&pointer); }));

    CWordBlock ragged (7);
    CWordBufferReader partial (&ragged);
    EXPECT_FALSE (ThrowsContainerFailure ([&] { partial.ReadWord (&word); }));
    EXPECT_TRUE (ThrowsContainerFailure ([&] { partial.ReadWord (&word); }));

    CWordBufferReader none (nullptr);
    EXPECT_TRUE (ThrowsContainerFailure ([&] { none.ReadWord (&word); }));
}
