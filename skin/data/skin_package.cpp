#include "skin/data/skin_package.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

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
  std::span<const uint8_t> ReadImage() {
    const size_t length = TksBmpImage::Measure(FData + FPos, FSize - FPos);
    const std::span<const uint8_t> image(FData + FPos, length);
    FPos += length;
    return image;
  }
  std::span<const uint8_t> ReadFlaggedImage(const char* what) {
    Need(1, what);
    const uint8_t flag = FData[FPos++];
    return flag == 0 ? ReadImage() : std::span<const uint8_t>();
  }
  std::string_view Rest() {
    const std::string_view text(reinterpret_cast<const char*>(FData + FPos), FSize - FPos);
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

TksBmpImage Copy(std::span<const uint8_t> image) {
  return image.empty() ? TksBmpImage() : TksBmpImage::FromBytes(image.data(), image.size());
}

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

bool ParseSkinPackage(const uint8_t* data, size_t size, TksSkinPackageView& package) {
  CheckSkinPackageLimits(data, size);
  PackageReader reader(data, size);
  TksSkinPackageView result;
  result.Version = reader.ReadInt("version");
  if (result.Version > kSkinPackageVersion) {
    package = TksSkinPackageView();
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

bool ParseSkinPackage(const uint8_t* data, size_t size, TksSkinPackage& package) {
  TksSkinPackageView view;
  if (!ParseSkinPackage(data, size, view)) {
    package = TksSkinPackage();
    package.Version = view.Version;
    return false;
  }
  TksSkinPackage result;
  result.Version = view.Version;
  result.Picture = Copy(view.Picture);
  result.InactivePicture = Copy(view.InactivePicture);
  result.MaskPicture = Copy(view.MaskPicture);
  for (const auto& image : view.ActivePictures) result.ActivePictures.push_back(Copy(image));
  result.Description = AnsiString(view.Description);
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

TksByteBuffer InflateSkinData(const uint8_t* data, size_t size, size_t limit) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw EZDecompressionError("Cannot start inflating skin data");
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(size);
  // Packages of pictures inflate to about twenty times their size: room for that is reserved
  // at once (pages never written cost nothing) and doubled when it runs out.
  const size_t most = limit < std::numeric_limits<size_t>::max() ? limit + 1 : limit;
  size_t capacity = std::min(most, std::max<size_t>(size_t{64} << 10, size * 24));
  TksByteBuffer out;
  size_t total = 0;
  try {
    out.FData.reset(static_cast<uint8_t*>(std::malloc(capacity)));
    if (!out.FData) throw EOutOfResources("Out of memory while inflating skin data");
    for (;;) {
      if (total == capacity) {
        if (capacity >= most) {
          throw EZDecompressionError("Skin data inflates past the limit of " +
                                     IntToStr(static_cast<int64_t>(limit)) + " bytes");
        }
        const size_t grown = capacity <= most / 2 ? capacity * 2 : most;
        // realloc moves a large block by remapping its pages, not by copying them.
        auto* p = static_cast<uint8_t*>(std::realloc(out.FData.get(), grown));
        if (p == nullptr) throw EOutOfResources("Out of memory while inflating skin data");
        out.FData.release();
        out.FData.reset(p);
        capacity = grown;
      }
      const size_t room = std::min<size_t>(capacity - total, std::numeric_limits<uInt>::max());
      z.next_out = out.FData.get() + total;
      z.avail_out = static_cast<uInt>(room);
      const int rc = inflate(&z, Z_NO_FLUSH);
      total += room - z.avail_out;
      if (total > limit) {
        throw EZDecompressionError("Skin data inflates past the limit of " +
                                   IntToStr(static_cast<int64_t>(limit)) + " bytes");
      }
      if (rc == Z_STREAM_END) break;
      if (rc == Z_BUF_ERROR && z.avail_in == 0) {
        throw EZDecompressionError("Compressed skin data ends before its stream does");
      }
      if (rc != Z_OK && rc != Z_BUF_ERROR) {
        throw EZDecompressionError(AnsiString("Compressed skin data is damaged: ") +
                                   (z.msg != nullptr ? z.msg : "zlib error " + IntToStr(rc)));
      }
    }
  } catch (...) {
    inflateEnd(&z);
    throw;
  }
  inflateEnd(&z);
  out.FSize = total;
  return out;
}

void InflateSkinData(const uint8_t* data, size_t size, TStream& target, size_t limit) {
  const TksByteBuffer raw = InflateSkinData(data, size, limit);
  target.WriteBuffer(raw.Data(), static_cast<int64_t>(raw.Size()));
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
