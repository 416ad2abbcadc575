#include "skin/draw/text_draw.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "skin/draw/ks_bitmap.h"
#include "skin/draw/platform_entry.h"
#include "skin/draw/stack_blur.h"

namespace lumoa::skin {

namespace {

bool OddFontHeight(TCanvas* canvas) { return (canvas->Font().Height() & 1) != 0; }

// Pixel rows of the bitmap are rewritten by the caller: the bitmap is black, the text drawn
// in pure red, so the red channel is the text's coverage.
struct TextMask {
  TksBitmap bitmap;
  TextMask(TCanvas* source, int width, int height) : bitmap(width, height) {
    bitmap.AlphaBlend = false;
    bitmap.Transparent = false;
    bitmap.FillRect(RECT{0, 0, width, height}, 0);
    TCanvas* c = bitmap.Canvas();
    c->SetFont(source->Font());
    c->Font().SetColor(clRed);
    c->Brush().SetStyle(bsClear);
  }
  void Text(const WideString& text, RECT r, UINT format) {
    DrawWideText(bitmap.Canvas(), text, r, format);
    GdiFlush();
  }
  // Every pixel becomes `color` with its red value as alpha; the result blends.
  void ColourByCoverage(COLORREF color) {
    const uint32_t rgb = ColorToPixel(color) & kColorMask;
    for (int y = 0; y < bitmap.Height(); ++y) {
      DWORD* p = bitmap.ScanLine(y);
      for (int x = 0; x < bitmap.Width(); ++x) p[x] = ((p[x] & 0x00FF0000u) << 8) | rgb;
    }
    bitmap.AlphaBlend = true;
  }
};

// Draws the text itself over whatever was blended beneath, with a clear brush.
void DrawPlainText(TCanvas* canvas, const WideString& text, RECT r, UINT format) {
  canvas->Brush().SetStyle(bsClear);
  DrawWideText(canvas, text, r, format);
}

}  // namespace

int DrawWideText(TCanvas* Canvas, const WideString& Text, RECT& Rect, UINT Format) {
  if (!Canvas) return 0;
  Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC dc = Canvas->Handle();
  int result;
  if (IsNTPlatform()) {
    result = DrawTextW(dc, reinterpret_cast<LPCWSTR>(Text.c_str()), static_cast<int>(Text.size()),
                       &Rect, Format);
  } else {
    const AnsiString ansi = WideToAnsi(Text);
    result = DrawTextA(dc, ansi.c_str(), static_cast<int>(ansi.size()), &Rect, Format);
  }
  return result;
}

int WideTextWidth(TCanvas* Canvas, const WideString& Text) {
  RECT r{0, 0, 0, 0};
  DrawWideText(Canvas, Text, r, DT_CALCRECT);
  return r.right - r.left;
}

int WideTextHeight(TCanvas* Canvas, const WideString& Text) {
  RECT r{0, 0, 0, 0};
  DrawWideText(Canvas, Text, r, DT_CALCRECT);
  return r.bottom - r.top;
}

void EllipsizeText(TCanvas* Canvas, WideString& Text, int MaxWidth) {
  if (WideTextWidth(Canvas, Text) <= MaxWidth) return;
  const WideString dots = WTEXT("...");
  while (!Text.empty()) {
    // A surrogate pair goes as one character.
    const bool pair = Text.size() >= 2 && Text.back() >= 0xDC00 && Text.back() <= 0xDFFF &&
                      Text[Text.size() - 2] >= 0xD800 && Text[Text.size() - 2] <= 0xDBFF;
    Text.resize(Text.size() - (pair ? 2 : 1));
    if (WideTextWidth(Canvas, Text + dots) <= MaxWidth) break;
  }
  Text += dots;
}

void DrawCenteredCaption(TCanvas* Canvas, const AnsiString& Text, RECT Rect) {
  if (!Canvas || Text.empty()) return;
  if (Text[0] == 'W') Rect.right += 2;
  if (OddFontHeight(Canvas)) Rect.top -= 1;
  DrawWideText(Canvas, AnsiToWide(Text), Rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void DrawLeftCaption(TCanvas* Canvas, const AnsiString& Text, RECT Rect) {
  if (!Canvas || Text.empty()) return;
  if (OddFontHeight(Canvas)) Rect.top -= 1;
  DrawWideText(Canvas, AnsiToWide(Text), Rect, DT_SINGLELINE | DT_VCENTER);
}

void DrawCaptionAt(TCanvas* Canvas, const AnsiString& Text, const RECT& Rect, int Offset) {
  if (!Canvas || Text.empty()) return;
  const WideString wide = AnsiToWide(Text);
  int y = Rect.top + (Rect.bottom - Rect.top) / 2 - Canvas->TextExtentW(wide).cy / 2;
  if (OddFontHeight(Canvas)) y -= 1;
  Canvas->TextRectW(Rect, Rect.left + Offset + 2, y, wide);
}

void DrawGlowText(TCanvas* Canvas, const RECT& Rect, const WideString& Text, TColor GlowColor,
                  int GlowSize, int Offset, UINT Format) {
  if (!Canvas) return;
  const int g = std::max(GlowSize, 0);
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (w > 0 && h > 0 && !Text.empty()) {
    TextMask mask(Canvas, w + 2 * g, h + 2 * g);
    mask.Text(Text, RECT{g, g, g + w, g + h}, Format);
    StackBlur(mask.bitmap.Map(), g);
    mask.ColourByCoverage(ColorToRGB(GlowColor));
    mask.bitmap.Draw(Canvas, Rect.left + Offset - g, Rect.top + Offset - g);
  }
  DrawPlainText(Canvas, Text, Rect, Format);
}

void DrawGlowPlateText(TCanvas* Canvas, const RECT& Rect, const WideString& Text,
                       TColor PlateColor, int PlateSize, UINT Format) {
  if (!Canvas) return;
  const int m = std::max(PlateSize, 0);
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (w > 0 && h > 0 && !Text.empty()) {
    TextMask mask(Canvas, w + 2 * m, h + 2 * m);
    const RECT plate = m >= 12 ? RECT{m - 3, m + 2, m + w + 3, m + h - 2}
                               : RECT{m + 3, m + 3, m + w - 3, m + h - 3};
    mask.bitmap.FillRect(plate, ColorToPixel(RGB(255, 0, 0)));
    const POINT offsets[] = {{-1, -1}, {-2, -2}, {-1, 0}, {-2, 0}, {1, 0},
                             {2, 0},   {1, 1},   {2, 2},  {0, 0}};
    for (const POINT& o : offsets)
      mask.Text(Text, RECT{m + o.x, m + o.y, m + w + o.x, m + h + o.y}, Format);
    StackBlur(mask.bitmap.Map(), m / 2);
    StackBlur(mask.bitmap.Map(), m / 2);
    mask.ColourByCoverage(ColorToRGB(PlateColor));
    mask.bitmap.Draw(Canvas, Rect.left - m, Rect.top - m);
  }
  DrawPlainText(Canvas, Text, Rect, Format);
}

void DrawReflectedText(TCanvas* Canvas, const RECT& Rect, const WideString& Text, TColor Color,
                       int Offset, UINT Format) {
  if (!Canvas) return;
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (w > 0 && h > 0 && !Text.empty()) {
    TextMask mask(Canvas, w, h);
    mask.Text(Text, RECT{0, 0, w, h}, Format);
    const int th = mask.bitmap.Canvas()->TextExtentW(Text).cy;
    if (th > 0) {
      const uint32_t rgb = ColorToPixel(ColorToRGB(Color)) & kColorMask;
      for (int y = 0; y < h; ++y) {
        DWORD* p = mask.bitmap.ScanLine(y);
        const double f = y <= th ? std::max(0.0, 0.7 - double(th - y) / th) : 0.0;
        for (int x = 0; x < w; ++x) {
          const auto a = static_cast<uint32_t>(std::lround(((p[x] >> 16) & 0xFF) * f));
          p[x] = a ? (a << 24) | rgb : 0;
        }
      }
      mask.bitmap.FlipVertical();
      mask.bitmap.AlphaBlend = true;
      mask.bitmap.Draw(Canvas, Rect.left, Rect.top + 2 * th + Offset - h);
    }
  }
  DrawPlainText(Canvas, Text, Rect, Format);
}

void DrawDottedFrame(TCanvas* Canvas, const RECT& Rect) {
  if (!Canvas) return;
  const int w = Rect.right - Rect.left - 1, h = Rect.bottom - Rect.top - 1;
  if (w < 0 || h < 0) return;
  HDC dc = Canvas->Handle();
  const COLORREF c = ColorToRGB(Canvas->Font().Color());
  // One walk round the frame; each corner ends one edge and starts the next.
  int phase = (w % 2 == 0 && h % 2 == 0) ? 1 : 0;
  auto edge = [&](int x, int y, int dx, int dy, int n) {
    for (int i = 0; i < n; ++i, x += dx, y += dy, phase ^= 1)
      if (phase == 0) SetPixelV(dc, x, y, c);
  };
  const int l = Rect.left, t = Rect.top;
  edge(l, t, 1, 0, w);
  edge(l + w, t, 0, 1, h);
  edge(l + w, t + h, -1, 0, w);
  edge(l, t + h, 0, -1, h);
}

TColor MidColor(TColor A, TColor B) {
  const COLORREF a = ColorToRGB(A), b = ColorToRGB(B);
  return static_cast<TColor>(RGB((GetRValue(a) + GetRValue(b)) / 2,
                                 (GetGValue(a) + GetGValue(b)) / 2,
                                 (GetBValue(a) + GetBValue(b)) / 2));
}

}  // namespace lumoa::skin
