// hostile_skins: writes the catalogue of hostile skins into a folder (with catalogue.txt, the
// expected outcome of every tool run), loads a stored skin through the skin model the way
// the launcher does, and runs a tool measuring its time and peak memory.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "hostile/catalogue.h"
#include "skin/data/skin_data.h"
#include "ui/streams.h"

namespace {

int Write(const std::filesystem::path& dir, const std::filesystem::path& base) {
  std::filesystem::create_directories(dir);
  std::ofstream list(dir / "catalogue.txt");
  for (const hostile::Case& c : hostile::Catalogue(base)) {
    c.write(dir, c.name);
    list << c.name << ": " << c.what << "\n";
    for (const hostile::Expect& e : c.runs) {
      list << "  " << e.tool;
      for (const std::string& a : hostile::ExpandArgs(e, dir, c.name)) list << " " << a;
      list << "\n    -> status " << e.status << (e.text.empty() ? "" : ", output matches /" + e.text + "/")
           << "\n";
    }
    std::printf("%s\n", c.name.c_str());
  }
  return 0;
}

int Load(const char* path) {
  TksCompressedStoredSkin stored(nullptr);
  stored.LoadFromCompressedFile(path);
  if (stored.IsEmpty()) {
    std::printf("%s: not loaded: no stored skin of a version this program reads\n", path);
    return 0;
  }
  TksSkinData data(nullptr);
  data.SetCompressedStoredSkin(&stored);
  if (data.Empty()) {
    TMemoryStream raw;
    stored.DecompressTo(raw);
    int32_t version = 0;
    if (raw.Size() >= 4) std::memcpy(&version, raw.Memory(), 4);
    std::printf("%s: not loaded: package version %d is newer than %d\n", path, version,
                kSkinPackageVersion);
    return 0;
  }
  std::printf("%s: loaded: %zu object records, %zu control records, %zu active pictures\n", path,
              data.ObjectRecords.size(), data.ControlRecords.size(), data.ActivePictures.size());
  return 0;
}

// Runs the tool, stopping it after `limit` seconds, and writes "status seconds peak-KB killed"
// to `measures`. This process is small, so the tool's peak is its own.
int Run(const char* measures, char** tool, int limit) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) return 1;
  if (pid == 0) {
    execv(tool[0], tool);
    std::fprintf(stderr, "hostile_skins: cannot start %s: %s\n", tool[0], std::strerror(errno));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  bool killed = false;
  while (wait4(pid, &status, WNOHANG, &usage) != pid) {
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(limit)) {
      kill(pid, SIGKILL);
      wait4(pid, &status, 0, &usage);
      killed = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::ofstream(measures) << code << " " << seconds << " " << usage.ru_maxrss << " " << killed << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::strcmp(argv[1], "write") == 0) return Write(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "load") == 0) return Load(argv[2]);
    if (argc >= 5 && std::strcmp(argv[1], "run") == 0) return Run(argv[2], argv + 4, std::atoi(argv[3]));
  } catch (const Exception& e) {
    std::fprintf(stderr, "hostile_skins: %s: %s\n", argv[2], e.Message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "hostile_skins: %s: %s\n", argv[2], e.what());
    return 1;
  }
  std::fprintf(stderr,
               "usage: hostile_skins write DIR BASE.skn   write every case made from BASE.skn\n"
               "       hostile_skins load FILE.skn        load a stored skin through the skin model\n"
               "       hostile_skins run OUT SECONDS TOOL ARGS...\n"
               "                                          run TOOL (stopped after SECONDS), writing its\n"
               "                                          status, seconds, peak KB and 1 if stopped to OUT\n");
  return 2;
}
