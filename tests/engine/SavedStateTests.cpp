// The saved-state block: layout, round trip, letter case, partial and bad blocks, and damaged
// blocks that must be refused without reading outside them.
#include "KestruneAudioProcessor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{
std::vector<uint8_t> blockFor (const std::string& xml, int64_t declaredLength = -1)
{
    const uint32_t length = declaredLength < 0 ? static_cast<uint32_t> (xml.size()) : static_cast<uint32_t> (declaredLength);
    std::vector<uint8_t> block { 0x56, 0x43, 0x32, 0x21 };
    for (int i = 0; i < 4; ++i)
        block.push_back (static_cast<uint8_t> (length >> (8 * i)));
    block.insert (block.end(), xml.begin(), xml.end());
    block.push_back (0);
    return block;
}

// Hands over a copy whose memory is exactly the block, so the sanitized build sees any read
// past its end.
void restore (KestruneAudioProcessor& processor, const std::vector<uint8_t>& block)
{
    const std::vector<uint8_t> exact (block.begin(), block.end());
    processor.setStateInformation (exact.empty() ? nullptr : exact.data(), static_cast<int> (exact.size()));
}

std::vector<float> valuesOf (KestruneAudioProcessor& processor)
{
    std::vector<float> values;
    for (int i = 0; i < processor.getNumParameters(); ++i)
        values.push_back (processor.getParameter (i));
    return values;
}

void setNonDefaults (KestruneAudioProcessor& processor)
{
    const float values[] = { 0.1f, 0.9f, 0.3f, 0.7f, 0.0f, 0.5f, 0.8f, 0.2f, 0.4f, 1.0f };
    for (int i = 0; i < 10; ++i)
        processor.setParameter (i, values[i]);
}

TEST (SavedState, BlockLayout)
{
    KestruneAudioProcessor processor;
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    const auto* bytes = static_cast<const uint8_t*> (block.getData());
    ASSERT_GT (block.getSize(), 9u);
    EXPECT_EQ (std::memcmp (bytes, "VC2!", 4), 0);
    const uint32_t length = bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) | (static_cast<uint32_t> (bytes[7]) << 24);
    EXPECT_EQ (block.getSize(), length + 9u);
    EXPECT_EQ (bytes[block.getSize() - 1], 0);

    const std::string text (reinterpret_cast<const char*> (bytes + 8), length);
    EXPECT_EQ (text.rfind ("<QORKSTRSETTINGS ", 0), 0u) << text;
    EXPECT_EQ (text.find ('\n'), std::string::npos);
    const char* order[] = { "Attack=", "Release=", "Threshold=", "Ratio=", "Knee=", "LowCut=", "Drive=", "Level=", "Mix=", "Bypass=" };
    size_t position = 0;
    for (const char* name : order)
    {
        const size_t found = text.find (name, position);
        ASSERT_NE (found, std::string::npos) << name;
        position = found;
    }
    EXPECT_NE (text.find ("Threshold=\"0.5\""), std::string::npos) << text;
}

// A host keeps one block between the size it asks for and the state it takes: a block that
// held a longer state and then takes a shorter one holds the same bytes as a fresh block, its
// closing zero included.
TEST (SavedState, KeptBlockHoldsTheSameBytesAsAFreshOne)
{
    KestruneAudioProcessor processor;
    setNonDefaults (processor);
    juce::MemoryBlock kept;
    processor.getStateInformation (kept);
    const size_t longerSize = kept.getSize();

    // Values whose texts are shorter: "0" and "1" in place of long decimals.
    for (int i = 0; i < processor.getNumParameters(); ++i)
        processor.setParameter (i, i % 2 == 0 ? 0.0f : 1.0f);
    processor.getStateInformation (kept);
    juce::MemoryBlock fresh;
    processor.getStateInformation (fresh);
    ASSERT_LT (fresh.getSize(), longerSize);
    const auto bytesOf = [] (const juce::MemoryBlock& block) {
        const auto* bytes = static_cast<const uint8_t*> (block.getData());
        return std::vector<uint8_t> (bytes, bytes + block.getSize());
    };
    EXPECT_EQ (bytesOf (kept), bytesOf (fresh));
    EXPECT_EQ (static_cast<const uint8_t*> (kept.getData())[kept.getSize() - 1], 0);
}

TEST (SavedState, RoundTripBetweenInstancesRestoresValuesAndTexts)
{
    KestruneAudioProcessor source;
    setNonDefaults (source);
    juce::MemoryBlock block;
    source.getStateInformation (block);

    KestruneAudioProcessor target;
    target.setStateInformation (block.getData(), static_cast<int> (block.getSize()));
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_EQ (target.getParameter (i), source.getParameter (i)) << i;
        EXPECT_EQ (target.getParameterText (i), source.getParameterText (i)) << i;
    }
}

// Every parameter at either end of its range is saved and restored as a value in [0, 1].
TEST (SavedState, EndsOfTheRangesRoundTripWithinIt)
{
    for (const float end : { 0.0f, 1.0f })
    {
        KestruneAudioProcessor source;
        for (int i = 0; i < source.getNumParameters(); ++i)
            source.setParameter (i, end);
        juce::MemoryBlock block;
        source.getStateInformation (block);
        KestruneAudioProcessor target;
        target.setStateInformation (block.getData(), static_cast<int> (block.getSize()));
        for (int i = 0; i < target.getNumParameters(); ++i)
        {
            EXPECT_TRUE (source.getParameter (i) >= 0.0f && source.getParameter (i) <= 1.0f) << i << ": " << source.getParameter (i);
            EXPECT_EQ (target.getParameter (i), source.getParameter (i)) << i;
        }
    }
}

TEST (SavedState, TagAndAttributeNamesMatchIgnoringCase)
{
    KestruneAudioProcessor processor;
    restore (processor, blockFor ("<qorkstrsettings mix=\"0.25\" MIX=\"0.75\" LOWCUT=\"1\"/>"));
    EXPECT_EQ (processor.getParameter (8), 0.25f);
    EXPECT_EQ (processor.getParameter (5), 1.0f);
}

TEST (SavedState, PartialAttributesChangeOnlyThoseParameters)
{
    KestruneAudioProcessor processor;
    setNonDefaults (processor);
    auto expected = valuesOf (processor);
    restore (processor, blockFor ("<QORKSTRSETTINGS Drive=\"0.125\" Knee=\"1\"/>"));
    expected[6] = 0.125f;
    expected[4] = 1.0f;
    EXPECT_EQ (valuesOf (processor), expected);
}

TEST (SavedState, OutOfRangeValuesAreClampedAndNonFiniteOnesIgnored)
{
    KestruneAudioProcessor processor;
    setNonDefaults (processor);
    auto expected = valuesOf (processor);
    restore (processor, blockFor ("<QORKSTRSETTINGS Attack=\"nan\" Release=\"inf\" Ratio=\"1e9\" Mix=\"-3\" Drive=\"text\"/>"));
    expected[3] = 1.0f;
    expected[8] = 0.0f;
    expected[6] = 0.0f; // text without a number reads as 0
    EXPECT_EQ (valuesOf (processor), expected);
}

TEST (SavedState, StoredLengthPastTheEndReadsOnlyTheBlock)
{
    KestruneAudioProcessor processor;
    restore (processor, blockFor ("<QORKSTRSETTINGS Mix=\"0.5\"/>", 100000));
    EXPECT_EQ (processor.getParameter (8), 0.5f);
}

TEST (SavedState, BadBlocksLeaveTheProcessorAsItWas)
{
    const std::string good = "<QORKSTRSETTINGS Mix=\"0.5\"/>";
    auto wrongMagic = blockFor (good);
    wrongMagic[0] = 'X';
    auto shortBlock = blockFor (good);
    shortBlock.resize (8);
    const struct
    {
        const char* name;
        std::vector<uint8_t> block;
    } cases[] = {
        { "empty", {} },
        { "eight bytes", shortBlock },
        { "wrong magic", wrongMagic },
        { "zero length", blockFor (good, 0) },
        { "negative length", blockFor (good, 0x80000000LL) },
        { "not XML", blockFor ("this is not xml") },
        { "other tag", blockFor ("<OTHERSETTINGS Mix=\"0.5\"/>") },
        { "cut short", blockFor (good.substr (0, 12)) },
    };
    for (const auto& c : cases)
    {
        KestruneAudioProcessor processor;
        setNonDefaults (processor);
        const auto before = valuesOf (processor);
        processor.setStateInformation (c.block.empty() ? nullptr : c.block.data(), static_cast<int> (c.block.size()));
        EXPECT_EQ (valuesOf (processor), before) << c.name;
    }
}

// Bytes that cannot stand where they are in UTF-8 text, in and around the attribute values and
// at the end of the text, with and without the closing zero byte.
TEST (SavedState, TextThatIsNotUtf8IsRefused)
{
    const struct
    {
        const char* name;
        std::string text;
        bool zeroByte;
    } cases[] = {
        { "lead byte in a value", "<QORKSTRSETTINGS Mix=\"0.\xff\" Drive=\"0.5\"/>", true },
        { "lead byte for the closing quote", "<QORKSTRSETTINGS Mix=\"0.5\xff/>", true },
        { "lead byte after a value", "<QORKSTRSETTINGS Mix=\"0.5\"\xff/>", true },
        { "lead byte after the last value", "<QORKSTRSETTINGS Mix=\"0.5\"\xff", false },
        { "lead byte closing the text", "<QORKSTRSETTINGS Mix=\"0.5\"/\xf0", true },
        { "lead byte at the block's end", "<QORKSTRSETTINGS Mix=\"0.5\"/>\xe2", false },
        { "sequence cut short", "<QORKSTRSETTINGS Mix=\"0.5\xe2\x82\"/>", true },
        { "sequence cut by the end", "<QORKSTRSETTINGS Mix=\"0.5\"/>\xf0\x9f\x98", false },
        { "lone continuation byte", "<QORKSTRSETTINGS Mix=\"0.5\" \x80/>", true },
        { "five-byte lead", "<QORKSTRSETTINGS Mix=\"\xf8\x88\x80\x80\x80\"/>", true },
    };
    for (const auto& c : cases)
    {
        KestruneAudioProcessor processor;
        setNonDefaults (processor);
        const auto before = valuesOf (processor);
        auto block = blockFor (c.text);
        if (! c.zeroByte)
            block.pop_back();
        restore (processor, block);
        EXPECT_EQ (valuesOf (processor), before) << c.name;
    }
}

TEST (SavedState, WellFormedUtf8AndChildElementsStillRestore)
{
    KestruneAudioProcessor processor;
    restore (processor, blockFor ("<QORKSTRSETTINGS Note=\"Grüße \xf0\x9f\x8e\x9b\" Mix=\"0.25\"><take name=\"é\"/></QORKSTRSETTINGS>"));
    EXPECT_EQ (processor.getParameter (8), 0.25f);

    // Text after a zero byte inside the stored length is not part of the text.
    std::string cut = "<QORKSTRSETTINGS Mix=\"0.75\"/>";
    cut += '\0';
    cut += "\xff\xff<<";
    restore (processor, blockFor (cut));
    EXPECT_EQ (processor.getParameter (8), 0.75f);
}

// Deeply nested elements and the entities of a document type take the XML reader deeper and
// deeper into the stack; a state block has neither, so such text is refused unread.
TEST (SavedState, TextThatWouldExhaustTheReaderIsRefused)
{
    const int depth = 200000;
    std::string nested = "<QORKSTRSETTINGS Mix=\"0.5\">";
    for (int i = 0; i < depth; ++i)
        nested += "<a>";
    for (int i = 0; i < depth; ++i)
        nested += "</a>";
    nested += "</QORKSTRSETTINGS>";
    const std::string selfReferring = "<!DOCTYPE x [<!ENTITY a \"&&a;\">]><QORKSTRSETTINGS Mix=\"&a;\"/>";

    for (const auto& text : { nested, selfReferring })
    {
        KestruneAudioProcessor processor;
        setNonDefaults (processor);
        const auto before = valuesOf (processor);
        restore (processor, blockFor (text));
        EXPECT_EQ (valuesOf (processor), before) << text.substr (0, 40);
    }
}

// A real block damaged many ways, with a fixed seed so that a failure reproduces: nothing is
// read outside the block (the sanitized build checks), every value stays in [0, 1], and a
// block whose text is not UTF-8 changes nothing.
TEST (SavedState, DamagedBlocksAreReadSafely)
{
    std::mt19937 random (20261210u);
    const auto randomByte = [&] { return static_cast<uint8_t> (random()); };
    const auto notUtf8 = [&] {
        const uint8_t bytes[] = { 0x80, 0xbf, 0xc0, 0xc3, 0xe2, 0xf0, 0xf4, 0xf8, 0xfe, 0xff };
        return bytes[random() % sizeof (bytes)];
    };

    KestruneAudioProcessor source, target;
    int refused = 0, restored = 0;
    for (int round = 0; round < 4000; ++round)
    {
        for (int i = 0; i < 10; ++i)
            source.setParameter (i, static_cast<float> (random() % 1001) / 1000.0f);
        juce::MemoryBlock saved;
        source.getStateInformation (saved);
        const auto* savedBytes = static_cast<const uint8_t*> (saved.getData());
        std::vector<uint8_t> block (savedBytes, savedBytes + saved.getSize());
        const size_t textEnd = block.size() - 1;

        bool mustRefuse = false;
        switch (round % 6)
        {
            case 0: // bytes outside UTF-8 within the text, often among its last bytes
                for (uint32_t n = 1 + random() % 3; n > 0; --n)
                    block[random() % 2 == 0 ? textEnd - 1 - random() % 3 : 8 + random() % (textEnd - 8)] = notUtf8();
                mustRefuse = true;
                break;
            case 1: // flipped bits anywhere
                for (uint32_t n = 1 + random() % 4; n > 0; --n)
                    block[random() % block.size()] ^= static_cast<uint8_t> (1u << (random() % 8));
                break;
            case 2: // cut short
                block.resize (random() % block.size());
                break;
            case 3: // extended with random bytes
                for (uint32_t n = 1 + random() % 64; n > 0; --n)
                    block.push_back (random() % 2 == 0 ? randomByte() : notUtf8());
                break;
            case 4: // a wrong inner length, and some random bytes behind the text
            {
                const uint32_t length = random() % 3 == 0 ? static_cast<uint32_t> (random()) : static_cast<uint32_t> (random() % (block.size() + 16));
                for (int i = 0; i < 4; ++i)
                    block[4 + static_cast<size_t> (i)] = static_cast<uint8_t> (length >> (8 * i));
                block.back() = randomByte();
                break;
            }
            default: // random bytes after an intact header
                block.resize (8 + random() % 300);
                for (size_t i = 8; i < block.size(); ++i)
                    block[i] = randomByte();
                break;
        }

        for (int i = 0; i < 10; ++i)
            target.setParameter (i, static_cast<float> (random() % 1001) / 1000.0f);
        const auto before = valuesOf (target);
        restore (target, block);
        const auto after = valuesOf (target);
        for (size_t i = 0; i < after.size(); ++i)
            ASSERT_TRUE (after[i] >= 0.0f && after[i] <= 1.0f) << "round " << round << ", parameter " << i << ": " << after[i];
        if (mustRefuse)
        {
            ASSERT_EQ (after, before) << "round " << round;
        }
        ++(after == before ? refused : restored);
    }
    // The damage leaves many blocks readable and makes many unreadable.
    EXPECT_GT (restored, 400);
    EXPECT_GT (refused, 1000);
}
} // namespace
