#include "HostCommands.h"

#include "AudioFiles.h"
#include "ExampleSignal.h"
#include "KestruneAudioProcessor.h"

#include <iomanip>
#include <vector>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
constexpr int blockSize = 512;
constexpr double exampleRate = 48000.0;
constexpr double exampleSeconds = 8.0;

const char* const usage =
    "usage: kestrune-host COMMAND [ARGS] [--set NAME=VALUE]...\n"
    "  info                   list the parameters, their values and texts\n"
    "  demo [FOLDER]          compress the built-in example; writes its input and output there\n"
    "  process IN OUT.wav     compress a sound file\n"
    "NAME is a parameter name, VALUE a normalised value from 0 to 1.\n";

struct CommandLine
{
    juce::StringArray positional;
    std::vector<ParameterSetting> settings;
};

std::optional<CommandLine> parseCommandLine (juce::AudioProcessor& processor, const juce::StringArray& arguments, std::ostream& err)
{
    CommandLine line;
    for (int i = 0; i < arguments.size(); ++i)
    {
        if (arguments[i] != "--set")
        {
            line.positional.add (arguments[i]);
            continue;
        }
        if (++i == arguments.size())
        {
            err << "--set needs NAME=VALUE\n";
            return std::nullopt;
        }
        juce::String error;
        const auto setting = parseSetting (processor, arguments[i], error);
        if (! setting)
        {
            err << error << "\n";
            return std::nullopt;
        }
        line.settings.push_back (*setting);
    }
    return line;
}

void printParameters (juce::AudioProcessor& processor, std::ostream& out)
{
    for (int i = 0; i < processor.getNumParameters(); ++i)
        out << std::setw (2) << i << "  " << std::left << std::setw (10) << processor.getParameterName (i)
            << std::right << std::fixed << std::setprecision (4) << processor.getParameter (i)
            << "  " << processor.getParameterText (i) << "\n";
}

void printLevels (const char* label, const juce::AudioBuffer<float>& buffer, std::ostream& out)
{
    const auto dB = [] (float gain) { return juce::Decibels::gainToDecibels (gain, -100.0f); };
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        out << label << " channel " << c + 1 << ": peak " << std::fixed << std::setprecision (2)
            << dB (buffer.getMagnitude (c, 0, buffer.getNumSamples())) << " dBFS, RMS "
            << dB (buffer.getRMSLevel (c, 0, buffer.getNumSamples())) << " dBFS\n";
}

int compress (KestruneAudioProcessor& processor, AudioFile audio, const juce::File& file, std::ostream& out, std::ostream& err)
{
    printLevels ("in ", audio.samples, out);
    processInBlocks (processor, audio.samples, audio.sampleRate, blockSize);
    printLevels ("out", audio.samples, out);
    out << "gain reduction at the end: " << std::fixed << std::setprecision (2)
        << juce::Decibels::gainToDecibels (processor.getGainReductionMeterValue(), -100.0) << " dB\n";

    if (! writeWavFile (file, audio))
    {
        err << "cannot write " << file.getFullPathName() << "\n";
        return 1;
    }
    out << "wrote " << file.getFullPathName() << "\n";
    return 0;
}
} // namespace

std::optional<ParameterSetting> parseSetting (juce::AudioProcessor& processor, const juce::String& text, juce::String& error)
{
    const auto name = text.upToFirstOccurrenceOf ("=", false, false).trim();
    const auto valueText = text.fromFirstOccurrenceOf ("=", false, false).trim();
    if (! text.contains ("=") || name.isEmpty())
    {
        error = "expected NAME=VALUE, got \"" + text + "\"";
        return std::nullopt;
    }

    ParameterSetting setting;
    for (int i = 0; i < processor.getNumParameters(); ++i)
        if (processor.getParameterName (i).equalsIgnoreCase (name))
            setting.index = i;
    if (setting.index < 0)
    {
        error = "no parameter named \"" + name + "\"";
        return std::nullopt;
    }

    const bool isNumber = valueText.isNotEmpty() && valueText.containsOnly ("0123456789.") && valueText.indexOfChar ('.') == valueText.lastIndexOfChar ('.');
    const double value = valueText.getDoubleValue();
    if (! isNumber || value < 0.0 || value > 1.0)
    {
        error = "value of " + name + " must be a number from 0 to 1, got \"" + valueText + "\"";
        return std::nullopt;
    }
    setting.value = static_cast<float> (value);
    return setting;
}

void processInBlocks (juce::AudioProcessor& processor, juce::AudioBuffer<float>& buffer, double sampleRate, int samplesPerBlock)
{
    const int channels = buffer.getNumChannels();
    processor.setPlayConfigDetails (channels, channels, sampleRate, samplesPerBlock);
    processor.prepareToPlay (sampleRate, samplesPerBlock);
    juce::MidiBuffer midi;
    for (int start = 0; start < buffer.getNumSamples(); start += samplesPerBlock)
    {
        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), channels, start,
                                        std::min (samplesPerBlock, buffer.getNumSamples() - start));
        const juce::ScopedLock lock (processor.getCallbackLock());
        processor.processBlock (block, midi);
    }
}

int runHostCommand (const juce::StringArray& arguments, std::ostream& out, std::ostream& err)
{
    KestruneAudioProcessor processor;
    const auto line = parseCommandLine (processor, arguments, err);
    if (! line || line->positional.isEmpty())
    {
        err << usage;
        return 2;
    }
    for (const auto& setting : line->settings)
        processor.setParameter (setting.index, setting.value);

    const auto& command = line->positional[0];
    const int argumentCount = line->positional.size() - 1;
    if (command == "info" && argumentCount == 0)
    {
        printParameters (processor, out);
        return 0;
    }
    if (command == "demo" && argumentCount <= 1)
    {
        const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (argumentCount == 1 ? line->positional[1] : "kestrune-demo");
        if (! folder.createDirectory())
        {
            err << "cannot create " << folder.getFullPathName() << "\n";
            return 1;
        }
        printParameters (processor, out);
        AudioFile audio { makeExampleSignal (exampleRate, exampleSeconds), exampleRate };
        const auto input = folder.getChildFile ("demo-in.wav");
        if (! writeWavFile (input, audio))
        {
            err << "cannot write " << input.getFullPathName() << "\n";
            return 1;
        }
        out << "wrote " << input.getFullPathName() << "\n";
        return compress (processor, std::move (audio), folder.getChildFile ("demo-out.wav"), out, err);
    }
    if (command == "process" && argumentCount == 2)
    {
        const auto input = juce::File::getCurrentWorkingDirectory().getChildFile (line->positional[1]);
        auto audio = readAudioFile (input);
        if (! audio)
        {
            err << "cannot read " << input.getFullPathName() << "\n";
            return 1;
        }
        printParameters (processor, out);
        return compress (processor, std::move (*audio), juce::File::getCurrentWorkingDirectory().getChildFile (line->positional[2]), out, err);
    }
    err << usage;
    return 2;
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
