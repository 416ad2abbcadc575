// Helpers shared by the standard window classes: per-window state, notifications to the
// parent, text measurement in a window's font.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/commctrl.h"
#include "platform/winfont.h"

namespace lumoa::platform::comctl {

// The state of every live window of one class, created at WM_NCCREATE and dropped at
// WM_NCDESTROY. Window handles are never reused, so a stale handle simply finds nothing.
template <typename T>
class StateMap {
 public:
  T* Find(HWND hwnd) {
    auto it = map_.find(hwnd);
    return it == map_.end() ? nullptr : it->second.get();
  }
  T* Create(HWND hwnd) {
    auto& slot = map_[hwnd];
    slot = std::make_unique<T>();
    return slot.get();
  }
  void Erase(HWND hwnd) { map_.erase(hwnd); }

 private:
  std::unordered_map<HWND, std::unique_ptr<T>> map_;
};

inline DWORD Style(HWND hwnd) { return DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE)); }

// WM_COMMAND (id, code) from hwnd to its parent.
void NotifyCommand(HWND hwnd, UINT code);
// WM_NOTIFY with a bare NMHDR (or the structure hdr heads) from hwnd to its parent.
LRESULT NotifyParent(HWND hwnd, NMHDR* hdr, UINT code);

// The font a control draws with when none was set.
HFONT DefaultControlFont();

// A memory DC with a font selected, for measuring outside painting.
class MeasureDC {
 public:
  explicit MeasureDC(HFONT font);
  ~MeasureDC();
  MeasureDC(const MeasureDC&) = delete;
  MeasureDC& operator=(const MeasureDC&) = delete;
  HDC dc() const { return dc_; }
  int Width(const std::u16string& text) const;
  int Height() const;  // tmHeight of the font

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Left edges of every caret position of text: out[i] is the advance of text[0, i).
void PrefixWidths(HDC dc, const std::u16string& text, std::vector<int>& out);

// Case-insensitive comparison of a prefix (or the whole string when exact).
bool MatchesText(const std::u16string& item, const std::u16string& key, bool exact);

}  // namespace lumoa::platform::comctl
