#include "process/dspclasses/CGenericDSP.h"

bool CGenericDSP::QueryHostFlagA() { return false; }
bool CGenericDSP::QueryHostFlagB() { return false; }
void CGenericDSP::RaiseHostFlagA() {}
void CGenericDSP::LowerHostFlagA() {}
