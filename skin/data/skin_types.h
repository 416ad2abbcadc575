// Value kinds shared by the skin description and its records.
#pragma once

#include <cstdint>

#include "platform/windef.h"

enum TksStretchType : uint8_t { stFull = 0, stHorz = 1, stVert = 2 };

enum TksEffectKind : uint8_t {
  ieBrightness = 0,
  ieDarkness = 1,
  ieGrayScale = 2,
  ieNoise = 3,
  ieSplitBlur = 4,
  ieInvert = 5,
};

enum TksMorphKind : uint8_t {
  mkDefault = 0,
  mkGradient = 1,
  mkLeftGradient = 2,
  mkRightGradient = 3,
  mkLeftSlide = 4,
  mkRightSlide = 5,
  mkPush = 6,
};

enum TksAlignment : uint8_t { kaLeftJustify = 0, kaRightJustify = 1, kaCenter = 2 };

// Commands of the frame's standard buttons.
enum TksStdCommand : uint8_t {
  cmClose = 0,
  cmMaximize = 1,
  cmMinimize = 2,
  cmSysMenu = 3,
  cmDefault = 4,
  cmRollUp = 5,
  cmMinimizeToTray = 6,
};

struct TksFontStyles {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  bool operator==(const TksFontStyles&) const = default;
};

inline bool IsRectEmptyArea(const RECT& r) { return r.right - r.left <= 0 || r.bottom - r.top <= 0; }
inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool SamePoint(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

// A system colour: its index with the most significant byte set; resolved when drawn.
constexpr COLORREF SysColorValue(int index) { return 0xFF000000u | static_cast<COLORREF>(index); }
