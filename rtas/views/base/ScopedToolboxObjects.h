#pragma once
// Toolbox objects that the views hold only for the length of one operation, given back however
// the operation ends.

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
