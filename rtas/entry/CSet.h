#pragma once
// An ordered set of object pointers: a list in insertion order with a map index for lookups.
// Every list of the plug-in object model is one.

#include <cstdint>
#include <map>
#include <memory>
#include <type_traits>

struct SSetNode
{
    void* element;
    SSetNode* next; // toward newer
    SSetNode* previous; // toward older
};

// The high-water mark of live sets, kept for diagnostics.
struct SCSetLimit
{
    const char* message;
    int32_t maximum;
};
extern SCSetLimit CSetLimit;

class CSetBase
{
public:
    CSetBase (const CSetBase&) = delete;
    CSetBase& operator= (const CSetBase&) = delete;

    int32_t GetCount() const { return fCount; }
    void Clear();
    SSetNode* FirstNode() const { return fFirst; }
    SSetNode* LastNode() const { return fLast; }

    // Number of sets alive in the library.
    static int32_t LiveCount();

protected:
    CSetBase();
    ~CSetBase();

    void AddElement (void* element);
    void RemoveElement (void* element);
    bool ContainsElement (void* element) const;
    void* ElementAt (int32_t n) const;
    void CopyElementsFrom (const CSetBase& other);

private:
    void AppendNode (void* element);

    SSetNode* fFirst = nullptr;
    SSetNode* fLast = nullptr;
    int32_t fCount = 0;
    std::unique_ptr<std::map<void*, SSetNode*>> fIndex;
};

template <class T>
class CSet : public CSetBase
{
public:
    CSet() = default;
    ~CSet() = default;

    // Nothing when the element is already there; else appended at the end.
    void Add (T* element) { AddElement (element); }
    void Remove (T* element) { RemoveElement (element); }
    bool Contains (T* element) const { return ContainsElement (element); }
    // 1-based; null for 0 and past the end.
    T* GetAt (int32_t n) const { return static_cast<T*> (ElementAt (n)); }
    // Clear, then every element of the other set in its order.
    void CopyFrom (const CSet& other) { CopyElementsFrom (other); }

    // Deletes every element, oldest first, and leaves the set empty. Each element leaves the set
    // before it is deleted, so a destructor that removes its object from the set (or others with
    // it) finds nothing freed to unlink, and no link of a freed node is followed.
    void DeleteAll()
    {
        while (SSetNode* node = FirstNode())
        {
            T* element = static_cast<T*> (node->element);
            RemoveElement (element);
            delete element;
        }
    }

    // Destroys every element through its virtual destructor, then clears the set.
    void DestroyAll()
    {
        static_assert (std::has_virtual_destructor_v<T>);
        DeleteAll();
    }

    class Iterator
    {
    public:
        explicit Iterator (const CSet& set) : fNode (set.FirstNode()) {}
        bool IsValid() const { return fNode != nullptr; }
        void Next()
        {
            if (fNode != nullptr)
                fNode = fNode->next;
        }
        T* Current() const { return fNode != nullptr ? static_cast<T*> (fNode->element) : nullptr; }

    private:
        SSetNode* fNode;
    };
};
