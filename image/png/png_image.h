// TksPngImage: a PNG image kept as its list of chunks, the header chunk owning the decoded
// pixels. A graphic of the framework: loads and saves the format, converts from and to
// framework bitmaps and draws onto canvases with per-pixel alpha.
#pragma once

#include <memory>
#include <vector>

#include "image/png/png_chunk.h"
#include "image/png/png_header.h"
#include "ui/graphic.h"
#include "ui/sets.h"

enum TksPngFilter { pfNone, pfSub, pfUp, pfAverage, pfPaeth };
using TksPngFilters = TSet<TksPngFilter>;

enum TksPngTransparencyMode { ptmNone, ptmBit, ptmPartial };

// The chunks of an image in file order.
class TBitmap;

class TksPngList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TksPngLayer* Item(int index) const { return FItems.at(static_cast<size_t>(index)).get(); }
  TksPngLayer* Add(std::unique_ptr<TksPngLayer> chunk);
  // Inserts before position index (clamped to the list).
  TksPngLayer* Insert(int index, std::unique_ptr<TksPngLayer> chunk);
  void Remove(const TksPngLayer* chunk);
  void Clear() { FItems.clear(); }
  // The first chunk of that type, or nullptr.
  TksPngLayer* FindChunk(std::string_view type) const;
  int IndexOf(std::string_view type) const;
  template <class T>
  T* Find() const {
    return static_cast<T*>(FindChunk(T::ClassChunkType()));
  }

 private:
  std::vector<std::unique_ptr<TksPngLayer>> FItems;
};

class TksPngImage : public TGraphic {
 public:
  TksPngImage();
  ~TksPngImage() override;

  // Copies settings and every chunk of another TksPngImage; converts a framework bitmap
  // (fewer than 16 bits per pixel: a palette image of that depth, else 8-bit RGB; a
  // transparent bitmap adds a tRNS chunk for its colour); a null Source clears.
  void Assign(TPersistent* Source) override;
  // Into a framework bitmap, keeping the format where the bitmap can hold it: 1 bit for depth
  // 1, 4 bits for depths 2 and 4, 8 bits for 8-bit palettes, 24 bits for 8- and 16-bit grey
  // and RGB and for every image with partial transparency (blended onto black). In mode bit
  // the bitmap becomes transparent with the image's transparent colour. An empty image
  // empties the bitmap. Public because TBitmap::Assign draws any graphic into 32 bits.
  void AssignTo(TPersistent* Dest) override;
  void Clear();
  // Starts by clearing. A wrong signature or header, or an end chunk with no image data
  // before it, leaves the image empty; a later failing chunk ends loading with the chunks
  // read so far. Nothing is raised for bad data.
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;

  int Width() const override;
  int Height() const override;
  // Resize keeping the other side; nothing for an empty image.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  bool Empty() const override { return FChunks.Count() == 0; }
  // Follows the chunks (TGraphic's flag is kept in step for callers holding a TGraphic);
  // setting it from outside changes nothing.
  bool Transparent() const { return TransparencyMode() != ptmNone; }
  void SetTransparent(bool /*Value*/) override {}
  TksPngTransparencyMode TransparencyMode() const;
  // The colour drawn transparent in mode bit.
  COLORREF TransparentColor() const;
  // Whether pixel (X, Y) of a grey or RGB image in mode bit is the colour key: its decoded raw
  // samples equalled the key; for pixels not decoded from a file, its colour is the
  // transparent colour. False for other images and outside.
  bool KeyTransparent(int X, int Y) const;

  TksPngList& Chunks() { return FChunks; }
  const TksPngList& Chunks() const { return FChunks; }
  TksPngLayerIHDR* Header() const;

  // Makes a new image of the format and size: header, palette chunk for palette images,
  // image data and end chunks. Throws EInvalidGraphic for an illegal format or size.
  void CreateBlank(uint8_t ColorType, uint8_t BitDepth, int AWidth, int AHeight);

  // Colour of a pixel (0 outside the image); setting picks the nearest palette entry for
  // palette and grey images.
  COLORREF Pixels(int X, int Y) const;
  void SetPixels(int X, int Y, COLORREF Value);
  // Row pointers (image row 0 at the top) or nullptr.
  uint8_t* Scanline(int Y) const;
  uint8_t* AlphaScanline(int Y) const;
  std::vector<RGBQUAD> Palette() const;
  void SetPalette(const std::vector<RGBQUAD>& Entries);

  // Keeps the overlapping part of pixels and planes; new alpha is 255, new low bytes 0.
  void Resize(int NewWidth, int NewHeight);
  // Grey and RGB gain an alpha plane of 255; palette images a tRNS chunk of 255s.
  void AddAlpha();

  // Draws into Dest, a top-down 32-bit BGRA surface of DestWidth x DestHeight pixels, at
  // Rect (normalised; clipped to the surface). Pixels the image leaves transparent keep
  // their colour; alpha bytes of Dest are not changed.
  void DrawToSurface(uint8_t* Dest, int DestStride, int DestWidth, int DestHeight,
                     RECT Rect) const;
  // Draws into Rect of a device context in the image's transparency mode: the visible part
  // of the destination is read into a 32-bit work bitmap, drawn on and copied back.
  void DrawToDC(HDC DC, RECT Rect) const;

  TksPngFilters Filters = {pfSub};
  uint8_t CompressionLevel = 7;
  uint32_t MaxIdatSize() const { return FMaxIdatSize; }
  void SetMaxIdatSize(uint32_t Value) { FMaxIdatSize = Value < 65535 ? 65535 : Value; }
  uint8_t InterlaceMethod = 0;

  uint8_t* GammaTable() { return FGammaTable; }
  const uint8_t* GammaTable() const { return FGammaTable; }
  uint8_t* InverseGammaTable() { return FInverseGamma; }
  const uint8_t* InverseGammaTable() const { return FInverseGamma; }
  bool GammaIsIdentity() const;
  void ResetGamma();

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 private:
  void LoadChunks(TStream& Stream);
  void AssignFromBitmap(const TBitmap& Source);
  void AssignToBitmap(TBitmap& Dest) const;
  void SetPixelValue(TksPngLayerIHDR* h, int X, int Y, COLORREF Value);
  // Brings TGraphic's transparency flag in line with the chunks.
  void SyncTransparent();

  TksPngList FChunks;
  uint32_t FMaxIdatSize = 65535;
  uint8_t FGammaTable[256];
  uint8_t FInverseGamma[256];
};
