#pragma once
// A view that shows a text, justified left, right, centred or by default, in a small fixed font.
// A frame at least one line high gets the host's word-wrapped text box; a lower one shows single
// lines, each cut at its line break and shortened to the width.
//
// The text can be edited in place through a host text-edit record, made by BeginEditing and
// committed by EndEditing; while it exists, keys, clicks, idle passes and activation go to it,
// and Command-V style pastes (V with the key of code 58 down) insert the clipboard's text.
//
// [window thread] for every operation.

#include <cstdint>
#include <string_view>

#include "views/custom/CCustomView.h"

inline constexpr int kStaticTextLength = 255;
// An edit commits at most this many characters.
inline constexpr int kCommittedTextLength = 254;
// The key whose key-map bit turns V into a paste.
inline constexpr int kPasteModifierKeyCode = 58;

class CStaticTextView : public CCustomView
{
public:
    CStaticTextView() = default;
    // Disposes of the text-edit record.
    ~CStaticTextView() override;

    // The text's font number, size and style.
    virtual int16_t GetTextFont() const;
    virtual int16_t GetTextSize() const;
    virtual int16_t GetTextStyle() const;
    // Draws the text inside the frame inset by 3, with the view's colours and font, in text mode
    // srcOr; the port's settings are restored.
    virtual void DrawTextArea();
    // Draws `length` characters in the box with the justification (teFlushLeft, teFlushRight,
    // teFlushDefault or teCenter) in the current port.
    virtual void DrawJustifiedText (const uint8_t* text, int32_t length, const Rect& box, int16_t justification);
    // Where the text-edit record goes: the visible rectangle inset by 3 at the top, 1 at the left
    // and 3 at the bottom and right, centred on an 11-pixel line when higher, raised by 2.
    virtual Rect GetEditRect() const;
    // The clipboard's text as a length-prefixed string (`text` holds 256 bytes); empty when the
    // clipboard has none.
    virtual void GetClipboardText (uint8_t* text) const;

    void DrawContents (const Rect& area) override;
    RGBColor GetForeColor() const override;
    bool CanTakeFocus() const override;
    void HandleKey (int16_t character, bool& handled) override;
    // Commits the edited text (at most 254 characters) and disposes of the record.
    void EndEditing (bool accept) override;
    // Makes the record over GetEditRect with the text, all of it selected, and highlights the
    // view. Throws CDAEError -7053 when the host makes no record.
    void BeginEditing() override;
    void TrackMouse (const EventRecord& event, bool immediate) override;
    void Idle (int32_t value) override;
    void Deactivate() override;
    void Activate() override;
    // Without a window no edit goes on.
    void SetWindow (WindowRef window) override;
    // After the custom view's list, one list of strings (the text, cut at 255) and the keywords
    // "left", "right", "center" and "default"; anything else throws CDAEError -7400.
    void ReadDescription (CViewDescriptionReader& reader) override;

    // The text as a length-prefixed string, cut at 255 characters.
    void SetText (const uint8_t* text);
    void SetText (std::string_view text);
    std::string_view GetText() const { return { reinterpret_cast<const char*> (fText + 1), fText[0] }; }
    void SetJustification (int16_t justification) { fJustification = justification; }
    int16_t GetJustification() const { return fJustification; }
    bool IsEditing() const { return fEdit != nullptr; }
    TEHandle GetEditRecord() const { return fEdit; }

private:
    class ScopedEditDrawing;

    void DisposeEdit();
    void Paste();
    std::string_view EditedText() const;

    int16_t fEditDirty = 0;
    TEHandle fEdit = nullptr;
    uint8_t fText[kStaticTextLength + 1] {};
    int16_t fJustification = teFlushDefault;
    // The colours the record draws with, taken when the edit begins.
    RGBColor fEditForeColor {};
    RGBColor fEditBackColor {};
};
