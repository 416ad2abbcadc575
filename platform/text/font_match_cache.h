// Fontconfig's answers kept between runs. Reading fontconfig's configuration and caches costs
// several milliseconds and over a megabyte at every start, yet a program asks the same few
// questions each time (its families, the fallback for its own texts) and gets the same
// answers until fonts or their configuration change. So the answers are stored with a stamp
// of everything that could change them, and a start whose stamp matches needs no fontconfig.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace lumoa::platform {

struct FontMatch {
  bool found = false;
  std::string file;
  int index = 0;
  std::string family;
};

class FontMatchCache {
 public:
  // Takes the answers stored at path when they carry this stamp; otherwise starts empty (a
  // damaged or foreign file is a cache to rebuild, not an error). An empty path keeps nothing.
  void Open(const std::string& path, const std::string& stamp);
  // True when Open took stored answers.
  bool Loaded() const { return loaded_; }
  // The answer to key, or null when there is none or its font file has changed since.
  const FontMatch* Find(const std::string& key) const;
  // Keeps an answer and writes the file again (whole, replaced in one rename). Answers that
  // cannot be stored in a line (a tab or line break in a name) are kept for this run only.
  void Put(const std::string& key, const FontMatch& match);

  static constexpr size_t kMaxEntries = 1024;

 private:
  struct Entry {
    FontMatch match;
    int64_t size = -1;
    int64_t mtimeNs = -1;
    bool storable = true;
  };
  void Save() const;

  std::string path_, stamp_;
  std::map<std::string, Entry> entries_;
  bool loaded_ = false;
};

// A digest of what decides fontconfig's answers: its version, the environment it reads, and
// the state of its configuration files and folders, its cache folders and the font folders.
// Installing a font runs fontconfig's cache tool, which rewrites a cache folder; editing the
// configuration changes a file of it. Either changes the stamp.
std::string FontconfigStamp();

// Where the answers are kept: $LUMOA_FONT_CACHE when set (empty: nowhere), else
// $XDG_CACHE_HOME/lumoa/font-matches, else ~/.cache/lumoa/font-matches.
std::string FontMatchCachePath();

// The process's cache, opened at the first use with the path and stamp above.
FontMatchCache& FontMatches();

}  // namespace lumoa::platform
