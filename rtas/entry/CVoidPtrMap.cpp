#include "entry/CVoidPtrMap.h"

#include "entry/ContainerMemory.h"
#include "process/base/PointerWords.h"

namespace
{
unsigned AsWord (const void* pointer)
{
    return static_cast<unsigned> (WordOfPointer (pointer));
}
}

CVoidPtrMap::CVoidPtrMap() : fMap (MakeOrThrow<std::map<int32_t, void*>>()) {}

void* CVoidPtrMap::Get (int32_t key) const
{
    const auto found = fMap->find (key);
    return found != fMap->end() ? found->second : nullptr;
}

void CVoidPtrMap::Set (int32_t key, void* value)
{
    OrThrowContainerFailure ([&] { (*fMap)[key] = value; });
}

void CVoidPtrMap::Remove (int32_t key)
{
    fMap->erase (key);
}

void CVoidPtrMap::Dump (std::FILE* out) const
{
    std::fprintf (out, "Dumping CVoidPtrMap  0x%08X\n", AsWord (this));
    for (const auto& [key, value] : *fMap)
        std::fprintf (out, " item:  key: %d (0x%x)  value: %d (0x%x)\n",
                      static_cast<int> (key), static_cast<unsigned> (key),
                      static_cast<int> (AsWord (value)), AsWord (value));
}

void CVoidPtrMapHolder::SetChecked (int32_t key, void* value)
{
    if (value == nullptr)
        ThrowContainerFailure();
    Set (key, value);
}
