#include <gtest/gtest.h>

#include <algorithm>

#include "skin/data/skin_check.h"
#include "skin/data/skin_export.h"
#include "skin_fixture.h"
#include "ui/streams.h"

namespace {

using skin_test::MakeBmp;
using skin_test::TempDir;

TksSkinPackage Unpacked(const std::vector<uint8_t>& compressed) {
  TMemoryStream raw;
  InflateSkinData(compressed.data(), compressed.size(), raw);
  TksSkinPackage package;
  EXPECT_TRUE(ParseSkinPackage(static_cast<const uint8_t*>(raw.Memory()),
                               static_cast<size_t>(raw.Size()), package));
  return package;
}

bool Mentions(const std::vector<AnsiString>& problems, const AnsiString& text) {
  return std::any_of(problems.begin(), problems.end(),
                     [&](const AnsiString& p) { return p.find(text) != AnsiString::npos; });
}

TEST(SkinExport, ImportThenUnpackIsByteForByte) {
  TempDir source;
  const std::vector<uint8_t> compressed = skin_test::ImportStandardSkin(source);
  TempDir out;
  // The folder and its parents are made.
  ExportSkinPackage(Unpacked(compressed), out.File("new/folder"), "skin.ini");
  for (const char* name : {"main.bmp", "mask.bmp", "a8.bmp", "a32.bmp", "skin.ini"}) {
    EXPECT_EQ(out.Read(AnsiString("new/folder/") + name), source.Read(name)) << name;
  }
  // And importing the unpacked files rebuilds the same package.
  TComponentPtr<TksCompressedStoredSkin> again(new TksCompressedStoredSkin(nullptr));
  again->LoadFromSkinFile(out.File("new/folder/skin.ini"));
  EXPECT_EQ(again->CompressedData(), compressed);
}

TEST(SkinExport, RefusesNamesThatLeaveTheDirectoryOrCollide) {
  TksSkinPackage package;
  package.Picture = TksBmpImage::FromBytes(MakeBmp(1, 1, 24).data(), MakeBmp(1, 1, 24).size());
  const std::vector<uint8_t> other = MakeBmp(2, 1, 24);
  package.ActivePictures.push_back(TksBmpImage::FromBytes(other.data(), other.size()));
  TempDir out;
  const struct {
    const char* Text;
  } cases[] = {
      {"[PICTURES]\r\npicture=../evil.bmp\r\nactivepicturescount=1\r\n0=a.bmp\r\n"},
      {"[PICTURES]\r\npicture=\r\nactivepicturescount=1\r\n0=a.bmp\r\n"},
      {"[PICTURES]\r\npicture=same.bmp\r\nactivepicturescount=1\r\n0=same.bmp\r\n"},
      {"[PICTURES]\r\npicture=m.bmp\r\nactivepicturescount=2\r\n0=a.bmp\r\n1=b.bmp\r\n"},
  };
  for (const auto& c : cases) {
    package.Description = c.Text;
    EXPECT_THROW(ExportSkinPackage(package, out.Path().string(), "skin.ini"), EInvalidArgument)
        << c.Text;
  }
  EXPECT_TRUE(std::filesystem::is_empty(out.Path()));  // nothing written on refusal
}

TEST(SkinCheck, ReportsEachKindOfProblem) {
  TempDir dir;
  skin_test::ImportStandardSkin(dir);
  EXPECT_TRUE(CheckSkinDescription(dir.File("skin.ini")).empty());

  dir.Write("bad.bmp", std::vector<uint8_t>{'B', 'M', 0});
  dir.Write("bad.ini",
            skin_test::Description(
                "activepicturescount=2\r\n0=a8.bmp\r\n1=bad.bmp\r\n",
                "[SKINOBJECTS]\r\ncount=1\r\n0=cap:captionx\r\n"
                "[SKINCONTROLS]\r\ncount=4\r\n0=button:button\r\n1=edit:edit\r\n2=plain\r\n"
                "3=tab:tab\r\n"
                "[button]\r\npictureindex=2\r\n[tab]\r\nskinrect=1,2,3,\r\n"
                "[LAYERFRAME]\r\nblurmaskpictureindex=-3\r\n"));
  const std::vector<AnsiString> problems = CheckSkinDescription(dir.File("bad.ini"));
  EXPECT_TRUE(Mentions(problems, "unknown type 'captionx'"));
  EXPECT_TRUE(Mentions(problems, "section [edit] is missing"));
  EXPECT_TRUE(Mentions(problems, "2=plain: not of the form"));
  EXPECT_TRUE(Mentions(problems, "[button] pictureindex=2 is beyond"));
  EXPECT_TRUE(Mentions(problems, "blurmaskpictureindex=-3"));
  EXPECT_TRUE(Mentions(problems, "skinrect"));
  EXPECT_TRUE(Mentions(problems, "'bad.bmp'"));
  EXPECT_EQ(problems.size(), 7u);

  dir.Write("empty.ini", AnsiString("[VERSION]\r\n"));
  EXPECT_TRUE(Mentions(CheckSkinDescription(dir.File("empty.ini")), "[SKINCONTROLS] is missing"));
  EXPECT_THROW(CheckSkinDescription(dir.File("none.ini")), EStreamError);
}

}  // namespace
