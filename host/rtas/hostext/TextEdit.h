#pragma once
// The stand-in toolbox's text editing: a TERecord in a block of the heap with its text in
// another block, edited by keys, clicks (following the mouse while the button is down) and
// calls, and drawn into the port it was made in with the font that port had then.

#include "Graphics.h"
#include "HandleHeap.h"
#include "MouseScript.h"

#include <functional>
#include <string>

namespace kestrune::host::rtas
{

class TextEdit
{
public:
    // `ticks` reads the toolbox clock in ticks; the caret blinks every kCaretTicks.
    TextEdit (HandleHeap& heap, Graphics& graphics, MouseScript& mouse, std::function<uint32_t()> ticks)
        : heap_ (heap), graphics_ (graphics), mouse_ (mouse), ticks_ (std::move (ticks))
    {
    }

    static constexpr uint32_t kCaretTicks = 30;

    // In the current port (none: null), or null when the heap has no room.
    TEHandle create (const Rect& destination, const Rect& view);

    // Each of these ignores (and records) a record it does not know.
    void dispose (TEHandle edit);
    void setText (TEHandle edit, const char* text, int32_t length);
    // Replaces the selection with the text; the caret goes after it.
    void insert (TEHandle edit, const char* text, int32_t length);
    void select (TEHandle edit, int32_t start, int32_t end);
    void update (TEHandle edit, const Rect* area);
    void setActive (TEHandle edit, bool active);
    void idle (TEHandle edit);
    // Backspace (8) and forward delete (127) delete the selection or one character; the arrows
    // (28-31) move the caret; any other character replaces the selection.
    void key (TEHandle edit, unsigned char character);
    void click (TEHandle edit, Point where, bool extend);
    Handle text (TEHandle edit);
    int16_t length (TEHandle edit);
    void setAlignment (TEHandle edit, int16_t just);

    bool owns (Handle block) const;
    size_t count() const { return edits_.size(); }
    void clear() { edits_.clear(); }

private:
    bool known (TEHandle edit);
    std::string contents (const TERecord& record) const;
    // Stores new text and selection; false (nothing changed) when the text's block is locked
    // and cannot grow.
    bool store (TEHandle edit, const std::string& text, size_t selStart, size_t selEnd);
    void replaceSelection (TEHandle edit, const std::string& replacement);
    void moveCaret (TEHandle edit, unsigned char arrow);
    size_t offsetAt (const TERecord& record, Point where) const;
    void redraw (TEHandle edit);

    HandleHeap& heap_;
    Graphics& graphics_;
    MouseScript& mouse_;
    std::function<uint32_t()> ticks_;
    std::vector<TEHandle> edits_;
};

} // namespace kestrune::host::rtas
