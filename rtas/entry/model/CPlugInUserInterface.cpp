#include "entry/model/CPlugInUserInterface.h"

#include "entry/model/ObjectModelResults.h"

using ObjectModelResult::kDefaultObject;
using ObjectModelResult::kNotImplemented;

int32_t CPlugInUserInterface::Reserved1() { return kNotImplemented; }

int32_t CPlugInUserInterface::Reserved2 (char* text)
{
    ClearText (text);
    return kNotImplemented;
}

int32_t CPlugInUserInterface::Reserved3() { return kNotImplemented; }
int32_t CPlugInUserInterface::Reserved4() { return 0; }
int32_t CPlugInUserInterface::Reserved5() { return kNotImplemented; }
int32_t CPlugInUserInterface::Reserved6() { return kNotImplemented; }
int32_t CPlugInUserInterface::Reserved7() { return kNotImplemented; }
int32_t CPlugInUserInterface::Reserved8() { return kNotImplemented; }
int32_t CPlugInUserInterface::Reserved9() { return kNotImplemented; }
int32_t CPlugInUserInterface::Reserved10() { return kNotImplemented; }
int32_t CPlugInUserInterface::Reserved11() { return kNotImplemented; }
int32_t CPlugInUserInterface::Reserved12() { return kNotImplemented; }
bool CPlugInUserInterface::Reserved13() { return false; }
void CPlugInUserInterface::Reserved14() {}

int32_t CPlugInUserInterface::Reserved15 (int32_t* first, int32_t* second)
{
    PutOut (first, 0);
    PutOut (second, 0);
    return kNotImplemented;
}

int32_t CPlugInUserInterface::Reserved16() { return kNotImplemented; }

int32_t CDefaultPlugInUserInterface::Reserved1() { return kDefaultObject; }

int32_t CDefaultPlugInUserInterface::Reserved2 (char* text)
{
    ClearText (text);
    return kDefaultObject;
}

int32_t CDefaultPlugInUserInterface::Reserved3() { return kDefaultObject; }
int32_t CDefaultPlugInUserInterface::Reserved5() { return kDefaultObject; }
int32_t CDefaultPlugInUserInterface::Reserved6() { return kDefaultObject; }
int32_t CDefaultPlugInUserInterface::Reserved7() { return kDefaultObject; }
int32_t CDefaultPlugInUserInterface::Reserved8() { return kDefaultObject; }
int32_t CDefaultPlugInUserInterface::Reserved9() { return kDefaultObject; }
int32_t CDefaultPlugInUserInterface::Reserved10() { return kDefaultObject; }
