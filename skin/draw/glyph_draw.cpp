#include "skin/draw/glyph_draw.h"

#include <functional>

namespace lumoa::skin {

namespace {

constexpr UINT kCaptionFormat = DT_EXPANDTABS | DT_WORDBREAK;

bool Vertical(TksGlyphLayout layout) { return layout == glGlyphTop || layout == glGlyphBottom; }

void FillColor(TCanvas* canvas, const RECT& r, TColor color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  FillRect(canvas->Handle(), &r, brush);
  DeleteObject(brush);
}

// What both painters share: caption measuring, layout, the caption and the mark. DrawGlyph
// draws the glyph at its place; MarkWidth is the span of the lines under the glyph.
void DrawGlyphAndCaption(TCanvas* canvas, const RECT& rect, int margin, TColor markColor,
                         GlyphMark mark, PressedShift shift, SIZE glyph, int markWidth,
                         const std::function<void(POINT)>& drawGlyph, const AnsiString& caption,
                         TksGlyphLayout layout, int spacing, const RECT& emptyMarkShifted) {
  HDC dc = canvas->Handle();
  SIZE text{0, 0};
  if (!caption.empty()) {
    RECT r{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    if (Vertical(layout)) {
      r.bottom -= glyph.cy;
    } else {
      r.right -= glyph.cx;
    }
    canvas->RequiredState({csHandleValid, csFontValid});
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_CALCRECT | kCaptionFormat);
    text = SIZE{r.right - r.left, r.bottom - r.top};
  }
  canvas->Brush().SetStyle(bsClear);
  GlyphCaptionPlace place = LayoutGlyphAndCaption(layout, rect, glyph, text, margin, spacing);
  if (shift == PressedShift::Shift) {
    place.Glyph.x += 1, place.Glyph.y += 1;
    place.Caption.x += 1, place.Caption.y += 1;
  }
  RECT captionRect{place.Caption.x, place.Caption.y, place.Caption.x + text.cx + 2,
                   place.Caption.y + text.cy};
  if (!caption.empty()) {
    RECT r = captionRect;
    if (canvas->Font().Height() & 1) r.top -= 1;
    canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              kCaptionFormat | DT_VCENTER | DT_CENTER);
  }
  const bool hasGlyph = glyph.cx > 0 && glyph.cy > 0;
  if (hasGlyph) drawGlyph(place.Glyph);
  if (mark != GlyphMark::Show) return;
  if (hasGlyph) {
    const int y = place.Glyph.y + glyph.cy;
    FillColor(canvas, RECT{place.Glyph.x, y - 2, place.Glyph.x + markWidth, y + 1}, markColor);
    return;
  }
  if (!caption.empty()) {
    const int y = captionRect.bottom;
    FillColor(canvas, RECT{captionRect.left, y - 1, captionRect.left + text.cx, y + 2}, markColor);
    return;
  }
  FillColor(canvas, emptyMarkShifted, markColor);
}

}  // namespace

GlyphCaptionPlace LayoutGlyphAndCaption(TksGlyphLayout Layout, const RECT& Rect, SIZE GlyphSize,
                                        SIZE CaptionSize, int Margin, int Spacing) {
  const int gw = GlyphSize.cx, gh = GlyphSize.cy;
  const int tw = CaptionSize.cx, th = CaptionSize.cy;
  if (gw == 0) Spacing = 0;
  const int cx = Rect.left + (Rect.right - Rect.left) / 2;
  const int cy = Rect.top + (Rect.bottom - Rect.top) / 2;
  GlyphCaptionPlace p{};
  if (Vertical(Layout)) {
    p.Glyph.x = cx - gw / 2;
    p.Caption.x = cx - tw / 2;
  } else {
    p.Glyph.y = cy - gh / 2;
    p.Caption.y = cy - th / 2;
  }
  if (Margin == -1) {
    const int hw = (gw + tw + Spacing) / 2;
    const int hh = (th + gh + Spacing) / 2;
    switch (Layout) {
      case glGlyphLeft:
        p.Glyph.x = cx - hw;
        p.Caption.x = cx + hw - tw;
        break;
      case glGlyphRight:
        p.Caption.x = cx - hw;
        p.Glyph.x = cx + hw - gw;
        break;
      case glGlyphTop:
        p.Glyph.y = cy - hh;
        p.Caption.y = cy + hh - th;
        break;
      case glGlyphBottom:
        p.Caption.y = cy - hh;
        p.Glyph.y = cy + hh - gh;
        break;
    }
    return p;
  }
  switch (Layout) {
    case glGlyphLeft:
      p.Glyph.x = Rect.left + Margin;
      p.Caption.x = Rect.left + Margin + gw + Spacing;
      break;
    case glGlyphRight:
      p.Glyph.x = Rect.right - gw - Margin;
      p.Caption.x = p.Glyph.x - Spacing - tw;
      break;
    case glGlyphTop:
      p.Glyph.y = Rect.top + Margin;
      p.Caption.y = p.Glyph.y + gh + Spacing;
      break;
    case glGlyphBottom:
      p.Glyph.y = Rect.bottom - gh - Margin;
      p.Caption.y = p.Glyph.y - Spacing - th;
      break;
  }
  return p;
}

void DrawImageGlyphAndCaption(TCanvas* Canvas, const RECT& Rect, int Margin, TColor MarkColor,
                              GlyphMark Mark, bool Enabled, PressedShift Shift,
                              TImageList* Images, int ImageIndex, const AnsiString& Caption,
                              TksGlyphLayout Layout, int Spacing) {
  if (!Canvas) return;
  SIZE glyph{0, 0};
  if (Images && ImageIndex >= 0 && ImageIndex < Images->Count())
    glyph = SIZE{Images->Width(), Images->Height()};
  const RECT fill{Rect.left + 4, Rect.top + 4, Rect.right - 2, Rect.bottom - 4};
  DrawGlyphAndCaption(
      Canvas, Rect, Margin, MarkColor, Mark, Shift, glyph, glyph.cx,
      [&](POINT at) { Images->Draw(Canvas, at.x, at.y, ImageIndex, Enabled); }, Caption, Layout,
      Spacing, fill);
}

void DrawStripGlyphAndCaption(TCanvas* Canvas, const RECT& Rect, int Margin, TColor MarkColor,
                              GlyphMark Mark, PressedShift Shift, int GlyphNum, int NumGlyphs,
                              TBitmap* Strip, const AnsiString& Caption, TksGlyphLayout Layout,
                              int Spacing) {
  if (!Canvas) return;
  SIZE glyph{0, 0};
  if (Strip && !Strip->Empty() && NumGlyphs > 0)
    glyph = SIZE{Strip->Width() / NumGlyphs, Strip->Height()};
  const RECT fill = Shift == PressedShift::Shift
                        ? RECT{Rect.left + 4, Rect.top + 5, Rect.right - 2, Rect.bottom - 3}
                        : RECT{Rect.left + 4, Rect.top + 4, Rect.right - 2, Rect.bottom - 4};
  DrawGlyphAndCaption(
      Canvas, Rect, Margin, MarkColor, Mark, Shift, glyph, glyph.cx,
      [&](POINT at) { DrawStripGlyph(Canvas, at.x, at.y, GlyphNum, NumGlyphs, Strip); },
      Caption, Layout, Spacing, fill);
}

void DrawStripGlyph(TCanvas* Canvas, int X, int Y, int GlyphNum, int NumGlyphs, TBitmap* Strip) {
  if (!Canvas || !Strip || Strip->Empty() || NumGlyphs <= 0) return;
  if (GlyphNum < 1 || GlyphNum > NumGlyphs) return;
  const int gw = Strip->Width() / NumGlyphs, gh = Strip->Height();
  if (gw <= 0) return;
  TBitmap glyph(gw, gh, pf32bit);
  BitBlt(glyph.Canvas()->Handle(), 0, 0, gw, gh, Strip->Canvas()->Handle(), (GlyphNum - 1) * gw,
         0, SRCCOPY);
  glyph.SetTransparent(true);
  Canvas->Draw(X, Y, &glyph);
}

}  // namespace lumoa::skin
