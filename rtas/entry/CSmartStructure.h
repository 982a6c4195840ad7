#pragma once
// Records whose layout is declared at run time, field by field, so that the same bytes can be
// shared with the host engine. Offsets are packed without alignment, in declaration order.

#include <cstdint>
#include <type_traits>

class CSmartStructure;

// A field member of a structure: declared with its structure, after the structure's base.
template <class T>
class TSmartField
{
public:
    explicit TSmartField (CSmartStructure& owner);
    TSmartField (const TSmartField&) = delete;
    TSmartField& operator= (const TSmartField&) = delete;

    int32_t Offset() const { return fOffset; }
    CSmartStructure& Owner() const { return fOwner; }

    T Get() const;
    void Set (T value) const;

private:
    int32_t fOffset = 0;
    CSmartStructure& fOwner;
};

using CSmartChar = TSmartField<char>;
using CSmartDouble = TSmartField<double>;
using CSmartFloat = TSmartField<float>;
using CSmartLong = TSmartField<int32_t>;
using CSmartRecord = TSmartField<void*>;

static_assert (sizeof (void*) == 4, "a record field is one 32-bit pointer");

class CSmartStructure
{
public:
    CSmartStructure() = default;
    CSmartStructure (const CSmartStructure&) = delete;
    CSmartStructure& operator= (const CSmartStructure&) = delete;
    virtual ~CSmartStructure() = default;

    // Declaring: the offset is the size so far; the size grows by the field's width.
    virtual void AddChar (int32_t* offset) { Declare (offset, 1); }
    virtual void AddDouble (int32_t* offset) { Declare (offset, 8); }
    virtual void AddFloat (int32_t* offset) { Declare (offset, 4); }
    virtual void AddLong (int32_t* offset) { Declare (offset, 4); }
    virtual void AddRecord (int32_t* offset) { Declare (offset, 4); }

    // A plain structure keeps no bytes: reads give zero, writes do nothing.
    virtual char GetChar (const CSmartChar&) { return 0; }
    virtual double GetDouble (const CSmartDouble&) { return 0.0; }
    virtual float GetFloat (const CSmartFloat&) { return 0.0f; }
    virtual int32_t GetLong (const CSmartLong&) { return 0; }
    virtual void* GetRecord (const CSmartRecord&) { return nullptr; }
    virtual void SetChar (const CSmartChar&, char) {}
    virtual void SetDouble (const CSmartDouble&, double) {}
    virtual void SetFloat (const CSmartFloat&, float) {}
    virtual void SetLong (const CSmartLong&, int32_t) {}
    virtual void SetRecord (const CSmartRecord&, void*) {}

    int32_t DeclaredSize() const { return fDeclaredSize; }

private:
    void Declare (int32_t* offset, int32_t width)
    {
        *offset = fDeclaredSize;
        fDeclaredSize += width;
    }

    int32_t fDeclaredSize = 0;
};

template <class T>
TSmartField<T>::TSmartField (CSmartStructure& owner) : fOwner (owner)
{
    if constexpr (std::is_same_v<T, char>)
        owner.AddChar (&fOffset);
    else if constexpr (std::is_same_v<T, double>)
        owner.AddDouble (&fOffset);
    else if constexpr (std::is_same_v<T, float>)
        owner.AddFloat (&fOffset);
    else if constexpr (std::is_same_v<T, int32_t>)
        owner.AddLong (&fOffset);
    else
        owner.AddRecord (&fOffset);
}

template <class T>
T TSmartField<T>::Get() const
{
    if constexpr (std::is_same_v<T, char>)
        return fOwner.GetChar (*this);
    else if constexpr (std::is_same_v<T, double>)
        return fOwner.GetDouble (*this);
    else if constexpr (std::is_same_v<T, float>)
        return fOwner.GetFloat (*this);
    else if constexpr (std::is_same_v<T, int32_t>)
        return fOwner.GetLong (*this);
    else
        return fOwner.GetRecord (*this);
}

template <class T>
void TSmartField<T>::Set (T value) const
{
    if constexpr (std::is_same_v<T, char>)
        fOwner.SetChar (*this, value);
    else if constexpr (std::is_same_v<T, double>)
        fOwner.SetDouble (*this, value);
    else if constexpr (std::is_same_v<T, float>)
        fOwner.SetFloat (*this, value);
    else if constexpr (std::is_same_v<T, int32_t>)
        fOwner.SetLong (*this, value);
    else
        fOwner.SetRecord (*this, value);
}
