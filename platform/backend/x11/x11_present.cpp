// Presenting pixels: the caller's BGRA rows go to the window through a shared-memory image
// when the area is large and the server offers MIT-SHM (and accepts our segment), else through
// XPutImage.
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

#include "platform/backend/x11/x11_backend_impl.h"
#include "platform/backend/x11/x11_error_trap.h"

namespace lumoa::platform::x11 {

void X11Backend::ReleaseShmImage(NativeWin& w) {
  if (!w.shmImage) return;
  XShmDetach(dpy_, &w.shmInfo);
  XSync(dpy_, False);  // the server lets go before the memory does
  shmdt(w.shmInfo.shmaddr);
  w.shmImage->data = nullptr;
  XDestroyImage(w.shmImage);
  w.shmImage = nullptr;
  w.shmInfo = XShmSegmentInfo{};
}

bool X11Backend::EnsureShmImage(NativeWin& w, int width, int height) {
  if (w.shmImage && w.shmImage->width == width && w.shmImage->height == height) return true;
  ReleaseShmImage(w);
  XImage* img = XShmCreateImage(dpy_, w.visual, static_cast<unsigned>(w.depth), ZPixmap, nullptr,
                                &w.shmInfo, static_cast<unsigned>(width),
                                static_cast<unsigned>(height));
  if (!img) return false;
  const size_t bytes = static_cast<size_t>(img->bytes_per_line) * static_cast<size_t>(height);
  w.shmInfo.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (w.shmInfo.shmid < 0) {
    XDestroyImage(img);
    return false;
  }
  void* addr = shmat(w.shmInfo.shmid, nullptr, 0);
  if (addr == reinterpret_cast<void*>(-1)) {
    shmctl(w.shmInfo.shmid, IPC_RMID, nullptr);
    XDestroyImage(img);
    return false;
  }
  w.shmInfo.shmaddr = img->data = static_cast<char*>(addr);
  w.shmInfo.readOnly = True;
  ErrorTrap trap(dpy_);
  XShmAttach(dpy_, &w.shmInfo);
  const bool attached = trap.Check() == 0;
  // Marked for removal now: it disappears with the last detach, even if we crash.
  shmctl(w.shmInfo.shmid, IPC_RMID, nullptr);
  if (!attached) {
    // A server that cannot see our memory (remote display): never try again.
    useShm_ = false;
    shmdt(addr);
    img->data = nullptr;
    XDestroyImage(img);
    w.shmInfo = XShmSegmentInfo{};
    return false;
  }
  w.shmImage = img;
  return true;
}

void X11Backend::Present(NativeId id, const PixelView& px, const RECT& dirty) {
  NativeWin* w = Find(id);
  if (!w || !px.bits || px.width <= 0 || px.height <= 0 || px.stride < px.width * 4) return;
  const int x0 = std::max<int>(0, dirty.left), y0 = std::max<int>(0, dirty.top);
  const int x1 = std::min<int>(px.width, dirty.right), y1 = std::min<int>(px.height, dirty.bottom);
  if (x1 <= x0 || y1 <= y0) return;

  // 32-bit BGRA rows are exactly a little-endian ZPixmap of a 24- or 32-deep TrueColor visual
  // with red in 0xff0000, so the caller's rows go out as they are.
  const Visual* v = w->visual;
  if (v->red_mask != 0xff0000 || v->green_mask != 0xff00 || v->blue_mask != 0xff ||
      (w->depth != 24 && w->depth != 32)) {
    return;  // other visuals (16-bit servers) are not supported
  }
  if (!w->gc) w->gc = XCreateGC(dpy_, w->xid, 0, nullptr);
  GC gc = w->gc;
  const auto width = static_cast<unsigned>(x1 - x0), height = static_cast<unsigned>(y1 - y0);

  // Shared memory pays off for large areas only: it costs a segment per window, a round trip
  // to attach it and one per present (the server must be done reading before the next). A
  // small area (a strip of a window, a whole small window) goes faster through the socket.
  constexpr unsigned kShmMinPixels = 256 * 256;
  if (useShm_ && width * height >= kShmMinPixels && EnsureShmImage(*w, px.width, px.height) &&
      w->shmImage->bits_per_pixel == 32 && w->shmImage->byte_order == LSBFirst) {
    XImage* img = w->shmImage;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int y = y0; y < y1; ++y) {
      std::memcpy(img->data + static_cast<size_t>(y) * img->bytes_per_line + x0 * 4,
                  px.bits + static_cast<size_t>(y) * px.stride + x0 * 4, rowBytes);
    }
    XShmPutImage(dpy_, w->xid, gc, img, x0, y0, x0, y0, width, height, False);
    // The segment is rewritten by the next present: wait until the server has read it.
    XSync(dpy_, False);
  } else {
    XImage* img = XCreateImage(dpy_, w->visual, static_cast<unsigned>(w->depth), ZPixmap, 0,
                               reinterpret_cast<char*>(const_cast<uint8_t*>(px.bits)),
                               static_cast<unsigned>(px.width), static_cast<unsigned>(px.height),
                               32, px.stride);
    if (img) {
      img->byte_order = LSBFirst;
      if (img->bits_per_pixel == 32) {
        XPutImage(dpy_, w->xid, gc, img, x0, y0, x0, y0, width, height);
      }
      img->data = nullptr;  // the caller's memory
      XDestroyImage(img);
    }
    XFlush(dpy_);
  }
}

}  // namespace lumoa::platform::x11
