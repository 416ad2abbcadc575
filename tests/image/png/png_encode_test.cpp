// Writing: files the codec writes are read back by libpng and by the codec itself.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "image/png/png_ancillary.h"
#include "image/png/png_image.h"
#include "png_reference.h"

using pngtest::RefImage;

namespace {

void Load(TksPngImage& img, const std::vector<uint8_t>& file) {
  TConstMemoryStream s(file.data(), static_cast<int64_t>(file.size()));
  img.LoadFromStream(s);
}

std::vector<uint8_t> Save(TksPngImage& img) {
  TMemoryStream s;
  img.SaveToStream(s);
  const auto* p = static_cast<const uint8_t*>(s.Memory());
  return std::vector<uint8_t>(p, p + s.Size());
}

// Chunk types and data lengths of a file, in order.
std::vector<std::pair<std::string, uint32_t>> Chunks(const std::vector<uint8_t>& f) {
  std::vector<std::pair<std::string, uint32_t>> out;
  for (size_t at = 8; at + 8 <= f.size();) {
    const uint32_t len = (f[at] << 24) | (f[at + 1] << 16) | (f[at + 2] << 8) | f[at + 3];
    out.emplace_back(std::string(reinterpret_cast<const char*>(&f[at + 4]), 4), len);
    at += 12 + size_t{len};
  }
  return out;
}

// The filter byte of every row of a non-interlaced file.
std::vector<int> FilterBytes(const std::vector<uint8_t>& f, size_t row_bytes, int rows) {
  std::vector<uint8_t> packed;
  for (size_t at = 8; at + 8 <= f.size();) {
    const uint32_t len = (f[at] << 24) | (f[at + 1] << 16) | (f[at + 2] << 8) | f[at + 3];
    if (std::memcmp(&f[at + 4], "IDAT", 4) == 0) packed.insert(packed.end(), &f[at + 8], &f[at + 8] + len);
    at += 12 + size_t{len};
  }
  std::vector<uint8_t> raw((row_bytes + 1) * rows);
  uLongf size = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &size, packed.data(), packed.size()), Z_OK);
  std::vector<int> filters;
  for (int r = 0; r < rows; ++r) filters.push_back(raw[r * (row_bytes + 1)]);
  return filters;
}

}  // namespace

TEST(PngEncode, EveryFormatRoundTripsThroughLibpng) {
  const int formats[][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                            {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  uint32_t seed = 50;
  for (const auto& f : formats) {
    for (int interlace = 0; interlace < 2; ++interlace) {
      SCOPED_TRACE(::testing::Message() << "type " << f[0] << " depth " << f[1] << " interlace " << interlace);
      RefImage ref;
      ref.width = 29;
      ref.height = 13;
      ref.color_type = f[0];
      ref.depth = f[1];
      ref.interlace = interlace;
      pngtest::FillRandom(ref, seed++);
      TksPngImage img;
      Load(img, pngtest::WritePng(ref));
      img.Filters = {pfNone, pfSub, pfUp, pfAverage, pfPaeth};
      RefImage back;
      std::string error;
      ASSERT_TRUE(pngtest::ReadPng(Save(img), back, error)) << error;
      EXPECT_EQ(back.interlace, interlace);
      EXPECT_EQ(back.color_type, ref.color_type);
      // Two-bit images come back as four-bit ones with the same colours.
      EXPECT_EQ(back.depth, ref.depth == 2 ? 4 : ref.depth);
      EXPECT_EQ(back.palette, ref.palette);
      const int channels = f[0] == 2 ? 3 : f[0] == 4 ? 2 : f[0] == 6 ? 4 : 1;
      for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x)
          for (int c = 0; c < channels; ++c) {
            uint32_t want = pngtest::RawSample(ref, ref.rows[y], x, c);
            uint32_t got = pngtest::RawSample(back, back.rows[y], x, c);
            if (ref.depth == 2 && f[0] == 0) want *= 5;
            // Only the high byte of 16-bit alpha is kept.
            const bool alpha = (f[0] == 4 && c == 1) || (f[0] == 6 && c == 3);
            if (alpha && ref.depth == 16) want >>= 8, got >>= 8;
            ASSERT_EQ(got, want) << x << "," << y << " channel " << c;
          }
    }
  }
}

TEST(PngEncode, IdatSplitAndFilterChoice) {
  RefImage ref;
  ref.width = 200;
  ref.height = 150;
  ref.color_type = 6;
  pngtest::FillRandom(ref, 8);
  TksPngImage img;
  Load(img, pngtest::WritePng(ref));
  img.SetMaxIdatSize(1000);  // raised to the minimum
  EXPECT_EQ(img.MaxIdatSize(), 65535u);
  const auto file = Save(img);
  std::vector<uint32_t> idats;
  for (const auto& [type, len] : Chunks(file))
    if (type == "IDAT") idats.push_back(len);
  ASSERT_GE(idats.size(), 2u);
  for (size_t i = 0; i + 1 < idats.size(); ++i) EXPECT_EQ(idats[i], 65535u);
  EXPECT_LE(idats.back(), 65535u);
  // The default filter set is {Sub}; a single filter is always used.
  for (int f : FilterBytes(file, 800, 150)) ASSERT_EQ(f, 1);
  img.Filters = {pfPaeth};
  for (int f : FilterBytes(Save(img), 800, 150)) ASSERT_EQ(f, 4);
  img.Filters = {};
  for (int f : FilterBytes(Save(img), 800, 150)) ASSERT_EQ(f, 0);

  // Rows of one colour: Sub turns them into zeros after the first pixel and wins over None
  // when both are offered; None wins ties, being first.
  TksPngImage flat;
  flat.CreateBlank(2, 8, 16, 3);
  for (int x = 0; x < 16; ++x) flat.SetPixels(x, 0, RGB(10, 200, 30));
  flat.Filters = {pfNone, pfSub};
  const auto choice = FilterBytes(Save(flat), 48, 3);
  EXPECT_EQ(choice, (std::vector<int>{1, 0, 0}));
}

TEST(PngEncode, ChunksWrittenBack) {
  RefImage ref;
  ref.width = 10;
  ref.height = 10;
  ref.color_type = 3;
  ref.depth = 8;
  pngtest::FillRandom(ref, 21);
  ref.trns = {255, 0, 255, 17};
  ref.text_key = "Author";
  ref.text = "lumoa";
  ref.ztext_key = "Note";
  ref.ztext = "compressed note";
  ref.unknown_chunk = true;
  ref.chrm = true;
  auto file = pngtest::WritePng(ref);
  // An iCCP chunk after the header: kept raw and written back as it was.
  std::vector<uint8_t> iccp = {0, 0, 0, 7, 'i', 'C', 'C', 'P', 'p', 'r', 'o', 'f', 0, 0, 0x78};
  const uLong crc = crc32(0, &iccp[4], 11);
  for (int i = 3; i >= 0; --i) iccp.push_back(static_cast<uint8_t>(crc >> (i * 8)));
  file.insert(file.begin() + 33, iccp.begin(), iccp.end());

  TksPngImage img;
  Load(img, file);
  const auto out = Save(img);
  std::vector<std::string> types;
  for (const auto& c : Chunks(out)) types.push_back(c.first);
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "iCCP", "PLTE", "tRNS", "tEXt", "zTXt", "prVt", "IDAT", "IEND"}));
  const auto at = std::search(out.begin(), out.end(), iccp.begin(), iccp.end());
  EXPECT_NE(at, out.end()) << "iCCP changed";

  TksPngImage again;
  Load(again, out);
  EXPECT_EQ(again.Chunks().Find<TksPngLayerzTXt>()->Text, "compressed note");
  EXPECT_EQ(again.Chunks().Find<TksPngLayertEXt>()->Text, "lumoa");
  EXPECT_EQ(again.Chunks().Find<TksPngLayertRNS>()->Length, 4u);
  EXPECT_EQ(again.Chunks().Find<TksPngLayertRNS>()->PaletteValues[3], 17);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(again.Pixels(x, y), img.Pixels(x, y));

  // A copy made by Assign writes the same bytes.
  TksPngImage copy;
  copy.Assign(&img);
  EXPECT_EQ(Save(copy), out);
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
}
