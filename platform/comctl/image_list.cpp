// Image lists: same-sized images kept as 32-bit pixels with a transparency mask, drawn through
// AlphaBlend so masked pixels leave the destination untouched.
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "platform/commctrl.h"

namespace {

struct ImageList {
  int cx = 0, cy = 0;
  UINT flags = 0;
  COLORREF bk = CLR_NONE;
  // Per image: cx * cy pixels, BGRA with A = 255 opaque, 0 transparent.
  std::vector<std::vector<uint32_t>> images;
};

std::set<ImageList*>& Live() {
  static std::set<ImageList*> live;
  return live;
}

ImageList* Get(HIMAGELIST himl) {
  auto* p = reinterpret_cast<ImageList*>(himl);
  return Live().count(p) ? p : nullptr;
}

// A top-down 32-bit DIB section with its pixels.
struct Dib {
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
  int width = 0, height = 0;
  Dib(int w, int h) : width(w), height(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint32_t*>(p);
  }
  ~Dib() {
    if (bitmap) DeleteObject(bitmap);
  }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
};

// Copies any bitmap into a 32-bit DIB of its own size.
std::unique_ptr<Dib> Read(HBITMAP source) {
  BITMAP bm{};
  if (!source || !GetObjectW(source, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
    return nullptr;
  auto dib = std::make_unique<Dib>(bm.bmWidth, std::abs(bm.bmHeight));
  if (!dib->bits) return nullptr;
  HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
  HGDIOBJ o1 = SelectObject(src, source), o2 = SelectObject(dst, dib->bitmap);
  BitBlt(dst, 0, 0, dib->width, dib->height, src, 0, 0, SRCCOPY);
  SelectObject(src, o1);
  SelectObject(dst, o2);
  DeleteDC(src);
  DeleteDC(dst);
  return dib;
}

uint32_t ColorKey(COLORREF c) {
  return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// Splits the strip into images; transparent(x, y) says which pixels the mask removes.
template <typename Transparent>
int AddStrip(ImageList& il, const Dib& image, Transparent transparent) {
  const int count = image.width / il.cx;
  if (count <= 0) return -1;
  const int first = int(il.images.size());
  const int rows = std::min(il.cy, image.height);
  for (int n = 0; n < count; ++n) {
    std::vector<uint32_t> px(size_t(il.cx) * size_t(il.cy), 0);
    for (int y = 0; y < rows; ++y) {
      const uint32_t* row = image.bits + size_t(y) * size_t(image.width) + size_t(n * il.cx);
      uint32_t* out = px.data() + size_t(y) * size_t(il.cx);
      for (int x = 0; x < il.cx; ++x)
        out[x] = transparent(n * il.cx + x, y) ? 0u : ((row[x] & 0xFFFFFF) | 0xFF000000u);
    }
    il.images.push_back(std::move(px));
  }
  return first;
}

}  // namespace

// The list grows by whatever it needs, so the growth step is not kept.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int /*grow*/) {
  if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) return nullptr;
  auto* il = new ImageList;
  il->cx = cx;
  il->cy = cy;
  il->flags = flags;
  il->images.reserve(size_t(std::clamp(initial, 0, 256)));
  Live().insert(il);
  return reinterpret_cast<HIMAGELIST>(il);
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
  ImageList* il = Get(himl);
  if (!il) return FALSE;
  Live().erase(il);
  delete il;
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl) {
  ImageList* il = Get(himl);
  return il ? int(il->images.size()) : 0;
}

BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT count) {
  ImageList* il = Get(himl);
  if (!il || count > 1u << 16) return FALSE;
  il->images.resize(count, std::vector<uint32_t>(size_t(il->cx) * size_t(il->cy), 0));
  return TRUE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask) {
  ImageList* il = Get(himl);
  if (!il) return -1;
  auto img = Read(image);
  if (!img) return -1;
  std::unique_ptr<Dib> m = (il->flags & ILC_MASK) ? Read(mask) : nullptr;
  // Non-black mask pixels are transparent.
  return AddStrip(*il, *img, [&](int x, int y) {
    if (!m || x >= m->width || y >= m->height) return false;
    return (m->bits[size_t(y) * size_t(m->width) + size_t(x)] & 0xFFFFFF) != 0;
  });
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF mask) {
  ImageList* il = Get(himl);
  if (!il) return -1;
  auto img = Read(image);
  if (!img) return -1;
  const uint32_t key = ColorKey(mask);
  const bool masked = (il->flags & ILC_MASK) != 0;
  return AddStrip(*il, *img, [&](int x, int y) {
    return masked && (img->bits[size_t(y) * size_t(img->width) + size_t(x)] & 0xFFFFFF) == key;
  });
}

BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP image, HBITMAP mask) {
  ImageList* il = Get(himl);
  if (!il || i < 0 || i >= int(il->images.size())) return FALSE;
  ImageList scratch{il->cx, il->cy, il->flags, il->bk, {}};
  Live().insert(&scratch);
  const int added = ImageList_Add(reinterpret_cast<HIMAGELIST>(&scratch), image, mask);
  Live().erase(&scratch);
  if (added < 0) return FALSE;
  il->images[size_t(i)] = std::move(scratch.images[0]);
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int i) {
  ImageList* il = Get(himl);
  if (!il) return FALSE;
  if (i == -1) {
    il->images.clear();
    return TRUE;
  }
  if (i < 0 || i >= int(il->images.size())) return FALSE;
  il->images.erase(il->images.begin() + i);
  return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  ImageList* il = Get(himl);
  if (!il || !cx || !cy) return FALSE;
  *cx = il->cx;
  *cy = il->cy;
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy) {
  ImageList* il = Get(himl);
  if (!il || cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) return FALSE;
  il->cx = cx;
  il->cy = cy;
  il->images.clear();
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk) {
  ImageList* il = Get(himl);
  if (!il) return CLR_NONE;
  const COLORREF old = il->bk;
  il->bk = clrBk;
  return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl) {
  ImageList* il = Get(himl);
  return il ? il->bk : CLR_NONE;
}

// The foreground colour serves only the ILD_BLEND styles, which are not offered (nothing here
// draws selected or focused images): the image is drawn as it is.
BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy,
                      COLORREF rgbBk, COLORREF /*rgbFg*/, UINT style) {
  ImageList* il = Get(himl);
  if (!il || !hdcDst || i < 0 || i >= int(il->images.size())) return FALSE;
  const int w = dx > 0 ? std::min(dx, il->cx) : il->cx;
  const int h = dy > 0 ? std::min(dy, il->cy) : il->cy;
  Dib dib(il->cx, il->cy);
  if (!dib.bits) return FALSE;
  const auto& px = il->images[size_t(i)];
  // Masked pixels stay transparent unless a background colour fills them.
  COLORREF bk = rgbBk == CLR_DEFAULT ? il->bk : rgbBk;
  if (style & ILD_TRANSPARENT) bk = CLR_NONE;
  const uint32_t fill = bk == CLR_NONE ? 0u : (ColorKey(bk) | 0xFF000000u);
  for (size_t k = 0; k < px.size(); ++k) dib.bits[k] = px[k] >> 24 ? px[k] : fill;
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, dib.bitmap);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const BOOL ok = AlphaBlend(hdcDst, x, y, w, h, src, 0, 0, w, h, blend);
  SelectObject(src, old);
  DeleteDC(src);
  return ok;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT style) {
  return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}
