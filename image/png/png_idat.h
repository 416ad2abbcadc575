// The image data chunk: streams the compressed rows of one or more consecutive IDAT chunks
// into the header's bitmap, and encodes the bitmap back when saving.
#pragma once

#include "image/png/png_chunk.h"

class TksPngLayerIDAT : public TksPngLayer {
 public:
  KS_PNG_LAYER_CLASS(TksPngLayerIDAT, "IDAT")
  explicit TksPngLayerIDAT(TksPngImage* Owner);

  // Reads this chunk and every IDAT chunk that follows it while rows remain; succeeds when
  // all rows decode and the last chunk's CRC matches.
  bool LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) override;
  // Writes the bitmap as one or more IDAT chunks of at most the image's maximum IDAT size.
  bool SaveToStream(TStream& Stream) override;

  // Size of the zlib input buffer used while decoding.
  static constexpr uint32_t kInputBufferSize = 65535;
};
