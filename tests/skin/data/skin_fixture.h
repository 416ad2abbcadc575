// Tiny skins for the tests: canonical BMP images and a description on disk, imported into
// packages the way the design-time import does it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "skin/data/compressed_skin.h"

namespace skin_test {

// A bottom-up BMP image of the given size and depth; pixel bytes follow `seed`.
std::vector<uint8_t> MakeBmp(int width, int height, int bits, uint8_t seed = 1);

// A fresh directory under the system's temporary directory, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& Path() const { return FPath; }
  AnsiString File(const AnsiString& name) const { return (FPath / name).string(); }
  void Write(const AnsiString& name, const std::vector<uint8_t>& bytes) const;
  void Write(const AnsiString& name, const AnsiString& text) const;
  std::vector<uint8_t> Read(const AnsiString& name) const;

 private:
  std::filesystem::path FPath;
};

constexpr const char* kNoRecords = "[SKINOBJECTS]\r\ncount=0\r\n\r\n[SKINCONTROLS]\r\ncount=0\r\n";

// A description with [VERSION], [PICTURES] (main.bmp, mask.bmp and the given active list)
// and [FORMINFO], followed by `records` ([SKINOBJECTS], [SKINCONTROLS] and their sections;
// empty lists when not given).
AnsiString Description(const AnsiString& activeList, const AnsiString& records = "");

// Writes the pictures and description into dir and imports them: main 24-bit picture,
// 1-bit mask, no inactive picture, active pictures of 8 and 32 bits.
std::vector<uint8_t> ImportStandardSkin(const TempDir& dir, const AnsiString& records = "");

}  // namespace skin_test
