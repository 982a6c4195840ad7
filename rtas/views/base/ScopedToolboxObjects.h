#pragma once
// Toolbox objects that the views hold only for the length of one operation, given back however
// the operation ends.

#include <cstddef>
#include <cstdint>

#include "process/utilities/HostExtToolbox.h"

// [window thread] A new region, disposed of at the end of the scope. A toolbox that cannot make
// one throws CDAEError -7053.
class ScopedRegion
{
public:
    ScopedRegion();
    ~ScopedRegion();
    ScopedRegion (const ScopedRegion&) = delete;
    ScopedRegion& operator= (const ScopedRegion&) = delete;

    RgnHandle Get() const { return fRegion; }

private:
    RgnHandle fRegion;
};

// [window thread] Makes the plug-in's resource file current for the length of the scope (opened
// once more, so that it stays open even when nothing else holds it) and then the file that was
// current before. Without a plug-in file that the toolbox can open, nothing changes and IsOpen()
// is false.
class ScopedPlugInResFile
{
public:
    ScopedPlugInResFile();
    ~ScopedPlugInResFile();
    ScopedPlugInResFile (const ScopedPlugInResFile&) = delete;
    ScopedPlugInResFile& operator= (const ScopedPlugInResFile&) = delete;

    bool IsOpen() const { return fFile > 0; }

private:
    int16_t fPrevious = 0;
    int16_t fFile = -1;
};

// [window thread] Keeps the current port's fore or back colour for the scope.
class ScopedPortColour
{
public:
    enum class Which
    {
        fore,
        back
    };

    explicit ScopedPortColour (Which which);
    ~ScopedPortColour();
    ScopedPortColour (const ScopedPortColour&) = delete;
    ScopedPortColour& operator= (const ScopedPortColour&) = delete;

private:
    Which fWhich;
    RGBColor fSaved {};
};

// [window thread] A resource of the current resource file, locked while the scope reads it and
// released at its end. IsFound() is false (and the resource error cleared) when the file has
// none of that type and id.
class ScopedLockedResource
{
public:
    ScopedLockedResource (ResType type, int16_t id);
    ~ScopedLockedResource();
    ScopedLockedResource (const ScopedLockedResource&) = delete;
    ScopedLockedResource& operator= (const ScopedLockedResource&) = delete;

    bool IsFound() const { return fResource != nullptr; }
    // The resource's bytes; none when it was not found.
    const uint8_t* Data() const { return fData; }
    size_t Size() const { return fSize; }

private:
    Handle fResource = nullptr;
    const uint8_t* fData = nullptr;
    size_t fSize = 0;
};

// [window thread] Keeps the current port's text font, size, face and mode for the scope.
class ScopedPortText
{
public:
    ScopedPortText();
    ~ScopedPortText();
    ScopedPortText (const ScopedPortText&) = delete;
    ScopedPortText& operator= (const ScopedPortText&) = delete;

private:
    int16_t fFont = 0;
    int16_t fSize = 0;
    int16_t fFace = 0;
    int16_t fMode = 0;
};

// [window thread] Makes a port current for the scope, then the port that was current before.
class ScopedCurrentPort
{
public:
    explicit ScopedCurrentPort (GrafPtr port);
    ~ScopedCurrentPort();
    ScopedCurrentPort (const ScopedCurrentPort&) = delete;
    ScopedCurrentPort& operator= (const ScopedCurrentPort&) = delete;

private:
    GrafPtr fPrevious = nullptr;
};
