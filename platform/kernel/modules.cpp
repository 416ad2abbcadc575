// The built-in system library: callers that look optional entry points up by name, as they
// must on Windows, find the ones this platform has.
#include <cstring>
#include <string>

#include "platform/winbase.h"
#include "platform/winuser.h"

namespace {

struct Entry {
  const char* name;
  FARPROC proc;
};

template <typename F>
FARPROC Proc(F* f) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(f));
}

const Entry* User32Entries() {
  static const Entry entries[] = {
      {"MonitorFromWindow", Proc(&MonitorFromWindow)},
      {"GetMonitorInfoW", Proc(&GetMonitorInfoW)},
      {"SetLayeredWindowAttributes", Proc(&SetLayeredWindowAttributes)},
      {"UpdateLayeredWindow", Proc(&UpdateLayeredWindow)},
      {nullptr, nullptr},
  };
  return entries;
}

char kUser32;  // their addresses are the module handles
char kProgram;
HMODULE User32() { return reinterpret_cast<HMODULE>(&kUser32); }
HMODULE Program() { return reinterpret_cast<HMODULE>(&kProgram); }

// "USER32", "user32.dll" and "User32.DLL" all name it.
bool IsUser32(LPCWSTR name) {
  if (!name) return false;
  std::string lower;
  for (; *name; ++name) {
    if (*name >= 0x80) return false;
    const char c = static_cast<char>(*name);
    lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
  }
  return lower == "user32" || lower == "user32.dll";
}

HMODULE Find(LPCWSTR name) {
  if (IsUser32(name)) return User32();
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

}  // namespace

HMODULE GetModuleHandleW(LPCWSTR lpModuleName) {
  return lpModuleName ? Find(lpModuleName) : Program();
}
HMODULE LoadLibraryW(LPCWSTR lpLibFileName) { return Find(lpLibFileName); }

BOOL FreeLibrary(HMODULE hLibModule) {
  if (hLibModule == User32() || hLibModule == Program()) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  if (hModule != User32()) {
    SetLastError(hModule == Program() ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // Lookups by ordinal (a value below 0x10000) find nothing: the entries have no ordinals.
  if (lpProcName && reinterpret_cast<uintptr_t>(lpProcName) >= 0x10000) {
    for (const Entry* e = User32Entries(); e->name; ++e) {
      if (std::strcmp(e->name, lpProcName) == 0) return e->proc;
    }
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}
