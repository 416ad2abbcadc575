#include "skin/data/skin_package.h"

#include <zlib.h>

#include <cstring>

#include "ui/streams.h"

namespace {

class PackageReader {
 public:
  PackageReader(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

  int32_t ReadInt(const char* what) {
    Need(4, what);
    int32_t v;
    std::memcpy(&v, FData + FPos, 4);
    FPos += 4;
    return v;
  }
  TksBmpImage ReadImage() {
    TksBmpImage image = TksBmpImage::FromBytes(FData + FPos, FSize - FPos);
    FPos += image.Bytes().size();
    return image;
  }
  TksBmpImage ReadFlaggedImage(const char* what) {
    Need(1, what);
    const uint8_t flag = FData[FPos++];
    return flag == 0 ? ReadImage() : TksBmpImage();
  }
  AnsiString Rest() {
    AnsiString text(reinterpret_cast<const char*>(FData + FPos), FSize - FPos);
    FPos = FSize;
    return text;
  }

 private:
  void Need(size_t n, const char* what) {
    if (FSize - FPos < n) throw EReadError(AnsiString("Skin package is truncated at its ") + what);
  }

  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

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

bool ParseSkinPackage(const uint8_t* data, size_t size, TksSkinPackage& package) {
  PackageReader reader(data, size);
  TksSkinPackage result;
  result.Version = reader.ReadInt("version");
  if (result.Version > kSkinPackageVersion) {
    package = TksSkinPackage();
    package.Version = result.Version;
    return false;
  }
  result.Picture = reader.ReadFlaggedImage("main picture");
  result.InactivePicture = reader.ReadFlaggedImage("inactive picture");
  result.MaskPicture = reader.ReadFlaggedImage("mask picture");
  if (result.Version == 2) {
    reader.ReadFlaggedImage("first extra picture");
    reader.ReadFlaggedImage("second extra picture");
  }
  const int32_t count = reader.ReadInt("active picture count");
  if (count < 0) throw EReadError("Skin package has a negative picture count " + IntToStr(count));
  for (int32_t i = 0; i < count; ++i) result.ActivePictures.push_back(reader.ReadImage());
  result.Description = reader.Rest();
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

void InflateSkinData(const uint8_t* data, size_t size, TStream& target, size_t limit) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw EZDecompressionError("Cannot start inflating skin data");
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(size);
  uint8_t block[4096];
  size_t total = 0;
  int rc = Z_OK;
  try {
    while (rc != Z_STREAM_END) {
      z.next_out = block;
      z.avail_out = sizeof block;
      rc = inflate(&z, Z_NO_FLUSH);
      if (rc == Z_BUF_ERROR && z.avail_in == 0) {
        throw EZDecompressionError("Compressed skin data ends before its stream does");
      }
      if (rc != Z_OK && rc != Z_STREAM_END) {
        throw EZDecompressionError(AnsiString("Compressed skin data is damaged: ") +
                                   (z.msg != nullptr ? z.msg : "zlib error " + IntToStr(rc)));
      }
      const size_t produced = sizeof block - z.avail_out;
      total += produced;
      if (total > limit) {
        throw EZDecompressionError("Skin data inflates past the limit of " +
                                   IntToStr(static_cast<int64_t>(limit)) + " bytes");
      }
      target.WriteBuffer(block, static_cast<int64_t>(produced));
    }
  } catch (...) {
    inflateEnd(&z);
    throw;
  }
  inflateEnd(&z);
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
