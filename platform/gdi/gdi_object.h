// Common base of every GDI object (bitmaps, brushes, pens, fonts, regions, DCs) so that
// SelectObject, GetObjectType and DeleteObject can dispatch on a handle, and so that a stale or
// foreign handle is refused instead of dereferenced.
#pragma once

#include "platform/windef.h"

namespace lumoa::platform {

class GdiObject {
 public:
  // type is one of the OBJ_* values of wingdi.h.
  explicit GdiObject(DWORD type);
  virtual ~GdiObject();
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  // Freed objects are held back for a while before their memory is reused, so that a stale
  // handle is refused instead of landing on a newer object at the same address.
  static void* operator new(size_t size);
  static void operator delete(void* p, size_t size);

  DWORD type() const { return type_; }
  // The handle is the object's address; the live set makes it safe to look up.
  HGDIOBJ handle() const { return const_cast<GdiObject*>(this); }
  // GetObjectW: writes the object's description (BITMAP/DIBSECTION, LOGBRUSH, LOGPEN, LOGFONTW)
  // into buffer when it is large enough and returns the bytes written, or the size needed when
  // buffer is null; 0 when the object has no description.
  virtual int Describe(int /*cb*/, void* /*buffer*/) const { return 0; }
  bool stock = false;  // stock objects are never deleted
  int selected = 0;    // how many DCs hold it selected (or draw into it); DeleteObject refuses then

 private:
  DWORD type_;
};

// How many objects are alive, stock objects not counted.
size_t LiveGdiObjectCount();

// The live object behind a handle, or nullptr when the handle is null, stale or not a GDI object.
GdiObject* LookupGdiObject(HGDIOBJ h);

// The live object behind h if it has the wanted OBJ_* type, else nullptr.
template <class T>
T* LookupGdi(HGDIOBJ h, DWORD wanted) {
  GdiObject* o = LookupGdiObject(h);
  return o && o->type() == wanted ? static_cast<T*>(o) : nullptr;
}

}  // namespace lumoa::platform
