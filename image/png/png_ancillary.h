// The chunk classes besides header and image data: palette, transparency, gamma, physical
// size, time, text and the end marker.
#pragma once

#include "image/png/png_chunk.h"
#include "ui/sysutils.h"

class TksPngLayerIEND : public TksPngLayer {
 public:
  KS_PNG_LAYER_CLASS(TksPngLayerIEND, "IEND")
  explicit TksPngLayerIEND(TksPngImage* Owner);
};

// The entries live in the image's palette; PLTE keeps their count.
class TksPngLayerPLTE : public TksPngLayer {
 public:
  KS_PNG_LAYER_CLASS(TksPngLayerPLTE, "PLTE")
  explicit TksPngLayerPLTE(TksPngImage* Owner);
  void Assign(const TksPngLayer& Source) override;
  bool LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) override;
  bool SaveToStream(TStream& Stream) override;
  int Count = 0;
};

class TksPngLayertRNS : public TksPngLayer {
 public:
  KS_PNG_LAYER_CLASS(TksPngLayertRNS, "tRNS")
  explicit TksPngLayertRNS(TksPngImage* Owner);
  void Assign(const TksPngLayer& Source) override;
  bool LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) override;
  bool SaveToStream(TStream& Stream) override;
  // Sets the table from Length bytes (the rest 255) and recomputes the single-colour flag.
  void SetTable(const uint8_t* Table, uint32_t Length);
  // Alpha per palette index; for grey and RGB images the stored 16-bit sample values.
  uint8_t PaletteValues[256];
  uint32_t Length = 0;
  // Set when the chunk names one transparent colour rather than alphas per entry.
  bool BitTransparency = false;
};

class TksPngLayergAMA : public TksPngLayer {
 public:
  KS_PNG_LAYER_CLASS(TksPngLayergAMA, "gAMA")
  explicit TksPngLayergAMA(TksPngImage* Owner);
  void Assign(const TksPngLayer& Source) override;
  bool LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) override;
  bool SaveToStream(TStream& Stream) override;
  // Fills the owner's gamma and inverse tables for Gamma; false for 0.
  bool ApplyGamma();
  uint32_t Gamma = 1;  // units of 1/100 000
};

class TksPngLayerpHYs : public TksPngLayer {
 public:
  KS_PNG_LAYER_CLASS(TksPngLayerpHYs, "pHYs")
  explicit TksPngLayerpHYs(TksPngImage* Owner);
  void Assign(const TksPngLayer& Source) override;
  bool LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) override;
  bool SaveToStream(TStream& Stream) override;
  uint32_t PPUnitX = 0;
  uint32_t PPUnitY = 0;
  uint8_t UnitType = 0;
  bool Decoded = false;
};

class TksPngLayertIME : public TksPngLayer {
 public:
  KS_PNG_LAYER_CLASS(TksPngLayertIME, "tIME")
  explicit TksPngLayertIME(TksPngImage* Owner);
  void Assign(const TksPngLayer& Source) override;
  bool LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) override;
  bool SaveToStream(TStream& Stream) override;
  uint16_t Year = 0;
  uint8_t Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0;
  bool Decoded = false;
};

class TksPngLayertEXt : public TksPngLayer {
 public:
  KS_PNG_LAYER_CLASS(TksPngLayertEXt, "tEXt")
  explicit TksPngLayertEXt(TksPngImage* Owner);
  void Assign(const TksPngLayer& Source) override;
  bool LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) override;
  bool SaveToStream(TStream& Stream) override;
  AnsiString Keyword;
  AnsiString Text;
};

class TksPngLayerzTXt : public TksPngLayertEXt {
 public:
  KS_PNG_LAYER_CLASS(TksPngLayerzTXt, "zTXt")
  explicit TksPngLayerzTXt(TksPngImage* Owner);
  bool LoadFromStream(TStream& Stream, std::string_view ChunkType, uint32_t Length) override;
  bool SaveToStream(TStream& Stream) override;
  // Inflated text beyond this size is treated as a failed inflate (the text stays empty).
  static constexpr size_t kMaxText = 8u << 20;
};
