// Global hot keys: a back-end key grab per registration, delivered as WM_HOTKEY.
#include <map>

#include "platform/user/window.h"
#include "platform/winbase.h"

namespace lumoa::platform::user {

namespace {

struct HotKey {
  HWND hwnd;
  int id;
  UINT modifiers;
  UINT vk;
};

struct HotKeys {
  std::map<int, HotKey> byGrab;  // back-end grab id -> registration
  int nextGrab = 1;
};

HotKeys& H() {
  static HotKeys h;
  return h;
}

constexpr UINT kModMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

}  // namespace

void DeliverHotKey(int grabId) {
  auto& m = H().byGrab;
  auto it = m.find(grabId);
  if (it == m.end()) return;
  const HotKey& k = it->second;
  Post(k.hwnd, WM_HOTKEY, WPARAM(k.id), MAKELPARAM(k.modifiers & kModMask, k.vk));
}

void HotKeysWindowDestroyed(HWND hwnd) {
  auto& m = H().byGrab;
  for (auto it = m.begin(); it != m.end();) {
    if (it->second.hwnd == hwnd) {
      GetBackend().UngrabHotKey(it->first);
      it = m.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;
using lumoa::platform::GetBackend;

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
  if (hwnd && !IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  HotKeys& h = H();
  for (const auto& [grab, k] : h.byGrab) {
    if ((k.hwnd == hwnd && k.id == id) ||
        ((k.modifiers & kModMask) == (modifiers & kModMask) && k.vk == vk)) {
      SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
      return FALSE;
    }
  }
  const int grab = h.nextGrab++;
  if (!GetBackend().GrabHotKey(grab, modifiers & kModMask, vk)) {
    SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
    return FALSE;
  }
  h.byGrab[grab] = HotKey{hwnd, id, modifiers, vk};
  return TRUE;
}

BOOL UnregisterHotKey(HWND hwnd, int id) {
  auto& m = H().byGrab;
  for (auto it = m.begin(); it != m.end(); ++it) {
    if (it->second.hwnd == hwnd && it->second.id == id) {
      GetBackend().UngrabHotKey(it->first);
      m.erase(it);
      return TRUE;
    }
  }
  SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
  return FALSE;
}
