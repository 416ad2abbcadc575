#include "image/png/png_idat.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "image/png/png_ancillary.h"
#include "image/png/png_header.h"
#include "image/png/png_image.h"
#include "image/png/png_rows.h"

using namespace lumoa::png;

TksPngLayerIDAT::TksPngLayerIDAT(TksPngImage* Owner) : TksPngLayer(Owner) { SetChunkType("IDAT"); }

namespace {

// Feeds zlib from the data of consecutive IDAT chunks, checking each chunk's CRC.
class IdatReader {
 public:
  IdatReader(TStream& stream, uint32_t length, z_stream& z)
      : stream_(stream), remaining_(length), z_(z), buffer_(TksPngLayerIDAT::kInputBufferSize) {
    crc_ = crc32(0, reinterpret_cast<const Bytef*>("IDAT"), 4);
  }

  // Refills zlib's input; false when the data ends (no further IDAT) or a CRC fails.
  bool Refill() {
    while (remaining_ == 0) {
      if (!CheckCrc() || !NextChunk()) return false;
    }
    const uint32_t n = std::min<uint32_t>(remaining_, TksPngLayerIDAT::kInputBufferSize);
    const int64_t got = stream_.Read(buffer_.data(), n);
    if (got <= 0) return false;
    crc_ = crc32(crc_, buffer_.data(), static_cast<uInt>(got));
    remaining_ -= static_cast<uint32_t>(got);
    z_.next_in = buffer_.data();
    z_.avail_in = static_cast<uInt>(got);
    return true;
  }

  // Passes over what is left of the current chunk and checks its CRC.
  bool Finish() {
    while (remaining_ > 0) {
      const uint32_t n = std::min<uint32_t>(remaining_, TksPngLayerIDAT::kInputBufferSize);
      const int64_t got = stream_.Read(buffer_.data(), n);
      if (got <= 0) return false;
      crc_ = crc32(crc_, buffer_.data(), static_cast<uInt>(got));
      remaining_ -= static_cast<uint32_t>(got);
    }
    return CheckCrc();
  }

 private:
  bool CheckCrc() {
    uint8_t b[4];
    return ReadExact(stream_, b, 4) && ReadBE32(b) == static_cast<uint32_t>(crc_);
  }
  bool NextChunk() {
    uint8_t head[8];
    if (!ReadExact(stream_, head, 8)) return false;
    if (std::memcmp(head + 4, "IDAT", 4) != 0) {
      // Leave the foreign chunk header where it was.
      stream_.Seek(-8, soCurrent);
      return false;
    }
    remaining_ = ReadBE32(head);
    if (remaining_ > kMaxChunkLength) return false;
    crc_ = crc32(0, head + 4, 4);
    return true;
  }

  TStream& stream_;
  uint32_t remaining_;
  z_stream& z_;
  std::vector<uint8_t> buffer_;
  uLong crc_ = 0;
};

struct ZInflate {
  z_stream z{};
  bool ok = inflateInit(&z) == Z_OK;
  ~ZInflate() {
    if (ok) inflateEnd(&z);
  }
};

// Inflates exactly size bytes into out; false on a zlib error or when input runs out.
bool InflateRow(z_stream& z, IdatReader& reader, uint8_t* out, size_t size) {
  z.next_out = out;
  z.avail_out = static_cast<uInt>(size);
  while (z.avail_out > 0) {
    if (z.avail_in == 0 && !reader.Refill()) return false;
    const int rc = inflate(&z, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) return z.avail_out == 0;
    if (rc != Z_OK && rc != Z_BUF_ERROR) return false;
    if (rc == Z_BUF_ERROR && z.avail_in > 0) return false;
  }
  return true;
}

}  // namespace

bool TksPngLayerIDAT::LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) {
  SetChunkType(ChunkType);
  FDataSize = 0;
  TksPngLayerIHDR* header = FOwner ? FOwner->Header() : nullptr;
  if (!header || !header->HasImage() || Length > kMaxChunkLength) return false;
  if (header->ColorType == kGrey || header->ColorType == kGreyAlpha)
    header->BuildGreyPalette(header->BitsPerPixel());
  const uint8_t* gamma = FOwner->GammaIsIdentity() ? nullptr : FOwner->GammaTable();
  // The colour key is compared on the raw samples, before the gamma table maps them.
  ColourKey key;
  const auto* trns = FOwner->Chunks().Find<TksPngLayertRNS>();
  if (trns && (header->ColorType == kGrey || header->ColorType == kRGB)) {
    key = ReadColourKey(*header, trns->PaletteValues, trns->Length);
    if (!header->CreateKeyPlane()) return false;
  }

  ZInflate zi;
  if (!zi.ok) return false;
  IdatReader reader(Stream, Length, zi.z);
  const int width = static_cast<int>(header->Width);
  const int height = static_cast<int>(header->Height);
  const int file_bpp = FileBitsPerPixel(header->ColorType, header->BitDepth);
  const int offset = FilterOffset(file_bpp);
  const size_t max_row = FileRowBytes(width, file_bpp);
  // Two alternating rows, each with its filter byte in front.
  std::vector<uint8_t> rows(2 * (max_row + 1));
  uint8_t* cur = rows.data();
  uint8_t* prev = rows.data() + max_row + 1;

  const bool interlaced = header->InterlaceMethod == 1;
  const int passes = interlaced ? 7 : 1;
  for (int p = 0; p < passes; ++p) {
    const Pass pass = interlaced ? kAdam7[p] : kNoInterlace;
    const int pw = PassCount(width, pass.x0, pass.dx);
    const int ph = PassCount(height, pass.y0, pass.dy);
    if (pw == 0 || ph == 0) continue;
    const size_t row_bytes = FileRowBytes(pw, file_bpp);
    std::memset(prev, 0, row_bytes + 1);
    for (int r = 0; r < ph; ++r) {
      if (!InflateRow(zi.z, reader, cur, row_bytes + 1)) return false;
      if (!Unfilter(cur[0], cur + 1, prev + 1, row_bytes, offset)) return false;
      StoreRow(*header, gamma, cur + 1, pw, pass.y0 + r * pass.dy, pass.x0, pass.dx);
      if (key.Valid) MarkKeyRow(*header, key, cur + 1, pw, pass.y0 + r * pass.dy, pass.x0, pass.dx);
      std::swap(cur, prev);
    }
  }
  return reader.Finish();
}

namespace {

struct ZDeflate {
  z_stream z{};
  bool ok;
  explicit ZDeflate(int level) { ok = deflateInit(&z, level) == Z_OK; }
  ~ZDeflate() {
    if (ok) deflateEnd(&z);
  }
};

// Bytes equal to one of the two before them, from the third byte on.
int Repeats(const uint8_t* p, size_t len) {
  int count = 0;
  for (size_t i = 2; i < len; ++i) count += p[i] == p[i - 1] || p[i] == p[i - 2];
  return count;
}

}  // namespace

bool TksPngLayerIDAT::SaveToStream(TStream& Stream) {
  TksPngLayerIHDR* header = FOwner ? FOwner->Header() : nullptr;
  if (!header || !header->HasImage()) return TksPngLayer::SaveToStream(Stream);
  const int level = std::min<int>(FOwner->CompressionLevel, 9);
  ZDeflate zd(level);
  if (!zd.ok) return false;
  z_stream& z = zd.z;

  const uint32_t out_size = FOwner->MaxIdatSize();
  std::vector<uint8_t> out(out_size);
  z.next_out = out.data();
  z.avail_out = out_size;
  auto flush_full = [&]() {
    WriteChunk(Stream, out.data(), out_size);
    z.next_out = out.data();
    z.avail_out = out_size;
  };

  const int width = static_cast<int>(header->Width);
  const int height = static_cast<int>(header->Height);
  const uint8_t depth = WrittenDepth(header->BitDepth);
  const int file_bpp = FileBitsPerPixel(header->ColorType, depth);
  const int offset = FilterOffset(file_bpp);
  const size_t max_row = FileRowBytes(width, file_bpp);
  std::vector<uint8_t> cur(max_row), prev(max_row), best(max_row + 1), trial(max_row);

  std::vector<uint8_t> filters;
  for (int f = pfNone; f <= pfPaeth; ++f)
    if (FOwner->Filters.Contains(static_cast<TksPngFilter>(f))) filters.push_back(static_cast<uint8_t>(f));
  if (filters.empty()) filters.push_back(kFilterNone);

  const bool interlaced = FOwner->InterlaceMethod == 1;
  const int passes = interlaced ? 7 : 1;
  for (int p = 0; p < passes; ++p) {
    const Pass pass = interlaced ? kAdam7[p] : kNoInterlace;
    const int pw = PassCount(width, pass.x0, pass.dx);
    const int ph = PassCount(height, pass.y0, pass.dy);
    if (pw == 0 || ph == 0) continue;
    const size_t row_bytes = FileRowBytes(pw, file_bpp);
    std::fill(prev.begin(), prev.end(), 0);
    for (int r = 0; r < ph; ++r) {
      GatherRow(*header, FOwner->InverseGammaTable(), cur.data(), pw, pass.y0 + r * pass.dy,
                pass.x0, pass.dx);
      best[0] = filters[0];
      ApplyFilter(filters[0], cur.data(), prev.data(), row_bytes, offset, best.data() + 1);
      if (filters.size() > 1) {
        int best_count = Repeats(best.data() + 1, row_bytes);
        for (size_t f = 1; f < filters.size(); ++f) {
          ApplyFilter(filters[f], cur.data(), prev.data(), row_bytes, offset, trial.data());
          const int count = Repeats(trial.data(), row_bytes);
          if (count <= best_count) continue;
          best_count = count;
          best[0] = filters[f];
          std::memcpy(best.data() + 1, trial.data(), row_bytes);
        }
      }
      z.next_in = best.data();
      z.avail_in = static_cast<uInt>(row_bytes + 1);
      while (z.avail_in > 0) {
        if (deflate(&z, Z_NO_FLUSH) == Z_STREAM_ERROR) return false;
        if (z.avail_out == 0) flush_full();
      }
      std::swap(cur, prev);
    }
  }
  for (;;) {
    const int rc = deflate(&z, Z_FINISH);
    if (rc == Z_STREAM_ERROR) return false;
    if (rc == Z_STREAM_END) break;
    if (z.avail_out != 0) return false;
    flush_full();
  }
  return WriteChunk(Stream, out.data(), out_size - z.avail_out);
}
