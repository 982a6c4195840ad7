#pragma once
// One picture resource of the plug-in's resource file, loaded once and shared by every view that
// draws it (through the picture cache, CCachedPictureManager). The cache counts its users. A
// loaded picture is a block of its own with the resource's bytes, taken while the file is current
// and the resource released at once: it stays valid for as long as it is held, whatever becomes of
// the file it came from.
//
// [window thread] for every operation.

#include <cstdint>

#include <abi/HostTypes.h>

inline constexpr int16_t kNoPictureID = -1;

class CCachedPicture
{
public:
    CCachedPicture() = default;
    // Disposes of the loaded picture.
    virtual ~CCachedPicture();
    CCachedPicture (const CCachedPicture&) = delete;
    CCachedPicture& operator= (const CCachedPicture&) = delete;

    // Draws the picture scaled into the frame; nothing when none is loaded.
    virtual void Draw (const Rect& frame) const;

    // Disposes of the loaded picture, then loads the picture resource of that id from the
    // plug-in's resource file (made current for the load, ScopedPlugInResFile; the file current
    // before is current again afterwards). When there is none, nothing is loaded and the id is
    // kNoPictureID.
    void Load (int16_t id);
    int16_t GetID() const { return fID; }
    bool IsLoaded() const { return fPicture != nullptr; }
    int16_t GetReferenceCount() const { return fReferences; }

private:
    friend class CCachedPictureManager;

    void ReleasePicture();

    Handle fPicture = nullptr;
    int16_t fID = kNoPictureID;
    int16_t fReferences = 0;
};
