// MessageBoxW: a modal popup with the text, drawn buttons, and its own loop on the same queue.
// Icons are not drawn.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/user/window.h"
#include "platform/winbase.h"
#include "platform/winfont.h"
#include "platform/wingdi.h"

namespace lumoa::platform::user {

namespace {

constexpr int kButtonW = 75, kButtonH = 23, kGap = 8, kMargin = 12;

struct Box {
  std::u16string text;
  std::vector<std::pair<int, std::u16string>> buttons;  // id, caption
  std::vector<RECT> buttonRects;                        // client coordinates
  RECT textRect{};
  int focus = 0;       // index of the default button
  int escape = 0;      // result of Escape / close, 0 when neither is allowed
  int result = 0;
  int pressed = -1;    // button under a held left button
};

Box* BoxOf(HWND hwnd) { return reinterpret_cast<Box*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

int ButtonAt(const Box& b, POINT p) {
  for (size_t i = 0; i < b.buttonRects.size(); ++i)
    if (PtInRect(&b.buttonRects[i], p)) return int(i);
  return -1;
}

void Paint(HWND hwnd, Box& b) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (!dc) return;
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT tr = b.textRect;
  DrawTextW(dc, b.text.c_str(), int(b.text.size()), &tr, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  for (size_t i = 0; i < b.buttons.size(); ++i) {
    RECT r = b.buttonRects[i];
    FillRect(dc, &r, GetSysColorBrush(int(i) == b.pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    FrameRect(dc, &r, GetSysColorBrush(int(i) == b.focus ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW));
    if (int(i) == b.focus) {
      InflateRect(&r, -1, -1);
      FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    const std::u16string& cap = b.buttons[i].second;
    DrawTextW(dc, cap.c_str(), int(cap.size()), &b.buttonRects[i],
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Box* b = BoxOf(hwnd);
  if (!b) return DefWindowProcW(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT:
      Paint(hwnd, *b);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      b->pressed = ButtonAt(*b, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (b->pressed >= 0) {
        b->focus = b->pressed;
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP: {
      const int at = ButtonAt(*b, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (GetCapture() == hwnd) ReleaseCapture();
      if (at >= 0 && at == b->pressed) b->result = b->buttons[size_t(at)].first;
      b->pressed = -1;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    }
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_RETURN:
        case VK_SPACE:
          b->result = b->buttons[size_t(b->focus)].first;
          return 0;
        case VK_ESCAPE:
          if (b->escape) b->result = b->escape;
          return 0;
        case VK_TAB:
        case VK_RIGHT:
        case VK_LEFT: {
          const int n = int(b->buttons.size());
          const bool back = wParam == VK_LEFT || (GetKeyState(VK_SHIFT) & 0x8000);
          b->focus = (b->focus + (back ? n - 1 : 1)) % n;
          InvalidateRect(hwnd, nullptr, FALSE);
          return 0;
        }
      }
      for (auto& [id, cap] : b->buttons)
        if (!cap.empty() && wParam == WPARAM(cap[0]))
          b->result = id;
      return 0;
    case WM_CLOSE:
      if (b->escape) b->result = b->escape;
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Buttons(UINT type, Box& b) {
  auto add = [&b](int id, const char16_t* cap) { b.buttons.push_back({id, cap}); };
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: add(IDOK, u"OK"); add(IDCANCEL, u"Cancel"); b.escape = IDCANCEL; break;
    case MB_ABORTRETRYIGNORE:
      add(IDABORT, u"Abort"); add(IDRETRY, u"Retry"); add(IDIGNORE, u"Ignore"); break;
    case MB_YESNOCANCEL:
      add(IDYES, u"Yes"); add(IDNO, u"No"); add(IDCANCEL, u"Cancel"); b.escape = IDCANCEL; break;
    case MB_YESNO: add(IDYES, u"Yes"); add(IDNO, u"No"); break;
    case MB_RETRYCANCEL: add(IDRETRY, u"Retry"); add(IDCANCEL, u"Cancel"); b.escape = IDCANCEL; break;
    default: add(IDOK, u"OK"); b.escape = IDOK; break;
  }
  if ((type & MB_DEFBUTTON2) && b.buttons.size() > 1) b.focus = 1;
}

}  // namespace

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = BoxProc;
    wc.lpszClassName = u"LumoaMessageBox";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    registered = RegisterClassExW(&wc) != 0 || FindClass(u"LumoaMessageBox") != nullptr;
    if (!registered) return 0;
  }
  Box box;
  box.text = text ? text : u"";
  Buttons(type, box);
  Window* ownerW = Get(owner);
  HWND top = ownerW ? GetAncestor(owner, GA_ROOT) : GetActiveWindow();

  // Measure the text with the font the box paints it in.
  RECT tr{0, 0, 400, 0};
  HDC mdc = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(mdc, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextW(mdc, box.text.c_str(), int(box.text.size()), &tr,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(mdc, oldFont);
  ReleaseDC(nullptr, mdc);
  const int buttonsW = int(box.buttons.size()) * (kButtonW + kGap) - kGap;
  const int clientW = std::max<int>(tr.right - tr.left, buttonsW) + 2 * kMargin;
  const int clientH = (tr.bottom - tr.top) + kButtonH + 3 * kMargin;
  box.textRect = {kMargin, kMargin, kMargin + (tr.right - tr.left), kMargin + (tr.bottom - tr.top)};
  int bx = (clientW - buttonsW) / 2;
  for (size_t i = 0; i < box.buttons.size(); ++i, bx += kButtonW + kGap)
    box.buttonRects.push_back({bx, clientH - kMargin - kButtonH, bx + kButtonW, clientH - kMargin});

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT wr{0, 0, clientW, clientH};
  AdjustWindowRectEx(&wr, style, FALSE, 0);
  const int ww = wr.right - wr.left, wh = wr.bottom - wr.top;
  RECT area;
  if (!top || !GetWindowRect(top, &area)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int x = area.left + ((area.right - area.left) - ww) / 2;
  const int y = area.top + ((area.bottom - area.top) - wh) / 2;
  const DWORD exStyle = (type & (MB_TOPMOST | MB_SYSTEMMODAL)) ? WS_EX_TOPMOST : 0;
  HWND hwnd = CreateWindowExW(exStyle, u"LumoaMessageBox", caption ? caption : u"Error", style, x,
                              y, ww, wh, top, nullptr, nullptr, nullptr);
  if (!hwnd) return 0;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, LONG_PTR(&box));
  const bool disableOwner = top && IsWindowEnabled(top);
  if (disableOwner) EnableWindow(top, FALSE);
  ShowWindow(hwnd, SW_SHOW);
  SetFocus(hwnd);

  MSG m;
  int result = 0;
  while (IsWindow(hwnd) && !box.result) {
    const BOOL r = GetMessageW(&m, nullptr, 0, 0);
    if (r <= 0) {
      PostQuitMessage(int(m.wParam));  // the outer loop must see it too; the box answers 0
      break;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  result = box.result;
  if (disableOwner && IsWindow(top)) EnableWindow(top, TRUE);
  if (IsWindow(hwnd)) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
  }
  if (top && IsWindow(top)) SetActiveWindow(top);
  return result;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  auto widen = [](LPCSTR a) {
    std::u16string out;
    if (!a) return out;
    const int n = MultiByteToWideChar(CP_ACP, 0, a, -1, nullptr, 0);
    if (n <= 0) return out;
    out.assign(size_t(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, a, -1, out.data(), n);
    out.resize(size_t(n - 1));
    return out;
  };
  const std::u16string t = widen(text), c = widen(caption);
  return MessageBoxW(owner, t.c_str(), caption ? c.c_str() : nullptr, type);
}
