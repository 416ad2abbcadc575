// Translation between X keysyms and the virtual-key codes the window layer speaks, and
// between X modifier state and the MK_* / MOD_* bits. Pure functions: no display needed.
#pragma once

#include <cstdint>

#include "platform/windef.h"

namespace lumoa::platform::x11 {

// Virtual-key, mouse-key and hot-key modifier values used here; numerically the Win32 ones.
namespace vk {
inline constexpr UINT kBack = 0x08, kTab = 0x09, kClear = 0x0C, kReturn = 0x0D;
inline constexpr UINT kShift = 0x10, kControl = 0x11, kMenu = 0x12, kPause = 0x13,
                      kCapital = 0x14, kEscape = 0x1B, kSpace = 0x20;
inline constexpr UINT kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24, kLeft = 0x25,
                      kUp = 0x26, kRight = 0x27, kDown = 0x28, kSnapshot = 0x2C,
                      kInsert = 0x2D, kDelete = 0x2E;
inline constexpr UINT kLWin = 0x5B, kRWin = 0x5C, kApps = 0x5D;
inline constexpr UINT kNumpad0 = 0x60, kMultiply = 0x6A, kAdd = 0x6B, kSeparator = 0x6C,
                      kSubtract = 0x6D, kDecimal = 0x6E, kDivide = 0x6F;
inline constexpr UINT kProcessKey = 0xE5;  // a key the input method consumed
inline constexpr UINT kF1 = 0x70, kF24 = 0x87, kNumLock = 0x90, kScroll = 0x91;
inline constexpr UINT kOem1 = 0xBA, kOemPlus = 0xBB, kOemComma = 0xBC, kOemMinus = 0xBD,
                      kOemPeriod = 0xBE, kOem2 = 0xBF, kOem3 = 0xC0, kOem4 = 0xDB,
                      kOem5 = 0xDC, kOem6 = 0xDD, kOem7 = 0xDE;
}  // namespace vk

namespace mk {
inline constexpr UINT kLButton = 0x01, kRButton = 0x02, kShift = 0x04, kControl = 0x08,
                      kMButton = 0x10;
}

namespace mod {
inline constexpr UINT kAlt = 0x1, kControl = 0x2, kShift = 0x4, kWin = 0x8;
}

using KeySymValue = unsigned long;  // X's KeySym without pulling in Xlib here

// The virtual key for a keysym (after the keypad's NumLock choice was made); 0 when unknown.
UINT VirtualKeyFromKeySym(KeySymValue keysym);

// The keysym to grab for a virtual key (letters give the lower-case keysym); 0 when unknown.
KeySymValue KeySymFromVirtualKey(UINT vk);

// MK_* bits for an X event state (ShiftMask, ControlMask, Button1Mask...).
UINT MouseKeysFromState(unsigned int state);

// X modifier mask (ShiftMask | ControlMask | Mod1Mask | Mod4Mask) for MOD_* bits.
unsigned int XModifiersFromHotKey(UINT modifiers);

}  // namespace lumoa::platform::x11
