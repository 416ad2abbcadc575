#include "app/desktop_identity.h"

#include <vector>

#include "image/png/png_image.h"
#include "platform/winapi.h"
#include "skins/app_icons.h"
#include "ui/streams.h"

namespace lumoa::app {

namespace {

// An icon from a decoded PNG: a 32-bit colour bitmap with straight alpha, and an all-opaque
// mask (the alpha channel decides).
HICON IconFromPng(const TksPngImage& png) {
  const int w = png.Width(), h = png.Height();
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!color) return nullptr;
  auto* px = static_cast<uint8_t*>(bits);
  for (int y = 0; y < h; ++y) {
    const uint8_t* alpha = png.AlphaScanline(y);
    for (int x = 0; x < w; ++x, px += 4) {
      const COLORREF c = png.Pixels(x, y);
      px[0] = GetBValue(c);
      px[1] = GetGValue(c);
      px[2] = GetRValue(c);
      px[3] = alpha ? alpha[x] : 255;
    }
  }
  const std::vector<uint8_t> maskBits(static_cast<size_t>((w + 15) / 16 * 2) * h, 0);
  HBITMAP mask = CreateBitmap(w, h, 1, 1, maskBits.data());
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask;
  info.hbmColor = color;
  HICON icon = mask ? CreateIconIndirect(&info) : nullptr;
  DeleteObject(color);
  if (mask) DeleteObject(mask);
  return icon;
}

}  // namespace

bool IdentifyToDesktop(const AnsiString& title, bool withIcons) {
  std::vector<HICON> icons;
  for (int i = 0; withIcons && i < lumoa::skins::AppIconCount(); ++i) {
    const lumoa::skins::AppIcon icon = lumoa::skins::AppIconPng(i);
    TksPngImage png;
    try {
      TConstMemoryStream stream(icon.png.data(), static_cast<int64_t>(icon.png.size()));
      png.LoadFromStream(stream);
    } catch (const Exception&) {
      continue;  // a picture we cannot read is one size fewer, not a program that stops
    }
    if (HICON h = png.Empty() ? nullptr : IconFromPng(png)) icons.push_back(h);
  }
  const WideString wideTitle = AnsiToWide(title);
  APPIDENTITYW id{};
  id.appId = kWindowClass;
  id.title = wideTitle.c_str();
  id.icons = icons.data();
  id.iconCount = static_cast<UINT>(icons.size());
  const bool ok = SetAppIdentityW(&id) != FALSE;
  for (HICON h : icons) DestroyIcon(h);
  return ok;
}

}  // namespace lumoa::app
