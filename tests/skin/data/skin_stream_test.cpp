// Reading a package while it inflates, and decoding its pictures straight into bitmaps: both
// must give exactly what inflating the whole package, parsing it and loading each picture
// through the bitmap's reader gives, the same errors included.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <typeinfo>

#include "skin/data/skin_bitmap.h"
#include "skin/data/skin_package.h"
#include "skin_fixture.h"
#include "ui/streams.h"

namespace {

using skin_test::MakeBmp;

void Append32(std::vector<uint8_t>& v, int32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(static_cast<uint32_t>(x) >> (8 * i)));
}
void Append(std::vector<uint8_t>& v, const std::vector<uint8_t>& more) {
  v.insert(v.end(), more.begin(), more.end());
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

// An 8-, 4- or 1-bit image whose table holds only `entries` colours, every index inside it.
std::vector<uint8_t> ShortTable(int width, int height, int bits, uint32_t entries) {
  const std::vector<uint8_t> full = MakeBmp(width, height, bits, 5);
  const size_t table = (size_t{1} << bits) * 4;
  std::vector<uint8_t> v(full.begin(), full.begin() + 54 + entries * 4);
  v.insert(v.end(), full.begin() + 54 + static_cast<long>(table), full.end());
  Put32(v, 2, static_cast<uint32_t>(v.size()));
  Put32(v, 10, 54 + entries * 4);
  Put32(v, 46, entries);
  const uint8_t keep = static_cast<uint8_t>(entries - 1);  // entries is a power of two here
  for (size_t i = 54 + entries * 4; i < v.size(); ++i) {
    uint8_t b = v[i], out = 0;
    for (int shift = 0; shift < 8; shift += bits) {
      const unsigned index = (b >> shift) & ((1u << bits) - 1);
      out |= static_cast<uint8_t>((index & keep) << shift);
    }
    v[i] = out;
  }
  return v;
}

// The bitmap's own reader and the conversion to 24 bits, as pictures were loaded before.
std::unique_ptr<TBitmap> Reference(const std::vector<uint8_t>& image) {
  auto bitmap = std::make_unique<TBitmap>();
  TConstMemoryStream stream(image.data(), static_cast<int64_t>(image.size()));
  bitmap->LoadFromStream(stream);
  if (bitmap->BitsPerPixel() < 24) bitmap->SetPixelFormat(pf24bit);
  return bitmap;
}

void ExpectSameBitmap(const TBitmap& a, const TBitmap& b, const std::string& what) {
  ASSERT_EQ(a.Width(), b.Width()) << what;
  ASSERT_EQ(a.Height(), b.Height()) << what;
  ASSERT_EQ(a.PixelFormat(), b.PixelFormat()) << what;
  ASSERT_EQ(a.Stride(), b.Stride()) << what;
  EXPECT_EQ(a.ColorTable().size(), b.ColorTable().size()) << what;
  for (int y = 0; y < a.Height(); ++y) {
    ASSERT_EQ(std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<size_t>(a.Stride())), 0)
        << what << " row " << y;
  }
}

TEST(SkinBitmap, DecodesEveryStoredLayoutAsTheBitmapReaderDoes) {
  struct Case {
    std::string Name;
    std::vector<uint8_t> Image;
  };
  std::vector<Case> cases;
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    // Odd widths leave partial bytes and row padding; one row and one column are edges.
    for (auto [w, h] : {std::pair{13, 7}, std::pair{1, 1}, std::pair{37, 1}, std::pair{2, 9}}) {
      cases.push_back({std::to_string(bits) + " bits " + std::to_string(w) + "x" +
                           std::to_string(h),
                       MakeBmp(w, h, bits, static_cast<uint8_t>(bits + w))});
    }
  }
  cases.push_back({"8 bits, 4 colours", ShortTable(11, 5, 8, 4)});
  cases.push_back({"4 bits, 2 colours", ShortTable(9, 3, 4, 2)});
  for (int bits : {8, 24, 32}) {
    std::vector<uint8_t> topDown = MakeBmp(5, 4, bits, 9);
    Put32(topDown, 22, static_cast<uint32_t>(-4));
    cases.push_back({std::to_string(bits) + " bits top-down", topDown});
  }
  for (const Case& c : cases) {
    const std::unique_ptr<TBitmap> made = MakeSkinBitmap(c.Image);
    ExpectSameBitmap(*made, *Reference(c.Image), c.Name);
  }
  EXPECT_TRUE(MakeSkinBitmap({})->Empty());
}

// A package of pictures larger than the inflater's first buffer and its steps, so that
// pictures straddle refills, compaction and growth.
std::vector<uint8_t> BigPackage() {
  std::vector<uint8_t> raw;
  Append32(raw, 3);
  raw.push_back(0);
  Append(raw, MakeBmp(200, 150, 24, 1));  // 90 KB
  raw.push_back(1);
  raw.push_back(0);
  Append(raw, MakeBmp(33, 20, 1, 2));
  Append32(raw, 4);
  Append(raw, MakeBmp(120, 90, 32, 3));
  Append(raw, MakeBmp(70, 30, 8, 4));
  Append(raw, MakeBmp(300, 250, 24, 5));  // 225 KB
  Append(raw, MakeBmp(3, 3, 4, 6));
  const std::string text = "[VERSION]\r\nskinname=big\r\n";
  raw.insert(raw.end(), text.begin(), text.end());
  return raw;
}

struct Outcome {
  bool Current = false;
  int32_t Version = 0;
  std::vector<std::vector<uint8_t>> Pictures;  // in package order, kind and index encoded
  std::vector<int> Kinds;
  std::string Description;
  std::optional<std::string> Error;
};

Outcome FromMemory(const std::vector<uint8_t>& compressed) {
  Outcome o;
  try {
    const TksByteBuffer raw = InflateSkinData(compressed.data(), compressed.size());
    TksSkinPackageView view;
    o.Current = ParseSkinPackage(raw.Data(), raw.Size(), view);
    o.Version = view.Version;
    const auto add = [&](std::span<const uint8_t> p, int kind) {
      if (p.empty()) return;
      o.Pictures.emplace_back(p.begin(), p.end());
      o.Kinds.push_back(kind);
    };
    add(view.Picture, 0);
    add(view.InactivePicture, 1);
    add(view.MaskPicture, 2);
    for (size_t i = 0; i < view.ActivePictures.size(); ++i) {
      add(view.ActivePictures[i], 10 + static_cast<int>(i));
    }
    o.Description = std::string(view.Description);
  } catch (const Exception& e) {
    o = Outcome();
    o.Error = std::string(typeid(e).name()) + ": " + std::string(e.Message());
  }
  return o;
}

Outcome Streamed(const std::vector<uint8_t>& compressed, size_t capacity) {
  Outcome o;
  try {
    TksSkinInflater in(compressed.data(), compressed.size(), kMaxInflatedSkinSize, capacity);
    o.Current = ReadSkinPackage(in, o.Version,
                                [&](TksPackagePicture kind, int index, std::span<const uint8_t> p) {
                                  o.Pictures.emplace_back(p.begin(), p.end());
                                  o.Kinds.push_back(kind == TksPackagePicture::Active
                                                        ? 10 + index
                                                        : static_cast<int>(kind));
                                });
    if (o.Current) o.Description.assign(reinterpret_cast<const char*>(in.Data()), in.Available());
  } catch (const Exception& e) {
    o = Outcome();
    o.Error = std::string(typeid(e).name()) + ": " + std::string(e.Message());
  }
  if (!o.Current) {
    o.Pictures.clear();  // a newer package hands out nothing the reader keeps
    o.Kinds.clear();
  }
  return o;
}

void ExpectSameOutcome(const std::vector<uint8_t>& compressed, const std::string& what) {
  const Outcome m = FromMemory(compressed);
  for (size_t capacity : {size_t{64}, size_t{64} << 10}) {
    const Outcome s = Streamed(compressed, capacity);
    ASSERT_EQ(s.Error, m.Error) << what;
    EXPECT_EQ(s.Current, m.Current) << what;
    EXPECT_EQ(s.Version, m.Version) << what;
    EXPECT_EQ(s.Kinds, m.Kinds) << what;
    EXPECT_TRUE(s.Pictures == m.Pictures) << what;
    EXPECT_EQ(s.Description, m.Description) << what;
  }
}

TEST(SkinPackageStream, GivesWhatTheWholePackageParses) {
  const std::vector<uint8_t> raw = BigPackage();
  const std::vector<uint8_t> compressed = DeflateSkinData(raw.data(), raw.size());
  ExpectSameOutcome(compressed, "whole");
  const Outcome o = Streamed(compressed, 64);
  ASSERT_FALSE(o.Error) << *o.Error;
  EXPECT_EQ(o.Kinds, (std::vector<int>{0, 2, 10, 11, 12, 13}));
  EXPECT_EQ(o.Description, "[VERSION]\r\nskinname=big\r\n");

  std::vector<uint8_t> newer = raw;
  newer[0] = 4;
  ExpectSameOutcome(DeflateSkinData(newer.data(), newer.size()), "newer");
}

// A package cut or damaged anywhere fails the same way both ways: a framing field or a
// picture cut short names it, a picture past the limits names it, and a stream that is itself
// damaged is reported as such even where its garbage would first break a picture.
TEST(SkinPackageStream, FailsAsTheWholePackageFails) {
  const std::vector<uint8_t> raw = BigPackage();
  for (size_t cut : {size_t{0}, size_t{2}, size_t{4}, size_t{5}, size_t{40}, size_t{60},
                     size_t{90000}, size_t{90055}, size_t{95000}, size_t{200000},
                     raw.size() - 30, raw.size() - 26}) {
    const std::vector<uint8_t> part(raw.begin(), raw.begin() + static_cast<long>(cut));
    ExpectSameOutcome(DeflateSkinData(part.data(), part.size()), "cut at " + std::to_string(cut));
  }
  // Header fields of the first and of a later picture made impossible or huge.
  // The first active picture: after the version, the flagged main picture, the absent
  // inactive one, the flagged mask and the count.
  const size_t later = 4 + 1 + MakeBmp(200, 150, 24).size() + 1 + 1 + MakeBmp(33, 20, 1).size() + 4;
  for (size_t base : {size_t{5}, later}) {
    for (size_t at : {size_t{0}, size_t{2}, size_t{10}, size_t{14}, size_t{18}, size_t{22},
                      size_t{28}, size_t{34}, size_t{46}}) {
      for (uint32_t value : {0u, 0x7FFFFFFFu, 0xFFFFFFF0u, 300u}) {
        std::vector<uint8_t> bad = raw;
        Put32(bad, base + at, value);
        ExpectSameOutcome(DeflateSkinData(bad.data(), bad.size()),
                          "field " + std::to_string(base + at) + " = " + std::to_string(value));
      }
    }
  }
  std::vector<uint8_t> count = raw;
  Put32(count, later - 4, static_cast<uint32_t>(-2));
  ExpectSameOutcome(DeflateSkinData(count.data(), count.size()), "negative count");
  Put32(count, later - 4, 100000);
  ExpectSameOutcome(DeflateSkinData(count.data(), count.size()), "too many pictures");

  // The stream itself damaged: its own error whatever its garbage would have made.
  const std::vector<uint8_t> compressed = DeflateSkinData(raw.data(), raw.size());
  for (size_t at : {size_t{3}, size_t{200}, compressed.size() / 2, compressed.size() - 2}) {
    std::vector<uint8_t> damaged = compressed;
    damaged[at] ^= 0x55;
    ExpectSameOutcome(damaged, "damaged at " + std::to_string(at));
  }
  const std::vector<uint8_t> cut(compressed.begin(), compressed.begin() + 1000);
  ExpectSameOutcome(cut, "stream cut short");
  // A picture refused long before the stream's own fault shows: a wrong check sum, or the
  // stream cut after the picture's headers.
  std::vector<uint8_t> refused = raw;
  Put32(refused, 5 + 18, 0);  // the main picture's width
  std::vector<uint8_t> badSum = DeflateSkinData(refused.data(), refused.size());
  badSum.back() ^= 1;
  ExpectSameOutcome(badSum, "bad check sum");
  EXPECT_NE(Streamed(badSum, 64).Error.value_or("").find("incorrect data check"), std::string::npos);
  const std::vector<uint8_t> refusedStream = DeflateSkinData(refused.data(), refused.size());
  const std::vector<uint8_t> refusedCut(refusedStream.begin(),
                                        refusedStream.begin() + static_cast<long>(refusedStream.size() / 2));
  ExpectSameOutcome(refusedCut, "refused picture, stream cut");
  const Outcome limited = [&] {
    Outcome o;
    try {
      TksSkinInflater in(compressed.data(), compressed.size(), 100000);
      int32_t version = 0;
      ReadSkinPackage(in, version, [](TksPackagePicture, int, std::span<const uint8_t>) {});
    } catch (const EZDecompressionError& e) {
      o.Error = std::string(e.Message());
    }
    return o;
  }();
  EXPECT_EQ(limited.Error, "Skin data inflates past the limit of 100000 bytes");
}

TEST(SkinInflater, PiecesJoinToTheWholeStream) {
  const std::vector<uint8_t> raw = BigPackage();
  const std::vector<uint8_t> compressed = DeflateSkinData(raw.data(), raw.size());
  TksSkinInflater in(compressed.data(), compressed.size(), kMaxInflatedSkinSize, 100);
  std::vector<uint8_t> joined;
  // Pieces small and large, some asked for and left unconsumed in part.
  const size_t sizes[] = {1, 7, 4000, 70000, 3, 150000, 90, 33000};
  for (size_t i = 0; !in.Ended() || in.Available() > 0; ++i) {
    const size_t want = sizes[i % std::size(sizes)];
    const size_t got = in.Fill(want);
    ASSERT_TRUE(got >= want || in.Ended());
    const size_t take = std::min(got, want / 2 + 1);
    joined.insert(joined.end(), in.Data(), in.Data() + take);
    in.Consume(take);
  }
  EXPECT_TRUE(joined == raw);
}

}  // namespace
