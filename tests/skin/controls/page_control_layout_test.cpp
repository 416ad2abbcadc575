// Geometry of the skinned page control with the launcher's stored values.
#include "page_control_fixture.h"

namespace lumoa::skin::test {
namespace {

TEST_F(PageControlTest, LauncherRowWithSkinZero) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  ASSERT_TRUE(pc->TabSkin().Skinned());
  ASSERT_EQ(pc->VisibleTabCount(), 7);
  for (int i = 0; i < 7; ++i) {
    const TRect r = pc->GetTabRect(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 20);
    EXPECT_EQ(r.left, i == 0 ? 1 : pc->GetTabRect(i - 1).right);
  }
  EXPECT_EQ(pc->PageFrame().top, 20);
  EXPECT_EQ(pc->PageFrame().left, 0);
  EXPECT_EQ(pc->PageFrame().right, 346);
  EXPECT_EQ(pc->PageFrame().bottom, 55);
  EXPECT_EQ(pc->Scroller(), nullptr);
  printf("last right %d\n", pc->GetTabRect(6).right);
}

}  // namespace
}  // namespace lumoa::skin::test
