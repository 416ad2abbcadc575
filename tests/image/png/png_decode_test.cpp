// Decoding checked pixel by pixel against files libpng writes and reads.
#include <gtest/gtest.h>

#include <cmath>

#include "image/png/png_ancillary.h"
#include "image/png/png_image.h"
#include "png_reference.h"

using pngtest::RefImage;

namespace {

void Load(TksPngImage& img, const std::vector<uint8_t>& file) {
  TConstMemoryStream s(file.data(), static_cast<int64_t>(file.size()));
  img.LoadFromStream(s);
}

std::vector<uint8_t> GammaRule(uint32_t g) {
  std::vector<uint8_t> t(256);
  for (int i = 0; i < 256; ++i)
    t[i] = g ? static_cast<uint8_t>(std::nearbyint(255.0 * std::pow(i / 255.0, 1.0 / (g / 100000.0 * 2.2))))
             : static_cast<uint8_t>(i);
  return t;
}

// Every pixel's colour, alpha and low bytes as the decoder must leave them.
void ExpectSameImage(const RefImage& ref, const TksPngImage& img) {
  ASSERT_FALSE(img.Empty());
  ASSERT_EQ(img.Width(), ref.width);
  ASSERT_EQ(img.Height(), ref.height);
  const auto g = GammaRule(ref.gamma);
  const TksPngLayerIHDR* h = img.Header();
  const int max = (1 << ref.depth) - 1;
  for (int y = 0; y < ref.height; ++y) {
    const auto& row = ref.rows[y];
    for (int x = 0; x < ref.width; ++x) {
      uint32_t r = 0, gr = 0, b = 0, a = 255;
      auto hi = [&](int c) { return ref.depth == 16 ? RawSample(ref, row, x, c) >> 8 : RawSample(ref, row, x, c); };
      switch (ref.color_type) {
        case 0:
        case 4: {
          const uint32_t v = RawSample(ref, row, x, 0);
          const uint32_t level = ref.depth == 16 ? v >> 8 : v * 255 / max;
          r = gr = b = g[level];
          if (ref.color_type == 4) a = hi(1);
          break;
        }
        case 3: {
          const uint32_t i = RawSample(ref, row, x, 0);
          r = g[ref.palette[i * 3]], gr = g[ref.palette[i * 3 + 1]], b = g[ref.palette[i * 3 + 2]];
          break;
        }
        default:
          r = g[hi(0)], gr = g[hi(1)], b = g[hi(2)];
          if (ref.color_type == 6) a = hi(3);
      }
      ASSERT_EQ(img.Pixels(x, y), RGB(r, gr, b)) << "pixel " << x << "," << y;
      if (ref.color_type == 4 || ref.color_type == 6) {
        ASSERT_EQ(img.AlphaScanline(y)[x], a) << "alpha " << x << "," << y;
      } else {
        ASSERT_EQ(img.AlphaScanline(y), nullptr);
      }
      if (ref.depth == 16 && ref.color_type != 3) {
        const uint8_t* low = h->LowScanline(y);
        if (ref.color_type == 0 || ref.color_type == 4) {
          ASSERT_EQ(low[x], RawSample(ref, row, x, 0) & 0xFF);
        } else {
          ASSERT_EQ(low[x * 3 + 2], g[RawSample(ref, row, x, 0) & 0xFF]);
          ASSERT_EQ(low[x * 3], g[RawSample(ref, row, x, 2) & 0xFF]);
        }
      }
    }
  }
}

struct Format {
  int color_type, depth;
};
const Format kFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                           {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

}  // namespace

TEST(PngDecode, EveryFormatPlainAndInterlacedMatchesLibpng) {
  uint32_t seed = 1;
  for (const Format f : kFormats) {
    for (int interlace = 0; interlace < 2; ++interlace) {
      // Odd sizes so that partial bytes and every Adam7 pass edge appear.
      RefImage ref;
      ref.width = 37;
      ref.height = 21;
      ref.color_type = f.color_type;
      ref.depth = f.depth;
      ref.interlace = interlace;
      pngtest::FillRandom(ref, seed++);
      SCOPED_TRACE(::testing::Message() << "type " << f.color_type << " depth " << f.depth
                                        << " interlace " << interlace);
      RefImage back;
      std::string error;
      const auto file = pngtest::WritePng(ref);
      ASSERT_TRUE(pngtest::ReadPng(file, back, error)) << error;
      back.palette = ref.palette;
      TksPngImage img;
      Load(img, file);
      ExpectSameImage(back, img);
      EXPECT_EQ(img.InterlaceMethod, interlace);
      EXPECT_NE(img.Chunks().FindChunk("IEND"), nullptr);
    }
  }
}

TEST(PngDecode, AncillaryChunksGammaTextUnknownAndSplitData) {
  for (const Format f : {Format{2, 8}, Format{6, 16}, Format{3, 4}, Format{0, 2}}) {
    RefImage ref;
    ref.width = 64;
    ref.height = 40;
    ref.color_type = f.color_type;
    ref.depth = f.depth;
    ref.interlace = 1;
    pngtest::FillRandom(ref, 99);
    ref.gamma = 100000;
    ref.text_key = "Title";
    ref.text = "logo";
    ref.ztext_key = "Comment";
    ref.ztext = std::string(1000, 'z') + "end";
    ref.unknown_chunk = true;
    ref.chrm = true;
    ref.idat_size = 100;  // many small IDAT chunks
    const auto file = pngtest::WritePng(ref);
    TksPngImage img;
    Load(img, file);
    ExpectSameImage(ref, img);
    // One IDAT object however many chunks carried the data; cHRM is not kept.
    int idats = 0;
    for (int i = 0; i < img.Chunks().Count(); ++i) idats += img.Chunks().Item(i)->ChunkType() == "IDAT";
    EXPECT_EQ(idats, 1);
    EXPECT_EQ(img.Chunks().FindChunk("cHRM"), nullptr);
    auto* text = img.Chunks().Find<TksPngLayertEXt>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Keyword, "Title");
    EXPECT_EQ(text->Text, "logo");
    auto* ztext = img.Chunks().Find<TksPngLayerzTXt>();
    ASSERT_NE(ztext, nullptr);
    EXPECT_EQ(ztext->Keyword, "Comment");
    EXPECT_EQ(ztext->Text, ref.ztext);
    TksPngLayer* unknown = img.Chunks().FindChunk("prVt");
    ASSERT_NE(unknown, nullptr);
    ASSERT_EQ(unknown->DataSize(), 5u);
    EXPECT_EQ(unknown->Data()[4], 5);
    EXPECT_EQ(img.Chunks().Item(img.Chunks().Count() - 1)->ChunkType(), "IEND");
  }
}

TEST(PngDecode, GammaTables) {
  RefImage ref;
  ref.width = 4;
  ref.height = 1;
  ref.color_type = 2;
  pngtest::FillRandom(ref, 5);
  ref.gamma = 45455;
  TksPngImage img;
  Load(img, pngtest::WritePng(ref));
  EXPECT_TRUE(img.GammaIsIdentity());

  ref.gamma = 100000;
  Load(img, pngtest::WritePng(ref));
  EXPECT_EQ(img.GammaTable()[128], 186);
  EXPECT_EQ(img.GammaTable()[0], 0);
  EXPECT_EQ(img.GammaTable()[255], 255);
  EXPECT_EQ(img.InverseGammaTable()[186], 128);
  // Loading starts afresh: a file without gAMA has identity tables again.
  ref.gamma = 0;
  Load(img, pngtest::WritePng(ref));
  EXPECT_TRUE(img.GammaIsIdentity());
}

TEST(PngDecode, LogoSizedInterlacedRgbaEveryPass) {
  // 55 x 55 RGBA Adam7: pass 1 holds a single row of 7 pixels. Alpha is set per pass so a
  // pixel landing in the wrong pass shows.
  RefImage ref;
  ref.width = ref.height = 55;
  ref.color_type = 6;
  ref.interlace = 1;
  pngtest::FillRandom(ref, 7);
  const int pass_of[8][8] = {{1, 6, 4, 6, 2, 6, 4, 6}, {7, 7, 7, 7, 7, 7, 7, 7}, {5, 6, 5, 6, 5, 6, 5, 6},
                             {7, 7, 7, 7, 7, 7, 7, 7}, {3, 6, 4, 6, 3, 6, 4, 6}, {7, 7, 7, 7, 7, 7, 7, 7},
                             {5, 6, 5, 6, 5, 6, 5, 6}, {7, 7, 7, 7, 7, 7, 7, 7}};
  for (int y = 0; y < 55; ++y)
    for (int x = 0; x < 55; ++x) ref.rows[y][x * 4 + 3] = static_cast<uint8_t>(pass_of[y % 8][x % 8] * 30);
  TksPngImage img;
  Load(img, pngtest::WritePng(ref));
  ExpectSameImage(ref, img);
  EXPECT_EQ(img.AlphaScanline(0)[48], 30);  // pass 1, last pixel of its only row
  EXPECT_EQ(img.AlphaScanline(54)[54], 150);  // pass 5
  EXPECT_EQ(img.TransparencyMode(), ptmPartial);
}

TEST(PngDecode, TransparencyModes) {
  RefImage ref;
  ref.width = 8;
  ref.height = 2;
  ref.color_type = 3;
  ref.depth = 4;
  pngtest::FillRandom(ref, 3);
  TksPngImage img;
  Load(img, pngtest::WritePng(ref));
  EXPECT_EQ(img.TransparencyMode(), ptmNone);
  EXPECT_FALSE(img.Transparent());

  ref.trns = {255, 255, 0};
  Load(img, pngtest::WritePng(ref));
  EXPECT_EQ(img.TransparencyMode(), ptmBit);
  EXPECT_EQ(img.TransparentColor(), RGB(ref.palette[6], ref.palette[7], ref.palette[8]));

  ref.trns = {255, 128, 0};
  Load(img, pngtest::WritePng(ref));
  EXPECT_EQ(img.TransparencyMode(), ptmPartial);
  // One entry that is only half transparent cannot be drawn as a colour key.
  ref.trns = {128};
  Load(img, pngtest::WritePng(ref));
  EXPECT_EQ(img.TransparencyMode(), ptmPartial);

  ref.color_type = 2;
  ref.depth = 8;
  ref.palette.clear();
  pngtest::FillRandom(ref, 4);
  ref.trns = {0, 10, 0, 20, 0, 30};
  Load(img, pngtest::WritePng(ref));
  EXPECT_EQ(img.TransparencyMode(), ptmBit);
  EXPECT_EQ(img.TransparentColor(), RGB(10, 20, 30));

  ref.color_type = 0;
  ref.depth = 2;
  pngtest::FillRandom(ref, 4);
  ref.trns = {0, 2};
  Load(img, pngtest::WritePng(ref));
  EXPECT_EQ(img.TransparencyMode(), ptmBit);
  EXPECT_EQ(img.TransparentColor(), RGB(170, 170, 170));
}
