// skinpack: builds compressed skin files from a description and its bitmaps, unpacks them
// again, shows what a skin file holds and checks a description before it is imported.
#include <cstdio>
#include <cstring>
#include <string>

#include "skin/data/compressed_skin.h"
#include "skin/data/ini_file.h"
#include "skin/data/record_factory.h"
#include "skin/data/skin_check.h"
#include "skin/data/skin_export.h"
#include "ui/streams.h"

namespace {

constexpr int kExitProblems = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: skinpack COMMAND ARGUMENTS\n"
    "\n"
    "  import DESCRIPTION.ini OUT  build the compressed skin file OUT from a description and\n"
    "                              the bitmaps it names (found beside it)\n"
    "  unpack FILE DIR             write the pictures of the skin file FILE as bitmap files\n"
    "                              and its description as DIR/skin.ini\n"
    "  info FILE                   show the version, pictures, sections and records of FILE\n"
    "  check DESCRIPTION.ini       report unknown record types, missing sections, bad values,\n"
    "                              picture indices beyond the picture list and bad bitmaps\n";

int Usage(const char* problem) {
  if (problem != nullptr) std::fprintf(stderr, "skinpack: %s\n\n", problem);
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

// Reads a compressed skin file and inflates its package; false for a newer version.
bool ReadSkinFile(const AnsiString& path, int32_t& storedVersion, TksSkinPackage& package) {
  TFileStream file(path, fmOpenRead);
  storedVersion = file.ReadValue<int32_t>();
  std::vector<uint8_t> compressed;
  if (!ReadStoredFormA(file, compressed)) return false;
  TMemoryStream raw;
  InflateSkinData(compressed.data(), compressed.size(), raw);
  return ParseSkinPackage(static_cast<const uint8_t*>(raw.Memory()),
                          static_cast<size_t>(raw.Size()), package);
}

int Import(const AnsiString& description, const AnsiString& out) {
  TksSkinPackage package;
  if (!ImportSkinPackage(description, package)) {
    std::fprintf(stderr,
                 "skinpack: %s lacks one of [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS], "
                 "[SKINCONTROLS] (or it has no keys)\n",
                 description.c_str());
    return kExitProblems;
  }
  const std::vector<uint8_t> raw = BuildSkinPackage(package);
  const std::vector<uint8_t> stored = MakeStoredFormA(DeflateSkinData(raw.data(), raw.size()));
  TFileStream file(out, fmCreate);
  file.WriteBuffer(stored.data(), static_cast<int64_t>(stored.size()));
  std::printf("%s: %zu pictures, package %zu bytes, file %zu bytes\n", out.c_str(),
              package.ActivePictures.size(), raw.size(), stored.size());
  return 0;
}

int Unpack(const AnsiString& path, const AnsiString& directory) {
  int32_t version = 0;
  TksSkinPackage package;
  if (!ReadSkinFile(path, version, package)) {
    std::fprintf(stderr, "skinpack: %s has version %d; this program reads up to %d\n",
                 path.c_str(), version > kSkinPackageVersion ? version : package.Version,
                 kSkinPackageVersion);
    return kExitProblems;
  }
  ExportSkinPackage(package, directory, "skin.ini");
  return 0;
}

void PrintPicture(const char* role, const TksBmpImage& image) {
  if (image.Empty()) {
    std::printf("  %-18s absent\n", role);
    return;
  }
  std::printf("  %-18s %d x %d, %d-bit, %zu bytes\n", role, image.Width(), image.Height(),
              image.BitCount(), image.Bytes().size());
}

void PrintRecords(const TksIniFile& ini, const char* section, bool objects) {
  const int32_t count = ini.ReadInteger(section, "count", 0);
  if (count > kMaxIniListCount) {
    std::printf("%s records: [%s] count %d exceeds %d; the skin does not load\n",
                objects ? "object" : "control", section, count, kMaxIniListCount);
    return;
  }
  int known = 0;
  for (int32_t i = 0; i < count; ++i) {
    AnsiString name, type;
    TksIniFile::SplitNameType(ini.ReadString(section, IntToStr(i), ""), name, type);
    if (objects ? IsObjectRecordType(type) : IsControlRecordType(type)) ++known;
  }
  std::printf("%s records: %d\n", objects ? "object" : "control", known);
  for (int32_t i = 0; i < count; ++i) {
    AnsiString name, type;
    TksIniFile::SplitNameType(ini.ReadString(section, IntToStr(i), ""), name, type);
    const bool ok = objects ? IsObjectRecordType(type) : IsControlRecordType(type);
    std::printf("  %3d %-24s %s%s\n", i, name.c_str(), type.c_str(), ok ? "" : "  (skipped: unknown type)");
  }
}

int Info(const AnsiString& path) {
  int32_t version = 0;
  TksSkinPackage package;
  if (!ReadSkinFile(path, version, package)) {
    std::printf("%s: version %d, newer than this program reads (%d); not loaded\n", path.c_str(),
                version > kSkinPackageVersion ? version : package.Version, kSkinPackageVersion);
    return 0;
  }
  std::printf("%s: file version %d, package version %d\n", path.c_str(), version, package.Version);
  PrintPicture("main picture", package.Picture);
  PrintPicture("inactive picture", package.InactivePicture);
  PrintPicture("mask", package.MaskPicture);
  std::printf("active pictures: %zu\n", package.ActivePictures.size());
  for (size_t i = 0; i < package.ActivePictures.size(); ++i) {
    PrintPicture(("  " + IntToStr(static_cast<int64_t>(i))).c_str(), package.ActivePictures[i]);
  }
  const TksIniFile ini(package.Description);
  std::printf("description: %zu bytes\nsections:", package.Description.size());
  for (const AnsiString& s : ini.SectionNames()) std::printf(" [%s]", s.c_str());
  std::printf("\n");
  PrintRecords(ini, "SKINOBJECTS", true);
  PrintRecords(ini, "SKINCONTROLS", false);
  return 0;
}

int Check(const AnsiString& description) {
  const std::vector<AnsiString> problems = CheckSkinDescription(description);
  for (const AnsiString& p : problems) std::printf("%s: %s\n", description.c_str(), p.c_str());
  if (problems.empty()) {
    std::printf("%s: no problems found\n", description.c_str());
    return 0;
  }
  std::printf("%zu problem%s\n", problems.size(), problems.size() == 1 ? "" : "s");
  return kExitProblems;
}

// A failure names the file it is about: the message's own file, else the input.
int Failure(int argc, char** argv, const std::string& message) {
  bool named = false;
  for (int i = 2; i < argc; ++i) named = named || message.find(argv[i]) != std::string::npos;
  if (named) {
    std::fprintf(stderr, "skinpack: %s\n", message.c_str());
  } else {
    std::fprintf(stderr, "skinpack: %s: %s\n", argv[2], message.c_str());
  }
  return kExitProblems;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(nullptr);
  const AnsiString command = argv[1];
  if (command == "-h" || command == "--help" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  try {
    if (command == "import" && argc == 4) return Import(argv[2], argv[3]);
    if (command == "unpack" && argc == 4) return Unpack(argv[2], argv[3]);
    if (command == "info" && argc == 3) return Info(argv[2]);
    if (command == "check" && argc == 3) return Check(argv[2]);
  } catch (const std::exception& e) {
    return Failure(argc, argv, e.what());
  }
  if (command == "import" || command == "unpack" || command == "info" || command == "check") {
    return Usage(("wrong number of arguments for " + command).c_str());
  }
  return Usage(("unknown command '" + command + "'").c_str());
}
