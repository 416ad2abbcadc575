// The global atom table: one per process here, which is all a single-process desktop needs.
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/winbase.h"

namespace {

constexpr int kMaxAtomName = 255;
constexpr ATOM kFirstStringAtom = MAXINTATOM;

struct Entry {
  std::u16string name;  // as first added
  int refs = 0;         // 0: free slot
};

struct AtomTable {
  std::vector<Entry> entries;                    // atom - 0xC000
  std::unordered_map<std::u16string, ATOM> byKey;  // upper-cased name
};

AtomTable& Table() {
  static AtomTable table;
  return table;
}

std::u16string Key(std::u16string name) {
  CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  return name;
}

// A request names an integer atom ("#123" or MAKEINTATOM(123)), a string, or is invalid.
struct Request {
  bool valid = false;
  ATOM integer = 0;
  std::u16string name;
};

Request Parse(LPCWSTR s) {
  Request r;
  if (IS_INTRESOURCE(s)) {
    const auto v = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(s));
    r.valid = v != 0 && v < MAXINTATOM;
    r.integer = v;
    return r;
  }
  r.name = s;
  if (r.name.empty() || r.name.size() > kMaxAtomName) return r;
  if (r.name[0] == u'#' && r.name.size() > 1) {
    unsigned v = 0;
    bool digits = true;
    for (size_t i = 1; i < r.name.size() && digits; ++i) {
      const char16_t c = r.name[i];
      digits = c >= u'0' && c <= u'9';
      v = v * 10 + (c - u'0');
      if (v >= 0x10000) digits = false;
    }
    if (digits) {
      // "#0" and numbers at or past 0xC000 name no atom.
      r.valid = v != 0 && v < MAXINTATOM;
      r.integer = static_cast<ATOM>(v);
      return r;
    }
  }
  r.valid = true;
  return r;
}

std::optional<std::u16string> Widen(LPCSTR s) {
  const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::u16string w(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_ACP, 0, s, -1, w.data(), n);
  w.pop_back();
  return w;
}

ATOM AddOrFind(LPCWSTR s, bool add) {
  if (!s) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const Request r = Parse(s);
  if (!r.valid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (r.integer) return r.integer;
  AtomTable& t = Table();
  const std::u16string key = Key(r.name);
  auto it = t.byKey.find(key);
  if (it != t.byKey.end()) {
    if (add) ++t.entries[it->second - kFirstStringAtom].refs;
    return it->second;
  }
  if (!add) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  size_t slot = 0;
  while (slot < t.entries.size() && t.entries[slot].refs > 0) ++slot;
  if (slot >= 0x10000 - kFirstStringAtom) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (slot == t.entries.size()) t.entries.emplace_back();
  t.entries[slot] = Entry{r.name, 1};
  const auto atom = static_cast<ATOM>(kFirstStringAtom + slot);
  t.byKey.emplace(key, atom);
  return atom;
}

Entry* Lookup(ATOM atom) {
  AtomTable& t = Table();
  if (atom < kFirstStringAtom) return nullptr;
  const size_t slot = atom - kFirstStringAtom;
  if (slot >= t.entries.size() || t.entries[slot].refs == 0) return nullptr;
  return &t.entries[slot];
}

std::optional<std::u16string> NameOf(ATOM atom) {
  if (atom == 0) return std::nullopt;
  if (atom < kFirstStringAtom) {
    const std::string digits = "#" + std::to_string(atom);
    return std::u16string(digits.begin(), digits.end());
  }
  if (Entry* e = Lookup(atom)) return e->name;
  return std::nullopt;
}

}  // namespace

ATOM GlobalAddAtomW(LPCWSTR lpString) { return AddOrFind(lpString, true); }
ATOM GlobalFindAtomW(LPCWSTR lpString) { return AddOrFind(lpString, false); }

ATOM GlobalAddAtomA(LPCSTR lpString) {
  if (IS_INTRESOURCE(lpString)) return AddOrFind(reinterpret_cast<LPCWSTR>(lpString), true);
  const auto w = Widen(lpString);
  if (!w) return 0;
  return AddOrFind(w->c_str(), true);
}

ATOM GlobalFindAtomA(LPCSTR lpString) {
  if (IS_INTRESOURCE(lpString)) return AddOrFind(reinterpret_cast<LPCWSTR>(lpString), false);
  const auto w = Widen(lpString);
  if (!w) return 0;
  return AddOrFind(w->c_str(), false);
}

ATOM GlobalDeleteAtom(ATOM nAtom) {
  if (nAtom != 0 && nAtom < kFirstStringAtom) return 0;  // integer atoms are never stored
  Entry* e = Lookup(nAtom);
  if (!e) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nAtom;
  }
  if (--e->refs == 0) {
    Table().byKey.erase(Key(e->name));
    e->name.clear();
  }
  return 0;
}

UINT GlobalGetAtomNameW(ATOM nAtom, LPWSTR lpBuffer, int nSize) {
  const auto name = NameOf(nAtom);
  if (!name) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!lpBuffer || nSize <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const size_t n = std::min(name->size(), static_cast<size_t>(nSize - 1));
  name->copy(lpBuffer, n);
  lpBuffer[n] = 0;
  if (n < name->size()) SetLastError(ERROR_MORE_DATA);
  return static_cast<UINT>(n);
}

UINT GlobalGetAtomNameA(ATOM nAtom, LPSTR lpBuffer, int nSize) {
  const auto name = NameOf(nAtom);
  if (!name) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!lpBuffer || nSize <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::string bytes(name->size() * 2 + 1, '\0');
  const int n = WideCharToMultiByte(CP_ACP, 0, name->c_str(), static_cast<int>(name->size()),
                                    bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(static_cast<size_t>(std::max(n, 0)));
  size_t keep = std::min(bytes.size(), static_cast<size_t>(nSize - 1));
  // Never cut a double-byte character in half.
  size_t whole = 0;
  while (whole < keep) {
    const size_t step = IsDBCSLeadByte(static_cast<BYTE>(bytes[whole])) ? 2 : 1;
    if (whole + step > keep) break;
    whole += step;
  }
  keep = whole;
  bytes.copy(lpBuffer, keep);
  lpBuffer[keep] = 0;
  if (keep < bytes.size()) SetLastError(ERROR_MORE_DATA);
  return static_cast<UINT>(keep);
}
