// The library's effect parameters over every parameter type its controls chunk knows: float,
// 32-bit integer, bool, double and string. The product registers float parameters only, so
// these roads are driven here by an effect of the test's own.
#include "AAX_CEffectParameters.h"
#include "AAX_CParameter.h"
#include "ChunkTestSupport.h"
#include "HostString.h"
#include "WrapperTestSupport.h"

#include <bit>
#include <string>
#include <type_traits>
#include <vector>

namespace
{
using namespace aax_test;
using kestrune::host::aax::HostString;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kControlsChunk = 0x656C636B; // 'elck'
constexpr uint32_t kOtherChunk = 0x61626364; // 'abcd'

// A parameter of a value type the library's parameter class does not hold: it answers only
// its own typed getter and setter and takes values at once, without the host.
template <typename T>
class PlainParameter final : public AAX_IParameter
{
public:
    PlainParameter (const char* id, const char* name, T value) : id_ (id), name_ (name), value_ (value) {}

    const char* Identifier() const override { return id_.c_str(); }
    void SetName (const AAX_CString& name) override { name_ = name; }
    const AAX_CString& Name() const override { return name_; }
    void AddShortenedName (const AAX_CString&) override {}
    AAX_CString ShortenedName (int32_t) const override { return name_; }
    void ClearShortenedNames() override {}
    bool Automatable() const override { return true; }
    void SetAutomationDelegate (AAX_IAutomationDelegate*) override {}
    void Touch() override {}
    void Release() override {}
    void SetNormalizedValue (double) override {}
    double GetNormalizedValue() const override { return 0.0; }
    void SetNormalizedDefaultValue (double) override {}
    double GetNormalizedDefaultValue() const override { return 0.0; }
    void SetToDefaultValue() override {}
    void SetNumberOfSteps (int32_t) override {}
    int32_t GetNumberOfSteps() const override { return 0; }
    int32_t GetStepValue() const override { return 0; }
    void SetStepValue (int32_t) override {}
    bool GetValueString (int32_t, AAX_CString*) const override { return false; }
    bool GetValueString (AAX_CString*) const override { return false; }
    bool GetNormalizedValueFromString (const AAX_CString&, double*) const override { return false; }
    bool GetStringFromNormalizedValue (double, int32_t, AAX_CString*) const override { return false; }
    bool GetStringFromNormalizedValue (double, AAX_CString*) const override { return false; }
    bool SetValueFromString (const AAX_CString&) override { return false; }
    bool GetValueAsBool (bool* out) const override { return Get (out); }
    bool GetValueAsInt32 (int32_t* out) const override { return Get (out); }
    bool GetValueAsFloat (float* out) const override { return Get (out); }
    bool GetValueAsDouble (double* out) const override { return Get (out); }
    bool GetValueAsString (AAX_CString* out) const override { return Get (out); }
    bool SetValueWithBool (bool value) override { return Set (value); }
    bool SetValueWithInt32 (int32_t value) override { return Set (value); }
    bool SetValueWithFloat (float value) override { return Set (value); }
    bool SetValueWithDouble (double value) override { return Set (value); }
    bool SetValueWithString (const AAX_CString& value) override { return Set (value); }
    void SetType (int32_t) override {}
    int32_t GetType() const override { return 1; }
    void SetOrientation (int32_t) override {}
    int32_t GetOrientation() const override { return 0; }
    void SetTaperDelegate (const AAX_ITaperDelegateBase&, bool) override {}
    void SetDisplayDelegate (const AAX_IDisplayDelegateBase&) override {}
    void UpdateNormalizedValue (double) override {}

private:
    template <typename U>
    bool Get (U* out) const
    {
        if constexpr (std::is_same_v<T, U>)
            *out = value_;
        return std::is_same_v<T, U>;
    }

    template <typename U>
    bool Set (const U& value)
    {
        if constexpr (std::is_same_v<T, U>)
            value_ = value;
        return std::is_same_v<T, U>;
    }

    std::string id_;
    AAX_CString name_;
    T value_;
};

// Registration order: the master bypass (left out of the chunk), then "f", "i", "b", "d",
// "s" and "PreviewID". The names carry line feeds for the name-of-length choice.
class FiveTypes final : public AAX_CEffectParameters
{
protected:
    int32_t InitializeEffect() override
    {
        Parameters().AddParameter (Bool ("MasterBypassID", "Master Bypass", false));
        Parameters().AddParameter (std::make_unique<AAX_CParameter<float>> (
            "f", AAX_CString ("Attack Time\nAttack\nAtk"), 0.25f, AAX_CLinearTaperDelegate<float>(), AAX_CNumberDisplayDelegate<float, 3>()));
        Parameters().AddParameter (std::make_unique<PlainParameter<int32_t>> ("i", "Gain\nLoud\nG", -3));
        Parameters().AddParameter (Bool ("b", "", true));
        Parameters().AddParameter (std::make_unique<PlainParameter<double>> ("d", std::string (300, 'n').c_str(), 0.1));
        Parameters().AddParameter (std::make_unique<PlainParameter<AAX_CString>> ("s", "Text", AAX_CString ("abc")));
        Parameters().AddParameter (Bool ("PreviewID", "Preview", false));
        return AAX_SUCCESS;
    }

private:
    static std::unique_ptr<AAX_IParameter> Bool (const char* id, const char* name, bool value)
    {
        return std::make_unique<AAX_CParameter<bool>> (id, AAX_CString (name), value, AAX_CBinaryTaperDelegate<bool>(),
                                                       AAX_CBinaryDisplayDelegate<bool> ("off", "on"));
    }
};

// The parameters' values as their typed getters give them.
struct Values
{
    float f;
    int32_t i;
    bool b;
    double d;
    std::string s;
    bool operator== (const Values&) const = default;
};

std::ostream& operator<< (std::ostream& out, const Values& v)
{
    return out << "{" << v.f << ", " << v.i << ", " << v.b << ", " << v.d << ", \"" << v.s << "\"}";
}

const Values kStart { 0.25f, -3, true, 0.1, "abc" };

// An initialised instance on a host that answers set-value requests with an update, as hosts do.
class EffectParameters : public ::testing::Test
{
protected:
    EffectParameters()
    {
        effect->AddRef();
        fixture.host->AutomationDelegate().SetResponder ([this] (const std::string& id, double value) {
            effect->UpdateParameterNormalizedValue (id.c_str(), value, 0);
        });
        EXPECT_EQ (effect->Initialize (fixture.host), AAX_SUCCESS);
    }
    ~EffectParameters() override
    {
        fixture.host->AutomationDelegate().SetResponder (nullptr);
        effect->Uninitialize();
        effect->Release();
    }

    AAX_IParameter& Parameter (const char* id)
    {
        AAX_IParameter* parameter = nullptr;
        EXPECT_EQ (effect->GetParameter (id, &parameter), AAX_SUCCESS) << id;
        return *parameter;
    }

    Values Current()
    {
        Values v {};
        AAX_CString text;
        EXPECT_TRUE (Parameter ("f").GetValueAsFloat (&v.f));
        EXPECT_TRUE (Parameter ("i").GetValueAsInt32 (&v.i));
        EXPECT_TRUE (Parameter ("b").GetValueAsBool (&v.b));
        EXPECT_TRUE (Parameter ("d").GetValueAsDouble (&v.d));
        EXPECT_TRUE (Parameter ("s").GetValueAsString (&text));
        v.s = text.Get();
        return v;
    }

    bool Preview()
    {
        bool on = false;
        EXPECT_TRUE (Parameter ("PreviewID").GetValueAsBool (&on));
        return on;
    }

    HostFixture fixture;
    FiveTypes* effect = new FiveTypes;
};

// ---- chunk data written by hand, independently of the library's writer

Bytes Key (const std::string& key)
{
    Bytes bytes (key.begin(), key.end());
    bytes.push_back (0);
    bytes.resize ((bytes.size() + 3) / 4 * 4, 0);
    return bytes;
}

Bytes BigEndian (uint64_t value, int size)
{
    Bytes bytes;
    for (int i = size - 1; i >= 0; --i)
        bytes.push_back (uint8_t (value >> (8 * i)));
    return bytes;
}

Bytes Join (std::initializer_list<Bytes> parts)
{
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert (joined.end(), part.begin(), part.end());
    return joined;
}

Bytes D (const std::string& name, double value) { return Join ({ Key ("d_" + name), BigEndian (std::bit_cast<uint64_t> (value), 8) }); }
Bytes L (const std::string& name, int32_t value) { return Join ({ Key ("l_" + name), BigEndian (uint32_t (value), 4) }); }
Bytes R (const std::string& name, const std::string& text) { return Join ({ Key ("r_" + name), Key (text) }); }
const Bytes kEmptyKey { 0, 0, 0, 0 };

Bytes Chunk (std::initializer_list<Bytes> entries)
{
    Bytes data { 1, 1, 1, 1 };
    for (const Bytes& entry : entries)
        data.insert (data.end(), entry.begin(), entry.end());
    return data;
}

TEST_F (EffectParameters, ControlsChunkHoldsEveryTypeButTheMasterBypass)
{
    const Bytes expected = Chunk ({ D ("f", double (0.25f)), L ("i", -3), L ("b", 1), D ("d", 0.1), R ("s", "abc"), L ("PreviewID", 0) });
    ASSERT_EQ (expected.size(), 4u + 12 + 8 + 8 + 12 + 8 + 16);
    int32_t size = 0;
    ASSERT_EQ (effect->GetChunkSize (kControlsChunk, &size), AAX_SUCCESS);
    EXPECT_EQ (size, int32_t (expected.size()));
    ChunkBuffer chunk { size_t (size) };
    ASSERT_EQ (effect->GetChunk (kControlsChunk, chunk.Header()), AAX_SUCCESS);
    EXPECT_EQ (chunk.Data(), expected);
    EXPECT_EQ (chunk.Header()->fVersion, -1);
    EXPECT_STREQ (chunk.Header()->fName, "Complete Controls State");
}

TEST_F (EffectParameters, SetChunkAndCompareChunkByType)
{
    struct Case
    {
        const char* what;
        uint32_t id;
        Bytes data;
        int32_t setResult;
        Values after; // the values SetChunk leaves
        bool equalBefore; // CompareChunk on the starting values
        bool equalAfter; // CompareChunk once SetChunk ran
    };
    const Bytes asSaved = Chunk ({ D ("f", double (0.25f)), L ("i", -3), L ("b", 1), D ("d", 0.1), R ("s", "abc"), L ("PreviewID", 0) });
    const Bytes allChanged = Chunk ({ D ("f", 0.75), L ("i", 42), L ("b", 0), D ("d", 2.5), R ("s", "xyz"), L ("PreviewID", 0) });
    const Values changed { 0.75f, 42, false, 2.5, "xyz" };
    const Case cases[] = {
        { "the values as saved", kControlsChunk, asSaved, AAX_SUCCESS, kStart, true, true },
        { "every value changed", kControlsChunk, allChanged, AAX_SUCCESS, changed, false, true },
        { "another chunk identifier", kOtherChunk, allChanged, AAX_ERROR_UNKNOWN_CHUNK, kStart, true, true },
        { "a bool of 5 is on; float and double compare as floats", kControlsChunk, Chunk ({ D ("f", 0.25 + 1e-12), L ("i", -3), L ("b", 5), D ("d", 0.1 + 1e-12), R ("s", "abc"), L ("PreviewID", 0) }), AAX_SUCCESS, { 0.25f, -3, true, 0.1 + 1e-12, "abc" }, true, true },
        { "an entry of the wrong type is not taken", kControlsChunk, Chunk ({ L ("f", 1), D ("i", 42.0), L ("b", 0), R ("d", "2.5"), D ("s", 1.0) }), AAX_SUCCESS, { 0.25f, -3, false, 0.1, "abc" }, false, false },
        { "a missing entry keeps its value", kControlsChunk, Chunk ({ L ("i", 7) }), AAX_SUCCESS, { 0.25f, 7, true, 0.1, "abc" }, false, false },
        { "a string differing in one byte", kControlsChunk, Chunk ({ D ("f", double (0.25f)), L ("i", -3), L ("b", 1), D ("d", 0.1), R ("s", "abd"), L ("PreviewID", 0) }), AAX_SUCCESS, { 0.25f, -3, true, 0.1, "abd" }, false, true },
        { "empty keys between entries lose nothing after them", kControlsChunk,
          Chunk ({ D ("f", 0.75), kEmptyKey, L ("i", 42), kEmptyKey, kEmptyKey, L ("b", 0), D ("d", 2.5), R ("s", "xyz"), L ("PreviewID", 0) }),
          AAX_SUCCESS, changed, false, true },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.what);
        ASSERT_EQ (Current(), kStart);

        ChunkBuffer chunk = ChunkBuffer::WithData (c.data, int32_t (c.data.size()));
        chunk.Header()->fChunkID = c.id;
        AAX_CBoolean equal = 7;
        EXPECT_EQ (effect->CompareChunk (chunk.Header(), &equal), AAX_SUCCESS);
        EXPECT_EQ (equal, c.equalBefore ? 1 : 0);
        EXPECT_EQ (effect->SetChunk (c.id, chunk.Header()), c.setResult);
        EXPECT_EQ (Current(), c.after);
        EXPECT_EQ (effect->CompareChunk (chunk.Header(), &equal), AAX_SUCCESS);
        EXPECT_EQ (equal, c.equalAfter ? 1 : 0);
        EXPECT_FALSE (Preview());

        // Back to the start for the next case.
        ASSERT_EQ (effect->SetChunk (kControlsChunk, ChunkBuffer::WithData (asSaved, int32_t (asSaved.size())).Header()), AAX_SUCCESS);
    }
}

TEST_F (EffectParameters, NameOfLengthTakesTheLongestLineThatFits)
{
    struct Case
    {
        const char* id;
        int32_t length;
        std::string expected;
    };
    const Case cases[] = {
        { "f", 40, "Attack Time" },
        { "f", 11, "Attack Time" },
        { "f", 10, "Attack" },
        { "f", 3, "Atk" },
        { "f", 2, "Attack Time\nAttack\nAtk" }, // none fits: the whole text
        { "i", 4, "Gain" }, // the first of two lines of that length
        { "i", 3, "G" },
        { "d", 1000, std::string (255, 'n') }, // at most 255 characters are looked at
        { "d", 10, std::string (255, 'n') },
        { "s", 0, "Text" },
        { "b", 10, "unchanged" }, // an empty name leaves the text alone
        { "none", 10, "" },
    };
    for (const Case& c : cases)
    {
        HostString name ("unchanged");
        EXPECT_EQ (effect->GetParameterNameOfLength (c.id, &name, c.length), AAX_SUCCESS);
        EXPECT_EQ (name.Text(), c.expected) << c.id << " at " << c.length;
    }
}

TEST_F (EffectParameters, PreviewNotificationReachesThePreviewParameter)
{
    const int32_t on = 1, off = 0, other = -9;
    const uint8_t shortPayload[2] = { 1, 1 };
    struct Case
    {
        const char* what;
        uint32_t type;
        const void* data;
        uint32_t size;
        bool preview;
    };
    const Case cases[] = {
        { "on", AAX_NOTIFICATION_PREVIEW, &on, 4, true },
        { "another type", AAX_NOTIFICATION_OFFLINE_MODE, &off, 4, true },
        { "off", AAX_NOTIFICATION_PREVIEW, &off, 4, false },
        { "any nonzero word", AAX_NOTIFICATION_PREVIEW, &other, 4, true },
        { "a payload too short", AAX_NOTIFICATION_PREVIEW, shortPayload, 2, true },
        { "no payload", AAX_NOTIFICATION_PREVIEW, nullptr, 4, true },
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ (effect->ReceiveNotification (c.type, c.data, c.size), AAX_SUCCESS) << c.what;
        EXPECT_EQ (Preview(), c.preview) << c.what;
    }
    EXPECT_EQ (Current(), kStart);
}
} // namespace
