#include "platform/backend/x11/x11_keys.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace lumoa::platform::x11 {

namespace {

struct KeyPair {
  KeySymValue keysym;
  UINT vk;
};

// Keys whose virtual key is not derived arithmetically. The first entry for a virtual key is
// the one grabbed for it.
constexpr KeyPair kKeys[] = {
    {XK_BackSpace, vk::kBack},     {XK_Tab, vk::kTab},
    {XK_ISO_Left_Tab, vk::kTab},   {XK_Clear, vk::kClear},
    {XK_Return, vk::kReturn},      {XK_KP_Enter, vk::kReturn},
    {XK_Shift_L, vk::kShift},      {XK_Shift_R, vk::kShift},
    {XK_Control_L, vk::kControl},  {XK_Control_R, vk::kControl},
    {XK_Alt_L, vk::kMenu},         {XK_Alt_R, vk::kMenu},
    {XK_Meta_L, vk::kMenu},        {XK_Meta_R, vk::kMenu},
    {XK_ISO_Level3_Shift, vk::kMenu},
    {XK_Pause, vk::kPause},        {XK_Caps_Lock, vk::kCapital},
    {XK_Escape, vk::kEscape},      {XK_space, vk::kSpace},
    {XK_Prior, vk::kPrior},        {XK_Next, vk::kNext},
    {XK_End, vk::kEnd},            {XK_Home, vk::kHome},
    {XK_Left, vk::kLeft},          {XK_Up, vk::kUp},
    {XK_Right, vk::kRight},        {XK_Down, vk::kDown},
    {XK_Print, vk::kSnapshot},     {XK_Insert, vk::kInsert},
    {XK_Delete, vk::kDelete},      {XK_Super_L, vk::kLWin},
    {XK_Super_R, vk::kRWin},       {XK_Menu, vk::kApps},
    {XK_KP_Multiply, vk::kMultiply}, {XK_KP_Add, vk::kAdd},
    {XK_KP_Separator, vk::kSeparator}, {XK_KP_Subtract, vk::kSubtract},
    {XK_KP_Decimal, vk::kDecimal}, {XK_KP_Divide, vk::kDivide},
    {XK_Num_Lock, vk::kNumLock},   {XK_Scroll_Lock, vk::kScroll},
    // The keypad without NumLock behaves like the editing keys.
    {XK_KP_Prior, vk::kPrior},     {XK_KP_Next, vk::kNext},
    {XK_KP_End, vk::kEnd},         {XK_KP_Home, vk::kHome},
    {XK_KP_Left, vk::kLeft},       {XK_KP_Up, vk::kUp},
    {XK_KP_Right, vk::kRight},     {XK_KP_Down, vk::kDown},
    {XK_KP_Insert, vk::kInsert},   {XK_KP_Delete, vk::kDelete},
    {XK_KP_Begin, vk::kClear},     {XK_KP_Space, vk::kSpace},
    {XK_KP_Tab, vk::kTab},
    {XK_semicolon, vk::kOem1},     {XK_colon, vk::kOem1},
    {XK_equal, vk::kOemPlus},      {XK_plus, vk::kOemPlus},
    {XK_comma, vk::kOemComma},     {XK_less, vk::kOemComma},
    {XK_minus, vk::kOemMinus},     {XK_underscore, vk::kOemMinus},
    {XK_period, vk::kOemPeriod},   {XK_greater, vk::kOemPeriod},
    {XK_slash, vk::kOem2},         {XK_question, vk::kOem2},
    {XK_grave, vk::kOem3},         {XK_asciitilde, vk::kOem3},
    {XK_bracketleft, vk::kOem4},   {XK_braceleft, vk::kOem4},
    {XK_backslash, vk::kOem5},     {XK_bar, vk::kOem5},
    {XK_bracketright, vk::kOem6},  {XK_braceright, vk::kOem6},
    {XK_apostrophe, vk::kOem7},    {XK_quotedbl, vk::kOem7},
};

}  // namespace

UINT VirtualKeyFromKeySym(KeySymValue ks) {
  if (ks >= XK_a && ks <= XK_z) return static_cast<UINT>('A' + (ks - XK_a));
  if (ks >= XK_A && ks <= XK_Z) return static_cast<UINT>('A' + (ks - XK_A));
  if (ks >= XK_0 && ks <= XK_9) return static_cast<UINT>('0' + (ks - XK_0));
  if (ks >= XK_KP_0 && ks <= XK_KP_9) return vk::kNumpad0 + static_cast<UINT>(ks - XK_KP_0);
  if (ks >= XK_F1 && ks <= XK_F24) return vk::kF1 + static_cast<UINT>(ks - XK_F1);
  for (const KeyPair& k : kKeys) {
    if (k.keysym == ks) return k.vk;
  }
  return 0;
}

KeySymValue KeySymFromVirtualKey(UINT v) {
  if (v >= 'A' && v <= 'Z') return XK_a + (v - 'A');
  if (v >= '0' && v <= '9') return XK_0 + (v - '0');
  if (v >= vk::kNumpad0 && v <= vk::kNumpad0 + 9) return XK_KP_0 + (v - vk::kNumpad0);
  if (v >= vk::kF1 && v <= vk::kF24) return XK_F1 + (v - vk::kF1);
  for (const KeyPair& k : kKeys) {
    if (k.vk == v) return k.keysym;
  }
  return 0;
}

UINT MouseKeysFromState(unsigned int state) {
  UINT mk = 0;
  if (state & ShiftMask) mk |= mk::kShift;
  if (state & ControlMask) mk |= mk::kControl;
  if (state & Button1Mask) mk |= mk::kLButton;
  if (state & Button2Mask) mk |= mk::kMButton;
  if (state & Button3Mask) mk |= mk::kRButton;
  return mk;
}

unsigned int XModifiersFromHotKey(UINT modifiers) {
  unsigned int m = 0;
  if (modifiers & mod::kAlt) m |= Mod1Mask;
  if (modifiers & mod::kControl) m |= ControlMask;
  if (modifiers & mod::kShift) m |= ShiftMask;
  if (modifiers & mod::kWin) m |= Mod4Mask;
  return m;
}

}  // namespace lumoa::platform::x11
