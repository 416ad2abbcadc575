#include "skin/data/bmp_image.h"

#include "ui/bmp_reader.h"
#include "ui/streams.h"

namespace {

constexpr size_t kStoredHeaders = 14 + 40;

struct Layout {
  size_t Length;
  int32_t Width;
  int32_t Height;
  int BitCount;
};

// The framework's reader checks the headers; the package adds its own framing: a 40-byte
// header, uncompressed rows right after the colour table, and nothing in the image that the
// bitmap would refuse once it has only the image's own bytes.
Layout Examine(const uint8_t* data, size_t available) {
  const TBmpInfo info = ReadBmpInfo(data, available);
  if (info.HeaderSize != 40) {
    throw EInvalidGraphic("Bitmap info header has " + IntToStr(info.HeaderSize) +
                          " bytes; only the 40-byte header is stored");
  }
  if (info.Compression != BI_RGB || info.BitCount == 2) {
    throw EInvalidGraphic("Bitmap of " + IntToStr(info.BitCount) + " bits with compression " +
                          IntToStr(info.Compression) + "; only uncompressed 1-, 4-, 8-, 16-, 24- "
                          "and 32-bit images are stored");
  }
  if (info.Width > kMaxBmpSide || info.Height > kMaxBmpSide) {
    throw EInvalidGraphic("Bitmap has an impossible size " + IntToStr(info.Width) + " x " +
                          IntToStr(info.Height));
  }
  const size_t maxColors = info.Indexed() ? size_t{1} << info.BitCount : 256;
  if (info.TableEntries > maxColors) {
    throw EInvalidGraphic("Bitmap claims " + IntToStr(static_cast<int64_t>(info.TableEntries)) +
                          " palette entries");
  }
  const size_t headers = kStoredHeaders + info.TableEntries * 4;
  if (info.PixelOffset != headers) {
    throw EInvalidGraphic("Bitmap pixel offset " + IntToStr(static_cast<int64_t>(info.PixelOffset)) +
                          " does not follow its colour table at " +
                          IntToStr(static_cast<int64_t>(headers)));
  }
  const size_t length = info.ImageEnd();
  const uint32_t fileSize = static_cast<uint32_t>(data[2] | data[3] << 8 | data[4] << 16) |
                            static_cast<uint32_t>(data[5]) << 24;
  if (fileSize > length) {
    throw EInvalidGraphic("Bitmap file size " + IntToStr(fileSize) + " is larger than its image of " +
                          IntToStr(static_cast<int64_t>(length)) + " bytes");
  }
  CheckBmpIndices(ReadBmpInfo(data, length), data);
  return Layout{length, info.Width, info.Height, info.BitCount};
}

}  // namespace

size_t TksBmpImage::Measure(const uint8_t* data, size_t available) {
  return Examine(data, available).Length;
}

TksBmpImage TksBmpImage::FromBytes(const uint8_t* data, size_t available) {
  const Layout layout = Examine(data, available);
  TksBmpImage image;
  image.FBytes.assign(data, data + layout.Length);
  image.FWidth = layout.Width;
  image.FHeight = layout.Height;
  image.FBitCount = layout.BitCount;
  return image;
}

TksBmpImage TksBmpImage::FromFile(const AnsiString& fileName) {
  TMemoryStream stream;
  stream.LoadFromFile(fileName);
  const auto* data = static_cast<const uint8_t*>(stream.Memory());
  try {
    TksBmpImage image = FromBytes(data, static_cast<size_t>(stream.Size()));
    const uint32_t length = static_cast<uint32_t>(image.FBytes.size());
    for (int i = 0; i < 4; ++i) image.FBytes[2 + i] = static_cast<uint8_t>(length >> (8 * i));
    return image;
  } catch (Exception& e) {
    e.SetMessage(fileName + ": " + e.Message());
    throw;
  }
}

void TksBmpImage::SaveToFile(const AnsiString& fileName) const {
  TFileStream file(fileName, fmCreate);
  file.WriteBuffer(FBytes.data(), static_cast<int64_t>(FBytes.size()));
}
