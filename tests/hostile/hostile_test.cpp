// Runs every tool over every case of the hostile-skin catalogue: each run must end with its
// expected status and message, within 10 s and 512 MB of peak resident memory.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <regex>

#include "hostile/catalogue.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr double kBudgetSeconds = 10;
constexpr long kBudgetKb = 512 * 1024;
constexpr int kKillSeconds = 120;  // a run past this is stopped and reported

#if defined(LUMOA_SANITIZED)
// The sanitizers' shadow memory and slower code: outcomes are checked, budgets only reported.
constexpr bool kJudgeBudgets = false;
#else
constexpr bool kJudgeBudgets = true;
#endif

struct RunResult {
  int status = -1;
  std::string output;  // stdout and stderr together
  double seconds = 0;
  long peakKb = 0;
  bool killed = false;
};

// Runs the tool through hostile_skins run, whose small size keeps the peak the tool's own.
RunResult RunTool(const std::vector<std::string>& args, const fs::path& log) {
  const fs::path measures = log.string() + ".measures";
  std::vector<std::string> all = {LUMOA_HOSTILE_SKINS, "run", measures.string(), std::to_string(kKillSeconds)};
  all.insert(all.end(), args.begin(), args.end());
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  std::vector<char*> argv;
  for (const std::string& a : all) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  RunResult r;
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    r.output = "cannot start " + all[0];
    return r;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  std::ifstream in(log);
  r.output.assign(std::istreambuf_iterator<char>(in), {});
  int killed = 0;
  std::ifstream(measures) >> r.status >> r.seconds >> r.peakKb >> killed;
  r.killed = killed != 0;
  return r;
}

std::string ToolPath(const std::string& tool) {
  if (tool == "skinpack") return LUMOA_SKINPACK;
  if (tool == "skinview") return LUMOA_SKINVIEW;
  return LUMOA_HOSTILE_SKINS;
}

class TempDir {
 public:
  TempDir() {
    static std::mt19937 rng(std::random_device{}());
    FPath = fs::temp_directory_path() / ("hostile-" + std::to_string(rng()));
    fs::create_directories(FPath);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(FPath, ec);
  }
  const fs::path& Path() const { return FPath; }

 private:
  fs::path FPath;
};

const std::vector<hostile::Case>& Cases() {
  static const std::vector<hostile::Case> cases = hostile::Catalogue(LUMOA_BASE_SKIN);
  return cases;
}

class HostileSkin : public testing::TestWithParam<size_t> {};

TEST_P(HostileSkin, EveryToolFinishesWithItsExpectedOutcome) {
  const hostile::Case& c = Cases()[GetParam()];
  SCOPED_TRACE(c.name + ": " + c.what);
  TempDir dir;
  c.write(dir.Path(), c.name);
  int index = 0;
  for (const hostile::Expect& e : c.runs) {
    std::vector<std::string> args = hostile::ExpandArgs(e, dir.Path(), c.name);
    args.insert(args.begin(), ToolPath(e.tool));
    if (e.tool == "load") args.insert(args.begin() + 1, "load");
    std::string line = fs::path(args[0]).filename().string();
    for (size_t i = 1; i < args.size(); ++i) line += " " + fs::path(args[i]).filename().string();
    const RunResult r = RunTool(args, dir.Path() / ("run" + std::to_string(index++) + ".log"));
    std::printf("[ hostile  ] %-22s %-48s status %d, %6.2f s, %4ld MB\n", c.name.c_str(), line.c_str(),
                r.status, r.seconds, r.peakKb / 1024);
    SCOPED_TRACE(line + "\n" + r.output.substr(0, 2000));
    EXPECT_FALSE(r.killed) << "still running after " << kKillSeconds << " s";
    EXPECT_EQ(r.status, e.status);
    if (!e.text.empty()) {
      EXPECT_TRUE(std::regex_search(r.output, std::regex(e.text))) << "expected /" << e.text << "/";
    }
    // A refusal says which file it refuses.
    if (e.status != 0) {
      EXPECT_NE(r.output.find(c.name), std::string::npos) << "the failure names no file";
    }
    if (kJudgeBudgets) {
      EXPECT_LE(r.seconds, kBudgetSeconds);
      EXPECT_LE(r.peakKb, kBudgetKb);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, HostileSkin, testing::Range<size_t>(0, Cases().size()),
                         [](const testing::TestParamInfo<size_t>& info) {
                           std::string name = Cases()[info.param].name;
                           for (char& ch : name) {
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

// Unpacking names a folder that need not exist: it is made, with the pictures and the
// description in it.
TEST(HostileSkinTools, UnpackMakesItsFolder) {
  TempDir dir;
  const fs::path target = dir.Path() / "a" / "b";
  const RunResult r = RunTool({LUMOA_SKINPACK, "unpack", LUMOA_BASE_SKIN, target.string()}, dir.Path() / "log");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(fs::exists(target / "skin.ini"));
  EXPECT_TRUE(fs::exists(target / "pic0.bmp"));
}

}  // namespace
