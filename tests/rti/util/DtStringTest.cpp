#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>

#include "util/DtString.h"

namespace {

TEST(DtString, ShortTextsStayInlineAndLongerOnesTakeAnExactHeapBlock) {
  struct Case {
    std::size_t length;
    std::size_t capacity;
  };
  for (const Case& c : {Case{0, 64}, Case{1, 64}, Case{63, 64}, Case{64, 65}, Case{200, 201}}) {
    const std::string text(c.length, 'x');
    DtString s(text.c_str());
    EXPECT_EQ(s.capacity(), c.capacity) << c.length;
    EXPECT_EQ(s.length(), static_cast<int>(c.length));
    EXPECT_STREQ(s.string(), text.c_str());
  }
}

TEST(DtString, AppendAtLeastDoublesTheBlockWhenTheTextOutgrowsIt) {
  DtString s(std::string(63, 'a').c_str());
  s += "";
  EXPECT_EQ(s.capacity(), 64u);
  s += "b";
  EXPECT_EQ(s.capacity(), 128u);
  EXPECT_EQ(s.length(), 64);
  EXPECT_EQ(s[63], 'b');
  s += DtString("cd");
  EXPECT_EQ(s.capacity(), 128u) << "fits the room left";
  EXPECT_STREQ(s.string() + 63, "bcd");
  s += std::string(300, 'z').c_str();
  EXPECT_EQ(s.capacity(), 367u) << "a tail longer than the doubled block takes what it needs";

  DtString built;
  int blocks = 0;
  std::size_t last = built.capacity();
  for (int i = 0; i < 100000; ++i) {
    built += "x";
    if (built.capacity() != last) ++blocks;
    last = built.capacity();
  }
  EXPECT_EQ(built.length(), 100000);
  EXPECT_LE(blocks, 11) << "100,000 single appends take a new block only a logarithmic number of times";
}

// Appends start where the text ends, however the text got there.
TEST(DtString, AppendFollowsEveryWayTheTextChanges) {
  const std::string grown(100, 'g');
  struct Case {
    const char* name;
    std::function<void(DtString&)> change;
    std::string expected;  // after the change and an append of "Z"
  };
  const Case cases[] = {
      {"NUL written through []", [](DtString& s) { s[5] = '\0'; }, "gggggZ"},
      {"character written through []", [](DtString& s) { s[5] = 'h'; }, "gggggh" + std::string(94, 'g') + "Z"},
      {"keepBefore",
       [](DtString& s) {
         s += ".tail";
         s.keepBefore('.', false);
       },
       grown + "Z"},
      {"keepAfter",
       [](DtString& s) {
         s += ".tail";
         s.keepAfter('.', false);
       },
       "tailZ"},
      {"null text", [](DtString& s) { s.setString(nullptr); }, "Z"},
      {"shorter text", [](DtString& s) { s = "abc"; }, "abcZ"},
      {"shorter string", [](DtString& s) { s = DtString("de"); }, "deZ"},
      {"own suffix", [](DtString& s) { s.setString(s.string() + 98); }, "ggZ"},
      {"own text appended", [](DtString& s) { s += s.string(); }, grown + grown + "Z"},
  };
  for (const Case& c : cases) {
    DtString s(grown.c_str());
    c.change(s);
    s += "Z";
    EXPECT_EQ(std::string(s.string()), c.expected) << c.name;
    EXPECT_EQ(s.length(), static_cast<int>(c.expected.size())) << c.name;
    DtString copy(s);
    copy += "!";
    EXPECT_EQ(std::string(copy.string()), c.expected + "!") << c.name;
  }
}

TEST(DtString, AppendingItsOwnTextWorksAcrossTheMoveToTheHeap) {
  DtString s(std::string(40, 'q').c_str());
  s += s.string();
  EXPECT_EQ(s.length(), 80);
  EXPECT_EQ(std::string(s.string()), std::string(80, 'q'));
}

TEST(DtString, NullTextsAreEmpty) {
  DtString s(static_cast<const char*>(nullptr));
  EXPECT_STREQ(s.string(), "");
  EXPECT_EQ(s.length(), 0);
  DtString grown(std::string(100, 'z').c_str());
  grown.setString(nullptr);
  EXPECT_STREQ(grown.string(), "");
  EXPECT_EQ(grown.capacity(), 101u) << "emptying keeps the block";
  grown += static_cast<const char*>(nullptr);
  EXPECT_STREQ(grown.string(), "");
  EXPECT_STREQ(DtString::nullString().string(), "");
}

TEST(DtString, CopiesAndAssignmentsKeepValuesApart) {
  DtString big(std::string(100, 'b').c_str());
  DtString copy(big);
  EXPECT_EQ(copy.capacity(), 101u);
  EXPECT_EQ(copy, big);
  copy[0] = 'c';
  EXPECT_EQ(big[0], 'b');

  DtString small("s");
  small = big;
  EXPECT_EQ(small.capacity(), 101u);
  EXPECT_EQ(small, big);
  small = "tiny";
  EXPECT_EQ(small.capacity(), 101u) << "a shorter text reuses the block";
  EXPECT_EQ(small, "tiny");
  small = small;
  EXPECT_EQ(small, "tiny");
  small.setString(small.string());
  EXPECT_EQ(small, "tiny");
  small.setString(small.string() + 2);
  EXPECT_EQ(small, "ny");

  DtString* heapCopy = big.copy();
  EXPECT_EQ(*heapCopy, big);
  delete heapCopy;
}

TEST(DtString, NumbersAreFormattedAsPrintfWould) {
  EXPECT_EQ(DtString(-5), "-5");
  EXPECT_EQ(DtString(-7L), "-7");
  EXPECT_EQ(DtString(4294967295u), "4294967295");
  EXPECT_EQ(DtString(18446744073709551615ul), "18446744073709551615");
  EXPECT_EQ(DtString(1.5), "1.500000");
}

TEST(DtString, AHugeDoubleMovesToTheHeapInsteadOfOverflowingTheInlineBuffer) {
  for (double value : {1e300, -1.7e308}) {
    char expected[512];
    std::snprintf(expected, sizeof expected, "%lf", value);
    DtString s(value);
    EXPECT_STREQ(s.string(), expected);
    EXPECT_EQ(s.capacity(), std::strlen(expected) + 1);
  }
}

TEST(DtString, KeepAfterAndKeepBefore) {
  struct Case {
    const char* text;
    bool after;
    bool flag;
    bool found;
    const char* result;
  };
  const Case cases[] = {
      {"a.b.c", true, false, true, "b.c"}, {"a.b.c", true, true, true, "c"},   {"a.b.c", false, false, true, "a.b"},
      {"a.b.c", false, true, true, "a"},   {"abc", true, false, false, "abc"}, {"abc", false, true, false, "abc"},
      {"abc.", true, true, true, ""},      {".abc", false, true, true, ""},
  };
  for (const Case& c : cases) {
    DtString s(c.text);
    const bool found = c.after ? s.keepAfter('.', c.flag) : s.keepBefore('.', c.flag);
    EXPECT_EQ(found, c.found) << c.text << " after=" << c.after << " flag=" << c.flag;
    EXPECT_EQ(s, c.result) << c.text << " after=" << c.after << " flag=" << c.flag;
  }
}

TEST(DtString, ComparisonsCountingAndConcatenation) {
  DtString a("apple");
  DtString b("banana");
  EXPECT_TRUE(a < b);
  EXPECT_TRUE(a <= "apple");
  EXPECT_TRUE(b > a);
  EXPECT_TRUE(b >= "banana");
  EXPECT_TRUE(a != b);
  EXPECT_TRUE("apple" == a);
  EXPECT_TRUE(a.equalNoCase("APPLE"));
  EXPECT_TRUE(a.equalNoCase(DtString("aPPle")));
  EXPECT_FALSE(a.equalNoCase("apples"));
  EXPECT_EQ(b.count('a'), 3);
  EXPECT_EQ(b.count('z'), 0);
  EXPECT_EQ(a + b, "applebanana");
  EXPECT_EQ(a + "-pie", "apple-pie");
  EXPECT_EQ(a, "apple") << "operator+ leaves its operands";
}

std::string written(const char* text) {
  std::ostringstream out;
  out << DtString(text);
  return out.str();
}

TEST(DtString, TextsWithBlanksAreQuotedOnOutput) {
  EXPECT_EQ(written("a b"), "\"a b\"");
  EXPECT_EQ(written("ab"), "ab");
  EXPECT_EQ(written(" a"), " a") << "a leading blank is not quoted";
  EXPECT_EQ(written(""), "");
}

TEST(DtString, QuotedTextsReadBackAsOneValue) {
  for (const char* text : {"a b", "one two three", "plain", "x \"y"}) {
    std::stringstream stream;
    stream << DtString(text) << " next";
    DtString first;
    DtString second;
    stream >> first >> second;
    EXPECT_EQ(first, text);
    EXPECT_EQ(second, "next");
  }
}

TEST(DtString, InputEdgeCases) {
  struct Case {
    const char* input;
    const char* text;
  };
  for (const Case& c :
       {Case{"\"\"", ""}, Case{"\"a\"", "a"}, Case{"  word  ", "word"}, Case{"\"open ended", "open ended"}}) {
    std::istringstream in(c.input);
    DtString s("old");
    EXPECT_TRUE(static_cast<bool>(in >> s)) << c.input;
    EXPECT_EQ(s, c.text) << c.input;
  }
  std::istringstream empty("   ");
  DtString untouched("keep");
  EXPECT_FALSE(static_cast<bool>(empty >> untouched));
  EXPECT_EQ(untouched, "keep");
}

TEST(DtString, WordsLongerThan255CharactersAreReadWhole) {
  const std::string word(1000, 'w');
  std::istringstream in(word + " tail");
  DtString s;
  in >> s;
  EXPECT_EQ(s.length(), 1000);
  in >> s;
  EXPECT_EQ(s, "tail");
}

}  // namespace
