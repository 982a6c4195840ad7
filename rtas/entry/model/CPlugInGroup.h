#pragma once
// The root of the objects that describe the plug-in to the engine's object tracker: the group's
// names and manufacturer, its plug-in types, and the value that the types read while they call
// their plug-ins.
//
// [host thread] for every operation.

#include <cstdint>
#include <functional>

#include "entry/CSet.h"
#include "entry/model/CNameList.h"
#include "entry/model/CPlugInType.h"

inline constexpr uint32_t kHostMakerCode = 0x484D6B72; // 'HMkr'
inline constexpr const char* kHostMakerName = "Host Maker Inc.";

class CPlugInGroup
{
public:
    // Registers with the tracker (kind 1); `defaultTypeWord` goes to the embedded default type.
    explicit CPlugInGroup (int32_t defaultTypeWord);
    CPlugInGroup (const CPlugInGroup&) = delete;
    CPlugInGroup& operator= (const CPlugInGroup&) = delete;

    // Unregisters first. The types are not the group's: it only forgets them.
    virtual ~CPlugInGroup();
    // FindType with the key in words 8 to 12 of the record (the default type for no record).
    virtual CPlugInType* FindTypeByID (const int32_t* record);
    // The first listed type whose spec starts with the key's first four words, else the default.
    virtual CPlugInType* FindType (const SPlugInSpec& key);
    virtual CPlugInType* GetDefaultType();
    virtual CPlugIn* ForwardToTypeByID (const int32_t* record, int32_t id);
    virtual CPlugIn* ForwardToType (const SPlugInSpec& key, int32_t id);
    virtual int32_t GetItemCount();
    // Item b's spec (1-based, else the default type's) into a; answers a.
    virtual SPlugInSpec* ApplyToItem (SPlugInSpec* a, int32_t b);
    virtual int32_t NotSupported();
    // Adds to the items every listed type whose Reserved2 answers the value.
    virtual void BroadcastToTypes (int32_t value);
    virtual bool Reserved1();
    virtual void Reserved2();
    virtual void SetCurrentValue (int32_t value);
    virtual void GetName (char* text, int32_t capacity);
    virtual void GetManufacturerName (char* text, int32_t capacity);
    virtual void Reserved3 (int32_t* first, int32_t* second);
    virtual void Reserved4 (int32_t first, int32_t* second);
    virtual int32_t Reserved5();
    // Stores the value as the current value and hands it to every plug-in of every type
    // (Reserved38); the first non-zero 16-bit answer, else 0.
    virtual int32_t SetAllPlugInsValue (int32_t value);
    // The same walk, calling Reserved39, Reserved40, Reserved41 and Reserved43.
    virtual int32_t ForAllPlugInsA (int32_t value);
    virtual int32_t ForAllPlugInsB (int32_t value);
    virtual int32_t ForAllPlugInsC (int32_t first, int32_t second);
    virtual int32_t ForAllPlugInsD (uint8_t flag);

    // Lists a type (not owned) / forgets it.
    void AddType (CPlugInType& type);
    void RemoveType (CPlugInType& type);
    int32_t GetCurrentValue() const { return fCurrentValue; }
    uint32_t GetManufacturerCode() const { return fManufacturerCode; }
    int32_t GetFlag() const { return fFlag; }
    CNameList& Names() { return fNames; }

private:
    int32_t ForAllPlugIns (const std::function<int32_t (CPlugIn&)>& call);

    CNameList fNames;
    uint32_t fManufacturerCode = kHostMakerCode;
    CNameList fManufacturerNames;
    int32_t fFlag = 1;
    CDefaultPlugInType fDefaultType;
    int32_t fCurrentValue = 0;
    CSet<CPlugInType> fTypes;
    CSet<CPlugInType> fItems;
};
