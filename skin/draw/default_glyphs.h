// The glyphs the skin engine draws itself when a skin has no picture for them: caption
// buttons, arrows, the drop marker and the check mark. (X, Y) is the glyph's top-left.
#pragma once

#include "ui/canvas.h"

namespace lumoa::skin {

void DrawCloseGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMaximizeGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRestoreGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMinimizeGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawSysMenuGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
enum class RollState { Normal, Rolled };
// A triangle pointing up (normal) or down (rolled up).
void DrawRollUpGlyph(TCanvas* Canvas, int X, int Y, TColor Color, RollState State);
void DrawToTrayGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawCheckGlyph(TCanvas* Canvas, int X, int Y, TColor Color);

enum class ArrowDirection { Left = 1, Right = 2, Up = 3, Down = 4 };
enum class ArrowSize { Small, Large };
// A filled triangle around the centre of Rect (4 rows deep when small, 6 when large).
void DrawArrowGlyph(TCanvas* Canvas, const RECT& Rect, ArrowDirection Direction, TColor Color,
                    ArrowSize Size = ArrowSize::Small);
// The small downward triangle of drop-down buttons, three rows deep, around Rect's centre.
void DrawDropMarker(TCanvas* Canvas, const RECT& Rect, TColor Color);

}  // namespace lumoa::skin
