#pragma once
// A smart structure shared with the host engine: a private working block and, once the host has
// supplied one through publishing, a published block that the host's real-time callbacks read.
// Writes go to both blocks; reads prefer the published block and refresh the working copy.

#include <cstdint>
#include <memory>

#include "entry/CSmartStructure.h"

// Thrown as 16-bit integers.
inline constexpr int16_t kSmartNoDeclaredField = -9060; // nothing declared, or a field outside the layout
inline constexpr int16_t kSmartOutOfMemory = -9006;

class CPlugInData : public CSmartStructure
{
public:
    // [host thread] Registers with the object tracker.
    CPlugInData();
    // [host thread] Unregisters first.
    ~CPlugInData() override;

    double GetDouble (const CSmartDouble& field) override;
    float GetFloat (const CSmartFloat& field) override;
    int32_t GetLong (const CSmartLong& field) override;
    void* GetRecord (const CSmartRecord& field) override;
    void SetDouble (const CSmartDouble& field, double value) override;
    void SetFloat (const CSmartFloat& field, float value) override;
    void SetLong (const CSmartLong& field, int32_t value) override;
    void SetRecord (const CSmartRecord& field, void* value) override;

    virtual int32_t GetKind() const { return 0; }
    // [host thread] Publishes {1, kind, declared size, address of the published-block pointer};
    // when the host stored a block there, that block receives the current values.
    virtual void PublishLocked();
    // Copies the working block into the published block when both exist.
    virtual void Publish();

    void* PublishedBlock() const { return fPublishedBlock; }

private:
    template <class T>
    T Read (const TSmartField<T>& field);
    template <class T>
    void Write (const TSmartField<T>& field, T value);
    // The working block at the declared size, allocated (or grown) on access.
    uint8_t* WorkingBlock();
    void CheckField (const CSmartStructure& owner, int32_t offset, int32_t width) const;

    void* fPublishedBlock = nullptr;
    std::unique_ptr<uint8_t[]> fWorkingBlock;
    int32_t fWorkingSize = 0;
};
