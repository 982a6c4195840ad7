// The saved-state block: layout, round trip, letter case, partial and bad blocks.
#include "KestruneAudioProcessor.h"

#include <gtest/gtest.h>

#include <cstring>
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

void restore (KestruneAudioProcessor& processor, const std::vector<uint8_t>& block)
{
    processor.setStateInformation (block.data(), static_cast<int> (block.size()));
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
} // namespace
