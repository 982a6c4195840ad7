#include "views/text/CStaticTextView.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PStrings.h"
#include "views/base/KeyMap.h"
#include "views/base/PStringOrEmpty.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/base/ViewGeometry.h"
#include "views/custom/ColourSets.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/ViewRegistry.h"

using ViewGeometry::Saturate;

namespace
{
inline constexpr int16_t kTextStyle = 0;
inline constexpr int16_t kTextInset = 3;
inline constexpr int16_t kEditLineHeight = 11;
inline constexpr RGBColor kDarkBlueText { 0x0000, 0x0000, 0xAAAA };

int16_t JustificationOfKeyword (int32_t keyword)
{
    switch (keyword)
    {
        case ViewKeyword::kLeft: return teFlushLeft;
        case ViewKeyword::kRight: return teFlushRight;
        case ViewKeyword::kCenter: return teCenter;
        case ViewKeyword::kDefault: return teFlushDefault;
        default: throw CDAEError (RTASError::kConditionFalse);
    }
}

size_t LineLength (const uint8_t* text, size_t length)
{
    const auto end = std::find_if (text, text + length, [] (uint8_t c) { return c == '\r' || c == '\n'; });
    return static_cast<size_t> (end - text);
}
} // namespace

// The drawing context of a call to the text-edit record: the view's window current and clipped to
// its visible rectangle, and the record's colours in the port.
class CStaticTextView::ScopedEditDrawing
{
public:
    explicit ScopedEditDrawing (CStaticTextView& view)
        : fDrawing (view, nullptr), fFore (ScopedPortColour::Which::fore), fBack (ScopedPortColour::Which::back)
    {
        const HostToolboxRoutines& toolbox = HostToolbox();
        toolbox.RGBForeColor (&view.fEditForeColor);
        toolbox.RGBBackColor (&view.fEditBackColor);
    }

private:
    ScopedViewDrawing fDrawing;
    ScopedPortColour fFore;
    ScopedPortColour fBack;
};

CStaticTextView::~CStaticTextView()
{
    DisposeEdit();
}

void CStaticTextView::DisposeEdit()
{
    if (fEdit == nullptr)
        return;
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->TEDispose (fEdit);
    fEdit = nullptr;
}

int16_t CStaticTextView::GetTextFont() const
{
    return kViewTextFont;
}

int16_t CStaticTextView::GetTextSize() const
{
    return kViewTextSize;
}

int16_t CStaticTextView::GetTextStyle() const
{
    return kTextStyle;
}

void CStaticTextView::SetText (const uint8_t* text)
{
    PStrCopy (PStrOrEmpty (text), fText);
}

void CStaticTextView::SetText (std::string_view text)
{
    const size_t length = std::min<size_t> (text.size(), kStaticTextLength);
    std::memmove (fText + 1, text.data(), length);
    fText[0] = static_cast<uint8_t> (length);
}

// ---- Drawing ----

void CStaticTextView::DrawContents (const Rect& area)
{
    DrawBackground (area);
    DrawTextArea();
}

void CStaticTextView::DrawTextArea()
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPortColour fore (ScopedPortColour::Which::fore);
    ScopedPortColour back (ScopedPortColour::Which::back);
    ScopedPortText textSettings;
    const RGBColor backColour = GetBackColor();
    const RGBColor foreColour = GetForeColor();
    toolbox.RGBBackColor (&backColour);
    toolbox.RGBForeColor (&foreColour);
    toolbox.TextFont (GetTextFont());
    toolbox.TextSize (GetTextSize());
    toolbox.TextFace (GetTextStyle());
    toolbox.TextMode (srcOr);
    DrawJustifiedText (fText + 1, fText[0], ViewGeometry::Inset (GetRect(), kTextInset, kTextInset), fJustification);
}

// A box of at least one line gets the host's text box. A lower one, raised by 2, gets single
// lines (at least one): each ends at its first line break, is shortened until it fits the width
// (to one character at the least) and is placed by the justification, the margins beside it
// erased.
void CStaticTextView::DrawJustifiedText (const uint8_t* text, int32_t length, const Rect& box, int16_t justification)
{
    if (text == nullptr || length <= 0)
        return;
    const HostToolboxRoutines& toolbox = HostToolbox();
    FontInfo font {};
    toolbox.GetFontInfo (&font);
    const int32_t lineHeight = font.ascent + font.descent + font.leading;
    if (box.bottom - box.top >= lineHeight)
    {
        toolbox.TETextBox (text, length, &box, justification);
        return;
    }

    const int32_t top = box.top - 2;
    const int32_t width = box.right - box.left;
    const int32_t lines = lineHeight > 0 ? std::max<int32_t> (1, (box.bottom - top) / lineHeight) : 1;
    size_t at = 0;
    const auto total = static_cast<size_t> (length);
    for (int32_t line = 0; line < lines && at < total; ++line)
    {
        const uint8_t* start = text + at;
        const size_t full = LineLength (start, total - at);
        auto shown = static_cast<int16_t> (std::min<size_t> (full, INT16_MAX));
        while (shown > 1 && toolbox.TextWidth (start, 0, shown) > width)
            --shown;
        const int32_t textWidth = shown > 0 ? toolbox.TextWidth (start, 0, shown) : 0;
        const int32_t spare = std::max<int32_t> (0, width - textWidth);
        const int32_t left = justification == teFlushRight ? spare : justification == teCenter ? spare / 2
                                                                                               : 0;
        const int32_t lineTop = top + line * lineHeight;
        const Rect before { Saturate (lineTop), box.left, Saturate (lineTop + lineHeight), Saturate (box.left + left) };
        const Rect after { Saturate (lineTop), Saturate (box.left + left + textWidth), Saturate (lineTop + lineHeight), box.right };
        toolbox.EraseRect (&before);
        toolbox.EraseRect (&after);
        toolbox.MoveTo (Saturate (box.left + left), Saturate (lineTop + font.ascent));
        toolbox.DrawText (start, 0, shown);
        at += full + 1;
    }
}

RGBColor CStaticTextView::GetForeColor() const
{
    const CPlugInView* parent = GetParent();
    if ((parent == nullptr || parent->IsEnabled()) && IsHighlighted() && GetHilite() != 0)
    {
        const std::optional<int16_t> set = ColourSetOfHighlight (GetHighlightColour());
        return set ? GetColourSet (*set)[4] : CCustomView::GetForeColor();
    }
    if (GetColourSetIndex() == 1)
        return kHighlightColor;
    if (GetColourSetIndex() == 4)
        return kDarkBlueText;
    return CCustomView::GetForeColor();
}

// ---- Editing ----

bool CStaticTextView::CanTakeFocus() const
{
    return false;
}

Rect CStaticTextView::GetEditRect() const
{
    const Rect visible = GetVisibleRect();
    int32_t top = visible.top + 3;
    int32_t bottom = visible.bottom - 3;
    const int32_t height = bottom - top;
    if (height > kEditLineHeight)
    {
        const int32_t down = (height - kEditLineHeight) / 2 + 1;
        top += down;
        bottom += down;
    }
    return { Saturate (top - 2), Saturate (visible.left + 1), Saturate (bottom), Saturate (visible.right - 3) };
}

void CStaticTextView::BeginEditing()
{
    if (fEdit != nullptr)
        return;
    const HostToolboxRoutines& toolbox = HostToolbox();
    fEditForeColor = GetForeColor();
    fEditBackColor = GetBackColor();
    {
        ScopedViewDrawing drawing (*this, nullptr);
        const Rect area = GetEditRect();
        fEdit = toolbox.TENew (&area, &area);
    }
    ThrowIfNull (fEdit);
    fEditDirty = 0;
    toolbox.TESetAlignment (fJustification, fEdit);
    SetHilite (1);
    ScopedEditDrawing drawing (*this);
    toolbox.TESetText (fText + 1, fText[0], fEdit);
    toolbox.TESetSelect (0, fText[0], fEdit);
    toolbox.TEActivate (fEdit);
}

std::string_view CStaticTextView::EditedText() const
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    Handle text = toolbox.TEGetText (fEdit);
    const int16_t length = toolbox.TEGetTextLength (fEdit);
    if (text == nullptr || *text == nullptr || length <= 0)
        return {};
    return { *text, static_cast<size_t> (length) };
}

void CStaticTextView::EndEditing (bool)
{
    if (fEdit == nullptr)
        return;
    if (fEditDirty != 0)
    {
        const std::string_view edited = EditedText();
        SetText (edited.substr (0, std::min<size_t> (edited.size(), kCommittedTextLength)));
    }
    DisposeEdit();
    fEditDirty = 0;
    SetHilite (0);
}

void CStaticTextView::HandleKey (int16_t character, bool& handled)
{
    if (fEdit == nullptr)
    {
        CCustomView::HandleKey (character, handled);
        return;
    }
    handled = true;
    const HostToolboxRoutines& toolbox = HostToolbox();
    if ((character == 'V' || character == 'v') && IsKeyDown (kPasteModifierKeyCode))
    {
        Paste();
        return;
    }
    ScopedEditDrawing drawing (*this);
    toolbox.TEKey (character, fEdit);
    fEditDirty = 1;
}

// The clipboard's text replaces the selection, as much of it as keeps the record within the
// view's 255 characters; the result becomes the view's text.
void CStaticTextView::Paste()
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    uint8_t clipboard[256] {};
    GetClipboardText (clipboard);
    const TERecord& record = **fEdit;
    const int32_t selected = std::abs (int32_t (record.selEnd) - int32_t (record.selStart));
    const int32_t kept = std::max<int32_t> (0, toolbox.TEGetTextLength (fEdit) - selected);
    const int32_t inserted = std::min<int32_t> (clipboard[0], std::max<int32_t> (0, kStaticTextLength - kept));
    {
        ScopedEditDrawing drawing (*this);
        toolbox.TEInsert (clipboard + 1, inserted, fEdit);
    }
    SetText (EditedText());
    fEditDirty = 1;
}

void CStaticTextView::GetClipboardText (uint8_t* text) const
{
    if (text == nullptr)
        return;
    text[0] = 0;
    const HostToolboxRoutines& toolbox = HostToolbox();
    Handle block = toolbox.NewHandle (0);
    if (block == nullptr)
        return;
    const int32_t length = toolbox.GetClipboardText (block);
    if (length > 0 && *block != nullptr)
    {
        const auto kept = static_cast<size_t> (std::min<int32_t> (length, kStaticTextLength));
        std::memcpy (text + 1, *block, kept);
        text[0] = static_cast<uint8_t> (kept);
    }
    toolbox.DisposeHandle (block);
}

void CStaticTextView::TrackMouse (const EventRecord& event, bool immediate)
{
    if (fEdit == nullptr)
    {
        CCustomView::TrackMouse (event, immediate);
        return;
    }
    ScopedEditDrawing drawing (*this);
    HostToolbox().TEClick (event.where, (event.modifiers & kShiftModifier) != 0 ? 1 : 0, fEdit);
}

void CStaticTextView::Idle (int32_t value)
{
    if (fEdit != nullptr)
    {
        ScopedEditDrawing drawing (*this);
        HostToolbox().TEIdle (fEdit);
    }
    CCustomView::Idle (value);
}

void CStaticTextView::Deactivate()
{
    if (fEdit != nullptr)
    {
        ScopedEditDrawing drawing (*this);
        HostToolbox().TEDeactivate (fEdit);
    }
    CCustomView::Deactivate();
}

void CStaticTextView::Activate()
{
    if (fEdit != nullptr)
    {
        ScopedEditDrawing drawing (*this);
        HostToolbox().TEActivate (fEdit);
    }
    CCustomView::Activate();
}

void CStaticTextView::SetWindow (WindowRef window)
{
    if (window == nullptr)
        EndEditing (false);
    CCustomView::SetWindow (window);
}

void CStaticTextView::ReadDescription (CViewDescriptionReader& reader)
{
    CCustomView::ReadDescription (reader);
    for (const SDescriptionNode* node = reader.TakeAttributeList(); node != nullptr; node = node->next)
    {
        if (node->kind == kNodeString)
            SetText (NodeText (*node));
        else if (node->kind == kNodeKeyword)
            fJustification = JustificationOfKeyword (node->value);
        else
            throw CDAEError (RTASError::kConditionFalse);
    }
}
