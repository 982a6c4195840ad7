#pragma once
// Holding the plug-in's resource file, right for any toolbox. What a toolbox does on a second open
// of an open file is its own choice: one that counts opens keeps the file until the last close,
// one that hands back the same file closes it for every holder on the first close. So no one here
// opens the file again while something holds it: the file the module's open holds, or that a hold
// below opened, is used as it is; only when nothing holds it is it opened, and it is closed when
// the last hold on that open ends.

#include <cstdint>

#include "process/utilities/HostExtToolbox.h"

// [host thread, window thread] The plug-in's resource file that something holds open: the
// module's open, else a hold's own open; 0 when nothing holds it.
int16_t HeldPlugInResFile();
// [host thread] The module's open gives the file it opened (0 or below when it did not open), and
// 0 before it closes it.
void SetModulePlugInResFile (int16_t file);

// [host thread, window thread] One hold on the plug-in's resource file: the file something holds
// open already, else the file opened for it, closed again when the last hold on that open goes.
class PlugInResFileHold
{
public:
    PlugInResFileHold() = default;
    // Takes a hold. A file that does not open gives a hold that is not open. Throws what making
    // the plug-in's file spec throws (CDAEError).
    static PlugInResFileHold Take (const HostToolboxRoutines& toolbox);
    ~PlugInResFileHold();
    PlugInResFileHold (PlugInResFileHold&& other) noexcept;
    PlugInResFileHold& operator= (PlugInResFileHold&& other) noexcept;
    PlugInResFileHold (const PlugInResFileHold&) = delete;
    PlugInResFileHold& operator= (const PlugInResFileHold&) = delete;

    bool IsOpen() const { return fFile > 0; }
    int16_t GetFile() const { return fFile; }
    // Ends the hold now; nothing when none is held.
    void Release() noexcept;

private:
    PlugInResFileHold (int16_t file, bool counted) : fFile (file), fCounted (counted) {}

    int16_t fFile = 0;
    // A hold on the open made for the holds, which the last of them closes.
    bool fCounted = false;
};

// [host thread, window thread] Makes the plug-in's resource file current for the scope, through a
// hold (PlugInResFileHold). At its end the file that was current before is current again, on every
// path, and then the hold ends. A file that does not open (or whose spec cannot be made) is not
// made current and IsOpen() is false. Throws CDAEError -7401 without a toolbox.
class ScopedPlugInResFile
{
public:
    ScopedPlugInResFile();
    ~ScopedPlugInResFile();
    ScopedPlugInResFile (const ScopedPlugInResFile&) = delete;
    ScopedPlugInResFile& operator= (const ScopedPlugInResFile&) = delete;

    bool IsOpen() const { return fHold.IsOpen(); }

private:
    int16_t fPrevious = 0;
    PlugInResFileHold fHold;
};
