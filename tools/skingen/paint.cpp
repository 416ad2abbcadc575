#include "tools/skingen/paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace skingen {

namespace {

uint8_t Clamp8(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// Coverage of a pixel by a shape given as a signed distance: a one-pixel ramp keeps edges
// crisp without stair steps.
double CoverageOf(double distance) { return std::clamp(0.5 - distance, 0.0, 1.0); }

double SegmentDistance(double px, double py, double x0, double y0, double x1, double y1) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = px - (x0 + t * dx), ey = py - (y0 + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return Rgb{Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t),
             Clamp8(a.b + (b.b - a.b) * t)};
}

double RoundBoxDistance(const Box& b, double rad, double x, double y) {
  const double cx = (b.l + b.r) / 2.0, cy = (b.t + b.b) / 2.0;
  const double hx = b.W() / 2.0 - rad, hy = b.H() / 2.0 - rad;
  const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
  const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - rad;
}

Image::Image(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h * 4, 0) {
  for (size_t i = 3; i < px_.size(); i += 4) px_[i] = 255;
}

Rgb Image::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return {};
  const uint8_t* p = &px_[(static_cast<size_t>(y) * w_ + x) * 4];
  return {p[0], p[1], p[2]};
}

uint8_t Image::AlphaAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0;
  return px_[(static_cast<size_t>(y) * w_ + x) * 4 + 3];
}

void Image::Set(int x, int y, Rgb c, uint8_t a) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  uint8_t* p = &px_[(static_cast<size_t>(y) * w_ + x) * 4];
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
  p[3] = a;
}

void Image::Blend(int x, int y, Rgb c, double coverage) {
  if (coverage <= 0 || x < 0 || y < 0 || x >= w_ || y >= h_) return;
  uint8_t* p = &px_[(static_cast<size_t>(y) * w_ + x) * 4];
  const Rgb mixed = Mix(Rgb{p[0], p[1], p[2]}, c, std::min(coverage, 1.0));
  p[0] = mixed.r;
  p[1] = mixed.g;
  p[2] = mixed.b;
}

void Image::Fill(const Box& b, Rgb c) {
  for (int y = std::max(b.t, 0); y < std::min(b.b, h_); ++y)
    for (int x = std::max(b.l, 0); x < std::min(b.r, w_); ++x) Set(x, y, c);
}

void Image::VGradient(const Box& b, Rgb top, Rgb bottom) {
  const int h = std::max(b.H() - 1, 1);
  for (int y = b.t; y < b.b; ++y) Fill({b.l, y, b.r, y + 1}, Mix(top, bottom, double(y - b.t) / h));
}

void Image::HGradient(const Box& b, Rgb left, Rgb right) {
  const int w = std::max(b.W() - 1, 1);
  for (int x = b.l; x < b.r; ++x) Fill({x, b.t, x + 1, b.b}, Mix(left, right, double(x - b.l) / w));
}

void Image::RoundBox(const Box& b, double rad, Rgb top, Rgb bottom) {
  const int h = std::max(b.H() - 1, 1);
  for (int y = b.t; y < b.b; ++y) {
    const Rgb c = Mix(top, bottom, double(y - b.t) / h);
    for (int x = b.l; x < b.r; ++x)
      Blend(x, y, c, CoverageOf(RoundBoxDistance(b, rad, x + 0.5, y + 0.5)));
  }
}

void Image::RoundFrame(const Box& b, double rad, Rgb c, double opacity) {
  for (int y = b.t; y < b.b; ++y)
    for (int x = b.l; x < b.r; ++x) {
      const double d = RoundBoxDistance(b, rad, x + 0.5, y + 0.5);
      // A band one pixel wide just inside the edge.
      const double cov = std::clamp(1.0 - std::abs(d + 0.5), 0.0, 1.0);
      Blend(x, y, c, cov * opacity);
    }
}

void Image::HLine(int x0, int x1, int y, Rgb c, double opacity) {
  for (int x = x0; x < x1; ++x) Blend(x, y, c, opacity);
}

void Image::VLine(int x, int y0, int y1, Rgb c, double opacity) {
  for (int y = y0; y < y1; ++y) Blend(x, y, c, opacity);
}

template <class Coverage>
void Image::Shape(double x0, double y0, double x1, double y1, Rgb c, Coverage cov) {
  for (int y = static_cast<int>(std::floor(y0)); y <= static_cast<int>(std::ceil(y1)); ++y)
    for (int x = static_cast<int>(std::floor(x0)); x <= static_cast<int>(std::ceil(x1)); ++x)
      Blend(x, y, c, cov(x + 0.5, y + 0.5));
}

void Image::Arrow(double cx, double cy, double s, Dir d, Rgb c) {
  // A filled triangle: 4x4 samples per pixel give clean diagonal edges.
  double ax, ay, bx, by, ex, ey;
  const double h = s * 0.55;
  switch (d) {
    case Dir::Up: ax = cx - s; ay = cy + h; bx = cx + s; by = cy + h; ex = cx; ey = cy - h; break;
    case Dir::Down: ax = cx - s; ay = cy - h; bx = cx + s; by = cy - h; ex = cx; ey = cy + h; break;
    case Dir::Left: ax = cx + h; ay = cy - s; bx = cx + h; by = cy + s; ex = cx - h; ey = cy; break;
    default: ax = cx - h; ay = cy - s; bx = cx - h; by = cy + s; ex = cx + h; ey = cy; break;
  }
  auto inside = [&](double x, double y) {
    const double d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by);
    const double d2 = (x - ex) * (by - ey) - (bx - ex) * (y - ey);
    const double d3 = (x - ax) * (ey - ay) - (ex - ax) * (y - ay);
    const bool neg = d1 < 0 || d2 < 0 || d3 < 0, pos = d1 > 0 || d2 > 0 || d3 > 0;
    return !(neg && pos);
  };
  Shape(cx - s - 1, cy - s - 1, cx + s + 1, cy + s + 1, c, [&](double x, double y) {
    int n = 0;
    for (int j = 0; j < 4; ++j)
      for (int i = 0; i < 4; ++i) n += inside(x - 0.375 + i * 0.25, y - 0.375 + j * 0.25);
    return n / 16.0;
  });
}

void Image::Segment(double x0, double y0, double x1, double y1, double width, Rgb c) {
  Shape(std::min(x0, x1) - width, std::min(y0, y1) - width, std::max(x0, x1) + width,
        std::max(y0, y1) + width, c, [&](double x, double y) {
          return CoverageOf(SegmentDistance(x, y, x0, y0, x1, y1) - width / 2);
        });
}

void Image::Check(double cx, double cy, double s, Rgb c) {
  const double ax = cx - s, ay = cy, bx = cx - s * 0.3, by = cy + s * 0.7, ex = cx + s,
               ey = cy - s * 0.8;
  Shape(cx - s - 2, cy - s - 2, cx + s + 2, cy + s + 2, c, [&](double x, double y) {
    const double d = std::min(SegmentDistance(x, y, ax, ay, bx, by),
                              SegmentDistance(x, y, bx, by, ex, ey));
    return CoverageOf(d - 0.9);
  });
}

void Image::Cross(double cx, double cy, double s, Rgb c) {
  Shape(cx - s - 2, cy - s - 2, cx + s + 2, cy + s + 2, c, [&](double x, double y) {
    const double d = std::min(SegmentDistance(x, y, cx - s, cy - s, cx + s, cy + s),
                              SegmentDistance(x, y, cx - s, cy + s, cx + s, cy - s));
    return CoverageOf(d - 0.75);
  });
}

void Image::Disc(double cx, double cy, double rad, Rgb c) {
  Shape(cx - rad - 1, cy - rad - 1, cx + rad + 1, cy + rad + 1, c, [&](double x, double y) {
    return CoverageOf(std::hypot(x - cx, y - cy) - rad);
  });
}

void Image::Ring(double cx, double cy, double rad, double width, Rgb c) {
  Shape(cx - rad - 1, cy - rad - 1, cx + rad + 1, cy + rad + 1, c, [&](double x, double y) {
    return CoverageOf(std::abs(std::hypot(x - cx, y - cy) - rad + width / 2) - width / 2);
  });
}

void Image::Grip(int x, int y, int n, bool vertical, Rgb dark, Rgb light) {
  for (int i = 0; i < n; ++i) {
    const int px = vertical ? x : x + i * 3, py = vertical ? y + i * 3 : y;
    Set(px + 1, py + 1, light);
    Set(px, py, dark);
  }
}

void Image::CopyFrom(const Image& src, const Box& from, int x, int y) {
  for (int j = 0; j < from.H(); ++j)
    for (int i = 0; i < from.W(); ++i)
      Set(x + i, y + j, src.At(from.l + i, from.t + j), src.AlphaAt(from.l + i, from.t + j));
}

void Image::Glow(const Box& inner, double rad, double spread, Rgb c, double peak) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      const double d = RoundBoxDistance(inner, rad, x + 0.5, y + 0.5);
      double a = 0;
      if (d <= 0) {
        a = peak * 0.35;  // a faint wash under the button keeps the glow from looking hollow
      } else if (d < spread) {
        const double t = 1.0 - d / spread;
        a = peak * t * t * (3 - 2 * t);  // smoothstep: no visible rim where the glow ends
      }
      Set(x, y, c, Clamp8(a * 255));
    }
}

void Image::SaveBmp(const std::string& path, int bits) const {
  if (bits != 1 && bits != 8 && bits != 24 && bits != 32)
    throw std::runtime_error("unsupported bitmap depth " + std::to_string(bits));
  const int stride = ((w_ * bits + 31) / 32) * 4;
  const int colours = bits == 1 ? 2 : bits == 8 ? 256 : 0;
  const uint32_t offBits = 14 + 40 + 4 * colours;
  const uint32_t imageSize = static_cast<uint32_t>(stride) * h_;
  std::vector<uint8_t> out;
  out.reserve(offBits + imageSize);
  out.push_back('B');
  out.push_back('M');
  PutLE(out, offBits + imageSize, 4);
  PutLE(out, 0, 4);
  PutLE(out, offBits, 4);
  PutLE(out, 40, 4);
  PutLE(out, static_cast<uint32_t>(w_), 4);
  PutLE(out, static_cast<uint32_t>(h_), 4);  // bottom-up rows
  PutLE(out, 1, 2);
  PutLE(out, static_cast<uint32_t>(bits), 2);
  PutLE(out, 0, 4);  // BI_RGB
  PutLE(out, imageSize, 4);
  PutLE(out, 2835, 4);  // 72 dpi
  PutLE(out, 2835, 4);
  PutLE(out, static_cast<uint32_t>(colours), 4);
  PutLE(out, 0, 4);
  if (bits == 1) {
    PutLE(out, 0x000000, 4);
    PutLE(out, 0xFFFFFF, 4);
  } else if (bits == 8) {
    for (uint32_t i = 0; i < 256; ++i) PutLE(out, i | (i << 8) | (i << 16), 4);
  }
  std::vector<uint8_t> row(static_cast<size_t>(stride));
  for (int y = h_ - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), 0);
    for (int x = 0; x < w_; ++x) {
      const Rgb c = At(x, y);
      const uint8_t a = AlphaAt(x, y);
      switch (bits) {
        case 1:
          if (a < 128) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));  // white: outside
          break;
        case 8: row[x] = static_cast<uint8_t>((c.r * 299 + c.g * 587 + c.b * 114 + 500) / 1000); break;
        case 24: row[x * 3] = c.b; row[x * 3 + 1] = c.g; row[x * 3 + 2] = c.r; break;
        default: row[x * 4] = c.b; row[x * 4 + 1] = c.g; row[x * 4 + 2] = c.r; row[x * 4 + 3] = a;
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot create " + path);
  const size_t written = std::fwrite(out.data(), 1, out.size(), f);
  const bool closed = std::fclose(f) == 0;
  if (written != out.size() || !closed) throw std::runtime_error("cannot write " + path);
}

}  // namespace skingen
