// The standard scroll bars of a window (WS_VSCROLL / WS_HSCROLL): state behind SetScrollInfo
// and friends, plain drawing in the non-client area, and which part a point hits.
#pragma once

#include "platform/commctrl.h"

namespace lumoa::platform::comctl {

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// The bar's rectangle in window coordinates (empty when the window has no such bar).
RECT ScrollBarRect(HWND hwnd, int bar);
// Draws the bar plainly: arrow boxes at both ends and the thumb.
void DrawScrollBar(HWND hwnd, int bar);
// The part of the bar under a screen point.
ScrollPart HitScrollBar(HWND hwnd, int bar, POINT screen);
// The position the thumb's leading edge at offset px along the track stands for.
int ScrollPosFromThumb(HWND hwnd, int bar, int px);
// Offset of the thumb's leading edge along the track, and its length.
void ThumbGeometry(HWND hwnd, int bar, int* offset, int* length);

}  // namespace lumoa::platform::comctl
