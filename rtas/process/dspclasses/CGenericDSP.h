#pragma once
// A process DSP with one more word and four host-flag operations that the chip classes give a
// meaning: two queries (false here) and two setters (nothing here).

#include "process/dspclasses/CProcessDSP.h"

class CGenericDSP : public CProcessDSP
{
public:
    int32_t GetGenericWord() const { return fGenericWord; }
    void SetGenericWord (int32_t word) { fGenericWord = word; }

    virtual bool QueryHostFlagA();
    virtual bool QueryHostFlagB();
    virtual void RaiseHostFlagA();
    virtual void LowerHostFlagA();

private:
    int32_t fGenericWord = 0;
};
