#include "skin/data/skin_limits.h"

#include <gtest/gtest.h>

#include "skin/data/compressed_skin.h"
#include "skin_fixture.h"

namespace {

using skin_test::MakeBmp;
using skin_test::TempDir;

using Bytes = std::vector<uint8_t>;

void Append32(Bytes& v, int64_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(static_cast<uint32_t>(x) >> (8 * i)));
}

// A package: the main picture (none when empty), no inactive or mask picture, `count`
// announced and the given active pictures, then the description.
Bytes Package(const Bytes& main, int64_t count, const std::vector<Bytes>& active,
              const std::string& description = "[VERSION]\r\n") {
  Bytes v;
  Append32(v, 3);
  v.push_back(main.empty() ? 1 : 0);
  v.insert(v.end(), main.begin(), main.end());
  v.push_back(1);
  v.push_back(1);
  Append32(v, count);
  for (const Bytes& a : active) v.insert(v.end(), a.begin(), a.end());
  v.insert(v.end(), description.begin(), description.end());
  return v;
}

// The message of the error parsing raises, or "" when the package parses.
std::string ParseError(const Bytes& package) {
  TksSkinPackage parsed;
  try {
    ParseSkinPackage(package.data(), package.size(), parsed);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

TEST(SkinLimits, PackagesPastALimitAreRefusedNamingWhatPassesIt) {
  // One picture: 2048 x 2048 is the most.
  EXPECT_EQ(ParseError(Package(MakeBmp(2048, 2048, 1), 0, {})), "");
  EXPECT_EQ(ParseError(Package(MakeBmp(2049, 2048, 1), 0, {})),
            "main picture is 2049 x 2048 pixels; a skin picture has at most 4194304");
  EXPECT_EQ(ParseError(Package({}, 1, {MakeBmp(16384, 257, 1)})),
            "active picture 0 is 16384 x 257 pixels; a skin picture has at most 4194304");

  // All pictures: four of the largest fill the budget; one pixel more is refused, named.
  const Bytes big = MakeBmp(2048, 2048, 1), dot = MakeBmp(1, 1, 24);
  EXPECT_EQ(ParseError(Package(big, 3, {big, big, big})), "");
  EXPECT_EQ(ParseError(Package(big, 4, {big, big, big, dot})),
            "active picture 3 brings the pictures to 16777217 pixels; all pictures of a skin have "
            "at most 16777216");

  // The count is judged before any picture is read: none follows this one.
  EXPECT_EQ(ParseError(Package({}, 4097, {})), "Skin announces 4097 active pictures; a skin has at most 4096");
  EXPECT_NE(ParseError(Package({}, 4096, {})), "");  // truncated, not refused for its count

  // The description.
  const std::string most(kMaxSkinDescriptionSize, ';');
  EXPECT_EQ(ParseError(Package({}, 0, {}, most)), "");
  EXPECT_EQ(ParseError(Package({}, 0, {}, most + ";")),
            "Skin description is 8388609 bytes; a skin description has at most 8388608");

  // A damaged or cut picture is named too.
  Bytes cut = Package({}, 2, {dot, MakeBmp(4, 4, 24)});
  cut.resize(cut.size() - 20);
  EXPECT_EQ(ParseError(cut).rfind("active picture 1: ", 0), 0u) << ParseError(cut);
}

TEST(SkinLimits, ImportRefusesListsAndPicturesPastTheLimitsNamingTheFiles) {
  TempDir dir;
  dir.Write("dot.bmp", MakeBmp(1, 1, 24));
  dir.Write("wide.bmp", MakeBmp(4097, 1025, 1));
  const std::string head = "[VERSION]\r\nskinname=x\r\n[FORMINFO]\r\nborderwidth=1\r\n"
                           "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n[PICTURES]\r\n";
  const auto importError = [&](const std::string& pictures) {
    dir.Write("skin.ini", AnsiString(head + pictures));
    TksSkinPackage package;
    try {
      ImportSkinPackage(dir.File("skin.ini"), package);
    } catch (const Exception& e) {
      return e.Message();
    }
    return AnsiString();
  };
  EXPECT_EQ(importError("picture=dot.bmp\r\nactivepicturescount=1\r\n0=dot.bmp\r\n"), "");
  EXPECT_EQ(importError("activepicturescount=4097\r\n0=dot.bmp\r\n"),
            dir.File("skin.ini") + ": Skin announces 4097 active pictures; a skin has at most 4096");
  EXPECT_EQ(importError("activepicturescount=2\r\n0=dot.bmp\r\n1=wide.bmp\r\n"),
            dir.File("skin.ini") + ": active picture 1 (" + dir.File("wide.bmp") +
                ") is 4097 x 1025 pixels; a skin picture has at most 4194304");
  EXPECT_EQ(importError("activepicturescount=1\r\n0=none.bmp\r\n").rfind(dir.File("skin.ini") + ": active picture 0: ", 0), 0u);
}

}  // namespace
