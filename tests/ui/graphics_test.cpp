#include "ui/graphics.h"

#include <gtest/gtest.h>

#include "ui/bitmap.h"

TEST(Font, HeightAndSizeConvertAtNinetySixPixelsPerInch) {
  TFont f;
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Size(), 8);
  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);
  f.SetSize(9);
  EXPECT_EQ(f.Height(), -12);
  f.SetHeight(14);  // a cell height gives a negative size
  EXPECT_EQ(f.Size(), -11);
  EXPECT_EQ(MulDivRound(-7, 3, 2), -11);
}

TEST(Font, ChangesNotifyAndTheLogicalFontFollows) {
  TFont f;
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetName("Arial");
  f.SetHeight(14);
  f.SetStyle({fsBold, fsUnderline});
  f.SetCharset(134);
  f.SetHeight(14);  // unchanged: no event
  EXPECT_EQ(changes, 4);
  const LOGFONTW lf = f.LogFont();
  EXPECT_EQ(lf.lfHeight, 14);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfCharSet, 134);
  EXPECT_EQ(std::u16string(lf.lfFaceName), u"Arial");

  TFont g;
  g.Assign(&f);
  EXPECT_EQ(g.Name(), "Arial");
  EXPECT_EQ(g.Style(), (TFontStyles{fsBold, fsUnderline}));
  TBrush b;
  EXPECT_THROW(g.Assign(&b), EConvertError);
}

TEST(Brush, ColouringAClearBrushMakesItSolid) {
  TBrush b;
  b.SetStyle(bsClear);
  b.SetColor(clRed);
  EXPECT_EQ(b.Style(), bsSolid);
  EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
}

TEST(Canvas, FillFrameLineAndPixelsOnABitmap) {
  TBitmap bmp(6, 5, pf24bit);
  TCanvas* c = bmp.Canvas();
  c->Brush().SetColor(clWhite);
  c->FillRect(Rect(0, 0, 6, 5));
  c->Brush().SetColor(static_cast<TColor>(RGB(10, 20, 30)));
  c->FillRect(Rect(1, 1, 3, 3));
  EXPECT_EQ(bmp.PixelRGB(1, 1), RGB(10, 20, 30));
  EXPECT_EQ(bmp.PixelRGB(2, 2), RGB(10, 20, 30));
  EXPECT_EQ(bmp.PixelRGB(3, 3), RGB(255, 255, 255));  // right and bottom are exclusive
  EXPECT_EQ(bmp.ScanLine(1)[3], 30);                   // blue, green, red in memory

  c->Brush().SetColor(clBlue);
  c->FrameRect(Rect(3, 0, 6, 3));
  EXPECT_EQ(bmp.PixelRGB(3, 0), RGB(0, 0, 255));
  EXPECT_EQ(bmp.PixelRGB(5, 2), RGB(0, 0, 255));
  EXPECT_EQ(bmp.PixelRGB(4, 1), RGB(255, 255, 255));  // inside stays

  c->Pen().SetColor(clRed);
  c->MoveTo(0, 4);
  c->LineTo(4, 4);  // the end point is not drawn
  EXPECT_EQ(bmp.PixelRGB(0, 4), RGB(255, 0, 0));
  EXPECT_EQ(bmp.PixelRGB(3, 4), RGB(255, 0, 0));
  EXPECT_EQ(bmp.PixelRGB(4, 4), RGB(255, 255, 255));
  EXPECT_EQ(c->PenPos().x, 4);

  c->SetPixel(5, 4, clLime);
  EXPECT_EQ(c->Pixel(5, 4), static_cast<TColor>(RGB(0, 255, 0)));

  // Changing the pixels behind the canvas keeps it usable.
  bmp.SetSize(8, 8);
  c->Brush().SetColor(clBlack);
  c->FillRect(Rect(7, 7, 8, 8));
  EXPECT_EQ(bmp.PixelRGB(7, 7), 0u);
}

TEST(Canvas, CopyRectAndDrawBetweenBitmaps) {
  TBitmap src(2, 2, pf32bit);
  src.Canvas()->Brush().SetColor(clYellow);
  src.Canvas()->FillRect(Rect(0, 0, 2, 2));
  TBitmap dst(4, 4, pf24bit);
  dst.Canvas()->Draw(1, 1, &src);
  EXPECT_EQ(dst.PixelRGB(1, 1), RGB(255, 255, 0));
  EXPECT_EQ(dst.PixelRGB(2, 2), RGB(255, 255, 0));
  EXPECT_EQ(dst.PixelRGB(3, 3), 0u);
  dst.Canvas()->CopyRect(Rect(0, 0, 4, 1), src.Canvas(), Rect(0, 0, 2, 1));  // stretched
  EXPECT_EQ(dst.PixelRGB(3, 0), RGB(255, 255, 0));

  // A transparent bitmap leaves its key colour's pixels alone.
  TBitmap key(2, 1, pf24bit);
  key.Canvas()->Brush().SetColor(clFuchsia);
  key.Canvas()->FillRect(Rect(0, 0, 2, 1));
  key.Canvas()->SetPixel(1, 0, clRed);
  key.SetTransparent(true);
  key.SetTransparentColor(clFuchsia);
  dst.Canvas()->Draw(2, 3, &key);
  EXPECT_EQ(dst.PixelRGB(2, 3), 0u);
  EXPECT_EQ(dst.PixelRGB(3, 3), RGB(255, 0, 0));
}
