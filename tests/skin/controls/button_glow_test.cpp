// The layered glow around a hovered button: where it shows, how it is recomposed to the
// button's width, how it fades in, and when it never shows.
#include "button_fixture.h"

#include "skin/draw/bitmap_target.h"

namespace lumoa::skin::button_test {
namespace {

using ButtonGlow = ButtonTest;

uint32_t LayerPixel(HWND layer, int x, int y) {
  return platform::Headless().WindowPixel(platform::NativeWindowOf(layer), x, y);
}

TEST_F(ButtonGlow, ShowsAroundTheHoveredButtonNarrowedToItsWidth) {
  MakeButton("搜索");
  const auto& r = Record();
  ASSERT_NE(r.glowlayerpictureindex, -1);
  EXPECT_EQ(r.glowlayershowoffsetx, 13);
  EXPECT_EQ(r.glowlayershowoffsety, 11);
  EXPECT_EQ(r.glowlayeroffsetleft, 19);
  EXPECT_EQ(r.glowlayeroffsetright, 19);
  TksLayerManager* glow = button->GlowLayer();
  EXPECT_FALSE(glow->Visible());

  Hover();
  ASSERT_TRUE(glow->Visible());
  RECT wr{};
  GetWindowRect(glow->LayerHandle(), &wr);
  const TPoint at = button->ClientToScreen(Point(0, 0));
  TBitmap* picture = skin->ActivePicture(r.glowlayerpictureindex);
  TBitmap* mask = skin->ActivePicture(r.glowlayermaskpictureindex);
  ASSERT_TRUE(picture && mask);
  const int width = picture->Width() - (76 - 59);
  EXPECT_EQ(wr.left, at.x - 13);
  EXPECT_EQ(wr.top, at.y - 11);
  EXPECT_EQ(wr.right - wr.left, width);
  EXPECT_EQ(wr.bottom - wr.top, picture->Height());
  EXPECT_TRUE(IsWindowVisible(glow->LayerHandle()));
  EXPECT_FALSE(GetWindowLongPtrW(glow->LayerHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // Fades in by a tenth of the end opacity every 25 ms.
  EXPECT_EQ(glow->CurrentAlpha(), 0);
  for (int i = 1; i <= 10; ++i) {
    Wait(25, 25);
    EXPECT_EQ(glow->CurrentAlpha(), 25 * i) << "step " << i;
  }
  Wait(25, 25);
  EXPECT_EQ(glow->CurrentAlpha(), 255);
  EXPECT_FALSE(glow->Fading());

  // What shows is the picture recomposed with fixed 19-pixel ends, alpha from the mask.
  TBitmap wantPicture, wantMask;
  const RECT whole{0, 0, picture->Width(), picture->Height()};
  ComposeHorzSkinImage(19, 19, &wantPicture, true, width, picture, whole);
  ComposeHorzSkinImage(19, 19, &wantMask, true, width, mask, whole);
  int mismatches = 0, visible = 0;
  for (int y = 0; y < wantPicture.Height(); ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF m = wantMask.PixelRGB(x, y);
      const uint32_t a = (GetRValue(m) + GetGValue(m) + GetBValue(m) + 1) / 3;
      const COLORREF c = wantPicture.PixelRGB(x, y);
      const uint32_t want = (a << 24) | (std::min<uint32_t>(GetRValue(c), a) << 16) |
                            (std::min<uint32_t>(GetGValue(c), a) << 8) | std::min<uint32_t>(GetBValue(c), a);
      const uint32_t got = LayerPixel(glow->LayerHandle(), x, y);
      if (got >> 24) ++visible;
      if (std::abs(static_cast<int>(got >> 24) - static_cast<int>(a)) > 1 ||
          std::abs(static_cast<int>((got >> 8) & 0xFF) - static_cast<int>((want >> 8) & 0xFF)) > 1)
        ++mismatches;
    }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(visible, width * 10);
  // The ends are the picture's own, unchanged; the face itself is never veiled.
  for (int y = 0; y < picture->Height(); ++y) {
    EXPECT_EQ(wantPicture.PixelRGB(3, y), picture->PixelRGB(3, y));
    EXPECT_EQ(wantPicture.PixelRGB(width - 3, y), picture->PixelRGB(picture->Width() - 3, y));
  }
  EXPECT_EQ(LayerPixel(glow->LayerHandle(), 13 + 29, 11 + 10) >> 24, 0u);

  // The halo never catches the pointer: the form beneath it is what the pointer is over.
  int formMoves = 0;
  form->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++formMoves; };
  ASSERT_GT(LayerPixel(glow->LayerHandle(), 8, 21) >> 24, 0u);
  hb().MoveMouse(wr.left + 8, wr.top + 21);
  Pump();
  EXPECT_EQ(formMoves, 1);

  EXPECT_FALSE(glow->Visible());  // and the button was left for it
  EXPECT_EQ(glow->LayerHandle(), nullptr);
}

TEST_F(ButtonGlow, NinePartRecordStretchesTheGlowBothWays) {
  MakeButton();
  auto& r = const_cast<TksDataSkinButtonControl&>(Record());
  r.lefttoppoint = POINT{7, 3};
  r.righttoppoint = POINT{68, 3};
  r.leftbottompoint = POINT{7, 18};
  r.rightbottompoint = POINT{68, 18};
  button->SetBounds(20, 30, 100, 30);
  ASSERT_EQ(button->Skin().CompositionMode, cmNinePart);
  ASSERT_EQ(button->Height(), 30);
  Hover();
  ASSERT_TRUE(button->GlowLayer()->Visible());
  TBitmap* picture = skin->ActivePicture(r.glowlayerpictureindex);
  RECT wr{};
  GetWindowRect(button->GlowLayer()->LayerHandle(), &wr);
  const TPoint at = button->ClientToScreen(Point(0, 0));
  EXPECT_EQ(wr.left, at.x - 13);
  EXPECT_EQ(wr.top, at.y - 11);
  EXPECT_EQ(wr.right - wr.left, picture->Width() + 100 - 76);
  EXPECT_EQ(wr.bottom - wr.top, picture->Height() + 30 - 21);
}

TEST_F(ButtonGlow, NeverWithoutLayeredWindows) {
  hb().SetLayeredAvailable(false);
  MakeButton();
  Hover();
  Wait(300);
  EXPECT_FALSE(button->GlowLayer()->Visible());
  EXPECT_EQ(button->GlowLayer()->LayerHandle(), nullptr);
  // Everything else still works.
  EXPECT_EQ(button->MorphFactor(), 1.0);
}

TEST_F(ButtonGlow, SwitchedOffBySkinDataUnlessTheButtonInsists) {
  MakeButton();
  skin->ShowButtonGlowFrames = false;
  Hover();
  EXPECT_FALSE(button->GlowLayer()->Visible());
  Leave();
  button->AlwaysShowLayeredFrame = true;
  Hover();
  EXPECT_TRUE(button->GlowLayer()->Visible());
  Leave();
  EXPECT_FALSE(button->GlowLayer()->Visible()) << "leaving takes the glow away in any case";
}

TEST_F(ButtonGlow, TopmostWithAStayOnTopFormAndGoneWithTheSkin) {
  MakeButton();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Hover();
  ASSERT_TRUE(button->GlowLayer()->Visible());
  EXPECT_TRUE(GetWindowLongPtrW(button->GlowLayer()->LayerHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  button->ReleaseSkin();
  EXPECT_FALSE(button->GlowLayer()->Visible());
  button->ApplySkin();  // still hot: the glow comes back
  Pump();
  EXPECT_TRUE(button->GlowLayer()->Visible());
}

TEST_F(ButtonGlow, NoGlowWithoutARecordOrWhenStretchedFreely) {
  MakeButton("", -1);
  Hover();
  EXPECT_FALSE(button->GlowLayer()->Visible());
  Leave();
  LoadSkin(0);
  button->SetSkinData(skin.get());
  button->SetUseSkinSize(false);
  Hover();
  EXPECT_FALSE(button->GlowLayer()->Visible());
}

}  // namespace
}  // namespace lumoa::skin::button_test
