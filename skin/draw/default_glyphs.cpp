#include "skin/draw/default_glyphs.h"

#include <initializer_list>

namespace lumoa::skin {

namespace {

void UsePen(TCanvas* c, TColor color) {
  c->Pen().SetStyle(psSolid);
  c->Pen().SetWidth(1);
  c->Pen().SetMode(pmCopy);
  c->Pen().SetColor(color);
}

void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

void Frames(TCanvas* c, TColor color, std::initializer_list<RECT> rects) {
  UsePen(c, color);
  c->Brush().SetStyle(bsClear);
  for (const RECT& r : rects) c->Rectangle(r);
}

int CentreX(const RECT& r) { return r.left + (r.right - r.left) / 2; }
int CentreY(const RECT& r) { return r.top + (r.bottom - r.top) / 2; }

}  // namespace

void DrawCloseGlyph(TCanvas* Canvas, int X, int Y, TColor Color) {
  UsePen(Canvas, Color);
  Line(Canvas, X + 1, Y + 1, X + 9, Y + 9);
  Line(Canvas, X + 9, Y + 1, X + 1, Y + 9);
  Line(Canvas, X + 2, Y + 1, X + 10, Y + 9);
  Line(Canvas, X + 8, Y + 1, X, Y + 9);
}

void DrawMaximizeGlyph(TCanvas* Canvas, int X, int Y, TColor Color) {
  Frames(Canvas, Color, {RECT{X, Y, X + 11, Y + 10}, RECT{X, Y, X + 11, Y + 2}});
}

void DrawRestoreGlyph(TCanvas* Canvas, int X, int Y, TColor Color) {
  Frames(Canvas, Color,
         {RECT{X + 2, Y, X + 10, Y + 6}, RECT{X + 2, Y, X + 10, Y + 2},
          RECT{X, Y + 4, X + 7, Y + 10}, RECT{X, Y + 4, X + 7, Y + 6}});
}

void DrawMinimizeGlyph(TCanvas* Canvas, int X, int Y, TColor Color) {
  UsePen(Canvas, Color);
  Line(Canvas, X + 1, Y + 8, X + 9, Y + 8);
  Line(Canvas, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawSysMenuGlyph(TCanvas* Canvas, int X, int Y, TColor Color) {
  Frames(Canvas, Color, {RECT{X + 1, Y + 3, X + 9, Y + 6}});
}

void DrawRollUpGlyph(TCanvas* Canvas, int X, int Y, TColor Color, RollState State) {
  UsePen(Canvas, Color);
  for (int i = 0; i <= 4; ++i) {
    if (State == RollState::Rolled) {
      Line(Canvas, X + 5 - i, Y + 6 - i, X + 5 + i, Y + 6 - i);
    } else {
      Line(Canvas, X + 1 + i, Y + 6 - i, X + 9 - i, Y + 6 - i);
    }
  }
}

void DrawToTrayGlyph(TCanvas* Canvas, int X, int Y, TColor Color) {
  UsePen(Canvas, Color);
  Canvas->Brush().SetStyle(bsSolid);
  Canvas->Brush().SetColor(Color);
  Canvas->Rectangle(X + 2, Y + 2, X + 7, Y + 7);
}

void DrawCheckGlyph(TCanvas* Canvas, int X, int Y, TColor Color) {
  UsePen(Canvas, Color);
  for (int i = 0; i <= 2; ++i)
    Canvas->Polyline({POINT{X, Y + 5 - i}, POINT{X + 2, Y + 7 - i}, POINT{X + 7, Y + 2 - i}});
}

void DrawArrowGlyph(TCanvas* Canvas, const RECT& Rect, ArrowDirection Direction, TColor Color,
                    ArrowSize Size) {
  UsePen(Canvas, Color);
  const int cx = CentreX(Rect), cy = CentreY(Rect);
  const int last = Size == ArrowSize::Large ? 5 : 3;
  // Each step is one inclusive column or row; LineTo leaves out its end point.
  for (int i = 0; i <= last; ++i) {
    switch (Direction) {
      case ArrowDirection::Left:
        Line(Canvas, cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1);
        break;
      case ArrowDirection::Right:
        Line(Canvas, cx + 2 - i, cy - i, cx + 2 - i, cy + i + 1);
        break;
      case ArrowDirection::Up:
        Line(Canvas, cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i);
        break;
      case ArrowDirection::Down:
        Line(Canvas, cx - i, cy + 2 - i, cx + i + 1, cy + 2 - i);
        break;
    }
  }
}

void DrawDropMarker(TCanvas* Canvas, const RECT& Rect, TColor Color) {
  UsePen(Canvas, Color);
  const int cx = CentreX(Rect), cy = CentreY(Rect);
  for (int n = 2; n >= 0; --n) Line(Canvas, cx - n, cy + 2 - n, cx + n + 1, cy + 2 - n);
}

}  // namespace lumoa::skin
