// Registration of the standard window classes, on first use.
#include "platform/commctrl.h"
#include "platform/comctl/classes.h"

namespace lumoa::platform {

bool RegisterCommonControlClasses() {
  static bool registered = false;
  if (registered) return false;
  registered = true;  // before registering: RegisterClassExW looks names up again
  struct Entry {
    LPCWSTR name;
    WNDPROC proc;
    UINT style;
    LPCWSTR cursor;
  };
  const Entry entries[] = {
      {WC_EDITW, comctl::EditWndProc, CS_DBLCLKS, IDC_IBEAM},
      {WC_LISTBOXW, comctl::ListBoxWndProc, CS_DBLCLKS, IDC_ARROW},
      {WC_TABCONTROLW, comctl::TabControlWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
       IDC_ARROW},
      {UPDOWN_CLASSW, comctl::UpDownWndProc, CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
  };
  for (const Entry& e : entries) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = e.style | CS_GLOBALCLASS;
    wc.lpfnWndProc = e.proc;
    wc.hCursor = LoadCursorW(nullptr, e.cursor);
    wc.lpszClassName = e.name;
    RegisterClassExW(&wc);
  }
  return true;
}

}  // namespace lumoa::platform

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc) {
  if (!icc || icc->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  lumoa::platform::RegisterCommonControlClasses();
  return TRUE;
}

void InitCommonControls() { lumoa::platform::RegisterCommonControlClasses(); }
