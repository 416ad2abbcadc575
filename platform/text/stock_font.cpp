#include "platform/text/stock_font.h"

#include <string_view>

#include "platform/text/font_object.h"

namespace lumoa::platform {
namespace {

HFONT MakeStock(LONG height, LONG weight, BYTE pitchAndFamily, std::u16string_view face) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfPitchAndFamily = pitchAndFamily;
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  HFONT font = NewFont(lf);
  LookupFont(font)->stock = true;
  return font;
}

}  // namespace

HFONT StockFont(int id) {
  switch (id) {
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT: {
      static const HFONT system = MakeStock(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, u"System");
      return system;
    }
    case DEFAULT_GUI_FONT:
    case ANSI_VAR_FONT: {
      // 8 points at 96 dpi.
      static const HFONT gui = MakeStock(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, u"MS Sans Serif");
      return gui;
    }
    case ANSI_FIXED_FONT:
    case OEM_FIXED_FONT:
    case SYSTEM_FIXED_FONT: {
      static const HFONT fixed = MakeStock(-13, FW_NORMAL, FIXED_PITCH | FF_MODERN, u"Courier New");
      return fixed;
    }
    default:
      return nullptr;
  }
}

}  // namespace lumoa::platform
