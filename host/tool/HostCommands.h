// The command line of kestrune-host: runs a plug-in file through the stand-in host of its format.
#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <ostream>
#include <string>

namespace kestrune::tool
{
struct ParameterSetting
{
    std::string name; // a parameter name or a host identifier
    double value = 0.0;
};

// Reads "NAME=VALUE" with VALUE a normalised value in [0, 1]. On failure returns nothing and
// says why in error. Whether NAME exists is for the plug-in to say.
std::optional<ParameterSetting> parseSetting (const juce::String& text, juce::String& error);

// Runs one command; returns the exit code: 0 done, 1 a file or the plug-in failed, 2 bad usage.
// Nothing is left half written: output files appear complete or not at all.
int runHostCommand (const juce::StringArray& arguments, std::ostream& out, std::ostream& err);

// The same with the arguments as the program receives them (without its own name). An argument
// that is not UTF-8 text is bad usage: JUCE's strings step over a malformed sequence without
// looking for its end, so no such argument becomes one.
int runHostCommand (int argc, const char* const argv[], std::ostream& out, std::ostream& err);
} // namespace kestrune::tool
