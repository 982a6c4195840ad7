#pragma once
// The two background pixel patterns that framed views share (resource ids 1001 and 1002 of the
// plug-in's resource file), loaded while at least one view uses them.

#include <cstdint>

#include <abi/HostTypes.h>

class CPlugInView;

inline constexpr int16_t kPlainBackPatternID = 1001;
inline constexpr int16_t kColouredBackPatternID = 1002;

// [window thread] Loads each pattern that is not loaded yet, through the view's base picture
// loader with the plug-in's resource file current. True, with one user counted, when at least one
// pattern is loaded afterwards; false, with nothing counted, otherwise.
bool AcquireSharedBackPatterns (CPlugInView& loader);
// [window thread] One user fewer; the last one disposes of both patterns.
void ReleaseSharedBackPatterns();
// The loaded pattern of that id (1001 or 1002); null when it is not loaded.
PixPatHandle GetSharedBackPattern (int16_t id);
