#include "HostCommands.h"

#include "AudioFiles.h"
#include "ExampleSignal.h"
#include "PluginHost.h"
#include "StateFile.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace kestrune::tool
{
namespace
{
    constexpr int blockSize = 512;
    constexpr double exampleRate = 48000.0;
    constexpr double exampleSeconds = 8.0;
    // Files longer than this show a progress line while they run.
    constexpr double progressSeconds = 30.0;
    // Blocks quieter than this do not count towards the largest gain reduction.
    constexpr double silenceDecibels = -70.0;

    const char* const usage =
        "usage: kestrune-host COMMAND [ARGS] [OPTIONS]\n"
        "  info                 the plug-in's description and its host parameters with values and texts\n"
        "  process IN OUT.wav   run a sound file through the plug-in, block by block\n"
        "  demo [FOLDER]        the built-in example in and out, as demo-in.wav and demo-out.wav\n"
        "  editor OUT.png       the plug-in's editor as the host shows it, drawn into a picture\n"
        "options:\n"
        "  --set NAME=VALUE     set a parameter (name or host identifier) to a normalised value 0..1\n"
        "  --bypass             switch the host's master bypass on (process)\n"
        "  --load-state FILE    restore the plug-in's chunks from a state file first\n"
        "  --save-state FILE    save the plug-in's chunks after processing (process)\n"
        "  --plugin FILE        the plug-in file to load (default: the one built beside this tool)\n";

    struct UsageError : std::runtime_error
    {
        using std::runtime_error::runtime_error;
    };
    struct Failure : std::runtime_error
    {
        using std::runtime_error::runtime_error;
    };

    struct CommandLine
    {
        juce::StringArray positional;
        std::vector<ParameterSetting> settings;
        bool bypass = false;
        juce::String loadState, saveState;
        juce::String plugin = defaultPluginPath();
    };

    juce::File fileArgument (const juce::String& path)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (path);
    }

    CommandLine parseCommandLine (const juce::StringArray& arguments)
    {
        CommandLine line;
        for (int i = 0; i < arguments.size(); ++i)
        {
            const auto& argument = arguments[i];
            const auto value = [&] {
                if (++i == arguments.size())
                    throw UsageError (argument.toStdString() + " needs a value");
                return arguments[i];
            };
            if (argument == "--set")
            {
                juce::String error;
                const auto setting = parseSetting (value(), error);
                if (! setting)
                    throw UsageError (error.toStdString());
                line.settings.push_back (*setting);
            }
            else if (argument == "--bypass")
                line.bypass = true;
            else if (argument == "--load-state")
                line.loadState = value();
            else if (argument == "--save-state")
                line.saveState = value();
            else if (argument == "--plugin")
                line.plugin = value();
            else if (argument.startsWith ("--"))
                throw UsageError ("unknown option " + argument.toStdString());
            else
                line.positional.add (argument);
        }
        if (line.positional.isEmpty())
            throw UsageError ("no command given");
        return line;
    }

    // Writes through a temporary file beside the target, so that a failure leaves nothing behind.
    template <class Write>
    void writeWhole (const juce::File& target, Write&& write)
    {
        if (! target.getParentDirectory().isDirectory())
            throw Failure ("cannot write " + target.getFullPathName().toStdString() + ": no such folder");
        const juce::TemporaryFile temporary (target);
        if (! write (temporary.getFile()) || ! temporary.overwriteTargetFileWithTemporary())
            throw Failure ("cannot write " + target.getFullPathName().toStdString());
    }

    void loadState (PluginInstance& instance, const juce::String& path)
    {
        const auto file = fileArgument (path);
        juce::MemoryBlock data;
        if (! file.existsAsFile() || ! file.loadFileAsData (data))
            throw Failure ("cannot read the state file " + file.getFullPathName().toStdString());
        const auto* bytes = static_cast<const uint8_t*> (data.getData());
        const auto chunks = decodeStateFile ({ bytes, bytes + data.getSize() }, instance.chunkSizeField());
        if (! chunks)
            throw Failure ("not a state file of this plug-in file: " + file.getFullPathName().toStdString());
        for (const auto& chunk : *chunks)
            instance.restoreChunk (chunk);
    }

    void saveState (const PluginInstance& instance, const juce::String& path)
    {
        const auto bytes = encodeStateFile (instance.saveChunks());
        writeWhole (fileArgument (path), [&] (const juce::File& file) { return file.replaceWithData (bytes.data(), bytes.size()); });
    }

    // The settings of the command line, then the bypass; an unknown name is a usage error.
    void applySettings (PluginInstance& instance, const CommandLine& line)
    {
        if (line.loadState.isNotEmpty())
            loadState (instance, line.loadState);
        for (const auto& setting : line.settings)
        {
            const auto parameter = findParameter (instance, setting.name);
            if (! parameter)
                throw UsageError ("the plug-in has no parameter named \"" + setting.name + "\"");
            instance.setParameter (*parameter, setting.value);
        }
        if (line.bypass)
            instance.setMasterBypass (true);
    }

    void printParameters (const PluginInstance& instance, std::ostream& out)
    {
        out << "host parameters:\n";
        for (const auto& parameter : instance.parameters())
            out << std::setw (3) << parameter.index << "  " << std::left << std::setw (16) << parameter.id << std::setw (14)
                << parameter.name << std::right << std::fixed << std::setprecision (4) << parameter.value << "  "
                << parameter.text << "\n";
    }

    struct Levels
    {
        float peak = 0.0f;
        double sumOfSquares = 0.0;
        int64_t samples = 0;

        void add (const float* data, int count)
        {
            for (int i = 0; i < count; ++i)
            {
                peak = std::max (peak, std::abs (data[i]));
                sumOfSquares += double (data[i]) * data[i];
            }
            samples += count;
        }
        double rms() const { return samples > 0 ? std::sqrt (sumOfSquares / double (samples)) : 0.0; }
    };

    double decibels (double gain)
    {
        return gain > 0.0 ? std::max (20.0 * std::log10 (gain), -100.0) : -100.0;
    }

    // Where the blocks of a run come from and where they go, a file or a buffer in memory:
    // count frames from frame start on, at the start of the block. Each throws when it fails.
    using ReadBlock = std::function<void (juce::AudioBuffer<float>& block, int64_t start, int count)>;
    using WriteBlock = std::function<void (const juce::AudioBuffer<float>& block, int64_t start, int count)>;

    // Runs length frames through the instance block by block, with memory that does not grow
    // with the length, and prints the summary.
    void runThrough (PluginInstance& instance, int channels, int64_t length, double sampleRate,
                     const ReadBlock& readBlock, const WriteBlock& writeBlock, std::ostream& out, std::ostream& err)
    {
        juce::AudioBuffer<float> input (channels, blockSize), output (channels, blockSize);
        std::vector<const float*> inputs;
        std::vector<float*> outputs;
        for (int c = 0; c < channels; ++c)
        {
            inputs.push_back (input.getReadPointer (c));
            outputs.push_back (output.getWritePointer (c));
        }
        output.clear();

        const bool showProgress = double (length) > sampleRate * progressSeconds;
        Levels in, processed;
        double largestReduction = 0.0;
        int shownPercent = -1;
        for (int64_t start = 0; start < length; start += blockSize)
        {
            const int count = int (std::min<int64_t> (blockSize, length - start));
            readBlock (input, start, count);
            instance.process (inputs.data(), outputs.data(), count);
            writeBlock (output, start, count);

            Levels blockIn, blockOut;
            for (int c = 0; c < channels; ++c)
            {
                blockIn.add (inputs[size_t (c)], count);
                blockOut.add (outputs[size_t (c)], count);
                in.add (inputs[size_t (c)], count);
                processed.add (outputs[size_t (c)], count);
            }
            if (decibels (blockIn.rms()) > silenceDecibels)
                largestReduction = std::max (largestReduction, decibels (blockIn.rms()) - decibels (blockOut.rms()));
            const int percent = int (100.0 * double (start + count) / double (length));
            if (showProgress && percent / 10 != shownPercent / 10)
            {
                err << "\rprocessing: " << std::setw (3) << percent << "%" << std::flush;
                shownPercent = percent;
            }
        }
        if (showProgress)
            err << "\n";
        out << std::fixed << std::setprecision (2)
            << "in:  peak " << decibels (in.peak) << " dBFS, RMS " << decibels (in.rms()) << " dBFS\n"
            << "out: peak " << decibels (processed.peak) << " dBFS, RMS " << decibels (processed.rms()) << " dBFS\n"
            << "largest gain reduction: " << largestReduction << " dB\n";
        if (processed.peak > 1.0f)
            out << "the output peaks " << decibels (processed.peak) << " dB above full scale: the float file keeps it "
                << "whole, but it clips when converted to a fixed-point format unless it is turned down first\n";
    }

    // Runs a sound held in memory through the instance into a new buffer.
    juce::AudioBuffer<float> runThrough (PluginInstance& instance, const AudioFile& audio, std::ostream& out, std::ostream& err)
    {
        const int channels = audio.samples.getNumChannels();
        juce::AudioBuffer<float> result (channels, audio.samples.getNumSamples());
        const auto readBlock = [&] (juce::AudioBuffer<float>& block, int64_t start, int count) {
            for (int c = 0; c < channels; ++c)
                block.copyFrom (c, 0, audio.samples, c, int (start), count);
        };
        const auto writeBlock = [&] (const juce::AudioBuffer<float>& block, int64_t start, int count) {
            for (int c = 0; c < channels; ++c)
                result.copyFrom (c, int (start), block, c, 0, count);
        };
        runThrough (instance, channels, audio.samples.getNumSamples(), audio.sampleRate, readBlock, writeBlock, out, err);
        return result;
    }

    void writeAudio (const juce::File& target, juce::AudioBuffer<float> samples, double sampleRate, std::ostream& out)
    {
        const AudioFile audio { std::move (samples), sampleRate };
        writeWhole (target, [&] (const juce::File& file) { return writeWavFile (file, audio); });
        out << "wrote " << target.getFullPathName() << "\n";
    }

    int runInfo (PluginHost& host, const CommandLine& line, std::ostream& out)
    {
        auto instance = host.newInstance (2, exampleRate);
        applySettings (*instance, line);
        host.describe (out);
        printParameters (*instance, out);
        return 0;
    }

    // Streams the input file through the instance into the output file, block by block.
    int runProcess (PluginHost& host, const CommandLine& line, std::ostream& out, std::ostream& err)
    {
        const auto inputFile = fileArgument (line.positional[1]);
        const auto outputFile = fileArgument (line.positional[2]);
        SoundFileReader reader (inputFile);
        if (reader.truncated())
            err << "kestrune-host: " << inputFile.getFullPathName() << " is truncated: its header promises "
                << reader.framesPromised() << " frames, the file holds " << reader.frames() << "; processing those\n";
        auto instance = host.newInstance (reader.channels(), reader.sampleRate());
        applySettings (*instance, line);
        printParameters (*instance, out);
        writeWhole (outputFile, [&] (const juce::File& file) {
            const auto writer = SoundFileWriter::create (file, reader.channels(), reader.sampleRate());
            if (writer == nullptr)
                return false;
            const auto readBlock = [&] (juce::AudioBuffer<float>& block, int64_t start, int count) {
                if (! reader.read (block, start, count))
                    throw Failure ("cannot read " + inputFile.getFullPathName().toStdString());
            };
            const auto writeBlock = [&] (const juce::AudioBuffer<float>& block, int64_t, int count) {
                if (! writer->write (block, count))
                    throw Failure ("cannot write " + outputFile.getFullPathName().toStdString());
            };
            runThrough (*instance, reader.channels(), reader.frames(), reader.sampleRate(), readBlock, writeBlock, out, err);
            return true;
        });
        out << "wrote " << outputFile.getFullPathName() << "\n";
        if (line.saveState.isNotEmpty())
        {
            saveState (*instance, line.saveState);
            out << "saved the state to " << fileArgument (line.saveState).getFullPathName() << "\n";
        }
        return 0;
    }

    // Draws the editor as the host shows it and writes the picture.
    int runEditor (PluginHost& host, const CommandLine& line, std::ostream& out)
    {
        auto instance = host.newInstance (2, exampleRate);
        applySettings (*instance, line);
        const auto picture = instance->drawEditor();
        if (! picture)
            throw Failure ("this host tool cannot show the editor of " + line.plugin.toStdString());

        const auto target = fileArgument (line.positional[1]);
        writeWhole (target, [&] (const juce::File& file) {
            juce::FileOutputStream stream (file);
            return stream.openedOk() && juce::PNGImageFormat().writeImageToStream (*picture, stream);
        });
        out << "wrote " << target.getFullPathName() << " (" << picture->getWidth() << " x " << picture->getHeight() << ")\n";
        return 0;
    }

    int runDemo (PluginHost& host, const CommandLine& line, std::ostream& out, std::ostream& err)
    {
        const auto folder = fileArgument (line.positional.size() > 1 ? line.positional[1] : "kestrune-demo");
        if (! folder.createDirectory())
            throw Failure ("cannot create " + folder.getFullPathName().toStdString());
        auto instance = host.newInstance (2, exampleRate);
        applySettings (*instance, line);
        const AudioFile audio { makeExampleSignal (exampleRate, exampleSeconds), exampleRate };
        auto processed = runThrough (*instance, audio, out, err);
        writeAudio (folder.getChildFile ("demo-in.wav"), audio.samples, exampleRate, out);
        writeAudio (folder.getChildFile ("demo-out.wav"), std::move (processed), exampleRate, out);
        out << "the demo is in " << folder.getFullPathName() << "\n";
        return 0;
    }
} // namespace

std::optional<ParameterSetting> parseSetting (const juce::String& text, juce::String& error)
{
    const auto name = text.upToFirstOccurrenceOf ("=", false, false).trim();
    const auto valueText = text.fromFirstOccurrenceOf ("=", false, false).trim();
    if (! text.contains ("=") || name.isEmpty())
    {
        error = "expected NAME=VALUE, got \"" + text + "\"";
        return std::nullopt;
    }
    const bool isNumber = valueText.isNotEmpty() && valueText.containsOnly ("0123456789.")
                          && valueText.indexOfChar ('.') == valueText.lastIndexOfChar ('.') && valueText != ".";
    const double value = valueText.getDoubleValue();
    if (! isNumber || value < 0.0 || value > 1.0)
    {
        error = "the value of " + name + " must be a number from 0 to 1, got \"" + valueText + "\"";
        return std::nullopt;
    }
    return ParameterSetting { name.toStdString(), value };
}

int runHostCommand (const juce::StringArray& arguments, std::ostream& out, std::ostream& err)
{
    try
    {
        const auto line = parseCommandLine (arguments);
        const auto& command = line.positional[0];
        const int argumentCount = line.positional.size() - 1;
        const bool known = (command == "info" && argumentCount == 0) || (command == "process" && argumentCount == 2)
                           || (command == "demo" && argumentCount <= 1) || (command == "editor" && argumentCount == 1);
        if (! known)
            throw UsageError ("unknown command or wrong number of arguments: " + arguments.joinIntoString (" ").toStdString());
        if (command != "process" && (line.bypass || line.saveState.isNotEmpty()))
            throw UsageError ("--bypass and --save-state go with process");

        const auto host = openPluginHost (line.plugin.toStdString());
        if (command == "info")
            return runInfo (*host, line, out);
        if (command == "process")
            return runProcess (*host, line, out, err);
        if (command == "editor")
            return runEditor (*host, line, out);
        return runDemo (*host, line, out, err);
    }
    catch (const UsageError& error)
    {
        err << "kestrune-host: " << error.what() << "\n"
            << usage;
        return 2;
    }
    catch (const std::exception& error)
    {
        err << "kestrune-host: " << error.what() << "\n";
        return 1;
    }
}

int runHostCommand (int argc, const char* const argv[], std::ostream& out, std::ostream& err)
{
    juce::StringArray arguments;
    for (int i = 0; i < argc; ++i)
    {
        const auto length = static_cast<int> (std::strlen (argv[i]));
        if (! juce::CharPointer_UTF8::isValidString (argv[i], length))
        {
            err << "kestrune-host: argument " << i + 1 << " is not UTF-8 text\n"
                << usage;
            return 2;
        }
        arguments.add (juce::String::fromUTF8 (argv[i], length));
    }
    return runHostCommand (arguments, out, err);
}
} // namespace kestrune::tool
