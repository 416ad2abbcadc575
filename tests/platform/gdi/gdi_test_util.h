// Helpers for the GDI tests: tiny DIB sections selected into memory DCs.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/wingdi.h"

namespace gdi_test {

struct Dib {
  HDC dc = nullptr;
  HBITMAP bmp = nullptr;
  HGDIOBJ old = nullptr;
  BYTE* bits = nullptr;
  int width = 0, height = 0, bpp = 0;

  Dib(int w, int h, int bits_per_pixel, bool top_down = true,
      const std::vector<COLORREF>& table = {}) : width(w), height(h), bpp(bits_per_pixel) {
    std::vector<BYTE> mem(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(mem.data());
    bmi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, top_down ? -h : h, 1,
                                      static_cast<WORD>(bpp), BI_RGB, 0, 0, 0,
                                      static_cast<DWORD>(table.size()), 0};
    std::vector<COLORREF> colours = table;
    if (colours.empty() && bpp <= 8) colours = {RGB(0, 0, 0), RGB(255, 255, 255)};
    bmi->bmiHeader.biClrUsed = static_cast<DWORD>(colours.size());
    for (size_t i = 0; i < colours.size(); ++i)
      bmi->bmiColors[i] = RGBQUAD{GetBValue(colours[i]), GetGValue(colours[i]), GetRValue(colours[i]), 0};
    void* p = nullptr;
    bmp = CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<BYTE*>(p);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bmp);
  }
  ~Dib() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
  }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;

  int stride() const { return ((width * bpp + 31) / 32) * 4; }
  uint32_t& px32(int x, int y) { return reinterpret_cast<uint32_t*>(bits + y * stride())[x]; }
  void Fill(COLORREF c) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) SetPixelV(dc, x, y, c);
  }
  // Pixels of a 32-bit top-down DIB as 0x00RRGGBB words, row by row.
  std::vector<uint32_t> Words() {
    std::vector<uint32_t> v;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) v.push_back(px32(x, y) & 0xFFFFFF);
    return v;
  }
};

}  // namespace gdi_test
