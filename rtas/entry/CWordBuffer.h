#pragma once
// A growable buffer of 32-bit words in which objects describe themselves to the host, and a
// reader for the other direction. Pointers travel as one word (32-bit library).

#include <cstdint>
#include <memory>
#include <vector>

#include "entry/CSet.h"

static_assert (sizeof (void*) == 4, "descriptions carry pointers as 32-bit words");

// A block of bytes that a word buffer writes into.
class CWordBlock
{
public:
    // Throws the container failure (-1) when the bytes cannot be allocated.
    explicit CWordBlock (int32_t size);

    uint8_t* Data() { return fData.get(); }
    const uint8_t* Data() const { return fData.get(); }
    int32_t Size() const { return fSize; }

private:
    std::unique_ptr<uint8_t[]> fData;
    int32_t fSize;
};

class CWordBuffer
{
public:
    CWordBuffer();

    void AppendWord (int32_t word);
    void AppendPointer (const void* pointer);
    // The count, then every element in order.
    template <class T>
    void AppendSet (const CSet<T>& set)
    {
        AppendWord (set.GetCount());
        for (typename CSet<T>::Iterator it (set); it.IsValid(); it.Next())
            AppendPointer (it.Current());
    }

    int32_t GetCount() const { return static_cast<int32_t> (fWords->size()); }
    const std::vector<int32_t>& Words() const { return *fWords; }

    // Appends zero words up to the next multiple of bytes / 4 words (a whole group when the
    // count already is a multiple); nothing for fewer than 4 bytes.
    void Pad (int32_t bytes);

    // Throws -1 when the block holds fewer than 4 x count bytes.
    void CopyTo (CWordBlock& block) const;
    // A new block of exactly the words, kept as the buffer's output block (the previous one is freed).
    CWordBlock& MakeBlock();

private:
    std::unique_ptr<std::vector<int32_t>> fWords;
    std::unique_ptr<CWordBlock> fOutputBlock;
};

// Reads words from a block; reading without a block or past its end throws -1.
class CWordBufferReader
{
public:
    explicit CWordBufferReader (const CWordBlock* block);

    void ReadWord (int32_t* word);
    void ReadPointer (void** pointer);

private:
    const uint8_t* fCurrent = nullptr;
    const uint8_t* fEnd = nullptr;
};
