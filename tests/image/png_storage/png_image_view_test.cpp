// The image view on a coloured form of the headless back end, with the shipped logo.
#include "image/png/png_image_view.h"

#include "image/png/png_storage_list.h"
#include "image/png_storage/png_view_fixture.h"
#include "skin/draw/blend.h"
#include "skin/draw/ks_bitmap.h"

namespace pngstore::test {

namespace {

// A windowless control that fills itself with one colour.
class Swatch : public TGraphicControl {
 public:
  Swatch(TComponent* owner, TColor color) : TGraphicControl(owner), FColor(color) {}

 protected:
  void Paint() override {
    Canvas()->Brush().SetStyle(bsSolid);
    Canvas()->Brush().SetColor(FColor);
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
  }

 private:
  TColor FColor;
};

}  // namespace

TEST_F(PngViewTest, LogoEdgeBlendsOverTheFormByStraightAlpha) {
  ASSERT_EQ(logo->Width(), 55);
  ASSERT_EQ(logo->Height(), 55);
  // The logo must have a soft edge for this to mean anything.
  int partial = 0;
  for (int y = 0; y < 55; ++y)
    for (int x = 0; x < 55; ++x) partial += LogoAlpha(x, y) > 0 && LogoAlpha(x, y) < 255;
  ASSERT_GT(partial, 20);

  TksPngImageView* view = MakeView(10, 20);
  EXPECT_EQ(view->Width(), 55);
  EXPECT_EQ(view->Height(), 55);
  EXPECT_EQ(LogoMismatches(10, 20), 0);
  EXPECT_EQ(NonBackground(Rect(0, 0, 10, 160)), 0);

  // Double buffering composes the same picture off screen.
  view->SetDoubleBuffered(true);
  EXPECT_TRUE(view->ControlStyle().Contains(csOpaque));
  Repaint();
  EXPECT_EQ(LogoMismatches(10, 20), 0);
  view->SetDoubleBuffered(false);
  EXPECT_FALSE(view->ControlStyle().Contains(csOpaque));
}

TEST_F(PngViewTest, WindowlessSiblingBeneathShowsThroughWithAndWithoutDoubleBuffering) {
  auto* swatch = new Swatch(form, 0x40C020);  // green 0xC0
  swatch->SetBounds(0, 0, 40, 100);
  swatch->SetParent(form);
  TksPngImageView* view = MakeView(12, 10);
  const auto beneath = [](int x, int) { return x < 40 ? 0x20C040u : kFormRgb; };
  EXPECT_EQ(LogoMismatches(12, 10, true, beneath), 0);
  view->SetDoubleBuffered(true);
  Repaint();
  EXPECT_EQ(LogoMismatches(12, 10, true, beneath), 0);
  view->SetEnabled(false);
  Repaint();
  EXPECT_EQ(LogoMismatches(12, 10, false, beneath), 0);
}

TEST_F(PngViewTest, NoImagePaintsOnlyTheBackground) {
  TksPngImageView* view = MakeView(10, 10, -1);
  EXPECT_EQ(view->Width(), 50);  // nothing to size to
  EXPECT_EQ(NonBackground(Rect(0, 0, 240, 160)), 0);
  view->SetImageIndex(1);  // past the items
  view->SetReflectionEffect(true);
  Repaint();
  EXPECT_EQ(NonBackground(Rect(0, 0, 240, 160)), 0);
  EXPECT_EQ(view->ReflectionBitmap(), nullptr);

  // In the design state only a dashed outline is added.
  view->SetDesigning(true);
  Repaint();
  int top = 0;
  for (int x = 10; x < 10 + view->Width(); ++x) top += Pixel(x, 10) == 0;
  EXPECT_GT(top, view->Width() / 4);
  EXPECT_LT(top, view->Width());
  EXPECT_EQ(NonBackground(Rect(11, 11, 9 + view->Width(), 9 + view->Height())), 0);
}

TEST_F(PngViewTest, AutoSizeFollowsImageAndReflection) {
  TksPngImageView* view = MakeView(0, 0);
  EXPECT_EQ(view->Width(), 55);
  EXPECT_EQ(view->Height(), 55);
  view->SetReflectionEffect(true);
  EXPECT_EQ(view->Width(), 55);
  EXPECT_EQ(view->Height(), 87);
  view->SetReflectionEffect(false);
  EXPECT_EQ(view->Height(), 55);

  // Off, the size stays; switched on again it applies at once.
  view->SetAutoSize(false);
  view->SetBounds(0, 0, 100, 90);
  view->SetReflectionEffect(true);
  EXPECT_EQ(view->Height(), 90);
  view->SetAutoSize(true);
  EXPECT_EQ(view->Height(), 87);

  // A rejected index still runs the rest of the setter.
  view->SetBounds(0, 0, 10, 10);
  view->SetImageIndex(-7);
  EXPECT_EQ(view->ImageIndex(), 0);
  EXPECT_EQ(view->Width(), 55);
  EXPECT_EQ(view->Height(), 87);
}

TEST_F(PngViewTest, CenterPlacesImageAndReflectionInTheMiddle) {
  TksPngImageView* view = MakeView(0, 0);
  view->SetAutoSize(false);
  view->SetBounds(20, 10, 100, 101);
  view->SetCenter(true);
  Repaint();
  // (100 div 2) - (55 div 2) = 23, (101 div 2) - (55 div 2) = 23.
  EXPECT_EQ(LogoMismatches(43, 33), 0);
  EXPECT_EQ(NonBackground(Rect(20, 10, 43, 111)), 0);
  EXPECT_EQ(NonBackground(Rect(20, 10, 120, 33)), 0);

  // With a reflection the block is 55 + 27 high: y = 50 - 41 = 9.
  view->SetReflectionEffect(true);
  EXPECT_EQ(view->Height(), 101);  // auto size is off
  Repaint();
  EXPECT_EQ(LogoMismatches(43, 19), 0);
  EXPECT_GT(NonBackground(Rect(43, 19 + 55, 98, 19 + 55 + 27)), 0);
  EXPECT_EQ(NonBackground(Rect(20, 19 + 55 + 28, 120, 111)), 0);
}

namespace {

// Pixels of a reflection of the logo whose alpha or colour is not the flipped logo's, faded
// by row and divided by Divisor.
int ReflectionMismatches(const TksBitmap& r, int divisor, const TksPngImage& logo) {
  if (r.Width() != 55 || r.Height() != 55) return -1;
  int bad = 0, visible = 0;
  for (int y = 0; y < 55; ++y)
    for (int x = 0; x < 55; ++x) {
      const DWORD p = r.GetPixel(x, y);
      const int expected = ReflectedAlpha(logo.AlphaScanline(54 - y)[x], y, 55, divisor);
      const COLORREF c = logo.Pixels(x, 54 - y);
      bad += static_cast<int>(p >> 24) != expected;
      bad += (p & 0xFFFFFFu) != ((DWORD{GetRValue(c)} << 16) | (GetGValue(c) << 8) | GetBValue(c));
      visible += expected > 0;
    }
  // The faded half must hold a good part of the image, else the check says little.
  return visible > 200 ? bad : -1;
}

}  // namespace

TEST_F(PngViewTest, ReflectionFadesFromAThirdAndIsDrawnBelowTheImage) {
  TksPngImageView* view = MakeView(30, 5);
  view->SetReflectionEffect(true);
  Repaint();
  const TksBitmap* r = view->ReflectionBitmap();
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->Width(), 55);
  ASSERT_EQ(r->Height(), 55);
  EXPECT_EQ(ReflectionMismatches(*r, 3, *logo), 0);
  // On the form: rows below the image are the reflection blended over the form colour.
  int drawn = 0;
  for (int y = 0; y < 27; ++y)
    for (int x = 0; x < 55; ++x) {
      const uint32_t want = lumoa::skin::BlendPixel(0xFF000000u | kFormRgb, r->GetPixel(x, y));
      drawn += Pixel(30 + x, 5 + 55 + y) == (want & 0xFFFFFF);
    }
  EXPECT_EQ(drawn, 55 * 27);
  EXPECT_EQ(NonBackground(Rect(30, 5 + 55 + 28, 85, 5 + 87)), 0);
}

TEST_F(PngViewTest, DisablingHalvesOpacityAndRebuildsReflectionByFour) {
  TksPngImageView* view = MakeView(10, 10);
  view->SetReflectionEffect(true);
  view->SetEnabled(false);
  Repaint();
  EXPECT_EQ(LogoMismatches(10, 10, false), 0);
  // A fully opaque logo pixel drawn disabled is half way to the form colour.
  bool found = false;
  for (int y = 0; y < 55 && !found; ++y)
    for (int x = 0; x < 55 && !found; ++x) {
      if (LogoAlpha(x, y) != 255) continue;
      found = true;
      EXPECT_EQ(Pixel(10 + x, 10 + y), Over(logo->Pixels(x, y), 128, kFormRgb));
      EXPECT_NE(Pixel(10 + x, 10 + y), Over(logo->Pixels(x, y), 255, kFormRgb));
    }
  EXPECT_TRUE(found);

  ASSERT_NE(view->ReflectionBitmap(), nullptr);
  EXPECT_EQ(ReflectionMismatches(*view->ReflectionBitmap(), 4, *logo), 0);

  view->SetEnabled(true);
  Repaint();
  EXPECT_EQ(LogoMismatches(10, 10), 0);
  EXPECT_EQ(ReflectionMismatches(*view->ReflectionBitmap(), 3, *logo), 0);
}

TEST_F(PngViewTest, DeletingTheStorageLeavesNothingToDraw) {
  TksPngImageView* view = MakeView(10, 10);
  view->SetReflectionEffect(true);
  Repaint();
  ASSERT_GT(NonBackground(Rect(10, 10, 65, 97)), 0);
  storage->Free();
  EXPECT_EQ(view->PngImageStorage(), nullptr);
  EXPECT_EQ(view->ReflectionBitmap(), nullptr);
  Repaint();
  EXPECT_EQ(NonBackground(Rect(0, 0, 240, 160)), 0);
  view->SetImageIndex(0);
  view->SetReflectionEffect(false);
  Repaint();
  EXPECT_EQ(NonBackground(Rect(0, 0, 240, 160)), 0);
}

TEST_F(PngViewTest, ImageListSourceDrawsInTheListSize) {
  auto* list = new TksPngImageList(form);
  list->SetPngWidth(30);
  list->SetPngHeight(20);
  TksPngImage red;
  MakeRgba(red, 3, 2, [](int, int, COLORREF& c, uint8_t& a) { c = RGB(255, 0, 0), a = 255; });
  list->PngImages()->Add()->SetPngImage(&red);

  auto* view = new TksPngImageView(form);
  view->SetBounds(5, 5, 50, 50);
  view->SetParent(form);
  view->SetImageIndex(0);
  view->SetPngImageList(list);
  EXPECT_EQ(view->Width(), 30);
  EXPECT_EQ(view->Height(), 20);
  view->SetReflectionEffect(true);
  EXPECT_EQ(view->Height(), 20 + 10 + 5);
  view->SetReflectionEffect(false);
  Repaint();
  EXPECT_EQ(Pixel(5, 5), 0xFF0000u);
  EXPECT_EQ(Pixel(34, 24), 0xFF0000u);
  EXPECT_EQ(NonBackground(Rect(5, 25, 40, 60)), 0);

  // The storage comes first when it has the item.
  view->SetPngImageStorage(storage);
  EXPECT_EQ(view->Width(), 55);
  Repaint();
  EXPECT_EQ(LogoMismatches(5, 5), 0);

  view->SetPngImageStorage(nullptr);
  list->Free();
  EXPECT_EQ(view->PngImageList(), nullptr);
  Repaint();
  EXPECT_EQ(NonBackground(Rect(0, 0, 240, 160)), 0);
}

TEST_F(PngViewTest, MouseEnterAndLeaveOnlyWhenEnabledAndNotDesigning) {
  TksPngImageView* view = MakeView(10, 10);
  int enters = 0, leaves = 0;
  view->OnMouseEnter = [&](TObject*) { ++enters; };
  view->OnMouseLeave = [&](TObject*) { ++leaves; };
  const TPoint in = view->ClientToScreen(Point(20, 20));
  const TPoint out = form->ClientToScreen(Point(200, 140));
  hb().MoveMouse(in.x, in.y);
  Pump();
  EXPECT_EQ(enters, 1);
  // Disabled under the pointer: leaving is not reported.
  view->SetEnabled(false);
  hb().MoveMouse(out.x, out.y);
  Pump();
  EXPECT_EQ(leaves, 0);

  view->SetEnabled(true);
  view->SetDesigning(true);
  view->Perform(CM_MOUSEENTER);
  view->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 0);
  view->SetDesigning(false);
  view->Perform(CM_MOUSEENTER);
  view->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(enters, 2);
  EXPECT_EQ(leaves, 1);
  // The handlers stay assigned after being held back.
  EXPECT_TRUE(view->OnMouseEnter && view->OnMouseLeave);
}

TEST_F(PngViewTest, LoadingDefersReflectionAndSizeUntilLoaded) {
  auto* view = new TksPngImageView(form);
  view->SetComponentState(csLoading, true);
  view->SetReflectionEffect(true);
  view->SetImageIndex(0);
  view->SetPngImageStorage(storage);
  EXPECT_EQ(view->Height(), 50);
  EXPECT_EQ(view->ReflectionBitmap(), nullptr);
  view->SetComponentState(csLoading, false);
  view->Loaded();
  EXPECT_EQ(view->Height(), 87);
  EXPECT_NE(view->ReflectionBitmap(), nullptr);
}

TEST_F(PngViewTest, Screenshots) {
  auto* swatch = new Swatch(form, 0xF0F0F0);
  swatch->SetBounds(184, 0, 56, 160);
  swatch->SetParent(form);
  TksPngImageView* a = MakeView(8, 8);
  TksPngImageView* b = MakeView(68, 8);
  TksPngImageView* c = MakeView(128, 8);
  TksPngImageView* d = MakeView(188, 8);
  b->SetReflectionEffect(true);
  c->SetEnabled(false);
  d->SetReflectionEffect(true);
  d->SetEnabled(false);
  d->SetDoubleBuffered(true);
  Repaint();
  EXPECT_EQ(LogoMismatches(8, 8), 0);
  SaveShot("png_image_view", Rect(0, 0, 240, 104));
  (void)a;
}

}  // namespace pngstore::test
