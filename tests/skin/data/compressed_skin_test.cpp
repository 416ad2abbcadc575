#include "skin/data/compressed_skin.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "skin_fixture.h"
#include "ui/streams.h"

namespace {

using skin_test::MakeBmp;
using skin_test::TempDir;

std::vector<uint8_t> Inflate(const std::vector<uint8_t>& compressed) {
  TMemoryStream out;
  InflateSkinData(compressed.data(), compressed.size(), out);
  const auto* p = static_cast<const uint8_t*>(out.Memory());
  return std::vector<uint8_t>(p, p + out.Size());
}

void Append32(std::vector<uint8_t>& v, int32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(static_cast<uint32_t>(x) >> (8 * i)));
}
void Append(std::vector<uint8_t>& v, const std::vector<uint8_t>& more) {
  v.insert(v.end(), more.begin(), more.end());
}

TEST(SkinImport, PackageLayoutFollowsTheDescription) {
  TempDir dir;
  const std::vector<uint8_t> compressed = skin_test::ImportStandardSkin(dir);
  ASSERT_GE(compressed.size(), 2u);
  EXPECT_EQ(compressed[0], 0x78);  // zlib at the best compression level
  EXPECT_EQ(compressed[1], 0xDA);

  // Exact layout: version, flagged main / inactive / mask, count, raw images, text.
  std::vector<uint8_t> expected;
  Append32(expected, 3);
  expected.push_back(0);
  Append(expected, dir.Read("main.bmp"));
  expected.push_back(1);  // no inactive picture: flag 1 and nothing else
  expected.push_back(0);
  Append(expected, dir.Read("mask.bmp"));
  Append32(expected, 2);
  Append(expected, dir.Read("a8.bmp"));
  Append(expected, dir.Read("a32.bmp"));
  Append(expected, dir.Read("skin.ini"));
  EXPECT_EQ(Inflate(compressed), expected);

  TksSkinPackage package;
  const std::vector<uint8_t> raw = Inflate(compressed);
  ASSERT_TRUE(ParseSkinPackage(raw.data(), raw.size(), package));
  EXPECT_TRUE(package.InactivePicture.Empty());
  EXPECT_EQ(package.MaskPicture.BitCount(), 1);
  ASSERT_EQ(package.ActivePictures.size(), 2u);
  EXPECT_EQ(package.ActivePictures[1].BitCount(), 32);  // read by its own size
  EXPECT_EQ(package.ActivePictures[1].Width(), 2);
  EXPECT_EQ(package.Description, skin_test::Description(
                                     "activepicturescount=2\r\n0=a8.bmp\r\n1=a32.bmp\r\n"));
}

TEST(SkinImport, NoActivePicturesAndLfLineEnds) {
  TempDir dir;
  dir.Write("main.bmp", MakeBmp(1, 1, 24));
  dir.Write("mask.bmp", MakeBmp(1, 1, 1));
  AnsiString text = skin_test::Description("");
  for (size_t at; (at = text.find("\r\n")) != AnsiString::npos;) text.replace(at, 2, "\n");
  dir.Write("skin.ini", text);
  TComponentPtr<TksCompressedStoredSkin> stored(new TksCompressedStoredSkin(nullptr));
  stored->LoadFromSkinFile(dir.File("skin.ini"));
  const std::vector<uint8_t> raw = Inflate(stored->CompressedData());
  const size_t countAt = 4 + 1 + dir.Read("main.bmp").size() + 1 + 1 + dir.Read("mask.bmp").size();
  int32_t count = -1;
  std::memcpy(&count, raw.data() + countAt, 4);
  EXPECT_EQ(count, 0);
  // Every line is written back with CR LF, right after the count.
  EXPECT_EQ(AnsiString(raw.begin() + static_cast<long>(countAt) + 4, raw.end()),
            skin_test::Description(""));
}

TEST(SkinImport, IncompleteDescriptionIsIgnoredAndMissingBitmapClears) {
  TempDir dir;
  TComponentPtr<TksCompressedStoredSkin> stored(new TksCompressedStoredSkin(nullptr));
  stored->SetCompressedData({1, 2, 3});
  dir.Write("partial.ini", AnsiString("[VERSION]\r\nskinname=x\r\n[PICTURES]\r\npicture=a.bmp\r\n"));
  stored->LoadFromSkinFile(dir.File("partial.ini"));
  EXPECT_EQ(stored->CompressedData(), (std::vector<uint8_t>{1, 2, 3}));

  dir.Write("skin.ini", skin_test::Description("activepicturescount=1\r\n0=gone.bmp\r\n"));
  dir.Write("main.bmp", MakeBmp(1, 1, 24));
  dir.Write("mask.bmp", MakeBmp(1, 1, 1));
  EXPECT_THROW(stored->LoadFromSkinFile(dir.File("skin.ini")), EStreamError);
  EXPECT_TRUE(stored->IsEmpty());
}

TEST(SkinPackage, VersionTwoSkipsTwoExtraPicturesAndNewerIsRefused) {
  const std::vector<uint8_t> main = MakeBmp(2, 2, 24);
  const std::vector<uint8_t> extra = MakeBmp(3, 1, 8);
  const std::vector<uint8_t> active = MakeBmp(1, 1, 32);
  std::vector<uint8_t> raw;
  Append32(raw, 2);
  raw.push_back(0);
  Append(raw, main);
  raw.push_back(7);  // any non-zero flag means absent
  raw.push_back(1);
  raw.push_back(0);  // first extra picture present
  Append(raw, extra);
  raw.push_back(1);  // second absent
  Append32(raw, 1);
  Append(raw, active);
  const AnsiString text = "[VERSION]\r\n";
  raw.insert(raw.end(), text.begin(), text.end());

  TksSkinPackage package;
  ASSERT_TRUE(ParseSkinPackage(raw.data(), raw.size(), package));
  EXPECT_EQ(package.Picture.Bytes(), main);
  EXPECT_TRUE(package.InactivePicture.Empty());
  EXPECT_TRUE(package.MaskPicture.Empty());
  ASSERT_EQ(package.ActivePictures.size(), 1u);
  EXPECT_EQ(package.ActivePictures[0].Bytes(), active);
  EXPECT_EQ(package.Description, text);

  raw[0] = 4;
  EXPECT_FALSE(ParseSkinPackage(raw.data(), raw.size(), package));
  EXPECT_TRUE(package.Picture.Empty());
}

TEST(SkinPackage, TruncationAnywhereIsAReadError) {
  TempDir dir;
  const std::vector<uint8_t> raw = Inflate(skin_test::ImportStandardSkin(dir));
  const size_t textStart = raw.size() - dir.Read("skin.ini").size();
  // Cutting inside any header or image fails; cutting in the text only shortens it.
  for (size_t cut : {size_t{0}, size_t{3}, size_t{5}, size_t{60}, textStart - 1}) {
    TksSkinPackage package;
    EXPECT_THROW(ParseSkinPackage(raw.data(), cut, package), EStreamError) << cut;
  }
  TksSkinPackage package;
  EXPECT_NO_THROW(ParseSkinPackage(raw.data(), textStart, package));
  EXPECT_TRUE(package.Description.empty());
}

TEST(BmpImage, ImpossibleHeadersAreRefused) {
  const std::vector<uint8_t> good = MakeBmp(4, 3, 8);
  EXPECT_EQ(TksBmpImage::Measure(good.data(), good.size() + 10), good.size());
  const auto bad = [&](size_t at, uint32_t value, int width = 4) {
    std::vector<uint8_t> v = good;
    for (int i = 0; i < width; ++i) v[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return v;
  };
  const struct {
    size_t At;
    uint32_t Value;
    int Width;
  } cases[] = {
      {0, 'X', 1},          // signature
      {14, 124, 4},         // header size other than 40
      {18, 0, 4},           // width 0
      {22, 0, 4},           // height 0
      {18, 100000, 4},      // absurd width
      {28, 7, 2},           // bit count
      {26, 2, 2},           // planes
      {30, 1, 4},           // compressed
      {34, 4, 4},           // image size smaller than the rows
      {46, 1000, 4},        // more palette entries than the depth allows
      {10, 1000, 4},        // pixels not right after the colour table
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> v = bad(c.At, c.Value, c.Width);
    EXPECT_THROW(TksBmpImage::Measure(v.data(), v.size()), EInvalidGraphic) << c.At;
  }
  EXPECT_THROW(TksBmpImage::Measure(good.data(), good.size() - 1), EReadError);
  EXPECT_THROW(TksBmpImage::Measure(good.data(), 53), EReadError);
  // A top-down image is accepted and reports its height positive.
  const std::vector<uint8_t> topDown = bad(22, static_cast<uint32_t>(-3));
  EXPECT_EQ(TksBmpImage::FromBytes(topDown.data(), topDown.size()).Height(), 3);
}

TEST(SkinInflate, DamagedTruncatedAndOversizedStreams) {
  const std::vector<uint8_t> text(5000, 'a');
  std::vector<uint8_t> compressed = DeflateSkinData(text.data(), text.size());
  EXPECT_EQ(Inflate(compressed), text);

  std::vector<uint8_t> damaged = compressed;
  damaged[4] ^= 0xFF;
  damaged[5] ^= 0xFF;
  EXPECT_THROW(Inflate(damaged), EZDecompressionError);
  const std::vector<uint8_t> cut(compressed.begin(), compressed.end() - 6);
  EXPECT_THROW(Inflate(cut), EZDecompressionError);
  EXPECT_THROW(Inflate({}), EZDecompressionError);

  TMemoryStream sink;
  EXPECT_THROW(InflateSkinData(compressed.data(), compressed.size(), sink, 4096),
               EZDecompressionError);
  EXPECT_LE(sink.Size(), 4096);
}

// The check sum the inflate verifies itself: equal to zlib's for every length (its 16-byte
// steps, the reduction every 5552 bytes and the byte-wise tail), start value and alignment.
TEST(SkinInflate, CheckSumMatchesZlibAndADamagedOneIsRefused) {
  std::vector<uint8_t> bytes(70000);
  uint32_t seed = 12345;
  for (uint8_t& b : bytes) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  for (size_t n : {size_t{0}, size_t{1}, size_t{15}, size_t{16}, size_t{17}, size_t{5551},
                   size_t{5552}, size_t{5553}, size_t{11104}, size_t{69999}}) {
    for (size_t offset : {size_t{0}, size_t{1}}) {
      if (offset + n > bytes.size()) continue;
      SCOPED_TRACE(n);
      const uint8_t* p = bytes.data() + offset;
      EXPECT_EQ(SkinAdler32(1, p, n), adler32(1, p, static_cast<uInt>(n)));
      EXPECT_EQ(SkinAdler32(0xFFF0FFF0u, p, n), adler32(0xFFF0FFF0u, p, static_cast<uInt>(n)));
    }
  }
  const std::vector<uint8_t> all255(20000, 0xFF);  // the largest sums
  EXPECT_EQ(SkinAdler32(1, all255.data(), all255.size()),
            adler32(1, all255.data(), static_cast<uInt>(all255.size())));

  std::vector<uint8_t> compressed = DeflateSkinData(bytes.data(), bytes.size());
  EXPECT_EQ(Inflate(compressed), bytes);
  std::vector<uint8_t> badSum = compressed;
  badSum.back() ^= 1;
  try {
    Inflate(badSum);
    ADD_FAILURE() << "a wrong check sum was accepted";
  } catch (const EZDecompressionError& e) {
    EXPECT_NE(e.Message().find("incorrect data check"), AnsiString::npos) << e.Message();
  }
  std::vector<uint8_t> badHeader = compressed;
  badHeader[1] ^= 1;
  EXPECT_THROW(Inflate(badHeader), EZDecompressionError);
  const std::vector<uint8_t> noSum(compressed.begin(), compressed.end() - 2);
  EXPECT_THROW(Inflate(noSum), EZDecompressionError);
}

TEST(SkinInflate, DefaultCapStopsADecompressionBomb) {
  const std::vector<uint8_t> zeros(kMaxInflatedSkinSize + 1, 0);
  const std::vector<uint8_t> bomb = DeflateSkinData(zeros.data(), zeros.size());
  ASSERT_LT(bomb.size(), 200000u);
  TMemoryStream sink;
  try {
    InflateSkinData(bomb.data(), bomb.size(), sink);
    FAIL() << "inflated past the cap";
  } catch (const EZDecompressionError& e) {
    EXPECT_NE(e.Message().find("limit"), AnsiString::npos);
  }
  EXPECT_LE(static_cast<size_t>(sink.Size()), kMaxInflatedSkinSize);
}

TEST(StoredForms, FormAReadingRules) {
  TComponentPtr<TksCompressedSkinList> list(new TksCompressedSkinList(nullptr));
  TksSkinListItem* item = list->Skins()->Add();
  std::vector<uint8_t> formA;
  Append32(formA, 3);
  Append32(formA, 0);
  TConstMemoryStream empty(formA.data(), static_cast<int64_t>(formA.size()));
  item->ReadSkinProperty(empty);
  EXPECT_TRUE(item->StoredSkin()->IsEmpty());

  const std::vector<uint8_t> data = {0x78, 0xDA, 1, 2, 3};
  const std::vector<uint8_t> stored = MakeStoredFormA(data);
  TConstMemoryStream good(stored.data(), static_cast<int64_t>(stored.size()));
  item->ReadSkinProperty(good);
  EXPECT_EQ(item->StoredSkin()->CompressedData(), data);
  TMemoryStream written;
  item->WriteSkinProperty(written);
  EXPECT_EQ(written.Size(), static_cast<int64_t>(stored.size()));
  EXPECT_EQ(std::memcmp(written.Memory(), stored.data(), stored.size()), 0);

  std::vector<uint8_t> newer = stored;
  newer[0] = 4;
  TConstMemoryStream newerStream(newer.data(), static_cast<int64_t>(newer.size()));
  item->ReadSkinProperty(newerStream);
  EXPECT_TRUE(item->StoredSkin()->IsEmpty());

  item->ReadSkinProperty(good);
  const std::vector<uint8_t> cut(stored.begin(), stored.end() - 1);
  TConstMemoryStream cutStream(cut.data(), static_cast<int64_t>(cut.size()));
  EXPECT_THROW(item->ReadSkinProperty(cutStream), EReadError);
  EXPECT_TRUE(item->StoredSkin()->IsEmpty());
}

TEST(StoredForms, FormBAndCompressedFiles) {
  TComponentPtr<TksCompressedStoredSkin> stored(new TksCompressedStoredSkin(nullptr));
  const std::vector<uint8_t> data = {9, 8, 7};
  TConstMemoryStream in(data.data(), 3);
  stored->ReadCompressedData(in);
  EXPECT_EQ(stored->CompressedData(), data);
  TMemoryStream out;
  stored->WriteCompressedData(out);
  EXPECT_EQ(out.Size(), 3);

  TempDir dir;
  dir.Write("skin.skn", MakeStoredFormA({1, 2, 3, 4}));
  stored->LoadFromCompressedFile(dir.File("skin.skn"));
  EXPECT_EQ(stored->CompressedData(), (std::vector<uint8_t>{1, 2, 3, 4}));
  std::vector<uint8_t> shortFile = MakeStoredFormA({1, 2, 3, 4});
  shortFile.pop_back();
  dir.Write("short.skn", shortFile);
  EXPECT_THROW(stored->LoadFromCompressedFile(dir.File("short.skn")), EReadError);
  EXPECT_TRUE(stored->IsEmpty());
  EXPECT_THROW(stored->LoadFromCompressedFile(dir.File("missing.skn")), EStreamError);
}

TEST(StoredForms, FileNameSettersLoadOnlyAtDesignTime) {
  TempDir dir;
  skin_test::ImportStandardSkin(dir);
  dir.Write("skin.skn", MakeStoredFormA({5, 6}));

  TComponentPtr<TksCompressedStoredSkin> stored(new TksCompressedStoredSkin(nullptr));
  stored->SetFileName(dir.File("skin.ini"));
  EXPECT_EQ(stored->FileName(), dir.File("skin.ini"));
  EXPECT_TRUE(stored->IsEmpty());
  stored->SetDesigning(true);
  stored->SetFileName(dir.File("skin.ini"));
  EXPECT_EQ(stored->FileName(), "skin.ini");
  EXPECT_FALSE(stored->IsEmpty());
  stored->SetComponentState(csReading, true);
  stored->SetCompressedFileName(dir.File("skin.skn"));
  EXPECT_EQ(stored->CompressedFileName(), dir.File("skin.skn"));

  TComponentPtr<TksCompressedSkinList> list(new TksCompressedSkinList(nullptr));
  TksSkinListItem* item = list->Skins()->Add();
  item->SetCompressedFileName(dir.File("skin.skn"));
  EXPECT_TRUE(item->StoredSkin()->IsEmpty());
  list->SetDesigning(true);
  item->SetCompressedFileName(dir.File("skin.skn"));
  EXPECT_EQ(item->CompressedFileName(), "skin.skn");
  EXPECT_EQ(item->StoredSkin()->CompressedData(), (std::vector<uint8_t>{5, 6}));
}

TEST(SkinList, ItemsAreNamedFromTheirIndexAtCreation) {
  TComponentPtr<TksCompressedSkinList> list(new TksCompressedSkinList(nullptr));
  TksSkinListItems* skins = list->Skins();
  EXPECT_EQ(skins->Add()->Name, "ksSkin0");
  EXPECT_EQ(skins->Add()->Name, "ksSkin1");
  skins->Delete(0);
  EXPECT_EQ(skins->Items(0)->Name, "ksSkin1");  // not renumbered
  EXPECT_EQ(skins->Add()->Name, "ksSkin1");
  EXPECT_EQ(skins->Count(), 2);
  EXPECT_EQ(skins->GetOwner(), list.get());
  EXPECT_EQ(skins->Items(1)->DisplayName(), "ksSkin1");
}

}  // namespace

namespace {

// A 2 x 1, 32-bit image with a 124-byte header and bit-field masks, as image editors write.
std::vector<uint8_t> MakeV5Bmp() {
  std::vector<uint8_t> v(14 + 124 + 8, 0);
  const auto put = [&](size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
  };
  v[0] = 'B';
  v[1] = 'M';
  put(2, static_cast<uint32_t>(v.size()));
  put(10, 14 + 124);
  put(14, 124);
  put(18, 2);
  put(22, 1);
  v[26] = 1;
  v[28] = 32;
  put(30, 3);  // BI_BITFIELDS
  put(34, 8);
  put(54, 0x00FF0000);
  put(58, 0x0000FF00);
  put(62, 0x000000FF);
  put(66, 0xFF000000);
  for (int i = 0; i < 8; ++i) v[138 + i] = static_cast<uint8_t>(0x10 + i);
  return v;
}

TEST(SkinImport, OtherBitmapLayoutsAreStoredInTheStoredLayout) {
  TempDir dir;
  dir.Write("v5.bmp", MakeV5Bmp());
  EXPECT_THROW(TksBmpImage::FromFile(dir.File("v5.bmp")), EInvalidGraphic);
  const TksBmpImage image = LoadSkinPicture(dir.File("v5.bmp"));
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(image.Height(), 1);
  EXPECT_EQ(image.BitCount(), 32);
  EXPECT_EQ(TksBmpImage::Measure(image.Bytes().data(), image.Bytes().size()), image.Bytes().size());

  dir.Write("junk.bmp", std::vector<uint8_t>(60, 'B'));
  EXPECT_THROW(LoadSkinPicture(dir.File("junk.bmp")), Exception);
}

}  // namespace
