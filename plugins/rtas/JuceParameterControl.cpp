#include "JuceParameterControl.h"

#include <charconv>
#include <cstring>
#include <string>

#include <process/base/CDAEError.h>
#include <process/base/FourCharCode.h>
#include <process/controls/ControlValueMapping.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

int32_t ParameterToControlValue (float value)
{
    return ScaleToLongReal (static_cast<double> (value), 0.0, 1.0);
}

float ControlToParameterValue (int32_t controlValue)
{
    return static_cast<float> (ControlValueFraction (controlValue));
}

JuceParameterControl::JuceParameterControl (juce::AudioProcessor& processor, int parameterIndex)
    : fProcessor (processor),
      fParameterIndex (parameterIndex),
      fIdentifier (IdentifierOf (parameterIndex)),
      fDefaultValue (ParameterToControlValue (processor.getParameter (parameterIndex)))
{
    SetValue (fDefaultValue);
}

uint32_t JuceParameterControl::IdentifierOf (int parameterIndex)
{
    const char code[] = { 'j', 'p', static_cast<char> ('0' + (parameterIndex / 10) % 10), static_cast<char> ('0' + parameterIndex % 10), 0 };
    return FourCharCode (code);
}

int32_t JuceParameterControl::StepCount() const
{
    return fProcessor.getParameterNumSteps (fParameterIndex);
}

int32_t JuceParameterControl::TextToValue (const char* text) const
{
    if (text == nullptr)
        throw CDAEError (RTASError::kUnexpected);
    const char* end = text + std::strlen (text);
    double value = 0.0;
    const auto [stop, error] = std::from_chars (text, end, value);
    if (error != std::errc() || stop != end || ! (value >= 0.0 && value <= 1.0))
        throw CDAEError (RTASError::kUnexpected);
    return ScaleToLongReal (value, 0.0, 1.0);
}

bool JuceParameterControl::IsAllowedCharacter (int32_t characterCode) const
{
    return (characterCode >= '0' && characterCode <= '9') || characterCode == '.';
}

void JuceParameterControl::GetNameToFit (char* buffer, int32_t maxLength, int32_t) const
{
    CopyNameToFit (buffer, fProcessor.getParameterName (fParameterIndex).toRawUTF8(), maxLength);
}

void JuceParameterControl::ValueToText (char* buffer, int32_t maxLength, int32_t controlValue) const
{
    if (ControlToParameterValue (controlValue) == fProcessor.getParameter (fParameterIndex))
    {
        CopyTextToFit (buffer, fProcessor.getParameterText (fParameterIndex).toRawUTF8(), maxLength);
        return;
    }
    char text[16] = {};
    std::snprintf (text, sizeof text, "%.3f", ControlValueFraction (controlValue));
    CopyTextToFit (buffer, text, maxLength);
}

bool JuceParameterControl::IsAutomatable() const
{
    return fProcessor.isParameterAutomatable (fParameterIndex);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
