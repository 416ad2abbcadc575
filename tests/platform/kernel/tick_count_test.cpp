#include <gtest/gtest.h>

#include "platform/backend/headless/headless_backend.h"
#include "platform/winbase.h"

namespace {

TEST(TickCount, FollowsTheBackendClock) {
  auto* headless = dynamic_cast<lumoa::platform::HeadlessBackend*>(&lumoa::platform::GetBackend());
  if (!headless) GTEST_SKIP() << "needs the headless back end";
  const DWORD before = GetTickCount();
  const ULONGLONG before64 = GetTickCount64();
  headless->AdvanceClock(1500);
  EXPECT_EQ(GetTickCount() - before, 1500u);
  EXPECT_EQ(GetTickCount64() - before64, 1500u);
}

}  // namespace
