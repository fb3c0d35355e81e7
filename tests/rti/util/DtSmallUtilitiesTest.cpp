#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "util/DtStringFunctions.h"
#include "util/DtTimeFormat.h"

namespace {

TEST(DtFormatTime, TimeOfDayWithDecimals) {
  struct Case {
    double hours;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {13.5, 1, "13:30:00.0"},
      {-0.25, 0, "-0:15:00"},
      {1.0 / 3600, 2, "0:00:01.00"},
      {0.0, 0, "0:00:00"},
      {25.9999999, 0, "26:00:00"},
      {1.0 / 7200, 0, "0:00:01"},
      {100000.0, 3, "100000:00:00.000"},
      {0.5, 12, "0:30:00.000000000"},
      {0.5, -3, "0:30:00"},
      {NAN, 1, "nan"},
  };
  for (const Case& c : cases) {
    char buffer[64];
    EXPECT_STREQ(DtFormatTime(c.hours, buffer, sizeof buffer, c.decimals), c.text) << c.hours << " " << c.decimals;
  }
}

TEST(DtFormatTime, TheBufferLengthIsRespected) {
  char small[5];
  EXPECT_STREQ(DtFormatTime(13.5, small, 1), "13:3");
  char huge[64];
  const std::string text = DtFormatTime(-1e300, huge, sizeof huge, 9);
  EXPECT_EQ(text[0], '-');
  EXPECT_STREQ(DtTimeToString(13.5), "13:30:00.0");
}

TEST(DtStringFunctions, CopiesCaseAndSearch) {
  EXPECT_EQ(DtStrdup(nullptr), nullptr);
  const char* original = "Fed-1";
  char* copy = DtStrdup(original);
  EXPECT_STREQ(copy, original);
  EXPECT_NE(copy, original);
  EXPECT_STREQ(DtToUpper(copy), "FED-1");
  EXPECT_STREQ(DtToLower(copy), "fed-1");
  delete[] copy;
  char accented[] = "\xc3\x89t\xc3\xa9";
  EXPECT_STREQ(DtToUpper(accented), "\xc3\x89T\xc3\xa9") << "only ASCII letters change";
  EXPECT_EQ(DtToLower(nullptr), nullptr);

  const int values[] = {3, 7, 0, 9};
  EXPECT_EQ(DtFindIndex(values, 7), 1);
  EXPECT_EQ(DtFindIndex(values, 9), -1) << "the search stops at 0";
  EXPECT_EQ(DtFindIndex(values, 3), 0);
}

std::vector<std::string> splitAndFree(const char* line, int* count) {
  char** argv = DtMakeArgv(line, count);
  std::vector<std::string> words;
  for (int i = 0; i < *count; ++i) words.push_back(argv[i]);
  EXPECT_EQ(argv[*count], nullptr);
  for (int i = 1; i < *count; ++i) delete[] argv[i];
  return words;
}

TEST(DtStringFunctions, CommandLinesSplitAtBlanks) {
  int count = 0;
  EXPECT_EQ(splitAndFree("a b  c", &count), (std::vector<std::string>{"main", "a", "b", "c"}));
  EXPECT_EQ(count, 4);
  EXPECT_EQ(DtCountArgs("a b  c"), 4);
  EXPECT_EQ(splitAndFree("   ", &count), (std::vector<std::string>{"main"}));
  EXPECT_EQ(splitAndFree(nullptr, &count), (std::vector<std::string>{"main"}));
  EXPECT_EQ(DtCountArgs(nullptr), 1);
}

TEST(DtStringFunctions, ALineOfMoreThan99WordsIsSplitWhole) {
  std::string line;
  for (int i = 0; i < 150; ++i) line.append("w").append(std::to_string(i)).append(" ");
  int count = 0;
  const std::vector<std::string> words = splitAndFree(line.c_str(), &count);
  EXPECT_EQ(count, 151);
  EXPECT_EQ(words.back(), "w149");
  EXPECT_EQ(DtCountArgs(line.c_str()), 151);
}

}  // namespace
