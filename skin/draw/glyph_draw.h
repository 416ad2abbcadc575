// A glyph beside a caption, as buttons, tabs and list items draw them: the layout arithmetic
// and the painters for image-list glyphs and glyph strips.
#pragma once

#include "platform/winapi.h"
#include "ui/bitmap.h"
#include "ui/image_list.h"

namespace lumoa::skin {

// Where the glyph sits relative to its caption.
enum TksGlyphLayout { glGlyphLeft = 0, glGlyphRight = 1, glGlyphTop = 2, glGlyphBottom = 3 };

struct GlyphCaptionPlace {
  POINT Glyph;
  POINT Caption;
};

// Places a glyph of GlyphSize and a caption of CaptionSize in Rect. Margin is the glyph's
// distance from its edge, -1 centres glyph and caption together as one block; Spacing (the
// gap between them) counts only for a glyph of non-zero width.
GlyphCaptionPlace LayoutGlyphAndCaption(TksGlyphLayout Layout, const RECT& Rect, SIZE GlyphSize,
                                        SIZE CaptionSize, int Margin, int Spacing);

// Mark: three one-pixel lines in MarkColor under the glyph (else under the caption), or with
// neither a fill of (left + 4, top + 4, right - 2, bottom - 4).
enum class GlyphMark { None, Show };
enum class PressedShift { None, Shift };

// The glyph is image ImageIndex of Images (none when the list is missing or the index is
// outside it), drawn enabled or disabled; the caption is ANSI text, word-wrapped and centred
// in the space the glyph leaves.
void DrawImageGlyphAndCaption(TCanvas* Canvas, const RECT& Rect, int Margin, TColor MarkColor,
                              GlyphMark Mark, bool Enabled, PressedShift Shift,
                              TImageList* Images, int ImageIndex, const AnsiString& Caption,
                              TksGlyphLayout Layout, int Spacing);
// The same with glyph GlyphNum (from 1) of a strip of NumGlyphs glyphs side by side.
void DrawStripGlyphAndCaption(TCanvas* Canvas, const RECT& Rect, int Margin, TColor MarkColor,
                              GlyphMark Mark, PressedShift Shift, int GlyphNum, int NumGlyphs,
                              TBitmap* Strip, const AnsiString& Caption, TksGlyphLayout Layout,
                              int Spacing);
// Draws glyph GlyphNum (from 1) of the strip at (X, Y), transparent where it has the colour
// of its bottom-left pixel. Nothing for an empty strip or a number outside 1..NumGlyphs.
void DrawStripGlyph(TCanvas* Canvas, int X, int Y, int GlyphNum, int NumGlyphs, TBitmap* Strip);

}  // namespace lumoa::skin
