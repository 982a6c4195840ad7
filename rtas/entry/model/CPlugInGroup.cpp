#include "entry/model/CPlugInGroup.h"

#include "entry/ObjectTracker.h"
#include "entry/model/ObjectModelResults.h"

namespace
{
constexpr int32_t kTypeKeyFirstWord = 8;
}

CPlugInGroup::CPlugInGroup (int32_t defaultTypeWord) : fDefaultType (*this, defaultTypeWord)
{
    fManufacturerNames.AddName (kHostMakerName);
    TrackerRegister (this, ETrackedKind::kPlugInGroup);
}

CPlugInGroup::~CPlugInGroup()
{
    TrackerUnregister (this);
}

CPlugInType* CPlugInGroup::FindTypeByID (const int32_t* record)
{
    if (record == nullptr)
        return GetDefaultType();
    SPlugInSpec key;
    for (size_t word = 0; word < key.fWords.size(); ++word)
        key.fWords[word] = record[kTypeKeyFirstWord + static_cast<int32_t> (word)];
    return FindType (key);
}

CPlugInType* CPlugInGroup::FindType (const SPlugInSpec& key)
{
    for (CSet<CPlugInType>::Iterator type (fTypes); type.IsValid(); type.Next())
    {
        SPlugInSpec spec;
        type.Current()->GetSpec (&spec);
        if (spec.MatchesKey (key))
            return type.Current();
    }
    return GetDefaultType();
}

CPlugInType* CPlugInGroup::GetDefaultType() { return &fDefaultType; }

CPlugIn* CPlugInGroup::ForwardToTypeByID (const int32_t* record, int32_t id)
{
    return FindTypeByID (record)->GetPlugIn (id);
}

CPlugIn* CPlugInGroup::ForwardToType (const SPlugInSpec& key, int32_t id)
{
    return FindType (key)->GetPlugIn (id);
}

int32_t CPlugInGroup::GetItemCount() { return fItems.GetCount(); }

SPlugInSpec* CPlugInGroup::ApplyToItem (SPlugInSpec* a, int32_t b)
{
    CPlugInType* item = fItems.GetAt (b);
    (item != nullptr ? item : GetDefaultType())->GetSpec (a);
    return a;
}

int32_t CPlugInGroup::NotSupported() { return ObjectModelResult::kNotSupported; }

void CPlugInGroup::BroadcastToTypes (int32_t value)
{
    for (CSet<CPlugInType>::Iterator type (fTypes); type.IsValid(); type.Next())
        if (type.Current()->Reserved2() == value)
            fItems.Add (type.Current());
}

bool CPlugInGroup::Reserved1() { return false; }
void CPlugInGroup::Reserved2() {}
void CPlugInGroup::SetCurrentValue (int32_t value) { fCurrentValue = value; }

void CPlugInGroup::GetName (char* text, int32_t capacity)
{
    fNames.CopyInto (text, capacity);
}

void CPlugInGroup::GetManufacturerName (char* text, int32_t capacity)
{
    fManufacturerNames.CopyInto (text, capacity);
}

void CPlugInGroup::Reserved3 (int32_t* first, int32_t* second)
{
    PutOut (first, 0);
    PutOut (second, 0);
}

void CPlugInGroup::Reserved4 (int32_t, int32_t* second) { PutOut (second, 0); }
int32_t CPlugInGroup::Reserved5() { return 0; }

int32_t CPlugInGroup::ForAllPlugIns (const std::function<int32_t (CPlugIn&)>& call)
{
    int16_t first = 0;
    for (CSet<CPlugInType>::Iterator type (fTypes); type.IsValid(); type.Next())
        for (CSet<CPlugIn>::Iterator plugIn (type.Current()->GetPlugIns()); plugIn.IsValid(); plugIn.Next())
        {
            const auto result = static_cast<int16_t> (call (*plugIn.Current()));
            if (first == 0)
                first = result;
        }
    return first;
}

int32_t CPlugInGroup::SetAllPlugInsValue (int32_t value)
{
    fCurrentValue = value;
    return ForAllPlugIns ([value] (CPlugIn& plugIn) { return plugIn.Reserved38 (value); });
}

int32_t CPlugInGroup::ForAllPlugInsA (int32_t value)
{
    return ForAllPlugIns ([value] (CPlugIn& plugIn) { return plugIn.Reserved39 (value); });
}

int32_t CPlugInGroup::ForAllPlugInsB (int32_t value)
{
    return ForAllPlugIns ([value] (CPlugIn& plugIn) { return plugIn.Reserved40 (value); });
}

int32_t CPlugInGroup::ForAllPlugInsC (int32_t first, int32_t second)
{
    return ForAllPlugIns ([first, second] (CPlugIn& plugIn) { return plugIn.Reserved41 (first, second); });
}

int32_t CPlugInGroup::ForAllPlugInsD (uint8_t flag)
{
    return ForAllPlugIns ([flag] (CPlugIn& plugIn) { return plugIn.Reserved43 (flag); });
}

void CPlugInGroup::AddType (CPlugInType& type)
{
    fTypes.Add (&type);
}

void CPlugInGroup::RemoveType (CPlugInType& type)
{
    fTypes.Remove (&type);
    fItems.Remove (&type);
}
