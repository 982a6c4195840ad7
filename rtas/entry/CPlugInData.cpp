#include "entry/CPlugInData.h"

#include <cstring>
#include <new>

#include "entry/CWordBuffer.h"
#include "entry/ObjectTracker.h"

namespace
{
[[noreturn]] void ThrowSmart (int16_t code)
{
    throw code;
}
}

CPlugInData::CPlugInData()
{
    TrackerRegister (this, ETrackedKind::kPlugInData);
}

CPlugInData::~CPlugInData()
{
    TrackerUnregister (this);
}

uint8_t* CPlugInData::WorkingBlock()
{
    const int32_t size = DeclaredSize();
    if (size <= 0)
        ThrowSmart (kSmartNoDeclaredField);
    if (fWorkingSize < size)
    {
        std::unique_ptr<uint8_t[]> grown (new (std::nothrow) uint8_t[static_cast<size_t> (size)]);
        if (grown == nullptr)
            ThrowSmart (kSmartOutOfMemory);
        std::memset (grown.get(), 0, static_cast<size_t> (size));
        if (fWorkingBlock != nullptr)
            std::memcpy (grown.get(), fWorkingBlock.get(), static_cast<size_t> (fWorkingSize));
        fWorkingBlock = std::move (grown);
        fWorkingSize = size;
    }
    return fWorkingBlock.get();
}

// A field belongs to this structure and lies wholly inside its declared layout.
void CPlugInData::CheckField (const CSmartStructure& owner, int32_t offset, int32_t width) const
{
    if (&owner != this || offset < 0 || static_cast<int64_t> (offset) + width > DeclaredSize())
        ThrowSmart (kSmartNoDeclaredField);
}

template <class T>
T CPlugInData::Read (const TSmartField<T>& field)
{
    uint8_t* working = WorkingBlock();
    CheckField (field.Owner(), field.Offset(), sizeof (T));
    T value;
    if (fPublishedBlock != nullptr)
    {
        std::memcpy (&value, static_cast<uint8_t*> (fPublishedBlock) + field.Offset(), sizeof (T));
        std::memcpy (working + field.Offset(), &value, sizeof (T));
    }
    else
    {
        std::memcpy (&value, working + field.Offset(), sizeof (T));
    }
    return value;
}

template <class T>
void CPlugInData::Write (const TSmartField<T>& field, T value)
{
    uint8_t* working = WorkingBlock();
    CheckField (field.Owner(), field.Offset(), sizeof (T));
    if (fPublishedBlock != nullptr)
        std::memcpy (static_cast<uint8_t*> (fPublishedBlock) + field.Offset(), &value, sizeof (T));
    std::memcpy (working + field.Offset(), &value, sizeof (T));
}

double CPlugInData::GetDouble (const CSmartDouble& field) { return Read (field); }
float CPlugInData::GetFloat (const CSmartFloat& field) { return Read (field); }
int32_t CPlugInData::GetLong (const CSmartLong& field) { return Read (field); }
void* CPlugInData::GetRecord (const CSmartRecord& field) { return Read (field); }
void CPlugInData::SetDouble (const CSmartDouble& field, double value) { Write (field, value); }
void CPlugInData::SetFloat (const CSmartFloat& field, float value) { Write (field, value); }
void CPlugInData::SetLong (const CSmartLong& field, int32_t value) { Write (field, value); }
void CPlugInData::SetRecord (const CSmartRecord& field, void* value) { Write (field, value); }

void CPlugInData::PublishLocked()
{
    CWordBuffer description;
    description.AppendWord (1);
    description.AppendWord (GetKind());
    description.AppendWord (DeclaredSize());
    description.AppendPointer (&fPublishedBlock);
    void* const before = fPublishedBlock;
    TrackerPublish (this, description);
    if (fPublishedBlock != before)
        Publish();
}

void CPlugInData::Publish()
{
    if (fPublishedBlock != nullptr && fWorkingBlock != nullptr)
        std::memcpy (fPublishedBlock, fWorkingBlock.get(), static_cast<size_t> (fWorkingSize));
}
