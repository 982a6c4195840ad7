#include "views/description/CViewDescriptionReader.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PStrings.h"
#include "process/utilities/ScopedPlugInResFile.h"
#include "views/description/PlugInVersion.h"
#include "views/description/ViewRegistry.h"

namespace
{
bool IsSeparator (uint8_t c)
{
    return c == '\t' || c == '\n' || c == '\r' || c == ' ' || c == ',';
}

bool IsDigit (uint8_t c)
{
    return c >= '0' && c <= '9';
}

bool IsLetter (uint8_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue (uint8_t c)
{
    if (IsDigit (c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

uint8_t Escaped (uint8_t c)
{
    switch (c)
    {
        case '\'': return 39;
        case '\\': return 92;
        case 'a': return 7;
        case 'b': return 8;
        case 'f': return 12;
        case 'n': return 10;
        case 'r': return 13;
        case 't': return 9;
        case 'v': return 11;
        default: ThrowConditionFalse();
    }
}

bool FitsInt16 (int32_t value)
{
    return value >= INT16_MIN && value <= INT16_MAX;
}
} // namespace

CViewDescriptionReader::CViewDescriptionReader (const SDialogItem& item)
    : fItem (item), fCursor (item.text), fEnd (item.text != nullptr ? item.text + item.length : nullptr)
{
}

void CViewDescriptionReader::Read()
{
    fPoolUsed = 0;
    fHead = nullptr;
    fCursor = fItem.text;
    fHead = ReadList (0);
    ResolveQueries (fHead);
}

const SDescriptionNode* CViewDescriptionReader::TakeAttributeList()
{
    const SDescriptionNode* list = fNextAttributeList;
    ThrowIfNull (list);
    if (list->kind != kNodeList)
        ThrowConditionFalse();
    fNextAttributeList = list->next;
    return ListNodes (*list);
}

// ---- Tokens ----

// The top level (closing 0) ends at the end of the text; a nested list at its closing bracket.
SDescriptionNode* CViewDescriptionReader::ReadList (uint8_t closing)
{
    SList list;
    for (;;)
    {
        SkipSeparators();
        if (AtEnd() || (closing != 0 && *fCursor == closing))
            break;
        SDescriptionNode* node = ReadToken();
        if (node == nullptr)
            break;
        if (list.last != nullptr)
            list.last->next = node;
        else
            list.first = node;
        list.last = node;
    }
    SkipSeparators();
    if (closing == 0)
    {
        if (! AtEnd())
            ThrowConditionFalse();
    }
    else
    {
        if (AtEnd() || *fCursor != closing)
            ThrowConditionFalse();
        ++fCursor;
    }
    return list.first;
}

SDescriptionNode* CViewDescriptionReader::ReadToken()
{
    const uint8_t c = *fCursor;
    if (c == '!')
    {
        ++fCursor;
        return NewNode (kNodeMarker, 0);
    }
    if (c == '"')
        return ReadString();
    if (c == '\'')
        return ReadCharacterLiteral();
    if (c == '(' || c == '[')
    {
        SDescriptionNode* list = NewNode (kNodeList, 0);
        ++fCursor;
        list->value = PointerValue (ReadList (c == '(' ? ')' : ']'));
        return list;
    }
    if (c == '-' || c == '.' || IsDigit (c))
        return ReadNumber();
    if (IsLetter (c))
        return ReadWord();
    return nullptr;
}

size_t CViewDescriptionReader::ReadQuoted (uint8_t quote, uint8_t* kept, size_t keep)
{
    ++fCursor;
    size_t count = 0;
    for (;;)
    {
        if (AtEnd())
            ThrowConditionFalse();
        uint8_t c = *fCursor++;
        if (c == quote)
            return count;
        if (c == '\\')
        {
            if (AtEnd())
                ThrowConditionFalse();
            c = Escaped (*fCursor++);
        }
        if (count < keep)
            kept[count] = c;
        ++count;
    }
}

SDescriptionNode* CViewDescriptionReader::ReadString()
{
    uint8_t characters[kMaxTextLength];
    const size_t length = ReadQuoted ('"', characters, sizeof characters);
    SDescriptionNode* node = NewNode (kNodeString, 0);
    MakeStringNode (*node, characters, length);
    return node;
}

SDescriptionNode* CViewDescriptionReader::ReadCharacterLiteral()
{
    uint8_t characters[4] {};
    switch (ReadQuoted ('\'', characters, sizeof characters))
    {
        case 0: return NewNode (kNodeCharacter, 0);
        case 1: return NewNode (kNodeCharacter, characters[0]);
        case 4:
        {
            const uint32_t code = (uint32_t (characters[0]) << 24) | (uint32_t (characters[1]) << 16) | (uint32_t (characters[2]) << 8) | characters[3];
            return NewNode (kNodeFourCharCode, static_cast<int32_t> (code));
        }
        default: ThrowConditionFalse();
    }
}

// A number: an optional "-" (separators may follow), then "0x" and hexadecimal digits (at most
// 32 bits; none is 0), or decimal digits with at most one "." (real). Integers beyond 32 bits and
// reals beyond the float range are refused.
SDescriptionNode* CViewDescriptionReader::ReadNumber()
{
    const bool negative = *fCursor == '-';
    if (negative)
    {
        ++fCursor;
        SkipSeparators();
        if (AtEnd() || ! (IsDigit (*fCursor) || *fCursor == '.'))
            ThrowConditionFalse();
    }

    if (*fCursor == '0' && fEnd - fCursor >= 2 && fCursor[1] == 'x')
    {
        fCursor += 2;
        uint32_t value = 0;
        for (; ! AtEnd() && HexValue (*fCursor) >= 0; ++fCursor)
        {
            if (value > 0x0FFFFFFFu)
                ThrowConditionFalse();
            value = value * 16 + uint32_t (HexValue (*fCursor));
        }
        return NewNode (kNodeInteger, static_cast<int32_t> (negative ? 0u - value : value));
    }

    constexpr int64_t kLargestMagnitude = int64_t (1) << 31;
    int64_t integer = 0;
    double whole = 0.0;
    double fraction = 0.0;
    double weight = 0.1;
    bool real = false;
    for (; ! AtEnd(); ++fCursor)
    {
        const uint8_t c = *fCursor;
        if (c == '.' && ! real)
            real = true;
        else if (! IsDigit (c))
            break;
        else if (real)
        {
            fraction += (c - '0') * weight;
            weight /= 10.0;
        }
        else
        {
            whole = whole * 10.0 + (c - '0');
            integer = std::min (integer * 10 + (c - '0'), kLargestMagnitude + 1);
        }
    }

    if (real)
    {
        const double value = (negative ? -1.0 : 1.0) * (whole + fraction);
        if (! std::isfinite (value) || std::fabs (value) > double (FLT_MAX))
            ThrowConditionFalse();
        return NewNode (kNodeReal, std::bit_cast<int32_t> (static_cast<float> (value)));
    }
    if (integer > (negative ? kLargestMagnitude : kLargestMagnitude - 1))
        ThrowConditionFalse();
    return NewNode (kNodeInteger, static_cast<int32_t> (negative ? -integer : integer));
}

// A registered name, the whole word; an unknown one (also a word longer than a length-prefixed
// name can be) ends the list, the cursor after it.
SDescriptionNode* CViewDescriptionReader::ReadWord()
{
    const uint8_t* start = fCursor;
    while (! AtEnd() && (IsLetter (*fCursor) || IsDigit (*fCursor)))
        ++fCursor;
    const ptrdiff_t length = fCursor - start;
    if (length > kPStrMaxLength)
        return nullptr;
    uint8_t name[kPStrMaxLength + 1];
    name[0] = static_cast<uint8_t> (length);
    std::memcpy (name + 1, start, name[0]);
    SDescriptionNode found {};
    if (! LookupViewKeyword (name, &found))
        return nullptr;
    return NewNode (found.kind, found.value);
}

void CViewDescriptionReader::SkipSeparators()
{
    while (! AtEnd() && IsSeparator (*fCursor))
        ++fCursor;
}

// ---- Text queries ----

void CViewDescriptionReader::ResolveQueries (SDescriptionNode* first)
{
    for (SDescriptionNode* node = first; node != nullptr; node = node->next)
    {
        if (node->kind == kNodeList)
            ResolveQueries (ListNodes (*node));
        else if (node->kind == kNodeTextQuery)
            ResolveQuery (*node);
    }
}

void CViewDescriptionReader::ResolveQuery (SDescriptionNode& query)
{
    switch (query.value)
    {
        case TextQuery::kGetString:
            ResolveStringQuery (query);
            break;
        case TextQuery::kShortVersion:
        case TextQuery::kLongVersion:
        {
            const std::string version = PlugInVersionText();
            MakeStringNode (query, reinterpret_cast<const uint8_t*> (version.data()), version.size());
            break;
        }
        default: ThrowConditionFalse();
    }
}

// Reads from another text for the length of the scope.
class CViewDescriptionReader::ScopedText
{
public:
    ScopedText (CViewDescriptionReader& reader, const uint8_t* text, size_t length)
        : fReader (reader), fCursor (reader.fCursor), fEnd (reader.fEnd)
    {
        fReader.fCursor = text;
        fReader.fEnd = text + length;
    }
    ~ScopedText()
    {
        fReader.fCursor = fCursor;
        fReader.fEnd = fEnd;
    }
    ScopedText (const ScopedText&) = delete;
    ScopedText& operator= (const ScopedText&) = delete;

private:
    CViewDescriptionReader& fReader;
    const uint8_t* fCursor;
    const uint8_t* fEnd;
};

// "getString" (string-list id, index): the string, read back as a double-quoted string token
// (a backslash in it is an escape, a double quote ends it), replaces the query and its list.
void CViewDescriptionReader::ResolveStringQuery (SDescriptionNode& query)
{
    const SDescriptionNode* list = query.next;
    if (list == nullptr || list->kind != kNodeList)
        ThrowConditionFalse();
    const SDescriptionNode* id = ListNodes (*list);
    const SDescriptionNode* index = id != nullptr ? id->next : nullptr;
    if (index == nullptr || index->next != nullptr || id->kind != kNodeInteger || index->kind != kNodeInteger
        || ! FitsInt16 (id->value) || ! FitsInt16 (index->value))
        ThrowConditionFalse();

    uint8_t text[kMaxTextLength + 1] {};
    {
        ScopedPlugInResFile plugInFile;
        if (! plugInFile.IsOpen())
            ThrowConditionFalse();
        HostToolbox().GetIndString (text, static_cast<int16_t> (id->value), static_cast<int16_t> (index->value));
    }
    const size_t length = text[0];
    if (length + 2 >= 256)
        ThrowConditionFalse();

    uint8_t quoted[kMaxTextLength + 1];
    quoted[0] = '"';
    std::memcpy (quoted + 1, text + 1, length);
    quoted[length + 1] = '"';
    uint8_t characters[kMaxTextLength];
    size_t read = 0;
    {
        ScopedText readBack (*this, quoted, length + 2);
        read = ReadQuoted ('"', characters, sizeof characters);
    }

    query.next = list->next;
    MakeStringNode (query, characters, read);
}

void CViewDescriptionReader::MakeStringNode (SDescriptionNode& node, const uint8_t* characters, size_t length)
{
    node.kind = kNodeString;
    node.value = PointerValue (NewText (characters, std::min<size_t> (length, kMaxTextLength)));
}

// ---- The pool ----

SDescriptionNode* CViewDescriptionReader::NewNode (int16_t kind, int32_t value)
{
    auto* node = static_cast<SDescriptionNode*> (Allocate (sizeof (SDescriptionNode), 2));
    node->next = nullptr;
    node->kind = kind;
    node->value = value;
    return node;
}

uint8_t* CViewDescriptionReader::NewText (const uint8_t* characters, size_t length)
{
    auto* text = static_cast<uint8_t*> (Allocate (length + 1, 1));
    text[0] = static_cast<uint8_t> (length);
    std::memcpy (text + 1, characters, length);
    return text;
}

void* CViewDescriptionReader::Allocate (size_t size, size_t alignment)
{
    const size_t start = (fPoolUsed + alignment - 1) & ~(alignment - 1);
    if (start > kPoolSize || kPoolSize - start < size)
        throw CDAEError (RTASError::kNullPointer);
    fPoolUsed = start + size;
    return fPool + start;
}
