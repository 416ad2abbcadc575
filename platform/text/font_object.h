// The GDI font object behind an HFONT: the logical font as created, and the realized face it
// resolves to on first use.
#pragma once

#include <memory>

#include "platform/gdi/gdi_object.h"
#include "platform/winfont.h"

namespace lumoa::platform {

class FontInstance;

class FontObject : public GdiObject {
 public:
  explicit FontObject(const LOGFONTW& lf);
  ~FontObject() override;

  const LOGFONTW& logfont() const { return lf_; }
  // GetObjectW(hfont): the LOGFONTW, truncated to cb bytes.
  int Describe(int cb, void* buffer) const override;
  // The face at the requested size; shared between fonts with the same face, size and style.
  FontInstance& instance() const;

 private:
  LOGFONTW lf_;
  mutable std::shared_ptr<FontInstance> instance_;
};

// The font behind h, or nullptr when h is not a live font.
FontObject* LookupFont(HGDIOBJ h);
// Creates a font object and returns its handle (DeleteObject frees it).
HFONT NewFont(const LOGFONTW& lf);

}  // namespace lumoa::platform
