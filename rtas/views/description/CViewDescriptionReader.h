#pragma once
// Reads the view description that a dialog item may carry in its text, for instance
//     ! Button ( ('Btn1' plate 2) ("OK" 0 1 0) )
// into a tree of nodes taken from a pool of 4096 bytes, and resolves its text queries.
//
// Tokens are separated by runs of tab, line feed, carriage return, space and comma:
// "!" a marker; "..." a string and '...' a character literal (escapes \' \\ \a \b \f \n \r \t \v;
// a literal holds 0, 1 or 4 characters, 4 making a four-character code); ( ) and [ ] a nested
// list; "-", "." or a digit a number ("0x" hexadecimal, a "." makes it real); a word of letters
// and digits a registered name, matched whole (an unknown word ends its list, which is then
// accepted only when its closing bracket follows). Texts are cut at 255 characters.
//
// Reading never goes past the item's text. Errors are thrown as CDAEError: -7400 for text that is
// not a description (a bad token, escape, literal, number, list or query), -7053 when the pool
// runs out (which also bounds how deep lists nest: each list takes a node of the pool).
//
// [window thread] for every operation.

#include <cstddef>
#include <cstdint>

#include "views/base/DialogItem.h"
#include "views/description/DescriptionNode.h"

class CViewDescriptionReader
{
public:
    static constexpr size_t kPoolSize = 4096;
    static constexpr int kMaxTextLength = 255;

    // The item (and its text) must outlive the reader.
    explicit CViewDescriptionReader (const SDialogItem& item);
    CViewDescriptionReader (const CViewDescriptionReader&) = delete;
    CViewDescriptionReader& operator= (const CViewDescriptionReader&) = delete;

    // Reads the whole text as one list and resolves its queries: "getString" followed by a list
    // of a string-list id and an index becomes that string of the plug-in's resource file;
    // "shortVersion" and "longVersion" become the plug-in's version text.
    void Read();
    // The first node of what was read; null for an empty text.
    const SDescriptionNode* GetHead() const { return fHead; }
    const SDialogItem& GetItem() const { return fItem; }

    // The attribute lists of a described view: each level of the view's class hierarchy takes
    // the next one. `first` is the list node of the first attribute list.
    void SetAttributeLists (const SDescriptionNode* first) { fNextAttributeList = first; }
    // The nodes of the current attribute list (null when it is empty); the reader moves on to
    // the next list. Throws -7053 when no list is left and -7400 when the node is not a list.
    const SDescriptionNode* TakeAttributeList();
    // Whether an attribute list is left to take.
    bool HasAttributeList() const { return fNextAttributeList != nullptr; }

private:
    class ScopedText;

    struct SList
    {
        SDescriptionNode* first = nullptr;
        SDescriptionNode* last = nullptr;
    };

    SDescriptionNode* ReadList (uint8_t closing);
    // The next token's node; null when the token ends the list.
    SDescriptionNode* ReadToken();
    SDescriptionNode* ReadString();
    SDescriptionNode* ReadCharacterLiteral();
    SDescriptionNode* ReadNumber();
    SDescriptionNode* ReadWord();
    // The characters up to the closing quote, with escapes; the text is cut at `keep`
    // characters but read to its end. Returns the number of characters read.
    size_t ReadQuoted (uint8_t quote, uint8_t* kept, size_t keep);
    void SkipSeparators();
    bool AtEnd() const { return fCursor >= fEnd; }

    void ResolveQueries (SDescriptionNode* first);
    void ResolveQuery (SDescriptionNode& query);
    void ResolveStringQuery (SDescriptionNode& query);
    void MakeStringNode (SDescriptionNode& node, const uint8_t* characters, size_t length);

    SDescriptionNode* NewNode (int16_t kind, int32_t value);
    uint8_t* NewText (const uint8_t* characters, size_t length);
    void* Allocate (size_t size, size_t alignment);

    const SDialogItem& fItem;
    SDescriptionNode* fHead = nullptr;
    const uint8_t* fCursor;
    const uint8_t* fEnd;
    alignas (4) uint8_t fPool[kPoolSize];
    size_t fPoolUsed = 0;
    const SDescriptionNode* fNextAttributeList = nullptr;
};
