// Text path timings: DrawTextW of a 20-character mixed Latin/Chinese string into a 32-bit DIB,
// and measuring it.
#include <benchmark/benchmark.h>

#include <cstring>

#include "platform/winapi.h"

namespace {

// 20 UTF-16 units: Latin, digits and Chinese (the Chinese from a fallback face of "Arial").
constexpr const char16_t* kText = u"Find \u641C\u7D22 web \u767E\u5EA6 24 \u4E2D\u6587";

struct Canvas {
  Canvas() {
    dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 300;
    bi.bmiHeader.biHeight = -40;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::memset(bits, 0xFF, 300 * 40 * 4);
    SelectObject(dc, bitmap);
    LOGFONTW lf{};
    lf.lfHeight = -12;
    std::memcpy(lf.lfFaceName, u"Arial", 6 * sizeof(char16_t));
    font = CreateFontIndirectW(&lf);
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
  }
  ~Canvas() {
    DeleteDC(dc);
    DeleteObject(bitmap);
    DeleteObject(font);
  }
  HDC dc;
  HBITMAP bitmap;
  HFONT font;
};

void BM_DrawTextMixed(benchmark::State& state) {
  Canvas c;
  const int len = lstrlenW(kText);
  for (auto _ : state) {
    RECT r{0, 0, 300, 40};
    benchmark::DoNotOptimize(DrawTextW(c.dc, kText, len, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER));
  }
}
BENCHMARK(BM_DrawTextMixed);

void BM_TextExtentMixed(benchmark::State& state) {
  Canvas c;
  const int len = lstrlenW(kText);
  for (auto _ : state) {
    SIZE size{};
    GetTextExtentPoint32W(c.dc, kText, len, &size);
    benchmark::DoNotOptimize(size);
  }
}
BENCHMARK(BM_TextExtentMixed);

}  // namespace

BENCHMARK_MAIN();
