// A small RGBA raster with the shapes skin pictures are made of: gradients, rounded boxes
// with anti-aliased edges, glyphs and soft glows. Pictures are written as BMP files of 1, 8,
// 24 or 32 bits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  // The description's colour value: red in the low byte.
  uint32_t Value() const { return r | (g << 8) | (b << 16); }
};
constexpr Rgb RgbOf(uint32_t hex) {  // 0xRRGGBB, the way designers write colours
  return Rgb{static_cast<uint8_t>(hex >> 16), static_cast<uint8_t>(hex >> 8),
             static_cast<uint8_t>(hex)};
}
Rgb Mix(Rgb a, Rgb b, double t);

struct Box {
  int l = 0, t = 0, r = 0, b = 0;
  int W() const { return r - l; }
  int H() const { return b - t; }
  Box Inset(int dx, int dy) const { return {l + dx, t + dy, r - dx, b - dy}; }
  Box Moved(int dx, int dy) const { return {l + dx, t + dy, r + dx, b + dy}; }
  bool Empty() const { return r <= l || b <= t; }
};

enum class Dir { Up, Down, Left, Right };

class Image {
 public:
  Image() = default;
  Image(int w, int h);
  int W() const { return w_; }
  int H() const { return h_; }
  // Colour and alpha (0..255) of a pixel; pictures start opaque black.
  Rgb At(int x, int y) const;
  uint8_t AlphaAt(int x, int y) const;
  void Set(int x, int y, Rgb c, uint8_t a = 255);
  // Paints c over the pixel with coverage 0..1.
  void Blend(int x, int y, Rgb c, double coverage);

  void Fill(const Box& b, Rgb c);
  void VGradient(const Box& b, Rgb top, Rgb bottom);
  void HGradient(const Box& b, Rgb left, Rgb right);
  // A box with corners of radius rad, edges anti-aliased, filled with a vertical gradient.
  void RoundBox(const Box& b, double rad, Rgb top, Rgb bottom);
  // The one-pixel outline of a rounded box.
  void RoundFrame(const Box& b, double rad, Rgb c, double opacity = 1.0);
  void HLine(int x0, int x1, int y, Rgb c, double opacity = 1.0);
  void VLine(int x, int y0, int y1, Rgb c, double opacity = 1.0);
  // Glyphs centred at (cx, cy), sized by s (about the glyph's half width).
  void Arrow(double cx, double cy, double s, Dir d, Rgb c);
  void Check(double cx, double cy, double s, Rgb c);
  void Cross(double cx, double cy, double s, Rgb c);
  void Disc(double cx, double cy, double rad, Rgb c);
  void Ring(double cx, double cy, double rad, double width, Rgb c);
  void Segment(double x0, double y0, double x1, double y1, double width, Rgb c);
  // Grip dots along a line of n dots.
  void Grip(int x, int y, int n, bool vertical, Rgb dark, Rgb light);
  // Copies a part of another image.
  void CopyFrom(const Image& src, const Box& from, int x, int y);

  // Alpha channel: a soft glow that fades out over `spread` pixels around the rounded box
  // inner, peak alpha at its edge; colour c everywhere it shows.
  void Glow(const Box& inner, double rad, double spread, Rgb c, double peak);

  // Writes the image as a BMP file: 24 bits; 32 bits with the alpha channel; 8 bits grey
  // (palette of 256 greys, the index is the grey level of the pixel); 1 bit (black where
  // the alpha is at least 128, white elsewhere). Raises std::runtime_error when it cannot.
  void SaveBmp(const std::string& path, int bits) const;

 private:
  template <class Coverage>
  void Shape(double x0, double y0, double x1, double y1, Rgb c, Coverage cov);

  int w_ = 0, h_ = 0;
  std::vector<uint8_t> px_;  // r, g, b, a
};

// Signed distance from (x, y) to the rounded box (negative inside).
double RoundBoxDistance(const Box& b, double rad, double x, double y);

}  // namespace skingen
