// The catalogue of hostile skins: each case is a skin (a stored skin file, a description with
// its bitmaps, or both) made to hurt a loader, and the outcome every tool must give for it
// (finishes, or refuses with a message naming what is wrong).
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace hostile {

// One run of a tool over a case. Arguments may hold {skn}, {ini} and {out}: the case's stored
// skin file, its description and a folder for what the tool writes (not created beforehand).
struct Expect {
  std::string tool;  // "skinpack", "skinview" or "load" (the skin model, through hostile_skins)
  std::vector<std::string> args;
  int status = 0;
  std::string text;  // a regular expression the tool's output must contain
};

struct Case {
  std::string name;
  std::string what;
  // Writes the case's files into the folder: NAME.skn and/or NAME/skin.ini with its bitmaps.
  std::function<void(const std::filesystem::path& dir, const std::string& name)> write;
  std::vector<Expect> runs;
};

// Every case; cheap (nothing is made until a case's write runs). Cases derived from a shipped
// skin read it from baseSkin, a stored skin file.
std::vector<Case> Catalogue(const std::filesystem::path& baseSkin);

// The arguments of a run with the placeholders filled in for a case written into dir.
std::vector<std::string> ExpandArgs(const Expect& run, const std::filesystem::path& dir,
                                    const std::string& name);

}  // namespace hostile
