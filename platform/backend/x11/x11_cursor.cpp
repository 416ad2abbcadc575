// Cursors: the standard shapes from the cursor font, custom ones from pixels as full-colour
// RENDER cursors, or as two-colour bitmap cursors where RENDER is missing.
#include <X11/cursorfont.h>
#include <X11/extensions/Xrender.h>

#include <algorithm>

#include "platform/backend/x11/x11_backend_impl.h"
#include "platform/backend/x11/x11_error_trap.h"

namespace lumoa::platform::x11 {

namespace {

unsigned HotX(const CursorImage& c) {
  return static_cast<unsigned>(std::clamp<int>(c.hotspot.x, 0, c.width - 1));
}
unsigned HotY(const CursorImage& c) {
  return static_cast<unsigned>(std::clamp<int>(c.hotspot.y, 0, c.height - 1));
}

}  // namespace

Cursor X11Backend::CreateArgbCursor(const CursorImage& c) {
  XRenderPictFormat* format = XRenderFindStandardFormat(dpy_, PictStandardARGB32);
  if (!format) return None;
  // RENDER wants premultiplied alpha; the image comes straight.
  std::vector<uint32_t> pixels(c.pixels.begin(),
                               c.pixels.begin() + static_cast<ptrdiff_t>(c.width) * c.height);
  for (uint32_t& p : pixels) {
    const uint32_t a = p >> 24;
    auto mul = [a](uint32_t v) { return (v * a + 127) / 255; };
    p = (a << 24) | (mul((p >> 16) & 0xff) << 16) | (mul((p >> 8) & 0xff) << 8) | mul(p & 0xff);
  }
  XImage* img = XCreateImage(dpy_, nullptr, 32, ZPixmap, 0, reinterpret_cast<char*>(pixels.data()),
                             static_cast<unsigned>(c.width), static_cast<unsigned>(c.height), 32,
                             c.width * 4);
  if (!img) return None;
  img->byte_order = LSBFirst;
  ErrorTrap trap(dpy_);
  const Pixmap pm = XCreatePixmap(dpy_, root_, static_cast<unsigned>(c.width),
                                  static_cast<unsigned>(c.height), 32);
  GC gc = XCreateGC(dpy_, pm, 0, nullptr);
  XPutImage(dpy_, pm, gc, img, 0, 0, 0, 0, static_cast<unsigned>(c.width),
            static_cast<unsigned>(c.height));
  XFreeGC(dpy_, gc);
  img->data = nullptr;  // our vector
  XDestroyImage(img);
  const Picture pict = XRenderCreatePicture(dpy_, pm, format, 0, nullptr);
  const Cursor cursor = XRenderCreateCursor(dpy_, pict, HotX(c), HotY(c));
  XRenderFreePicture(dpy_, pict);
  XFreePixmap(dpy_, pm);
  if (trap.Check() != 0) return None;
  return cursor;
}

Cursor X11Backend::CreateBitmapCursor(Window w, const CursorImage& c) {
  // Two colours and a mask: opaque dark pixels black, opaque light pixels white, the rest
  // transparent.
  const int rowBytes = (c.width + 7) / 8;
  std::vector<char> src(static_cast<size_t>(rowBytes) * c.height), msk(src.size());
  for (int y = 0; y < c.height; ++y) {
    const uint32_t* row = c.pixels.data() + static_cast<size_t>(y) * c.width;
    for (int x = 0; x < c.width; ++x) {
      const uint32_t p = row[x];
      if ((p >> 24) < 128) continue;
      const unsigned lum = ((p >> 16) & 0xff) * 3 + ((p >> 8) & 0xff) * 6 + (p & 0xff);
      const size_t byte = static_cast<size_t>(y) * rowBytes + x / 8;
      msk[byte] = static_cast<char>(msk[byte] | (1 << (x % 8)));
      if (lum < 128 * 10) src[byte] = static_cast<char>(src[byte] | (1 << (x % 8)));
    }
  }
  const Pixmap ps = XCreateBitmapFromData(dpy_, w, src.data(), static_cast<unsigned>(c.width),
                                          static_cast<unsigned>(c.height));
  const Pixmap pm = XCreateBitmapFromData(dpy_, w, msk.data(), static_cast<unsigned>(c.width),
                                          static_cast<unsigned>(c.height));
  XColor black{}, white{};
  white.red = white.green = white.blue = 0xffff;
  const Cursor cursor = XCreatePixmapCursor(dpy_, ps, pm, &black, &white, HotX(c), HotY(c));
  XFreePixmap(dpy_, ps);
  XFreePixmap(dpy_, pm);
  return cursor;
}

void X11Backend::SetCursor(NativeId id, CursorShape shape, const CursorImage* custom) {
  NativeWin* w = Find(id);
  if (!w) return;
  if (shape == CursorShape::Custom && custom && custom->width > 0 && custom->height > 0 &&
      custom->width <= 512 && custom->height <= 512 &&
      custom->pixels.size() >= static_cast<size_t>(custom->width) * custom->height) {
    Cursor c = hasRender_ ? CreateArgbCursor(*custom) : None;
    if (!c) c = CreateBitmapCursor(w->xid, *custom);
    XDefineCursor(dpy_, w->xid, c);
    if (w->customCursor) XFreeCursor(dpy_, w->customCursor);
    w->customCursor = c;
    XFlush(dpy_);
    return;
  }
  // A custom cursor without usable pixels falls back to the arrow.
  static constexpr unsigned kShapes[] = {
      XC_left_ptr, XC_xterm, XC_watch, XC_crosshair, XC_hand2, XC_fleur, XC_sb_h_double_arrow,
      XC_sb_v_double_arrow, XC_bottom_right_corner, XC_bottom_left_corner, XC_circle};
  const auto index = static_cast<size_t>(shape);
  const unsigned glyph = index < std::size(kShapes) ? kShapes[index] : XC_left_ptr;
  auto it = fontCursors_.find(static_cast<int>(glyph));
  if (it == fontCursors_.end()) {
    it = fontCursors_.emplace(static_cast<int>(glyph), XCreateFontCursor(dpy_, glyph)).first;
  }
  XDefineCursor(dpy_, w->xid, it->second);
  if (w->customCursor) {
    XFreeCursor(dpy_, w->customCursor);
    w->customCursor = 0;
  }
  XFlush(dpy_);
}

}  // namespace lumoa::platform::x11
