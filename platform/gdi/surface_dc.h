// Device contexts over a top-level window's shared pixel surface, for the user layer
// (GetDC, GetWindowDC, BeginPaint), and the coverage blend that text drawing builds on.
#pragma once

#include "platform/windef.h"

namespace lumoa::platform {

// A DC drawing into `surface` (a 32-bit top-down DIB section) whose logical (0,0) lies at
// `origin` in surface coordinates, limited to `visible` (surface coordinates, copied; null: the
// whole surface). Clip regions selected later are relative to origin and intersect `visible`.
// Freed with DeleteDC.
HDC CreateSurfaceDC(HBITMAP surface, POINT origin, HRGN visible);
// Moves an existing surface DC (the window moved inside its top-level, or was re-clipped).
void SetSurfaceDCGeometry(HDC dc, POINT origin, HRGN visible);
// Blends an 8-bit coverage mask (0 transparent .. 255 opaque) in `color` with its top-left at
// logical (x, y), through the DC's clip; works on every DIB depth the DC may hold.
void DcBlendCoverage(HDC dc, int x, int y, const BYTE* coverage, int width, int height, int pitch,
                     COLORREF color);

}  // namespace lumoa::platform
