// Brush and pen objects.
#pragma once

#include <memory>

#include "platform/gdi/gdi_object.h"
#include "platform/gdi/pixel_buffer.h"

namespace lumoa::platform {

class Brush : public GdiObject {
 public:
  Brush(UINT style, COLORREF color) : GdiObject(OBJ_BRUSH), style(style), color(color) {}
  int Describe(int cb, void* buffer) const override;

  UINT style;
  COLORREF color;
  bool dc_brush = false;                 // the DC_BRUSH stock object: colour comes from the DC
  std::unique_ptr<PixelBuffer> pattern;  // BS_PATTERN: a private copy of the bitmap
  HBITMAP pattern_handle = nullptr;      // reported by GetObject, as Win32 does
};

class Pen : public GdiObject {
 public:
  Pen(UINT style, int width, COLORREF color)
      : GdiObject(OBJ_PEN), style(style), width(width), color(color) {}
  int Describe(int cb, void* buffer) const override;

  UINT style;
  int width;
  COLORREF color;
  bool dc_pen = false;
};

inline Brush* LookupBrush(HGDIOBJ h) { return LookupGdi<Brush>(h, OBJ_BRUSH); }
inline Pen* LookupPen(HGDIOBJ h) { return LookupGdi<Pen>(h, OBJ_PEN); }

}  // namespace lumoa::platform
