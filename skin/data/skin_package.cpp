#include "skin/data/skin_package.h"

#include <zlib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <limits>

#include "ui/streams.h"

namespace {

class PackageReader {
 public:
  PackageReader(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

  int32_t ReadInt(const char* what) {
    Need(4, what);
    int32_t v;
    std::memcpy(&v, FData + FPos, 4);
    FPos += 4;
    return v;
  }
  std::span<const uint8_t> ReadImage() {
    const size_t length = TksBmpImage::Measure(FData + FPos, FSize - FPos);
    const std::span<const uint8_t> image(FData + FPos, length);
    FPos += length;
    return image;
  }
  std::span<const uint8_t> ReadFlaggedImage(const char* what) {
    Need(1, what);
    const uint8_t flag = FData[FPos++];
    return flag == 0 ? ReadImage() : std::span<const uint8_t>();
  }
  std::string_view Rest() {
    const std::string_view text(reinterpret_cast<const char*>(FData + FPos), FSize - FPos);
    FPos = FSize;
    return text;
  }

 private:
  void Need(size_t n, const char* what) {
    if (FSize - FPos < n) throw EReadError(AnsiString("Skin package is truncated at its ") + what);
  }

  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

TksBmpImage Copy(std::span<const uint8_t> image) {
  return image.empty() ? TksBmpImage() : TksBmpImage::FromBytes(image.data(), image.size());
}

void PutInt(std::vector<uint8_t>& out, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

void PutImage(std::vector<uint8_t>& out, const TksBmpImage& image) {
  out.insert(out.end(), image.Bytes().begin(), image.Bytes().end());
}

void PutFlaggedImage(std::vector<uint8_t>& out, const TksBmpImage& image) {
  out.push_back(image.Empty() ? 1 : 0);
  PutImage(out, image);
}

}  // namespace

bool ParseSkinPackage(const uint8_t* data, size_t size, TksSkinPackageView& package) {
  CheckSkinPackageLimits(data, size);
  PackageReader reader(data, size);
  TksSkinPackageView result;
  result.Version = reader.ReadInt("version");
  if (result.Version > kSkinPackageVersion) {
    package = TksSkinPackageView();
    package.Version = result.Version;
    return false;
  }
  result.Picture = reader.ReadFlaggedImage("main picture");
  result.InactivePicture = reader.ReadFlaggedImage("inactive picture");
  result.MaskPicture = reader.ReadFlaggedImage("mask picture");
  if (result.Version == 2) {
    reader.ReadFlaggedImage("first extra picture");
    reader.ReadFlaggedImage("second extra picture");
  }
  const int32_t count = reader.ReadInt("active picture count");
  if (count < 0) throw EReadError("Skin package has a negative picture count " + IntToStr(count));
  for (int32_t i = 0; i < count; ++i) result.ActivePictures.push_back(reader.ReadImage());
  result.Description = reader.Rest();
  package = std::move(result);
  return true;
}

bool ParseSkinPackage(const uint8_t* data, size_t size, TksSkinPackage& package) {
  TksSkinPackageView view;
  if (!ParseSkinPackage(data, size, view)) {
    package = TksSkinPackage();
    package.Version = view.Version;
    return false;
  }
  TksSkinPackage result;
  result.Version = view.Version;
  result.Picture = Copy(view.Picture);
  result.InactivePicture = Copy(view.InactivePicture);
  result.MaskPicture = Copy(view.MaskPicture);
  for (const auto& image : view.ActivePictures) result.ActivePictures.push_back(Copy(image));
  result.Description = AnsiString(view.Description);
  package = std::move(result);
  return true;
}

std::vector<uint8_t> BuildSkinPackage(const TksSkinPackage& package) {
  std::vector<uint8_t> out;
  PutInt(out, kSkinPackageVersion);
  PutFlaggedImage(out, package.Picture);
  PutFlaggedImage(out, package.InactivePicture);
  PutFlaggedImage(out, package.MaskPicture);
  PutInt(out, static_cast<int32_t>(package.ActivePictures.size()));
  for (const TksBmpImage& image : package.ActivePictures) PutImage(out, image);
  out.insert(out.end(), package.Description.begin(), package.Description.end());
  return out;
}

uint32_t SkinAdler32(uint32_t adler, const uint8_t* p, size_t n) {
  constexpr uint32_t kBase = 65521;
  constexpr size_t kMost = 5552;  // the most bytes before the sums must be reduced
  uint64_t s1 = adler & 0xFFFF, s2 = adler >> 16;
#if defined(__SSE2__)
  // 16 bytes a step: s1 gains their sum, s2 gains 16 * s1 before the step plus each byte
  // weighted by 16 down to 1. The sums stay in 32-bit lanes for up to kMost bytes.
  const __m128i zero = _mm_setzero_si128();
  const __m128i weightsLow = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
  const __m128i weightsHigh = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
  while (n >= 16) {
    const size_t steps = std::min(n, kMost) / 16;
    n -= steps * 16;
    __m128i sum = zero, before = zero, weighted = zero;
    for (size_t i = 0; i < steps; ++i, p += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      before = _mm_add_epi32(before, sum);
      sum = _mm_add_epi32(sum, _mm_sad_epu8(bytes, zero));
      weighted = _mm_add_epi32(weighted,
                               _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), weightsLow));
      weighted = _mm_add_epi32(weighted,
                               _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), weightsHigh));
    }
    alignas(16) uint32_t a[4], b[4], c[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(a), sum);
    _mm_store_si128(reinterpret_cast<__m128i*>(b), before);
    _mm_store_si128(reinterpret_cast<__m128i*>(c), weighted);
    s2 += 16 * s1 * steps + 16 * (uint64_t{b[0]} + b[1] + b[2] + b[3]) +
          (uint64_t{c[0]} + c[1] + c[2] + c[3]);
    s1 += uint64_t{a[0]} + a[1] + a[2] + a[3];
    s1 %= kBase;
    s2 %= kBase;
  }
#endif
  while (n > 0) {
    const size_t run = std::min(n, kMost);
    for (size_t i = 0; i < run; ++i) {
      s1 += p[i];
      s2 += s1;
    }
    p += run;
    n -= run;
    s1 %= kBase;
    s2 %= kBase;
  }
  return static_cast<uint32_t>(s2 << 16 | s1);
}

TksByteBuffer InflateSkinData(const uint8_t* data, size_t size, size_t limit) {
  // The zlib framing is read here and the stream inflated raw: zlib's own check sum runs a
  // byte at a time, SkinAdler32 sixteen (a fifth of a skin's whole load).
  if (size < 2 || (data[0] & 0x0F) != Z_DEFLATED || (data[0] >> 4) > 7 ||
      ((data[0] << 8) | data[1]) % 31 != 0) {
    throw EZDecompressionError("Compressed skin data is damaged: incorrect header check");
  }
  if ((data[1] & 0x20) != 0) {
    throw EZDecompressionError("Compressed skin data is damaged: need dictionary");
  }
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
    throw EZDecompressionError("Cannot start inflating skin data");
  }
  z.next_in = const_cast<Bytef*>(data + 2);
  z.avail_in = static_cast<uInt>(size - 2);
  // Packages of pictures inflate to about twenty times their size: room for that is reserved
  // at once (pages never written cost nothing) and doubled when it runs out.
  const size_t most = limit < std::numeric_limits<size_t>::max() ? limit + 1 : limit;
  size_t capacity = std::min(most, std::max<size_t>(size_t{64} << 10, size * 24));
  TksByteBuffer out;
  size_t total = 0;
  try {
    out.FData.reset(static_cast<uint8_t*>(std::malloc(capacity)));
    if (!out.FData) throw EOutOfResources("Out of memory while inflating skin data");
    for (;;) {
      if (total == capacity) {
        if (capacity >= most) {
          throw EZDecompressionError("Skin data inflates past the limit of " +
                                     IntToStr(static_cast<int64_t>(limit)) + " bytes");
        }
        const size_t grown = capacity <= most / 2 ? capacity * 2 : most;
        // realloc moves a large block by remapping its pages, not by copying them.
        auto* p = static_cast<uint8_t*>(std::realloc(out.FData.get(), grown));
        if (p == nullptr) throw EOutOfResources("Out of memory while inflating skin data");
        out.FData.release();
        out.FData.reset(p);
        capacity = grown;
      }
      const size_t room = std::min<size_t>(capacity - total, std::numeric_limits<uInt>::max());
      z.next_out = out.FData.get() + total;
      z.avail_out = static_cast<uInt>(room);
      const int rc = inflate(&z, Z_NO_FLUSH);
      total += room - z.avail_out;
      if (total > limit) {
        throw EZDecompressionError("Skin data inflates past the limit of " +
                                   IntToStr(static_cast<int64_t>(limit)) + " bytes");
      }
      if (rc == Z_STREAM_END) break;
      if (rc == Z_BUF_ERROR && z.avail_in == 0) {
        throw EZDecompressionError("Compressed skin data ends before its stream does");
      }
      if (rc != Z_OK && rc != Z_BUF_ERROR) {
        throw EZDecompressionError(AnsiString("Compressed skin data is damaged: ") +
                                   (z.msg != nullptr ? z.msg : "zlib error " + IntToStr(rc)));
      }
    }
    if (z.avail_in < 4) {
      throw EZDecompressionError("Compressed skin data ends before its stream does");
    }
    const uint8_t* trailer = z.next_in;
    const uint32_t expected = uint32_t{trailer[0]} << 24 | uint32_t{trailer[1]} << 16 |
                              uint32_t{trailer[2]} << 8 | trailer[3];
    if (SkinAdler32(1, out.FData.get(), total) != expected) {
      throw EZDecompressionError("Compressed skin data is damaged: incorrect data check");
    }
  } catch (...) {
    inflateEnd(&z);
    throw;
  }
  inflateEnd(&z);
  out.FSize = total;
  return out;
}

void InflateSkinData(const uint8_t* data, size_t size, TStream& target, size_t limit) {
  const TksByteBuffer raw = InflateSkinData(data, size, limit);
  target.WriteBuffer(raw.Data(), static_cast<int64_t>(raw.Size()));
}

std::vector<uint8_t> DeflateSkinData(const uint8_t* data, size_t size) {
  uLongf length = compressBound(static_cast<uLong>(size));
  std::vector<uint8_t> out(length);
  if (compress2(out.data(), &length, data, static_cast<uLong>(size), Z_BEST_COMPRESSION) != Z_OK) {
    throw EZDecompressionError("Cannot deflate skin data");
  }
  out.resize(length);
  return out;
}
