#include "process/utilities/HostExtToolbox.h"

#include <cstring>

namespace
{
constexpr int32_t kControlRecordSize = 16;

bool HasEveryRoutineUsed (const kestrune::rtas::abi::HostExtRoutines& r)
{
    return r.ResError != nullptr && r.MemError != nullptr && r.NumToString != nullptr && r.HandleData != nullptr
           && r.GetHandleSize != nullptr && r.Microseconds != nullptr && r.CStrToPStrInPlace != nullptr
           && r.FSMakeFSSpecFromPath != nullptr;
}
}

std::unique_ptr<HostExtToolbox> HostExtToolbox::Bind()
{
    HMODULE module = LoadLibraryA ("HostExt.dll");
    if (module == nullptr)
        return nullptr;
    kestrune::rtas::abi::HostExtRoutines routines;
    kestrune::rtas::abi::bindHostExtRoutines (module, routines);
    if (! HasEveryRoutineUsed (routines))
    {
        FreeLibrary (module);
        return nullptr;
    }
    return std::unique_ptr<HostExtToolbox> (new HostExtToolbox (module, routines));
}

HostExtToolbox::HostExtToolbox (HMODULE module, const kestrune::rtas::abi::HostExtRoutines& routines)
    : fModule (module), fRoutines (routines)
{
}

HostExtToolbox::~HostExtToolbox()
{
    FreeLibrary (fModule);
}

int16_t HostExtToolbox::ResourceError()
{
    return fRoutines.ResError();
}

int16_t HostExtToolbox::ToolboxError()
{
    return fRoutines.MemError();
}

void HostExtToolbox::NumberToText (int32_t number, uint8_t* pascalText)
{
    fRoutines.NumToString (number, pascalText);
}

void* HostExtToolbox::BlockData (void* block)
{
    return fRoutines.HandleData (static_cast<Handle> (block));
}

uint64_t HostExtToolbox::Microseconds()
{
    uint64_t microseconds = 0;
    fRoutines.Microseconds (&microseconds);
    return microseconds;
}

bool HostExtToolbox::ControlRecord (void* control, uint8_t* record16)
{
    const auto handle = static_cast<Handle> (control);
    if (handle == nullptr || fRoutines.GetHandleSize (handle) < kControlRecordSize)
        return false;
    const Ptr data = fRoutines.HandleData (handle);
    if (data == nullptr)
        return false;
    std::memcpy (record16, data, kControlRecordSize);
    return true;
}

void HostExtToolbox::CStrToPStrInPlace (char* text)
{
    fRoutines.CStrToPStrInPlace (text);
}

int16_t HostExtToolbox::MakeFileSpec (const uint8_t* pascalPath, FSSpec* spec)
{
    return fRoutines.FSMakeFSSpecFromPath (pascalPath, spec);
}
