// Last error, sleeping and the string helpers of the kernel.
#include <locale.h>
#include <wctype.h>

#include <chrono>
#include <thread>

#include "platform/winbase.h"

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

// Case mapping must not depend on the process locale: one UTF-8 C locale for all of it.
locale_t CaseLocale() {
  static const locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return loc;
}

WCHAR MapCase(WCHAR c, bool upper) {
  if (c < 0x80) {
    if (upper && c >= u'a' && c <= u'z') return static_cast<WCHAR>(c - 32);
    if (!upper && c >= u'A' && c <= u'Z') return static_cast<WCHAR>(c + 32);
    return c;
  }
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  const locale_t loc = CaseLocale();
  if (!loc) return c;
  const wint_t m = upper ? towupper_l(c, loc) : towlower_l(c, loc);
  return m <= 0xFFFF ? static_cast<WCHAR>(m) : c;  // stay within one UTF-16 unit
}

LPWSTR MapString(LPWSTR s, bool upper) {
  if (!s) return s;
  if (IS_INTRESOURCE(s)) {
    const auto c = static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(s));
    return reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(MapCase(c, upper)));
  }
  for (WCHAR* p = s; *p; ++p) *p = MapCase(*p, upper);
  return s;
}

}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD dwErrCode) { lastError = dwErrCode; }

void Sleep(DWORD dwMilliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

int lstrlenW(LPCWSTR lpString) {
  if (!lpString) return 0;
  int n = 0;
  while (lpString[n]) ++n;
  return n;
}

int lstrlenA(LPCSTR lpString) {
  if (!lpString) return 0;
  int n = 0;
  while (lpString[n]) ++n;
  return n;
}

int lstrcmpiW(LPCWSTR a, LPCWSTR b) {
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  for (;; ++a, ++b) {
    const WCHAR x = MapCase(*a, false);
    const WCHAR y = MapCase(*b, false);
    if (x != y) return x < y ? -1 : 1;
    if (!x) return 0;
  }
}

LPWSTR CharUpperW(LPWSTR lpsz) { return MapString(lpsz, true); }
LPWSTR CharLowerW(LPWSTR lpsz) { return MapString(lpsz, false); }

DWORD CharUpperBuffW(LPWSTR lpsz, DWORD cchLength) {
  if (!lpsz) return 0;
  for (DWORD i = 0; i < cchLength; ++i) lpsz[i] = MapCase(lpsz[i], true);
  return cchLength;
}

DWORD CharLowerBuffW(LPWSTR lpsz, DWORD cchLength) {
  if (!lpsz) return 0;
  for (DWORD i = 0; i < cchLength; ++i) lpsz[i] = MapCase(lpsz[i], false);
  return cchLength;
}

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }
