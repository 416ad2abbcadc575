#include "skin/data/skin_limits.h"

#include "skin/data/bmp_image.h"
#include "ui/bmp_reader.h"
#include "ui/streams.h"

namespace {

AnsiString Str(int64_t v) { return IntToStr(v); }

[[noreturn]] void Rethrow(Exception& e, const AnsiString& what) {
  e.SetMessage(what + ": " + e.Message());
  throw;
}

}  // namespace

size_t CheckSkinPackagePicture(const uint8_t* data, size_t available, const AnsiString& what,
                               TksSkinPictureBudget& budget) {
  TBmpInfo info;
  try {
    info = ReadBmpInfo(data, available);
  } catch (Exception& e) {
    Rethrow(e, what);
  }
  budget.Add(what, info.Width, info.Height);
  try {
    return TksBmpImage::Measure(data, available);
  } catch (Exception& e) {
    Rethrow(e, what);
  }
}

void TksSkinPictureBudget::Add(const AnsiString& what, int32_t width, int32_t height) {
  const int64_t area = int64_t{width} * height;
  if (area > kMaxSkinPictureArea) {
    throw EInvalidGraphic(what + " is " + Str(width) + " x " + Str(height) +
                          " pixels; a skin picture has at most " + Str(kMaxSkinPictureArea));
  }
  if (FTotal + area > kMaxSkinTotalArea) {
    throw EInvalidGraphic(what + " brings the pictures to " + Str(FTotal + area) +
                          " pixels; all pictures of a skin have at most " + Str(kMaxSkinTotalArea));
  }
  FTotal += area;
}

void CheckSkinPictureCount(int64_t count) {
  if (count > kMaxSkinPictures) {
    throw EReadError("Skin announces " + Str(count) + " active pictures; a skin has at most " +
                     Str(kMaxSkinPictures));
  }
}

void CheckSkinDescriptionSize(size_t size) {
  if (size > kMaxSkinDescriptionSize) {
    throw EReadError("Skin description is " + Str(static_cast<int64_t>(size)) +
                     " bytes; a skin description has at most " +
                     Str(static_cast<int64_t>(kMaxSkinDescriptionSize)));
  }
}

void CheckSkinPictureFileSize(const AnsiString& what, int64_t size) {
  if (size > static_cast<int64_t>(kMaxSkinPictureFileSize)) {
    throw EReadError(what + " is a file of " + Str(size) + " bytes; a skin picture file has at most " +
                     Str(static_cast<int64_t>(kMaxSkinPictureFileSize)));
  }
}

void CheckSkinPictureFile(const AnsiString& path, const AnsiString& what,
                          TksSkinPictureBudget& budget) {
  TMemoryStream bytes;
  try {
    TFileStream file(path, fmOpenRead);
    CheckSkinPictureFileSize(path, file.Size());
    bytes.LoadFromStream(file);
  } catch (Exception& e) {
    Rethrow(e, what);
  }
  TBmpInfo info;
  try {
    info = ReadBmpInfo(static_cast<const uint8_t*>(bytes.Memory()), static_cast<size_t>(bytes.Size()));
  } catch (Exception& e) {
    Rethrow(e, what + ": " + path);
  }
  budget.Add(what + " (" + path + ")", info.Width, info.Height);
}
