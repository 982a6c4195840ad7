#include "entry/model/CNameList.h"

#include <algorithm>
#include <cstring>

#include "entry/ContainerMemory.h"

CNameList::~CNameList()
{
    fNames.DeleteAll();
}

void CNameList::AddName (const char* name)
{
    auto entry = OrThrowContainerFailure ([&] { return MakeOrThrow<std::string> (name != nullptr ? name : ""); });
    fNames.Add (entry.get());
    entry.release();
}

void CNameList::CopyInto (char* text, int32_t capacity) const
{
    if (text == nullptr || capacity < 1)
        return;
    size_t length = 0;
    const size_t room = static_cast<size_t> (capacity) - 1;
    for (CSet<std::string>::Iterator it (fNames); it.IsValid() && length < room; it.Next())
    {
        const std::string& name = *it.Current();
        const size_t count = std::min (name.size(), room - length);
        std::memcpy (text + length, name.data(), count);
        length += count;
    }
    text[length] = 0;
}
