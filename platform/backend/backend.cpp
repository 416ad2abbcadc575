#include "platform/backend/backend.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/x11_backend.h"

namespace lumoa::platform {

namespace {

std::unique_ptr<Backend>& Current() {
  static std::unique_ptr<Backend> backend;
  return backend;
}

std::vector<void (*)()>& OpeningHooks() {
  static std::vector<void (*)()> hooks;
  return hooks;
}

}  // namespace

void OnDesktopOpening(void (*hook)()) { OpeningHooks().push_back(hook); }

Backend& GetBackend() {
  std::unique_ptr<Backend>& b = Current();
  if (b) return *b;
  const char* want = std::getenv("LUMOA_BACKEND");
  if (want && std::strcmp(want, "headless") == 0) {
    b = std::make_unique<HeadlessBackend>();
    return *b;
  }
  const char* display = std::getenv("DISPLAY");
  if (display && display[0])
    for (void (*hook)() : OpeningHooks()) hook();
  b = CreateX11Backend();  // throws with a clear message when there is no display
  return *b;
}

void SetBackend(std::unique_ptr<Backend> backend) { Current() = std::move(backend); }

bool HasBackend() { return Current() != nullptr; }

HeadlessBackend& Headless() {
  auto* h = dynamic_cast<HeadlessBackend*>(&GetBackend());
  if (!h) throw std::logic_error("the running back end is not the headless one");
  return *h;
}

}  // namespace lumoa::platform
