#include "entry/model/CSNPlugInControl.h"

#include <cstdio>

#include "entry/ObjectTracker.h"
#include "entry/model/ObjectModelResults.h"

CSNPlugInControl::CSNPlugInControl (CPlugIn* owner) : fOwner (owner)
{
    TrackerRegister (this, ETrackedKind::kPlugInControl);
}

CSNPlugInControl::~CSNPlugInControl()
{
    TrackerUnregister (this);
}

int32_t CSNPlugInControl::Reserved1() { return 3; }
int32_t CSNPlugInControl::Reserved2() { return 0; }
int32_t CSNPlugInControl::Reserved3() { return 0; }
int32_t CSNPlugInControl::Reserved4() { return ObjectModelResult::kNotImplemented; }
int32_t CSNPlugInControl::Reserved5() { return ObjectModelResult::kNotImplemented; }
int32_t CSNPlugInControl::Reserved6() { return ObjectModelResult::kNotImplemented; }
int32_t CSNPlugInControl::Reserved7() { return ObjectModelResult::kNotImplemented; }
bool CSNPlugInControl::Reserved8() { return false; }
int32_t CSNPlugInControl::Reserved9() { return ObjectModelResult::kNotImplemented; }
int32_t CSNPlugInControl::Reserved10() { return 0; }
int32_t CSNPlugInControl::Reserved11() { return 0; }
int32_t CSNPlugInControl::Reserved12() { return 0; }
int32_t CSNPlugInControl::Reserved13() { return 0; }

void CSNPlugInControl::GetName (char* text, int32_t capacity)
{
    fNames.CopyInto (text, capacity);
}

void CSNPlugInControl::Reserved14 (char* text, int32_t capacity, uint8_t* flag)
{
    fNames.CopyInto (text, capacity);
    PutOut (flag, 0);
}

void CSNPlugInControl::GetValueString (char* text, int32_t capacity)
{
    if (text != nullptr && capacity >= 1)
        std::snprintf (text, static_cast<size_t> (capacity), "%s", "0");
}

void CSNPlugInControl::Reserved15 (char* text) { ClearText (text); }
int32_t CSNPlugInControl::Reserved16() { return 1; }
int32_t CSNPlugInControl::Reserved17() { return 0; }

void CSNPlugInControl::Reserved18 (int32_t* first, int32_t* second)
{
    PutOut (first, 0);
    PutOut (second, 0);
}

int32_t CSNPlugInControl::Reserved19() { return ObjectModelResult::kNotImplemented; }
int32_t CSNPlugInControl::Reserved20() { return ObjectModelResult::kNotImplemented; }
int32_t CSNPlugInControl::Reserved21() { return ObjectModelResult::kNotImplemented; }

int32_t CDefaultPlugInControl::Reserved4() { return ObjectModelResult::kDefaultControl; }
int32_t CDefaultPlugInControl::Reserved5() { return ObjectModelResult::kDefaultControl; }
int32_t CDefaultPlugInControl::Reserved6() { return ObjectModelResult::kDefaultControl; }
int32_t CDefaultPlugInControl::Reserved7() { return ObjectModelResult::kDefaultControl; }
int32_t CDefaultPlugInControl::Reserved9() { return ObjectModelResult::kDefaultControl; }
int32_t CDefaultPlugInControl::Reserved19() { return ObjectModelResult::kDefaultControl; }
