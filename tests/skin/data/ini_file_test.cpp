#include "skin/data/ini_file.h"

#include <gtest/gtest.h>

namespace {

TEST(IniFileSyntax, LinesTrimmingCommentsAndSections) {
  // Mixed line ends, blanks and control characters around lines, comments, text before the
  // first section, a line without "=" and a key whose value holds "=".
  const TksIniFile ini(
      "orphan=1\r\n"
      " \t[ Main ] \r"
      "; comment=1\n"
      "\x01 alpha = one \x02\r\n"
      "noequals\n"
      "beta=a=b\n"
      "\n"
      "[Empty]\n"
      "only a line\n");
  EXPECT_FALSE(ini.ValueExists("", "orphan"));
  EXPECT_EQ(ini.ReadString("main", "ALPHA", "?"), "one");
  EXPECT_EQ(ini.ReadString("Main", "beta", "?"), "a=b");
  EXPECT_FALSE(ini.ValueExists("Main", "; comment"));
  EXPECT_FALSE(ini.ValueExists("Main", "noequals"));
  EXPECT_TRUE(ini.SectionExists("MAIN"));
  EXPECT_FALSE(ini.SectionExists("Empty"));  // a section exists only with keys
  EXPECT_FALSE(ini.SectionExists("Missing"));
  EXPECT_EQ(ini.SectionNames(), std::vector<AnsiString>{"Main"});
}

TEST(IniFileSyntax, FirstOccurrenceWins) {
  const TksIniFile ini("[A]\nk=1\nK=2\n[a]\nk=3\nother=4\n");
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
  // The keys of a repeated section are never seen.
  EXPECT_FALSE(ini.ValueExists("A", "other"));
  EXPECT_EQ(ini.KeyNames("a"), std::vector<AnsiString>{"k"});
}

TEST(IniFileSyntax, SplitLinesHandlesEveryLineEnd) {
  EXPECT_EQ(TksIniFile::SplitLines("a\r\nb\rc\nd"), (std::vector<AnsiString>{"a", "b", "c", "d"}));
  EXPECT_EQ(TksIniFile::SplitLines("a\r\n\r\n"), (std::vector<AnsiString>{"a", ""}));
  EXPECT_TRUE(TksIniFile::SplitLines("").empty());
}

TEST(IniFileValues, IntegersBooleansAndColours) {
  const TksIniFile ini(
      "[S]\nneg=-5\nhex1=0x1F\nhex2=$10\nbad=12abc\nempty=\nbig=99999999999\n"
      "one=1\ntwo=2\nhexone=0x1\nword=true\ncolor=$FF00000F\n");
  EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -5);
  EXPECT_EQ(ini.ReadInteger("S", "hex1", 0), 31);
  EXPECT_EQ(ini.ReadInteger("S", "hex2", 0), 16);
  EXPECT_EQ(ini.ReadInteger("S", "bad", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "empty", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "big", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "missing", -1), -1);
  EXPECT_TRUE(ini.ReadBoolean("S", "one"));
  EXPECT_TRUE(ini.ReadBoolean("S", "hexone"));
  EXPECT_FALSE(ini.ReadBoolean("S", "two"));
  EXPECT_FALSE(ini.ReadBoolean("S", "word"));
  EXPECT_FALSE(ini.ReadBoolean("S", "missing"));
  EXPECT_EQ(ini.ReadColor("S", "color", 0), 0xFF00000Fu);
}

TEST(IniFileValues, PointsAndRectangles) {
  const TksIniFile ini(
      "[S]\np=-3,4\nspaced= 8 , 21 \nr=3,20,125,91\nextra=1,2,3,4,5,6\n"
      "trail=5,\nempty=\nshort=1,2,3\nletters=a,1\n");
  const POINT p = ini.ReadPoint("S", "p");
  EXPECT_EQ(p.x, 3);  // the minus sign is dropped with every other non-digit
  EXPECT_EQ(p.y, 4);
  EXPECT_TRUE(SamePoint(ini.ReadPoint("S", "spaced"), POINT{8, 21}));
  EXPECT_TRUE(SameRect(ini.ReadRect("S", "r"), RECT{3, 20, 125, 91}));
  EXPECT_TRUE(SameRect(ini.ReadRect("S", "extra"), RECT{1, 2, 3, 4}));
  EXPECT_TRUE(SamePoint(ini.ReadPoint("S", "missing"), POINT{0, 0}));
  EXPECT_TRUE(SameRect(ini.ReadRect("S", "missing"), RECT{0, 0, 0, 0}));
  EXPECT_THROW(ini.ReadPoint("S", "trail"), EConvertError);
  EXPECT_THROW(ini.ReadPoint("S", "empty"), EConvertError);
  EXPECT_THROW(ini.ReadRect("S", "short"), EConvertError);
  EXPECT_THROW(ini.ReadPoint("S", "letters"), EConvertError);
  try {
    ini.ReadRect("S", "trail");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_NE(e.Message().find("trail"), AnsiString::npos) << e.Message();
  }
}

TEST(IniFileValues, KeywordKinds) {
  const TksIniFile ini(
      "[S]\nfs1=xfsitalicx;fsbold\nfs2=fsBold,fsunderline,fsstrikeout\n"
      "st1=STFULL\nst2=stvert\nst3=stfull\nst4=\n"
      "ie1=ieinvert\nie2=bogus\nmk1=mkpush\nmk2=MKPUSH\n"
      "al1=taleftjustify\nal2=tacenter\nal3=whatever\n");
  const TksFontStyles fs1 = ini.ReadFontStyle("S", "fs1");
  EXPECT_TRUE(fs1.Bold && fs1.Italic);
  EXPECT_FALSE(fs1.Underline || fs1.StrikeOut);
  const TksFontStyles fs2 = ini.ReadFontStyle("S", "fs2");
  EXPECT_FALSE(fs2.Bold);  // letter case is significant
  EXPECT_TRUE(fs2.Underline && fs2.StrikeOut);
  EXPECT_EQ(ini.ReadFontStyle("S", "missing"), TksFontStyles{});

  EXPECT_EQ(ini.ReadStretchType("S", "st1"), stHorz);
  EXPECT_EQ(ini.ReadStretchType("S", "st2"), stVert);
  EXPECT_EQ(ini.ReadStretchType("S", "st3"), stFull);
  EXPECT_EQ(ini.ReadStretchType("S", "st4"), stHorz);
  EXPECT_EQ(ini.ReadStretchType("S", "missing"), stFull);
  EXPECT_EQ(ini.ReadEffectKind("S", "ie1"), ieInvert);
  EXPECT_EQ(ini.ReadEffectKind("S", "ie2"), ieGrayScale);
  EXPECT_EQ(ini.ReadEffectKind("S", "missing"), ieBrightness);
  EXPECT_EQ(ini.ReadMorphKind("S", "mk1"), mkPush);
  EXPECT_EQ(ini.ReadMorphKind("S", "mk2"), mkDefault);
  EXPECT_EQ(ini.ReadAlignment("S", "al1"), kaLeftJustify);
  EXPECT_EQ(ini.ReadAlignment("S", "al2"), kaCenter);
  EXPECT_EQ(ini.ReadAlignment("S", "al3"), kaRightJustify);
  EXPECT_EQ(ini.ReadAlignment("S", "missing"), kaCenter);
}

TEST(IniFileValues, StringListsAndNameTypePairs) {
  const TksIniFile ini("[P]\nactivepicturescount=3\n0=a.bmp\n2=c.bmp\n");
  EXPECT_EQ(ini.ReadStrings("P", "activepictures"),
            (std::vector<AnsiString>{"a.bmp", "", "c.bmp"}));
  EXPECT_TRUE(ini.ReadStrings("P", "other").empty());

  AnsiString name, type;
  TksIniFile::SplitNameType("tab:tab:x", name, type);
  EXPECT_EQ(name, "tab");
  EXPECT_EQ(type, "tab:x");
  TksIniFile::SplitNameType("nocolon", name, type);
  EXPECT_TRUE(name.empty() && type.empty());
}

TEST(IniFileWriting, WrittenValuesReadBackAndTextReparses) {
  TksIniFile ini("[A]\nx=1\n[B]\ny=2\n");
  ini.WriteString("a", "X", "9");  // replaces the existing key in place
  ini.WriteRect("C", "r", RECT{1, 2, 3, 4});
  ini.WritePoint("C", "p", POINT{5, 6});
  ini.WriteFontStyle("C", "f", TksFontStyles{true, false, true, false});
  ini.WriteStrings("C", "list", {"u", "v"});
  ini.EraseSection("b");
  EXPECT_EQ(ini.GetText(),
            "[A]\r\nx=9\r\n\r\n[C]\r\nr=1,2,3,4\r\np=5,6\r\nf=fsbold,fsunderline\r\n"
            "listcount=2\r\n0=u\r\n1=v\r\n");
  const TksIniFile again(ini.GetText());
  EXPECT_TRUE(SameRect(again.ReadRect("C", "r"), RECT{1, 2, 3, 4}));
  EXPECT_EQ(again.ReadStrings("C", "list"), (std::vector<AnsiString>{"u", "v"}));
  EXPECT_FALSE(again.SectionExists("B"));
}

// Lookups of one section in turn are answered from the last one found: every change to the
// sections, and every copy, must start afresh.
TEST(IniFileWriting, LookupsFollowEveryChangeOfTheSections) {
  TksIniFile ini("[A]\nk=1\n");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
  EXPECT_EQ(ini.ReadString("B", "k", "none"), "none");
  ini.WriteString("B", "k", "2");  // a section added after it was missed
  EXPECT_EQ(ini.ReadString("B", "k", "none"), "2");
  for (int i = 0; i < 40; ++i) ini.WriteInteger("S" + IntToStr(i), "v", i);  // sections move
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
  EXPECT_EQ(ini.ReadInteger("S39", "v", -1), 39);

  TksIniFile copy(ini);
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
  ini.EraseSection("a");
  EXPECT_EQ(ini.ReadString("A", "k", "gone"), "gone");
  EXPECT_EQ(copy.ReadString("A", "k", "gone"), "1");  // its own sections, not the original's
  copy = ini;
  EXPECT_EQ(copy.ReadString("A", "k", "gone"), "gone");

  ini.SetText("[A]\nk=3\n");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "3");
  EXPECT_EQ(ini.ReadString("B", "k", "none"), "none");
}

}  // namespace
