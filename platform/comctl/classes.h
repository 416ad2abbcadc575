// Window procedures of the standard window classes.
#pragma once

#include "platform/commctrl.h"

namespace lumoa::platform::comctl {

LRESULT CALLBACK EditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TabControlWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK UpDownWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace lumoa::platform::comctl
