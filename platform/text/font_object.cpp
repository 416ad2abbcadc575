#include "platform/text/font_object.h"

#include <algorithm>
#include <cstring>

#include "platform/text/font_instance.h"

namespace lumoa::platform {

FontObject::FontObject(const LOGFONTW& lf) : GdiObject(OBJ_FONT), lf_(lf) {
  lf_.lfFaceName[LF_FACESIZE - 1] = 0;  // a face name without terminator is cut, not overrun
}

FontObject::~FontObject() = default;

int FontObject::Describe(int cb, void* buffer) const {
  if (!buffer) return static_cast<int>(sizeof(LOGFONTW));
  const int n = std::clamp(cb, 0, static_cast<int>(sizeof(LOGFONTW)));
  std::memcpy(buffer, &lf_, static_cast<size_t>(n));
  return n;
}

FontInstance& FontObject::instance() const {
  if (!instance_) instance_ = FontInstance::Get(lf_);
  return *instance_;
}

FontObject* LookupFont(HGDIOBJ h) { return LookupGdi<FontObject>(h, OBJ_FONT); }

HFONT NewFont(const LOGFONTW& lf) {
  // A GDI handle is the address of its object, as LookupGdiObject expects.
  GdiObject* object = new FontObject(lf);
  return reinterpret_cast<HFONT>(object);
}

}  // namespace lumoa::platform
