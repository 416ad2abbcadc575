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
