#include "platform/text/font_match_cache.h"

#include <dirent.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace lumoa::platform {

namespace {

constexpr std::string_view kHeader = "lumoa font matches 1";

struct FileState {
  int64_t size = -1;
  int64_t mtimeNs = -1;
};

bool StatFile(const std::string& path, FileState& out) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return false;
  out.size = static_cast<int64_t>(st.st_size);
  out.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string HomeDir() { return Env("HOME"); }

std::string XdgDir(const char* var, const char* underHome) {
  std::string v = Env(var);
  if (!v.empty()) return v;
  const std::string home = HomeDir();
  return home.empty() ? std::string() : home + "/" + underHome;
}

void AddState(std::string& text, const std::string& path) {
  struct stat st{};
  text += path;
  if (path.empty() || ::stat(path.c_str(), &st) != 0) {
    text += " -\n";
    return;
  }
  text += ' ' + std::to_string(st.st_ino) + ' ' + std::to_string(st.st_size) + ' ' +
          std::to_string(st.st_mtim.tv_sec) + '.' + std::to_string(st.st_mtim.tv_nsec) + '\n';
}

// A folder and every entry in it (configuration folders hold links to the files in use, whose
// own times change when they are edited).
void AddFolder(std::string& text, const std::string& path) {
  AddState(text, path);
  if (path.empty()) return;
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return;
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(dir)) {
    if (e->d_name[0] != '.') names.emplace_back(e->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) AddState(text, path + "/" + n);
}

uint64_t Fnv1a(std::string_view s) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
  return h;
}

// Splits a line at tabs into exactly n fields.
bool SplitFields(std::string_view line, std::vector<std::string_view>& out, size_t n) {
  out.clear();
  while (out.size() + 1 < n) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return false;
    out.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  if (line.find('\t') != std::string_view::npos) return false;
  out.push_back(line);
  return true;
}

bool ParseInt(std::string_view s, int64_t& out) {
  if (s.empty() || s.size() > 20) return false;
  const std::string copy(s);
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(copy.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  out = v;
  return true;
}

bool Storable(const std::string& s) { return s.find_first_of("\t\n\r") == std::string::npos; }

void MakeFolders(const std::string& path) {
  for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
    ::mkdir(path.substr(0, at).c_str(), 0700);
  }
}

}  // namespace

void FontMatchCache::Open(const std::string& path, const std::string& stamp) {
  path_ = path;
  stamp_ = stamp;
  entries_.clear();
  loaded_ = false;
  if (path.empty()) return;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return;
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && text.size() < (1u << 20)) {
    text.append(buf, n);
  }
  std::fclose(f);

  std::string_view rest(text);
  const auto nextLine = [&](std::string_view& line) {
    if (rest.empty()) return false;
    const size_t nl = rest.find('\n');
    if (nl == std::string_view::npos) return false;  // a torn last line is no line
    line = rest.substr(0, nl);
    rest.remove_prefix(nl + 1);
    return true;
  };
  std::string_view line;
  if (!nextLine(line) || line != kHeader) return;
  if (!nextLine(line) || line != stamp) return;
  std::vector<std::string_view> f7;
  while (nextLine(line) && entries_.size() < kMaxEntries) {
    int64_t found = 0, index = 0;
    Entry e;
    if (!SplitFields(line, f7, 7) || f7[0].empty() || !ParseInt(f7[1], found) ||
        (found != 0 && found != 1) || !ParseInt(f7[3], index) || index < 0 ||
        index > 0x7FFFFFFF || !ParseInt(f7[5], e.size) || !ParseInt(f7[6], e.mtimeNs)) {
      continue;  // one bad line costs that answer only
    }
    e.match.found = found == 1;
    e.match.file = std::string(f7[2]);
    e.match.index = static_cast<int>(index);
    e.match.family = std::string(f7[4]);
    if (e.match.found && e.match.file.empty()) continue;
    entries_[std::string(f7[0])] = std::move(e);
  }
  loaded_ = true;
}

const FontMatch* FontMatchCache::Find(const std::string& key) const {
  const auto it = entries_.find(key);
  if (it == entries_.end()) return nullptr;
  const Entry& e = it->second;
  if (e.match.found) {
    FileState now;
    if (!StatFile(e.match.file, now) || now.size != e.size || now.mtimeNs != e.mtimeNs) {
      return nullptr;
    }
  }
  return &e.match;
}

void FontMatchCache::Put(const std::string& key, const FontMatch& match) {
  Entry e;
  e.match = match;
  FileState st;
  if (match.found && StatFile(match.file, st)) {
    e.size = st.size;
    e.mtimeNs = st.mtimeNs;
  }
  e.storable = Storable(key) && !key.empty() && Storable(match.file) && Storable(match.family);
  if (entries_.size() >= kMaxEntries && !entries_.count(key)) return;
  entries_[key] = std::move(e);
  Save();
}

void FontMatchCache::Save() const {
  if (path_.empty()) return;
  std::string text(kHeader);
  text += '\n';
  text += stamp_;
  text += '\n';
  for (const auto& [key, e] : entries_) {
    if (!e.storable) continue;
    text += key + '\t' + (e.match.found ? "1" : "0") + '\t' + e.match.file + '\t' +
            std::to_string(e.match.index) + '\t' + e.match.family + '\t' +
            std::to_string(e.size) + '\t' + std::to_string(e.mtimeNs) + '\n';
  }
  MakeFolders(path_);
  // Written aside and renamed over the old file: another instance reading it meanwhile sees
  // the old answers or the new ones, never half of them.
  const std::string temp = path_ + ".tmp" + std::to_string(::getpid());
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return;  // a cache that cannot be written: the next start asks fontconfig again
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  if (std::fclose(f) != 0 || !written || std::rename(temp.c_str(), path_.c_str()) != 0) {
    std::remove(temp.c_str());
  }
}

std::string FontconfigStamp() {
  std::string text = "fontconfig " + std::to_string(FcGetVersion()) + '\n';
  for (const char* var : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "FC_LANG",
                          "FC_DEBUG", "LC_ALL", "LC_CTYPE", "LANG", "HOME", "XDG_CONFIG_HOME",
                          "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
    text += std::string(var) + '=' + Env(var) + '\n';
  }
  const std::string home = HomeDir();
  const std::string etc = Env("FONTCONFIG_PATH").empty() ? "/etc/fonts" : Env("FONTCONFIG_PATH");
  const std::string conf = Env("FONTCONFIG_FILE").empty() ? etc + "/fonts.conf"
                                                          : Env("FONTCONFIG_FILE");
  AddState(text, conf);
  AddFolder(text, etc + "/conf.d");
  const std::string userConf = XdgDir("XDG_CONFIG_HOME", ".config");
  if (!userConf.empty()) {
    AddState(text, userConf + "/fontconfig/fonts.conf");
    AddFolder(text, userConf + "/fontconfig/conf.d");
  }
  if (!home.empty()) {
    AddState(text, home + "/.fonts.conf");
    AddFolder(text, home + "/.fonts.conf.d");
    AddState(text, home + "/.fontconfig");
    AddState(text, home + "/.fonts");
  }
  AddFolder(text, "/var/cache/fontconfig");
  const std::string userCache = XdgDir("XDG_CACHE_HOME", ".cache");
  if (!userCache.empty()) AddFolder(text, userCache + "/fontconfig");
  AddState(text, "/usr/share/fonts");
  AddState(text, "/usr/local/share/fonts");
  const std::string userData = XdgDir("XDG_DATA_HOME", ".local/share");
  if (!userData.empty()) AddState(text, userData + "/fonts");
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Fnv1a(text)));
  return hex;
}

std::string FontMatchCachePath() {
  if (const char* forced = std::getenv("LUMOA_FONT_CACHE")) return forced;
  const std::string cache = XdgDir("XDG_CACHE_HOME", ".cache");
  return cache.empty() ? std::string() : cache + "/lumoa/font-matches";
}

FontMatchCache& FontMatches() {
  static FontMatchCache* cache = [] {
    auto* c = new FontMatchCache;  // never freed: fonts of any lifetime may still ask
    c->Open(FontMatchCachePath(), FontconfigStamp());
    return c;
  }();
  return *cache;
}

}  // namespace lumoa::platform
