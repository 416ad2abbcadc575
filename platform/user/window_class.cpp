// Window classes: registration by name or atom, lookup, class longs.
#include <algorithm>
#include <cstring>

#include "platform/user/window.h"
#include "platform/commctrl.h"
#include "platform/winbase.h"

namespace lumoa::platform::user {

namespace {

char16_t Fold(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

bool SameName(const std::u16string& a, LPCWSTR b) {
  size_t i = 0;
  for (; b[i]; ++i)
    if (i >= a.size() || Fold(a[i]) != Fold(b[i])) return false;
  return i == a.size();
}

}  // namespace

std::shared_ptr<WindowClass> FindClass(LPCWSTR name) {
  if (!name) return nullptr;
  WindowTable& t = S().Table();
  if (IS_INTRESOURCE(name)) {
    const ATOM atom = ATOM(uintptr_t(name));
    for (auto& c : t.classes)
      if (c->atom == atom) return c;
    return nullptr;
  }
  for (auto& c : t.classes)
    if (SameName(c->name, name)) return c;
  // The standard control classes register on the first lookup that misses.
  if (lumoa::platform::RegisterCommonControlClasses()) return FindClass(name);
  return nullptr;
}

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc || wc->cbClsExtra < 0 || wc->cbWndExtra < 0 ||
      wc->cbClsExtra > 40 * 1024 || wc->cbWndExtra > 40 * 1024) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindClass(wc->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_shared<WindowClass>();
  WindowTable& t = S().Table();
  if (IS_INTRESOURCE(wc->lpszClassName)) {
    c->atom = ATOM(uintptr_t(wc->lpszClassName));
  } else {
    c->name = wc->lpszClassName;
    c->atom = t.nextAtom++;
  }
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->wndExtra = wc->cbWndExtra;
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->iconSm = wc->hIconSm;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  c->extra.assign(size_t(wc->cbClsExtra), 0);
  t.classes.push_back(c);
  return c->atom;
}

ATOM RegisterClassW(const WNDCLASSW* wc) {
  if (!wc) return 0;
  WNDCLASSEXW ex{};
  ex.cbSize = sizeof ex;
  ex.style = wc->style;
  ex.lpfnWndProc = wc->lpfnWndProc;
  ex.cbClsExtra = wc->cbClsExtra;
  ex.cbWndExtra = wc->cbWndExtra;
  ex.hInstance = wc->hInstance;
  ex.hIcon = wc->hIcon;
  ex.hCursor = wc->hCursor;
  ex.hbrBackground = wc->hbrBackground;
  ex.lpszMenuName = wc->lpszMenuName;
  ex.lpszClassName = wc->lpszClassName;
  return RegisterClassExW(&ex);
}

// One module: classes are found by name whatever instance registered them.
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE /*instance*/) {
  auto c = FindClass(className);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (c->windows > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  auto& v = S().Table().classes;
  v.erase(std::remove(v.begin(), v.end(), c), v.end());
  return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE /*instance*/, LPCWSTR className, LPWNDCLASSEXW wc) {
  auto c = FindClass(className);
  if (!c || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  wc->cbSize = sizeof *wc;
  wc->style = c->style;
  wc->lpfnWndProc = c->proc;
  wc->cbClsExtra = int(c->extra.size());
  wc->cbWndExtra = c->wndExtra;
  wc->hInstance = c->instance;
  wc->hIcon = c->icon;
  wc->hCursor = c->cursor;
  wc->hbrBackground = c->background;
  wc->lpszMenuName = nullptr;
  wc->lpszClassName = className;
  wc->hIconSm = c->iconSm;
  return c->atom;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, LPWNDCLASSW wc) {
  WNDCLASSEXW ex{};
  const BOOL ok = GetClassInfoExW(instance, className, &ex);
  if (!ok || !wc) return FALSE;
  wc->style = ex.style;
  wc->lpfnWndProc = ex.lpfnWndProc;
  wc->cbClsExtra = ex.cbClsExtra;
  wc->cbWndExtra = ex.cbWndExtra;
  wc->hInstance = ex.hInstance;
  wc->hIcon = ex.hIcon;
  wc->hCursor = ex.hCursor;
  wc->hbrBackground = ex.hbrBackground;
  wc->lpszMenuName = nullptr;
  wc->lpszClassName = className;
  return ok;
}

int GetClassNameW(HWND hwnd, LPWSTR name, int maxCount) {
  Window* w = Get(hwnd);
  if (!w || !name || maxCount <= 0) return 0;
  std::u16string n = w->cls->name;
  if (n.empty()) n = u"#" + [](unsigned v) {
    std::u16string d;
    do d.insert(d.begin(), char16_t(u'0' + v % 10)); while (v /= 10);
    return d;
  }(w->cls->atom);
  const int count = std::min<int>(int(n.size()), maxCount - 1);
  std::copy_n(n.data(), count, name);
  name[count] = 0;
  return count;
}

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index) {
  Window* w = Get(hwnd);
  if (!w) return 0;
  WindowClass& c = *w->cls;
  switch (index) {
    case GCLP_HCURSOR: return ULONG_PTR(c.cursor);
    case GCLP_HBRBACKGROUND: return ULONG_PTR(c.background);
    case GCLP_WNDPROC: return ULONG_PTR(c.proc);
    case GCL_STYLE: return c.style;
    case GCW_ATOM: return c.atom;
  }
  if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= c.extra.size()) {
    LONG_PTR v;
    std::memcpy(&v, &c.extra[size_t(index)], sizeof v);
    return ULONG_PTR(v);
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Get(hwnd);
  if (!w) return 0;
  WindowClass& c = *w->cls;
  ULONG_PTR old = GetClassLongPtrW(hwnd, index);
  switch (index) {
    case GCLP_HCURSOR: c.cursor = HCURSOR(value); return old;
    case GCLP_HBRBACKGROUND: c.background = HBRUSH(value); return old;
    case GCLP_WNDPROC: c.proc = WNDPROC(value); return old;
    case GCL_STYLE: c.style = UINT(value); return old;
  }
  if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= c.extra.size()) {
    std::memcpy(&c.extra[size_t(index)], &value, sizeof value);
    return old;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}
