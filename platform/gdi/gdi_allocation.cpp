// Allocation of GDI objects; kept apart so that no caller sees the pair inline.
#include <deque>
#include <utility>

#include "platform/gdi/gdi_object.h"

namespace lumoa::platform {

void* GdiObject::operator new(size_t size) { return ::operator new(size); }

void GdiObject::operator delete(void* p, size_t size) {
  static constexpr size_t kHeldBack = 1024;
  static auto* ring = new std::deque<std::pair<void*, size_t>>();
  ring->emplace_back(p, size);
  if (ring->size() <= kHeldBack) return;
  ::operator delete(ring->front().first);
  ring->pop_front();
}

}  // namespace lumoa::platform
