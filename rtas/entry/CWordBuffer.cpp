#include "entry/CWordBuffer.h"

#include <cstring>

#include "entry/ContainerMemory.h"
#include "process/base/PointerWords.h"

CWordBlock::CWordBlock (int32_t size) : fSize (size < 0 ? 0 : size)
{
    fData.reset (new (std::nothrow) uint8_t[static_cast<size_t> (fSize)]);
    if (fData == nullptr)
        ThrowContainerFailure();
}

CWordBuffer::CWordBuffer() : fWords (MakeOrThrow<std::vector<int32_t>>()) {}

void CWordBuffer::AppendWord (int32_t word)
{
    OrThrowContainerFailure ([&] { fWords->push_back (word); });
}

void CWordBuffer::AppendPointer (const void* pointer)
{
    AppendWord (WordOfPointer (pointer));
}

void CWordBuffer::Pad (int32_t bytes)
{
    const int32_t group = bytes / 4;
    if (group <= 0)
        return;
    const int32_t missing = group - GetCount() % group;
    for (int32_t i = 0; i < missing; ++i)
        AppendWord (0);
}

void CWordBuffer::CopyTo (CWordBlock& block) const
{
    const int64_t bytes = static_cast<int64_t> (GetCount()) * 4;
    if (block.Size() < bytes)
        ThrowContainerFailure();
    if (bytes > 0)
        std::memcpy (block.Data(), fWords->data(), static_cast<size_t> (bytes));
}

CWordBlock& CWordBuffer::MakeBlock()
{
    fOutputBlock.reset();
    auto block = MakeOrThrow<CWordBlock> (GetCount() * 4);
    CopyTo (*block);
    fOutputBlock = std::move (block);
    return *fOutputBlock;
}

CWordBufferReader::CWordBufferReader (const CWordBlock* block)
{
    if (block == nullptr)
        return;
    const int32_t wordCount = block->Size() / 4;
    fCurrent = block->Data();
    fEnd = fCurrent + static_cast<size_t> (wordCount) * 4;
}

void CWordBufferReader::ReadWord (int32_t* word)
{
    if (fCurrent == nullptr || fEnd - fCurrent < 4)
        ThrowContainerFailure();
    std::memcpy (word, fCurrent, 4);
    fCurrent += 4;
}

void CWordBufferReader::ReadPointer (void** pointer)
{
    int32_t word = 0;
    ReadWord (&word);
    *pointer = PointerOfWord<void> (word);
}
