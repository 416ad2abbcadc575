#include "skin/data/resource_str_data.h"

#include <gtest/gtest.h>

namespace {

TEST(ResourceStrData, BuiltInTable) {
  TComponentPtr<TksResourceStrData> data(new TksResourceStrData(nullptr));
  TStrings& lines = *data->ResStrings();
  ASSERT_EQ(lines.Count(), 131);
  EXPECT_EQ(lines[0], "MI_MINCAPTION=Mi&nimize");
  EXPECT_EQ(lines[18], "EDIT_SELECTALL=Select All");
  EXPECT_EQ(lines[19], "MSG_BTN_YES=&Yes");
  EXPECT_EQ(lines[130], "DBNAV_REFRESH=REFRESH");
  EXPECT_EQ(data->CharSet, 1);
  EXPECT_EQ(data->GetResStr("MI_MINCAPTION"), "Mi&nimize");
  EXPECT_EQ(data->GetResStr("mi_mincaption"), "Mi&nimize");
  EXPECT_EQ(data->GetResStr("FLV_LOOKIN"), "Look in: ");
  EXPECT_EQ(data->GetResStr("NO_SUCH_KEY"), "");
}

TEST(ResourceStrData, AssignedListReplacesTable) {
  TComponentPtr<TksResourceStrData> data(new TksResourceStrData(nullptr));
  TStringList list;
  list.Add("EDIT_COPY=Kopieren");
  list.Add("FORMULA=a=b+c");
  list.Add("NOEQUALS");
  data->SetResStrings(&list);
  list.Clear();  // the table keeps its own copy
  EXPECT_EQ(data->ResStrings()->Count(), 3);
  EXPECT_EQ(data->GetResStr("EDIT_COPY"), "Kopieren");
  EXPECT_EQ(data->GetResStr("EDIT_CUT"), "");
  EXPECT_EQ(data->GetResStr("formula"), "a=b+c");
  EXPECT_EQ(data->GetResStr("NOEQUALS"), "");
}

}  // namespace
