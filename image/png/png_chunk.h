// Chunk objects of a PNG image: the base class that keeps any chunk as raw data, and the
// registry that maps a four-character chunk type to the class that understands it.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "ui/streams.h"

class TksPngImage;

namespace lumoa::png {

inline uint32_t ReadBE32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
inline uint16_t ReadBE16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline void WriteBE32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}
inline void WriteBE16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}

// Reads exactly count bytes; false when the stream ends first.
bool ReadExact(TStream& stream, void* buffer, int64_t count);
// Bytes left between the stream's position and its end (0 when unknown or past it).
int64_t BytesLeft(TStream& stream);

// The largest chunk data length the format allows.
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;

}  // namespace lumoa::png

// A chunk as read from a file. Types without a class of their own are kept by this one: the raw
// data is written back unchanged.
class TksPngLayer {
 public:
  explicit TksPngLayer(TksPngImage* Owner);
  virtual ~TksPngLayer() = default;
  TksPngLayer(const TksPngLayer&) = delete;
  TksPngLayer& operator=(const TksPngLayer&) = delete;

  // The chunk type a class stands for (the base class stands for none).
  static constexpr std::string_view ClassChunkType() { return ""; }
  // The virtual constructor: a new chunk of the same class for another image.
  virtual std::unique_ptr<TksPngLayer> NewInstance(TksPngImage* Owner) const;
  // Copies type, data and the class's own fields; Source has the same class.
  virtual void Assign(const TksPngLayer& Source);
  // Reads the data (Length bytes) and the CRC that follow the chunk header; false when the
  // stream ends early, the CRC does not match or the data fails the class's checks.
  virtual bool LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length);
  // Writes length, type, data and CRC.
  virtual bool SaveToStream(TStream& Stream);

  TksPngImage* Owner() const { return FOwner; }
  std::string_view ChunkType() const { return std::string_view(FChunkType, 4); }
  void SetChunkType(std::string_view type);
  uint32_t DataSize() const { return FDataSize; }
  // Always one byte longer than DataSize, so text chunks can be read as terminated strings.
  const uint8_t* Data() const { return FData.data(); }
  // Replaces the raw data.
  void SetData(const uint8_t* data, uint32_t size);

 protected:
  // Reads Length bytes into the data block and checks the CRC over type and data.
  bool LoadRaw(TStream& Stream, std::string_view ChunkType, uint32_t Length);
  // Writes one complete chunk of this type with the given data.
  bool WriteChunk(TStream& Stream, const uint8_t* data, uint32_t size);

  TksPngImage* FOwner;
  char FChunkType[4] = {' ', ' ', ' ', ' '};
  uint32_t FDataSize = 0;
  std::vector<uint8_t> FData = std::vector<uint8_t>(1);
};

// The registered chunk classes, in registration order.
struct TksPngLayerClass {
  std::string_view ChunkType;
  std::unique_ptr<TksPngLayer> (*Create)(TksPngImage* Owner);
};
const std::vector<TksPngLayerClass>& RegisteredPngLayerClasses();
// A new chunk of the class registered for the type, or of the base class for unknown types.
std::unique_ptr<TksPngLayer> CreatePngLayer(std::string_view ChunkType, TksPngImage* Owner);

// Declares the class-level members every chunk class has.
#define KS_PNG_LAYER_CLASS(cls, type)                                                  \
  static constexpr std::string_view ClassChunkType() { return type; }                  \
  std::unique_ptr<TksPngLayer> NewInstance(TksPngImage* Owner) const override {        \
    return std::make_unique<cls>(Owner);                                               \
  }
