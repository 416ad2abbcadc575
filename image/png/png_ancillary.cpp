#include "image/png/png_ancillary.h"

#include <zlib.h>

#include <cmath>
#include <cstring>

#include "image/png/png_header.h"
#include "image/png/png_image.h"

using namespace lumoa::png;

TksPngLayerIEND::TksPngLayerIEND(TksPngImage* Owner) : TksPngLayer(Owner) { SetChunkType("IEND"); }

// ---- PLTE ----

TksPngLayerPLTE::TksPngLayerPLTE(TksPngImage* Owner) : TksPngLayer(Owner) { SetChunkType("PLTE"); }

void TksPngLayerPLTE::Assign(const TksPngLayer& Source) {
  TksPngLayer::Assign(Source);
  Count = static_cast<const TksPngLayerPLTE&>(Source).Count;
}

bool TksPngLayerPLTE::LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) {
  if (!LoadRaw(Stream, ChunkType, Length)) return false;
  if (FDataSize % 3 != 0 || FDataSize > 768) return false;
  TksPngLayerIHDR* header = FOwner ? FOwner->Header() : nullptr;
  if (!header || !header->HasImage()) return false;
  const uint8_t* gamma = FOwner->GammaTable();
  Count = static_cast<int>(FDataSize / 3);
  RGBQUAD entries[256];
  for (int i = 0; i < Count; ++i) {
    const uint8_t* e = FData.data() + i * 3;
    entries[i] = RGBQUAD{gamma[e[2]], gamma[e[1]], gamma[e[0]], 0};
  }
  header->SetPalette(entries, Count);
  return true;
}

bool TksPngLayerPLTE::SaveToStream(TStream& Stream) {
  TksPngLayerIHDR* header = FOwner ? FOwner->Header() : nullptr;
  if (!header) return TksPngLayer::SaveToStream(Stream);
  int count = Count > 0 ? Count : header->PaletteCount();
  if (count > 256) count = 256;
  const uint8_t* inverse = FOwner->InverseGammaTable();
  uint8_t d[768];
  for (int i = 0; i < count; ++i) {
    const RGBQUAD& q = header->Palette()[i];
    d[i * 3] = inverse[q.rgbRed];
    d[i * 3 + 1] = inverse[q.rgbGreen];
    d[i * 3 + 2] = inverse[q.rgbBlue];
  }
  return WriteChunk(Stream, d, static_cast<uint32_t>(count * 3));
}

// ---- tRNS ----

TksPngLayertRNS::TksPngLayertRNS(TksPngImage* Owner) : TksPngLayer(Owner) {
  SetChunkType("tRNS");
  std::memset(PaletteValues, 255, sizeof PaletteValues);
}

void TksPngLayertRNS::Assign(const TksPngLayer& Source) {
  TksPngLayer::Assign(Source);
  const auto& s = static_cast<const TksPngLayertRNS&>(Source);
  std::memcpy(PaletteValues, s.PaletteValues, sizeof PaletteValues);
  Length = s.Length;
  BitTransparency = s.BitTransparency;
}

void TksPngLayertRNS::SetTable(const uint8_t* Table, uint32_t TableLength) {
  std::memset(PaletteValues, 255, sizeof PaletteValues);
  Length = TableLength > 256 ? 256 : TableLength;
  if (Length) std::memcpy(PaletteValues, Table, Length);
  const TksPngLayerIHDR* header = FOwner ? FOwner->Header() : nullptr;
  if (!header || header->ColorType != kPalette) {
    BitTransparency = true;
    return;
  }
  // A palette with one entry of alpha 0 and all others opaque draws as a transparent colour;
  // any other alpha needs blending.
  int partial = 0;
  int zero = 0;
  for (int i = 0; i < 256; ++i) {
    if (PaletteValues[i] != 255) ++partial;
    if (PaletteValues[i] == 0) ++zero;
  }
  BitTransparency = partial == 1 && zero == 1;
}

bool TksPngLayertRNS::LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Len) {
  if (!LoadRaw(Stream, ChunkType, Len)) return false;
  SetTable(FData.data(), FDataSize);
  return true;
}

bool TksPngLayertRNS::SaveToStream(TStream& Stream) {
  uint8_t d[256];
  std::memcpy(d, PaletteValues, Length);
  const TksPngLayerIHDR* header = FOwner ? FOwner->Header() : nullptr;
  // Two-bit grey is written as four-bit grey: the key value scales with it.
  if (header && header->ColorType == kGrey && header->BitDepth == 2 && Length >= 2)
    WriteBE16(d, static_cast<uint16_t>((ReadBE16(d) & 3) * 5));
  return WriteChunk(Stream, d, Length);
}

// ---- gAMA ----

TksPngLayergAMA::TksPngLayergAMA(TksPngImage* Owner) : TksPngLayer(Owner) { SetChunkType("gAMA"); }

void TksPngLayergAMA::Assign(const TksPngLayer& Source) {
  TksPngLayer::Assign(Source);
  Gamma = static_cast<const TksPngLayergAMA&>(Source).Gamma;
}

bool TksPngLayergAMA::ApplyGamma() {
  if (Gamma == 0 || !FOwner) return false;
  uint8_t* table = FOwner->GammaTable();
  uint8_t* inverse = FOwner->InverseGammaTable();
  const double exponent = 1.0 / (Gamma / 100000.0 * 2.2);
  for (int i = 0; i < 256; ++i) {
    double v = std::nearbyint(255.0 * std::pow(i / 255.0, exponent));
    if (!(v >= 0)) v = 0;
    if (v > 255) v = 255;
    table[i] = static_cast<uint8_t>(v);
    inverse[table[i]] = static_cast<uint8_t>(i);
  }
  return true;
}

bool TksPngLayergAMA::LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) {
  if (!LoadRaw(Stream, ChunkType, Length) || FDataSize < 4) return false;
  Gamma = ReadBE32(FData.data());
  return ApplyGamma();
}

bool TksPngLayergAMA::SaveToStream(TStream& Stream) {
  uint8_t d[4];
  WriteBE32(d, Gamma);
  return WriteChunk(Stream, d, 4);
}

// ---- pHYs ----

TksPngLayerpHYs::TksPngLayerpHYs(TksPngImage* Owner) : TksPngLayer(Owner) { SetChunkType("pHYs"); }

void TksPngLayerpHYs::Assign(const TksPngLayer& Source) {
  TksPngLayer::Assign(Source);
  const auto& s = static_cast<const TksPngLayerpHYs&>(Source);
  PPUnitX = s.PPUnitX;
  PPUnitY = s.PPUnitY;
  UnitType = s.UnitType;
  Decoded = s.Decoded;
}

bool TksPngLayerpHYs::LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) {
  if (!LoadRaw(Stream, ChunkType, Length)) return false;
  Decoded = FDataSize == 9;
  if (Decoded) {
    PPUnitX = ReadBE32(FData.data());
    PPUnitY = ReadBE32(FData.data() + 4);
    UnitType = FData[8];
  }
  return true;
}

bool TksPngLayerpHYs::SaveToStream(TStream& Stream) {
  if (!Decoded) return TksPngLayer::SaveToStream(Stream);
  uint8_t d[9];
  WriteBE32(d, PPUnitX);
  WriteBE32(d + 4, PPUnitY);
  d[8] = UnitType;
  return WriteChunk(Stream, d, 9);
}

// ---- tIME ----

TksPngLayertIME::TksPngLayertIME(TksPngImage* Owner) : TksPngLayer(Owner) { SetChunkType("tIME"); }

void TksPngLayertIME::Assign(const TksPngLayer& Source) {
  TksPngLayer::Assign(Source);
  const auto& s = static_cast<const TksPngLayertIME&>(Source);
  Year = s.Year;
  Month = s.Month;
  Day = s.Day;
  Hour = s.Hour;
  Min = s.Min;
  Sec = s.Sec;
  Decoded = s.Decoded;
}

bool TksPngLayertIME::LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) {
  if (!LoadRaw(Stream, ChunkType, Length)) return false;
  Decoded = FDataSize == 7;
  if (Decoded) {
    const uint8_t* d = FData.data();
    Year = ReadBE16(d);
    Month = d[2];
    Day = d[3];
    Hour = d[4];
    Min = d[5];
    Sec = d[6];
  }
  return true;
}

bool TksPngLayertIME::SaveToStream(TStream& Stream) {
  if (!Decoded) return TksPngLayer::SaveToStream(Stream);
  uint8_t d[7];
  WriteBE16(d, Year);
  d[2] = Month;
  d[3] = Day;
  d[4] = Hour;
  d[5] = Min;
  d[6] = Sec;
  return WriteChunk(Stream, d, 7);
}

// ---- tEXt ----

TksPngLayertEXt::TksPngLayertEXt(TksPngImage* Owner) : TksPngLayer(Owner) { SetChunkType("tEXt"); }

void TksPngLayertEXt::Assign(const TksPngLayer& Source) {
  TksPngLayer::Assign(Source);
  const auto& s = static_cast<const TksPngLayertEXt&>(Source);
  Keyword = s.Keyword;
  Text = s.Text;
}

bool TksPngLayertEXt::LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) {
  if (!LoadRaw(Stream, ChunkType, Length)) return false;
  Keyword.clear();
  Text.clear();
  if (FDataSize <= 2) return true;
  const char* d = reinterpret_cast<const char*>(FData.data());
  const size_t key_len = strnlen(d, FDataSize);
  Keyword.assign(d, key_len);
  if (key_len < FDataSize) Text.assign(d + key_len + 1, FDataSize - key_len - 1);
  return true;
}

bool TksPngLayertEXt::SaveToStream(TStream& Stream) {
  std::vector<uint8_t> d(Keyword.begin(), Keyword.end());
  d.push_back(0);
  d.insert(d.end(), Text.begin(), Text.end());
  return WriteChunk(Stream, d.data(), static_cast<uint32_t>(d.size()));
}

// ---- zTXt ----

TksPngLayerzTXt::TksPngLayerzTXt(TksPngImage* Owner) : TksPngLayertEXt(Owner) { SetChunkType("zTXt"); }

namespace {

// Inflates in small output steps; false on a zlib error, a truncated stream or a text above
// the limit.
bool InflateText(const uint8_t* in, size_t size, AnsiString& out, size_t limit) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<Bytef*>(in);
  z.avail_in = static_cast<uInt>(size);
  char step[256];
  int rc = Z_OK;
  while (rc == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(step);
    z.avail_out = sizeof step;
    rc = inflate(&z, Z_NO_FLUSH);
    const size_t produced = sizeof step - z.avail_out;
    if (out.size() + produced > limit) rc = Z_MEM_ERROR;
    if (rc == Z_OK || rc == Z_STREAM_END) out.append(step, produced);
    if (rc == Z_OK && produced == 0 && z.avail_in == 0) rc = Z_BUF_ERROR;
  }
  inflateEnd(&z);
  return rc == Z_STREAM_END;
}

}  // namespace

bool TksPngLayerzTXt::LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) {
  if (!LoadRaw(Stream, ChunkType, Length)) return false;
  Keyword.clear();
  Text.clear();
  if (FDataSize <= 3) return true;
  const char* d = reinterpret_cast<const char*>(FData.data());
  const size_t key_len = strnlen(d, FDataSize);
  Keyword.assign(d, key_len);
  // Keyword, its zero, the method byte, then the compressed text.
  if (key_len + 2 > FDataSize) return true;
  const size_t start = key_len + 2;
  if (!InflateText(FData.data() + start, FDataSize - start, Text, kMaxText)) Text.clear();
  return true;
}

bool TksPngLayerzTXt::SaveToStream(TStream& Stream) {
  const AnsiString& text = Text.empty() ? AnsiString(" ") : Text;
  uLongf packed_size = compressBound(static_cast<uLong>(text.size()));
  std::vector<uint8_t> d(Keyword.begin(), Keyword.end());
  d.push_back(0);
  d.push_back(0);
  const size_t head = d.size();
  d.resize(head + packed_size);
  const int level = FOwner ? FOwner->CompressionLevel : Z_DEFAULT_COMPRESSION;
  if (compress2(d.data() + head, &packed_size, reinterpret_cast<const Bytef*>(text.data()),
                static_cast<uLong>(text.size()), level > 9 ? 9 : level) != Z_OK)
    return false;
  d.resize(head + packed_size);
  return WriteChunk(Stream, d.data(), static_cast<uint32_t>(d.size()));
}
