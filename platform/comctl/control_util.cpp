// Helpers shared by the standard window classes.
#include "platform/comctl/control_util.h"

#include <algorithm>

#include "platform/winbase.h"

namespace lumoa::platform::comctl {

void NotifyCommand(HWND hwnd, UINT code) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), LPARAM(hwnd));
}

LRESULT NotifyParent(HWND hwnd, NMHDR* hdr, UINT code) {
  HWND parent = GetParent(hwnd);
  if (!parent) return 0;
  hdr->hwndFrom = hwnd;
  hdr->idFrom = UINT_PTR(GetDlgCtrlID(hwnd));
  hdr->code = code;
  return SendMessageW(parent, WM_NOTIFY, WPARAM(hdr->idFrom), LPARAM(hdr));
}

HFONT DefaultControlFont() { return HFONT(GetStockObject(DEFAULT_GUI_FONT)); }

MeasureDC::MeasureDC(HFONT font) : dc_(CreateCompatibleDC(nullptr)) {
  old_ = SelectObject(dc_, font ? font : DefaultControlFont());
}

MeasureDC::~MeasureDC() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
}

int MeasureDC::Width(const std::u16string& text) const {
  SIZE sz{};
  GetTextExtentPoint32W(dc_, text.c_str(), int(text.size()), &sz);
  return sz.cx;
}

int MeasureDC::Height() const {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc_, &tm);
  return tm.tmHeight;
}

void PrefixWidths(HDC dc, const std::u16string& text, std::vector<int>& out) {
  out.assign(text.size() + 1, 0);
  if (text.empty()) return;
  SIZE sz{};
  GetTextExtentExPointW(dc, text.c_str(), int(text.size()), 0x7FFFFFFF, nullptr, out.data() + 1,
                        &sz);
  // Keep the positions monotonic even if a run reports odd extents.
  for (size_t i = 1; i < out.size(); ++i) out[i] = std::max(out[i], out[i - 1]);
}

bool MatchesText(const std::u16string& item, const std::u16string& key, bool exact) {
  if (exact ? item.size() != key.size() : item.size() < key.size()) return false;
  std::u16string a = item.substr(0, key.size()), b = key;
  CharLowerBuffW(a.data(), DWORD(a.size()));
  CharLowerBuffW(b.data(), DWORD(b.size()));
  return a == b;
}

}  // namespace lumoa::platform::comctl
