// Clipboard text through the back end, and the minimal global memory handles it is passed in.
// A global handle is the address of its block, so GMEM_FIXED callers may use it directly.
#include <cstdlib>
#include <cstring>
#include <map>
#include <unordered_map>

#include "platform/user/window.h"
#include "platform/winbase.h"

namespace lumoa::platform::user {

namespace {

struct Block {
  size_t size;
  int locks;
};

std::unordered_map<void*, Block>& Blocks() {
  static std::unordered_map<void*, Block> blocks;
  return blocks;
}

struct Clipboard {
  bool open = false;
  HWND openedBy = nullptr;
  HWND owner = nullptr;
  bool emptied = false;             // EmptyClipboard ran while open: SetClipboardData allowed
  std::map<UINT, HGLOBAL> data;     // what this process put there or last handed out
  ~Clipboard() {
    // At exit: the block table may be gone already, so free the memory directly.
    for (auto& [format, h] : data) std::free(h);
  }
};

Clipboard& CB() {
  static Clipboard c;
  return c;
}

void FreeData() {
  for (auto& [f, h] : CB().data) GlobalFree(h);
  CB().data.clear();
}

HGLOBAL MakeText(const void* bytes, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!h) return nullptr;
  std::memcpy(GlobalLock(h), bytes, size);
  GlobalUnlock(h);
  return h;
}

// The UTF-16 text of a CF_UNICODETEXT or CF_TEXT block, stopping at its terminator or its end.
bool TextOf(UINT format, HGLOBAL h, std::u16string& out) {
  auto it = Blocks().find(h);
  if (it == Blocks().end()) return false;
  const size_t size = it->second.size;
  if (format == CF_UNICODETEXT) {
    const auto* p = static_cast<const char16_t*>(h);
    size_t n = 0;
    while (n < size / 2 && p[n]) ++n;
    out.assign(p, n);
    return true;
  }
  const auto* p = static_cast<const char*>(h);
  size_t n = 0;
  while (n < size && p[n]) ++n;
  const int wide = MultiByteToWideChar(CP_ACP, 0, p, int(n), nullptr, 0);
  out.assign(size_t(std::max(wide, 0)), u'\0');
  if (wide > 0) MultiByteToWideChar(CP_ACP, 0, p, int(n), out.data(), wide);
  return true;
}

}  // namespace

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;
using lumoa::platform::GetBackend;

// Every block is zeroed and never moves, which satisfies each of the GMEM_* flags.
HGLOBAL GlobalAlloc(UINT /*flags*/, size_t bytes) {
  void* p = std::calloc(1, bytes ? bytes : 1);
  if (!p) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Blocks()[p] = Block{bytes, 0};
  return p;
}

LPVOID GlobalLock(HGLOBAL mem) {
  auto it = Blocks().find(mem);
  if (it == Blocks().end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  ++it->second.locks;
  return mem;
}

BOOL GlobalUnlock(HGLOBAL mem) {
  auto it = Blocks().find(mem);
  if (it == Blocks().end() || it->second.locks == 0) return FALSE;
  return --it->second.locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
  auto it = Blocks().find(mem);
  if (it == Blocks().end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return mem;
  }
  Blocks().erase(it);
  std::free(mem);
  return nullptr;
}

size_t GlobalSize(HGLOBAL mem) {
  auto it = Blocks().find(mem);
  return it == Blocks().end() ? 0 : it->second.size;
}

BOOL OpenClipboard(HWND owner) {
  Clipboard& c = CB();
  if (c.open) return FALSE;
  c.open = true;
  c.openedBy = owner;
  c.emptied = false;
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard& c = CB();
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  c.open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  Clipboard& c = CB();
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  FreeData();
  c.owner = c.openedBy;
  c.emptied = true;
  GetBackend().SetClipboardText(u"");
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE mem) {
  Clipboard& c = CB();
  if (!c.open || !c.emptied) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  std::u16string text;
  if ((format != CF_UNICODETEXT && format != CF_TEXT && format != CF_OEMTEXT) ||
      !TextOf(format == CF_UNICODETEXT ? CF_UNICODETEXT : CF_TEXT, mem, text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (auto it = c.data.find(format); it != c.data.end() && it->second != mem)
    GlobalFree(it->second);
  c.data[format] = mem;  // the clipboard owns it now
  // Unicode text wins over ANSI text when both are given.
  if (format == CF_UNICODETEXT || !c.data.count(CF_UNICODETEXT)) GetBackend().SetClipboardText(text);
  return mem;
}

HANDLE GetClipboardData(UINT format) {
  Clipboard& c = CB();
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (format != CF_UNICODETEXT && format != CF_TEXT && format != CF_OEMTEXT) return nullptr;
  std::u16string text;
  if (!GetBackend().GetClipboardText(text)) return nullptr;
  // Always from the back end: another program may have replaced the text.
  HGLOBAL h;
  if (format == CF_UNICODETEXT) {
    h = MakeText(text.c_str(), (text.size() + 1) * sizeof(char16_t));
  } else {
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string ansi(size_t(std::max(n, 0)), '\0');
    if (n > 0)
      WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), ansi.data(), n, nullptr,
                          nullptr);
    h = MakeText(ansi.c_str(), ansi.size() + 1);
  }
  if (auto it = c.data.find(format); it != c.data.end()) GlobalFree(it->second);
  c.data[format] = h;
  return h;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (format != CF_UNICODETEXT && format != CF_TEXT && format != CF_OEMTEXT) return FALSE;
  std::u16string text;
  return GetBackend().GetClipboardText(text) && !text.empty();
}

HWND GetClipboardOwner() { return CB().owner; }
