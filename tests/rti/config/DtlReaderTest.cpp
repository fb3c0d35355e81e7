#include <unistd.h>

#include <clocale>
#include <cstring>

#include "LispTestSupport.h"
#include "config/DtlCons.h"
#include "config/DtlEnv.h"
#include "config/DtlFileStream.h"

namespace {

class DtlReaderTest : public LispTest {
protected:
  DtlObjPtr Read(const char* text) {
    DtlStringStream stream(text);
    return lread(&stream, env.environment());
  }

  std::string ReadError(const char* text) {
    NotifyCapture capture(1);
    try {
      Read(text);
    } catch (const DtlObjPtr&) {
      return capture.text();
    }
    return "no error";
  }
};

struct ReadCase {
  const char* input;
  DtlTagType tag;
  const char* printed;
};

// One datum per input, with its kind and printed form.
const ReadCase readCases[] = {
    {"'x", DtlConsTag, "(quote x)"},
    {"'(a b)", DtlConsTag, "(quote (a b))"},
    {"(a (b c) \"d e\")", DtlConsTag, "(a (b c) \"d e\")"},
    {"()", DtlNilTag, "nil"},
    {"( \n )", DtlNilTag, "nil"},
    {"  ; a comment\n  (a ; inside\n b)", DtlConsTag, "(a b)"},
    {"abc;def", DtlSymbolTag, "abc;def"},
    {"a(b", DtlSymbolTag, "a"},
    {"T", DtlSymbolTag, "T"},
    {"\"line1\nline2\"", DtlStringTag, "\"line1\nline2\""},
    {"\"\"", DtlStringTag, "\"\""},
    // Numbers: the first character decides, then '.', a leading 0, an 'e'.
    {"0x1F", DtlIntegerTag, "31"},
    {"017", DtlIntegerTag, "15"},
    {"08", DtlIntegerTag, "0"},
    {"0e5", DtlIntegerTag, "0"},
    {"1e3", DtlFloatTag, "1000.000000"},
    {"2E2", DtlFloatTag, "200.000000"},
    {"12abc", DtlIntegerTag, "12"},
    {"1.5", DtlFloatTag, "1.500000"},
    {"-0.25", DtlFloatTag, "-0.250000"},
    {"0.5", DtlFloatTag, "0.500000"},
    {"-5", DtlIntegerTag, "-5"},
    {"-0x10", DtlIntegerTag, "-16"},
    {"2147483647", DtlIntegerTag, "2147483647"},
    {"2147483648", DtlIntegerTag, "-2147483648"},
    {"4294967295", DtlIntegerTag, "-1"},
    {"99999999999", DtlIntegerTag, "-1"},  // beyond 32 bits: strtoul's ULONG_MAX
    {"+5", DtlSymbolTag, "+5"},
    {".5", DtlSymbolTag, ".5"},
    {"-.5", DtlSymbolTag, "-.5"},
    {"-", DtlSymbolTag, "-"},
    {"-x", DtlSymbolTag, "-x"},
};

TEST_F(DtlReaderTest, ReadsEachKindOfDatum) {
  for (const ReadCase& c : readCases) {
    SCOPED_TRACE(c.input);
    const DtlObjPtr value = Read(c.input);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->tag(), c.tag);
    EXPECT_EQ(Printed(value), c.printed);
  }
}

TEST_F(DtlReaderTest, NestedListKeepsItsElements) {
  const DtlObjPtr list = Read("(a (b c) \"d e\")");
  ASSERT_EQ(DtcLength(list), 3);
  EXPECT_EQ(DtcLength(DtcNth(list, 2)), 2);
  EXPECT_STREQ(DtcNth(list, 3)->string(), "d e");
}

TEST_F(DtlReaderTest, LonePeriodIsASymbolNotADottedPair) {
  const DtlObjPtr list = Read("(a . b)");
  ASSERT_EQ(DtcLength(list), 3);
  EXPECT_EQ(DtcNth(list, 2)->tag(), DtlSymbolTag);
  EXPECT_STREQ(DtcNth(list, 2)->pname(), ".");
}

TEST_F(DtlReaderTest, EndOfInputIsTheInternedEofSymbol) {
  const DtlObjPtr eof = DtcIntern("eof", env.environment());
  for (const char* input : {"", "   \n\t ", "; only a comment", "; one\n; two\n"}) {
    SCOPED_TRACE(input);
    EXPECT_EQ(Read(input), eof);
  }
  // The word itself is that very symbol, so a loader stops there.
  EXPECT_EQ(Read("eof"), eof);
  Run("(setq before 1) eof (setq after 2)");
  EXPECT_TRUE(env.value("before"));
  EXPECT_FALSE(env.value("after"));
}

TEST_F(DtlReaderTest, SymbolsAreInternedOnce) {
  const DtlObjPtr list = Read("(same same Same)");
  EXPECT_EQ(DtcNth(list, 1), DtcNth(list, 2));
  EXPECT_NE(DtcNth(list, 1), DtcNth(list, 3));
  // A new name is known in the frame, bound to *unbound*.
  EXPECT_EQ(env.value("Same"), DtlUnbound());
}

TEST_F(DtlReaderTest, SyntaxErrorsRaiseTheLanguageError) {
  EXPECT_EQ(ReadError("\"abc"), "Error: EOF while reading string\n");
  EXPECT_EQ(ReadError("(a (b c)"), "Error: Missing \")\"\n");
  EXPECT_EQ(ReadError(")"), "Error: Unexpected \")\"\n");
  EXPECT_EQ(ReadError("(a ')"), "Error: Unexpected \")\"\n");
}

TEST_F(DtlReaderTest, NestingBeyondTheLimitIsALanguageErrorNotACrash) {
  const std::string deepList(100000, '(');
  EXPECT_EQ(ReadError(deepList.c_str()), "Error: Lists nested too deeply\n");
  const std::string deepQuote(100000, '\'');
  EXPECT_EQ(ReadError(deepQuote.c_str()), "Error: Lists nested too deeply\n");
  // Just inside the limit reads.
  const int depth = 1000;
  const std::string fine = std::string(depth, '(') + std::string(depth, ')');
  EXPECT_EQ(DtcLength(Read(("(" + fine + ")").c_str())), 1);
}

TEST_F(DtlReaderTest, LongTokensAreReadWhole) {
  const std::string text(5000, 'x');
  const DtlObjPtr string = Read(("\"" + text + "\"").c_str());
  EXPECT_EQ(string->string(), text);
  const DtlObjPtr symbol = Read(text.c_str());
  EXPECT_EQ(symbol->pname(), text);
  const std::string digits = "1" + std::string(3000, '0');
  EXPECT_EQ(Read(digits.c_str())->intValue(), -1);
}

TEST_F(DtlReaderTest, HighBytesAreCharactersNotTheEnd) {
  const DtlObjPtr string = Read(
      "\"a\xff"
      "b\"");
  EXPECT_STREQ(string->string(),
               "a\xff"
               "b");
  const DtlObjPtr symbol = Read("x\xffy");
  EXPECT_STREQ(symbol->pname(), "x\xffy");
  DtlStringStream stream("\xff");
  EXPECT_EQ(stream.getc(), 0xFF);
  EXPECT_EQ(stream.getc(), -1);
  EXPECT_EQ(stream.getc(), -1);
}

// Makes a comma-decimal locale available for the life of the object (the
// machine may have none installed): compiled into a temporary directory.
class CommaLocale {
public:
  CommaLocale() {
    const std::string command = "localedef -i de_DE -f UTF-8 " + dir_.path() + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    setenv("LOCPATH", dir_.path().c_str(), 1);
    active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  }
  ~CommaLocale() {
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
  }
  bool active() const { return active_; }

private:
  ScratchDirectory dir_;
  bool active_ = false;
};

TEST_F(DtlReaderTest, NumbersIgnoreTheProcessLocale) {
  // A GUI program sets the locale from the environment; a comma locale must
  // not change what a configuration file means, nor how a float prints.
  CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no comma-decimal locale can be made here";
  char check[16];
  std::snprintf(check, sizeof check, "%.1f", 2.5);
  ASSERT_STREQ(check, "2,5");
  const DtlObjPtr value = Read("2.5");
  EXPECT_DOUBLE_EQ(value->floatValue(), 2.5);
  EXPECT_EQ(Printed(value), "2.500000");
  EXPECT_DOUBLE_EQ(Read("1e3")->floatValue(), 1000.0);
}

TEST_F(DtlReaderTest, FileWhoseLastLineIsACommentEndsNormally) {
  ScratchDirectory dir;
  DtlFileStream stream(std::fopen(dir.write("f", "(a b)\n; the end, without a newline").c_str(), "r"));
  EXPECT_EQ(Printed(lread(&stream, env.environment())), "(a b)");
  EXPECT_EQ(lread(&stream, env.environment()), DtcIntern("eof", env.environment()));
}

TEST_F(DtlReaderTest, ANulByteInAFileIsRefusedNotCutShort) {
  // A C text would end at the NUL: "privileg" instead of the name written.
  ScratchDirectory dir;
  for (const std::string& content : {std::string("(a priv\0ilege)", 15), std::string("(a \"te\0xt\")", 12)}) {
    const bool inString = content.find('"') != std::string::npos;
    SCOPED_TRACE(inString ? "string" : "atom");
    NotifyCapture capture(1);
    DtlFileStream stream(std::fopen(dir.write("f", content).c_str(), "r"));
    EXPECT_THROW(lread(&stream, env.environment()), DtlObjPtr);
    EXPECT_EQ(capture.text(),
              inString ? "Error: NUL character while reading string\n" : "Error: NUL character while reading atom\n");
  }
}

TEST_F(DtlReaderTest, FailingCloseRaisesTheLanguageError) {
  ScratchDirectory dir;
  std::FILE* handle = std::fopen(dir.write("f", "x").c_str(), "r");
  close(fileno(handle));  // fclose will now fail
  NotifyCapture capture(1);
  auto* stream = new DtlFileStream(handle);
  EXPECT_THROW(delete stream, DtlObjPtr);
  EXPECT_EQ(capture.text(), "Couldn't close file\nError: Couldn't close file\n");
}

}  // namespace
