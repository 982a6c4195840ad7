// View descriptions: the registry's names, texts read into node trees or refused with their codes,
// text queries against the plug-in's resource file, and views built from descriptions.

#include "ControlViewSupport.h"

#include "process/base/FourCharCode.h"
#include "views/custom/CCustomView.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/ViewFromDescription.h"
#include "views/description/ViewRegistry.h"

#include <cstdio>

namespace
{

ViewCreator BackgroundCreator()
{
    SDescriptionNode node {};
    LookupViewKeyword (Pascal ("Background").data(), &node);
    return NodeCreator (node);
}

std::string RenderText (const uint8_t* text)
{
    std::string rendered;
    for (int i = 1; i <= text[0]; ++i)
    {
        char c[8];
        std::snprintf (c, sizeof c, text[i] >= 32 && text[i] < 127 ? "%c" : "\\x%02x", text[i]);
        rendered += c;
    }
    return rendered;
}

std::string Render (const SDescriptionNode* first);

std::string RenderNode (const SDescriptionNode& node)
{
    char text[64];
    switch (node.kind)
    {
        case kNodeMarker: return "!";
        case kNodeCharacter: return "c" + std::to_string (node.value);
        case kNodeFourCharCode:
        {
            const auto code = uint32_t (node.value);
            return std::string ("'") + char (code >> 24) + char (code >> 16) + char (code >> 8) + char (code) + "'";
        }
        case kNodeKeyword: return "k" + std::to_string (node.value);
        case kNodeViewType: return NodeCreator (node) == BackgroundCreator() ? "Background" : "type";
        case kNodeTextQuery: return "q" + std::to_string (node.value);
        case kNodeString: return "\"" + RenderText (NodeText (node)) + "\"";
        case kNodeInteger: return std::to_string (node.value);
        case kNodeReal: std::snprintf (text, sizeof text, "r%g", double (NodeReal (node))); return text;
        case kNodeList: return "(" + Render (ListNodes (node)) + ")";
        default: return "?";
    }
}

std::string Render (const SDescriptionNode* first)
{
    std::string rendered;
    for (const SDescriptionNode* node = first; node != nullptr; node = node->next)
        rendered += (node != first ? " " : "") + RenderNode (*node);
    return rendered;
}

// The tree of a text, or "refused <code>".
std::string Read (const std::string& text)
{
    const SDialogItem item = DescriptionItem (text);
    CViewDescriptionReader reader (item);
    try
    {
        reader.Read();
    }
    catch (const CDAEError& error)
    {
        return "refused " + std::to_string (error.Code());
    }
    return Render (reader.GetHead());
}

std::string Repeat (const std::string& part, int times)
{
    std::string whole;
    for (int i = 0; i < times; ++i)
        whole += part;
    return whole;
}

class Descriptions : public ViewToolboxTest
{
};

struct SReadCase
{
    std::string text;
    std::string tree;
};

TEST_F (Descriptions, TextsAreReadIntoNodeTrees)
{
    const SReadCase cases[] = {
        { "! Background (('Bg01'))", "! Background (('Bg01'))" },
        { "! Background (('Btn1' plate 2) (\"OK\" 0 1 0))", "! Background (('Btn1' k8 2) (\"OK\" 0 1 0))" },
        { "\t!\r\nBackground,(('Sep1'))\n", "! Background (('Sep1'))" },
        { "'' 'x' '\\'' '\\\\' 'ab\\tc'", "c0 c120 c39 c92 'ab\tc'" },
        { "\"a\\tb\\\\c\\'d\\a\\b\\f\\n\\r\\v\" \"\"", "\"a\\x09b\\c'd\\x07\\x08\\x0c\\x0a\\x0d\\x0b\" \"\"" },
        { "-.5 - 7 .25 3. . 1.2.3", "r-0.5 -7 r0.25 r3 r0 r1.2 r0.3" },
        { "0x1F 0xffffffff -0x10 0x0000000001 2147483647 -2147483648 007", "31 -1 -16 1 2147483647 -2147483648 7" },
        { "(0X1F)", "(0)" },
        { "0x (0x) -0x", "0 (0) 0" },
        { "0xg", "0" },
        { "(foo) [1,2,,3] (left right) (inversePlate)", "() (1 2 3) (k0 k1) (k12)" },
        { "12abc", "12" },
        { "getString (128 2) 5", "\"Release\" 5" },
        { "(getString [128 4])", "(\"He said \")" },
        { "getString (128 5)", "\"a\\x09b\"" },
        { "getString (128 99)", "\"\"" },
        { "shortVersion longVersion", "\"0.0.0.0\" \"0.0.0.0\"" },
        { "", "" },
        { Repeat ("(", 127) + Repeat (")", 127), Repeat ("(", 127) + Repeat (")", 127) },
    };
    for (const SReadCase& c : cases)
    {
        SCOPED_TRACE (c.text);
        EXPECT_EQ (Read (c.text), c.tree);
    }
}

TEST_F (Descriptions, LongTextsAreCutAtTheirLimits)
{
    const std::string long300 = Repeat ("s", 300);
    EXPECT_EQ (Read ("\"" + long300 + "\""), "\"" + Repeat ("s", 255) + "\"");
    EXPECT_EQ (Read ("getString (128 6)"), "\"" + Repeat ("x", 253) + "\"");
}

TEST_F (Descriptions, AWordMatchesOnlyTheWholeNameItEquals)
{
    const std::string shared = Repeat ("Z", 63);
    RegisterViewKeyword ((shared + "A").c_str(), kNodeKeyword, 4242);
    RegisterViewKeyword (Pascal (Repeat ("Y", 255)).data(), kNodeKeyword, 4343);
    const SReadCase cases[] = {
        { shared + "A", "k4242" },
        { "(" + shared + "A)", "(k4242)" },
        { shared + "B", "" },
        { "(" + shared + "B)", "()" },
        { shared, "" },
        { shared + "AA", "" },
        { Repeat ("Y", 255), "k4343" },
        { Repeat ("Y", 256), "" },
    };
    for (const SReadCase& c : cases)
    {
        SCOPED_TRACE (c.text.substr (60));
        EXPECT_EQ (Read (c.text), c.tree);
    }
}

TEST_F (Descriptions, HostileTextsAreRefusedWithTheirCodes)
{
    RegisterViewKeyword ("oddQuery", kNodeTextQuery, 9);
    const SReadCase cases[] = {
        { "\"abc", "refused -7400" },
        { "\"ab\\", "refused -7400" },
        { "'ab\\", "refused -7400" },
        { "\"a\\q\"", "refused -7400" },
        { "\"a\\\"b\"", "refused -7400" },
        { "'ab'", "refused -7400" },
        { "'abc'", "refused -7400" },
        { "'abcde'", "refused -7400" },
        { "'ab", "refused -7400" },
        { "-", "refused -7400" },
        { "- ", "refused -7400" },
        { "-x", "refused -7400" },
        { "(-)", "refused -7400" },
        { "2147483648", "refused -7400" },
        { "-2147483649", "refused -7400" },
        { "0x100000000", "refused -7400" },
        { "99999999999999999999", "refused -7400" },
        { Repeat ("9", 50) + ".5", "refused -7400" },
        { "(1 2", "refused -7400" },
        { "(1 2]", "refused -7400" },
        { ")", "refused -7400" },
        { "1 # 2", "refused -7400" },
        { std::string ("1\0 2", 4), "refused -7400" },
        { Repeat ("[", 5000), "refused -7053" },
        { Repeat ("1 ", 420), "refused -7053" },
        { Repeat ("\"" + Repeat ("t", 255) + "\" ", 16), "refused -7053" },
        { "getString", "refused -7400" },
        { "getString 128", "refused -7400" },
        { "getString (128)", "refused -7400" },
        { "getString (128 2 3)", "refused -7400" },
        { "getString (\"a\" 2)", "refused -7400" },
        { "getString (70000 1)", "refused -7400" },
        { "getString (128 3)", "refused -7400" },
        { "getString (128 7)", "refused -7400" },
        { "getList (1 2)", "refused -7400" },
        { "(oddQuery)", "refused -7400" },
    };
    for (const SReadCase& c : cases)
    {
        SCOPED_TRACE (c.text.substr (0, 60));
        EXPECT_EQ (Read (c.text), c.tree);
    }
}

TEST_F (Descriptions, AStringQueryWithoutThePlugInsResourceFileIsRefused)
{
    FSSpec missing {};
    std::strncpy (missing.path, KESTRUNE_VIEW_MODULE ".missing", sizeof missing.path - 1);
    SetPlugInFileSpec (missing);
    EXPECT_EQ (Read ("getString (128 2)"), "refused -7400");
    const int16_t current = HostToolbox().CurResFile();
    FSSpec spec {};
    std::strncpy (spec.path, KESTRUNE_VIEW_MODULE, sizeof spec.path - 1);
    SetPlugInFileSpec (spec);
    EXPECT_EQ (Read ("getString (128 1)"), "\"Attack\"");
    EXPECT_EQ (HostToolbox().CurResFile(), current) << "the current resource file is given back";
    EXPECT_TRUE (toolbox.openResourceFiles().empty()) << "and the plug-in's file closed again";
}

TEST (ViewRegistry, TheStandardNamesAreRegisteredWithTheirKindsAndValues)
{
    struct Entry
    {
        const char* name;
        int16_t kind;
        int32_t value;
    };
    // clang-format off
    const Entry entries[] = {
        { "default", 3, 5 }, { "left", 3, 0 }, { "right", 3, 1 }, { "top", 3, 2 }, { "bottom", 3, 3 },
        { "center", 3, 4 }, { "reverse", 3, 6 }, { "cyclical", 3, 7 }, { "plate", 3, 8 },
        { "inversePlate", 3, 12 }, { "normal", 3, 9 }, { "clicked", 3, 10 }, { "disabled", 3, 11 },
        { "editable", 3, 13 }, { "horizontal", 3, 14 }, { "vertical", 3, 15 }, { "round", 3, 16 },
        { "square", 3, 17 }, { "frame", 3, 18 }, { "green", 3, 19 }, { "darkGreen", 3, 20 },
        { "red", 3, 21 }, { "darkRed", 3, 22 }, { "blue", 3, 23 }, { "darkBlue", 3, 24 },
        { "amber", 3, 25 }, { "darkAmber", 3, 26 }, { "ASCII", 3, 27 }, { "getList", 5, 0 },
        { "getString", 5, 1 }, { "shortVersion", 5, 2 }, { "longVersion", 5, 3 },
    };
    // clang-format on
    for (const Entry& entry : entries)
    {
        SCOPED_TRACE (entry.name);
        SDescriptionNode node {};
        ASSERT_TRUE (LookupViewKeyword (Pascal (entry.name).data(), &node));
        EXPECT_EQ (int16_t (node.kind), entry.kind);
        EXPECT_EQ (int32_t (node.value), entry.value);
    }
    SDescriptionNode background {};
    ASSERT_TRUE (LookupViewKeyword (Pascal ("Background").data(), &background));
    EXPECT_EQ (background.kind, 4);
    std::unique_ptr<CCustomView> made = NodeCreator (background)();
    ASSERT_NE (made, nullptr);
    EXPECT_EQ (typeid (*made), typeid (CCustomView));
    for (const char* unknown : { "Plate", "plates", "", "background" })
        EXPECT_FALSE (LookupViewKeyword (Pascal (unknown).data(), nullptr)) << unknown;
}

TEST (ViewRegistry, RegisteringANameAgainReplacesItAndTheStandardEntriesComeBack)
{
    RegisterViewKeyword ("cyclical", kNodeKeyword, 99);
    SDescriptionNode node {};
    LookupViewKeyword (Pascal ("cyclical").data(), &node);
    EXPECT_EQ (int32_t (node.value), 99);
    RegisterViewKeyword (Pascal ("pascalName").data(), kNodeKeyword, 55);
    ASSERT_TRUE (LookupViewKeyword (Pascal ("pascalName").data(), &node));
    EXPECT_EQ (int32_t (node.value), 55);
    RegisterViewTypes();
    LookupViewKeyword (Pascal ("cyclical").data(), &node);
    EXPECT_EQ (int32_t (node.value), 7);
}

// A described view of two class levels: the base's attribute list, then one of its own.
class TwoLevelView : public CCustomView
{
public:
    static inline std::vector<std::string> calls;
    std::vector<int32_t> own;

    void SetEnabled (bool enabled) override
    {
        calls.push_back (enabled ? "SetEnabled" : "SetEnabled false");
        CCustomView::SetEnabled (enabled);
    }
    void ReadItem (const SDialogItem& item) override
    {
        calls.push_back ("ReadItem " + Describe (GetRect()) + " " + std::to_string (item.length));
    }
    void ReadDescription (CViewDescriptionReader& reader) override
    {
        calls.push_back ("ReadDescription");
        CCustomView::ReadDescription (reader);
        for (const SDescriptionNode* node = reader.TakeAttributeList(); node != nullptr; node = node->next)
            own.push_back (int32_t (node->value));
    }
};

TEST_F (Descriptions, ADescribedViewIsBuiltEnabledFramedAndFromItsAttributeLists)
{
    struct Case
    {
        std::string text;
        uint8_t type;
        uint32_t id;
        bool enabled;
        bool framed;
        bool inverse;
        int16_t colourSet;
    };
    const Case cases[] = {
        { "! Background (('Bg01'))", 4, FourCharCode ("Bg01"), true, false, false, 0 },
        { "! Background (('Bg02' plate 2))", 8, FourCharCode ("Bg02"), true, true, false, 2 },
        { "! Background (('Bg03' inversePlate -2))", 16, FourCharCode ("Bg03"), true, true, true, -2 },
        { "! Background (('Bg04' 6) ('more' 1))", 0x84, FourCharCode ("Bg04"), false, false, false, 6 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.text);
        const SDialogItem item = DescriptionItem (c.text, { 10, 20, 40, 80 }, c.type);
        bool ok = false;
        std::unique_ptr<CCustomView> view = CreateViewFromDescription (item, &ok);
        ASSERT_TRUE (ok);
        ASSERT_NE (view, nullptr);
        EXPECT_EQ (view->GetID(), c.id);
        EXPECT_EQ (view->IsEnabled(), c.enabled);
        EXPECT_EQ (view->IsFramed(), c.framed);
        EXPECT_EQ (view->IsInverse(), c.inverse);
        EXPECT_EQ (view->GetColourSetIndex(), c.colourSet);
        EXPECT_TRUE (ViewGeometry::SameRect (view->GetRect(), item.bounds));
    }

    RegisterViewType ("TwoLevel", []() -> std::unique_ptr<CCustomView> { return std::make_unique<TwoLevelView>(); });
    TwoLevelView::calls.clear();
    const std::string text = "! TwoLevel (('Two1' plate) (5 6))";
    bool ok = false;
    std::unique_ptr<CCustomView> view = CreateViewFromDescription (DescriptionItem (text), &ok);
    ASSERT_TRUE (ok);
    auto& twoLevel = dynamic_cast<TwoLevelView&> (*view);
    EXPECT_EQ (twoLevel.own, (std::vector<int32_t> { 5, 6 }));
    EXPECT_EQ (TwoLevelView::calls,
               (std::vector<std::string> { "SetEnabled", "ReadItem (10,20,40,80) " + std::to_string (text.size()), "ReadDescription" }));

    EXPECT_EQ (CreateViewFromDescription (DescriptionItem ("! TwoLevel (('Two2' plate))"), &ok), nullptr) << "a level without its list";
    EXPECT_FALSE (ok);
}

TEST_F (Descriptions, TextsThatAreNoValidDescriptionGiveNoView)
{
    const size_t patternsBefore = toolbox.objectCounts().patterns;
    const std::string texts[] = {
        "! Background ()",
        "! Background",
        "Background (('Bg01'))",
        "! left (('Bg01'))",
        "! Background (('Bg01') 5)",
        "! Background (('Bg01') \"x\")",
        "! Background (('Bg01')) 7",
        "! Background (('Bg01')) (('x'))",
        "! ! Background (('Bg01'))",
        "! Slider (('Sl01'))",
        "! Background (())",
        "! Background ((5))",
        "! Background ((\"Bg01\"))",
        "! Background (('Bg01' 7))",
        "! Background (('Bg01' -3))",
        "! Background (('Bg01' 2.5))",
        "! Background (('Bg01' left))",
        "! Background (('Bg01' \"x\"))",
        "! Background (('Bg01' ('x')))",
        "! Background (('Bg01\"))",
        "Hello",
        "",
    };
    for (const std::string& text : texts)
    {
        SCOPED_TRACE (text);
        bool ok = true;
        EXPECT_EQ (CreateViewFromDescription (DescriptionItem (text), &ok), nullptr);
        EXPECT_FALSE (ok);
    }
    EXPECT_EQ (toolbox.objectCounts().patterns, patternsBefore) << "refused views gave their patterns back";
    EXPECT_EQ (CreateViewFromDescription (DescriptionItem ("Hello"), nullptr), nullptr);
}

} // namespace
