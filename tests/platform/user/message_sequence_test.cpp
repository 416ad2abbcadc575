// The message-sequence helper, message names and the trace channel.
#include "support/message_sequence.h"

#include "user_test.h"

namespace lumoa::platform::test {
namespace {

using namespace lumoa::test;

class MessageSequence : public UserTest {};

TEST_F(MessageSequence, NamesCoverWindowAndClassMessagesAndRangesOfOthers) {
  EXPECT_EQ(MessageName(WM_PAINT), "WM_PAINT");
  EXPECT_EQ(MessageName(WM_NCHITTEST), "WM_NCHITTEST");
  EXPECT_EQ(MessageName(EM_SETSEL), "EM_SETSEL");
  EXPECT_EQ(MessageName(LB_SETCURSEL), "LB_SETCURSEL");
  EXPECT_EQ(MessageName(TCM_SETCURSEL), "TCM_SETCURSEL");
  EXPECT_EQ(MessageName(WM_USER + 0x12), "WM_USER+0x12");
  EXPECT_EQ(MessageName(WM_APP + 3), "WM_APP+0x3");
  EXPECT_EQ(MessageName(0xC123), "0xC123");
}

TEST_F(MessageSequence, ComparesInOrderWithOptionalEntriesAndParameterChecks) {
  const std::vector<SeenMsg> seen{{nullptr, WM_CREATE, sent, 0, 0},
                                  {nullptr, WM_SIZE, sent, 0, MAKELPARAM(10, 20)},
                                  {nullptr, WM_PAINT, posted, 0, 0}};
  EXPECT_TRUE(MessagesMatch(seen, {{WM_CREATE}, {WM_SHOWWINDOW, sent | optional},
                                   {WM_SIZE, sent | lparam, 0, MAKELPARAM(10, 20)},
                                   {WM_PAINT, posted}, {WM_TIMER, posted | optional}}));
  // What differs, each alone.
  EXPECT_FALSE(MessagesMatch(seen, {{WM_CREATE}, {WM_SIZE}, {WM_PAINT, sent}}));
  EXPECT_FALSE(MessagesMatch(seen, {{WM_CREATE}, {WM_SIZE, sent | lparam, 0, 1}, {WM_PAINT}}));
  EXPECT_FALSE(MessagesMatch(seen, {{WM_CREATE}, {WM_SIZE, sent | wparam, 1}, {WM_PAINT}}));
  EXPECT_FALSE(MessagesMatch(seen, {{WM_CREATE}, {WM_SIZE}}));                      // extra
  EXPECT_FALSE(MessagesMatch(seen, {{WM_CREATE}, {WM_SIZE}, {WM_PAINT}, {WM_MOVE}}));  // missing
  EXPECT_FALSE(MessagesMatch(seen, {{WM_CREATE, sent | defproc}, {WM_SIZE}, {WM_PAINT}}));

  // A failure names the messages and marks the first difference.
  const auto r = MessagesMatch(seen, {{WM_CREATE}, {WM_MOVE}, {WM_PAINT, posted}});
  const std::string text = r.message();
  EXPECT_NE(text.find("differs at expected #1, seen #1 (message differs)"), std::string::npos)
      << text;
  EXPECT_NE(text.find("  > 1 WM_MOVE sent"), std::string::npos) << text;
  EXPECT_NE(text.find("  > 1 WM_SIZE sent w=0 l=0x14000a"), std::string::npos) << text;
}

TEST_F(MessageSequence, RecorderTellsSentPostedAndMessagesOfTheDefaultProcedure) {
  HWND top = Make(WS_VISIBLE, 0, 0, 50, 50);
  RunUntilIdle();
  MessageRecorder rec({top});
  PostMessageW(top, WM_USER + 1, 2, 3);
  SendMessageW(top, WM_USER + 2, 4, 5);
  RunUntilIdle();
  // WM_CLOSE's default handling destroys the window: what it sends comes from the default.
  SendMessageW(top, WM_CLOSE, 0, 0);
  EXPECT_MESSAGES(rec, {{WM_USER + 2, sent | wparam | lparam, 4, 5},
                        {WM_USER + 1, posted | wparam | lparam, 2, 3},
                        {WM_CLOSE, sent},
                        {WM_WINDOWPOSCHANGING, sent | defproc},
                        {WM_KILLFOCUS, sent | defproc | optional},
                        {WM_NCACTIVATE, sent | defproc | wparam, FALSE},
                        {WM_ACTIVATE, sent | defproc | wparam, WA_INACTIVE},
                        {WM_ACTIVATEAPP, sent | defproc | wparam, FALSE},
                        {WM_WINDOWPOSCHANGED, sent | defproc},
                        {WM_DESTROY, sent | defproc},
                        {WM_NCDESTROY, sent | defproc}});
}

TEST_F(MessageSequence, TraceWritesOneLinePerEventWhenOn) {
  HWND top = Make(WS_VISIBLE, 0, 0, 50, 50);
  RunUntilIdle();
  ::testing::internal::CaptureStderr();
  SendMessageW(top, WM_USER + 7, 1, 2);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");  // off unless asked for
  SetTraceChannels("paint,msg");
  ::testing::internal::CaptureStderr();
  SendMessageW(top, WM_USER + 7, 1, 2);
  SetTimer(top, 5, 10, nullptr);  // timer channel off: no line
  SetTraceChannels("");
  const std::string out = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(out.find("[msg] sent "), std::string::npos) << out;
  EXPECT_NE(out.find(" WM_USER+0x7 wParam=0x1 lParam=0x2\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("[timer]"), std::string::npos) << out;
  KillTimer(top, 5);
}

}  // namespace
}  // namespace lumoa::platform::test
