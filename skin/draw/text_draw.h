// Text output of the skinned controls: UTF-16 text through the platform text routine, caption
// placement, glowing and reflected captions, dotted focus frames and colour mixing.
#pragma once

#include "platform/winapi.h"
#include "ui/canvas.h"

namespace lumoa::skin {

// Draws UTF-16 text with DrawTextW (converted to the ANSI code page and DrawTextA where the
// platform has no wide routine). Format flags pass through; Rect is updated as DrawText does
// (DT_CALCRECT). Returns the platform routine's result.
int DrawWideText(TCanvas* Canvas, const WideString& Text, RECT& Rect, UINT Format);
// Measured with DT_CALCRECT alone from an empty rectangle at (0, 0).
int WideTextWidth(TCanvas* Canvas, const WideString& Text);
int WideTextHeight(TCanvas* Canvas, const WideString& Text);
// Shortens Text in place until it fits MaxWidth followed by "..." (at least "..." remains).
// A text that fits already stays as it is.
void EllipsizeText(TCanvas* Canvas, WideString& Text, int MaxWidth);

// Single line, centred both ways. A text starting with "W" gets 2 more pixels at the right;
// an odd font Height moves the text up 1. Nothing for an empty text.
void DrawCenteredCaption(TCanvas* Canvas, const AnsiString& Text, RECT Rect);
// Single line, vertically centred, left aligned; odd font Height moves it up 1.
void DrawLeftCaption(TCanvas* Canvas, const AnsiString& Text, RECT Rect);
// Clipped to Rect at x = left + Offset + 2, vertically centred by the text's height (1 higher
// for an odd font Height).
void DrawCaptionAt(TCanvas* Canvas, const AnsiString& Text, const RECT& Rect, int Offset = 0);

// The caption glow: the text rendered into a bitmap GlowSize larger on every side, blurred
// with radius GlowSize, coloured GlowColor with the blurred coverage as alpha, blended at
// (left + Offset - GlowSize, top + Offset - GlowSize); then the text itself with a clear brush.
void DrawGlowText(TCanvas* Canvas, const RECT& Rect, const WideString& Text, TColor GlowColor,
                  int GlowSize, int Offset, UINT Format);
// A soft plate behind the text. PlateSize is the margin around the rectangle: 12 widens the
// plate 3 pixels left and right of the text rectangle (inset 2 top and bottom), any other
// size insets it 3 on every side. Blurred twice with radius PlateSize / 2.
void DrawGlowPlateText(TCanvas* Canvas, const RECT& Rect, const WideString& Text,
                       TColor PlateColor, int PlateSize, UINT Format);
// The text and, below it, its mirror image in Color fading from 70% coverage next to the
// text to nothing, Offset pixels further down.
void DrawReflectedText(TCanvas* Canvas, const RECT& Rect, const WideString& Text, TColor Color,
                       int Offset, UINT Format);

// Every other pixel of the frame (left, top, right - 1, bottom - 1) in the canvas font colour,
// walking top, right, bottom and left edges round; the top-left pixel is skipped when both
// sides (right - left - 1, bottom - top - 1) are even.
void DrawDottedFrame(TCanvas* Canvas, const RECT& Rect);

// Channel-wise (a + b) div 2 of both colours resolved to RGB.
TColor MidColor(TColor A, TColor B);

}  // namespace lumoa::skin
