// Seeded, deterministic damage of view descriptions: every damaged text is either read into a
// sound tree or refused with -7400 or -7053, never read past its end (each text lies in a heap
// block of its exact size, so the sanitizers catch an overread), and building a view from it
// either succeeds or gives no view.

#include "ViewTestSupport.h"

#include "views/custom/CCustomView.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/ViewFromDescription.h"

#include <random>

namespace
{

const std::vector<std::string> kSeeds = {
    "! Background (('Bg01'))",
    "! Background (('Btn1' plate 2) (\"OK\" 0 1 0))",
    "! Background (('Inv1' inversePlate -2) [left right center] ('more' 1.5 -.25 0x7FFFffff))",
    "'' 'x' '\\'' '\\\\' 'ab\\tc' \"a\\tb\\\\c\\'d\\a\\b\\f\\n\\r\\v\"",
    "getString (128 2) (getString [128 4]) getString (128 5) shortVersion longVersion",
    "((((((((((1))))))))))- 7 -0x10 2147483647 -2147483648 (0X1F) (foo bar) 12abc",
    "! Background (('Bg05' 3) (getString (128 1) normal clicked disabled))",
};

const char kAlphabet[] = "!\"'()[]-.0123456789xXabfnrtv\\ ,\t\n#GPpgl";

// One random change of the text.
void Damage (std::string& text, std::mt19937& random)
{
    const auto pick = [&] (size_t bound) { return bound == 0 ? size_t (0) : size_t (random() % bound); };
    const size_t at = pick (text.size() + 1);
    switch (random() % 6)
    {
        case 0:
            if (! text.empty())
                text[pick (text.size())] = char (random() % 256);
            break;
        case 1: text.insert (at, 1, kAlphabet[pick (sizeof kAlphabet - 1)]); break;
        case 2: text.erase (at, pick (8)); break;
        case 3: text.resize (at); break;
        case 4:
        {
            const size_t length = pick (16);
            const std::string span = text.substr (at, length);
            for (size_t copies = 1 + pick (4); copies > 0; --copies)
                text.insert (at, span);
            break;
        }
        default:
            if (! text.empty())
                text[pick (text.size())] = kAlphabet[pick (sizeof kAlphabet - 1)];
            break;
    }
}

// Walks the whole tree: strings within their limit, lists no deeper than the pool holds nodes.
void CheckTree (const SDescriptionNode* first, int depth)
{
    ASSERT_LE (depth, int (CViewDescriptionReader::kPoolSize / sizeof (SDescriptionNode)));
    for (const SDescriptionNode* node = first; node != nullptr; node = node->next)
    {
        ASSERT_GE (node->kind, kNodeMarker);
        ASSERT_LE (node->kind, kNodeList);
        if (node->kind == kNodeString)
        {
            ASSERT_LE (NodeText (*node)[0], CViewDescriptionReader::kMaxTextLength);
        }
        if (node->kind == kNodeList)
            CheckTree (ListNodes (*node), depth + 1);
    }
}

class DescriptionFuzz : public ViewToolboxTest
{
};

TEST_F (DescriptionFuzz, DamagedDescriptionsAreReadOrRefusedAndNeverReadPastTheirText)
{
    toolbox.script().setRecording (false);
    std::mt19937 random (20260325);
    int accepted = 0;
    int refused = 0;
    int built = 0;
    for (int round = 0; round < 20000; ++round)
    {
        std::string text = kSeeds[random() % kSeeds.size()];
        for (unsigned damages = 1 + random() % 4; damages > 0; --damages)
            Damage (text, random);
        SCOPED_TRACE ("round " + std::to_string (round));

        auto bytes = std::make_unique<uint8_t[]> (text.size());
        std::memcpy (bytes.get(), text.data(), text.size());
        const SDialogItem item { { 0, 0, 20, 20 }, 4, bytes.get(), text.size() };
        CViewDescriptionReader reader (item);
        try
        {
            reader.Read();
            CheckTree (reader.GetHead(), 0);
            ++accepted;
        }
        catch (const CDAEError& error)
        {
            ASSERT_TRUE (error.Code() == -7400 || error.Code() == -7053) << error.Code();
            ++refused;
        }

        bool ok = false;
        const std::unique_ptr<CCustomView> view = CreateViewFromDescription (item, &ok);
        ASSERT_EQ (ok, view != nullptr);
        built += ok ? 1 : 0;
    }
    EXPECT_GT (accepted, 1000);
    EXPECT_GT (refused, 1000);
    EXPECT_GT (built, 100);
}

} // namespace
