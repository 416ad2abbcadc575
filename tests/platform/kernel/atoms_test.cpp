#include <gtest/gtest.h>

#include <string>

#include "platform/winbase.h"

namespace {

TEST(GlobalAtoms, StringAtomsAreCountedAndCaseInsensitive) {
  const ATOM a = GlobalAddAtomW(u"LumoaTestAtom");
  ASSERT_GE(a, 0xC000);
  EXPECT_EQ(GlobalAddAtomW(u"lumoatestatom"), a);
  EXPECT_EQ(GlobalFindAtomA("LUMOATESTATOM"), a);
  char name[64];
  EXPECT_EQ(GlobalGetAtomNameA(a, name, sizeof name), 13u);
  EXPECT_STREQ(name, "LumoaTestAtom");  // the spelling first added

  EXPECT_EQ(GlobalDeleteAtom(a), 0);
  EXPECT_EQ(GlobalFindAtomW(u"LumoaTestAtom"), a);  // one reference left
  EXPECT_EQ(GlobalDeleteAtom(a), 0);
  EXPECT_EQ(GlobalFindAtomW(u"LumoaTestAtom"), 0);
  EXPECT_EQ(GlobalDeleteAtom(a), a);  // already gone: failure returns the atom
  EXPECT_EQ(GlobalGetAtomNameA(a, name, sizeof name), 0u);

  const ATOM b = GlobalAddAtomA("\xD6\xD0\xCE\xC4");  // GBK "中文"
  ASSERT_GE(b, 0xC000);
  WCHAR wname[8];
  EXPECT_EQ(GlobalGetAtomNameW(b, wname, 8), 2u);
  EXPECT_EQ(std::u16string(wname), u"\u4E2D\u6587");
  // A buffer too small never splits a double-byte character.
  char three[4];
  EXPECT_EQ(GlobalGetAtomNameA(b, three, 4), 2u);
  EXPECT_STREQ(three, "\xD6\xD0");
  EXPECT_EQ(GlobalDeleteAtom(b), 0);
}

TEST(GlobalAtoms, IntegerAtomsAndBadNames) {
  EXPECT_EQ(GlobalAddAtomA("#123"), 123);
  EXPECT_EQ(GlobalFindAtomW(MAKEINTATOM(77)), 77);
  EXPECT_EQ(GlobalDeleteAtom(123), 0);
  char name[16];
  EXPECT_EQ(GlobalGetAtomNameA(123, name, sizeof name), 4u);
  EXPECT_STREQ(name, "#123");
  EXPECT_EQ(GlobalAddAtomA("#0"), 0);
  EXPECT_EQ(GlobalAddAtomA("#49152"), 0);  // 0xC000 is no integer atom
  EXPECT_EQ(GlobalAddAtomA(""), 0);
  EXPECT_EQ(GlobalAddAtomW(nullptr), 0);
  EXPECT_EQ(GlobalAddAtomA(std::string(256, 'x').c_str()), 0);
  // "#12a" is not a number: a string atom.
  const ATOM s = GlobalAddAtomA("#12a");
  EXPECT_GE(s, 0xC000);
  GlobalDeleteAtom(s);
}

TEST(GlobalAtoms, FreedSlotsAreReused) {
  const ATOM a = GlobalAddAtomA("lumoa-slot-a");
  const ATOM b = GlobalAddAtomA("lumoa-slot-b");
  ASSERT_NE(a, b);
  GlobalDeleteAtom(a);
  const ATOM c = GlobalAddAtomA("lumoa-slot-c");
  EXPECT_EQ(c, a);
  EXPECT_EQ(GlobalFindAtomA("lumoa-slot-a"), 0);
  EXPECT_EQ(GlobalFindAtomA("LUMOA-SLOT-C"), c);
  GlobalDeleteAtom(b);
  GlobalDeleteAtom(c);
}

}  // namespace
