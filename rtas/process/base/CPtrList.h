#pragma once
// A list of object pointers with 1-based access.

#include <cstdint>
#include <type_traits>
#include <vector>

#include "process/base/CDAEError.h"

template <class T>
class CPtrList
{
public:
    // A null pointer throws -7053 and leaves the list unchanged.
    void Add (T* item)
    {
        ThrowIfNull (item);
        fItems.push_back (item);
    }

    // Item n, 1-based; n outside 1..count throws -7300.
    T*& GetAt (int32_t n)
    {
        CheckIndex (n);
        return fItems[static_cast<size_t> (n - 1)];
    }

    T* GetAtValue (int32_t n) const
    {
        CheckIndex (n);
        return fItems[static_cast<size_t> (n - 1)];
    }

    bool IsValidIndex (int32_t n) const { return n >= 1 && n <= Count(); }
    int32_t Count() const { return static_cast<int32_t> (fItems.size()); }

    // Deletes every item through its virtual destructor, then empties the list.
    void DeleteAll()
    {
        static_assert (std::has_virtual_destructor_v<T>);
        for (T* item : fItems)
            delete item;
        fItems.clear();
        fItems.shrink_to_fit();
    }

private:
    void CheckIndex (int32_t n) const
    {
        if (! IsValidIndex (n))
            throw CDAEError (RTASError::kListIndexOutOfRange);
    }

    std::vector<T*> fItems;
};
