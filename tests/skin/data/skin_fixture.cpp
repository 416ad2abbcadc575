#include "skin_fixture.h"

#include <fstream>
#include <random>

namespace skin_test {

namespace {
void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}
}  // namespace

std::vector<uint8_t> MakeBmp(int width, int height, int bits, uint8_t seed) {
  const uint32_t colors = bits <= 8 ? 1u << bits : 0;
  const uint32_t stride = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
  const uint32_t pixels = stride * static_cast<uint32_t>(height);
  const uint32_t offset = 54 + colors * 4;
  std::vector<uint8_t> v(offset + pixels);
  v[0] = 'B';
  v[1] = 'M';
  Put32(v, 2, static_cast<uint32_t>(v.size()));
  Put32(v, 10, offset);
  Put32(v, 14, 40);
  Put32(v, 18, static_cast<uint32_t>(width));
  Put32(v, 22, static_cast<uint32_t>(height));
  Put16(v, 26, 1);
  Put16(v, 28, static_cast<uint16_t>(bits));
  Put32(v, 34, pixels);
  for (size_t i = 54; i < v.size(); ++i) v[i] = static_cast<uint8_t>(i * 7 + seed);
  return v;
}

TempDir::TempDir() {
  static std::mt19937 rng(std::random_device{}());
  FPath = std::filesystem::temp_directory_path() / ("skindata-" + std::to_string(rng()));
  std::filesystem::create_directories(FPath);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}

void TempDir::Write(const AnsiString& name, const std::vector<uint8_t>& bytes) const {
  std::ofstream out(FPath / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void TempDir::Write(const AnsiString& name, const AnsiString& text) const {
  Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> TempDir::Read(const AnsiString& name) const {
  std::ifstream in(FPath / name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

AnsiString Description(const AnsiString& activeList, const AnsiString& records) {
  return "[VERSION]\r\nskinname=Tiny\r\n\r\n[PICTURES]\r\npicture=main.bmp\r\nmask=mask.bmp\r\n" +
         activeList + "\r\n[FORMINFO]\r\nclientrect=3,20,125,91\r\n\r\n" +
         (records.empty() ? AnsiString(kNoRecords) : records);
}

std::vector<uint8_t> ImportStandardSkin(const TempDir& dir, const AnsiString& records) {
  dir.Write("main.bmp", MakeBmp(5, 3, 24, 1));
  dir.Write("mask.bmp", MakeBmp(5, 3, 1, 2));
  dir.Write("a8.bmp", MakeBmp(3, 2, 8, 3));
  dir.Write("a32.bmp", MakeBmp(2, 2, 32, 4));
  dir.Write("skin.ini",
            Description("activepicturescount=2\r\n0=a8.bmp\r\n1=a32.bmp\r\n", records));
  TComponentPtr<TksCompressedStoredSkin> stored(new TksCompressedStoredSkin(nullptr));
  stored->LoadFromSkinFile(dir.File("skin.ini"));
  return stored->CompressedData();
}

}  // namespace skin_test
