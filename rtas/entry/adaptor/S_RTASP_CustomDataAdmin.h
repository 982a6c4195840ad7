#pragma once
// The adaptor plug-in's data block, shared with the engine: where the render callbacks find the
// process and its connection records. Seven 32-bit words, in this order.

#include <cstdint>
#include <cstring>

#include "entry/CPlugInData.h"
#include "process/base/PointerWords.h"

struct S_RTASP_CustomDataAdmin : CPlugInData
{
    enum EWord : int32_t
    {
        kProcess = 0, // the process (IAdaptorProcess*)
        kInputRecords = 1, // the process's array of input connection-record pointers
        kOutputRecords = 2, // ... of output connection-record pointers
        kNumInputs = 3, // audio inputs (n_in)
        kNumOutputs = 4, // audio outputs (n_out)
        kSideChainIndex = 5, // 1-based index into the input records, 0 = none
        kVariableBlock = 6, // 0: blocks of 32 samples; else the context's block size
        kWordCount = 7
    };

    CSmartLong fProcess { *this };
    CSmartLong fInputRecords { *this };
    CSmartLong fOutputRecords { *this };
    CSmartLong fNumInputs { *this };
    CSmartLong fNumOutputs { *this };
    CSmartLong fSideChainIndex { *this };
    CSmartLong fVariableBlock { *this };

    // [audio thread] A word of a published block, as the render callbacks read it.
    static int32_t ReadWord (const void* block, EWord word)
    {
        int32_t value = 0;
        std::memcpy (&value, static_cast<const uint8_t*> (block) + word * 4, sizeof value);
        return value;
    }

    // [audio thread] A word of a published block that holds an address.
    template <class T>
    static T* ReadPointer (const void* block, EWord word)
    {
        return PointerOfWord<T> (ReadWord (block, word));
    }
};

static_assert (sizeof (void*) == 4, "the process and its record arrays travel as 32-bit words");
