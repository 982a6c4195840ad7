#include "entry/model/CPlugInType.h"

#include <memory>

#include "entry/ObjectTracker.h"
#include "entry/model/CPlugInGroup.h"
#include "entry/model/ObjectModelResults.h"

namespace
{
// Keeps the group's current value for the length of a call.
class CurrentValueScope
{
public:
    CurrentValueScope (CPlugInGroup& group, int32_t value) : fGroup (group), fSaved (group.GetCurrentValue())
    {
        fGroup.SetCurrentValue (value);
    }
    ~CurrentValueScope() { fGroup.SetCurrentValue (fSaved); }
    CurrentValueScope (const CurrentValueScope&) = delete;
    CurrentValueScope& operator= (const CurrentValueScope&) = delete;

private:
    CPlugInGroup& fGroup;
    int32_t fSaved;
};
}

CPlugInType::CPlugInType (CPlugInGroup& group)
    : fGroup (group), fDefaultPlugIn (this), fDefaultPort (&fDefaultPlugIn), fDefaultControl (&fDefaultPlugIn)
{
    TrackerRegister (this, ETrackedKind::kPlugInType);
}

CPlugInType::~CPlugInType()
{
    TrackerUnregister (this);
    fPlugIns.DestroyAll();
}

CPlugIn* CPlugInType::GetPlugIn (int32_t id)
{
    auto* plugIn = static_cast<CPlugIn*> (fPlugInsByID.Get (id));
    return plugIn != nullptr ? plugIn : &fDefaultPlugIn;
}

CPlugIn* CPlugInType::GetDefaultPlugIn() { return &fDefaultPlugIn; }

void CPlugInType::GetSpec (SPlugInSpec* spec)
{
    if (spec != nullptr)
        spec->fWords = { ObjectModelResult::kNotSupported, kBlankCode, kBlankCode, fGroup.GetCurrentValue(), 0 };
}

int32_t CPlugInType::Reserved1() { return 0; }
int32_t CPlugInType::Reserved2() { return 3; }
bool CPlugInType::Reserved3() { return false; }

void CPlugInType::GetName (char* text, int32_t capacity)
{
    fNames.CopyInto (text, capacity);
}

int32_t CPlugInType::Reserved4 (int32_t* out)
{
    PutOut (out, 0);
    return 0;
}

int32_t CPlugInType::NewPlugIn (int32_t* id)
{
    if (id == nullptr)
        return ObjectModelResult::kNotCreated;
    if (fPlugInsByID.Get (*id) != nullptr)
        return ObjectModelResult::kPlugInIDPresent;
    std::unique_ptr<CPlugIn> plugIn (CreatePlugIn (*id));
    if (plugIn == nullptr)
    {
        *id = 0;
        return ObjectModelResult::kNotCreated;
    }
    fPlugIns.Add (plugIn.get());
    try
    {
        fPlugInsByID.SetChecked (*id, plugIn.get());
    }
    catch (...)
    {
        fPlugIns.Remove (plugIn.get());
        throw;
    }
    plugIn.release()->Register();
    return 0;
}

int32_t CPlugInType::CallWithValue (int32_t* record)
{
    if (record == nullptr)
        return ObjectModelResult::kNotCreated;
    const CurrentValueScope scope (fGroup, record[11]);
    return NewPlugIn (&record[12]);
}

int32_t CPlugInType::DeletePlugIn (int32_t id)
{
    auto* plugIn = static_cast<CPlugIn*> (fPlugInsByID.Get (id));
    if (plugIn == nullptr || ! fPlugIns.Contains (plugIn))
        return ObjectModelResult::kPlugInNotInList;
    fPlugIns.Remove (plugIn);
    fPlugInsByID.Remove (id);
    delete plugIn;
    return 0;
}

CPlugIn* CPlugInType::CreatePlugIn (int32_t) { return nullptr; }

int32_t CDefaultPlugInType::NewPlugIn (int32_t*) { return ObjectModelResult::kNotSupported; }
int32_t CDefaultPlugInType::DeletePlugIn (int32_t) { return ObjectModelResult::kNotSupported; }
