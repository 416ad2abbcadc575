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

// One pass along a row of `n` pixels. `in` holds the row's 4-byte pixels with r + 2 copies of
// each edge pixel on either side, so no index needs clamping. Running sums:
// S(x+1) = S(x) - L(x) + R(x), where L covers x-r..x and R covers x+1..x+r+1.
void BlurLine(const BYTE* in, BYTE* out, int n, int r, const Divider& div) {
  const BYTE* base = in + static_cast<ptrdiff_t>(r + 2) * 4;  // pixel 0
  auto px = [base](int i) { return base + static_cast<ptrdiff_t>(i) * 4; };
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
  for (int x = 0; x < n; ++x, out += 4) {
    out[0] = div(s[0]);
    out[1] = div(s[1]);
    out[2] = div(s[2]);
    out[3] = 255;
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

// Copies a row into `ext` with r + 2 copies of each edge pixel on either side.
void PadRow(const uint32_t* row, int n, int r, std::vector<uint32_t>& ext) {
  const int pad = r + 2;
  ext.resize(static_cast<size_t>(n + 2 * pad));
  std::fill_n(ext.begin(), pad, row[0]);
  std::copy_n(row, n, ext.begin() + pad);
  std::fill_n(ext.begin() + pad + n, pad, row[n - 1]);
}

// The vertical pass keeps the running sums of every column at once, so it walks whole rows;
// alpha is summed along with the colours (it keeps the loops branch-free and vectorisable) and
// overwritten.
void BlurColumns(const std::vector<BYTE>& in, const PixelMap& out, int r, const Divider& div) {
  const int w = out.width, h = out.height, n = w * 4;
  const ptrdiff_t pitch = n;
  auto row = [&](int y) { return in.data() + std::clamp(y, 0, h - 1) * pitch; };
  std::vector<int> s(n, 0), l(n, 0), rr(n, 0);
  auto accumulate = [n](std::vector<int>& acc, const BYTE* p, int weight) {
    for (int q = 0; q < n; ++q) acc[q] += weight * p[q];
  };
  for (int k = -r; k <= r; ++k) accumulate(s, row(k), r + 1 - (k < 0 ? -k : k));
  for (int k = -r; k <= 0; ++k) accumulate(l, row(k), 1);
  for (int k = 1; k <= r + 1; ++k) accumulate(rr, row(k), 1);
  for (int y = 0; y < h; ++y) {
    BYTE* o = out.Row(y);
    for (int q = 0; q < n; q += 4) {
      o[q] = div(s[q]);
      o[q + 1] = div(s[q + 1]);
      o[q + 2] = div(s[q + 2]);
      o[q + 3] = 255;
    }
    const BYTE* drop = row(y - r);
    const BYTE* mid = row(y + 1);
    const BYTE* add = row(y + r + 2);
    int* sp = s.data();
    int* lp = l.data();
    int* rp = rr.data();
    for (int q = 0; q < n; ++q) {
      sp[q] += rp[q] - lp[q];
      lp[q] += mid[q] - drop[q];
      rp[q] += add[q] - mid[q];
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
  std::vector<uint32_t> ext;
  for (int y = 0; y < h; ++y) {
    PadRow(bitmap.Row32(y), w, radius, ext);
    BlurLine(reinterpret_cast<const BYTE*>(ext.data()), pass.data() + y * pitch, w, radius, div);
  }
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
