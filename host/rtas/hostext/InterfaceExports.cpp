// The stand-in toolbox's routines for controls, text editing, the clipboard, menus and screens.

#include "HostExtToolbox.h"

#include <cstring>

using kestrune::host::rtas::addressOf;
using kestrune::host::rtas::argumentsOf;
using kestrune::host::rtas::HostExtToolbox;
using kestrune::host::rtas::rectOf;
using kestrune::host::rtas::textOf;
using kestrune::host::rtas::recordedCall;

namespace
{

// A text-edit routine that takes text: the text is recorded with the call.
template <typename Operation>
void withText (const char* role, const void* text, int32_t length, TEHandle edit, Operation operation)
{
    const std::string characters = text != nullptr && length > 0 ? std::string (static_cast<const char*> (text), size_t (length)) : std::string();
    recordedCall (role, { length, addressOf (edit) }, operation, characters);
}

} // namespace

// Controls.

ControlHandle HostExt_NewControl (WindowRef window, const Rect* bounds, ConstStr255Param title, uint8_t visible, int16_t value,
                                  int16_t minimum, int16_t maximum, int16_t kind, int32_t reference)
{
    std::vector<int64_t> arguments { addressOf (window) };
    for (int64_t argument : argumentsOf (bounds))
        arguments.push_back (argument);
    for (int64_t argument : { int64_t (visible), int64_t (value), int64_t (minimum), int64_t (maximum), int64_t (kind), int64_t (reference) })
        arguments.push_back (argument);
    const std::string text = textOf (title);
    return recordedCall (
        "NewControl", arguments, [&] (HostExtToolbox& t) -> ControlHandle {
            if (t.failsNow ("NewControl") || bounds == nullptr)
                return nullptr;
            return t.controls().create (window, *bounds, text, visible != 0, value, minimum, maximum, kind, reference);
        },
        text);
}

ControlHandle HostExt_GetNewControl (int16_t templateId, WindowRef window)
{
    return recordedCall ("GetNewControl", { templateId, addressOf (window) }, [&] (HostExtToolbox& t) -> ControlHandle {
        if (t.failsNow ("GetNewControl"))
            return nullptr;
        const auto bytes = t.resourceBytes (kestrune::rtas::abi::fourCC ("CNTL"), templateId);
        if (! bytes)
            return nullptr;
        ControlHandle control = t.controls().createFromTemplate (bytes->data(), bytes->size(), window);
        if (control == nullptr)
            t.resources().setError (mapReadErr);
        return control;
    });
}

void HostExt_DisposeControl (ControlHandle control)
{
    recordedCall ("DisposeControl", { addressOf (control) }, [&] (HostExtToolbox& t) { t.controls().dispose (control); });
}

void HostExt_ShowControl (ControlHandle control)
{
    recordedCall ("ShowControl", { addressOf (control) }, [&] (HostExtToolbox& t) { t.controls().show (control); });
}

void HostExt_Draw1Control (ControlHandle control)
{
    recordedCall ("Draw1Control", { addressOf (control) }, [&] (HostExtToolbox& t) { t.controls().draw (control); });
}

void HostExt_MoveControl (ControlHandle control, int16_t h, int16_t v)
{
    recordedCall ("MoveControl", { addressOf (control), h, v }, [&] (HostExtToolbox& t) { t.controls().move (control, h, v); });
}

void HostExt_GetControlBounds (ControlHandle control, Rect* bounds)
{
    recordedCall ("GetControlBounds", { addressOf (control) }, [&] (HostExtToolbox& t) { t.controls().bounds (control, bounds); });
}

int16_t HostExt_TrackControl (ControlHandle control, Point start, ControlActionProc action)
{
    return recordedCall ("TrackControl", { addressOf (control), start.v, start.h, addressOf (reinterpret_cast<void*> (action)) },
                         [&] (HostExtToolbox& t) -> int16_t {
                             if (auto scripted = t.script().takeResult ("TrackControl"))
                             {
                                 t.controls().followMouseUntilUp();
                                 return int16_t (*scripted);
                             }
                             return t.controls().track (control, start, action);
                         });
}

// Text editing.

TEHandle HostExt_TENew (const Rect* destination, const Rect* view)
{
    std::vector<int64_t> arguments = argumentsOf (destination);
    for (int64_t argument : argumentsOf (view))
        arguments.push_back (argument);
    return recordedCall ("TENew", arguments, [&] (HostExtToolbox& t) -> TEHandle {
        if (t.failsNow ("TENew") || destination == nullptr || view == nullptr)
            return nullptr;
        return t.textEdit().create (*destination, *view);
    });
}

void HostExt_TEDispose (TEHandle edit)
{
    recordedCall ("TEDispose", { addressOf (edit) }, [&] (HostExtToolbox& t) { t.textEdit().dispose (edit); });
}

void HostExt_TESetText (const void* text, int32_t length, TEHandle edit)
{
    withText ("TESetText", text, length, edit, [&] (HostExtToolbox& t) { t.textEdit().setText (edit, static_cast<const char*> (text), length); });
}

void HostExt_TEInsert (const void* text, int32_t length, TEHandle edit)
{
    withText ("TEInsert", text, length, edit, [&] (HostExtToolbox& t) { t.textEdit().insert (edit, static_cast<const char*> (text), length); });
}

void HostExt_TESetSelect (int32_t start, int32_t end, TEHandle edit)
{
    recordedCall ("TESetSelect", { start, end, addressOf (edit) }, [&] (HostExtToolbox& t) { t.textEdit().select (edit, start, end); });
}

void HostExt_TEUpdate (const Rect* area, TEHandle edit)
{
    std::vector<int64_t> arguments = argumentsOf (area);
    arguments.push_back (addressOf (edit));
    recordedCall ("TEUpdate", arguments, [&] (HostExtToolbox& t) { t.textEdit().update (edit, area); });
}

void HostExt_TEActivate (TEHandle edit)
{
    recordedCall ("TEActivate", { addressOf (edit) }, [&] (HostExtToolbox& t) { t.textEdit().setActive (edit, true); });
}

void HostExt_TEDeactivate (TEHandle edit)
{
    recordedCall ("TEDeactivate", { addressOf (edit) }, [&] (HostExtToolbox& t) { t.textEdit().setActive (edit, false); });
}

void HostExt_TEIdle (TEHandle edit)
{
    recordedCall ("TEIdle", { addressOf (edit) }, [&] (HostExtToolbox& t) { t.textEdit().idle (edit); });
}

void HostExt_TEKey (int16_t character, TEHandle edit)
{
    recordedCall ("TEKey", { character, addressOf (edit) }, [&] (HostExtToolbox& t) { t.textEdit().key (edit, uint8_t (character)); });
}

void HostExt_TEClick (Point where, uint8_t extend, TEHandle edit)
{
    recordedCall ("TEClick", { where.v, where.h, extend, addressOf (edit) }, [&] (HostExtToolbox& t) {
        t.textEdit().click (edit, where, extend != 0);
    });
}

Handle HostExt_TEGetText (TEHandle edit)
{
    return recordedCall ("TEGetText", { addressOf (edit) }, [&] (HostExtToolbox& t) { return t.textEdit().text (edit); });
}

int16_t HostExt_TEGetTextLength (TEHandle edit)
{
    return recordedCall ("TEGetTextLength", { addressOf (edit) }, [&] (HostExtToolbox& t) { return t.textEdit().length (edit); });
}

void HostExt_TESetAlignment (int16_t just, TEHandle edit)
{
    recordedCall ("TESetAlignment", { just, addressOf (edit) }, [&] (HostExtToolbox& t) { t.textEdit().setAlignment (edit, just); });
}

// The clipboard's text into the block (resized to it); its length, or noTypeErr when the
// clipboard holds no text, or the memory error when the block cannot take it. A null block
// only asks for the length.
int32_t HostExt_GetClipboardText (Handle destination)
{
    return recordedCall ("GetClipboardText", { addressOf (destination) }, [&] (HostExtToolbox& t) -> int32_t {
        const auto& text = t.clipboard();
        if (! text)
            return noTypeErr;
        if (destination == nullptr)
            return int32_t (text->size());
        if (const OSErr error = t.heap().resize (destination, int32_t (text->size())); error != noErr)
            return error;
        std::memcpy (*destination, text->data(), text->size());
        return int32_t (text->size());
    });
}

// Menus.

MenuHandle HostExt_NewMenu (int16_t menuID, ConstStr255Param title)
{
    const std::string text = textOf (title);
    return recordedCall (
        "NewMenu", { menuID }, [&] (HostExtToolbox& t) { return t.failsNow ("NewMenu") ? nullptr : t.menus().create (menuID, text); },
        text);
}

void HostExt_DisposeMenu (MenuHandle menu)
{
    recordedCall ("DisposeMenu", { addressOf (menu) }, [&] (HostExtToolbox& t) { t.menus().dispose (menu); });
}

Handle HostExt_NewMenuDefinition (MenuDefProc proc)
{
    return recordedCall ("NewMenuDefinition", { addressOf (reinterpret_cast<void*> (proc)) },
                         [&] (HostExtToolbox& t) { return t.failsNow ("NewMenuDefinition") ? nullptr : t.menus().newDefinition (proc); });
}

void HostExt_DisposeMenuDefinition (Handle definition)
{
    recordedCall ("DisposeMenuDefinition", { addressOf (definition) }, [&] (HostExtToolbox& t) { t.menus().disposeDefinition (definition); });
}

void HostExt_SetMenuDefinition (MenuHandle menu, Handle definition)
{
    recordedCall ("SetMenuDefinition", { addressOf (menu), addressOf (definition) },
                  [&] (HostExtToolbox& t) { t.menus().setDefinition (menu, definition); });
}

void HostExt_SetMenuReference (MenuHandle menu, int32_t reference)
{
    recordedCall ("SetMenuReference", { addressOf (menu), reference }, [&] (HostExtToolbox& t) { t.menus().setReference (menu, reference); });
}

int32_t HostExt_GetMenuReference (MenuHandle menu)
{
    return recordedCall ("GetMenuReference", { addressOf (menu) }, [&] (HostExtToolbox& t) { return t.menus().reference (menu); });
}

void HostExt_InsertMenu (MenuHandle menu, int16_t beforeID)
{
    recordedCall ("InsertMenu", { addressOf (menu), beforeID }, [&] (HostExtToolbox& t) { t.menus().insert (menu); });
}

void HostExt_DeleteMenu (int16_t menuID)
{
    recordedCall ("DeleteMenu", { menuID }, [&] (HostExtToolbox& t) { t.menus().remove (menuID); });
}

int32_t HostExt_PopUpMenuSelect (MenuHandle menu, int16_t top, int16_t left, int16_t item)
{
    return recordedCall ("PopUpMenuSelect", { addressOf (menu), top, left, item },
                         [&] (HostExtToolbox& t) { return t.menus().popUp (menu, top, left, item); });
}

// Screens.

int16_t HostExt_CountScreens()
{
    return recordedCall ("CountScreens", {}, [] (HostExtToolbox& t) { return int16_t (t.screens().size()); });
}

uint8_t HostExt_GetScreenBounds (int16_t index, Rect* bounds)
{
    return recordedCall ("GetScreenBounds", { index, addressOf (bounds) }, [&] (HostExtToolbox& t) -> uint8_t {
        if (index < 0 || size_t (index) >= t.screens().size() || bounds == nullptr)
            return 0;
        *bounds = rectOf (t.screens()[size_t (index)]);
        return 1;
    });
}
