// Parameter objects with their taper and display delegates.
#include "AAX_CParameter.h"
#include "HostContext.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
using kestrune::host::aax::HostContext;
using kestrune::host::aax::HostFramework;
using kestrune::host::aax::NewHostObject;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

using FloatParameter = AAX_CParameter<float>;
using BoolParameter = AAX_CParameter<bool>;

std::unique_ptr<FloatParameter> MakeFloat (const char* id = "0", float defaultValue = 0.5f, float minimum = 0.0f,
                                           float maximum = 1.0f)
{
    return std::make_unique<FloatParameter> (id, AAX_CString ("Attack"), defaultValue,
                                             AAX_CLinearTaperDelegate<float, 0> (minimum, maximum),
                                             AAX_CNumberDisplayDelegate<float, 3, 0>());
}

std::unique_ptr<BoolParameter> MakeBypass()
{
    auto bypass = std::make_unique<BoolParameter> ("MasterBypassID", AAX_CString ("Master Bypass"), false,
                                                   AAX_CBinaryTaperDelegate<bool>(),
                                                   AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"));
    bypass->SetNumberOfSteps (2);
    bypass->SetType (0);
    return bypass;
}

TEST (TaperDelegates, LinearMapsAndConstrains)
{
    const AAX_CLinearTaperDelegate<float, 0> taper (-10.0f, 30.0f);
    struct Case
    {
        double normalized;
        float real;
    };
    const Case toReal[] = { { 0.0, -10.0f }, { 0.25, 0.0f }, { 1.0, 30.0f }, { 1.5, 30.0f }, { -0.5, -10.0f }, { std::numeric_limits<double>::quiet_NaN(), -10.0f } };
    for (const Case& c : toReal)
        EXPECT_EQ (taper.NormalizedToReal (c.normalized), c.real) << c.normalized;
    const Case toNormalized[] = { { 0.0, -10.0f }, { 0.25, 0.0f }, { 1.0, 30.0f }, { 1.0, 99.0f }, { 0.0, -99.0f }, { 0.0, kNaN } };
    for (const Case& c : toNormalized)
        EXPECT_DOUBLE_EQ (taper.RealToNormalized (c.real), c.normalized) << c.real;
    EXPECT_EQ (taper.ConstrainRealValue (kNaN), -10.0f);
}

TEST (TaperDelegates, BinaryIsOnAboveZero)
{
    const AAX_CBinaryTaperDelegate<bool> taper;
    EXPECT_FALSE (taper.NormalizedToReal (0.0));
    EXPECT_TRUE (taper.NormalizedToReal (0.001));
    EXPECT_FALSE (taper.NormalizedToReal (std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ (taper.RealToNormalized (true), 1.0);
    EXPECT_EQ (taper.RealToNormalized (false), 0.0);
    EXPECT_TRUE (taper.GetMaximumValue());
    EXPECT_FALSE (taper.GetMinimumValue());
}

TEST (DisplayDelegates, NumberTextsWithAndWithoutLength)
{
    const AAX_CNumberDisplayDelegate<float, 3, 0> display;
    struct Case
    {
        float value;
        int32_t length; // -1: no length
        const char* text;
    };
    const Case cases[] = {
        { 12.5f, 3, "12" },
        { 12.5f, 10, "12.500" },
        { 12.5f, 4, "12.5" },
        { 12.5f, 2, "12" },
        { 0.5f, -1, "0.500" },
        { -12.0f, -1, "-12.000" },
        { -0.5f, 3, "-0" },
        { 0.5f, 0, "" },
        { 0.25f, 6, "0.250" },
    };
    for (const Case& c : cases)
    {
        AAX_CString text;
        const bool ok = c.length < 0 ? display.ValueToString (c.value, &text) : display.ValueToString (c.value, c.length, &text);
        EXPECT_TRUE (ok);
        EXPECT_STREQ (text.Get(), c.text) << c.value << " at " << c.length;
    }
}

TEST (DisplayDelegates, NumberReadsFiniteDecimalsOnly)
{
    const AAX_CNumberDisplayDelegate<float, 3, 0> display;
    const std::tuple<const char*, bool, float> cases[] = {
        { "0.25", true, 0.25f },
        { " 2 dB", true, 2.0f },
        { "-1.5", true, -1.5f },
        { "nan", false, 0.0f },
        { "inf", false, 0.0f },
        { "1e50", false, 0.0f },
        { "0x10", false, 0.0f },
        { "abc", false, 0.0f },
    };
    for (const auto& [text, ok, value] : cases)
    {
        float out = 7.0f;
        EXPECT_EQ (display.StringToValue (AAX_CString (text), &out), ok) << text;
        EXPECT_EQ (out, value) << text;
    }
}

TEST (DisplayDelegates, BinaryTextsAndShortenedPairs)
{
    AAX_CBinaryDisplayDelegate<bool> display ("bypass", "on");
    AAX_CString text;
    display.ValueToString (false, 2, &text);
    EXPECT_STREQ (text.Get(), "bypass"); // no pairs: the full text
    display.AddShortenedStrings (2, "by", "on");
    display.AddShortenedStrings (4, "byps", "on");
    const std::tuple<bool, int32_t, const char*> cases[] = {
        { false, 6, "bypass" },
        { false, 10, "bypass" },
        { false, 5, "byps" },
        { false, 4, "byps" },
        { false, 3, "by" },
        { false, 2, "by" },
        { false, 1, "by" },
        { true, 3, "on" },
    };
    for (const auto& [value, length, expected] : cases)
    {
        display.ValueToString (value, length, &text);
        EXPECT_STREQ (text.Get(), expected) << value << " at " << length;
    }
    bool value = true;
    EXPECT_TRUE (display.StringToValue (AAX_CString ("on"), &value));
    EXPECT_TRUE (value);
    EXPECT_TRUE (display.StringToValue (AAX_CString ("bypass"), &value));
    EXPECT_FALSE (value);
    value = true;
    EXPECT_FALSE (display.StringToValue (AAX_CString ("On"), &value));
    EXPECT_FALSE (value);
}

TEST (Parameter, ConstructionDefaultsAndIdentifierLength)
{
    auto parameter = MakeFloat ("0123456789012345678901234567890123456789", 0.25f);
    EXPECT_STREQ (parameter->Identifier(), "0123456789012345678901234567890");
    EXPECT_EQ (parameter->GetNumberOfSteps(), 128);
    EXPECT_EQ (parameter->GetType(), 1);
    EXPECT_EQ (parameter->GetOrientation(), 0);
    EXPECT_TRUE (parameter->Automatable());
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 0.25);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedDefaultValue(), 0.25);
    EXPECT_EQ (MakeFloat ("1", kNaN)->GetValue(), 0.0f);
}

TEST (Parameter, TextConversionsReportRange)
{
    auto parameter = MakeFloat();
    struct Case
    {
        const char* text;
        bool ok;
        double normalized; // written when the text reads as a number
    };
    const Case cases[] = { { "0.5", true, 0.5 }, { "2", false, 1.0 }, { "-1", false, 0.0 }, { "1", true, 1.0 } };
    for (const Case& c : cases)
    {
        double out = -7.0;
        EXPECT_EQ (parameter->GetNormalizedValueFromString (AAX_CString (c.text), &out), c.ok) << c.text;
        EXPECT_DOUBLE_EQ (out, c.normalized) << c.text;
    }
    double out = -7.0;
    EXPECT_FALSE (parameter->GetNormalizedValueFromString (AAX_CString ("nan"), &out));
    EXPECT_EQ (out, -7.0);

    AAX_CString text;
    EXPECT_TRUE (parameter->GetStringFromNormalizedValue (0.125, 4, &text));
    EXPECT_STREQ (text.Get(), "0.12");
    EXPECT_TRUE (parameter->GetValueString (2, &text));
    EXPECT_STREQ (text.Get(), "0.500"); // the length is not applied
    EXPECT_TRUE (parameter->SetValueFromString (AAX_CString ("0.75")));
    EXPECT_FLOAT_EQ (parameter->GetValue(), 0.75f);
    EXPECT_FALSE (parameter->SetValueFromString (AAX_CString ("loud")));
}

TEST (Parameter, StepsOfTheBypass)
{
    auto bypass = MakeBypass();
    EXPECT_EQ (bypass->GetStepValue(), 0);
    bypass->SetStepValue (1);
    EXPECT_EQ (bypass->GetStepValue(), 1);
    bypass->SetStepValue (5);
    EXPECT_EQ (bypass->GetStepValue(), 1);
    bypass->SetStepValue (-3);
    EXPECT_EQ (bypass->GetStepValue(), 0);
    bypass->SetNumberOfSteps (1);
    EXPECT_EQ (bypass->GetStepValue(), 0);

    auto parameter = MakeFloat();
    parameter->SetNumberOfSteps (5);
    parameter->SetStepValue (3);
    EXPECT_EQ (parameter->GetStepValue(), 3);
    EXPECT_FLOAT_EQ (parameter->GetValue(), 0.75f);
}

TEST (Parameter, TypedAccessAnswersOnlyItsOwnType)
{
    auto parameter = MakeFloat();
    auto bypass = MakeBypass();
    bool b = false;
    float f = 0;
    int32_t i = 0;
    double d = 0;
    AAX_CString s;
    EXPECT_TRUE (parameter->GetValueAsFloat (&f));
    EXPECT_FALSE (parameter->GetValueAsBool (&b) || parameter->GetValueAsInt32 (&i) || parameter->GetValueAsDouble (&d)
                  || parameter->GetValueAsString (&s));
    EXPECT_TRUE (bypass->GetValueAsBool (&b));
    EXPECT_FALSE (bypass->GetValueAsFloat (&f) || bypass->GetValueAsInt32 (&i) || bypass->GetValueAsDouble (&d));
    EXPECT_TRUE (parameter->SetValueWithFloat (0.25f));
    EXPECT_FALSE (parameter->SetValueWithBool (true) || parameter->SetValueWithDouble (1.0)
                  || parameter->SetValueWithInt32 (1) || parameter->SetValueWithString (AAX_CString ("1")));
    EXPECT_TRUE (bypass->SetValueWithBool (true));
    EXPECT_TRUE (bypass->GetValue());
}

TEST (Parameter, ShortenedNames)
{
    auto parameter = MakeFloat();
    parameter->SetName (AAX_CString ("Threshold"));
    EXPECT_STREQ (parameter->ShortenedName (3).Get(), "Threshold"); // none stored
    parameter->AddShortenedName (AAX_CString ("Thrsh"));
    parameter->AddShortenedName (AAX_CString ("Thr"));
    parameter->AddShortenedName (AAX_CString ("Th"));
    parameter->AddShortenedName (AAX_CString ("Tx"));
    const std::pair<int32_t, const char*> cases[] = {
        { 9, "Threshold" },
        { 20, "Threshold" },
        { 8, "Thrsh" },
        { 5, "Thrsh" },
        { 4, "Thr" },
        { 2, "Tx" },
        { 1, "Tx" },
    };
    for (const auto& [length, expected] : cases)
        EXPECT_STREQ (parameter->ShortenedName (length).Get(), expected) << length;
    parameter->ClearShortenedNames();
    EXPECT_STREQ (parameter->ShortenedName (1).Get(), "Threshold");
}

class ParameterWithHost : public ::testing::Test
{
protected:
    ParameterWithHost() : host (NewHostObject<HostContext> (framework)), delegate (std::make_unique<AAX_VAutomationDelegate> (host)) {}
    ~ParameterWithHost() override
    {
        delegate.reset();
        host->Release();
    }

    // The host answers set-value requests by updating the parameter.
    void Answer (AAX_IParameter& parameter)
    {
        host->AutomationDelegate().SetResponder ([&parameter] (const std::string&, double value) {
            parameter.UpdateNormalizedValue (value);
        });
    }

    std::vector<std::string> PostedCurrentValues() const
    {
        std::vector<std::string> values;
        for (const auto& call : framework.CallsTo ("AutomationDelegate"))
            if (call.slot == 6)
                values.push_back (call.arguments);
        return values;
    }

    HostFramework framework;
    HostContext* host;
    std::unique_ptr<AAX_VAutomationDelegate> delegate;
};

TEST_F (ParameterWithHost, SetValueWaitsForTheHostsUpdate)
{
    auto parameter = MakeFloat ("3", 0.5f);
    parameter->SetAutomationDelegate (delegate.get());
    EXPECT_EQ (host->AutomationDelegate().Registered(), std::set<std::string> { "3" });

    parameter->SetNormalizedValue (0.25);
    EXPECT_FLOAT_EQ (parameter->GetValue(), 0.5f);
    EXPECT_FALSE (host->AutomationDelegate().IsTouched ("3"));
    std::vector<int> slots;
    for (const auto& call : framework.CallsTo ("AutomationDelegate"))
        slots.push_back (call.slot);
    EXPECT_EQ (slots, (std::vector<int> { 3, 7, 5, 8 }));

    Answer (*parameter);
    parameter->SetNormalizedValue (0.25);
    EXPECT_FLOAT_EQ (parameter->GetValue(), 0.25f);
    EXPECT_EQ (PostedCurrentValues(), std::vector<std::string> { "\"3\",0.25" });

    host->AutomationDelegate().SetResponder (nullptr);
    parameter.reset();
    EXPECT_TRUE (host->AutomationDelegate().Registered().empty());
}

TEST_F (ParameterWithHost, UpdateReportsTheHostsValueOrWhatWasStoredOutsideTheRange)
{
    auto parameter = MakeFloat ("3", 0.5f);
    auto bypass = MakeBypass();
    parameter->SetAutomationDelegate (delegate.get());
    bypass->SetAutomationDelegate (delegate.get());
    // In range: the host's value as it came, though the parameter stores 0.3f and true.
    parameter->UpdateNormalizedValue (0.3);
    bypass->UpdateNormalizedValue (0.7);
    EXPECT_EQ (parameter->GetValue(), 0.3f);
    EXPECT_TRUE (bypass->GetValue());
    // Outside 0..1 or NaN: the value stored.
    parameter->UpdateNormalizedValue (1.7);
    parameter->UpdateNormalizedValue (std::numeric_limits<double>::quiet_NaN());
    parameter->UpdateNormalizedValue (0.0); // unchanged: nothing posted
    bypass->UpdateNormalizedValue (-2.0);
    EXPECT_EQ (PostedCurrentValues(), (std::vector<std::string> { "\"3\",0.3", "\"MasterBypassID\",0.7", "\"3\",1",
                                                                  "\"3\",0", "\"MasterBypassID\",0" }));
    EXPECT_EQ (parameter->GetValue(), 0.0f);
    EXPECT_FALSE (bypass->GetValue());
}

TEST_F (ParameterWithHost, AValueOutsideTheRangeIsAnsweredWithTheStoredOneAlsoWhenUnchanged)
{
    constexpr double kNaNValue = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const struct
    {
        bool isBypass;
        double held; // the host's update before, taken in range
        double sent;
        std::vector<std::string> posted; // what the host is told of the second update
    } cases[] = {
        { false, 1.0, 1.7, { "\"3\",1" } }, // the upper limit, held already
        { false, 1.0, kInfinity, { "\"3\",1" } },
        { false, 0.0, -0.5, { "\"3\",0" } }, // the lower limit, held already
        { false, 0.0, kNaNValue, { "\"3\",0" } },
        { true, 1.0, 3.0, { "\"MasterBypassID\",1" } },
        { true, 0.0, -2.0, { "\"MasterBypassID\",0" } },
        { false, 1.0, 1.0, {} }, // in range and unchanged: nothing to tell
        { true, 0.0, 0.0, {} },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << (c.isBypass ? "bypass" : "float") << " holding " << c.held << ", sent " << c.sent);
        std::unique_ptr<AAX_IParameter> parameter;
        if (c.isBypass)
            parameter = MakeBypass();
        else
            parameter = MakeFloat ("3", 0.5f);
        parameter->SetAutomationDelegate (delegate.get());
        parameter->UpdateNormalizedValue (c.held);
        const double held = parameter->GetNormalizedValue();
        ASSERT_EQ (held, c.held);
        framework.ClearCalls();
        parameter->UpdateNormalizedValue (c.sent);
        EXPECT_EQ (PostedCurrentValues(), c.posted);
        EXPECT_EQ (parameter->GetNormalizedValue(), held);
    }
}

TEST_F (ParameterWithHost, TaperAndDisplayChanges)
{
    auto parameter = MakeFloat ("3", 0.5f);
    parameter->SetAutomationDelegate (delegate.get());
    Answer (*parameter);

    // Keeping the value: 0.5 on 0..2 is 0.25 normalised.
    parameter->SetTaperDelegate (AAX_CLinearTaperDelegate<float, 0> (0.0f, 2.0f), true);
    EXPECT_FLOAT_EQ (parameter->GetValue(), 0.5f);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 0.25);
    // Keeping the position: 0.25 on 0..8 is 2.
    parameter->SetTaperDelegate (AAX_CLinearTaperDelegate<float, 0> (0.0f, 8.0f), false);
    EXPECT_FLOAT_EQ (parameter->GetValue(), 2.0f);
    // A taper of another type is ignored.
    parameter->SetTaperDelegate (AAX_CBinaryTaperDelegate<bool>(), false);
    EXPECT_FLOAT_EQ (parameter->GetValue(), 2.0f);

    framework.ClearCalls();
    parameter->SetDisplayDelegate (AAX_CNumberDisplayDelegate<float, 1, 0>());
    AAX_CString text;
    parameter->GetValueString (&text);
    EXPECT_STREQ (text.Get(), "2.0");
    EXPECT_EQ (PostedCurrentValues(), std::vector<std::string> { "\"3\",0.25" });
    host->AutomationDelegate().SetResponder (nullptr);
}
} // namespace
