// A 32-bit top-down DIB in a memory DC, white, for text tests that read pixels back.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/winapi.h"

class TextCanvas : public ::testing::Test {
 protected:
  static constexpr int kWidth = 200;
  static constexpr int kHeight = 100;

  void SetUp() override {
    dc_ = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc_, nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = kWidth;
    bi.bmiHeader.biHeight = -kHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap_, nullptr);
    bits_ = static_cast<uint32_t*>(bits);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    Clear();
    SetTextColor(dc_, RGB(0, 0, 0));
    SetBkMode(dc_, TRANSPARENT);
  }

  void TearDown() override {
    SelectObject(dc_, oldBitmap_);
    if (oldFont_) SelectObject(dc_, oldFont_);
    for (HFONT f : fonts_) DeleteObject(f);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }

  void Clear() { std::memset(bits_, 0xFF, sizeof(uint32_t) * kWidth * kHeight); }

  HFONT Use(LONG height, const char16_t* face, LONG weight = FW_NORMAL, BYTE underline = 0) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfUnderline = underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = face[i];
    HFONT f = CreateFontIndirectW(&lf);
    fonts_.push_back(f);
    HGDIOBJ old = SelectObject(dc_, f);
    if (!oldFont_) oldFont_ = old;
    return f;
  }

  uint32_t Pixel(int x, int y) const { return bits_[y * kWidth + x] & 0xFFFFFF; }
  bool Inked(int x, int y) const { return Pixel(x, y) != 0xFFFFFF; }

  // Bounding box of every non-white pixel (empty when none).
  RECT Ink() const {
    RECT r{kWidth, kHeight, 0, 0};
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (!Inked(x, y)) continue;
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
    }
    if (r.left >= r.right) return RECT{0, 0, 0, 0};
    return r;
  }

  int InkCount(RECT area) const {
    int n = 0;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, kHeight); ++y) {
      for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, kWidth); ++x) {
        n += Inked(x, y);
      }
    }
    return n;
  }

  std::vector<uint32_t> Snapshot() const { return std::vector<uint32_t>(bits_, bits_ + kWidth * kHeight); }

  SIZE Extent(const char16_t* s) {
    SIZE size{};
    GetTextExtentPoint32W(dc_, s, lstrlenW(s), &size);
    return size;
  }

  TEXTMETRICW Metrics() {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    return tm;
  }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
  uint32_t* bits_ = nullptr;
  std::vector<HFONT> fonts_;
};

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
