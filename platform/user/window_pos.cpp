// Position, size, z-order, visibility and enabled state of windows, and coordinate mapping.
#include <algorithm>

#include "platform/user/window.h"
#include "platform/winbase.h"
#include "platform/wingdi.h"

namespace lumoa::platform::user {

RECT FrameInsets(DWORD style, DWORD exStyle) {
  int b = 0;
  if (style & WS_THICKFRAME)
    b = 4;
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    b = 3;
  else if (style & WS_BORDER)
    b = 1;
  if (exStyle & WS_EX_CLIENTEDGE) b += 2;
  if (exStyle & WS_EX_STATICEDGE) b += 1;
  RECT r{b, b, b, b};
  r.top += CaptionHeight(style, exStyle);
  return r;
}

int CaptionHeight(DWORD style, DWORD exStyle) {
  if ((style & WS_CAPTION) != WS_CAPTION) return 0;
  return (exStyle & WS_EX_TOOLWINDOW) ? 15 : 19;
}

namespace {

int IndexIn(const Window* w) {
  if (!w->parent) return -1;
  const auto& c = w->parent->children;
  return int(std::find(c.begin(), c.end(), w) - c.begin());
}

void MoveInList(Window* w, size_t pos) {
  auto& c = w->parent->children;
  c.erase(std::find(c.begin(), c.end(), w));
  c.insert(c.begin() + std::min(pos, c.size()), w);
}

size_t FirstNonTopmost(const Window* parent) {
  const auto& c = parent->children;
  return size_t(std::find_if(c.begin(), c.end(),
                             [](Window* o) { return !(o->exStyle & WS_EX_TOPMOST); }) -
                c.begin());
}

// Returns true when the window's place in its parent's list changed.
bool ApplyZOrder(Window* w, HWND after) {
  const int before = IndexIn(w);
  const bool top = IsTopLevel(w);
  const bool wasTopmost = (w->exStyle & WS_EX_TOPMOST) != 0;
  if (!top) {
    if (after == HWND_BOTTOM) {
      MoveInList(w, w->parent->children.size());
    } else if (Window* x = Get(after); x && x->parent == w->parent && x != w) {
      MoveInList(w, w->parent->children.size());  // out of the way, then right below x
      const auto& c = w->parent->children;
      MoveInList(w, size_t(std::find(c.begin(), c.end(), x) - c.begin()) + 1);
    } else {
      MoveInList(w, 0);
    }
    return IndexIn(w) != before;
  }
  Window* desk = w->parent;
  if (after == HWND_TOPMOST) {
    w->exStyle |= WS_EX_TOPMOST;
    MoveInList(w, 0);
  } else if (after == HWND_NOTOPMOST) {
    w->exStyle &= ~WS_EX_TOPMOST;
    MoveInList(w, desk->children.size());
    MoveInList(w, FirstNonTopmost(desk));
  } else if (after == HWND_BOTTOM) {
    w->exStyle &= ~WS_EX_TOPMOST;
    MoveInList(w, desk->children.size());
  } else if (Window* x = Get(after); x && x->parent == desk && x != w) {
    if (!(x->exStyle & WS_EX_TOPMOST)) w->exStyle &= ~WS_EX_TOPMOST;
    MoveInList(w, desk->children.size());
    const auto& c = desk->children;
    MoveInList(w, size_t(std::find(c.begin(), c.end(), x) - c.begin()) + 1);
  } else {
    MoveInList(w, desk->children.size());
    MoveInList(w, (w->exStyle & WS_EX_TOPMOST) ? 0 : FirstNonTopmost(desk));
  }
  const bool isTopmost = (w->exStyle & WS_EX_TOPMOST) != 0;
  if (w->native) {
    Backend& b = GetBackend();
    if (isTopmost != wasTopmost) b.SetTopmost(w->native, isTopmost);
    if (IndexIn(w) == int(desk->children.size()) - 1)
      b.Lower(w->native);
    else
      b.Raise(w->native);
  }
  // Owned windows stay above their owner.
  if (after != HWND_BOTTOM) {
    std::vector<Window*> owned;
    for (Window* o : desk->children)
      if (o->owner == w) owned.push_back(o);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
      Window* o = *it;
      const auto& c = desk->children;
      const size_t ownerPos = size_t(std::find(c.begin(), c.end(), w) - c.begin());
      if (size_t(IndexIn(o)) > ownerPos) {
        MoveInList(o, ownerPos);
        if (o->native) GetBackend().Raise(o->native);
      }
    }
  }
  return IndexIn(w) != before || isTopmost != wasTopmost;
}

}  // namespace

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;
using lumoa::platform::GetBackend;

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  Window* w = Get(hwnd);
  if (!w || IsDesktop(w)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  WINDOWPOS wp{hwnd, after, x, y, std::max(0, cx), std::max(0, cy), flags};
  if (flags & SWP_NOMOVE) {
    wp.x = w->rect.left;
    wp.y = w->rect.top;
  }
  if (flags & SWP_NOSIZE) {
    wp.cx = w->rect.right - w->rect.left;
    wp.cy = w->rect.bottom - w->rect.top;
  }
  if (wp.x == w->rect.left && wp.y == w->rect.top) wp.flags |= SWP_NOMOVE;
  if (wp.cx == w->rect.right - w->rect.left && wp.cy == w->rect.bottom - w->rect.top)
    wp.flags |= SWP_NOSIZE;
  if (w->Visible()) wp.flags &= ~SWP_SHOWWINDOW;
  else wp.flags &= ~SWP_HIDEWINDOW;
  if (after == hwnd) wp.flags |= SWP_NOZORDER;
  if (!IsTopLevel(w)) wp.flags |= SWP_NOACTIVATE;
  if (!(wp.flags & SWP_NOSENDCHANGING)) {
    Send(w, WM_WINDOWPOSCHANGING, 0, LPARAM(&wp));
    if (!(w = Get(hwnd))) return FALSE;
  }
  // As on Windows, positions and sizes are held to 16 bits, so no window edge overflows.
  wp.x = std::clamp(wp.x, -32768, 32767);
  wp.y = std::clamp(wp.y, -32768, 32767);
  wp.cx = std::clamp(wp.cx, 0, 32767);
  wp.cy = std::clamp(wp.cy, 0, 32767);

  const RECT oldRect = w->rect;
  const bool wasVisible = ReallyVisible(w);
  const RECT newRect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
  const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
  const bool sized = newRect.right - newRect.left != oldRect.right - oldRect.left ||
                     newRect.bottom - newRect.top != oldRect.bottom - oldRect.top;
  w->rect = newRect;
  if (sized || (wp.flags & SWP_FRAMECHANGED)) {
    if (!ComputeNonClient(w)) return FALSE;
  }
  bool zChanged = false;
  if (!(wp.flags & SWP_NOZORDER)) zChanged = ApplyZOrder(w, wp.hwndInsertAfter);
  if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  const bool nowVisible = ReallyVisible(w);

  if (IsTopLevel(w) && w->native) {
    if (moved || sized) GetBackend().SetBounds(w->native, WindowRectOnScreen(w));
    if (sized) EnsureSurface(w);
    if (wp.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) ApplyLayeredVisibility(w);
  }

  if (!(wp.flags & SWP_NOREDRAW)) {
    const UINT all = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
    if (IsTopLevel(w)) {
      if (nowVisible && (sized || !wasVisible || (wp.flags & SWP_FRAMECHANGED)))
        Invalidate(w, nullptr, all);
    } else {
      if (wasVisible && (moved || sized || !nowVisible || zChanged))
        InvalidateInParent(w, oldRect);
      if (nowVisible && (moved || sized || !wasVisible || zChanged ||
                         (wp.flags & SWP_FRAMECHANGED)))
        Invalidate(w, nullptr, all);
    }
  } else if (wp.flags & SWP_FRAMECHANGED) {
    w->updateFrame = true;
  }

  if (wasVisible && !nowVisible) OnWindowHidden(w);
  if (!(w = Get(hwnd))) return TRUE;
  // Windows that never take activation (menus, glow frames, hints) are shown without it.
  if (IsTopLevel(w) && nowVisible && !(wp.flags & SWP_NOACTIVATE) &&
      !(w->exStyle & WS_EX_NOACTIVATE))
    Activate(w, ActivatedBy::Program, NativeFocus::FocusNative);
  if (!(w = Get(hwnd))) return TRUE;

  const UINT agg = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
  if ((wp.flags & agg) != agg || (wp.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)))
    Send(w, WM_WINDOWPOSCHANGED, 0, LPARAM(&wp));
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  Window* w = Get(hwnd);
  if (!w || IsDesktop(w)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const BOOL wasVisible = w->Visible() ? TRUE : FALSE;
  const bool child = w->IsChild();
  UINT swp = SWP_NOSIZE | SWP_NOMOVE;
  switch (cmd) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      Send(w, WM_SHOWWINDOW, FALSE, 0);
      if (!Get(hwnd)) return wasVisible;
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   swp | SWP_HIDEWINDOW | SWP_NOZORDER |
                       (hwnd == S().Input().active ? 0 : SWP_NOACTIVATE));
      return wasVisible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: {
      if (w->style & WS_MINIMIZE) return wasVisible;
      if (!wasVisible) {
        Send(w, WM_SHOWWINDOW, TRUE, 0);
        if (!(w = Get(hwnd))) return FALSE;
      }
      w->style |= WS_MINIMIZE | WS_VISIBLE;
      if (w->native) {
        ApplyLayeredVisibility(w);
        GetBackend().Iconify(w->native);
      }
      OnWindowHidden(w);
      if (!(w = Get(hwnd))) return wasVisible;
      Send(w, WM_SIZE, SIZE_MINIMIZED, 0);
      return wasVisible;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
    case SW_SHOWMAXIMIZED:
      if (w->style & WS_MINIMIZE) {
        w->style &= ~WS_MINIMIZE;
        w->style |= WS_VISIBLE;
        if (w->native) GetBackend().Restore(w->native);
        ApplyLayeredVisibility(w);
        Invalidate(w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        Send(w, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
        if (!(w = Get(hwnd))) return wasVisible;
        if (IsTopLevel(w)) Activate(w, ActivatedBy::Program, NativeFocus::FocusNative);
        return wasVisible;
      }
      swp |= child ? SWP_NOACTIVATE | SWP_NOZORDER : 0;
      break;
    case SW_SHOWNOACTIVATE:
      swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWNA:
      swp |= SWP_NOACTIVATE | (child ? SWP_NOZORDER : 0);
      break;
    case SW_SHOW:
    default:
      swp |= child ? SWP_NOACTIVATE | SWP_NOZORDER : 0;
      break;
  }
  if (wasVisible) return TRUE;
  Send(w, WM_SHOWWINDOW, TRUE, 0);
  if (!Get(hwnd)) return FALSE;
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, swp | SWP_SHOWWINDOW);
  return FALSE;
}

BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = Get(hwnd);
  if (!w) return FALSE;
  const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (enable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    Send(w, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    Send(w, WM_CANCELMODE, 0, 0);
    if (!(w = Get(hwnd))) return wasDisabled;
    w->style |= WS_DISABLED;
    const InputState& in = S().Input();
    if (in.focus && (in.focus == hwnd || IsChild(hwnd, in.focus))) SetFocusInternal(nullptr);
    if (in.capture && (in.capture == hwnd || IsChild(hwnd, in.capture))) ReleaseCapture();
    if ((w = Get(hwnd))) Send(w, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = Get(hwnd);
  if (!w || !rect) return FALSE;
  *rect = IsDesktop(w) ? w->rect : WindowRectOnScreen(w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = Get(hwnd);
  if (!w || !rect) return FALSE;
  *rect = {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt) {
  Window* w = Get(hwnd);
  if (!w || !pt) return FALSE;
  const POINT o = ClientOrigin(w);
  pt->x += o.x;
  pt->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt) {
  Window* w = Get(hwnd);
  if (!w || !pt) return FALSE;
  const POINT o = ClientOrigin(w);
  pt->x -= o.x;
  pt->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  Window* f = GetOrDesktop(from);
  Window* t = GetOrDesktop(to);
  if (!f || !t) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const POINT a = ClientOrigin(f);
  const POINT b = ClientOrigin(t);
  const int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(WORD(dx), WORD(dy));
}

HWND WindowFromPoint(POINT pt) {
  int hit = HTNOWHERE;
  Window* w = HitWindow(pt, &hit);
  return w ? w->handle : nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags) {
  Window* p = GetOrDesktop(parent);
  if (!p) return nullptr;
  const RECT client{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
  if (!IsDesktop(p) && !PtInRect(&client, pt)) return nullptr;
  for (Window* c : p->children) {
    if ((flags & CWP_SKIPINVISIBLE) && !c->Visible()) continue;
    if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT)) continue;
    if (!PtInRect(&c->rect, pt)) continue;
    if (c->windowRgn && !PtInRegion(c->windowRgn, pt.x - c->rect.left, pt.y - c->rect.top))
      continue;
    return c->handle;
  }
  return p->handle;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
  return ChildWindowFromPointEx(parent, pt, CWP_ALL);
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  const RECT f = FrameInsets(style, exStyle);
  rect->left -= f.left;
  rect->top -= f.top + (menu ? 19 : 0);
  rect->right += f.right;
  rect->bottom += f.bottom;
  return TRUE;
}
