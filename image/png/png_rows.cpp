#include "image/png/png_rows.h"

#include <cstring>

#include "image/png/png_header.h"

namespace lumoa::png {

bool Unfilter(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t len, int bpp) {
  const size_t b = static_cast<size_t>(bpp) < len ? static_cast<size_t>(bpp) : len;
  switch (filter) {
    case kFilterNone:
      return true;
    case kFilterSub:
      for (size_t i = b; i < len; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - b]);
      return true;
    case kFilterUp:
      for (size_t i = 0; i < len; ++i) row[i] = static_cast<uint8_t>(row[i] + prev[i]);
      return true;
    case kFilterAverage:
      for (size_t i = 0; i < b; ++i) row[i] = static_cast<uint8_t>(row[i] + (prev[i] >> 1));
      for (size_t i = b; i < len; ++i)
        row[i] = static_cast<uint8_t>(row[i] + ((row[i - b] + prev[i]) >> 1));
      return true;
    case kFilterPaeth:
      for (size_t i = 0; i < b; ++i) row[i] = static_cast<uint8_t>(row[i] + prev[i]);
      for (size_t i = b; i < len; ++i)
        row[i] = static_cast<uint8_t>(row[i] + PaethPredictor(row[i - b], prev[i], prev[i - b]));
      return true;
    default:
      return false;
  }
}

void ApplyFilter(uint8_t filter, const uint8_t* row, const uint8_t* prev, size_t len, int bpp,
                 uint8_t* out) {
  const size_t b = static_cast<size_t>(bpp);
  for (size_t i = 0; i < len; ++i) {
    const int a = i >= b ? row[i - b] : 0;
    const int c = i >= b ? prev[i - b] : 0;
    const int up = prev[i];
    int pred = 0;
    switch (filter) {
      case kFilterSub: pred = a; break;
      case kFilterUp: pred = up; break;
      case kFilterAverage: pred = (a + up) >> 1; break;
      case kFilterPaeth: pred = PaethPredictor(a, up, c); break;
      default: break;
    }
    out[i] = static_cast<uint8_t>(row[i] - pred);
  }
}

int FileBitsPerPixel(uint8_t color_type, uint8_t bit_depth) {
  switch (color_type) {
    case kRGB: return bit_depth * 3;
    case kGreyAlpha: return bit_depth * 2;
    case kRGBA: return bit_depth * 4;
    default: return bit_depth;
  }
}

namespace {

// Sets the sub-byte value v (of bits width) at column x of a zero-filled row.
inline void OrBits(uint8_t* row, int x, int bits, unsigned v) {
  const int bit = x * bits;
  row[bit >> 3] |= static_cast<uint8_t>(v << (8 - bits - (bit & 7)));
}
inline unsigned GetBits(const uint8_t* row, int i, int bits) {
  const int bit = i * bits;
  return (row[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
}
inline void PutBits(uint8_t* row, int i, int bits, unsigned v) {
  const int bit = i * bits;
  const int shift = 8 - bits - (bit & 7);
  const unsigned mask = ((1u << bits) - 1) << shift;
  row[bit >> 3] = static_cast<uint8_t>((row[bit >> 3] & ~mask) | ((v << shift) & mask));
}

struct Identity {
  uint8_t operator()(uint8_t v) const { return v; }
};
struct Table {
  const uint8_t* t;
  uint8_t operator()(uint8_t v) const { return t[v]; }
};

template <class G>
void StoreRgb(uint8_t* dst, uint8_t* low, uint8_t* alpha, const uint8_t* src, int n, int x0,
              int dx, int channels, bool wide, G g) {
  const int step = channels * (wide ? 2 : 1);
  for (int i = 0; i < n; ++i, src += step) {
    const int x = x0 + i * dx;
    uint8_t* d = dst + x * 3;
    if (!wide) {
      d[0] = g(src[2]);
      d[1] = g(src[1]);
      d[2] = g(src[0]);
      if (alpha) alpha[x] = src[3];
      continue;
    }
    d[0] = g(src[4]);
    d[1] = g(src[2]);
    d[2] = g(src[0]);
    uint8_t* l = low + x * 3;
    l[0] = g(src[5]);
    l[1] = g(src[3]);
    l[2] = g(src[1]);
    if (alpha) alpha[x] = src[6];
  }
}

}  // namespace

void StoreRow(const TksPngLayerIHDR& h, const uint8_t* gamma, const uint8_t* src, int n, int y,
              int x0, int dx) {
  uint8_t* dst = h.Scanline(y);
  uint8_t* low = h.LowScanline(y);
  uint8_t* alpha = h.AlphaScanline(y);
  const int depth = h.BitDepth;
  switch (h.ColorType) {
    case kGrey:
    case kPalette:
      if (depth == 16) {
        for (int i = 0; i < n; ++i) {
          dst[x0 + i * dx] = src[2 * i];
          low[x0 + i * dx] = src[2 * i + 1];
        }
      } else if (depth == 8) {
        if (dx == 1) {
          std::memcpy(dst + x0, src, static_cast<size_t>(n));
        } else {
          for (int i = 0; i < n; ++i) dst[x0 + i * dx] = src[i];
        }
      } else if (depth == 2) {
        // Held as four-bit values; grey scales so that the 16-entry ramp shows the same level.
        const unsigned scale = h.ColorType == kGrey ? 5 : 1;
        for (int i = 0; i < n; ++i) OrBits(dst, x0 + i * dx, 4, GetBits(src, i, 2) * scale);
      } else if (dx == 1 && x0 == 0) {
        std::memcpy(dst, src, FileRowBytes(n, depth));
      } else {
        for (int i = 0; i < n; ++i) OrBits(dst, x0 + i * dx, depth, GetBits(src, i, depth));
      }
      return;
    case kGreyAlpha:
      if (depth == 8) {
        for (int i = 0; i < n; ++i) {
          dst[x0 + i * dx] = src[2 * i];
          alpha[x0 + i * dx] = src[2 * i + 1];
        }
      } else {
        for (int i = 0; i < n; ++i) {
          dst[x0 + i * dx] = src[4 * i];
          low[x0 + i * dx] = src[4 * i + 1];
          alpha[x0 + i * dx] = src[4 * i + 2];
        }
      }
      return;
    case kRGB:
    case kRGBA: {
      const int channels = h.ColorType == kRGB ? 3 : 4;
      if (!gamma)
        StoreRgb(dst, low, channels == 4 ? alpha : nullptr, src, n, x0, dx, channels, depth == 16,
                 Identity{});
      else
        StoreRgb(dst, low, channels == 4 ? alpha : nullptr, src, n, x0, dx, channels, depth == 16,
                 Table{gamma});
      return;
    }
    default:
      return;
  }
}

void GatherRow(const TksPngLayerIHDR& h, const uint8_t* inverse, uint8_t* dst, int n, int y,
               int x0, int dx) {
  const uint8_t* src = h.Scanline(y);
  const uint8_t* low = h.LowScanline(y);
  const uint8_t* alpha = h.AlphaScanline(y);
  const int depth = h.BitDepth;
  switch (h.ColorType) {
    case kGrey:
    case kPalette:
      if (depth == 16) {
        for (int i = 0; i < n; ++i) {
          dst[2 * i] = src[x0 + i * dx];
          dst[2 * i + 1] = low[x0 + i * dx];
        }
      } else if (depth == 8) {
        for (int i = 0; i < n; ++i) dst[i] = src[x0 + i * dx];
      } else {
        const int bits = WrittenDepth(static_cast<uint8_t>(depth));
        std::memset(dst, 0, FileRowBytes(n, bits));
        for (int i = 0; i < n; ++i) PutBits(dst, i, bits, GetBits(src, x0 + i * dx, bits));
      }
      return;
    case kGreyAlpha:
      for (int i = 0; i < n; ++i) {
        const int x = x0 + i * dx;
        if (depth == 8) {
          dst[2 * i] = src[x];
          dst[2 * i + 1] = alpha[x];
        } else {
          dst[4 * i] = src[x];
          dst[4 * i + 1] = low[x];
          dst[4 * i + 2] = alpha[x];
          dst[4 * i + 3] = alpha[x];
        }
      }
      return;
    case kRGB:
    case kRGBA: {
      const bool has_alpha = h.ColorType == kRGBA;
      const bool wide = depth == 16;
      const int step = (has_alpha ? 4 : 3) * (wide ? 2 : 1);
      for (int i = 0; i < n; ++i, dst += step) {
        const int x = x0 + i * dx;
        const uint8_t* s = src + x * 3;
        if (!wide) {
          dst[0] = inverse[s[2]];
          dst[1] = inverse[s[1]];
          dst[2] = inverse[s[0]];
          if (has_alpha) dst[3] = alpha[x];
          continue;
        }
        const uint8_t* l = low + x * 3;
        dst[0] = inverse[s[2]];
        dst[1] = inverse[l[2]];
        dst[2] = inverse[s[1]];
        dst[3] = inverse[l[1]];
        dst[4] = inverse[s[0]];
        dst[5] = inverse[l[0]];
        // The low byte of 16-bit alpha is not kept; repeating the high byte maps 0 and 255
        // to the ends of the 16-bit range.
        if (has_alpha) dst[6] = dst[7] = alpha[x];
      }
      return;
    }
    default:
      return;
  }
}

ColourKey ReadColourKey(const TksPngLayerIHDR& h, const uint8_t* trns, uint32_t length) {
  ColourKey key;
  const int samples = h.ColorType == kRGB ? 3 : h.ColorType == kGrey ? 1 : 0;
  if (samples == 0 || length < 2u * samples) return key;
  const uint32_t mask = h.BitDepth == 16 ? 0xFFFF : (1u << h.BitDepth) - 1;
  for (int c = 0; c < samples; ++c)
    key.Samples[c] = static_cast<uint16_t>(((trns[2 * c] << 8) | trns[2 * c + 1]) & mask);
  key.Valid = true;
  return key;
}

void MarkKeyRow(const TksPngLayerIHDR& h, const ColourKey& key, const uint8_t* src, int n, int y,
                int x0, int dx) {
  uint8_t* out = h.KeyScanline(y);
  if (!out || !key.Valid) return;
  const int depth = h.BitDepth;
  const auto sample = [&](int index) -> unsigned {
    if (depth == 16) return (src[2 * index] << 8) | src[2 * index + 1];
    if (depth == 8) return src[index];
    return GetBits(src, index, depth);
  };
  if (h.ColorType == kGrey) {
    for (int i = 0; i < n; ++i) out[x0 + i * dx] = sample(i) == key.Samples[0];
    return;
  }
  for (int i = 0; i < n; ++i) {
    out[x0 + i * dx] = sample(3 * i) == key.Samples[0] && sample(3 * i + 1) == key.Samples[1] &&
                       sample(3 * i + 2) == key.Samples[2];
  }
}

}  // namespace lumoa::png
