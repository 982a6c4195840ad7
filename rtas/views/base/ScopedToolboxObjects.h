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

// [window thread] Keeps the current port's pen (place, size and mode) for the scope.
class ScopedPenState
{
public:
    ScopedPenState();
    ~ScopedPenState();
    ScopedPenState (const ScopedPenState&) = delete;
    ScopedPenState& operator= (const ScopedPenState&) = delete;

private:
    PenState fSaved {};
};

// [window thread] Clips the current port to a rectangle (within its clip as it was) for the scope,
// then gives it back its clip. A toolbox that cannot make a region throws CDAEError -7053.
class ScopedClipRect
{
public:
    explicit ScopedClipRect (const Rect& area);
    ~ScopedClipRect();
    ScopedClipRect (const ScopedClipRect&) = delete;
    ScopedClipRect& operator= (const ScopedClipRect&) = delete;

private:
    ScopedRegion fSaved;
};
