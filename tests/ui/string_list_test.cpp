#include "ui/string_list.h"

#include <gtest/gtest.h>

#include "ui/streams.h"

TEST(StringList, NamesValuesAndCaseInsensitiveLookup) {
  TStringList l;
  l.SetText("MI_MINCAPTION=Minimize\r\nEDIT_COPY=Copy\nplain\rk==v\r\n");
  ASSERT_EQ(l.Count(), 4);
  EXPECT_EQ(l.Names(0), "MI_MINCAPTION");
  EXPECT_EQ(l.Names(2), "");
  EXPECT_EQ(l.Values("edit_copy"), "Copy");
  EXPECT_EQ(l.Values("k"), "=v");
  EXPECT_EQ(l.Values("missing"), "");
  EXPECT_EQ(l.IndexOf("PLAIN"), 2);
  l.SetValue("EDIT_COPY", "Copy all");
  EXPECT_EQ(l[1], "EDIT_COPY=Copy all");
  l.SetValue("new", "1");
  EXPECT_EQ(l.Count(), 5);
  l.SetValue("MI_MINCAPTION", "");  // an empty value deletes the line
  EXPECT_EQ(l.IndexOfName("mi_mincaption"), -1);
  EXPECT_EQ(l.Text(), "EDIT_COPY=Copy all\r\nplain\r\nk==v\r\nnew=1\r\n");
  EXPECT_THROW(l.Get(4), EListError);
  EXPECT_THROW(l.Insert(6, "x"), EListError);
}

TEST(StringList, SortedFindAndDuplicates) {
  TStringList l;
  l.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "apple"}) l.Add(s);
  // dupIgnore: the second "apple" is dropped, compared without case.
  ASSERT_EQ(l.Count(), 3);
  EXPECT_EQ(l[0], "Apple");
  EXPECT_EQ(l[2], "pear");
  int index = -1;
  EXPECT_TRUE(l.Find("FIG", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(l.Find("grape", index));
  EXPECT_EQ(index, 2);
  EXPECT_THROW(l.Insert(0, "x"), EListError);

  l.SetDuplicates(dupError);
  EXPECT_THROW(l.Add("PEAR"), EListError);
  EXPECT_EQ(l.Count(), 3);
  l.SetDuplicates(dupAccept);
  l.Add("PEAR");
  EXPECT_EQ(l.Count(), 4);
  EXPECT_EQ(l.IndexOf("pear"), 2);

  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOf("pear"), 3);
  EXPECT_EQ(l.IndexOf("Pear"), -1);
}

TEST(StringList, CommaTextQuotesAndParses) {
  TStringList l;
  l.SetCommaText(R"( a, "b c" ,"say ""hi""",,d e)");
  ASSERT_EQ(l.Count(), 6);
  EXPECT_EQ(l[1], "b c");
  EXPECT_EQ(l[2], "say \"hi\"");
  EXPECT_EQ(l[3], "");
  EXPECT_EQ(l[4], "d");  // an unquoted blank separates
  EXPECT_EQ(l[5], "e");
  EXPECT_EQ(l.CommaText(), R"(a,"b c","say ""hi""",,d,e)");
  l.SetCommaText("x,");
  EXPECT_EQ(l.Count(), 2);
  l.Clear();
  l.Add("");
  EXPECT_EQ(l.CommaText(), "\"\"");
}

TEST(StringList, ChangeEventsBatchAndStreamRoundTrip) {
  TStringList l;
  int changes = 0;
  int changing = 0;
  l.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &l);
    ++changes;
  };
  l.OnChanging = [&](TObject*) { ++changing; };
  l.Add("a");
  EXPECT_EQ(changes, 1);
  l.BeginUpdate();
  l.Add("b");
  l.Add("c");
  l.Delete(0);
  EXPECT_EQ(changes, 1);
  l.EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(changing, 2);

  TMemoryStream m;
  m.WriteBuffer("xx", 2);
  l.SaveToStream(m);
  m.SetPosition(2);  // load reads from the position to the end
  TStringList back;
  back.LoadFromStream(m);
  EXPECT_TRUE(back.Equals(l));
  EXPECT_EQ(m.Position(), m.Size());

  TStringList copy;
  copy.Assign(&l);
  EXPECT_EQ(copy.Text(), "b\r\nc\r\n");
}
