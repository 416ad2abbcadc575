// TBitmap: a picture in a device-independent bitmap section, with a canvas, pixel rows
// and BMP file images.
#pragma once

#include <memory>
#include <vector>

#include "ui/graphic.h"

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit,
                    pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap;

// The canvas of a bitmap: a memory DC with the bitmap selected, made on first use and
// freed whenever the bitmap's pixels are replaced.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* Bitmap) : FBitmap(Bitmap) {}
  ~TBitmapCanvas() override;
  void FreeContext();

 protected:
  void CreateHandle() override;

 private:
  TBitmap* FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
};

class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(int AWidth, int AHeight, TPixelFormat APixelFormat = pfDevice);
  ~TBitmap() override;

  int Width() const override { return FImage.Width; }
  int Height() const override { return FImage.Height; }
  void SetWidth(int Value) override { SetSize(Value, FImage.Height); }
  void SetHeight(int Value) override { SetSize(FImage.Width, Value); }
  // Keeps the pixels that remain inside; new pixels are zero. Negative sizes are refused;
  // a zero side empties the bitmap.
  void SetSize(int AWidth, int AHeight);
  bool Empty() const override { return FImage.Bits == nullptr; }

  // pfDevice (the default) is stored as 32 bits per pixel. Changing the format converts
  // the pixels; to an indexed format each takes the nearest colour of the table.
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value);
  int BitsPerPixel() const { return FImage.Bpp; }
  // Row y of the pixels, row 0 at the top; rows follow each other by Stride bytes.
  uint8_t* ScanLine(int Row);
  const uint8_t* ScanLine(int Row) const;
  int Stride() const { return FImage.Stride; }

  // The colour table of an indexed bitmap (empty for 24 and 32 bits).
  const std::vector<RGBQUAD>& ColorTable() const { return FImage.Table; }
  void SetColorTable(const std::vector<RGBQUAD>& Table);

  TCanvas* Canvas();
  HBITMAP Handle() const { return FImage.Handle; }

  // tmAuto: the bottom-left pixel's colour; tmFixed: the colour set.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  // RGB (red in the low byte) of a pixel, whatever the format; 0 outside.
  COLORREF PixelRGB(int X, int Y) const;

  // BMP file image: file header, BITMAPINFOHEADER, colour table and pixel rows. Loading
  // consumes exactly the image and leaves the stream right after it; a bad or truncated
  // image raises EInvalidGraphic or EReadError and changes neither the bitmap nor the
  // stream position. An empty bitmap saves nothing.
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;

  void Assign(TPersistent* Source) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 private:
  struct Image {
    HBITMAP Handle = nullptr;
    uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int Bpp = 32;
    int Stride = 0;
    std::vector<RGBQUAD> Table;
  };
  // Makes a top-down DIB section; EOutOfResources when the platform refuses.
  static Image CreateImage(int w, int h, int bpp, const std::vector<RGBQUAD>& table);
  static void FreeImage(Image& image);
  void ReplaceImage(Image& image);
  static int FormatBpp(TPixelFormat pf);

  Image FImage;
  TPixelFormat FPixelFormat = pfDevice;
  std::unique_ptr<TBitmapCanvas> FCanvas;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

// Default colour tables of the indexed formats (2, 16 and 256 entries).
std::vector<RGBQUAD> DefaultColorTable(int bpp);
