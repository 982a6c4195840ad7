// Good sound files of every format JUCE writes here (WAV at 8, 16, 24 and 32 bits, AIFF at 8, 16
// and 24 bits, mono and stereo, some with metadata chunks), damaged in their headers and their
// data with a fixed seed, each run through the tool's process command as a program of its own
// with a time limit. Whatever the damage: no sanitizer finding, no hang, exit 0 with an output
// file or exit 1 without one.
#include "AudioFiles.h"
#include "ExampleSignal.h"
#include "SoundFileBytes.h"
#include "ToolProcess.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace
{
using namespace sound_file_bytes;
using namespace tool_process;

// The tool of this build, run as a program.
Outcome runTool (const std::vector<std::string>& arguments, const juce::File& folder)
{
    return runProgram (KESTRUNE_HOST_TOOL, arguments, folder);
}

struct GoodFile
{
    const char* name;
    bool aiff;
    int bits;
    int channels;
    bool metadata;
};

// clang-format off
const GoodFile goodFiles[] = {
    { "wav8-mono.wav",     false,  8, 1, false },
    { "wav16-stereo.wav",  false, 16, 2, true  },
    { "wav24-mono.wav",    false, 24, 1, true  },
    { "wav32-stereo.wav",  false, 32, 2, false },
    { "wav32-mono.wav",    false, 32, 1, true  },
    { "aiff8-stereo.aif",  true,   8, 2, false },
    { "aiff16-mono.aiff",  true,  16, 1, true  },
    { "aiff24-stereo.aif", true,  24, 2, true  },
};
// clang-format on

// Values that make JUCE's writers add their metadata chunks: AIFF markers and instrument,
// WAV broadcast, sampler, cue, label, info, acid and XML chunks.
// clang-format off
const std::pair<const char*, const char*> aiffMetadata[] = {
    { "NumCueLabels", "0" }, { "NumCuePoints", "1" }, { "Cue0Identifier", "1" }, { "Cue0Offset", "100" },
    { "NumSampleLoops", "1" }, { "Loop0Type", "1" }, { "Loop0StartIdentifier", "1" }, { "Loop0EndIdentifier", "1" },
    { "MidiUnityNote", "60" },
};
const std::pair<const char*, const char*> wavMetadata[] = {
    { juce::WavAudioFormat::bwavDescription, "a damaged take" }, { juce::WavAudioFormat::bwavOriginator, "KESTrune tests" },
    { juce::WavAudioFormat::riffInfoTitle, "Example" },
    { "NumSampleLoops", "1" }, { "Loop0Start", "100" }, { "Loop0End", "900" },
    { "NumCuePoints", "1" }, { "Cue0Identifier", "1" }, { "Cue0Offset", "50" },
    { "NumCueLabels", "1" }, { "CueLabel0Identifier", "1" }, { "CueLabel0Text", "here" },
    { juce::WavAudioFormat::acidOneShot, "0" }, { juce::WavAudioFormat::acidBeats, "4" }, { juce::WavAudioFormat::aswgProject, "KESTrune" },
};
// clang-format on

juce::StringPairArray metadataFor (bool aiff)
{
    juce::StringPairArray values;
    if (aiff)
        for (const auto& [key, value] : aiffMetadata)
            values.set (key, value);
    else
        for (const auto& [key, value] : wavMetadata)
            values.set (key, value);
    return values;
}

Bytes writeGoodFile (const GoodFile& good, const juce::File& file)
{
    auto samples = makeExampleSignal (44100.0, 0.05);
    samples.setSize (good.channels, samples.getNumSamples(), true);
    {
        auto stream = file.createOutputStream();
        juce::WavAudioFormat wav;
        juce::AiffAudioFormat aiff;
        juce::AudioFormat& format = good.aiff ? static_cast<juce::AudioFormat&> (aiff) : wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (format.createWriterFor (
            stream.get(), 44100.0, unsigned (good.channels), good.bits,
            good.metadata ? metadataFor (good.aiff) : juce::StringPairArray(), 0));
        if (writer == nullptr)
            return {};
        stream.release();
        if (! writer->writeFromAudioSampleBuffer (samples, 0, samples.getNumSamples()))
            return {};
    }
    return load (file);
}

uint64_t interestingValue (std::mt19937& random, uint64_t current)
{
    const uint64_t values[] = { 0, 1, 2, 3, 7, 0x7F, 0x80, 0xFF, 0xFFFF, 0x7FFF, 0x8000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF };
    switch (random() % 4)
    {
        case 0: return values[random() % std::size (values)];
        case 1: return current + 1 + random() % 16;
        case 2: return current - 1 - random() % 16;
        default: return random();
    }
}

// One to three damages of one kind: sizes of chunks, fields of the format chunk (a WAV's
// "fmt ", an AIFF's "COMM"), the sample data, random bytes of the header, truncation and
// extension.
Bytes damage (Bytes bytes, std::mt19937& random)
{
    const auto chunks = chunksOf (bytes);
    const bool aiff = isBigEndian (bytes);
    const auto format = findChunk (bytes, aiff ? "COMM" : "fmt ");
    const auto data = findChunk (bytes, aiff ? "SSND" : "data");
    // WAV: format tag, channels, rate, byte rate, block align, bits. AIFF: channels, frames,
    // bits, then the rate's exponent and mantissa.
    const std::pair<size_t, size_t> wavFields[] = { { 0, 2 }, { 2, 2 }, { 4, 4 }, { 8, 4 }, { 12, 2 }, { 14, 2 } };
    const std::pair<size_t, size_t> aiffFields[] = { { 0, 2 }, { 2, 4 }, { 6, 2 }, { 8, 2 }, { 10, 4 } };

    const uint32_t kind = random() % 7;
    for (uint32_t n = 1 + random() % 3; n > 0; --n)
    {
        switch (kind)
        {
            case 0: // a size: the file's or a chunk's
            {
                const size_t at = random() % 3 == 0 || chunks.empty() ? 4 : chunks[random() % chunks.size()].header + 4;
                putField (bytes, at, interestingValue (random, getField32 (bytes, at)), 4);
                break;
            }
            case 1: // a field of the format chunk
                if (format)
                {
                    const auto field = aiff ? aiffFields[random() % std::size (aiffFields)] : wavFields[random() % std::size (wavFields)];
                    putField (bytes, format->data + field.first, interestingValue (random, 0), field.second);
                }
                break;
            case 2: // the sample data, NaN and infinity patterns among them
                if (data && data->size > 0)
                {
                    const size_t at = data->data + random() % data->size;
                    const uint8_t patterns[] = { 0xFF, 0x7F, 0x80, 0x00 };
                    for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
                        bytes[at + i] = random() % 2 == 0 ? patterns[random() % 4] : uint8_t (random());
                }
                break;
            case 3: // random bytes of the header and the chunks after it
                bytes[random() % std::min<size_t> (bytes.size(), data ? data->data + 16 : bytes.size())] = uint8_t (random());
                break;
            case 4: // cut short
                bytes.resize (random() % bytes.size());
                break;
            case 5: // random bytes after the end
                for (uint32_t i = random() % 200; i > 0; --i)
                    bytes.push_back (uint8_t (random()));
                break;
            default: // a chunk's identifier
                if (! chunks.empty())
                    bytes[chunks[random() % chunks.size()].header + random() % 4] = uint8_t (random());
                break;
        }
        if (bytes.size() < 8)
            break;
    }
    return bytes;
}

TEST (HostToolDamagedSoundFiles, AreProcessedOrRefusedCleanly)
{
    struct Folder
    {
        juce::File file = juce::File::createTempFile ("kestrune-damaged-sound");
        ~Folder() { file.deleteRecursively(); }
    } temporary;
    const juce::File& folder = temporary.file;
    ASSERT_TRUE (folder.createDirectory());
    std::mt19937 random (20261229u);
    int processed = 0, refused = 0;
    const int runsPerFile = 24;
    for (const auto& good : goodFiles)
    {
        const Bytes original = writeGoodFile (good, folder.getChildFile (good.name));
        ASSERT_FALSE (original.empty()) << good.name;
        folder.getChildFile (good.name).deleteFile();
        if (good.metadata)
        {
            const auto ids = good.aiff ? std::vector<const char*> { "MARK", "INST" } : std::vector<const char*> { "bext", "smpl", "cue ", "LIST", "acid" };
            for (const char* id : ids)
                ASSERT_TRUE (findChunk (original, id).has_value()) << good.name << " lacks " << id;
        }
        for (int run = 0; run < runsPerFile; ++run)
        {
            const auto input = folder.getChildFile (juce::String ("damaged-") + good.name);
            const auto output = folder.getChildFile ("out.wav");
            ASSERT_TRUE (save (input, run == 0 ? original : damage (original, random)));
            const auto outcome = runTool ({ "process", input.getFullPathName().toStdString(), output.getFullPathName().toStdString() }, folder);

            const std::string what = std::string (good.name) + ", run " + std::to_string (run);
            ASSERT_FALSE (outcome.timedOut) << what;
            ASSERT_TRUE (outcome.code == 0 || outcome.code == 1) << what << ": exit " << outcome.code << "\n"
                                                                 << outcome.err;
            ASSERT_EQ (outcome.err.find ("Sanitizer"), std::string::npos) << what << "\n"
                                                                          << outcome.err;
            ASSERT_EQ (outcome.err.find ("runtime error"), std::string::npos) << what << "\n"
                                                                              << outcome.err;
            if (run == 0)
            {
                ASSERT_EQ (outcome.code, 0) << what << "\n"
                                            << outcome.err;
            }
            // Exit 0 leaves a whole output file, exit 1 none, no temporary file either, and
            // says why.
            ASSERT_EQ (output.existsAsFile(), outcome.code == 0) << what;
            if (outcome.code == 0)
            {
                EXPECT_NO_THROW (SoundFileReader { output }) << what;
            }
            else
            {
                EXPECT_EQ (outcome.err.rfind ("kestrune-host: ", 0), 0u) << what << "\n"
                                                                         << outcome.err;
            }
            ++(outcome.code == 0 ? processed : refused);
            output.deleteFile();
            // Left: the input and the tool's output and errors.
            ASSERT_EQ (folder.getNumberOfChildFiles (juce::File::findFiles), 3) << what;
            input.deleteFile();
        }
    }
    // The damage leaves many files readable and makes many unreadable.
    EXPECT_GT (processed, 30);
    EXPECT_GT (refused, 30);
}
} // namespace
