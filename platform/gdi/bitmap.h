// Bitmap objects (DIB sections and device-dependent bitmaps) and DIB header parsing.
#pragma once

#include "platform/gdi/gdi_object.h"
#include "platform/gdi/pixel_buffer.h"

namespace lumoa::platform {

class Bitmap : public GdiObject {
 public:
  Bitmap() : GdiObject(OBJ_BITMAP) {}
  // BITMAP for any bitmap; DIBSECTION too for DIB sections when cb allows it.
  int Describe(int cb, void* buffer) const override;

  PixelBuffer px;
  bool dib_section = false;
  BITMAPINFOHEADER header{};  // as created (DIB sections)
  DWORD masks[3] = {0, 0, 0};
  HDC owner = nullptr;  // the memory DC it is selected into
};

inline Bitmap* LookupBitmap(HGDIOBJ h) { return LookupGdi<Bitmap>(h, OBJ_BITMAP); }

// A BITMAPINFO reduced to what pixel conversion needs.
struct DibFormat {
  int width = 0;
  int height = 0;  // absolute
  bool top_down = false;
  int bpp = 0;
  DWORD compression = BI_RGB;
  DWORD masks[3] = {0, 0, 0};
  std::vector<RGBQUAD> colors;
  int stride = 0;
};

// Parses and validates a header (and, with colours, its colour table or masks); false when the
// header is malformed or describes a format we do not offer.
bool ParseDibHeader(const BITMAPINFO* bmi, bool need_colors, DibFormat& out);

// The monochrome 1x1 bitmap every new memory DC starts with.
HBITMAP DefaultDcBitmap();

// Creates a bitmap object of the given format; nullptr when the size is invalid.
Bitmap* NewBitmap(int w, int h, int bpp, bool top_down, bool dib_section);

}  // namespace lumoa::platform
