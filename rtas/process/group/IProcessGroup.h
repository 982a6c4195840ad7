#pragma once
// The reference-counted interface of the DSP process group, through which the host's DSP manager
// and the DSP process types ask it for information. The three reference-counting operations go
// to the group's owner. [host thread]

#include <cstdint>

#include "process/base/DOAUnknown.h"

// {E01FF6A0-3865-11D2-B4BE-B87E918E1B5A}
inline constexpr DOA::GUID IID_IProcessGroup = { 0xE01FF6A0, 0x3865, 0x11D2, { 0xB4, 0xBE, 0xB8, 0x7E, 0x91, 0x8E, 0x1B, 0x5A } };

class IProcessGroup : public DOA::IUnknown
{
public:
    // The group's information answers; any exception: -7401.
    virtual int32_t GetInfo (int32_t* value, char** text) = 0;
    virtual int32_t GetInfo2 (int16_t key, int32_t* known, int32_t index, uint32_t* value) = 0;

protected:
    ~IProcessGroup() override = default;
};
