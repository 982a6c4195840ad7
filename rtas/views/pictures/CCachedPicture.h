#pragma once
// One picture resource of the plug-in's resource file, loaded once and shared by every view that
// draws it (through the picture cache, CCachedPictureManager). The cache counts its users. A
// loaded picture keeps the file open, so that its data stays valid for as long as it is held,
// even where nothing else holds the file open.
//
// [window thread] for every operation.

#include <cstdint>

#include <abi/HostTypes.h>

#include "process/utilities/ScopedPlugInResFile.h"

inline constexpr int16_t kNoPictureID = -1;

class CCachedPicture
{
public:
    CCachedPicture() = default;
    // Releases the loaded picture and lets its file go.
    virtual ~CCachedPicture();
    CCachedPicture (const CCachedPicture&) = delete;
    CCachedPicture& operator= (const CCachedPicture&) = delete;

    // Draws the picture scaled into the frame; nothing when none is loaded.
    virtual void Draw (const Rect& frame) const;

    // Releases the loaded picture, then loads the picture resource of that id from the plug-in's
    // resource file (made current for the load; the file current before is current again
    // afterwards). When there is none, nothing is loaded and the id is kNoPictureID.
    void Load (int16_t id);
    int16_t GetID() const { return fID; }
    bool IsLoaded() const { return fPicture != nullptr; }
    int16_t GetReferenceCount() const { return fReferences; }

private:
    friend class CCachedPictureManager;

    void ReleasePicture();

    Handle fPicture = nullptr;
    // The open of the plug-in's resource file that keeps the loaded picture's data.
    PlugInResFileOpen fFileOpen;
    int16_t fID = kNoPictureID;
    int16_t fReferences = 0;
};
