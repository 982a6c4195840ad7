#pragma once
// A list of names (a plug-in group's, type's or control's) that reads into the caller's
// fixed-length string.

#include <cstdint>
#include <string>

#include "entry/CSet.h"

class CNameList
{
public:
    CNameList() = default;
    ~CNameList();
    CNameList (const CNameList&) = delete;
    CNameList& operator= (const CNameList&) = delete;

    // Throws the container failure (-1) when memory runs out.
    void AddName (const char* name);
    int32_t GetCount() const { return fNames.GetCount(); }

    // Copies the names one after the other into `text` until it holds capacity - 1 characters,
    // and terminates it; nothing for a null text or a capacity below 1.
    void CopyInto (char* text, int32_t capacity) const;

private:
    CSet<std::string> fNames;
};
