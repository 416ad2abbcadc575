#include "skin/draw/stack_blur.h"

#include <algorithm>
#include <vector>

namespace lumoa::skin {
namespace {

// Quotients by (radius + 1)^2 for every reachable sum; past a size where the table stops paying
// off, plain division is used.
class Divider {
 public:
  explicit Divider(int radius) : div_((radius + 1) * (radius + 1)) {
    if (div_ <= 4096) {
      table_.resize(static_cast<size_t>(div_) * 256);
      for (size_t i = 0; i < table_.size(); ++i) table_[i] = static_cast<BYTE>(i / div_);
    }
  }
  BYTE operator()(int sum) const {
    return table_.empty() ? static_cast<BYTE>(sum / div_) : table_[static_cast<size_t>(sum)];
  }

 private:
  int div_;
  std::vector<BYTE> table_;
};

// One pass along a line of `n` pixels, reading 4-byte pixels packed in `in` and writing to
// `out` every `step` bytes (different memory). Running sums: S(x+1) = S(x) - L(x) + R(x) where L covers
// x-r..x and R covers x+1..x+r+1.
void BlurLine(const BYTE* in, BYTE* out, int n, ptrdiff_t step, int r, const Divider& div) {
  auto px = [&](int i) { return in + static_cast<ptrdiff_t>(std::clamp(i, 0, n - 1)) * 4; };
  int s[3] = {0, 0, 0}, l[3] = {0, 0, 0}, rr[3] = {0, 0, 0};
  for (int k = -r; k <= r; ++k) {
    const BYTE* p = px(k);
    const int w = r + 1 - (k < 0 ? -k : k);
    for (int c = 0; c < 3; ++c) s[c] += w * p[c];
  }
  for (int k = -r; k <= 0; ++k)
    for (int c = 0; c < 3; ++c) l[c] += px(k)[c];
  for (int k = 1; k <= r + 1; ++k)
    for (int c = 0; c < 3; ++c) rr[c] += px(k)[c];
  for (int x = 0; x < n; ++x) {
    BYTE* o = out + static_cast<ptrdiff_t>(x) * step;
    for (int c = 0; c < 3; ++c) o[c] = div(s[c]);
    o[3] = 255;
    const BYTE* drop = px(x - r);
    const BYTE* mid = px(x + 1);
    const BYTE* add = px(x + r + 2);
    for (int c = 0; c < 3; ++c) {
      s[c] += rr[c] - l[c];
      l[c] += mid[c] - drop[c];
      rr[c] += add[c] - mid[c];
    }
  }
}

// The vertical pass keeps the running sums of every column at once, so it walks whole rows.
void BlurColumns(const std::vector<BYTE>& in, const PixelMap& out, int r, const Divider& div) {
  const int w = out.width, h = out.height, n = w * 3;
  const ptrdiff_t pitch = static_cast<ptrdiff_t>(w) * 4;
  auto row = [&](int y) { return in.data() + std::clamp(y, 0, h - 1) * pitch; };
  std::vector<int> s(n, 0), l(n, 0), rr(n, 0);
  auto accumulate = [&](std::vector<int>& acc, const BYTE* p, int weight) {
    for (int x = 0; x < w; ++x, p += 4)
      for (int c = 0; c < 3; ++c) acc[x * 3 + c] += weight * p[c];
  };
  for (int k = -r; k <= r; ++k) accumulate(s, row(k), r + 1 - (k < 0 ? -k : k));
  for (int k = -r; k <= 0; ++k) accumulate(l, row(k), 1);
  for (int k = 1; k <= r + 1; ++k) accumulate(rr, row(k), 1);
  for (int y = 0; y < h; ++y) {
    BYTE* o = out.Row(y);
    for (int x = 0; x < w; ++x, o += 4) {
      for (int c = 0; c < 3; ++c) o[c] = div(s[x * 3 + c]);
      o[3] = 255;
    }
    const BYTE* drop = row(y - r);
    const BYTE* mid = row(y + 1);
    const BYTE* add = row(y + r + 2);
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) {
        const int i = x * 3 + c, q = x * 4 + c;
        s[i] += rr[i] - l[i];
        l[i] += mid[q] - drop[q];
        rr[i] += add[q] - mid[q];
      }
  }
}

}  // namespace

void StackBlur(const PixelMap& bitmap, int radius) {
  if (radius <= 0 || bitmap.Empty() || bitmap.bytesPerPixel != 4) return;
  const Divider div(radius);
  const int w = bitmap.width, h = bitmap.height;
  const ptrdiff_t pitch = static_cast<ptrdiff_t>(w) * 4;
  std::vector<BYTE> pass(static_cast<size_t>(pitch) * h);
  for (int y = 0; y < h; ++y) BlurLine(bitmap.Row(y), pass.data() + y * pitch, w, 4, radius, div);
  BlurColumns(pass, bitmap, radius, div);
}

void AlphaFromMask(const PixelMap& bitmap, const PixelMap& mask) {
  if (bitmap.Empty() || mask.Empty() || bitmap.bytesPerPixel != 4) return;
  const int w = std::min(bitmap.width, mask.width), h = std::min(bitmap.height, mask.height);
  for (int y = 0; y < h; ++y) {
    BYTE* d = bitmap.Row(y);
    const BYTE* m = mask.Row(y);
    for (int x = 0; x < w; ++x, d += 4, m += mask.bytesPerPixel)
      d[3] = static_cast<BYTE>((m[0] + m[1] + m[2] + 1) / 3);
  }
}

}  // namespace lumoa::skin
