// Item lists and dialogs: the tree a dialog-item list builds, lists that are missing, damaged or
// hold themselves, scrolling by scroll control views, and dialog views with their background
// pattern as the process's default view.

#include "ControlViewSupport.h"
#include "PlugInResources.h"

#include "process/base/FourCharCode.h"
#include "process/utilities/ScopedPlugInResFile.h"
#include "views/controls/CProcessControlView.h"
#include "views/controls/CScrollControlView.h"
#include "views/dialogs/CDialogView.h"
#include "views/dialogs/CItemListView.h"
#include "views/dialogs/DialogResources.h"
#include "views/hostcontrols/CMacControlView.h"
#include "views/hostcontrols/CResControlView.h"
#include "views/pictures/CCachedPicture.h"
#include "views/pictures/CIconView.h"
#include "views/pictures/CPictureView.h"
#include "views/text/CStaticTextView.h"

#include <ProcessTestSupport.h>

#include <random>

namespace
{

using namespace DialogItemKind;

constexpr uint8_t kDisabled = 0x80;
constexpr uint32_t kPatternA = 0xFF102030u;
constexpr uint32_t kPatternB = 0xFF405060u;

// The items of the window that the tree test builds: a user item holding a button, texts (one
// disabled), an icon, a picture, a described process control, a check box, a radio button and a
// control from a template.
std::vector<SItem> WindowItems()
{
    return {
        { { 0, 0, 30, 100 }, kUser, {} },
        TextItem ({ 5, 5, 20, 45 }, kControl | 0, "OK"),
        TextItem ({ 35, 0, 50, 60 }, kStaticText, "Gain"),
        TextItem ({ 35, 60, 50, 100 }, kEditText | kDisabled, "12"),
        IdItem ({ 55, 0, 87, 32 }, kIcon, 40),
        IdItem ({ 55, 40, 75, 60 }, kPicture, 5),
        TextItem ({ 55, 70, 65, 100 }, kControl, "! ProcessControl (('Gain') (\"Gain\" 3 0))"),
        TextItem ({ 90, 0, 105, 40 }, kControl | 1, "Bypass"),
        TextItem ({ 90, 40, 105, 80 }, kControl | 2, "Peak"),
        IdItem ({ 0, 110, 20, 190 }, kControl | 3, 128),
    };
}

std::unique_ptr<CItemListView> ListOf (int16_t id, Rect frame)
{
    auto list = std::make_unique<CItemListView>();
    list->SetItemListID (id);
    list->SetRect (frame);
    list->SetEnabled (true);
    return list;
}

std::vector<CPlugInView*> ChildrenOf (const CPlugInView& view)
{
    std::vector<CPlugInView*> children;
    for (CPlugInView* child = view.GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        children.push_back (child);
    return children;
}

class ItemLists : public ViewWindowTest
{
protected:
    void SetUp() override
    {
        ViewWindowTest::SetUp();
        Use ({});
    }

    void TearDown() override
    {
        root.reset();
        resources.reset();
        ViewWindowTest::TearDown();
    }

    // The plug-in's resources: the window's pictures and templates and the given ones.
    void Use (std::vector<SResource> extra)
    {
        resources.reset();
        std::vector<SResource> all {
            { "DITL", 128, ItemListBytes (WindowItems()) },
            { "ICON", 40, IconBytes (8) },
            { "PICT", 5, PictureBytes (1, 1, 0xFFFF0000u) },
            { "CNTL", 128, ControlTemplateBytes ({ 0, 0, 20, 80 }, pushButProc, "Go") },
            { "ppat", 1000, PatternBytes (2, 1, { kPatternA, kPatternB }) },
        };
        all.insert (all.end(), extra.begin(), extra.end());
        resources = std::make_unique<ScopedPlugInResources> ("ItemLists", all);
    }

    size_t LoadedResources()
    {
        const auto files = toolbox.openResourceFiles();
        return files.empty() ? 0 : files.back().loadedResources;
    }

    std::unique_ptr<ScopedPlugInResources> resources;
};

TEST_F (ItemLists, BuildTheTreeOfTheirItemList)
{
    auto list = ListOf (128, { 10, 20, 130, 220 });
    list->FinishCreate();
    const auto children = ChildrenOf (*list);
    ASSERT_EQ (children.size(), 9u);

    // Item rectangles are relative to the list: moved by its top-left corner (h 20, v 10).
    const std::vector<SItem> items = WindowItems();
    const size_t itemOfChild[] = { 0, 2, 3, 4, 5, 6, 7, 8, 9 };
    for (size_t i = 0; i < children.size(); ++i)
    {
        const Rect expected = ViewGeometry::Offset (items[itemOfChild[i]].bounds, 20, 10);
        EXPECT_TRUE (ViewGeometry::SameRect (children[i]->GetRect(), expected)) << i << ": " << Describe (children[i]->GetRect());
    }

    // The button lies inside the user item: it is the user item's child.
    CPlugInView& user = *children[0];
    EXPECT_EQ (typeid (user), typeid (CPlugInView));
    auto* button = dynamic_cast<CButtonView*> (user.GetFirstChild());
    ASSERT_NE (button, nullptr);
    EXPECT_EQ (PascalText (button->GetTitle()), "OK");
    EXPECT_TRUE (ViewGeometry::SameRect (button->GetRect(), { 15, 25, 30, 65 }));

    auto* gain = dynamic_cast<CStaticTextView*> (children[1]);
    ASSERT_NE (gain, nullptr);
    EXPECT_EQ (gain->GetText(), "Gain");
    EXPECT_TRUE (gain->IsEnabled());
    auto* edit = dynamic_cast<CStaticTextView*> (children[2]);
    ASSERT_NE (edit, nullptr);
    EXPECT_EQ (edit->GetText(), "12");
    EXPECT_FALSE (edit->IsEnabled()) << "bit 7 of the type disables the item";

    auto* icon = dynamic_cast<CIconView*> (children[3]);
    ASSERT_NE (icon, nullptr);
    EXPECT_EQ (icon->GetIconID(), 40);
    EXPECT_TRUE (icon->HasIcon());
    auto* picture = dynamic_cast<CPictureView*> (children[4]);
    ASSERT_NE (picture, nullptr);
    EXPECT_EQ (picture->GetPictureID (PictureState::kNormal), 5);

    auto* control = dynamic_cast<CProcessControlView*> (children[5]);
    ASSERT_NE (control, nullptr) << "an item's description builds the described view";
    EXPECT_EQ (control->GetID(), FourCharCode ("Gain"));
    EXPECT_EQ (control->GetStepCount(), 3);

    EXPECT_NE (dynamic_cast<CCheckBoxView*> (children[6]), nullptr);
    EXPECT_EQ (PascalText (dynamic_cast<CMacControlView&> (*children[6]).GetTitle()), "Bypass");
    EXPECT_NE (dynamic_cast<CRadioButtonView*> (children[7]), nullptr);
    auto* templated = dynamic_cast<CResControlView*> (children[8]);
    ASSERT_NE (templated, nullptr);
    EXPECT_EQ (templated->GetTemplateID(), 128);
    EXPECT_EQ (PascalText (templated->GetTitle()), "");
    EXPECT_TRUE (picture->GetCurrentPicture()->IsLoaded());
    EXPECT_EQ (LoadedResources(), 0u) << "no resource stays loaded: the list is released, the icon and picture are copies";

    list->FinishCreate();
    EXPECT_EQ (ChildrenOf (*list).size(), 9u) << "the items are built once";

    list->SetWindow (window);
    EXPECT_TRUE (ViewGeometry::SameRect (templated->GetRect(), { 10, 130, 30, 210 })) << "the template gives the control's size";
    list->SetWindow (nullptr);
}

TEST_F (ItemLists, AClickOnADisabledItemGoesToItsNearestEnabledAncestor)
{
    Use ({ { "DITL", 300, ItemListBytes ({ TextItem ({ 0, 0, 20, 60 }, kStaticText | kDisabled, "Off"), { { 30, 0, 50, 60 }, kUser, {} } }) } });
    std::vector<std::string> log;
    root = std::make_unique<LoggingView> ("root", Rect { 0, 0, kHeight, kWidth }, &log, kWhite);
    CItemListView& list = Add (ListOf (300, { 10, 10, 70, 70 }));
    list.SetEnabled (false);
    list.FinishCreate();
    root->SetWindow (window);
    const auto clickAt = [&] (int h, int v) {
        log.clear();
        EventRecord click {};
        click.what = 1;
        click.where = At (h, v);
        toolbox.setMouseScript ({});
        EXPECT_EQ (root->HandleClick (&click), 0);
    };
    clickAt (15, 15);
    EXPECT_EQ (log, std::vector<std::string> { "root Click" }) << "the disabled text passes it to the list, the disabled list to the root";
    EXPECT_EQ (toolbox.objectCounts().textEdits, 0u) << "the text starts no editing";
    clickAt (15, 45);
    EXPECT_TRUE (log.empty()) << "the enabled user item takes its own click";
    root->SetWindow (nullptr);
}

TEST_F (ItemLists, AListWithoutAnItemListIsMinus7053)
{
    EXPECT_EQ (ThrownCode ([] { ListOf (kNoItemListID, { 0, 0, 50, 50 })->FinishCreate(); }), -7053);
    EXPECT_EQ (ThrownCode ([] { ListOf (999, { 0, 0, 50, 50 })->FinishCreate(); }), -7053);
}

TEST_F (ItemLists, ADamagedItemListIsRefusedWholeAndReleased)
{
    const Bytes good = ItemListBytes ({ { { 0, 0, 10, 10 }, kUser, {} }, TextItem ({ 0, 20, 10, 40 }, kStaticText, "ab") });
    Bytes negative = good;
    negative[0] = 0xFE;
    negative[1] = 0xFF;
    Bytes tooMany = good;
    tooMany[0] = 2;
    Bytes dataPastEnd = good;
    dataPastEnd.pop_back();
    Bytes headerCut (good.begin(), good.begin() + 10);
    struct Case
    {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        { "negative count", negative },
        { "more items than bytes", tooMany },
        { "data past the end", dataPastEnd },
        { "item header cut", headerCut },
        { "one byte", { 0 } },
        { "empty", {} },
        { "icon without its id", ItemListBytes ({ { { 0, 0, 10, 10 }, kUser, {} }, { { 0, 0, 10, 10 }, kIcon, { 7 } } }) },
        { "picture without data", ItemListBytes ({ { { 0, 0, 10, 10 }, kPicture, {} } }) },
        { "template without its id", ItemListBytes ({ { { 0, 0, 10, 10 }, kControl | 3, {} } }) },
        { "unknown kind after good items", ItemListBytes ({ { { 0, 0, 10, 10 }, kUser, {} }, TextItem ({ 0, 20, 10, 40 }, kStaticText, "ab"), { { 0, 50, 10, 60 }, 12, {} } }) },
        { "kind 124", ItemListBytes ({ { { 0, 0, 10, 10 }, 124, {} } }) },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.name);
        Use ({ { "DITL", 200, c.bytes } });
        auto list = ListOf (200, { 0, 0, 50, 50 });
        EXPECT_EQ (ThrownCode ([&] { list->FinishCreate(); }), -7400);
        EXPECT_EQ (list->GetFirstChild(), nullptr) << "no item of a refused list is kept";
        EXPECT_EQ (LoadedResources(), 0u) << "the refused list is released";
    }

    Use ({ { "DITL", 200, ItemListBytes ({}) } });
    auto empty = ListOf (200, { 0, 0, 50, 50 });
    EXPECT_EQ (ThrownCode ([&] { empty->FinishCreate(); }), 0) << "a count of -1 is an empty list";
    EXPECT_EQ (empty->GetFirstChild(), nullptr);
}

TEST_F (ItemLists, AListThatHoldsItselfIsRefused)
{
    Use ({
        { "DITL", 300, ItemListBytes ({ TextItem ({ 0, 0, 20, 20 }, kControl, "! ItemList (('Self') (300))") }) },
        { "DITL", 301, ItemListBytes ({ TextItem ({ 0, 0, 20, 20 }, kControl, "! ItemList (('B   ') (302))") }) },
        { "DITL", 302, ItemListBytes ({ TextItem ({ 0, 0, 20, 20 }, kStaticText, "! ItemList (('A   ') (301))") }) },
        { "DITL", 303, ItemListBytes ({ TextItem ({ 10, 10, 50, 90 }, kControl, "! ItemList (('Nest') (304))") }) },
        { "DITL", 304, ItemListBytes ({ { { 5, 5, 15, 25 }, kUser, {} }, { { 0, 0, 10, 10 }, kUser, {} } }) },
    });
    for (int16_t id : { 300, 301 })
    {
        auto list = ListOf (id, { 0, 0, 60, 100 });
        EXPECT_EQ (ThrownCode ([&] { list->FinishCreate(); }), -7400) << id;
        EXPECT_EQ (list->GetFirstChild(), nullptr);
    }

    auto outer = ListOf (303, { 1, 2, 61, 102 });
    outer->FinishCreate();
    auto* nested = dynamic_cast<CItemListView*> (outer->GetFirstChild());
    ASSERT_NE (nested, nullptr) << "a list may hold another list";
    EXPECT_TRUE (ViewGeometry::SameRect (nested->GetRect(), { 11, 12, 51, 92 }));
    const auto inner = ChildrenOf (*nested);
    ASSERT_EQ (inner.size(), 2u);
    EXPECT_TRUE (ViewGeometry::SameRect (inner[0]->GetRect(), { 16, 17, 26, 37 })) << Describe (inner[0]->GetRect());
    EXPECT_TRUE (ViewGeometry::SameRect (inner[1]->GetRect(), { 11, 12, 21, 22 })) << Describe (inner[1]->GetRect());
}

// Seeded damage of a good item list: a refused list is -7400 or -7053 and keeps no item; nothing
// is read past its bytes (the sanitized builds watch).
TEST_F (ItemLists, DamagedItemListsAreBuiltOrRefusedNeverReadPast)
{
    const Bytes good = ItemListBytes (WindowItems());
    std::mt19937 random (20260226);
    constexpr int kRounds = 6;
    constexpr int kListsPerRound = 50;
    int refused = 0;
    for (int round = 0; round < kRounds; ++round)
    {
        std::vector<SResource> damaged;
        for (int i = 0; i < kListsPerRound; ++i)
        {
            Bytes bytes = good;
            switch (random() % 4)
            {
                case 0: bytes.resize (random() % (bytes.size() + 1)); break;
                case 1:
                    for (int flips = 1 + int (random() % 6); flips > 0; --flips)
                        bytes[random() % bytes.size()] = uint8_t (random());
                    break;
                case 2:
                    // The count, or one item's type or length byte, set to anything.
                    bytes[random() % 2 == 0 ? 0 : 14 + random() % 2] = uint8_t (random());
                    break;
                default:
                    bytes.insert (bytes.begin() + std::ptrdiff_t (random() % bytes.size()), uint8_t (random()));
                    break;
            }
            damaged.push_back ({ "DITL", int16_t (1000 + i), bytes });
        }
        Use (damaged);
        for (int i = 0; i < kListsPerRound; ++i)
        {
            SCOPED_TRACE (round * kListsPerRound + i);
            auto list = ListOf (int16_t (1000 + i), { 0, 0, 120, 200 });
            const int32_t code = ThrownCode ([&] { list->FinishCreate(); });
            EXPECT_TRUE (code == 0 || code == -7400 || code == -7053) << code;
            if (code != 0)
            {
                ++refused;
                EXPECT_EQ (list->GetFirstChild(), nullptr);
            }
        }
    }
    EXPECT_GT (refused, 0);
}

// ---- Scrolling ----

// A list 100 x 40 at (10, 10) over contents 250 x 20, with scroll controls beside it.
class ScrolledLists : public ItemLists
{
protected:
    void SetUp() override
    {
        ItemLists::SetUp();
        Use ({ ScrolledItems() });
    }

    static SResource ScrolledItems()
    {
        return { "DITL", 400, ItemListBytes ({ { { 0, 0, 20, 100 }, kUser, {} }, { { 0, 100, 20, 200 }, kUser, {} }, { { 0, 200, 20, 250 }, kUser, {} } }) };
    }

    CItemListView& AddList (const std::string& description, Rect frame = { 10, 10, 50, 110 })
    {
        auto described = Described<CItemListView> (description, frame);
        EXPECT_NE (described, nullptr);
        CItemListView& list = Add (std::move (described));
        list.FinishCreate();
        return list;
    }

    CScrollControlView& AddScrollControl (const char* id)
    {
        auto control = Described<CScrollControlView> (std::string ("! ScrollControl (('") + id + "') (\"Scroll\" 1 0))", { 60, 0, 70, 100 });
        EXPECT_NE (control, nullptr);
        return Add (std::move (control));
    }

    static int32_t ContentLeft (const CItemListView& list)
    {
        Rect contents {};
        list.GetContentBounds (&contents);
        return contents.left;
    }
};

TEST_F (ScrolledLists, HavePagesOfTheirListsWidthAndScrollToTheirValue)
{
    CScrollControlView& horizontal = AddScrollControl ("HScr");
    CScrollControlView& vertical = AddScrollControl ("VScr");
    CItemListView& list = AddList ("! ItemList (('List') (400 'HScr' 'VScr'))");
    RecordingEditor editor;
    horizontal.AttachEditor (&editor);
    root->AttachAll();

    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kHorizontal), &horizontal);
    EXPECT_EQ (horizontal.GetScrolledView(), &list);
    EXPECT_EQ (horizontal.GetOrientation(), ScrollOrientation::kHorizontal);
    EXPECT_EQ (horizontal.GetStepCount(), 3) << "250 over 100, rounded up";
    EXPECT_EQ (horizontal.GetValue(), INT32_MIN);
    EXPECT_EQ (editor.shown.back(), INT32_MIN);
    EXPECT_EQ (vertical.GetStepCount(), 1) << "contents no higher than the list: one page";
    EXPECT_EQ (vertical.GetValue(), INT32_MIN);

    horizontal.SetValue (INT32_MAX);
    EXPECT_EQ (ContentLeft (list), 10 - 150);
    EXPECT_EQ (horizontal.GetValue(), INT32_MAX);
    EXPECT_EQ (editor.shown.back(), INT32_MAX);
    horizontal.SetValue (0);
    EXPECT_EQ (ContentLeft (list), 10 - 75);
    horizontal.SetValue (INT32_MIN);
    EXPECT_EQ (ContentLeft (list), 10);

    vertical.SetValue (INT32_MAX);
    Rect contents {};
    list.GetContentBounds (&contents);
    EXPECT_EQ (contents.top, 10) << "a list that cannot scroll stays";

    root->DetachAll();
    EXPECT_EQ (horizontal.GetScrolledView(), nullptr);
    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kHorizontal), nullptr);
    EXPECT_EQ (horizontal.GetStepCount(), 1);
    horizontal.DetachEditor (&editor);
}

TEST_F (ScrolledLists, AttachAfterScrollingAtTheirPosition)
{
    CScrollControlView& horizontal = AddScrollControl ("HScr");
    CItemListView& list = AddList ("! ItemList (('List') (400 'HScr' 'None'))");
    list.ScrollBy (-150, 0);
    root->AttachAll();
    EXPECT_EQ (horizontal.GetValue(), INT32_MAX);
    list.ScrollBy (150, 0);
    list.ScrollBy (5, 0);
    EXPECT_EQ (ThrownCode ([&] { root->AttachAll(); }), -7400) << "contents that start inside the list's edge";
    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kHorizontal), &horizontal) << "a refused attach keeps what the list held";
    EXPECT_EQ (horizontal.GetScrolledView(), &list) << "and what the control held";

    root->RemoveChild (&list);
    EXPECT_EQ (horizontal.GetScrolledView(), nullptr) << "the list going first lets the control go";
    horizontal.SetValue (INT32_MAX);
    EXPECT_EQ (horizontal.GetValue(), INT32_MAX);
}

TEST_F (ScrolledLists, AListOfNoExtentHasOnePageAndDoesNotScroll)
{
    CScrollControlView& horizontal = AddScrollControl ("HScr");
    CItemListView& list = AddList ("! ItemList (('List') (400 'HScr' 'VScr'))", { 10, 10, 50, 10 });
    root->AttachAll();
    EXPECT_EQ (horizontal.GetStepCount(), 1);
    EXPECT_EQ (horizontal.GetValue(), INT32_MIN);
    horizontal.SetValue (INT32_MAX);
    EXPECT_EQ (ContentLeft (list), 10);
    EXPECT_EQ (horizontal.GetValue(), INT32_MAX);
}

TEST_F (ScrolledLists, IdsThatMatchNoScrollControlLeaveTheListUnscrollable)
{
    auto plain = std::make_unique<CControlView>();
    plain->SetID (FourCharCode ("VScr"));
    Add (std::move (plain));
    CItemListView& list = AddList ("! ItemList (('List') (400 'Nope' 'VScr'))");
    root->AttachAll();
    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kHorizontal), nullptr);
    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kVertical), nullptr) << "a control view that does not scroll is not attached";
    // A missing list, id or vertical ID is -7053, anything else out of place -7400.
    ExpectDescriptionCodes<CItemListView> ("ItemList",
                                           {
                                               { "(('List'))", -7053 },
                                               { "(('List') ())", -7053 },
                                               { "(('List') (400 'HScr'))", -7053 },
                                               { "(('List') (400 'HScr' 5))", -7400 },
                                               { "(('List') (400 5 'VScr'))", -7400 },
                                               { "(('List') (70000))", -7400 },
                                               { "(('List') (400 'HScr' 'VScr' 'More'))", -7400 },
                                           });
}

TEST_F (ScrolledLists, ScrollControlsAndListsForgetEachOtherWhenOneGoes)
{
    CScrollControlView& horizontal = AddScrollControl ("HScr");
    CItemListView& list = AddList ("! ItemList (('List') (400 'HScr' 'VScr'))");
    root->AttachAll();
    root->RemoveChild (&horizontal);
    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kHorizontal), nullptr);

    CScrollControlView& vertical = AddScrollControl ("VScr");
    root->AttachAll();
    ASSERT_EQ (vertical.GetScrolledView(), &list);

    // A control taken out of the tree while the list lives is let go when the list attaches again.
    std::unique_ptr<CPlugInView> outside = root->RemoveChild (&vertical);
    CScrollControlView& replacement = AddScrollControl ("VScr");
    root->AttachAll();
    EXPECT_EQ (vertical.GetScrolledView(), nullptr);
    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kVertical), &replacement);
    outside.reset();
    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kVertical), &replacement);

    root->RemoveChild (&list);
    EXPECT_EQ (replacement.GetScrolledView(), nullptr);
    replacement.SetValue (INT32_MAX);
    EXPECT_EQ (replacement.GetValue(), INT32_MAX);
}

// An editor that fails to show the value an attach gives (a drawing failure) does not leave the
// attach half made: the control and the list hold each other or neither does, so the list going
// afterwards leaves nothing behind that points at it.
TEST_F (ScrolledLists, HoldEachOtherWhenAnEditorFailsToShowTheAttach)
{
    CScrollControlView& horizontal = AddScrollControl ("HScr");
    CItemListView& list = AddList ("! ItemList (('List') (400 'HScr' 'None'))");
    RecordingEditor editor;
    horizontal.AttachEditor (&editor);
    editor.failsToShow = true;

    EXPECT_EQ (ThrownCode ([&] { root->AttachAll(); }), -7053);
    EXPECT_EQ (horizontal.GetScrolledView(), &list);
    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kHorizontal), &horizontal);
    EXPECT_EQ (ThrownCode ([&] { root->DetachAll(); }), -7053);
    EXPECT_EQ (horizontal.GetScrolledView(), nullptr);
    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kHorizontal), nullptr);
    EXPECT_EQ (ThrownCode ([&] { root->AttachAll(); }), -7053);
    EXPECT_EQ (list.GetScrollControl (ScrollOrientation::kHorizontal), &horizontal);

    root->RemoveChild (&list);
    EXPECT_EQ (horizontal.GetScrolledView(), nullptr) << "the list going lets the control go";
    editor.failsToShow = false;
    horizontal.SetValue (INT32_MAX);
    EXPECT_EQ (horizontal.GetValue(), INT32_MAX);
    EXPECT_EQ (editor.shown.back(), INT32_MAX);
}

TEST_F (ScrolledLists, MoveOrReplaceOnBothSidesWhenAnEditorFailsToShowTheAttach)
{
    CScrollControlView& horizontal = AddScrollControl ("HScr");
    CItemListView& first = AddList ("! ItemList (('Lst1') (400 'HScr' 'None'))");
    CItemListView& second = AddList ("! ItemList (('Lst2') (400 'HScr' 'None'))");
    RecordingEditor editor;
    horizontal.AttachEditor (&editor);
    first.AttachAll();
    ASSERT_EQ (first.GetScrollControl (ScrollOrientation::kHorizontal), &horizontal);

    // The control moves to another list that attaches it.
    editor.failsToShow = true;
    EXPECT_EQ (ThrownCode ([&] { second.AttachAll(); }), -7053);
    EXPECT_EQ (horizontal.GetScrolledView(), &second);
    EXPECT_EQ (second.GetScrollControl (ScrollOrientation::kHorizontal), &horizontal);
    EXPECT_EQ (first.GetScrollControl (ScrollOrientation::kHorizontal), nullptr);

    // The list takes the control now found in place of the one it held.
    editor.failsToShow = false;
    second.AttachAll();
    ASSERT_EQ (second.GetScrollControl (ScrollOrientation::kHorizontal), &horizontal);
    std::unique_ptr<CPlugInView> outside = root->RemoveChild (&horizontal);
    CScrollControlView& replacement = AddScrollControl ("HScr");
    RecordingEditor replacementEditor;
    replacement.AttachEditor (&replacementEditor);
    replacementEditor.failsToShow = true;
    EXPECT_EQ (ThrownCode ([&] { second.AttachAll(); }), -7053);
    EXPECT_EQ (replacement.GetScrolledView(), &second);
    EXPECT_EQ (second.GetScrollControl (ScrollOrientation::kHorizontal), &replacement);
    EXPECT_EQ (horizontal.GetScrolledView(), nullptr) << "the control it held is let go";

    root->RemoveChild (&second);
    EXPECT_EQ (replacement.GetScrolledView(), nullptr);
    replacementEditor.failsToShow = false;
    replacement.SetValue (INT32_MAX);
    EXPECT_EQ (replacement.GetValue(), INT32_MAX);
}

TEST_F (ScrolledLists, ScrollingMovesThePixelsAndRedrawsWhatItUncovers)
{
    CItemListView& list = AddList ("! ItemList (('List') (400))");
    root->SetWindow (window);
    root->Invalidate (nullptr);
    HostToolbox().SetPort (window);
    const RGBColor red { 0xFFFF, 0, 0 };
    HostToolbox().RGBForeColor (&red);
    const Rect spot { 20, 30, 24, 34 };
    HostToolbox().PaintRect (&spot);

    toolbox.script().clearCalls();
    list.ScrollBy (10, 0);
    const auto scrolls = toolbox.script().callsOf ("ScrollRect");
    ASSERT_EQ (scrolls.size(), 1u);
    EXPECT_EQ (std::vector<int64_t> (scrolls[0].arguments.begin(), scrolls[0].arguments.begin() + 6),
               (std::vector<int64_t> { 10, 10, 50, 110, 10, 0 }));
    EXPECT_EQ (PixelAt (42, 21), 0xFFFF0000u) << "the spot moved with the scroll";
    EXPECT_EQ (PixelAt (32, 21), kWhitePixel) << "what it left is redrawn";
    EXPECT_EQ (PixelAt (12, 21), PixelOf (kDefaultBackColor)) << "the uncovered strip shows the background";
    EXPECT_EQ (ContentLeft (list), 20);
}

// A view whose background is a pixel pattern of the plug-in's resource file.
class PatternedView : public CPlugInView
{
public:
    PatternedView()
    {
        ScopedPlugInResFile plugInFile;
        fPattern = LoadPicture (1000);
    }
    ~PatternedView() override { HostToolbox().DisposePixPat (fPattern); }
    PixPatHandle GetBackPattern() const override { return fPattern; }

private:
    PixPatHandle fPattern = nullptr;
};

TEST_F (ScrolledLists, ScrollingShowsTheBackPatternInWhatItUncoversAndPutsThePortsPatternBack)
{
    Use ({ ScrolledItems(), { "ppat", 2000, PatternBytes (1, 1, { 0xFF777777u }) } });
    auto patterned = std::make_unique<PatternedView>();
    patterned->SetRect ({ 0, 0, kHeight, kWidth });
    PatternedView& parent = Add (std::move (patterned));
    ASSERT_NE (parent.GetBackPattern(), nullptr);
    auto list = Described<CItemListView> ("! ItemList (('List') (400))", { 10, 10, 50, 110 });
    ASSERT_NE (list, nullptr);
    CItemListView& scrolled = *list;
    parent.AddChild (std::move (list), false);
    scrolled.FinishCreate();
    root->SetWindow (window);
    HostToolbox().SetPort (window);
    PixPatHandle portsOwn = nullptr;
    {
        ScopedPlugInResFile plugInFile;
        portsOwn = scrolled.LoadPicture (2000);
    }
    ASSERT_NE (portsOwn, nullptr);
    HostToolbox().BackPixPat (portsOwn);

    scrolled.ScrollBy (10, 0);
    EXPECT_EQ (PixelAt (12, 21), kPatternA) << "the uncovered strip shows the parent's pattern";
    EXPECT_EQ (PixelAt (13, 21), kPatternB);
    EXPECT_EQ (toolbox.portState (window).backPattern, portsOwn) << "the port has its own pattern again";
    root->SetWindow (nullptr);
    HostToolbox().DisposePixPat (portsOwn);
}

// ---- Dialogs ----

class Dialogs : public ItemLists
{
protected:
    void UseDialog (Bytes dialog)
    {
        Use ({
            { "DLOG", 1, std::move (dialog) },
            { "DITL", 500, ItemListBytes ({ TextItem ({ 30, 10, 45, 110 }, kStaticText, "Gain"), { { 50, 10, 70, 50 }, kUser, {} } }) },
        });
    }
};

TEST_F (Dialogs, TakeTheirSizeAndItemsFromTheDialogAndDrawTheirPattern)
{
    UseDialog (DialogBytes ({ 40, 50, 120, 170 }, 500));
    CDialogView dialog;
    dialog.FinishCreate();
    EXPECT_TRUE (ViewGeometry::SameRect (dialog.GetRect(), { 0, 0, 80, 120 }));
    EXPECT_FALSE (dialog.IsEnabled()) << "its background takes no clicks";
    EXPECT_EQ (dialog.GetItemListID(), 500);
    EXPECT_EQ (ChildrenOf (dialog).size(), 2u);
    EXPECT_EQ (dialog.GetPatternID(), kDefaultBackgroundPatternID);

    EXPECT_EQ (dialog.GetBackPattern(), nullptr);
    dialog.SetWindow (window);
    ASSERT_NE (dialog.GetBackPattern(), nullptr);
    dialog.Invalidate (nullptr);
    EXPECT_EQ (PixelAt (0, 0), kPatternA);
    EXPECT_EQ (PixelAt (1, 0), kPatternB);
    EXPECT_EQ (PixelAt (2, 5), kPatternA);
    EXPECT_EQ (PixelAt (119, 79), kPatternB);

    EventRecord click {};
    click.what = 1;
    click.where = At (100, 5);
    EXPECT_EQ (dialog.HandleClick (&click), 0);
    dialog.SetWindow (nullptr);
}

TEST_F (Dialogs, AMissingOrShortDialogIsRefused)
{
    UseDialog (DialogBytes ({ 0, 0, 80, 120 }, 500));
    CDialogView other;
    other.SetDialogID (2);
    EXPECT_EQ (ThrownCode ([&] { other.FinishCreate(); }), -7053);

    UseDialog (Bytes (19, 0));
    CDialogView shortDialog;
    EXPECT_EQ (ThrownCode ([&] { shortDialog.FinishCreate(); }), -7400);
    EXPECT_EQ (shortDialog.GetFirstChild(), nullptr);
    EXPECT_EQ (LoadedResources(), 0u);
}

TEST_F (Dialogs, AreTheViewAProcessMakesUnlessItMakesAnother)
{
    UseDialog (DialogBytes ({ 0, 0, 80, 120 }, 500));
    {
        CTestProcess process;
        process.Initialize();
        auto* dialog = dynamic_cast<CDialogView*> (process.GetView());
        ASSERT_NE (dialog, nullptr);
        EXPECT_EQ (ChildrenOf (*dialog).size(), 2u);
        process.SetViewPort (window);
        EXPECT_EQ (dialog->GetWindow(), window);
        process.SetViewPort (nullptr);
        process.Teardown();
    }

    Use ({});
    CTestProcess without;
    EXPECT_EQ (ThrownCode ([&] { without.Initialize(); }), -7053) << "a process whose dialog is missing has no view";
    EXPECT_EQ (without.GetView(), nullptr);
}

} // namespace
