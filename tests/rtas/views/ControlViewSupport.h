#pragma once
// What the tests of control, picture, text and dialog views share: views built from description
// texts, editors that record what their control view asks of them, and a root view that holds
// views in the test window.

#include "ViewTestSupport.h"

#include "views/controls/CControlView.h"
#include "views/custom/CCustomView.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/ViewFromDescription.h"

#include <ThrownCode.h>

#include <initializer_list>
#include <string>

inline SDialogItem DescriptionItem (const std::string& text, Rect bounds = { 10, 20, 40, 80 }, uint8_t type = 4)
{
    return { bounds, type, reinterpret_cast<const uint8_t*> (text.data()), text.size() };
}

// The view that a description text builds; null when the text is no valid description of one.
template <class View>
std::unique_ptr<View> Described (const std::string& text, Rect bounds = { 10, 20, 40, 80 })
{
    bool ok = false;
    std::unique_ptr<CCustomView> view = CreateViewFromDescription (DescriptionItem (text, bounds), &ok);
    auto* typed = dynamic_cast<View*> (view.get());
    if (! ok || typed == nullptr)
        return nullptr;
    view.release();
    return std::unique_ptr<View> (typed);
}

// The code that reading a description's attribute lists into the view throws (0 when none).
inline int32_t ReadCode (CCustomView& view, const std::string& text)
{
    const SDialogItem item = DescriptionItem (text);
    CViewDescriptionReader reader (item);
    reader.Read();
    const SDescriptionNode* lists = reader.GetHead()->next->next;
    reader.SetAttributeLists (ListNodes (*lists));
    return ThrownCode ([&] { view.ReadDescription (reader); });
}

// A description's attribute lists and the code reading them throws.
struct SDescriptionCase
{
    const char* lists;
    int32_t code;
};

// For each case: reading its attribute lists into a new View throws its code, and the
// description of that view type builds no view.
template <class View>
void ExpectDescriptionCodes (const std::string& type, std::initializer_list<SDescriptionCase> cases)
{
    for (const SDescriptionCase& c : cases)
    {
        const std::string text = "! " + type + " " + c.lists;
        View view;
        EXPECT_EQ (ReadCode (view, text), c.code) << text;
        EXPECT_EQ (Described<View> (text), nullptr) << text;
    }
}

inline std::string PascalText (const uint8_t* text)
{
    return std::string (reinterpret_cast<const char*> (text + 1), text[0]);
}

inline std::vector<uint8_t> Pascal (const std::string& text)
{
    std::vector<uint8_t> pascal (1, uint8_t (text.size()));
    pascal.insert (pascal.end(), text.begin(), text.end());
    return pascal;
}

// An editor that records its binding, the values it was asked to show and its redraws; it can
// refuse a binding, or fail to show a value as a drawing that misses its picture does. As every
// editor does, it leaves its control view when it goes.
class RecordingEditor final : public IControlViewEditor
{
public:
    RecordingEditor() = default;
    ~RecordingEditor()
    {
        if (bound != nullptr)
            bound->DetachEditor (this);
    }
    RecordingEditor (const RecordingEditor&) = delete;
    RecordingEditor& operator= (const RecordingEditor&) = delete;

    CControlView* bound = nullptr;
    IControlViewEditor* next = nullptr;
    std::vector<int32_t> shown;
    int redraws = 0;
    bool refusesBinding = false;
    bool failsToShow = false;

    IControlViewEditor* GetNextEditor() const override { return next; }
    void SetNextEditor (IControlViewEditor* editor) override { next = editor; }
    void SetBoundView (CControlView* view) override
    {
        if (view != nullptr && refusesBinding)
            throw CDAEError (RTASError::kConditionFalse);
        bound = view;
    }
    void ValueChanged() override
    {
        if (failsToShow)
            throw CDAEError (RTASError::kNullPointer);
        shown.push_back (bound != nullptr ? bound->GetValue() : 0);
    }
    void Redraw() override { ++redraws; }
};

// The test window with a white root view of its size that the test's views go into.
class ViewWindowTest : public ViewToolboxTest
{
protected:
    void SetUp() override
    {
        ViewToolboxTest::SetUp();
        root = std::make_unique<LoggingView> ("root", Rect { 0, 0, kHeight, kWidth }, nullptr, kWhite);
    }

    void TearDown() override
    {
        root.reset();
        ViewToolboxTest::TearDown();
    }

    template <class View>
    View& Add (std::unique_ptr<View> view)
    {
        View& added = *view;
        root->AddChild (std::move (view), false);
        return added;
    }

    std::unique_ptr<LoggingView> root;
};
