// The toolkit's process-wide values, one copy per loaded library: the image-blending entry points taken
// from "msimg32.dll" at run time, the operating-system version, and the swapped-mouse-buttons flag.
#pragma once

#include "platform/win32.h"

namespace gui {
namespace system {

using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// Written only on the user-interface thread (by frames as they are made and destroyed), read by drawing.
extern AlphaBlendFunction alphaBlend;
extern TransparentBltFunction transparentBlt;
extern OSVERSIONINFOEXA versionInfo;
extern bool swappedMouseButtons;

// Loads "msimg32.dll" and takes its entry points afresh (null when missing); answers the library's handle.
HMODULE loadBlendingLibrary();
// Frees one load; the entry points are cleared when no load is left.
void freeBlendingLibrary(HMODULE library);
// Windows 98 (4.10, not NT) blends only from a bitmap's origin.
bool blendsFromOriginOnly();

}  // namespace system
}  // namespace gui
