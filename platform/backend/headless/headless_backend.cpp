#include "platform/backend/headless/headless_backend.h"

#include <algorithm>
#include <stdexcept>

#include "platform/winuser.h"

namespace lumoa::platform {

namespace {

bool PtIn(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool InShape(const HeadlessBackend::NativeWindow& w, int x, int y) {
  if (!w.hasShape) return true;
  for (const RECT& r : w.shape)
    if (PtIn(r, x, y)) return true;
  return false;
}

}  // namespace

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

HeadlessBackend::NativeWindow* HeadlessBackend::Find(NativeId w) {
  auto it = windows_.find(w);
  return it == windows_.end() ? nullptr : &it->second;
}

const HeadlessBackend::NativeWindow* HeadlessBackend::Window(NativeId w) const {
  auto it = windows_.find(w);
  return it == windows_.end() ? nullptr : &it->second;
}

void HeadlessBackend::Stack(NativeId w, bool top) {
  stacking_.erase(std::remove(stacking_.begin(), stacking_.end(), w), stacking_.end());
  const NativeWindow* nw = Window(w);
  const bool topmost = nw && nw->topmost;
  if (top) {
    // Above every window of its layer: before the first topmost window unless it is topmost.
    auto pos = stacking_.end();
    if (!topmost)
      pos = std::find_if(stacking_.begin(), stacking_.end(),
                         [this](NativeId o) { return Window(o)->topmost; });
    stacking_.insert(pos, w);
    return;
  }
  auto pos = stacking_.begin();
  if (topmost)
    pos = std::find_if(stacking_.begin(), stacking_.end(),
                       [this](NativeId o) { return Window(o)->topmost; });
  stacking_.insert(pos, w);
}

NativeId HeadlessBackend::CreateNativeWindow(const NativeWindowParams& p) {
  const NativeId id = nextId_++;
  NativeWindow& w = windows_[id];
  w.params = p;
  w.bounds = p.bounds;
  w.topmost = p.topmost;
  w.title = p.title;
  w.width = std::max<LONG>(0, p.bounds.right - p.bounds.left);
  w.height = std::max<LONG>(0, p.bounds.bottom - p.bounds.top);
  w.pixels.assign(size_t(w.width) * w.height, 0);
  Stack(id, true);
  return id;
}

void HeadlessBackend::DestroyNativeWindow(NativeId w) {
  windows_.erase(w);
  stacking_.erase(std::remove(stacking_.begin(), stacking_.end(), w), stacking_.end());
  if (focused_ == w) focused_ = 0;
  if (pointerGrab_ == w) pointerGrab_ = 0;
}

void HeadlessBackend::SetBounds(NativeId id, const RECT& screen) {
  NativeWindow* w = Find(id);
  if (!w) return;
  const int width = std::max<LONG>(0, screen.right - screen.left);
  const int height = std::max<LONG>(0, screen.bottom - screen.top);
  if (width != w->width || height != w->height) {
    std::vector<uint32_t> px(size_t(width) * height, 0);
    for (int y = 0; y < std::min(height, w->height); ++y)
      std::copy_n(&w->pixels[size_t(y) * w->width], std::min(width, w->width),
                  &px[size_t(y) * width]);
    w->pixels.swap(px);
    w->width = width;
    w->height = height;
  }
  w->bounds = screen;
}

void HeadlessBackend::Show(NativeId id, NativeShow how) {
  NativeWindow* w = Find(id);
  if (!w) return;
  w->visible = how != NativeShow::Hide;
  if (w->visible) {
    w->iconic = false;
    if (how == NativeShow::ShowActive && !w->params.noActivate) focused_ = id;
  } else if (focused_ == id) {
    focused_ = 0;
  }
}

void HeadlessBackend::Raise(NativeId w) {
  if (Find(w)) Stack(w, true);
}

void HeadlessBackend::Lower(NativeId w) {
  if (Find(w)) Stack(w, false);
}

void HeadlessBackend::SetTopmost(NativeId id, bool topmost) {
  NativeWindow* w = Find(id);
  if (!w) return;
  w->topmost = topmost;
  Stack(id, true);
}

void HeadlessBackend::Activate(NativeId w) {
  if (Find(w)) focused_ = w;
}

void HeadlessBackend::Iconify(NativeId id) {
  if (NativeWindow* w = Find(id)) w->iconic = true;
}

void HeadlessBackend::Restore(NativeId id) {
  if (NativeWindow* w = Find(id)) {
    w->iconic = false;
    w->visible = true;
  }
}

bool HeadlessBackend::IsIconic(NativeId id) {
  const NativeWindow* w = Find(id);
  return w && w->iconic;
}

void HeadlessBackend::SetTitle(NativeId id, const std::u16string& title) {
  if (NativeWindow* w = Find(id)) w->title = title;
}

void HeadlessBackend::SetShape(NativeId id, const std::vector<RECT>& rects, bool none) {
  NativeWindow* w = Find(id);
  if (!w) return;
  w->hasShape = !none;
  w->shape = none ? std::vector<RECT>{} : rects;
}

void HeadlessBackend::SetOpacity(NativeId id, BYTE alpha) {
  if (NativeWindow* w = Find(id)) w->opacity = alpha;
}

void HeadlessBackend::Present(NativeId id, const PixelView& px, const RECT& dirty) {
  NativeWindow* w = Find(id);
  if (!w || !px.bits) return;
  ++w->presents;
  const int right = std::min({dirty.right, (LONG)w->width, (LONG)px.width});
  const int bottom = std::min({dirty.bottom, (LONG)w->height, (LONG)px.height});
  const int left = std::max<LONG>(0, dirty.left);
  const int top = std::max<LONG>(0, dirty.top);
  for (int y = top; y < bottom; ++y) {
    const auto* src = reinterpret_cast<const uint32_t*>(px.bits + size_t(y) * px.stride) + left;
    std::copy_n(src, std::max(0, right - left), &w->pixels[size_t(y) * w->width + left]);
  }
}

bool HeadlessBackend::GrabHotKey(int id, UINT modifiers, UINT vk) {
  const UINT mods = modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN);
  for (const Grab& g : blocked_)
    if (g.modifiers == mods && g.vk == vk) return false;
  for (const auto& [other, g] : hotkeys_)
    if (other != id && g.modifiers == mods && g.vk == vk) return false;
  hotkeys_[id] = {mods, vk};
  return true;
}

void HeadlessBackend::UngrabHotKey(int id) { hotkeys_.erase(id); }

bool HeadlessBackend::HotKeyGrabbed(UINT modifiers, UINT vk) const {
  for (const auto& [id, g] : hotkeys_)
    if (g.modifiers == modifiers && g.vk == vk) return true;
  return false;
}

void HeadlessBackend::BlockHotKey(UINT modifiers, UINT vk) { blocked_.push_back({modifiers, vk}); }

// Tests read the shape only; a custom image needs nothing kept here.
void HeadlessBackend::SetCursor(NativeId id, CursorShape shape, const CursorImage* /*custom*/) {
  if (NativeWindow* w = Find(id)) w->cursor = shape;
}

// One input method spot for the whole screen, whichever window asked for it last.
void HeadlessBackend::SetImeSpot(NativeId /*w*/, POINT pt) { imeSpot_ = pt; }

void HeadlessBackend::SetClipboardText(const std::u16string& text) {
  clipboard_ = text;
  hasClipboard_ = true;
}

bool HeadlessBackend::GetClipboardText(std::u16string& text) {
  if (!hasClipboard_) return false;
  text = clipboard_;
  return true;
}

void HeadlessBackend::SetScreen(const RECT& screen, const RECT& workArea) {
  screen_ = screen;
  workArea_ = workArea;
}

void HeadlessBackend::WaitEvents(int timeoutMs,
                                 const std::function<void(const BackendEvent&)>& sink) {
  if (events_.empty() && idle_ && timeoutMs != 0) {
    // The handler may also have posted a message or changed state: let the caller look.
    if (++idleCalls_ > 10000)
      throw std::runtime_error("headless back end: the idle handler never ends the wait");
    idle_();
    if (events_.empty()) {
      if (timeoutMs > 0) now_ += uint64_t(timeoutMs);
      return;
    }
  }
  if (events_.empty()) {
    if (timeoutMs > 0) {
      now_ += uint64_t(timeoutMs);  // nothing else can happen: time flies to the deadline
      return;
    }
    if (timeoutMs < 0)
      throw std::runtime_error("headless back end: waiting for input that no test will inject");
    return;
  }
  idleCalls_ = 0;
  while (!events_.empty()) {
    BackendEvent e = std::move(events_.front());
    events_.pop_front();
    sink(e);
  }
}

void HeadlessBackend::Push(BackendEvent e) {
  e.time = now_;
  if (e.type != BackendEventType::HotKey && e.window == 0) e.window = focused_;
  events_.push_back(std::move(e));
}

namespace {

UINT ButtonMask(UINT button) {
  return button == 1 ? MK_LBUTTON : button == 2 ? MK_MBUTTON : button == 3 ? MK_RBUTTON : 0;
}

}  // namespace

void HeadlessBackend::MoveMouse(int x, int y) {
  pointer_ = {x, y};
  BackendEvent e;
  e.type = BackendEventType::MouseMove;
  e.screen = pointer_;
  e.modifiers = buttons_ | modifiers_;
  e.window = pointerGrab_;
  if (!e.window) {
    for (auto it = stacking_.rbegin(); it != stacking_.rend(); ++it) {
      const NativeWindow& w = windows_.at(*it);
      if (w.visible && !w.iconic && PtIn(w.bounds, x, y) &&
          InShape(w, x - w.bounds.left, y - w.bounds.top)) {
        e.window = *it;
        break;
      }
    }
  }
  e.time = now_;
  events_.push_back(std::move(e));
}

void HeadlessBackend::PressButton(UINT button) {
  buttons_ |= ButtonMask(button);
  BackendEvent e;
  e.type = BackendEventType::ButtonDown;
  e.button = button;
  e.screen = pointer_;
  e.modifiers = buttons_ | modifiers_;
  e.altDown = alt_;
  Push(std::move(e));
}

void HeadlessBackend::ReleaseButton(UINT button) {
  buttons_ &= ~ButtonMask(button);
  BackendEvent e;
  e.type = BackendEventType::ButtonUp;
  e.button = button;
  e.screen = pointer_;
  e.modifiers = buttons_ | modifiers_;
  Push(std::move(e));
}

void HeadlessBackend::Click(int x, int y, UINT button) {
  MoveMouse(x, y);
  PressButton(button);
  ReleaseButton(button);
}

void HeadlessBackend::Wheel(int delta) {
  BackendEvent e;
  e.type = BackendEventType::Wheel;
  e.delta = delta;
  e.screen = pointer_;
  e.modifiers = buttons_ | modifiers_;
  Push(std::move(e));
}

void HeadlessBackend::KeyDown(UINT vk, const std::u16string& text) {
  if (vk == VK_SHIFT) modifiers_ |= MK_SHIFT;
  if (vk == VK_CONTROL) modifiers_ |= MK_CONTROL;
  if (vk == VK_MENU) alt_ = true;
  BackendEvent e;
  e.type = BackendEventType::KeyDown;
  e.vk = vk;
  e.modifiers = buttons_ | (modifiers_ & (MK_SHIFT | MK_CONTROL));
  e.altDown = alt_;
  Push(e);
  if (text.empty()) return;
  e.type = BackendEventType::Text;
  e.text = text;
  Push(std::move(e));
}

void HeadlessBackend::KeyUp(UINT vk) {
  if (vk == VK_SHIFT) modifiers_ &= ~MK_SHIFT;
  if (vk == VK_CONTROL) modifiers_ &= ~MK_CONTROL;
  if (vk == VK_MENU) alt_ = false;
  BackendEvent e;
  e.type = BackendEventType::KeyUp;
  e.vk = vk;
  e.modifiers = buttons_ | (modifiers_ & (MK_SHIFT | MK_CONTROL));
  e.altDown = alt_;
  Push(std::move(e));
}

void HeadlessBackend::PressKey(UINT vk, const std::u16string& text) {
  KeyDown(vk, text);
  KeyUp(vk);
}

void HeadlessBackend::CommitText(const std::u16string& text) {
  BackendEvent e;
  e.type = BackendEventType::Text;
  e.text = text;
  Push(std::move(e));
}

void HeadlessBackend::PointerLeaves() {
  BackendEvent e;
  e.type = BackendEventType::PointerLeft;
  e.screen = pointer_;
  Push(std::move(e));
}

void HeadlessBackend::SetFocusedNative(NativeId w, bool notify) {
  const NativeId old = focused_;
  focused_ = w;
  if (!notify || old == w) return;
  if (old) {
    BackendEvent e;
    e.type = BackendEventType::FocusOut;
    e.window = old;
    Push(std::move(e));
  }
  if (w) {
    BackendEvent e;
    e.type = BackendEventType::FocusIn;
    e.window = w;
    Push(std::move(e));
  }
}

void HeadlessBackend::TriggerHotKey(int id) {
  if (!hotkeys_.count(id)) return;
  BackendEvent e;
  e.type = BackendEventType::HotKey;
  e.hotkeyId = id;
  Push(std::move(e));
}

std::vector<NativeId> HeadlessBackend::StackingOrder() const { return stacking_; }

uint32_t HeadlessBackend::WindowPixel(NativeId id, int x, int y) const {
  const NativeWindow* w = Window(id);
  if (!w || x < 0 || y < 0 || x >= w->width || y >= w->height) return 0;
  return w->pixels[size_t(y) * w->width + x];
}

std::vector<uint32_t> HeadlessBackend::ComposeScreen() const {
  const int sw = screen_.right - screen_.left;
  const int sh = screen_.bottom - screen_.top;
  std::vector<uint32_t> out(size_t(sw) * sh, background_ & 0xFFFFFF);
  for (NativeId id : stacking_) {
    const NativeWindow& w = windows_.at(id);
    if (!w.visible || w.iconic) continue;
    const int x0 = std::max<LONG>(w.bounds.left, screen_.left);
    const int y0 = std::max<LONG>(w.bounds.top, screen_.top);
    const int x1 = std::min<LONG>(w.bounds.left + w.width, screen_.right);
    const int y1 = std::min<LONG>(w.bounds.top + w.height, screen_.bottom);
    const bool perPixel = layered_ && w.params.layered;
    const uint32_t opacity = layered_ ? w.opacity : 255;
    for (int y = y0; y < y1; ++y) {
      const uint32_t* src = &w.pixels[size_t(y - w.bounds.top) * w.width];
      uint32_t* dst = &out[size_t(y - screen_.top) * sw];
      for (int x = x0; x < x1; ++x) {
        const int wx = x - w.bounds.left;
        if (w.hasShape && !InShape(w, wx, y - w.bounds.top)) continue;
        const uint32_t s = src[wx];
        // Premultiplied source when per-pixel alpha shows; opaque otherwise. Opacity scales it.
        uint32_t a = perPixel ? (s >> 24) : 255;
        a = a * opacity / 255;
        uint32_t& d = dst[x - screen_.left];
        uint32_t r = 0;
        for (int shift = 0; shift < 24; shift += 8) {
          uint32_t sc = (s >> shift) & 0xFF;
          sc = sc * opacity / 255;
          const uint32_t dc = (d >> shift) & 0xFF;
          const uint32_t c = std::min<uint32_t>(255, sc + dc * (255 - a) / 255);
          r |= c << shift;
        }
        d = r;
      }
    }
  }
  return out;
}

uint32_t HeadlessBackend::ScreenPixel(int x, int y) const {
  if (!PtIn(screen_, x, y)) return 0;
  const int sw = screen_.right - screen_.left;
  return ComposeScreen()[size_t(y - screen_.top) * sw + (x - screen_.left)];
}

}  // namespace lumoa::platform
