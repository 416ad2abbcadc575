// Storage items, the semi-transparent copy of disabled drawing, and the PNG image list.
#include "image/png/png_storage.h"

#include "image/png/png_ancillary.h"
#include "image/png/png_storage_list.h"
#include "image/png_storage/png_view_fixture.h"
#include "ui/bitmap.h"

namespace pngstore::test {

namespace {

using lumoa::png::MakeSemiTransparent;

// 0xRRGGBB of a 32-bit framework bitmap's pixel.
uint32_t At(const TBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + x * 4;
  return (uint32_t{p[2]} << 16) | (p[1] << 8) | p[0];
}

void Fill(TBitmap& b, uint32_t rgb) {
  for (int y = 0; y < b.Height(); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(b.ScanLine(y));
    for (int x = 0; x < b.Width(); ++x) row[x] = rgb;
  }
}

TEST(PngStorageItems, NamesCopiesAndSizes) {
  TComponentPtr<TksPngImageStorage> storage(new TksPngImageStorage(nullptr));
  TksPngStorageImageItems* items = storage->PngImages();
  EXPECT_EQ(items->GetOwner(), storage.get());
  TksPngStorageImageItem* first = items->Add();
  TksPngStorageImageItem* second = items->Add();
  EXPECT_EQ(first->Name(), "PngImage0");
  EXPECT_EQ(second->DisplayName(), "PngImage1");
  second->SetName("");
  EXPECT_EQ(second->DisplayName(), "TksPngStorageImageItem");

  TksPngImage logo;
  LoadLogo(logo);
  first->SetPngImage(&logo);
  EXPECT_EQ(first->PngWidth(), 55);
  EXPECT_EQ(first->PngHeight(), 55);
  logo.Clear();  // the item keeps its own copy
  EXPECT_EQ(first->PngWidth(), 55);

  second->Assign(first);
  EXPECT_EQ(second->Name(), "PngImage0");
  EXPECT_NE(second->PngImage(), first->PngImage());
  EXPECT_EQ(second->PngImage()->Pixels(27, 27), first->PngImage()->Pixels(27, 27));

  TComponentPtr<TksPngImageStorage> other(new TksPngImageStorage(nullptr));
  other->PngImages()->Add();
  other->SetPngImages(items);
  ASSERT_EQ(other->PngImages()->Count(), 2);
  EXPECT_EQ(other->PngImages()->Items(1)->PngHeight(), 55);
  second->SetPngImage(nullptr);
  EXPECT_TRUE(second->PngImage()->Empty());
  EXPECT_EQ(other->PngImages()->Items(1)->PngHeight(), 55);
}

TEST(PngStorageDraw, ItemAtItsSizeEnabledOrHalfTransparent) {
  TComponentPtr<TksPngImageStorage> storage(new TksPngImageStorage(nullptr));
  MakeRgba(*storage->PngImages()->Add()->PngImage(), 3, 2,
           [](int x, int, COLORREF& c, uint8_t& a) { c = RGB(0, 0, 255), a = x == 2 ? 0 : 255; });
  TBitmap target(8, 8, pf32bit);
  Fill(target, 0xFFFFFF);
  storage->Draw(target.Canvas(), 4, 5, 0);
  storage->Draw(target.Canvas(), 0, 0, 0, false);
  storage->Draw(target.Canvas(), 0, 0, 1);   // no such item
  storage->Draw(target.Canvas(), 0, 0, -1);
  EXPECT_EQ(At(target, 4, 5), 0x0000FFu);
  EXPECT_EQ(At(target, 5, 6), 0x0000FFu);
  EXPECT_EQ(At(target, 6, 5), 0xFFFFFFu);  // clear column
  EXPECT_EQ(At(target, 7, 5), 0xFFFFFFu);  // outside the item's width
  EXPECT_EQ(At(target, 4, 7), 0xFFFFFFu);
  EXPECT_EQ(At(target, 0, 0), Over(RGB(0, 0, 255), 128, 0xFFFFFF));
  EXPECT_EQ(At(target, 2, 1), 0xFFFFFFu);
}

TEST(PngSemiTransparent, AlphaPlaneScaledWithTiesToEven) {
  TksPngImage png;
  MakeRgba(png, 16, 16, [](int x, int y, COLORREF& c, uint8_t& a) {
    c = RGB(x * 16, y * 16, 7), a = static_cast<uint8_t>(y * 16 + x);
  });
  auto copy = MakeSemiTransparent(png, 127);
  ASSERT_TRUE(copy);
  int bad = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      bad += copy->AlphaScanline(y)[x] != HalfAlpha(y * 16 + x);
      bad += copy->Pixels(x, y) != png.Pixels(x, y);
    }
  EXPECT_EQ(bad, 0);
  // Ties go to even: 1 -> 0, 3 -> 2, 5 -> 2, 255 -> 128; the source is untouched.
  EXPECT_EQ(copy->AlphaScanline(0)[1], 0);
  EXPECT_EQ(copy->AlphaScanline(0)[3], 2);
  EXPECT_EQ(copy->AlphaScanline(0)[5], 2);
  EXPECT_EQ(copy->AlphaScanline(15)[15], 128);
  EXPECT_EQ(png.AlphaScanline(15)[15], 255);
  EXPECT_EQ(MakeSemiTransparent(TksPngImage(), 127), nullptr);
}

TEST(PngSemiTransparent, RgbGainsAlphaAndKeepsItsColourKeyClear) {
  TBitmap bmp(4, 1, pf24bit);
  const COLORREF colours[4] = {RGB(10, 20, 30), RGB(255, 0, 255), RGB(1, 2, 3), RGB(255, 0, 255)};
  for (int x = 0; x < 4; ++x) bmp.Canvas()->SetPixel(x, 0, colours[x]);
  TksPngImage plain;
  plain.Assign(&bmp);
  ASSERT_EQ(plain.Header()->ColorType, lumoa::png::kRGB);
  auto copy = MakeSemiTransparent(plain, 127);
  ASSERT_NE(copy->AlphaScanline(0), nullptr);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(copy->AlphaScanline(0)[x], 128) << x;

  bmp.SetTransparentMode(tmFixed);
  bmp.SetTransparentColor(RGB(255, 0, 255));
  bmp.SetTransparent(true);
  TksPngImage keyed;
  keyed.Assign(&bmp);
  ASSERT_EQ(keyed.TransparencyMode(), ptmBit);
  copy = MakeSemiTransparent(keyed, 127);
  const uint8_t* a = copy->AlphaScanline(0);
  EXPECT_EQ(a[0], 128);
  EXPECT_EQ(a[1], 0);
  EXPECT_EQ(a[2], 128);
  EXPECT_EQ(a[3], 0);
  EXPECT_EQ(copy->Pixels(2, 0), RGB(1, 2, 3));
}

TEST(PngSemiTransparent, GreyAndPaletteRebuiltAsRgbaAtTheLevel) {
  TksPngImage grey;
  grey.CreateBlank(lumoa::png::kGrey, 8, 3, 1);
  for (int x = 0; x < 3; ++x) grey.Scanline(0)[x] = static_cast<uint8_t>(x * 100);
  auto copy = MakeSemiTransparent(grey, 127);
  ASSERT_EQ(copy->Header()->ColorType, lumoa::png::kRGBA);
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(copy->Pixels(x, 0), RGB(x * 100, x * 100, x * 100));
    EXPECT_EQ(copy->AlphaScanline(0)[x], 127);
  }
  // A grey colour key (level 100) stays clear.
  auto key = std::make_unique<TksPngLayertRNS>(&grey);
  const uint8_t stored[2] = {0, 100};
  key->SetTable(stored, 2);
  grey.Chunks().Insert(1, std::move(key));
  ASSERT_EQ(grey.TransparencyMode(), ptmBit);
  copy = MakeSemiTransparent(grey, 127);
  EXPECT_EQ(copy->AlphaScanline(0)[0], 127);
  EXPECT_EQ(copy->AlphaScanline(0)[1], 0);
  EXPECT_EQ(copy->AlphaScanline(0)[2], 127);

  TBitmap bmp(4, 1, pf8bit);
  const COLORREF colours[4] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  for (int x = 0; x < 4; ++x) bmp.Canvas()->SetPixel(x, 0, colours[x]);
  TksPngImage palette;
  palette.Assign(&bmp);
  ASSERT_EQ(palette.Header()->ColorType, lumoa::png::kPalette);
  copy = MakeSemiTransparent(palette, 127);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(copy->Pixels(x, 0), palette.Pixels(x, 0));
    EXPECT_EQ(copy->AlphaScanline(0)[x], 127);
  }

  // Alphas per entry: a clear entry stays clear, partial ones are halved like a plane.
  palette.AddAlpha();
  auto* trns = palette.Chunks().Find<TksPngLayertRNS>();
  ASSERT_NE(trns, nullptr);
  uint8_t table[256];
  std::fill(std::begin(table), std::end(table), 255);
  const int red = palette.Scanline(0)[1], green = palette.Scanline(0)[2];
  table[red] = 0;
  table[green] = 101;
  trns->SetTable(table, 256);
  ASSERT_EQ(palette.TransparencyMode(), ptmPartial);
  copy = MakeSemiTransparent(palette, 127);
  EXPECT_EQ(copy->AlphaScanline(0)[0], 127);
  EXPECT_EQ(copy->AlphaScanline(0)[1], 0);
  EXPECT_EQ(copy->AlphaScanline(0)[2], HalfAlpha(101));
}

TEST(PngImageList, UnderlyingCountFollowsTheItems) {
  TComponentPtr<TksPngImageList> list(new TksPngImageList(nullptr));
  TksPngImageItems* items = list->PngImages();
  items->Add();
  items->Add();
  items->Insert(0);
  EXPECT_EQ(items->Items(2)->Name(), "PngImage1");
  EXPECT_EQ(list->Count(), 3);
  items->Delete(1);
  EXPECT_EQ(list->Count(), 2);
  delete items->Items(0);
  EXPECT_EQ(list->Count(), 1);
  items->Clear();
  EXPECT_EQ(list->Count(), 0);
  items->Add();

  // The same size keeps the items, a new one clears them.
  list->SetPngWidth(16);
  list->SetPngHeight(16);
  EXPECT_EQ(items->Count(), 1);
  list->SetPngWidth(32);
  EXPECT_EQ(items->Count(), 0);
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->PngWidth(), 32);
  items->Add();
  EXPECT_THROW(list->SetPngHeight(0), EInvalidOperation);
  EXPECT_EQ(items->Count(), 1);
  EXPECT_EQ(list->PngHeight(), 16);

  // While loading the items stay, and so do their places in the framework list.
  items->Add();
  list->SetComponentState(csLoading, true);
  list->SetPngHeight(24);
  list->SetComponentState(csLoading, false);
  EXPECT_EQ(items->Count(), 2);
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Height(), 24);

  TComponentPtr<TksPngImageList> other(new TksPngImageList(nullptr));
  other->SetPngImages(items);
  EXPECT_EQ(other->Count(), 2);
}

TEST(PngImageList, DrawsItemsStretchedToTheListSizeThroughTheFrameworkList) {
  TComponentPtr<TksPngImageList> list(new TksPngImageList(nullptr));
  list->SetPngWidth(4);
  list->SetPngHeight(4);
  TksPngImage checker;
  MakeRgba(checker, 2, 2, [](int x, int y, COLORREF& c, uint8_t& a) {
    c = (x + y) % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255), a = 255;
  });
  list->PngImages()->Add()->SetPngImage(&checker);
  TImageList* plain = list.get();
  TBitmap target(10, 4, pf32bit);
  Fill(target, 0xFFFFFF);
  plain->Draw(target.Canvas(), 0, 0, 0);
  plain->Draw(target.Canvas(), 5, 0, 0, false);
  plain->Draw(target.Canvas(), 5, 0, 1);  // no such item
  int bad = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const COLORREF c = (x / 2 + y / 2) % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255);
      bad += At(target, x, y) != Over(c, 255, 0xFFFFFF);
      bad += At(target, 5 + x, y) != Over(c, 128, 0xFFFFFF);
    }
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(At(target, 4, 0), 0xFFFFFFu);
  EXPECT_EQ(At(target, 9, 3), 0xFFFFFFu);
}

}  // namespace

}  // namespace pngstore::test
