#include "image/png/png_chunk.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace lumoa::png {

bool ReadExact(TStream& stream, void* buffer, int64_t count) {
  auto* p = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    const int64_t n = stream.Read(p, count);
    if (n <= 0) return false;
    p += n;
    count -= n;
  }
  return true;
}

int64_t BytesLeft(TStream& stream) {
  const int64_t pos = stream.Position();
  const int64_t size = stream.Size();
  return size > pos ? size - pos : 0;
}

}  // namespace lumoa::png

using namespace lumoa::png;

TksPngLayer::TksPngLayer(TksPngImage* Owner) : FOwner(Owner) {}

std::unique_ptr<TksPngLayer> TksPngLayer::NewInstance(TksPngImage* Owner) const {
  return std::make_unique<TksPngLayer>(Owner);
}

void TksPngLayer::SetChunkType(std::string_view type) {
  std::memset(FChunkType, ' ', 4);
  std::memcpy(FChunkType, type.data(), std::min<size_t>(type.size(), 4));
}

void TksPngLayer::SetData(const uint8_t* data, uint32_t size) {
  FData.assign(size + size_t{1}, 0);
  if (size) std::memcpy(FData.data(), data, size);
  FDataSize = size;
}

void TksPngLayer::Assign(const TksPngLayer& Source) {
  std::memcpy(FChunkType, Source.FChunkType, 4);
  FDataSize = Source.FDataSize;
  FData = Source.FData;
}

bool TksPngLayer::LoadRaw(TStream& Stream, std::string_view ChunkType, uint32_t Length) {
  SetChunkType(ChunkType);
  // A length beyond what the stream holds is a damaged file: refuse it before allocating.
  if (Length > kMaxChunkLength || int64_t{Length} + 4 > BytesLeft(Stream)) return false;
  FData.assign(Length + size_t{1}, 0);
  FDataSize = Length;
  uint8_t crc_bytes[4];
  if (!ReadExact(Stream, FData.data(), Length) || !ReadExact(Stream, crc_bytes, 4)) return false;
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(FChunkType), 4);
  crc = crc32(crc, FData.data(), Length);
  return static_cast<uint32_t>(crc) == ReadBE32(crc_bytes);
}

bool TksPngLayer::LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) {
  return LoadRaw(Stream, ChunkType, Length);
}

bool TksPngLayer::WriteChunk(TStream& Stream, const uint8_t* data, uint32_t size) {
  uint8_t head[8];
  WriteBE32(head, size);
  std::memcpy(head + 4, FChunkType, 4);
  uLong crc = crc32(0, head + 4, 4);
  if (size) crc = crc32(crc, data, size);
  uint8_t tail[4];
  WriteBE32(tail, static_cast<uint32_t>(crc));
  Stream.WriteBuffer(head, 8);
  if (size) Stream.WriteBuffer(data, size);
  Stream.WriteBuffer(tail, 4);
  return true;
}

bool TksPngLayer::SaveToStream(TStream& Stream) { return WriteChunk(Stream, FData.data(), FDataSize); }
