#include "app/desktop_identity.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/main_form.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/user/window.h"

namespace lumoa::app {
namespace {

// What the program hands the desktop at start: the class its desktop entry names, the
// application title for task lists, and every icon size, decoded from the built-in pictures.
TEST(DesktopIdentity, ClassTitleAndEveryIconSizeReachThePlatform) {
  platform::user::ResetUserState();
  platform::SetBackend(std::make_unique<platform::HeadlessBackend>());
  ASSERT_TRUE(IdentifyToDesktop(ApplicationTitle()));
  const platform::AppIdentity& id = platform::Headless().Identity();
  EXPECT_EQ(id.className, "Lumoa");
  EXPECT_EQ(id.instanceName, "lumoa");
  EXPECT_EQ(id.title, u"Lumoa桌面搜索");
  const int sizes[] = {16, 24, 32, 48, 64, 128, 256};
  ASSERT_EQ(id.icons.size(), std::size(sizes));
  for (size_t i = 0; i < id.icons.size(); ++i) {
    const platform::CursorImage& icon = id.icons[i];
    SCOPED_TRACE(sizes[i]);
    ASSERT_EQ(icon.width, sizes[i]);
    ASSERT_EQ(icon.height, sizes[i]);
    ASSERT_EQ(icon.pixels.size(), size_t(sizes[i]) * sizes[i]);
    const auto at = [&](int x, int y) { return icon.pixels[size_t(y) * icon.width + x]; };
    // A rounded badge: the corner is clear, the left edge's middle opaque and blue.
    EXPECT_EQ(at(0, 0) >> 24, 0u);
    const uint32_t edge = at(icon.width / 8 + 1, icon.height / 2);
    EXPECT_EQ(edge >> 24, 0xFFu);
    EXPECT_GT(edge & 0xFF, (edge >> 16) & 0xFF) << std::hex << edge;  // more blue than red
  }
  platform::user::ResetUserState();
}

// The program names itself before its first frame and adds the icons after it: the first call
// carries the class and title only, and the second does not lose them.
TEST(DesktopIdentity, IconsCanFollowTheNameWithoutLosingIt) {
  platform::user::ResetUserState();
  platform::SetBackend(std::make_unique<platform::HeadlessBackend>());
  ASSERT_TRUE(IdentifyToDesktop(ApplicationTitle(), /*withIcons=*/false));
  EXPECT_EQ(platform::Headless().Identity().className, "Lumoa");
  EXPECT_EQ(platform::Headless().Identity().title, u"Lumoa桌面搜索");
  EXPECT_TRUE(platform::Headless().Identity().icons.empty());
  ASSERT_TRUE(IdentifyToDesktop(ApplicationTitle()));
  EXPECT_EQ(platform::Headless().Identity().className, "Lumoa");
  EXPECT_EQ(platform::Headless().Identity().title, u"Lumoa桌面搜索");
  EXPECT_EQ(platform::Headless().Identity().icons.size(), 7u);
  platform::user::ResetUserState();
}

}  // namespace
}  // namespace lumoa::app
