#pragma once
// One parameter of the processor as a control of the host: the control value is the parameter's
// normalised value spread over the whole signed 32-bit range, the name and text are the
// processor's. It is a control of the wrapper's own kind, neither continuous nor discrete, so the
// controls chunk stores none of these controls: the processor's own chunk holds their state.
//
// [host thread] for every operation, as for every control.

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdint>

#include <process/controls/CPluginControl.h>

// The control value of a normalised parameter value: the nearest on the control's grid, 0 at
// 0x80000000 and 1 at 0x7fffffff.
int32_t ParameterToControlValue (float value);
// The normalised parameter value of a control value: (v + 2^31) / (2^32 - 1).
float ControlToParameterValue (int32_t controlValue);

class JuceParameterControl final : public CPluginControl
{
public:
    // The processor outlives the control's use: the process that owns both deletes the
    // processor only after the host's last call.
    JuceParameterControl (juce::AudioProcessor& processor, int parameterIndex);

    // 'jp' and the parameter index in two decimal digits: 'jp00' to 'jp09'.
    static uint32_t IdentifierOf (int parameterIndex);

    uint32_t GetIdentifier() const override { return fIdentifier; }
    // The parameter's value when the control was made.
    int32_t DefaultControlValue() const override { return fDefaultValue; }
    // The processor's step count for the parameter.
    int32_t StepCount() const override;
    // A normalised value from 0 to 1 written as a decimal number; CDAEError -7401 for other text.
    int32_t TextToValue (const char* text) const override;
    bool IsAllowedCharacter (int32_t characterCode) const override;
    void GetNameToFit (char* buffer, int32_t maxLength, int32_t unused) const override;
    int32_t GetHostHint1() const override { return 0; }
    int32_t GetHostHint2() const override { return 0; }
    int32_t GetValueKind() const override { return 1; }
    // The processor's own text when the value is the parameter's current one as the processor
    // holds it (it texts no other value); any other value as its normalised value with three
    // decimals.
    void ValueToText (char* buffer, int32_t maxLength, int32_t controlValue) const override;
    bool IsAutomatable() const override;

private:
    juce::AudioProcessor& fProcessor;
    const int fParameterIndex;
    const uint32_t fIdentifier;
    const int32_t fDefaultValue;
};
