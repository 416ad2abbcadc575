// Window objects: creation, destruction, the parent/child/owner tree, window longs,
// properties, text and enumeration.
#include "platform/user/window.h"

#include <algorithm>
#include <cstring>

#include "platform/winbase.h"
#include "platform/wingdi.h"

namespace lumoa::platform::user {

State& S() {
  static State state;
  return state;
}

Window* Desktop() {
  WindowTable& t = S().Table();
  if (t.desktop) return t.desktop.get();
  t.desktopClass = std::make_shared<WindowClass>();
  t.desktopClass->name = u"#32769";
  t.desktopClass->atom = 32769;
  t.desktopClass->proc = DefWindowProcW;
  auto d = std::make_unique<Window>();
  d->handle = HWND(uintptr_t(0xFFC0));  // below every window handle
  d->cls = t.desktopClass;
  d->proc = DefWindowProcW;
  d->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  const RECT screen = GetBackend().ScreenRect();
  d->rect = screen;
  d->client = {0, 0, screen.right - screen.left, screen.bottom - screen.top};
  d->life = Window::Life::Alive;
  t.desktop = std::move(d);
  return t.desktop.get();
}

Window* Get(HWND hwnd) {
  if (!hwnd) return nullptr;
  WindowTable& t = S().Table();
  if (t.desktop && hwnd == t.desktop->handle) return t.desktop.get();
  auto it = t.windows.find(hwnd);
  return it == t.windows.end() ? nullptr : it->second.get();
}

Window* GetOrDesktop(HWND hwnd) { return hwnd ? Get(hwnd) : Desktop(); }

bool IsDesktop(const Window* w) { return w && w == S().Table().desktop.get(); }

bool IsTopLevel(const Window* w) { return w && w->parent && IsDesktop(w->parent); }

Window* TopLevel(Window* w) {
  while (w && w->parent && !IsDesktop(w->parent)) w = w->parent;
  return w && !IsDesktop(w) && w->parent ? w : nullptr;
}

POINT WindowOrigin(const Window* w) {
  if (!w || IsDesktop(w) || !w->parent) return {0, 0};
  const POINT p = ClientOrigin(w->parent);
  return {p.x + w->rect.left, p.y + w->rect.top};
}

RECT WindowRectOnScreen(const Window* w) {
  const POINT o = WindowOrigin(w);
  return {o.x, o.y, o.x + (w->rect.right - w->rect.left), o.y + (w->rect.bottom - w->rect.top)};
}

POINT ClientOrigin(const Window* w) {
  if (!w || IsDesktop(w)) return {0, 0};
  const POINT p = WindowOrigin(w);
  return {p.x + w->client.left, p.y + w->client.top};
}

POINT SurfaceOffset(const Window* w) {
  if (!w || IsTopLevel(w) || !w->parent || IsDesktop(w)) return {0, 0};
  const POINT p = SurfaceOffset(w->parent);
  return {p.x + w->parent->client.left + w->rect.left, p.y + w->parent->client.top + w->rect.top};
}

bool ReallyVisible(const Window* w) {
  for (; w && !IsDesktop(w); w = w->parent) {
    if (!w->Visible()) return false;
    if (IsTopLevel(w) && (w->style & WS_MINIMIZE)) return false;
  }
  return w != nullptr;
}

WindowGuard::WindowGuard(const Window* w) : handle_(w ? w->handle : nullptr) {}

Window* WindowGuard::Get() const { return user::Get(handle_); }

bool ComputeNonClient(Window* w) {
  const WindowGuard guard(w);
  RECT r = w->rect;
  Send(w, WM_NCCALCSIZE, FALSE, LPARAM(&r));
  if (!(w = guard.Get())) return false;
  r.left = std::clamp(r.left, w->rect.left, w->rect.right);
  r.right = std::clamp(r.right, r.left, w->rect.right);
  r.top = std::clamp(r.top, w->rect.top, w->rect.bottom);
  r.bottom = std::clamp(r.bottom, r.top, w->rect.bottom);
  w->client = {r.left - w->rect.left, r.top - w->rect.top, r.right - w->rect.left,
               r.bottom - w->rect.top};
  return true;
}

namespace {

void Link(Window* w, Window* parent) {
  w->parent = parent;
  auto& c = parent->children;
  if (w->IsChild() && !IsDesktop(parent)) {
    c.push_back(w);  // later children go below: z-order is creation (tab) order
    return;
  }
  auto pos = c.begin();
  if (!(w->exStyle & WS_EX_TOPMOST))
    pos = std::find_if(c.begin(), c.end(),
                       [](Window* o) { return !(o->exStyle & WS_EX_TOPMOST); });
  c.insert(pos, w);
}

void Unlink(Window* w) {
  if (!w->parent) return;
  auto& c = w->parent->children;
  c.erase(std::remove(c.begin(), c.end(), w), c.end());
  w->parent = nullptr;
}

NativeWindowParams NativeParams(const Window* w) {
  NativeWindowParams p;
  p.bounds = WindowRectOnScreen(w);
  p.popup = (w->style & WS_CAPTION) != WS_CAPTION;
  p.toolWindow = (w->exStyle & WS_EX_TOOLWINDOW) != 0;
  p.topmost = (w->exStyle & WS_EX_TOPMOST) != 0;
  p.layered = (w->exStyle & WS_EX_LAYERED) != 0;
  p.noActivate = (w->exStyle & WS_EX_NOACTIVATE) != 0;
  p.clickThrough = (w->exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT);
  // A click-through layer (glow, shadow) is kept from the window manager as well: a frame
  // around it would take the pointer.
  p.transient = p.clickThrough ||
                (w->owner != nullptr && (w->style & WS_POPUP) && !(w->style & WS_CAPTION));
  p.title = w->text;
  return p;
}

void SendDestroy(HWND hwnd) {
  Window* w = Get(hwnd);
  if (!w) return;
  OnWindowDestroying(w);
  Send(w, WM_DESTROY, 0, 0);
  std::vector<HWND> kids;
  if ((w = Get(hwnd)))
    for (Window* c : w->children) kids.push_back(c->handle);
  for (HWND k : kids) SendDestroy(k);
}

void FreeTree(HWND hwnd) {
  Window* w = Get(hwnd);
  if (!w || w->ncDestroyed) return;
  std::vector<HWND> kids;
  for (Window* c : w->children) kids.push_back(c->handle);
  for (HWND k : kids) FreeTree(k);
  if (!(w = Get(hwnd))) return;
  w->ncDestroyed = true;
  Send(w, WM_NCDESTROY, 0, 0);
  if (!(w = Get(hwnd))) return;
  State& s = S();
  RemoveTimers(hwnd);
  CaretWindowDestroyed(hwnd);
  HotKeysWindowDestroyed(hwnd);
  s.Input().Forget(hwnd);
  if (w->windowRgn) DeleteObject(w->windowRgn);
  if (w->native) GetBackend().DestroyNativeWindow(w->native);
  FreeSurface(w);
  for (auto& [h, o] : s.Table().windows)
    if (o->owner == w) o->owner = nullptr;
  s.posted.WithPosted([hwnd](std::deque<MSG>& posted) {
    std::erase_if(posted, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
  });
  Unlink(w);
  w->cls->windows--;
  s.Table().windows.erase(hwnd);
}

void ParentNotify(Window* w, UINT event) {
  if (!w->IsChild() || (w->exStyle & WS_EX_NOPARENTNOTIFY)) return;
  const HWND child = w->handle;
  const LONG_PTR id = w->id;
  for (Window* p = w->parent; p && !IsDesktop(p); p = p->parent) {
    Send(p, WM_PARENTNOTIFY, MAKEWPARAM(event, id), LPARAM(child));
    if (!p->IsChild() || (p->exStyle & WS_EX_NOPARENTNOTIFY)) break;
  }
}

}  // namespace

void CreateNative(Window* w) {
  if (w->native || !IsTopLevel(w)) return;
  w->native = GetBackend().CreateNativeWindow(NativeParams(w));
}

void RecreateNative(Window* w) {
  if (!w->native) return;
  GetBackend().DestroyNativeWindow(w->native);
  w->native = 0;
  w->nativeShown = false;
  CreateNative(w);
  ApplyLayeredVisibility(w);
}

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;
using lumoa::platform::GetBackend;

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  auto cls = FindClass(className);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  Window* parentW = Desktop();
  Window* owner = nullptr;
  const bool messageOnly = parent == HWND_MESSAGE;
  if (style & WS_CHILD) {
    parentW = messageOnly ? nullptr : Get(parent);
    if (!parentW) {
      SetLastError(ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
  } else if (parent && !messageOnly) {
    Window* o = Get(parent);
    if (!o) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    owner = IsDesktop(o) ? nullptr : TopLevel(o);
  }
  if (!(style & WS_CHILD)) {
    style |= WS_CLIPSIBLINGS;
    if (!(style & WS_POPUP)) style |= WS_CAPTION;
    if (x == CW_USEDEFAULT) x = y = 64;
    if (width == CW_USEDEFAULT) {
      width = 640;
      height = 480;
    }
  } else {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
  }
  // Held to 16 bits as SetWindowPos holds them.
  x = std::clamp(x, -32768, 32767);
  y = std::clamp(y, -32768, 32767);
  width = std::clamp(width, 0, 32767);
  height = std::clamp(height, 0, 32767);

  State& s = S();
  auto win = std::make_unique<Window>();
  Window* w = win.get();
  w->handle = HWND(s.Table().nextHandle);
  s.Table().nextHandle += 4;
  w->cls = cls;
  cls->windows++;
  w->proc = cls->proc;
  w->style = style & ~WS_VISIBLE;
  w->exStyle = exStyle;
  w->owner = owner;
  w->rect = {x, y, x + width, y + height};
  w->client = {0, 0, width, height};
  w->instance = instance;
  w->extra.assign(size_t(cls->wndExtra), 0);
  w->id = (style & WS_CHILD) ? LONG_PTR(menu) : 0;
  w->thread = std::this_thread::get_id();
  s.guiThread.Claim();
  const HWND hwnd = w->handle;
  s.Table().windows[hwnd] = std::move(win);
  Link(w, parentW);
  if (!messageOnly) CreateNative(w);

  CREATESTRUCTW cs{};
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.cx = width;
  cs.cy = height;
  cs.x = x;
  cs.y = y;
  cs.style = LONG(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  // Every message of the sequence may destroy the window.
  const WindowGuard alive(w);
  if (!Send(w, WM_NCCREATE, 0, LPARAM(&cs))) {
    if (alive.Get()) {
      SendDestroy(hwnd);
      FreeTree(hwnd);
    }
    return nullptr;
  }
  if (!(w = alive.Get()) || !ComputeNonClient(w)) return nullptr;
  if (Send(w, WM_CREATE, 0, LPARAM(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!(w = alive.Get())) return nullptr;
  w->life = Window::Life::Alive;
  Send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client.right - w->client.left,
                                            w->client.bottom - w->client.top));
  if (!(w = alive.Get())) return nullptr;
  Send(w, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
  if (!(w = alive.Get())) return nullptr;
  ParentNotify(w, WM_CREATE);
  if (!(w = alive.Get())) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return alive.Get() ? hwnd : nullptr;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  auto widen = [](LPCSTR a, std::u16string& out) -> LPCWSTR {
    if (!a) return nullptr;
    if (IS_INTRESOURCE(a)) return LPCWSTR(a);
    const int n = MultiByteToWideChar(CP_ACP, 0, a, -1, nullptr, 0);
    out.assign(size_t(std::max(n, 1)), u'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, a, -1, out.data(), n);
    return out.c_str();
  };
  std::u16string cls, name;
  const LPCWSTR c = widen(className, cls);
  const LPCWSTR n = widen(windowName, name);
  return CreateWindowExW(exStyle, c, n, style, x, y, width, height, parent, menu, instance, param);
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = Get(hwnd);
  if (!w || IsDesktop(w)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (w->life == Window::Life::Destroying) return TRUE;
  const WindowGuard alive(w);
  ParentNotify(w, WM_DESTROY);
  if (!(w = alive.Get())) return TRUE;
  if (w->Visible())
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  if (!(w = alive.Get())) return TRUE;
  if (IsTopLevel(w)) {
    std::vector<HWND> owned;
    for (auto& [h, o] : S().Table().windows)
      if (o->owner == w) owned.push_back(h);
    for (HWND o : owned) DestroyWindow(o);
  }
  if (!(w = alive.Get())) return TRUE;
  std::vector<Window*> stack{w};
  while (!stack.empty()) {
    Window* x = stack.back();
    stack.pop_back();
    x->life = Window::Life::Destroying;
    stack.insert(stack.end(), x->children.begin(), x->children.end());
  }
  SendDestroy(hwnd);
  FreeTree(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Get(hwnd) != nullptr; }

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = Get(hwnd);
  for (; w && !IsDesktop(w); w = w->parent)
    if (!w->Visible()) return FALSE;
  return w != nullptr;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = Get(hwnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL IsIconic(HWND hwnd) {
  Window* w = Get(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND hwnd) {
  Window* w = Get(hwnd);
  return w && (w->style & WS_MAXIMIZE);
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* p = Get(parent);
  Window* w = Get(hwnd);
  if (!p || !w) return FALSE;
  while (w->IsChild() && w->parent && !IsDesktop(w->parent)) {
    w = w->parent;
    if (w == p) return TRUE;
  }
  return FALSE;
}

HWND GetParent(HWND hwnd) {
  Window* w = Get(hwnd);
  if (!w || IsDesktop(w)) return nullptr;
  if (w->IsChild()) return w->parent && !IsDesktop(w->parent) ? w->parent->handle : nullptr;
  if (w->style & WS_POPUP) return w->owner ? w->owner->handle : nullptr;
  return nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  Window* w = Get(child);
  Window* p = GetOrDesktop(newParent);
  if (!w || !p || IsDesktop(w) || w == p || IsChild(child, newParent)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Window* old = w->parent;
  const HWND oldHandle = old ? old->handle : nullptr;
  if (old == p) return oldHandle;
  const bool visible = w->Visible();
  if (visible)
    SetWindowPos(child, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  if (!(w = Get(child))) return oldHandle;
  if (w->native) {
    GetBackend().DestroyNativeWindow(w->native);
    w->native = 0;
    w->nativeShown = false;
    FreeSurface(w);
  }
  Unlink(w);
  Link(w, p);
  if (IsTopLevel(w)) CreateNative(w);
  if (visible)
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  return oldHandle;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Window* w = Get(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (cmd == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
  if (!w->parent) return nullptr;
  const auto& sib = w->parent->children;
  const auto it = std::find(sib.begin(), sib.end(), w);
  switch (cmd) {
    case GW_HWNDFIRST: return sib.front()->handle;
    case GW_HWNDLAST: return sib.back()->handle;
    case GW_HWNDNEXT: return it + 1 != sib.end() ? (*(it + 1))->handle : nullptr;
    case GW_HWNDPREV: return it != sib.begin() ? (*(it - 1))->handle : nullptr;
  }
  return nullptr;
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD); }

HWND GetAncestor(HWND hwnd, UINT flags) {
  Window* w = Get(hwnd);
  if (!w || IsDesktop(w)) return nullptr;
  if (flags == GA_PARENT) return w->parent ? w->parent->handle : nullptr;
  Window* top = TopLevel(w);
  if (!top) return hwnd;
  if (flags == GA_ROOTOWNER)
    while (top->owner) top = top->owner;
  return top->handle;
}

HWND GetDesktopWindow() { return Desktop()->handle; }

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
  Window* w = Get(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GWL_STYLE: return LONG_PTR(w->style);
    case GWL_EXSTYLE: return LONG_PTR(w->exStyle);
    case GWLP_WNDPROC: return LONG_PTR(w->proc);
    case GWLP_HINSTANCE: return LONG_PTR(w->instance);
    case GWLP_USERDATA: return w->userData;
    case GWLP_ID: return w->id;
    case GWLP_HWNDPARENT:
      if (w->IsChild()) return LONG_PTR(w->parent ? w->parent->handle : nullptr);
      return LONG_PTR(w->owner ? w->owner->handle : nullptr);
  }
  if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= w->extra.size()) {
    LONG_PTR v;
    std::memcpy(&v, &w->extra[size_t(index)], sizeof v);
    return v;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Get(hwnd);
  if (!w || IsDesktop(w)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const LONG_PTR old = GetWindowLongPtrW(hwnd, index);
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      STYLESTRUCT ss{DWORD(old), DWORD(value)};
      Send(w, WM_STYLECHANGING, WPARAM(index), LPARAM(&ss));
      if (!(w = Get(hwnd))) return old;
      if (index == GWL_STYLE) {
        // The window manager decorates captioned top-level windows: its frame follows the style.
        const bool captioned = (w->style & WS_CAPTION) == WS_CAPTION;
        w->style = ss.styleNew;
        if (IsTopLevel(w) && captioned != ((w->style & WS_CAPTION) == WS_CAPTION)) RecreateNative(w);
      } else {
        // Topmost is a z-order property: only SetWindowPos changes it.
        ss.styleNew = (ss.styleNew & ~WS_EX_TOPMOST) | (w->exStyle & WS_EX_TOPMOST);
        const bool layeredChanged = ((ss.styleNew ^ w->exStyle) & WS_EX_LAYERED) != 0;
        w->exStyle = ss.styleNew;
        if (layeredChanged) {
          w->layeredAttributes = w->layeredUpdated = false;
          w->layeredPixels.clear();
          RecreateNative(w);
        }
      }
      Send(w, WM_STYLECHANGED, WPARAM(index), LPARAM(&ss));
      return old;
    }
    case GWLP_WNDPROC: w->proc = WNDPROC(value); return old;
    case GWLP_HINSTANCE: w->instance = HINSTANCE(value); return old;
    case GWLP_USERDATA: w->userData = value; return old;
    case GWLP_ID: w->id = value; return old;
    case GWLP_HWNDPARENT:
      if (!w->IsChild()) {
        Window* o = Get(HWND(value));
        w->owner = o ? TopLevel(o) : nullptr;
        if (w->owner == w) w->owner = nullptr;
      }
      return old;
  }
  if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= w->extra.size()) {
    std::memcpy(&w->extra[size_t(index)], &value, sizeof value);
    return old;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LONG GetWindowLongW(HWND hwnd, int index) {
  Window* w = Get(hwnd);
  if (w && index >= 0) {
    if (size_t(index) + sizeof(LONG) > w->extra.size()) {
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
    LONG v;
    std::memcpy(&v, &w->extra[size_t(index)], sizeof v);
    return v;
  }
  return LONG(GetWindowLongPtrW(hwnd, index));
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
  Window* w = Get(hwnd);
  if (w && index >= 0) {
    if (size_t(index) + sizeof(LONG) > w->extra.size()) {
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
    LONG old;
    std::memcpy(&old, &w->extra[size_t(index)], sizeof old);
    std::memcpy(&w->extra[size_t(index)], &value, sizeof value);
    return old;
  }
  const LONG_PTR v = (index == GWL_STYLE || index == GWL_EXSTYLE) ? LONG_PTR(DWORD(value))
                                                                  : LONG_PTR(value);
  return LONG(SetWindowLongPtrW(hwnd, index, v));
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, msg, wParam, lParam);
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
  Window* w = Get(hwnd);
  if (!w) return FALSE;
  return Send(w, WM_SETTEXT, 0, LPARAM(text ? text : u"")) != 0;
}

int GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount) {
  Window* w = Get(hwnd);
  if (!w || !text || maxCount <= 0) return 0;
  text[0] = 0;
  return int(Send(w, WM_GETTEXT, WPARAM(maxCount), LPARAM(text)));
}

int GetWindowTextLengthW(HWND hwnd) {
  Window* w = Get(hwnd);
  return w ? int(Send(w, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

namespace {

std::u16string PropKey(LPCWSTR name) {
  if (!name) return {};
  if (!IS_INTRESOURCE(name)) return name;
  const ATOM atom = ATOM(uintptr_t(name));
  WCHAR buf[256];
  if (atom >= 0xC000 && GlobalGetAtomNameW(atom, buf, 256) > 0) return buf;
  std::u16string key = u"#";
  for (char c : std::to_string(atom)) key += char16_t(c);
  return key;
}

}  // namespace

BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data) {
  Window* w = Get(hwnd);
  if (!w || !name) return FALSE;
  w->props[PropKey(name)] = data;
  return TRUE;
}

HANDLE GetPropW(HWND hwnd, LPCWSTR name) {
  Window* w = Get(hwnd);
  if (!w || !name) return nullptr;
  auto it = w->props.find(PropKey(name));
  return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemovePropW(HWND hwnd, LPCWSTR name) {
  Window* w = Get(hwnd);
  if (!w || !name) return nullptr;
  auto it = w->props.find(PropKey(name));
  if (it == w->props.end()) return nullptr;
  HANDLE h = it->second;
  w->props.erase(it);
  return h;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = Get(hwnd);
  return w && w->IsChild() ? int(w->id) : 0;
}

HWND GetDlgItem(HWND dialog, int id) {
  Window* d = Get(dialog);
  if (!d) return nullptr;
  for (Window* c : d->children)
    if (c->id == id) return c->handle;
  return nullptr;
}

namespace {

void CollectDescendants(Window* w, std::vector<HWND>& out) {
  for (Window* c : w->children) {
    out.push_back(c->handle);
    CollectDescendants(c, out);
  }
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  Window* p = GetOrDesktop(parent);
  if (!p || !proc) return FALSE;
  std::vector<HWND> all;
  CollectDescendants(p, all);
  for (HWND h : all)
    if (Get(h) && !proc(h, lParam)) break;
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> tops;
  for (Window* c : Desktop()->children) tops.push_back(c->handle);
  for (HWND h : tops)
    if (Get(h) && !proc(h, lParam)) return FALSE;
  return TRUE;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  std::shared_ptr<WindowClass> cls;
  if (className) {
    cls = FindClass(className);
    if (!cls) return nullptr;
  }
  for (Window* c : Desktop()->children) {
    if (cls && c->cls != cls) continue;
    if (windowName && lstrcmpiW(c->text.c_str(), windowName) != 0) continue;
    return c->handle;
  }
  return nullptr;
}

namespace lumoa::platform::user {

void ResetUserState() {
  State& s = S();
  for (int guard = 0; guard < 1000 && !s.Table().windows.empty(); ++guard) {
    std::vector<HWND> tops;
    for (auto& [h, w] : s.Table().windows)
      if (IsTopLevel(w.get()) || !w->parent) tops.push_back(h);
    if (tops.empty()) break;
    for (HWND h : tops)
      if (Get(h)) DestroyWindow(h);
  }
  HotKeysWindowDestroyed(nullptr);
  s.Table().windows.clear();
  s.Queue().Reset();
  s.posted.WithPosted([](std::deque<MSG>& posted) { posted.clear(); });
  s.Input().Reset();
  s.Table().desktop.reset();
}

}  // namespace lumoa::platform::user
