#include "ui/image_list.h"

#include <gtest/gtest.h>

TEST(ImageList, MaskedImagesLeaveTheBackgroundWhereTransparent) {
  TComponentPtr<TImageList> list(new TImageList(nullptr));
  list->SetSize(2, 2);
  TBitmap img(2, 2, pf24bit);
  img.Canvas()->Brush().SetColor(clFuchsia);
  img.Canvas()->FillRect(Rect(0, 0, 2, 2));
  img.Canvas()->SetPixel(0, 0, clRed);
  EXPECT_EQ(list->AddMasked(&img, clFuchsia), 0);
  EXPECT_EQ(list->Add(&img, nullptr), 1);
  EXPECT_EQ(list->Count(), 2);

  TBitmap dst(4, 2, pf24bit);
  dst.Canvas()->Brush().SetColor(clGreen);
  dst.Canvas()->FillRect(Rect(0, 0, 4, 2));
  list->Draw(dst.Canvas(), 0, 0, 0);
  list->Draw(dst.Canvas(), 2, 0, 1);
  list->Draw(dst.Canvas(), 2, 0, 7);  // out of range: nothing
  EXPECT_EQ(dst.PixelRGB(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dst.PixelRGB(1, 1), RGB(0, 128, 0));
  EXPECT_EQ(dst.PixelRGB(3, 1), RGB(255, 0, 255));  // unmasked copy is opaque

  list->Delete(0);
  EXPECT_EQ(list->Count(), 1);
  EXPECT_THROW(list->Delete(3), EListError);
  list->SetSize(3, 3);
  EXPECT_EQ(list->Count(), 0);
}

TEST(ImageList, DisabledImagesAreDrawnEngravedInsideTheirRectangle) {
  TComponentPtr<TImageList> list(new TImageList(nullptr));
  list->SetSize(3, 3);
  // A red pixel at (0, 0) and a white one at (2, 2); the fuchsia rest is transparent.
  TBitmap img(3, 3, pf24bit);
  img.Canvas()->Brush().SetColor(clFuchsia);
  img.Canvas()->FillRect(Rect(0, 0, 3, 3));
  img.Canvas()->SetPixel(0, 0, clRed);
  img.Canvas()->SetPixel(2, 2, clWhite);
  list->AddMasked(&img, clFuchsia);

  TBitmap dst(5, 5, pf24bit);
  dst.Canvas()->Brush().SetColor(clGreen);
  dst.Canvas()->FillRect(Rect(0, 0, 5, 5));
  list->Draw(dst.Canvas(), 1, 1, 0, false);
  const COLORREF green = RGB(0, 128, 0);
  EXPECT_EQ(dst.PixelRGB(1, 1), ColorToRGB(clBtnShadow)) << "the shape in the shadow colour";
  EXPECT_EQ(dst.PixelRGB(2, 2), ColorToRGB(clBtnHighlight)) << "its highlight, down and right";
  EXPECT_EQ(dst.PixelRGB(3, 3), green) << "white pixels are no part of the shape";
  EXPECT_EQ(dst.PixelRGB(2, 1), green) << "transparent pixels stay transparent";
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(dst.PixelRGB(4, i), green) << "nothing right of the rectangle, row " << i;
    EXPECT_EQ(dst.PixelRGB(i, 4), green) << "nothing below the rectangle, column " << i;
  }

  // An unmasked image: every pixel but the white one belongs to the shape.
  TComponentPtr<TImageList> plain(new TImageList(nullptr));
  plain->SetSize(3, 3);
  plain->Add(&img, nullptr);
  dst.Canvas()->FillRect(Rect(0, 0, 5, 5));
  plain->Draw(dst.Canvas(), 1, 1, 0, false);
  EXPECT_EQ(dst.PixelRGB(2, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(dst.PixelRGB(3, 3), ColorToRGB(clBtnHighlight)) << "highlight of (1, 1) over white";
}
