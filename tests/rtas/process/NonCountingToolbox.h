#pragma once
// The stand-in toolbox as one that does not count opens of a resource file.

#include "process/utilities/HostExtToolbox.h"

#include <HostExtControl.h>

// The toolbox as one that does not count opens: opening an open file gives it again without
// counting, and one close closes it. Installed over the stand-in for the object's lifetime.
class NonCountingToolbox
{
public:
    NonCountingToolbox() : fInstalled (Routines()) {}

private:
    static int OpensOf (int16_t file)
    {
        for (const kestrune::host::rtas::HostExtResourceFile& open : KestruneHostExtStandIn()->openResourceFiles())
            if (open.reference == file)
                return open.opens;
        return 0;
    }
    static int16_t Open (const FSSpec* spec, int8_t permission)
    {
        const int16_t file = sReal->FSpOpenResFile (spec, permission);
        if (file > 0 && OpensOf (file) > 1)
            sReal->CloseResFile (file);
        return file;
    }
    static void Close (int16_t file)
    {
        while (OpensOf (file) > 0)
            sReal->CloseResFile (file);
    }
    static HostToolboxRoutines Routines()
    {
        sReal = &HostToolbox();
        HostToolboxRoutines routines = *sReal;
        routines.FSpOpenResFile = &Open;
        routines.CloseResFile = &Close;
        return routines;
    }

    static inline const HostToolboxRoutines* sReal = nullptr;
    ScopedHostToolbox fInstalled;
};
