#pragma once
// A map from signed 32-bit keys to pointers.

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>

class CVoidPtrMap
{
public:
    CVoidPtrMap();

    void* Get (int32_t key) const;
    // Inserts or replaces.
    void Set (int32_t key, void* value);
    void Remove (int32_t key);

    // The map's address, then every entry in key order, as diagnostic text.
    void Dump (std::FILE* out) const;
    void Dump() const { Dump (stdout); }

private:
    std::unique_ptr<std::map<int32_t, void*>> fMap;
};

// The plug-in type's map of plug-ins by plug-in ID.
class CVoidPtrMapHolder
{
public:
    void* Get (int32_t key) const { return fMap.Get (key); }
    void Set (int32_t key, void* value) { fMap.Set (key, value); }
    // Forgets the key (the plug-in type's deletion of a plug-in); nothing when it is not there.
    void Remove (int32_t key) { fMap.Remove (key); }
    // A null value throws the container failure (-1) instead of being stored.
    void SetChecked (int32_t key, void* value);

private:
    CVoidPtrMap fMap;
};
