#include "ui/bmp_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr size_t kFileHeaderSize = 14;
// Densities past this (about 25 400 dots per inch) belong to no device: a damaged header.
constexpr int64_t kMaxDensity = 1000000;
// Compression codes beyond the platform header's.
constexpr uint32_t kBiJpeg = 4;
constexpr uint32_t kBiPng = 5;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr uint32_t kOs2Huffman = 3;
constexpr uint32_t kOs2Rle24 = 4;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

[[noreturn]] void Invalid(const AnsiString& why) {
  throw EInvalidGraphic("Bitmap image is not valid: " + why);
}
[[noreturn]] void Truncated(const AnsiString& why) {
  throw EReadError("Bitmap image is truncated: " + why);
}

AnsiString Hex(uint32_t v) { return "0x" + IntToHex(v, 8); }

bool WindowsHeader(uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}
// OS/2 2.x headers may stop after any field from the sixteenth byte on.
bool Os2Header(uint32_t size) {
  return size == 12 || (size >= 16 && size <= 64 && size % 4 == 0 && !WindowsHeader(size));
}

void CheckMasks(const uint32_t masks[4], int bitCount) {
  static const char* const kNames[4] = {"red", "green", "blue", "alpha"};
  const uint32_t pixelBits = bitCount == 32 ? 0xFFFFFFFFu : (1u << bitCount) - 1;
  uint32_t seen = 0;
  for (int c = 0; c < 4; ++c) {
    const uint32_t m = masks[c];
    if (m == 0) {
      if (c == 3) continue;
      Invalid(AnsiString("the ") + kNames[c] + " mask is empty");
    }
    const uint32_t run = m >> std::countr_zero(m);
    if ((run & (run + 1)) != 0 || (m & ~pixelBits) != 0 || (m & seen) != 0) {
      Invalid(AnsiString("the ") + kNames[c] + " mask " + Hex(m) + " is not a run of free bits of " +
              IntToStr(bitCount) + "-bit pixels");
    }
    seen |= m;
  }
}

// Scales one masked channel to 8 bits, rounding to the nearest level.
class TChannel {
 public:
  explicit TChannel(uint32_t mask) : FMask(mask) {
    if (mask == 0) return;
    FShift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    FMax = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    if (bits <= 16) {
      FTable.resize(size_t{FMax} + 1);
      for (uint32_t v = 0; v <= FMax; ++v) FTable[v] = Scale(v);
    }
  }
  bool Present() const { return FMask != 0; }
  uint8_t operator()(uint32_t pixel) const {
    const uint32_t v = (pixel & FMask) >> FShift;
    return FTable.empty() ? Scale(v) : FTable[v];
  }

 private:
  uint8_t Scale(uint32_t v) const {
    return static_cast<uint8_t>((uint64_t{v} * 255 + FMax / 2) / FMax);
  }
  uint32_t FMask;
  int FShift = 0;
  uint32_t FMax = 1;
  std::vector<uint8_t> FTable;
};

size_t StoredStride(const TBmpInfo& info) {
  return (static_cast<size_t>(info.Width) * info.BitCount + 31) / 32 * 4;
}

uint8_t* DestRow(const TBmpInfo& info, uint8_t* dest, size_t stride, int fileRow) {
  const int y = info.TopDown ? fileRow : info.Height - 1 - fileRow;
  return dest + static_cast<size_t>(y) * stride;
}

unsigned IndexAt(const uint8_t* row, int x, int bpp) {
  switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 2: return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    default: return row[x];
  }
}

[[noreturn]] void BadIndex(unsigned index, size_t entries) {
  Invalid("colour index " + IntToStr(index) + " is past the " + IntToStr(entries) +
          "-entry colour table");
}

void DecodeDirect(const TBmpInfo& info, const uint8_t* src, uint8_t* dest, size_t stride) {
  const size_t inStride = StoredStride(info);
  const int bytes = info.BitCount / 8;
  const bool standard32 = info.BitCount == 32 && info.Masks[0] == 0xFF0000 &&
                          info.Masks[1] == 0xFF00 && info.Masks[2] == 0xFF &&
                          (info.Masks[3] == 0 || info.Masks[3] == 0xFF000000u);
  if (info.BitCount == 24 || standard32) {
    for (int r = 0; r < info.Height; ++r) {
      std::memcpy(DestRow(info, dest, stride, r), src + r * inStride,
                  static_cast<size_t>(info.Width) * bytes);
    }
    return;
  }
  const TChannel red(info.Masks[0]), green(info.Masks[1]), blue(info.Masks[2]),
      alpha(info.Masks[3]);
  const int outBytes = info.OutputBpp / 8;
  for (int r = 0; r < info.Height; ++r) {
    const uint8_t* in = src + r * inStride;
    uint8_t* out = DestRow(info, dest, stride, r);
    for (int x = 0; x < info.Width; ++x, in += bytes, out += outBytes) {
      const uint32_t px = bytes == 2 ? Le16(in) : Le32(in);
      out[0] = blue(px);
      out[1] = green(px);
      out[2] = red(px);
      if (outBytes == 4) out[3] = alpha.Present() ? alpha(px) : 0;
    }
  }
}

void DecodeIndexed(const TBmpInfo& info, const uint8_t* data, uint8_t* dest, size_t stride) {
  CheckBmpIndices(info, data);
  const uint8_t* src = data + info.PixelOffset;
  const size_t inStride = StoredStride(info);
  for (int r = 0; r < info.Height; ++r) {
    const uint8_t* in = src + r * inStride;
    uint8_t* out = DestRow(info, dest, stride, r);
    if (info.BitCount == info.OutputBpp) {
      std::memcpy(out, in, (static_cast<size_t>(info.Width) * info.BitCount + 7) / 8);
      continue;
    }
    for (int x = 0; x < info.Width; ++x) out[x] = static_cast<uint8_t>(IndexAt(in, x, 2));
  }
}

// RLE4 and RLE8 codes, rows bottom-up: runs and literals may not pass the end of a row, moves
// may not leave the picture, and the data must end with an end-of-bitmap code.
void DecodeRle(const TBmpInfo& info, const uint8_t* src, uint8_t* dest, size_t stride) {
  const bool four = info.Compression == BI_RLE4;
  const size_t n = info.PixelBytes;
  const size_t entries = info.Palette.size();
  const int w = info.Width, h = info.Height;
  int x = 0, y = 0;
  const auto put = [&](int px, unsigned index) {
    if (index >= entries) BadIndex(index, entries);
    uint8_t* row = DestRow(info, dest, stride, y);
    if (four) {
      row[px >> 1] |= static_cast<uint8_t>((px & 1) ? index : index << 4);
    } else {
      row[px] = static_cast<uint8_t>(index);
    }
  };
  const auto room = [&](int count) {
    if (y >= h) Invalid("RLE pixels past the last row");
    if (count > w - x) {
      Invalid("RLE run of " + IntToStr(count) + " at column " + IntToStr(x) +
              " passes the end of row " + IntToStr(y));
    }
  };
  size_t i = 0;
  for (;;) {
    if (n - i < 2) Invalid("RLE data ends without an end-of-bitmap code");
    const int count = src[i];
    const uint8_t code = src[i + 1];
    i += 2;
    if (count > 0) {
      room(count);
      for (int k = 0; k < count; ++k) {
        put(x + k, four ? ((k & 1) ? code & 0xF : code >> 4) : code);
      }
      x += count;
      continue;
    }
    if (code == 0) {  // end of line
      if (y >= h) Invalid("RLE line end past the last row");
      x = 0;
      ++y;
    } else if (code == 1) {  // end of bitmap
      return;
    } else if (code == 2) {  // move right and up
      if (n - i < 2) Invalid("RLE data ends inside a move");
      x += src[i];
      y += src[i + 1];
      i += 2;
      if (x > w || y > h || (y == h && x > 0)) Invalid("RLE move leaves the picture");
    } else {  // literal pixels, padded to a 16-bit boundary
      const size_t bytes = four ? (code + 1u) / 2 : code;
      const size_t padded = (bytes + 1) & ~size_t{1};
      if (n - i < padded) Invalid("RLE data ends inside a literal run");
      room(code);
      const uint8_t* lit = src + i;
      for (int k = 0; k < code; ++k) {
        put(x + k, four ? ((k & 1) ? lit[k >> 1] & 0xF : lit[k >> 1] >> 4) : lit[k]);
      }
      x += code;
      i += padded;
    }
  }
}

}  // namespace

TBmpInfo ReadBmpInfo(const uint8_t* data, size_t available) {
  if (available < kFileHeaderSize + 4) {
    Truncated(IntToStr(static_cast<int64_t>(available)) + " bytes, the headers need more");
  }
  if (data[0] != 'B' || data[1] != 'M') Invalid("no \"BM\" signature");
  const uint32_t fileSize = Le32(data + 2);
  const uint32_t offBits = Le32(data + 10);
  TBmpInfo info;
  const uint32_t hs = Le32(data + kFileHeaderSize);
  info.HeaderSize = hs;
  if (!WindowsHeader(hs) && !Os2Header(hs)) Invalid("header size " + IntToStr(hs) + " is no known kind");
  if (available < kFileHeaderSize + hs) {
    Truncated("the " + IntToStr(hs) + "-byte header ends past the " +
              IntToStr(static_cast<int64_t>(available)) + " bytes present");
  }
  const uint8_t* ih = data + kFileHeaderSize;
  const auto field = [&](uint32_t at) { return at + 4 <= hs ? Le32(ih + at) : 0u; };
  int64_t width, height;
  uint32_t planes, compression = BI_RGB, sizeImage = 0, clrUsed = 0;
  if (hs == 12) {
    width = Le16(ih + 4);
    height = Le16(ih + 6);
    planes = Le16(ih + 8);
    info.BitCount = Le16(ih + 10);
  } else {
    width = static_cast<int32_t>(Le32(ih + 4));
    height = static_cast<int32_t>(Le32(ih + 8));
    planes = Le16(ih + 12);
    info.BitCount = Le16(ih + 14);
    compression = field(16);
    sizeImage = field(20);
    clrUsed = field(32);
    for (uint32_t at : {24u, 28u}) {
      const int64_t density = static_cast<int32_t>(field(at));
      if (density > kMaxDensity || density < -kMaxDensity) {
        Invalid("density of " + IntToStr(density) + " pixels per metre");
      }
    }
  }
  const bool os2 = Os2Header(hs);
  if (!os2 && compression == kBiJpeg) Invalid("JPEG pixels are not supported");
  if (!os2 && compression == kBiPng) Invalid("PNG pixels are not supported");
  if (planes != 1) Invalid(IntToStr(planes) + " planes");
  if (width <= 0 || height == 0 || width > kMaxBmpReaderSide || height > kMaxBmpReaderSide ||
      height < -kMaxBmpReaderSide) {
    Invalid("impossible size " + IntToStr(width) + "x" + IntToStr(height));
  }
  info.Width = static_cast<int32_t>(width);
  info.Height = static_cast<int32_t>(height < 0 ? -height : height);
  info.TopDown = height < 0;
  const int bpp = info.BitCount;
  if (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    Invalid("unsupported bit count " + IntToStr(bpp));
  }

  info.TableOffset = kFileHeaderSize + hs;
  if (os2 && compression == kOs2Huffman) Invalid("OS/2 Huffman compression is not supported");
  if (os2 && compression == kOs2Rle24) Invalid("OS/2 24-bit RLE compression is not supported");
  switch (compression) {
    case BI_RGB:
      if (bpp == 16) {
        info.Masks[0] = 0x7C00, info.Masks[1] = 0x3E0, info.Masks[2] = 0x1F;
      } else if (bpp == 32) {
        info.Masks[0] = 0xFF0000, info.Masks[1] = 0xFF00, info.Masks[2] = 0xFF;
      }
      break;
    case BI_RLE8:
    case BI_RLE4:
      if (bpp != (compression == BI_RLE8 ? 8 : 4)) {
        Invalid(AnsiString(compression == BI_RLE8 ? "RLE8" : "RLE4") + " with " + IntToStr(bpp) +
                "-bit pixels");
      }
      if (info.TopDown) Invalid("a compressed image stored top-down");
      if (sizeImage == 0) Invalid("a compressed image without its size");
      break;
    case BI_BITFIELDS:
    case kBiAlphaBitfields: {
      if (bpp != 16 && bpp != 32) Invalid("bit fields with " + IntToStr(bpp) + "-bit pixels");
      const int count = compression == kBiAlphaBitfields ? 4 : 3;
      if (hs >= 40u + 4 * count) {
        for (int c = 0; c < count; ++c) info.Masks[c] = Le32(ih + 40 + 4 * c);
      } else {
        if (available < info.TableOffset + 4 * count) Truncated("the colour masks are cut off");
        for (int c = 0; c < count; ++c) info.Masks[c] = Le32(data + info.TableOffset + 4 * c);
        info.TableOffset += 4 * count;
      }
      // Headers from 56 bytes on carry an alpha mask beside the three colour masks.
      if (count == 3 && hs >= 56) info.Masks[3] = Le32(ih + 52);
      CheckMasks(info.Masks, bpp);
      compression = BI_BITFIELDS;
      break;
    }
    default: Invalid("unknown compression " + IntToStr(compression));
  }
  info.Compression = compression;

  // Pixels start where the file header says, never merely where the tables end.
  info.PixelOffset = offBits;
  if (info.PixelOffset < info.TableOffset) {
    Invalid("pixel offset " + IntToStr(offBits) + " lies inside the headers, which end at " +
            IntToStr(static_cast<int64_t>(info.TableOffset)));
  }
  if (info.PixelOffset > available) {
    Truncated("pixels start at " + IntToStr(offBits) + ", " +
              IntToStr(static_cast<int64_t>(available)) + " bytes present");
  }
  const size_t entrySize = hs == 12 ? 3 : 4;
  const size_t room = (info.PixelOffset - info.TableOffset) / entrySize;
  if (info.Indexed()) {
    const size_t full = size_t{1} << bpp;
    info.TableEntries = clrUsed != 0 ? clrUsed : full;
    if (clrUsed > room) {
      Invalid("a colour table of " + IntToStr(clrUsed) + " entries does not fit before the pixels");
    }
    // Without a count, the table holds what fits before the pixels, up to the full size.
    const size_t entries = std::min(clrUsed != 0 ? size_t{clrUsed} : room, full);
    if (entries == 0) Invalid("an indexed image without a colour table");
    info.Palette.resize(entries);
    const uint8_t* t = data + info.TableOffset;
    for (size_t i = 0; i < entries; ++i, t += entrySize) {
      info.Palette[i] = RGBQUAD{t[0], t[1], t[2], static_cast<BYTE>(entrySize == 4 ? t[3] : 0)};
    }
  } else {
    info.TableEntries = clrUsed;  // only a hint beside direct colours
  }

  const uint64_t rows = static_cast<uint64_t>(StoredStride(info)) * info.Height;
  if (compression == BI_RLE8 || compression == BI_RLE4) {
    info.PixelBytes = sizeImage;
  } else {
    if (sizeImage != 0 && sizeImage < rows) {
      Invalid("image size " + IntToStr(sizeImage) + " is smaller than its " +
              IntToStr(static_cast<int64_t>(rows)) + " bytes of rows");
    }
    info.PixelBytes = sizeImage != 0 ? sizeImage : static_cast<size_t>(rows);
  }
  if (info.PixelBytes > available - info.PixelOffset) {
    Truncated(IntToStr(static_cast<int64_t>(info.PixelBytes)) + " bytes of pixels at " +
              IntToStr(offBits) + ", " + IntToStr(static_cast<int64_t>(available)) +
              " bytes present");
  }
  if (fileSize > available) {
    Truncated("the file header counts " + IntToStr(fileSize) + " bytes, " +
              IntToStr(static_cast<int64_t>(available)) + " present");
  }
  if (info.Indexed()) {
    info.OutputBpp = bpp == 2 ? 8 : bpp;
  } else {
    info.OutputBpp = bpp == 24 || (bpp == 16 && info.Masks[3] == 0) ? 24 : 32;
  }
  return info;
}

void CheckBmpIndices(const TBmpInfo& info, const uint8_t* data) {
  const size_t entries = info.Palette.size();
  if (!info.Indexed() || info.Compression != BI_RGB || entries >= (size_t{1} << info.BitCount)) {
    return;
  }
  const uint8_t* src = data + info.PixelOffset;
  const size_t inStride = StoredStride(info);
  for (int r = 0; r < info.Height; ++r) {
    const uint8_t* row = src + r * inStride;
    for (int x = 0; x < info.Width; ++x) {
      const unsigned index = IndexAt(row, x, info.BitCount);
      if (index >= entries) BadIndex(index, entries);
    }
  }
}

void DecodeBmpPixels(const TBmpInfo& info, const uint8_t* data, uint8_t* dest, size_t stride) {
  if (info.Compression == BI_RLE8 || info.Compression == BI_RLE4) {
    DecodeRle(info, data + info.PixelOffset, dest, stride);
  } else if (info.Indexed()) {
    DecodeIndexed(info, data, dest, stride);
  } else {
    DecodeDirect(info, data + info.PixelOffset, dest, stride);
  }
}
