#include "skin/data/skin_export.h"

#include <filesystem>
#include <map>

#include "skin/data/ini_file.h"
#include "ui/streams.h"

namespace {

bool SafeFileName(const AnsiString& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == AnsiString::npos && name.find('\0') == AnsiString::npos;
}

}  // namespace

void ExportSkinPackage(const TksSkinPackage& package, const AnsiString& directory,
                       const AnsiString& descriptionName) {
  const TksIniFile ini(package.Description);
  std::map<AnsiString, const TksBmpImage*> files;
  const auto plan = [&](const AnsiString& role, const AnsiString& name, const TksBmpImage& image) {
    if (image.Empty()) return;
    if (!SafeFileName(name)) {
      throw EInvalidArgument("The " + role + " has no usable file name ('" + name + "')");
    }
    const auto [it, added] = files.emplace(name, &image);
    if (!added && it->second->Bytes() != image.Bytes()) {
      throw EInvalidArgument("Two different pictures are both named '" + name + "'");
    }
  };
  plan("main picture", ini.ReadString("PICTURES", "picture", ""), package.Picture);
  plan("inactive picture", ini.ReadString("PICTURES", "inactivepicture", ""),
       package.InactivePicture);
  plan("mask picture", ini.ReadString("PICTURES", "mask", ""), package.MaskPicture);
  const std::vector<AnsiString> names = ini.ReadStrings("PICTURES", "activepictures");
  if (names.size() != package.ActivePictures.size()) {
    throw EInvalidArgument("The description names " + IntToStr(static_cast<int64_t>(names.size())) +
                           " active pictures, the package holds " +
                           IntToStr(static_cast<int64_t>(package.ActivePictures.size())));
  }
  for (size_t i = 0; i < names.size(); ++i) {
    plan("active picture " + IntToStr(static_cast<int64_t>(i)), names[i], package.ActivePictures[i]);
  }
  if (!SafeFileName(descriptionName) || files.count(descriptionName) != 0) {
    throw EInvalidArgument("Unusable description file name '" + descriptionName + "'");
  }

  const AnsiString dir = directory.empty() || directory.back() == '/' ? directory : directory + "/";
  if (!dir.empty()) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) throw EFCreateError("Cannot create the folder " + directory + ": " + error.message());
  }
  for (const auto& [name, image] : files) image->SaveToFile(dir + name);
  TFileStream text(dir + descriptionName, fmCreate);
  text.WriteBuffer(package.Description.data(), static_cast<int64_t>(package.Description.size()));
}
