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

// Bytes of a package already in memory, read as a stream that has ended.
class MemorySource {
 public:
  MemorySource(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
  size_t Fill(size_t) const { return FSize - FPos; }
  size_t FillAll() const { return FSize - FPos; }
  void Drain() {}
  const uint8_t* Data() const { return FData + FPos; }
  size_t Available() const { return FSize - FPos; }
  void Consume(size_t n) { FPos += n; }
  bool Ended() const { return true; }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The length a picture's headers announce, so that a stream inflates it at once; only a
// guess (the reader judges the headers), at least the file and info headers.
size_t AnnouncedLength(const uint8_t* p, size_t available) {
  constexpr size_t kHeaders = 14 + 40;
  if (available < kHeaders) return kHeaders;
  const auto width = static_cast<int64_t>(static_cast<int32_t>(Le32(p + 18)));
  const auto height = static_cast<int64_t>(static_cast<int32_t>(Le32(p + 22)));
  const uint64_t bits = p[28] | (p[29] << 8);
  const uint64_t stride = (static_cast<uint64_t>(width < 0 ? -width : width) * bits + 31) / 32 * 4;
  const uint64_t rows = stride * static_cast<uint64_t>(height < 0 ? -height : height);
  const uint64_t sizeImage = Le32(p + 34);
  const uint64_t end = Le32(p + 10) + std::max(rows, sizeImage);
  const uint64_t most = std::max<uint64_t>({kHeaders, Le32(p + 2), end});
  return static_cast<size_t>(std::min<uint64_t>(most, kMaxInflatedSkinSize));
}

template <class Source>
int32_t ReadInt(Source& in, const char* what) {
  if (in.Fill(4) < 4) throw EReadError(AnsiString("Skin package is truncated at its ") + what);
  int32_t v;
  std::memcpy(&v, in.Data(), 4);
  in.Consume(4);
  return v;
}

// One picture checked against the skin's limits and handed to take, then consumed.
template <class Source, class Take>
void TakePicture(Source& in, const AnsiString& what, TksSkinPictureBudget& budget, Take&& take) {
  size_t available = in.Fill(AnnouncedLength(in.Data(), in.Fill(14 + 40)));
  const TksSkinPictureBudget before = budget;
  size_t length;
  try {
    length = CheckSkinPackagePicture(in.Data(), available, what, budget);
  } catch (const EReadError&) {
    if (in.Ended()) throw;
    // Cut short by what has been inflated so far, not by the package: judged on all of it.
    budget = before;
    available = in.FillAll();
    length = CheckSkinPackagePicture(in.Data(), available, what, budget);
  }
  take(std::span<const uint8_t>(in.Data(), length));
  in.Consume(length);
}

// The package's framing walked once: every picture is checked against the limits (errors
// naming it) before it is taken, framing that ends early raises naming the field, and what
// remains is the description.
template <class Source, class Take>
bool WalkPackage(Source& in, int32_t& version, Take&& take) {
  version = ReadInt(in, "version");
  if (version > kSkinPackageVersion) {
    in.Drain();
    return false;
  }
  TksSkinPictureBudget budget;
  const auto flagged = [&](const char* what, TksPackagePicture kind, bool keep) {
    if (in.Fill(1) < 1) throw EReadError(AnsiString("Skin package is truncated at its ") + what);
    const uint8_t flag = *in.Data();
    in.Consume(1);
    if (flag != 0) return;
    TakePicture(in, what, budget, [&](std::span<const uint8_t> image) {
      if (keep) take(kind, 0, image);
    });
  };
  flagged("main picture", TksPackagePicture::Main, true);
  flagged("inactive picture", TksPackagePicture::Inactive, true);
  flagged("mask picture", TksPackagePicture::Mask, true);
  if (version == 2) {
    flagged("first extra picture", TksPackagePicture::Main, false);
    flagged("second extra picture", TksPackagePicture::Main, false);
  }
  const int32_t count = ReadInt(in, "active picture count");
  if (count < 0) throw EReadError("Skin package has a negative picture count " + IntToStr(count));
  CheckSkinPictureCount(count);
  for (int32_t i = 0; i < count; ++i) {
    TakePicture(in, "active picture " + IntToStr(i), budget, [&](std::span<const uint8_t> image) {
      take(TksPackagePicture::Active, static_cast<int>(i), image);
    });
  }
  CheckSkinDescriptionSize(in.FillAll());
  return true;
}

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
  MemorySource in(data, size);
  TksSkinPackageView result;
  const bool current = WalkPackage(in, result.Version, [&](TksPackagePicture kind, int,
                                                           std::span<const uint8_t> image) {
    switch (kind) {
      case TksPackagePicture::Main: result.Picture = image; break;
      case TksPackagePicture::Inactive: result.InactivePicture = image; break;
      case TksPackagePicture::Mask: result.MaskPicture = image; break;
      case TksPackagePicture::Active: result.ActivePictures.push_back(image); break;
    }
  });
  if (!current) {
    package = TksSkinPackageView();
    package.Version = result.Version;
    return false;
  }
  result.Description =
      std::string_view(reinterpret_cast<const char*>(in.Data()), in.Available());
  package = std::move(result);
  return true;
}

bool ReadSkinPackage(TksSkinInflater& in, int32_t& version, const TksPackagePictureSink& picture) {
  try {
    return WalkPackage(in, version, picture);
  } catch (...) {
    in.Drain();  // a damaged stream is what to report, not what it made of the package
    throw;
  }
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

namespace {

[[noreturn]] void PastLimit(size_t limit) {
  throw EZDecompressionError("Skin data inflates past the limit of " +
                             IntToStr(static_cast<int64_t>(limit)) + " bytes");
}

// Past this many bytes a piece is inflated in steps of it, so that what a reader did not ask
// for stays small whenever the buffer is compacted.
constexpr size_t kInflateStep = size_t{32} << 10;

}  // namespace

TksSkinInflater::TksSkinInflater(const uint8_t* data, size_t size, size_t limit, size_t capacity)
    : FLimit(limit) {
  // The zlib framing is read here and the stream inflated raw: zlib's own check sum runs a
  // byte at a time, SkinAdler32 sixteen (a fifth of a skin's whole load).
  if (size < 2 || (data[0] & 0x0F) != Z_DEFLATED || (data[0] >> 4) > 7 ||
      ((data[0] << 8) | data[1]) % 31 != 0) {
    throw EZDecompressionError("Compressed skin data is damaged: incorrect header check");
  }
  if ((data[1] & 0x20) != 0) {
    throw EZDecompressionError("Compressed skin data is damaged: need dictionary");
  }
  auto z = std::make_unique<z_stream_s>();
  if (inflateInit2(z.get(), -MAX_WBITS) != Z_OK) {
    throw EZDecompressionError("Cannot start inflating skin data");
  }
  z->next_in = const_cast<Bytef*>(data + 2);
  z->avail_in = static_cast<uInt>(size - 2);
  FStream = std::move(z);
  FBuffer.reset(static_cast<uint8_t*>(std::malloc(capacity)));
  if (!FBuffer) {
    inflateEnd(FStream.get());
    throw EOutOfResources("Out of memory while inflating skin data");
  }
  FCapacity = capacity;
}

TksSkinInflater::~TksSkinInflater() { inflateEnd(FStream.get()); }

// Room for n unconsumed bytes from the buffer's start: what was consumed is dropped and the
// buffer grown (a large block is moved by remapping its pages, not by copying them).
void TksSkinInflater::Reserve(size_t n) {
  if (FPos > 0) {
    std::memmove(FBuffer.get(), FBuffer.get() + FPos, FEnd - FPos);
    FEnd -= FPos;
    FPos = 0;
  }
  if (n <= FCapacity) return;
  const size_t most = FLimit < std::numeric_limits<size_t>::max() ? FLimit + 1 : FLimit;
  if (FCapacity >= most) PastLimit(FLimit);
  const size_t grown = std::min(most, std::max(n, FCapacity <= most / 2 ? FCapacity * 2 : most));
  auto* p = static_cast<uint8_t*>(std::realloc(FBuffer.get(), grown));
  if (p == nullptr) throw EOutOfResources("Out of memory while inflating skin data");
  FBuffer.release();
  FBuffer.reset(p);
  FCapacity = grown;
}

// Inflates at most `room` bytes at the buffer's end.
void TksSkinInflater::Step(size_t room) {
  z_stream_s& z = *FStream;
  room = std::min<size_t>(room, std::numeric_limits<uInt>::max());
  uint8_t* out = FBuffer.get() + FEnd;
  z.next_out = out;
  z.avail_out = static_cast<uInt>(room);
  const int rc = inflate(&z, Z_NO_FLUSH);
  const size_t produced = room - z.avail_out;
  FAdler = SkinAdler32(FAdler, out, produced);
  FEnd += produced;
  FTotal += produced;
  if (FTotal > FLimit) PastLimit(FLimit);
  if (rc == Z_STREAM_END) {
    if (z.avail_in < 4) {
      throw EZDecompressionError("Compressed skin data ends before its stream does");
    }
    const uint8_t* trailer = z.next_in;
    const uint32_t expected = uint32_t{trailer[0]} << 24 | uint32_t{trailer[1]} << 16 |
                              uint32_t{trailer[2]} << 8 | trailer[3];
    if (FAdler != expected) {
      throw EZDecompressionError("Compressed skin data is damaged: incorrect data check");
    }
    FEnded = true;
    return;
  }
  if (rc == Z_BUF_ERROR && z.avail_in == 0) {
    throw EZDecompressionError("Compressed skin data ends before its stream does");
  }
  if (rc != Z_OK && rc != Z_BUF_ERROR) {
    throw EZDecompressionError(AnsiString("Compressed skin data is damaged: ") +
                               (z.msg != nullptr ? z.msg : "zlib error " + IntToStr(rc)));
  }
}

size_t TksSkinInflater::Fill(size_t n) {
  try {
    while (FEnd - FPos < n && !FEnded) {
      const size_t have = FEnd - FPos;
      const size_t missing = n - have;
      // A full buffer drops what was consumed, and grows when that frees too little.
      if (FEnd == FCapacity) Reserve(have + std::min(missing, kInflateStep));
      Step(std::min(FCapacity - FEnd, std::max(missing, kInflateStep)));
    }
  } catch (...) {
    FFailed = true;
    throw;
  }
  return FEnd - FPos;
}

void TksSkinInflater::Drain() {
  if (FFailed) return;  // its error is already on its way
  while (!FEnded) {
    FPos = FEnd;
    Fill(kInflateStep);
  }
  FPos = FEnd;
}

TksByteBuffer InflateSkinData(const uint8_t* data, size_t size, size_t limit) {
  // Packages of pictures inflate to about twenty times their size: room for that is reserved
  // at once (pages never written cost nothing) and doubled when it runs out.
  const size_t most = limit < std::numeric_limits<size_t>::max() ? limit + 1 : limit;
  TksSkinInflater in(data, size, limit,
                     std::min(most, std::max<size_t>(size_t{64} << 10, size * 24)));
  in.FillAll();
  TksByteBuffer out;
  out.FSize = in.Available();
  out.FData = std::move(in.FBuffer);
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
