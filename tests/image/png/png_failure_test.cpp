// Damaged and unusual files: what is kept, and that nothing reads out of bounds.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "image/png/png_image.h"
#include "png_reference.h"

using pngtest::RefImage;

namespace {

void Load(TksPngImage& img, const std::vector<uint8_t>& file) {
  TConstMemoryStream s(file.data(), static_cast<int64_t>(file.size()));
  img.LoadFromStream(s);
}

std::vector<uint8_t> SmallFile(int idat_size = 0, int interlace = 0) {
  RefImage ref;
  ref.width = 23;
  ref.height = 17;
  ref.color_type = 6;
  ref.interlace = interlace;
  ref.idat_size = idat_size;
  pngtest::FillRandom(ref, 11);
  return pngtest::WritePng(ref);
}

// Offset of the length field of the n-th chunk of that type (0-based), or npos.
size_t FindChunk(const std::vector<uint8_t>& f, const char* type, int n = 0) {
  for (size_t at = 8; at + 8 <= f.size();) {
    const uint32_t len = (f[at] << 24) | (f[at + 1] << 16) | (f[at + 2] << 8) | f[at + 3];
    if (std::memcmp(&f[at + 4], type, 4) == 0 && n-- == 0) return at;
    at += 12 + size_t{len};
  }
  return std::string::npos;
}

std::vector<uint8_t> MakeChunk(const char* type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> c(8);
  const auto len = static_cast<uint32_t>(data.size());
  c[0] = len >> 24, c[1] = len >> 16, c[2] = len >> 8, c[3] = len & 0xFF;
  std::memcpy(&c[4], type, 4);
  c.insert(c.end(), data.begin(), data.end());
  const uLong crc = crc32(crc32(0, &c[4], 4), data.data(), static_cast<uInt>(data.size()));
  for (int i = 3; i >= 0; --i) c.push_back(static_cast<uint8_t>(crc >> (i * 8)));
  return c;
}

std::vector<std::string> ChunkTypes(const TksPngImage& img) {
  std::vector<std::string> t;
  for (int i = 0; i < img.Chunks().Count(); ++i) t.emplace_back(img.Chunks().Item(i)->ChunkType());
  return t;
}

}  // namespace

TEST(PngFailure, SignatureAndHeaderFailuresLeaveTheImageEmpty) {
  const auto good = SmallFile();
  TksPngImage img;
  Load(img, good);
  ASSERT_FALSE(img.Empty());

  auto bad_sig = good;
  bad_sig[1] = 'p';
  Load(img, bad_sig);
  EXPECT_TRUE(img.Empty());

  auto bad_crc = good;
  bad_crc[29] ^= 1;  // the IHDR CRC
  Load(img, bad_crc);
  EXPECT_TRUE(img.Empty());

  for (const uint32_t w : {65536u, 0u}) {
    auto wide = good;
    std::vector<uint8_t> ihdr(good.begin() + 16, good.begin() + 29);
    ihdr[0] = w >> 24, ihdr[1] = (w >> 16) & 0xFF, ihdr[2] = (w >> 8) & 0xFF, ihdr[3] = w & 0xFF;
    const auto chunk = MakeChunk("IHDR", ihdr);
    std::copy(chunk.begin(), chunk.end(), wide.begin() + 8);
    Load(img, wide);
    EXPECT_TRUE(img.Empty()) << "width " << w;
  }

  // A first chunk other than the header.
  auto no_header = std::vector<uint8_t>(good.begin(), good.begin() + 8);
  const auto text = MakeChunk("tEXt", {'a', 0, 'b'});
  no_header.insert(no_header.end(), text.begin(), text.end());
  no_header.insert(no_header.end(), good.begin() + 8, good.end());
  Load(img, no_header);
  EXPECT_TRUE(img.Empty());

  // An illegal depth for the colour type.
  auto bad_depth = good;
  std::vector<uint8_t> ihdr(good.begin() + 16, good.begin() + 29);
  ihdr[8] = 4;  // RGBA with 4-bit samples
  const auto chunk = MakeChunk("IHDR", ihdr);
  std::copy(chunk.begin(), chunk.end(), bad_depth.begin() + 8);
  Load(img, bad_depth);
  EXPECT_TRUE(img.Empty());
}

TEST(PngFailure, LaterFailuresKeepTheChunksReadSoFar) {
  TksPngImage img;
  const auto good = SmallFile();
  TksPngImage whole;
  Load(whole, good);

  // Missing IEND: everything else is there and decoded.
  const size_t iend = FindChunk(good, "IEND");
  Load(img, std::vector<uint8_t>(good.begin(), good.begin() + iend));
  EXPECT_EQ(ChunkTypes(img), (std::vector<std::string>{"IHDR", "IDAT"}));
  for (int y = 0; y < img.Height(); ++y)
    EXPECT_EQ(std::memcmp(img.AlphaScanline(y), whole.AlphaScanline(y), 23), 0);

  // A stream that ends after a skipped chunk.
  auto skipped = std::vector<uint8_t>(good.begin(), good.begin() + iend);
  const auto chrm = MakeChunk("cHRM", std::vector<uint8_t>(32, 1));
  skipped.insert(skipped.end(), chrm.begin(), chrm.end());
  Load(img, skipped);
  EXPECT_EQ(ChunkTypes(img), (std::vector<std::string>{"IHDR", "IDAT"}));

  // A bad CRC in the middle of split image data: loading stops at that IDAT.
  auto split = SmallFile(64);
  const size_t second = FindChunk(split, "IDAT", 1);
  ASSERT_NE(second, std::string::npos);
  split[second + 8 + 10] ^= 0x55;
  Load(img, split);
  EXPECT_EQ(ChunkTypes(img), (std::vector<std::string>{"IHDR", "IDAT"}));
  EXPECT_EQ(img.Width(), 23);

  // A bad CRC in a later ancillary chunk: kept, and loading ends there.
  auto bad_text = std::vector<uint8_t>(good.begin(), good.begin() + iend);
  auto text = MakeChunk("tEXt", {'k', 0, 'v'});
  text.back() ^= 1;
  bad_text.insert(bad_text.end(), text.begin(), text.end());
  bad_text.insert(bad_text.end(), good.begin() + iend, good.end());
  Load(img, bad_text);
  EXPECT_EQ(ChunkTypes(img), (std::vector<std::string>{"IHDR", "IDAT", "tEXt"}));
}

TEST(PngFailure, EveryTruncationAndByteFlipLoadsWithoutFault) {
  for (const int interlace : {0, 1}) {
    const auto good = SmallFile(40, interlace);
    TksPngImage img;
    for (size_t n = 0; n < good.size(); ++n) {
      Load(img, std::vector<uint8_t>(good.begin(), good.begin() + n));
      EXPECT_EQ(img.Empty(), n < 33) << n;  // the header chunk ends at byte 33
    }
    for (size_t i = 8; i < good.size(); ++i) {
      auto bad = good;
      bad[i] ^= 0xA5;
      Load(img, bad);
      if (!img.Empty()) {
        EXPECT_EQ(img.Width(), 23);
      }
    }
  }
}

TEST(PngFailure, HugeDeclaredLengthsAreRefusedWithoutAllocating) {
  const auto good = SmallFile();
  const size_t iend = FindChunk(good, "IEND");
  auto bad = std::vector<uint8_t>(good.begin(), good.begin() + iend);
  const uint8_t huge[8] = {0x7F, 0xFF, 0xFF, 0xF0, 't', 'E', 'X', 't'};
  bad.insert(bad.end(), huge, huge + 8);
  TksPngImage img;
  Load(img, bad);
  EXPECT_EQ(ChunkTypes(img), (std::vector<std::string>{"IHDR", "IDAT", "tEXt"}));
}
