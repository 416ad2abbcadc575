// Test support: PNG files written and read by libpng, the reference implementation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pngtest {

struct RefImage {
  int width = 1;
  int height = 1;
  int color_type = 6;
  int depth = 8;
  int interlace = 0;
  // Raw rows as the file holds them (packed samples, 16-bit big-endian).
  std::vector<std::vector<uint8_t>> rows;
  std::vector<uint8_t> palette;  // RGB triples
  std::vector<uint8_t> trns;     // palette alphas, or the key sample(s)
  uint32_t gamma = 0;            // 0: no gAMA
  std::string text_key, text;    // tEXt when text_key is set
  std::string ztext_key, ztext;  // zTXt when ztext_key is set
  bool unknown_chunk = false;    // adds a private "prVt" chunk before the data
  bool chrm = false;
  size_t idat_size = 0;          // 0: libpng default; else the split size of IDAT chunks
};

// Bytes per raw row and the sample at pixel x of a raw row (channel c).
size_t RawRowBytes(const RefImage& img);
uint32_t RawSample(const RefImage& img, const std::vector<uint8_t>& row, int x, int c);
// Fills rows with pseudo-random samples (and a palette of 2^depth entries for type 3).
void FillRandom(RefImage& img, uint32_t seed);

std::vector<uint8_t> WritePng(const RefImage& img);
// Reads a file with libpng without transformations; false (and a message) on libpng error.
bool ReadPng(const std::vector<uint8_t>& file, RefImage& out, std::string& error);

}  // namespace pngtest
