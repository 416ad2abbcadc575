// TksPngImage as a framework graphic: drawing onto canvases, conversion to and from TBitmap.
#include <gtest/gtest.h>

#include <cstring>

#include "image/png/png_ancillary.h"
#include "image/png/png_image.h"
#include "ui/bitmap.h"
#include "ui/streams.h"

namespace {

// A 32-bit framework bitmap filled with one colour.
std::unique_ptr<TBitmap> Filled(int w, int h, COLORREF c) {
  auto b = std::make_unique<TBitmap>(w, h, pf32bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b->ScanLine(y) + x * 4;
      p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c), p[3] = 0;
    }
  return b;
}

void Reload(TksPngImage& img) {
  TMemoryStream s;
  img.SaveToStream(s);
  s.SetPosition(0);
  img.LoadFromStream(s);
}

TEST(PngGraphic, DrawsThroughTheCanvasInEachMode) {
  TksPngImage img;
  img.CreateBlank(6, 8, 2, 1);
  img.SetPixels(0, 0, RGB(200, 100, 50));
  img.SetPixels(1, 0, RGB(0, 0, 255));
  img.AlphaScanline(0)[0] = 128;
  img.AlphaScanline(0)[1] = 0;
  TGraphic* g = &img;
  EXPECT_TRUE(g->Transparent());

  auto dest = Filled(6, 3, RGB(10, 20, 30));
  // Twice the size: each source pixel covers 2 x 2; the hidden one leaves the background.
  dest->Canvas()->StretchDraw(Rect(1, 1, 5, 3), g);
  EXPECT_EQ(dest->PixelRGB(0, 1), RGB(10, 20, 30));
  EXPECT_EQ(dest->PixelRGB(1, 1), RGB(105, 60, 40));
  EXPECT_EQ(dest->PixelRGB(2, 2), RGB(105, 60, 40));
  EXPECT_EQ(dest->PixelRGB(3, 1), RGB(10, 20, 30));
  EXPECT_EQ(dest->PixelRGB(4, 2), RGB(10, 20, 30));
  EXPECT_EQ(dest->PixelRGB(1, 0), RGB(10, 20, 30));

  // The window origin and the clip region of the DC are honoured.
  auto moved = Filled(4, 2, RGB(0, 0, 0));
  HDC dc = moved->Canvas()->Handle();
  SetWindowOrgEx(dc, 10, 0, nullptr);
  IntersectClipRect(dc, 10, 0, 11, 2);
  img.AlphaScanline(0)[0] = 255;
  img.AlphaScanline(0)[1] = 255;
  moved->Canvas()->Draw(10, 0, &img);
  EXPECT_EQ(moved->PixelRGB(0, 0), RGB(200, 100, 50));
  EXPECT_EQ(moved->PixelRGB(1, 0), RGB(0, 0, 0));  // clipped away

  // Mode none covers the rectangle whatever lies beneath.
  img.CreateBlank(2, 8, 1, 1);
  img.SetPixels(0, 0, RGB(1, 2, 3));
  EXPECT_FALSE(g->Transparent());
  auto plain = Filled(2, 2, RGB(90, 90, 90));
  plain->Canvas()->StretchDraw(Rect(0, 0, 2, 2), &img);
  EXPECT_EQ(plain->PixelRGB(1, 1), RGB(1, 2, 3));
}

TEST(PngGraphic, AssignToBitmapKeepsTheFormatItCan) {
  TksPngImage img;
  TBitmap bmp;

  // 8-bit palette: indices and colour table carry over.
  img.CreateBlank(3, 8, 3, 2);
  std::vector<RGBQUAD> pal(256);
  pal[7] = RGBQUAD{1, 2, 3, 0};
  pal[9] = RGBQUAD{40, 50, 60, 0};
  img.SetPalette(pal);
  img.Scanline(0)[0] = 7;
  img.Scanline(1)[2] = 9;
  img.AssignTo(&bmp);
  EXPECT_EQ(bmp.PixelFormat(), pf8bit);
  EXPECT_EQ(bmp.ScanLine(0)[0], 7);
  EXPECT_EQ(bmp.PixelRGB(2, 1), RGB(60, 50, 40));
  EXPECT_FALSE(bmp.Transparent());

  // One fully transparent entry: mode bit makes the bitmap transparent in that colour.
  img.AddAlpha();
  uint8_t table[8] = {255, 255, 255, 255, 255, 255, 255, 0};
  img.Chunks().Find<TksPngLayertRNS>()->SetTable(table, 8);
  ASSERT_EQ(img.TransparencyMode(), ptmBit);
  img.AssignTo(&bmp);
  EXPECT_TRUE(bmp.Transparent());
  EXPECT_EQ(ColorToRGB(bmp.TransparentColor()), RGB(3, 2, 1));

  // Two-bit grey becomes four bits per pixel with the grey levels.
  img.CreateBlank(0, 2, 4, 1);
  img.SetPixels(3, 0, RGB(255, 255, 255));
  img.SetPixels(1, 0, RGB(85, 85, 85));
  img.AssignTo(&bmp);
  EXPECT_EQ(bmp.PixelFormat(), pf4bit);
  EXPECT_EQ(bmp.PixelRGB(3, 0), RGB(255, 255, 255));
  EXPECT_EQ(bmp.PixelRGB(1, 0), RGB(85, 85, 85));
  EXPECT_EQ(bmp.PixelRGB(0, 0), RGB(0, 0, 0));

  // 16-bit grey: 24 bits from the high bytes.
  img.CreateBlank(0, 16, 2, 1);
  img.Scanline(0)[1] = 0x80;
  img.AssignTo(&bmp);
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  EXPECT_EQ(bmp.PixelRGB(1, 0), RGB(0x80, 0x80, 0x80));

  // Partial transparency: 24 bits, blended onto black.
  img.CreateBlank(6, 8, 2, 1);
  img.SetPixels(0, 0, RGB(200, 100, 50));
  img.SetPixels(1, 0, RGB(200, 100, 50));
  img.AlphaScanline(0)[0] = 128;
  img.AlphaScanline(0)[1] = 255;
  img.AssignTo(&bmp);
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  EXPECT_EQ(bmp.PixelRGB(0, 0), RGB(100, 50, 25));
  EXPECT_EQ(bmp.PixelRGB(1, 0), RGB(200, 100, 50));

  // An empty image empties the bitmap; other destinations are refused.
  img.Clear();
  img.AssignTo(&bmp);
  EXPECT_TRUE(bmp.Empty());
  TksPngImage other;
  EXPECT_THROW(other.AssignTo(bmp.Canvas()), EConvertError);
}

TEST(PngGraphic, AssignFromBitmap) {
  // Indexed bitmaps become palette images of their depth with a PLTE of 2^depth entries.
  TBitmap four(3, 2, pf4bit);
  std::vector<RGBQUAD> table = DefaultColorTable(4);
  four.SetColorTable(table);
  four.ScanLine(0)[0] = 0xC1;  // pixels 0 and 1: entries 12 and 1
  four.ScanLine(1)[1] = 0x09;  // pixel 2 of row 1: entry 9
  four.SetTransparentColor(static_cast<TColor>(RGB(table[9].rgbRed, table[9].rgbGreen,
                                                   table[9].rgbBlue)));
  four.SetTransparent(true);
  TksPngImage img;
  img.Assign(&four);
  ASSERT_NE(img.Header(), nullptr);
  EXPECT_EQ(img.Header()->ColorType, 3);
  EXPECT_EQ(img.Header()->BitDepth, 4);
  EXPECT_EQ(img.Chunks().Find<TksPngLayerPLTE>()->Count, 16);
  Reload(img);
  EXPECT_EQ(img.Pixels(0, 0), four.PixelRGB(0, 0));
  EXPECT_EQ(img.Pixels(1, 0), four.PixelRGB(1, 0));
  EXPECT_EQ(img.Pixels(2, 1), four.PixelRGB(2, 1));
  // The key colour's entry is the only transparent one: entries before it stay opaque.
  const auto* trns = img.Chunks().Find<TksPngLayertRNS>();
  ASSERT_NE(trns, nullptr);
  EXPECT_EQ(trns->Length, 10u);
  EXPECT_EQ(trns->PaletteValues[9], 0);
  EXPECT_EQ(trns->PaletteValues[8], 255);
  EXPECT_EQ(img.TransparencyMode(), ptmBit);

  // 32-bit bitmaps become 8-bit RGB; a transparent one keys its colour as 16-bit samples.
  auto rgb = Filled(2, 2, RGB(5, 6, 7));
  rgb->ScanLine(1)[4] = 200;  // blue of (1, 1)
  rgb->SetTransparentColor(static_cast<TColor>(RGB(5, 6, 7)));
  rgb->SetTransparent(true);
  img.Assign(rgb.get());
  EXPECT_EQ(img.Header()->ColorType, 2);
  EXPECT_EQ(img.Header()->BitDepth, 8);
  Reload(img);
  EXPECT_EQ(img.Pixels(1, 1), RGB(5, 6, 200));
  EXPECT_EQ(img.TransparencyMode(), ptmBit);
  EXPECT_EQ(img.TransparentColor(), RGB(5, 6, 7));
  EXPECT_TRUE(static_cast<TGraphic&>(img).Transparent());

  // A bitmap with no pixels clears the image.
  TBitmap empty;
  img.Assign(&empty);
  EXPECT_TRUE(img.Empty());
}

}  // namespace
