#include "platform/text/font_match_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace lumoa::platform {
namespace {

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
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

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

  std::string dir_, path_, font_;
};

TEST_F(FontMatchCacheTest, AnswersComeBackOnlyUnderTheSameStamp) {
  {
    FontMatchCache cache;
    cache.Open(path_, "stamp-a");
    EXPECT_FALSE(cache.Loaded());  // nothing stored yet
    cache.Put("family|Arial||--", Face());
    cache.Put("char|38598|--", FontMatch{});  // no face has it: that is an answer too
  }
  FontMatchCache same;
  same.Open(path_, "stamp-a");
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

  FontMatchCache other;
  other.Open(path_, "stamp-b");  // fonts or configuration changed since
  EXPECT_FALSE(other.Loaded());
  EXPECT_EQ(other.Find("family|Arial||--"), nullptr);
}

TEST_F(FontMatchCacheTest, AChangedOrRemovedFontFileIsNoAnswer) {
  {
    FontMatchCache cache;
    cache.Open(path_, "s");
    cache.Put("k", Face());
  }
  Write(font_, "a newer version of the face, longer");
  FontMatchCache changed;
  changed.Open(path_, "s");
  EXPECT_EQ(changed.Find("k"), nullptr);

  changed.Put("k", Face());  // asked again: the new file's state is kept
  FontMatchCache again;
  again.Open(path_, "s");
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
  FontMatchCache cache;
  cache.Open(path_, "s");
  ASSERT_TRUE(cache.Loaded());
  EXPECT_NE(cache.Find("good"), nullptr);
  for (const char* bad : {"few", "badflag", "badindex", "nofile", "toomany", "torn"}) {
    EXPECT_EQ(cache.Find(bad), nullptr) << bad;
  }

  for (const std::string& text : {std::string("lumoa font matches 2\ns\n"), std::string("s\n"),
                                  std::string("\x89PNG\r\n\x1a\n"), std::string()}) {
    Write(path_, text);
    FontMatchCache foreign;
    foreign.Open(path_, "s");
    EXPECT_FALSE(foreign.Loaded()) << text;
    foreign.Put("k", Face());  // and it is written anew
    FontMatchCache rebuilt;
    rebuilt.Open(path_, "s");
    EXPECT_TRUE(rebuilt.Loaded());
    EXPECT_NE(rebuilt.Find("k"), nullptr);
  }
}

TEST_F(FontMatchCacheTest, AnswersThatCannotBeStoredStayForTheRun) {
  FontMatchCache cache;
  cache.Open(path_, "s");
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
  EXPECT_EQ(std::system(("test -z \"$(ls '" + dir_ + "/sub' | grep tmp)\"").c_str()), 0);
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
  const char* oldFile = std::getenv("FONTCONFIG_FILE");
  const std::string saved = oldFile ? oldFile : "";
  const std::string conf = dir_ + "/fonts.conf";
  Write(conf, "<fontconfig/>");
  setenv("FONTCONFIG_FILE", conf.c_str(), 1);
  const std::string first = FontconfigStamp();
  EXPECT_EQ(first.size(), 16u);
  EXPECT_EQ(FontconfigStamp(), first);
  Write(conf, "<fontconfig><dir>/opt/fonts</dir></fontconfig>");
  const std::string edited = FontconfigStamp();
  EXPECT_NE(edited, first);
  const char* lang = std::getenv("LANG");
  const std::string savedLang = lang ? lang : "";
  setenv("LANG", "zh_CN.UTF-8", 1);
  EXPECT_NE(FontconfigStamp(), edited);
  if (lang) setenv("LANG", savedLang.c_str(), 1); else unsetenv("LANG");
  if (oldFile) setenv("FONTCONFIG_FILE", saved.c_str(), 1); else unsetenv("FONTCONFIG_FILE");
}

TEST(FontMatchCachePath, FollowsTheUsersCacheFolder) {
  const char* forced = std::getenv("LUMOA_FONT_CACHE");
  const std::string savedForced = forced ? forced : "";
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  const std::string savedXdg = xdg ? xdg : "";
  unsetenv("LUMOA_FONT_CACHE");
  setenv("XDG_CACHE_HOME", "/somewhere/cache", 1);
  EXPECT_EQ(FontMatchCachePath(), "/somewhere/cache/lumoa/font-matches");
  setenv("LUMOA_FONT_CACHE", "", 1);
  EXPECT_EQ(FontMatchCachePath(), "");
  if (forced) setenv("LUMOA_FONT_CACHE", savedForced.c_str(), 1); else unsetenv("LUMOA_FONT_CACHE");
  if (xdg) setenv("XDG_CACHE_HOME", savedXdg.c_str(), 1); else unsetenv("XDG_CACHE_HOME");
}

}  // namespace
}  // namespace lumoa::platform
