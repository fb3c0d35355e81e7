#include <gtest/gtest.h>

#include "util/DtFilename.h"

namespace {

TEST(DtFilename, SeparatorsAreNormalisedAndAbsolutePathsRecognised) {
  struct Case {
    const char* input;
    const char* text;
    bool absolute;
  };
  const Case cases[] = {
      {"dir\\sub\\f.fed", "dir/sub/f.fed", false},
      {"/x/y", "/x/y", true},
      {"\\x", "/x", true},
      {"x/y", "x/y", false},
      {"C:\\x", "C:/x", false},
      {"", "", false},
  };
  for (const Case& c : cases) {
    DtFilename name(c.input);
    EXPECT_STREQ(name.string(), c.text) << c.input;
    EXPECT_EQ(name.isAbsolute(), c.absolute) << c.input;
    EXPECT_EQ(name.isRelative(), !c.absolute) << c.input;
  }
  EXPECT_EQ(DtFilename::separator(), '/');
  EXPECT_STREQ(DtFilename::nullFilename().string(), "");
}

TEST(DtFilename, AssignmentsNormalise) {
  DtFilename name;
  name = "a\\b";
  EXPECT_EQ(name, "a/b");
  name = DtString("c\\d");
  EXPECT_EQ(name, "c/d");
  DtFilename other("e\\f");
  name = other;
  EXPECT_EQ(name, "e/f");
  EXPECT_EQ(DtFilename(DtString("g\\h")), "g/h");
}

TEST(DtFilename, JoiningADirectoryAndAFile) {
  struct Case {
    const char* directory;
    const char* file;
    const char* joined;
  };
  const Case cases[] = {
      {"../plugins", "p.so", "../plugins/p.so"},
      {"..\\plugins", "sub\\p.so", "../plugins/sub/p.so"},
      {"../plugins", "/usr/lib/p.so", "/usr/lib/p.so"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ((DtFilename(c.directory) + DtFilename(c.file)).string(), c.joined) << c.file;
  }
}

TEST(DtFilename, BaseName) {
  struct Case {
    const char* path;
    const char* base;
  };
  for (const Case& c :
       {Case{"a/b/c.fed", "c.fed"}, Case{"c.fed", "c.fed"}, Case{"/c.fed", "/c.fed"}, Case{"a\\c.fed", "c.fed"}}) {
    EXPECT_STREQ(DtFilename(c.path).baseName().string(), c.base) << c.path;
  }
}

}  // namespace
