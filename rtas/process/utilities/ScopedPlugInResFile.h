#pragma once
// The plug-in's resource file made current for a while: opened once more through the toolbox
// (which counts opens, so the file stays open even where nothing else holds it), made current,
// and at the end closed again before the file that was current before is made current again.

#include <cstdint>

// [host thread, window thread] One open of the plug-in's resource file, closed when the object
// goes (or is closed). While any open of the file is held the toolbox keeps the file, and with it
// the resources loaded from it.
class PlugInResFileOpen
{
public:
    PlugInResFileOpen() = default;
    // Opens the file (a plug-in file spec that cannot be made counts as a file that does not
    // open). The toolbox's open may make the file current.
    static PlugInResFileOpen Open();
    ~PlugInResFileOpen();
    PlugInResFileOpen (PlugInResFileOpen&& other) noexcept;
    PlugInResFileOpen& operator= (PlugInResFileOpen&& other) noexcept;
    PlugInResFileOpen (const PlugInResFileOpen&) = delete;
    PlugInResFileOpen& operator= (const PlugInResFileOpen&) = delete;

    bool IsOpen() const { return fFile > 0; }
    int16_t GetFile() const { return fFile; }
    // Closes the open now; nothing when none is held.
    void Close() noexcept;

private:
    explicit PlugInResFileOpen (int16_t file) : fFile (file) {}

    int16_t fFile = -1;
};

// [host thread, window thread] Makes the plug-in's resource file current for the scope. At its
// end the open this guard made is closed, and then the file that was current before is made
// current again in every case. A file that does not open is not made current and IsOpen() is
// false. Throws CDAEError -7401 without a toolbox.
class ScopedPlugInResFile
{
public:
    ScopedPlugInResFile();
    ~ScopedPlugInResFile();
    ScopedPlugInResFile (const ScopedPlugInResFile&) = delete;
    ScopedPlugInResFile& operator= (const ScopedPlugInResFile&) = delete;

    bool IsOpen() const { return fOpen.IsOpen(); }
    // Hands this guard's open to the caller, for a resource loaded here that must stay valid
    // after the scope: the file is then closed when what this returns goes. The file that was
    // current before is still made current again at the end of the scope.
    PlugInResFileOpen KeepOpen();

private:
    int16_t fPrevious = 0;
    PlugInResFileOpen fOpen;
};
