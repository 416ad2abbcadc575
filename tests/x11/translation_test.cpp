// Key and text translation at the X boundary (no server needed).
#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/keysym.h>

#include "platform/backend/x11/x11_keys.h"
#include "platform/backend/x11/x11_utf.h"

namespace lumoa::platform::x11 {
namespace {

TEST(X11KeysTest, KeySymsMapToVirtualKeys) {
  struct Case {
    unsigned long keysym;
    UINT vk;
  } cases[] = {
      {XK_a, 'A'},          {XK_Z, 'Z'},           {XK_0, '0'},          {XK_9, '9'},
      {XK_F1, 0x70},        {XK_F12, 0x7B},        {XK_Left, 0x25},      {XK_Down, 0x28},
      {XK_Home, 0x24},      {XK_End, 0x23},        {XK_Prior, 0x21},     {XK_Next, 0x22},
      {XK_Insert, 0x2D},    {XK_Delete, 0x2E},     {XK_BackSpace, 0x08}, {XK_Tab, 0x09},
      {XK_ISO_Left_Tab, 0x09}, {XK_Return, 0x0D},  {XK_KP_Enter, 0x0D},  {XK_Escape, 0x1B},
      {XK_space, 0x20},     {XK_Shift_R, 0x10},    {XK_Control_L, 0x11}, {XK_Alt_L, 0x12},
      {XK_KP_0, 0x60},      {XK_KP_9, 0x69},       {XK_KP_Add, 0x6B},    {XK_KP_Home, 0x24},
      {XK_KP_Delete, 0x2E}, {XK_semicolon, 0xBA},  {XK_apostrophe, 0xDE}, {XK_Super_L, 0x5B},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyFromKeySym(c.keysym), c.vk) << "keysym 0x" << std::hex << c.keysym;
  }
  EXPECT_EQ(VirtualKeyFromKeySym(XK_Hangul), 0u);  // unknown keys are not guessed
}

TEST(X11KeysTest, GrabbedKeySymRoundTripsAndModifiersTranslate) {
  for (UINT v : {UINT('1'), UINT('A'), UINT(0x70), UINT(0x0D), UINT(0x1B), UINT(0x60), UINT(0x2E)}) {
    const unsigned long ks = KeySymFromVirtualKey(v);
    ASSERT_NE(ks, 0u) << v;
    EXPECT_EQ(VirtualKeyFromKeySym(ks), v);
  }
  EXPECT_EQ(KeySymFromVirtualKey('A'), static_cast<unsigned long>(XK_a));  // key codes hold lower case
  EXPECT_EQ(KeySymFromVirtualKey(0xFF), 0u);
  EXPECT_EQ(XModifiersFromHotKey(mod::kAlt), static_cast<unsigned>(Mod1Mask));
  EXPECT_EQ(XModifiersFromHotKey(mod::kControl | mod::kShift | mod::kWin),
            static_cast<unsigned>(ControlMask | ShiftMask | Mod4Mask));
  EXPECT_EQ(MouseKeysFromState(ShiftMask | Button1Mask | Button3Mask | Mod1Mask),
            mk::kShift | mk::kLButton | mk::kRButton);
}

TEST(X11UtfTest, ConvertsBothWaysAndReplacesMalformedInput) {
  const std::u16string text = u"Lumoa 桌面搜索 \U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(u"桌"), "\xE6\xA1\x8C");
  // Truncated, overlong, stray continuation and surrogate encodings each become U+FFFD.
  EXPECT_EQ(Utf8ToUtf16("a\xE6\xA1"), u"a\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF" "b"), u"\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\x80x"), u"\uFFFDx");
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToLatin1(u"caf\u00e9 桌\U0001F600"), "caf\xE9 ??");
  EXPECT_EQ(Latin1ToUtf16("\xE9"), u"\u00e9");
}

}  // namespace
}  // namespace lumoa::platform::x11
