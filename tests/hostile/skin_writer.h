// Writes skins byte by byte, without the library's own writers or checks, so that the
// catalogue can make files the library would never make: bitmaps of any header, packages
// announcing more pictures than they hold, truncated or oversized ones.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace hostile {

using Bytes = std::vector<uint8_t>;

// A description as sections of keys in file order (comments are not kept).
struct Ini {
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
  };
  std::vector<Section> sections;

  static Ini Parse(const std::string& text);
  std::string Text() const;
  Section* Find(const std::string& name);
  void Set(const std::string& section, const std::string& key, const std::string& value);
  std::string Get(const std::string& section, const std::string& key) const;
  void RemoveSection(const std::string& name);
};

// A bottom-up bitmap file image with a 40-byte header. Indexed images get a grey colour
// table of `tableEntries` (0: all 2^bits); pixels follow a gradient unless `zero`.
// `bitfields565` makes a 16-bit image with BI_BITFIELDS masks 5-6-5 after the header.
struct BmpSpec {
  int width = 1;
  int height = 1;
  int bits = 24;
  int tableEntries = 0;
  bool zero = false;
  bool bitfields565 = false;
  int fillIndex = -1;  // every pixel of an indexed image takes this index when >= 0
};
Bytes Bmp(const BmpSpec& spec);

// A skin: description and pictures. Writing sets [PICTURES] from the pictures it holds.
struct Skin {
  Ini ini;
  Bytes main, inactive, mask;  // empty when absent
  std::vector<Bytes> active;
  // The stored file repeats the last active picture this many more times.
  size_t repeatLast = 0;
  // Active picture count announced by the package and the description (-1: as many as held).
  int64_t announced = -1;
  int32_t version = 3;
  // The inflated package is cut to this many bytes (0: whole).
  size_t truncateAt = 0;
  // Comment lines of this many bytes in all appended to the description.
  size_t padding = 0;

  std::string Description() const;
  Bytes Package() const;
};

// The shipped skin a case starts from, read from a stored skin file.
Skin ReadStoredSkin(const std::filesystem::path& path);
// Stored form A: version, length, zlib stream (compressed at level 6 for speed).
Bytes StoredForm(const Bytes& package);
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
void WriteSkn(const std::filesystem::path& path, const Skin& skin);
// The description as dir/skin.ini and its pictures beside it.
void WriteIni(const std::filesystem::path& dir, const Skin& skin);

}  // namespace hostile
