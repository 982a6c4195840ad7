#include "TextEdit.h"

#include <algorithm>
#include <cstring>

namespace kestrune::host::rtas
{

namespace
{

    constexpr size_t kLongestText = 32767;
    constexpr unsigned char kBackspace = 8;
    constexpr unsigned char kForwardDelete = 127;
    constexpr unsigned char kLeftArrow = 28;
    constexpr unsigned char kRightArrow = 29;
    constexpr unsigned char kUpArrow = 30;
    constexpr unsigned char kDownArrow = 31;

    struct Layout
    {
        FontMetrics font;
        std::vector<TextLine> lines;
        std::vector<int32_t> lefts;
    };

    Layout layoutOf (const TERecord& record, std::string_view text)
    {
        Layout layout { fontMetrics (record.txSize, record.txFace), {}, {} };
        const Box destination = boxOf (record.destRect);
        layout.lines = layoutLines (text, destination.width(), layout.font);
        for (const TextLine& line : layout.lines)
            layout.lefts.push_back (justifiedLeft (destination.left, destination.right,
                                                   layout.font.width (visibleLength (text, line)), record.just));
        return layout;
    }

    // The line that holds the caret at an offset: the one it falls before the end of, else the last.
    size_t lineOf (const Layout& layout, size_t offset)
    {
        for (size_t i = 0; i + 1 < layout.lines.size(); ++i)
            if (offset < layout.lines[i].next)
                return i;
        return layout.lines.size() - 1;
    }

} // namespace

bool TextEdit::known (TEHandle edit)
{
    return graphics_.recognises (std::find (edits_.begin(), edits_.end(), edit) != edits_.end(), edit, "text edit");
}

bool TextEdit::owns (Handle block) const
{
    return std::any_of (edits_.begin(), edits_.end(),
                        [&] (TEHandle edit) { return reinterpret_cast<Handle> (edit) == block || (*edit)->text == block; });
}

TEHandle TextEdit::create (const Rect& destination, const Rect& view)
{
    const Port* port = graphics_.currentPort();
    if (port == nullptr)
        return nullptr;
    Handle record = heap_.allocate (sizeof (TERecord), true);
    Handle text = heap_.allocate (0, true);
    if (record == nullptr || text == nullptr)
    {
        heap_.dispose (record);
        heap_.dispose (text);
        return nullptr;
    }
    auto edit = reinterpret_cast<TEHandle> (record);
    TERecord& fields = **edit;
    const FontMetrics font = fontMetrics (port->textSize, port->textFace);
    fields.destRect = destination;
    fields.viewRect = view;
    fields.lineHeight = int16_t (font.lineHeight());
    fields.fontAscent = int16_t (font.ascent);
    fields.just = teFlushDefault;
    fields.txFont = port->textFont;
    fields.txSize = port->textSize;
    fields.txFace = port->textFace;
    fields.caretTicks = ticks_();
    fields.text = text;
    fields.inPort = graphics_.current();
    edits_.push_back (edit);
    return edit;
}

void TextEdit::dispose (TEHandle edit)
{
    if (! known (edit))
        return;
    heap_.dispose ((*edit)->text);
    heap_.dispose (reinterpret_cast<Handle> (edit));
    edits_.erase (std::find (edits_.begin(), edits_.end(), edit));
}

std::string TextEdit::contents (const TERecord& record) const
{
    return std::string (*record.text, size_t (record.teLength));
}

bool TextEdit::store (TEHandle edit, const std::string& text, size_t selStart, size_t selEnd)
{
    if (text.size() > kLongestText)
        return false;
    Handle block = (*edit)->text;
    if (heap_.resize (block, int32_t (text.size())) != noErr)
        return false;
    std::memcpy (*block, text.data(), text.size());
    TERecord& record = **edit;
    record.teLength = int16_t (text.size());
    record.selStart = int16_t (std::min (selStart, text.size()));
    record.selEnd = int16_t (std::min (std::max (selStart, selEnd), text.size()));
    record.caretVisible = record.active;
    record.caretTicks = ticks_();
    return true;
}

void TextEdit::setText (TEHandle edit, const char* text, int32_t length)
{
    if (! known (edit) || text == nullptr || length < 0)
        return;
    store (edit, std::string (text, size_t (length)), size_t (length), size_t (length));
}

void TextEdit::replaceSelection (TEHandle edit, const std::string& replacement)
{
    std::string text = contents (**edit);
    const size_t start = size_t ((*edit)->selStart);
    text.replace (start, size_t ((*edit)->selEnd) - start, replacement);
    const size_t caret = start + replacement.size();
    store (edit, text, caret, caret);
}

void TextEdit::insert (TEHandle edit, const char* text, int32_t length)
{
    if (! known (edit) || text == nullptr || length < 0)
        return;
    replaceSelection (edit, std::string (text, size_t (length)));
    redraw (edit);
}

void TextEdit::select (TEHandle edit, int32_t start, int32_t end)
{
    if (! known (edit))
        return;
    const size_t length = size_t ((*edit)->teLength);
    const auto clamp = [&] (int32_t offset) { return std::min (size_t (std::max (offset, 0)), length); };
    store (edit, contents (**edit), std::min (clamp (start), clamp (end)), std::max (clamp (start), clamp (end)));
    redraw (edit);
}

void TextEdit::key (TEHandle edit, unsigned char character)
{
    if (! known (edit))
        return;
    const TERecord& record = **edit;
    const bool selection = record.selStart < record.selEnd;
    if (character == kBackspace || character == kForwardDelete)
    {
        std::string text = contents (record);
        size_t start = size_t (record.selStart);
        size_t end = size_t (record.selEnd);
        if (! selection && character == kBackspace && start > 0)
            --start;
        if (! selection && character == kForwardDelete && end < text.size())
            ++end;
        text.erase (start, end - start);
        store (edit, text, start, start);
    }
    else if (character >= kLeftArrow && character <= kDownArrow)
        moveCaret (edit, character);
    else
        replaceSelection (edit, std::string (1, char (character)));
    redraw (edit);
}

void TextEdit::moveCaret (TEHandle edit, unsigned char arrow)
{
    const TERecord& record = **edit;
    const std::string text = contents (record);
    const bool selection = record.selStart < record.selEnd;
    size_t caret = size_t (arrow == kLeftArrow || arrow == kUpArrow ? record.selStart : record.selEnd);
    if (arrow == kLeftArrow && ! selection && caret > 0)
        --caret;
    else if (arrow == kRightArrow && ! selection && caret < text.size())
        ++caret;
    else if (arrow == kUpArrow || arrow == kDownArrow)
    {
        const Layout layout = layoutOf (record, text);
        const size_t line = lineOf (layout, caret);
        const size_t column = caret - layout.lines[line].start;
        if (arrow == kUpArrow)
            caret = line == 0 ? 0 : layout.lines[line - 1].start + std::min (column, layout.lines[line - 1].length);
        else
            caret = line + 1 == layout.lines.size() ? text.size()
                                                    : layout.lines[line + 1].start + std::min (column, layout.lines[line + 1].length);
    }
    store (edit, text, caret, caret);
}

size_t TextEdit::offsetAt (const TERecord& record, Point where) const
{
    const std::string text = contents (record);
    const Layout layout = layoutOf (record, text);
    const int32_t row = (where.v - record.destRect.top) / std::max<int32_t> (1, layout.font.lineHeight());
    const size_t line = where.v < record.destRect.top ? 0 : std::min (size_t (row), layout.lines.size() - 1);
    const int32_t column = (where.h - layout.lefts[line] + layout.font.advance / 2) / layout.font.advance;
    return layout.lines[line].start + std::min (size_t (std::max (column, 0)), layout.lines[line].length);
}

void TextEdit::click (TEHandle edit, Point where, bool extend)
{
    if (! known (edit))
        return;
    const size_t offset = offsetAt (**edit, where);
    const size_t selStart = size_t ((*edit)->selStart);
    const size_t selEnd = size_t ((*edit)->selEnd);
    const size_t anchor = ! extend ? offset : offset < selStart ? selEnd
                                                                : selStart;
    const std::string text = contents (**edit);
    store (edit, text, std::min (anchor, offset), std::max (anchor, offset));
    // Dragging with the button down extends the selection from where the click was, up to
    // where the button goes up.
    const bool followsScript = mouse_.pending() > 0;
    for (bool down = followsScript; down;)
    {
        down = mouse_.stillDown();
        Point local = mouse_.where();
        if (const Port* port = graphics_.port ((*edit)->inPort))
            local = Graphics::toLocal (*port, local);
        const size_t reached = offsetAt (**edit, local);
        store (edit, text, std::min (anchor, reached), std::max (anchor, reached));
    }
    redraw (edit);
}

void TextEdit::setActive (TEHandle edit, bool active)
{
    if (! known (edit))
        return;
    (*edit)->active = active ? 1 : 0;
    (*edit)->caretVisible = (*edit)->active;
    (*edit)->caretTicks = ticks_();
    redraw (edit);
}

void TextEdit::idle (TEHandle edit)
{
    if (! known (edit))
        return;
    TERecord& record = **edit;
    const uint32_t now = ticks_();
    if (record.active == 0 || record.selStart != record.selEnd || now - record.caretTicks < kCaretTicks)
        return;
    record.caretVisible = record.caretVisible != 0 ? 0 : 1;
    record.caretTicks = now;
    redraw (edit);
}

Handle TextEdit::text (TEHandle edit)
{
    return known (edit) ? (*edit)->text : nullptr;
}

int16_t TextEdit::length (TEHandle edit)
{
    return known (edit) ? (*edit)->teLength : 0;
}

void TextEdit::setAlignment (TEHandle edit, int16_t just)
{
    if (known (edit))
        (*edit)->just = just;
}

void TextEdit::redraw (TEHandle edit)
{
    update (edit, nullptr);
}

// Erases the visible part, draws the lines in the port's fore colour, then inverts the
// selection or draws the caret while the record is active.
void TextEdit::update (TEHandle edit, const Rect* area)
{
    if (! known (edit))
        return;
    const TERecord& record = **edit;
    Port* port = graphics_.port (record.inPort);
    if (port == nullptr)
        return;
    const Box visible = boxOf (record.viewRect).intersection (area != nullptr ? boxOf (*area) : boxOf (record.viewRect));
    if (visible.empty())
        return;
    const Region limit (visible);
    graphics_.fill (*port, visible, srcCopy, false, &limit);

    const std::string text = contents (record);
    const Layout layout = layoutOf (record, text);
    const int32_t height = layout.font.lineHeight();
    const size_t selStart = size_t (record.selStart);
    const size_t selEnd = size_t (record.selEnd);
    for (size_t i = 0; i < layout.lines.size(); ++i)
    {
        const TextLine& line = layout.lines[i];
        const int32_t top = record.destRect.top + int32_t (i) * height;
        const int32_t left = layout.lefts[i];
        graphics_.drawRun (*port, left, top + layout.font.ascent, std::string_view (text).substr (line.start, visibleLength (text, line)),
                           layout.font, srcOr, &limit);
        if (record.active == 0)
            continue;
        const size_t from = std::max (selStart, line.start);
        const size_t to = std::min (selEnd, line.start + line.length);
        if (selStart < selEnd && from < to)
        {
            const int32_t x = left + layout.font.width (from - line.start);
            graphics_.fill (*port, { x, top, x + layout.font.width (to - from), top + height }, srcXor, true, &limit);
        }
        if (selStart == selEnd && record.caretVisible != 0 && lineOf (layout, selStart) == i)
        {
            const size_t column = selStart - line.start;
            const int32_t x = left + layout.font.width (column) - (column > 0 ? 1 : 0);
            graphics_.fill (*port, { x, top, x + 1, top + height }, patCopy, true, &limit);
        }
    }
}

} // namespace kestrune::host::rtas
