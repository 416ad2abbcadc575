#include "platform/text/font_match_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace lumoa::platform {
namespace {

// Sets (or with null unsets) an environment variable for the scope, then puts it back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    if (value) setenv(name, value, 1); else unsetenv(name);
  }
  ~ScopedEnv() {
    if (saved_) setenv(name_, saved_->c_str(), 1); else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

class FontMatchCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/fontmatchXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    path_ = dir_ + "/sub/font-matches";  // the folder does not exist yet
    font_ = dir_ + "/face.ttf";
    Write(font_, "not really a face");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  FontMatch Face() const { return FontMatch{true, font_, 2, "Some Sans"}; }
  FontMatchCache Opened(const std::string& stamp) const {
    FontMatchCache cache;
    cache.Open(path_, stamp);
    return cache;
  }

  std::string dir_, path_, font_;
};

TEST_F(FontMatchCacheTest, AnswersComeBackOnlyUnderTheSameStamp) {
  {
    FontMatchCache cache = Opened("stamp-a");
    EXPECT_FALSE(cache.Loaded());  // nothing stored yet
    cache.Put("family|Arial||--", Face());
    cache.Put("char|38598|--", FontMatch{});  // no face has it: that is an answer too
  }
  FontMatchCache same = Opened("stamp-a");
  ASSERT_TRUE(same.Loaded());
  const FontMatch* m = same.Find("family|Arial||--");
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->found);
  EXPECT_EQ(m->file, font_);
  EXPECT_EQ(m->index, 2);
  EXPECT_EQ(m->family, "Some Sans");
  const FontMatch* none = same.Find("char|38598|--");
  ASSERT_NE(none, nullptr);
  EXPECT_FALSE(none->found);
  EXPECT_EQ(same.Find("family|Tahoma||--"), nullptr);

  FontMatchCache other = Opened("stamp-b");  // fonts or configuration changed since
  EXPECT_FALSE(other.Loaded());
  EXPECT_EQ(other.Find("family|Arial||--"), nullptr);
}

TEST_F(FontMatchCacheTest, AChangedOrRemovedFontFileIsNoAnswer) {
  {
    FontMatchCache cache = Opened("s");
    cache.Put("k", Face());
  }
  Write(font_, "a newer version of the face, longer");
  FontMatchCache changed = Opened("s");
  EXPECT_EQ(changed.Find("k"), nullptr);

  changed.Put("k", Face());  // asked again: the new file's state is kept
  FontMatchCache again = Opened("s");
  EXPECT_NE(again.Find("k"), nullptr);
  ::unlink(font_.c_str());
  EXPECT_EQ(again.Find("k"), nullptr);
}

TEST_F(FontMatchCacheTest, DamagedFilesCostOnlyTheirBadLines) {
  struct stat st{};
  ASSERT_EQ(::stat(font_.c_str(), &st), 0);
  const std::string state = std::to_string(st.st_size) + '\t' +
                            std::to_string(int64_t(st.st_mtim.tv_sec) * 1000000000 +
                                           st.st_mtim.tv_nsec);
  ::mkdir((dir_ + "/sub").c_str(), 0700);
  Write(path_, "lumoa font matches 1\ns\n"
               "good\t1\t" + font_ + "\t0\tFam\t" + state + "\n"
               "few\t1\t" + font_ + "\n"
               "badflag\t7\t" + font_ + "\t0\tFam\t" + state + "\n"
               "badindex\t1\t" + font_ + "\t-1\tFam\t" + state + "\n"
               "nofile\t1\t\t0\tFam\t1\t1\n"
               "toomany\t1\t" + font_ + "\t0\tFam\t" + state + "\textra\n"
               "torn\t1\t" + font_ + "\t0\tFa");
  FontMatchCache cache = Opened("s");
  ASSERT_TRUE(cache.Loaded());
  EXPECT_NE(cache.Find("good"), nullptr);
  for (const char* bad : {"few", "badflag", "badindex", "nofile", "toomany", "torn"}) {
    EXPECT_EQ(cache.Find(bad), nullptr) << bad;
  }

  for (const std::string& text : {std::string("lumoa font matches 2\ns\n"), std::string("s\n"),
                                  std::string("\x89PNG\r\n\x1a\n"), std::string()}) {
    Write(path_, text);
    FontMatchCache foreign = Opened("s");
    EXPECT_FALSE(foreign.Loaded()) << text;
    foreign.Put("k", Face());  // and it is written anew
    FontMatchCache rebuilt = Opened("s");
    EXPECT_TRUE(rebuilt.Loaded());
    EXPECT_NE(rebuilt.Find("k"), nullptr);
  }
}

TEST_F(FontMatchCacheTest, AnswersThatCannotBeStoredStayForTheRun) {
  FontMatchCache cache = Opened("s");
  cache.Put("tab\tkey", Face());
  cache.Put("ok", FontMatch{true, font_, 0, "Line\nBreak"});
  cache.Put("fine", Face());
  EXPECT_NE(cache.Find("tab\tkey"), nullptr);
  EXPECT_NE(cache.Find("ok"), nullptr);
  const std::string stored = Read(path_);
  EXPECT_EQ(stored.find("tab"), std::string::npos) << stored;
  EXPECT_EQ(stored.find("Line"), std::string::npos) << stored;
  EXPECT_NE(stored.find("fine\t1\t"), std::string::npos) << stored;
  // Nothing is left of the file written aside.
  for (const auto& entry : std::filesystem::directory_iterator(dir_ + "/sub")) {
    EXPECT_EQ(entry.path().filename().string().find("tmp"), std::string::npos) << entry.path();
  }
}

TEST_F(FontMatchCacheTest, NoPathKeepsNothingOnDisk) {
  FontMatchCache cache;
  cache.Open("", "s");
  cache.Put("k", Face());
  EXPECT_NE(cache.Find("k"), nullptr);
  EXPECT_FALSE(cache.Loaded());
}

// Whatever decides fontconfig's answers moves the stamp: its configuration file's contents and
// the environment it reads. Asking twice with nothing changed gives the same stamp.
TEST_F(FontMatchCacheTest, StampFollowsConfigurationAndEnvironment) {
  const std::string conf = dir_ + "/fonts.conf";
  Write(conf, "<fontconfig/>");
  const ScopedEnv file("FONTCONFIG_FILE", conf.c_str());
  const std::string first = FontconfigStamp();
  EXPECT_EQ(first.size(), 16u);
  EXPECT_EQ(FontconfigStamp(), first);
  Write(conf, "<fontconfig><dir>/opt/fonts</dir></fontconfig>");
  const std::string edited = FontconfigStamp();
  EXPECT_NE(edited, first);
  const ScopedEnv lang("LANG", "zh_CN.UTF-8");
  EXPECT_NE(FontconfigStamp(), edited);
}

TEST(FontMatchCachePath, FollowsTheUsersCacheFolder) {
  const ScopedEnv xdg("XDG_CACHE_HOME", "/somewhere/cache");
  {
    const ScopedEnv unforced("LUMOA_FONT_CACHE", nullptr);
    EXPECT_EQ(FontMatchCachePath(), "/somewhere/cache/lumoa/font-matches");
  }
  const ScopedEnv forced("LUMOA_FONT_CACHE", "");
  EXPECT_EQ(FontMatchCachePath(), "");
}

}  // namespace
}  // namespace lumoa::platform
