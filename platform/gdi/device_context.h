// Device contexts: memory DCs over a selected bitmap and surface DCs over a window's shared
// pixel surface, with the Win32 DC state, SaveDC/RestoreDC and the effective clip.
#pragma once

#include <optional>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/region.h"

namespace lumoa::platform {

struct DcState {
  HBITMAP bitmap = nullptr;
  HBRUSH brush = nullptr;
  HPEN pen = nullptr;
  HFONT font = nullptr;
  COLORREF text_color = RGB(0, 0, 0);
  COLORREF bk_color = RGB(255, 255, 255);
  int bk_mode = OPAQUE;
  UINT text_align = TA_LEFT | TA_TOP | TA_NOUPDATECP;
  int rop2 = R2_COPYPEN;
  int stretch_mode = BLACKONWHITE;
  COLORREF dc_brush_color = RGB(255, 255, 255);
  COLORREF dc_pen_color = RGB(0, 0, 0);
  POINT window_org{0, 0};
  POINT viewport_org{0, 0};
  POINT brush_org{0, 0};
  POINT position{0, 0};
  std::optional<Rgn> clip;  // device units; none means "no clip region"
};

class DeviceContext : public GdiObject {
 public:
  explicit DeviceContext(DWORD type) : GdiObject(type) {}
  ~DeviceContext() override;

  // Logical to surface offset: device = logical - window origin + viewport origin, surface =
  // device + origin.
  POINT offset() const {
    return POINT{st.viewport_org.x - st.window_org.x + origin.x,
                 st.viewport_org.y - st.window_org.y + origin.y};
  }
  // The pixels drawn into, or nullptr when the bitmap or surface is gone.
  Bitmap* target() const;
  // Clip in surface coordinates: clip region, visible region and the bitmap's bounds.
  const Rgn& EffectiveClip() const;
  void InvalidateClip() { clip_valid_ = false; }
  // Selects an object of the given kind, maintaining the selection counts; returns the
  // previous handle or nullptr on failure.
  HGDIOBJ Select(HGDIOBJ h);
  COLORREF BrushColor(const class Brush& b) const;

  DcState st;
  std::vector<DcState> saved;
  bool surface = false;
  POINT origin{0, 0};          // surface DCs: where device (0,0) lies on the surface
  std::optional<Rgn> visible;  // surface coordinates

 private:
  mutable Rgn clip_cache_;
  mutable bool clip_valid_ = false;
};

inline DeviceContext* LookupDC(HDC h) {
  GdiObject* o = LookupGdiObject(h);
  if (!o || (o->type() != OBJ_DC && o->type() != OBJ_MEMDC)) return nullptr;
  return static_cast<DeviceContext*>(o);
}

// Sets up a fresh DC's default objects.
void InitDcDefaults(DeviceContext& dc);

}  // namespace lumoa::platform
