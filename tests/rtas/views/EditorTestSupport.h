#pragma once
// What the editor tests share: a process whose window the test fills with described views (so
// that editors bind as they do in a plug-in's window), counting its control touches and writes;
// a control view that holds its value and records what the editors ask of it; mouse events and
// scripted mouse samples in the test window's coordinates.

#include "ControlViewSupport.h"
#include "PlugInResources.h"

#include "views/controls/CProcessControlView.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/editors/CControlEditor.h"

#include <ProcessTestSupport.h>

#include <optional>

using kestrune::host::rtas::HostExtMouseSample;

// The test window lies at global (v 100, h 200).
inline constexpr int16_t kWindowGlobalTop = 100;
inline constexpr int16_t kWindowGlobalLeft = 200;

inline Point Global (int h, int v)
{
    return { int16_t (v + kWindowGlobalTop), int16_t (h + kWindowGlobalLeft) };
}

// A mouse sample at window point (h, v), the button down or up.
inline HostExtMouseSample Down (int h, int v)
{
    return { Global (h, v), true };
}

inline HostExtMouseSample Up (int h, int v)
{
    return { Global (h, v), false };
}

inline EventRecord MouseDown (int h, int v, uint16_t modifiers = 0)
{
    EventRecord event {};
    event.what = kMouseDownEvent;
    event.where = At (h, v);
    event.modifiers = modifiers;
    return event;
}

inline EventRecord Key (int character, uint16_t modifiers = 0)
{
    EventRecord event {};
    event.what = 3;
    event.message = uint32_t (character);
    event.modifiers = modifiers;
    return event;
}

// A control view that holds its value (as any control view does), with a settable text of each
// value and a scripted parse, and records what it was asked.
class ScriptedControlView : public CControlView
{
public:
    // The text of a value; unset: the base's.
    std::function<std::string (int32_t)> textOf;
    // The parse's result; unset: the text read as a decimal step.
    std::optional<int32_t> parseResult;
    std::vector<std::string> parsed;
    std::vector<int32_t> written;
    // Called on each write, before the value is stored.
    std::function<void()> onWrite;
    // Throw CDAEError -1234 from SetValue / GetValue while set.
    bool failWrites = false;
    bool failReads = false;

    void SetValue (int32_t value) override
    {
        if (failWrites)
            throw CDAEError (-1234);
        written.push_back (value);
        if (onWrite)
            onWrite();
        CControlView::SetValue (value);
    }
    int32_t GetValue() const override
    {
        if (failReads)
            throw CDAEError (-1234);
        return CControlView::GetValue();
    }
    void ValueToText (int32_t value, char* text, int32_t length) const override
    {
        if (! textOf)
        {
            CControlView::ValueToText (value, text, length);
            return;
        }
        const std::string shown = textOf (value).substr (0, size_t (length));
        std::memcpy (text, shown.c_str(), shown.size() + 1);
    }
    int32_t TextToValue (const char* text, int32_t* value) const override
    {
        const_cast<ScriptedControlView*> (this)->parsed.emplace_back (text);
        if (parseResult)
        {
            *value = 0;
            return *parseResult;
        }
        *value = ValueFromStep (std::atoi (text));
        return 0;
    }
    bool IsAllowedCharacter (int16_t character) const override { return character >= '0' && character <= '9'; }
    // Sets the value without the editors hearing of it.
    void Store (int32_t value) { StoreValue (value); }
};

// A process whose view is a white-backed root of the test window's size, filled by `build`
// before the process starts it; it counts its control touches and the editors' writes.
class EditorProcess : public CTestProcess
{
public:
    std::function<void (CCustomView& root)> build;
    CCustomView* root = nullptr;
    std::vector<int32_t> touches; // +index at a touch's begin, -index at its end
    std::vector<std::pair<int32_t, int32_t>> writes;
    int services = 0;

    std::unique_ptr<IProcessView> CreateView() override
    {
        auto view = std::make_unique<CCustomView>();
        view->SetRect ({ 0, 0, 80, 120 });
        view->SetEnabled (true);
        view->SetBackColor (kWhite);
        root = view.get();
        if (build)
            build (*view);
        return view;
    }
    int32_t BeginControlTouch (int32_t index) override
    {
        touches.push_back (index);
        return CTestProcess::BeginControlTouch (index);
    }
    int32_t EndControlTouch (int32_t index) override
    {
        touches.push_back (-index);
        return CTestProcess::EndControlTouch (index);
    }
    int32_t SetControlValue (int32_t index, int32_t value) override
    {
        writes.emplace_back (index, value);
        return CTestProcess::SetControlValue (index, value);
    }
    int32_t ServiceSDSTokens() override
    {
        ++services;
        return CTestProcess::ServiceSDSTokens();
    }
};

inline std::vector<const IControlViewEditor*> Chain (const CControlView& view)
{
    std::vector<const IControlViewEditor*> editors;
    for (const IControlViewEditor* editor = view.GetFirstEditor(); editor != nullptr; editor = editor->GetNextEditor())
        editors.push_back (editor);
    return editors;
}

// Adds a described view to `parent` (nested by rectangle, as dialog items are) and completes it
// as loaders do.
template <class View>
View& AddDescribed (CPlugInView& parent, const std::string& text, Rect bounds)
{
    std::unique_ptr<View> view = Described<View> (text, bounds);
    if (view == nullptr)
        throw std::runtime_error ("not a description: " + text);
    View& added = *view;
    parent.AddChild (std::move (view), true);
    added.FinishCreate();
    return added;
}

template <class View>
View& AddView (CPlugInView& parent, uint32_t id, Rect bounds)
{
    auto view = std::make_unique<View>();
    view->SetID (id);
    view->SetRect (bounds);
    View& added = *view;
    parent.AddChild (std::move (view), true);
    return added;
}

// The test window and a process with discrete controls over [0, 10] (identifiers 'ct01', ...);
// Open builds the process's view, starts it, gives it the window and activates it, as a host
// does.
class EditorTest : public ViewToolboxTest
{
protected:
    void TearDown() override
    {
        if (opened)
        {
            process.SetViewPort (nullptr);
            process.Teardown();
        }
        resources.reset();
        ViewToolboxTest::TearDown();
    }

    void Open (std::function<void (CCustomView& root)> build, int controls = 3)
    {
        AddTestControls (process, controls);
        process.build = std::move (build);
        process.Initialize();
        opened = true;
        process.SetViewPort (window);
        process.ActivateView();
        process.writes.clear();
        process.touches.clear();
    }

    CCustomView& Root() { return *process.root; }
    void Click (const EventRecord& event) { process.root->HandleClick (const_cast<EventRecord*> (&event)); }
    // The root handles a key; answers whether it was handled.
    bool Press (int character, uint16_t modifiers = 0)
    {
        EventRecord key = Key (character, modifiers);
        uint8_t handled = 0;
        process.root->HandleEvent (&key, &handled);
        return handled != 0;
    }
    void Redraw() { process.root->Invalidate (nullptr); }

    EditorProcess process;
    bool opened = false;
    // The plug-in's resource file of a test that writes one.
    std::unique_ptr<ScopedPlugInResources> resources;
};
