#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <string>
#include <vector>

#include "ConfigTestFiles.h"
#include "RecordingFomBuilder.h"
#include "config/DtFedReader.h"
#include "rti/util/NotifyCapture.h"

namespace {

using Calls = std::vector<std::string>;

// A FED text from its three model sections; the defaults make a minimal
// valid file.
std::string fed(
    const std::string& spaces = "(spaces)",
    const std::string& objects = "(objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp)))",
    const std::string& interactions = "(interactions (class InteractionRoot best_effort receive))") {
  return "(FED (Federation Test) (FEDversion v1.3)\n " + spaces + "\n " + objects + "\n " + interactions + ")\n";
}

const std::string rootCalls[] = {"objclass ObjectRoot base=-",
                                 "attribute ObjectRoot privilegeToDelete reliable timestamp space=-"};
const std::string interRoot = "interclass InteractionRoot base=- best_effort receive space=-";

// How the reader shows the shape of the whole file in a refusal.
const std::string fedShape =
    "(FED (Federation name) (FEDversion version) (spaces ...) (objects ...) (interactions ...))";

struct FedCase {
  const char* what;
  std::string text;
  int result;
  std::string errors;  // what is printed at notify level 1 before the refusal
  std::string where;   // a refused file's line and what was expected there
  Calls calls;         // what reached the builder, in order
};

class DtFedReaderCases : public ::testing::TestWithParam<FedCase> {};

TEST_P(DtFedReaderCases, ResultMessagesAndBuilderCalls) {
  const FedCase& c = GetParam();
  ScratchDirectory dir;
  const std::string file = dir.write("case.fed", c.text);
  RecordingFomBuilder builder;
  NotifyCapture capture(1);
  DtFedReader reader;
  EXPECT_EQ(reader.readFed(file.c_str(), &builder), c.result);
  // Every refusal names the file, the line and what was expected, at level
  // 1 after the file's own message, and as the reader's reason.
  const std::string refusal = c.where.empty() ? "" : file + ", line " + c.where;
  EXPECT_EQ(reader.refusal(), refusal);
  EXPECT_EQ(capture.text(), c.errors + (refusal.empty() ? "" : refusal + "\n"));
  EXPECT_EQ(builder.calls, c.calls);
}

const FedCase fedCases[] = {
    {"an empty file", "", 2, "Unable to find FED in fedfile\n", "1: expected (FED ...), found nothing", {}},
    {"only a comment without a final newline",
     ";; nothing here",
     2,
     "Unable to find FED in fedfile\n",
     "1: expected (FED ...), found nothing",
     {}},
    {"a bare word", "FED", 2, "", "1: expected " + fedShape + ", found FED", {}},
    {"five of the six parts",
     "(FED (Federation f) (FEDversion v) (spaces) (objects (class ObjectRoot)))",
     2,
     "",
     "1: expected " + fedShape + ", a list of 6 elements, found 5 elements",
     {}},
    {"seven parts",
     "(FED (Federation f) (FEDversion v) (spaces) (spaces) (spaces) (spaces))",
     2,
     "",
     "1: expected " + fedShape + ", a list of 6 elements, found 7 elements",
     {}},
    {"a first word other than FED",
     "(fed (Federation f) (FEDversion v) (spaces) (objects x) (interactions y))",
     2,
     "Symbol FED not found\n",
     "1: expected the word FED first, found fed",
     {}},
    {"FED written as a string",
     "(\"FED\" (Federation f) (FEDversion v) (spaces) (objects x) (interactions y))",
     2,
     "Symbol FED not found\n",
     "1: expected the word FED first, found \"FED\"",
     {}},
    {"no Federation",
     "(FED (Federate f) (FEDversion v) (spaces) (objects x) (interactions y))",
     2,
     "Symbol Federation not found\n",
     "1: expected (Federation name), found (Federate ...)",
     {}},
    {"no FEDversion",
     "(FED (Federation f) (FEDVersion v) (spaces) (objects x) (interactions y))",
     2,
     "Symbol FEDversion not found\n",
     "1: expected (FEDversion version), found (FEDVersion ...)",
     {}},
    {"no spaces",
     fed("(space)"),
     2,
     "Symbol spaces not found\n",
     "2: expected (spaces (space ...) ...), found (space)",
     {}},
    {"spaces and their dimensions",
     fed("(spaces (space Geo (dimension X) (dimension \"Y\")) (space Empty))"),
     0,
     "",
     "",
     {"space Geo", "dimension Geo X", "dimension Geo Y", "space Empty", rootCalls[0], rootCalls[1], interRoot}},
    {"a space without a name keeps what came before it",
     fed("(spaces (space A (dimension x)) (space))"),
     2,
     "Error: car of non-cons\nUnexpected problem reading fed file\n",
     "2: expected (space name (dimension name) ...), found a space without a name",
     {"space A", "dimension A x"}},
    {"a list that is not a space",
     fed("(spaces (spaces A))"),
     2,
     "Symbol space not found\n",
     "2: expected (space name (dimension name) ...), found (spaces ...)",
     {}},
    {"a dimension with two names",
     fed("(spaces (space S (dimension x y)))"),
     2,
     "",
     "2: expected (dimension name), a list of 2 elements, found 3 elements",
     {"space S"}},
    {"a dimension misspelt",
     fed("(spaces (space S (dimensions x)))"),
     2,
     "Symbol dimension not found\n",
     "2: expected (dimension name), found (dimensions ...)",
     {"space S"}},
    {"objects with two roots",
     fed("(spaces)", "(objects (class ObjectRoot) (class ObjectRoot))"),
     2,
     "",
     "3: expected (objects (class ObjectRoot ...)), every class within ObjectRoot, a list of 2 elements, found 3 "
     "elements",
     {}},
    {"objects misspelt",
     fed("(spaces)", "(object (class ObjectRoot))"),
     2,
     "Symbol objects not found\n",
     "3: expected (objects (class ObjectRoot ...)), found (object ...)",
     {}},
    {"an object root of another name",
     fed("(spaces)", "(objects (class Root))"),
     2,
     "ObjectRoot not found\n",
     "3: expected the root class ObjectRoot, found Root",
     {}},
    {"the object root in lower case",
     fed("(spaces)", "(objects (class objectroot (class A)))"),
     0,
     "",
     "",
     {"objclass objectroot base=-", "objclass objectroot.A base=objectroot", interRoot}},
    {"the root list without its class word",
     fed("(spaces)", "(objects (klass ObjectRoot))"),
     2,
     "Symbol class not found\n",
     "3: expected (class name ...), found (klass ...)",
     {}},
    {"nested classes get full names",
     fed("(spaces)", "(objects (class ObjectRoot (class A (class B)) (class C)))"),
     0,
     "",
     "",
     {"objclass ObjectRoot base=-", "objclass ObjectRoot.A base=ObjectRoot",
      "objclass ObjectRoot.A.B base=ObjectRoot.A", "objclass ObjectRoot.C base=ObjectRoot", interRoot}},
    {"attributes in any case, with a space, after subclasses",
     fed("(spaces (space S))",
         "(objects (class ObjectRoot (class A (attribute a best_effort receive S)) "
         "(attribute \"b c\" Reliable TimeStamp)))"),
     0,
     "",
     "",
     {"space S", "objclass ObjectRoot base=-", "objclass ObjectRoot.A base=ObjectRoot",
      "attribute ObjectRoot.A a best_effort receive space=S", "attribute ObjectRoot b c reliable timestamp space=-",
      interRoot}},
    {"an attribute of an unknown transport",
     fed("(spaces)", "(objects (class ObjectRoot (attribute a fast receive)))"),
     2,
     "Invalid TransportType for Attribute: a\n",
     "3: expected the transport best_effort or reliable for a, found fast",
     {"objclass ObjectRoot base=-"}},
    {"an attribute of an unknown order",
     fed("(spaces)", "(objects (class ObjectRoot (attribute a reliable soon)))"),
     2,
     "Invalid OrderType for Attribute: a\n",
     "3: expected the order receive or timestamp for a, found soon",
     {"objclass ObjectRoot base=-"}},
    {"a transport written as a number",
     fed("(spaces)", "(objects (class ObjectRoot (attribute a 1 receive)))"),
     2,
     "Invalid TransportType for Attribute: a\n",
     "3: expected the transport best_effort or reliable for a, found 1",
     {"objclass ObjectRoot base=-"}},
    {"an attribute without its order",
     fed("(spaces)", "(objects (class ObjectRoot (attribute a reliable)))"),
     2,
     "",
     "3: expected (attribute name transport order [space]), a list of 4 or 5 elements, found 3 elements",
     {"objclass ObjectRoot base=-"}},
    {"an attribute with six parts",
     fed("(spaces)", "(objects (class ObjectRoot (attribute a reliable receive S x)))"),
     2,
     "",
     "3: expected (attribute name transport order [space]), a list of 4 or 5 elements, found 6 elements",
     {"objclass ObjectRoot base=-"}},
    {"a member that is neither attribute nor class",
     fed("(spaces)", "(objects (class ObjectRoot (parameter p)))"),
     2,
     "Unexpected symbol found\n",
     "3: expected (attribute name transport order [space]) or (class ...), found (parameter ...)",
     {"objclass ObjectRoot base=-"}},
    {"a bare word among the members",
     fed("(spaces)", "(objects (class ObjectRoot reliable))"),
     2,
     "Unexpected symbol found\n",
     "3: expected (attribute name transport order [space]) or (class ...), found reliable",
     {"objclass ObjectRoot base=-"}},
    {"a failing part stops the walk",
     fed("(spaces)", "(objects (class ObjectRoot (class A (attribute a x y)) (class B)))"),
     2,
     "Invalid TransportType for Attribute: a\n",
     "3: expected the transport best_effort or reliable for a, found x",
     {"objclass ObjectRoot base=-", "objclass ObjectRoot.A base=ObjectRoot"}},
    {"a class named by a number",
     fed("(spaces)", "(objects (class ObjectRoot (class 5)))"),
     2,
     "Error: FED names must be words or strings\nUnexpected problem reading fed file\n",
     "3: FED names must be words or strings",
     {"objclass ObjectRoot base=-"}},
    {"a class named by the empty string",
     fed("(spaces)", "(objects (class ObjectRoot (class \"\")))"),
     2,
     "Error: FED names must not be empty\nUnexpected problem reading fed file\n",
     "3: FED names must not be empty",
     {"objclass ObjectRoot base=-"}},
    {"interactions misspelt",
     fed("(spaces)", "(objects (class ObjectRoot))", "(interaction (class InteractionRoot a b))"),
     2,
     "Symbol interactions not found\n",
     "4: expected (interactions (class InteractionRoot ...)), found (interaction ...)",
     {"objclass ObjectRoot base=-"}},
    {"an interaction root of another name",
     fed("(spaces)", "(objects (class ObjectRoot))", "(interactions (class Root reliable receive))"),
     2,
     "InteractionRoot not found\n",
     "4: expected the root class InteractionRoot, found Root",
     {"objclass ObjectRoot base=-"}},
    {"interaction classes with and without a space, with parameters",
     fed("(spaces (space S))", "(objects (class ObjectRoot))",
         "(interactions (class interactionroot best_effort receive"
         " (class Fire Reliable TimeStamp S (parameter Range) (parameter \"Munition Type\")"
         "   (class Gun reliable receive (parameter Calibre)))"
         " (class Talk best_effort receive (parameter Audio) (parameter Length))))"),
     0,
     "",
     "",
     {"space S", "objclass ObjectRoot base=-", "interclass interactionroot base=- best_effort receive space=-",
      "interclass interactionroot.Fire base=interactionroot reliable timestamp space=S",
      "parameter interactionroot.Fire Range", "parameter interactionroot.Fire Munition Type",
      "interclass interactionroot.Fire.Gun base=interactionroot.Fire reliable receive space=-",
      "parameter interactionroot.Fire.Gun Calibre",
      "interclass interactionroot.Talk base=interactionroot best_effort receive space=-",
      "parameter interactionroot.Talk Audio", "parameter interactionroot.Talk Length"}},
    {"an interaction class without its order",
     fed("(spaces)", "(objects (class ObjectRoot))", "(interactions (class InteractionRoot best_effort))"),
     2,
     "",
     "4: expected (class name transport order [space] ...), at least 4 elements, found 3 elements",
     {"objclass ObjectRoot base=-"}},
    {"an interaction of an unknown transport",
     fed("(spaces)", "(objects (class ObjectRoot))",
         "(interactions (class InteractionRoot best_effort receive (class X quick receive)))"),
     2,
     "Invalid TransportType for Interaction: X\n",
     "4: expected the transport best_effort or reliable for X, found quick",
     {"objclass ObjectRoot base=-", interRoot}},
    {"an interaction of an unknown order",
     fed("(spaces)", "(objects (class ObjectRoot))",
         "(interactions (class InteractionRoot best_effort receive (class X reliable later)))"),
     2,
     "Invalid OrderType for Interaction: X\n",
     "4: expected the order receive or timestamp for X, found later",
     {"objclass ObjectRoot base=-", interRoot}},
    {"a parameter with two names",
     fed("(spaces)", "(objects (class ObjectRoot))",
         "(interactions (class InteractionRoot best_effort receive (parameter a b)))"),
     2,
     "parameter must be followed by a single string\n",
     "4: expected (parameter name), a list of 2 elements, found 3 elements",
     {"objclass ObjectRoot base=-", interRoot}},
    {"an attribute among the parameters",
     fed("(spaces)", "(objects (class ObjectRoot))",
         "(interactions (class InteractionRoot best_effort receive (attribute a reliable receive)))"),
     2,
     "Unexpected symbol found\n",
     "4: expected (parameter name) or (class ...), found (attribute ...)",
     {"objclass ObjectRoot base=-", interRoot}},
    {"a missing closing parenthesis",
     "(FED (Federation f) (FEDversion v) (spaces (space S)",
     2,
     "Error: Missing \")\"\nUnexpected problem reading fed file\n",
     "1: Missing \")\"",
     {}},
    {"an unclosed string",
     "(FED (Federation \"f) (FEDversion v))",
     2,
     "Error: EOF while reading string\nUnexpected problem reading fed file\n",
     "1: EOF while reading string",
     {}},
    {"what follows the expression is not read", fed() + "(garbage", 0, "", "", {rootCalls[0], rootCalls[1], interRoot}},
    // What files written for other RTIs hold: refused, each saying where.
    {"a Federate entry among the parts",
     "(FED (Federation f) (FEDversion v1.3)\n (Federate \"fed\" \"Public\")\n (spaces) (objects x) (interactions y))",
     2,
     "",
     "1: expected " + fedShape + ", a list of 6 elements, found 7 elements; (Federate ...) is none of these",
     {}},
    {"a security level among a class's members",
     fed("(spaces)", "(objects (class ObjectRoot\n  (class A (Sec_Level \"Public\"))))"),
     2,
     "Unexpected symbol found\n",
     "4: expected (attribute name transport order [space]) or (class ...), found (Sec_Level ...)",
     {"objclass ObjectRoot base=-", "objclass ObjectRoot.A base=ObjectRoot"}},
    {"objects in mixed case",
     fed("(spaces)", "(Objects (class ObjectRoot))"),
     2,
     "Symbol objects not found\n",
     "3: expected (objects (class ObjectRoot ...)), found (Objects ...)",
     {}},
    {"a class beside the object root",
     fed("(spaces)", "(objects (class ObjectRoot)\n  (class Platform))"),
     2,
     "",
     "3: expected (objects (class ObjectRoot ...)), every class within ObjectRoot, a list of 2 elements, found 3 "
     "elements",
     {}},
};

INSTANTIATE_TEST_SUITE_P(Table, DtFedReaderCases, ::testing::ValuesIn(fedCases),
                         [](const ::testing::TestParamInfo<FedCase>& info) {
                           std::string name = std::to_string(info.index) + "_" + info.param.what;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST(DtFedReader, TheTraceShowsEveryPartAndTheRootsHaveNoBase) {
  ScratchDirectory dir;
  const std::string file = dir.write("trace.fed", fed("(spaces (space S (dimension d)))",
                                                      "(objects (class ObjectRoot (attribute p reliable timestamp S)"
                                                      " (class A (attribute a best_effort receive))))",
                                                      "(interactions (class InteractionRoot best_effort receive"
                                                      " (class X reliable timestamp S (parameter q))))"));
  NotifyCapture capture(3);
  DtFedReader reader;
  EXPECT_EQ(reader.readFed(file.c_str(), nullptr), DtFedReader::accepted) << "no builder: only read and walked";
  EXPECT_EQ(capture.text(),
            "Reading FED file: " + file +
                "\n"
                "Space: S\n"
                "Dimension: d\n"
                "Class: ObjectRoot, Base: (null) \n"
                "Attribute: p, transport: reliable, order: timestamp, space: S\n"
                "Class: ObjectRoot.A, Base: ObjectRoot \n"
                "Attribute: a, transport: best_effort, order: receive\n"
                "Class: InteractionRoot, base: (null), transport: best_effort, order: receive\n"
                "Class: InteractionRoot.X, base: InteractionRoot, transport: reliable, order: timestamp, "
                "space: S\n"
                "Parameter: q\n");
}

TEST(DtFedReader, ABareWordIsNamedOnlyInTheTrace) {
  ScratchDirectory dir;
  NotifyCapture capture(3);
  DtFedReader reader;
  EXPECT_EQ(reader.readFed(dir.write("word.fed", "hello").c_str(), nullptr), DtFedReader::badFile);
  EXPECT_NE(capture.text().find("File is not a fed file\n"), std::string::npos);
}

TEST(DtFedReader, AMissingFileIsResultOne) {
  ScratchDirectory dir(true);
  ScopedEnv config("RTI_CONFIG", dir.path().c_str());
  NotifyCapture capture(1);
  RecordingFomBuilder builder;
  DtFedReader reader;
  EXPECT_EQ(reader.readFed("nowhere.fed", &builder), DtFedReader::noFile);
  EXPECT_EQ(capture.text(), "No such FED file: nowhere.fed\n");
  EXPECT_TRUE(builder.calls.empty());
}

TEST(DtFedReader, AFileNotFoundHereIsLookedForUnderRtiConfig) {
  ScratchDirectory work(true);
  ScratchDirectory config;
  config.write("fom.fed", fed());
  // A trailing backslash, as a configuration written elsewhere may carry.
  ScopedEnv env("RTI_CONFIG", (config.path() + "\\").c_str());
  NotifyCapture capture(3);
  RecordingFomBuilder builder;
  DtFedReader reader;
  EXPECT_EQ(reader.readFed("fom.fed", &builder), DtFedReader::accepted);
  EXPECT_EQ(capture.pieces.at(0).text, "Reading FED file: " + config.path() + "/fom.fed\n");

  // The working directory comes first.
  work.write("fom.fed", fed("(spaces (space Here))"));
  builder.calls.clear();
  capture.clear();
  EXPECT_EQ(reader.readFed("fom.fed", &builder), DtFedReader::accepted);
  EXPECT_EQ(capture.pieces.at(0).text, "Reading FED file: fom.fed\n");
  EXPECT_EQ(builder.calls.at(0), "space Here");

  // A name with backslashes is a path here as well as under RTI_CONFIG.
  work.write("sub/fom.fed", fed());
  capture.clear();
  EXPECT_EQ(reader.readFed("sub\\fom.fed", &builder), DtFedReader::accepted);
  EXPECT_EQ(capture.pieces.at(0).text, "Reading FED file: sub/fom.fed\n");

  // An empty RTI_CONFIG is no directory at all (not the root directory).
  ScopedEnv empty("RTI_CONFIG", "");
  NotifyCapture quiet(1);
  EXPECT_EQ(reader.readFed("other.fed", &builder), DtFedReader::noFile);
}

// Counts the lists that start with the word in the file's text, comments left out.
int countLists(const std::string& text, const std::string& keyword) {
  const std::string code = std::regex_replace(text, std::regex(";[^\n]*"), "");
  const std::regex list("\\(\\s*" + keyword + "[\\s)]");
  return static_cast<int>(std::distance(std::sregex_iterator(code.begin(), code.end(), list), std::sregex_iterator()));
}

int countCalls(const Calls& calls, const std::string& kind) {
  int count = 0;
  for (const std::string& call : calls) count += call.rfind(kind + " ", 0) == 0;
  return count;
}

TEST(DtFedReader, TheLargeModelReadsCompletely) {
  const std::string path = std::string(QLX_TEST_SOURCE_DIR) + "/data/large-fom.fed";
  const std::string text = readWholeFile(path);
  ASSERT_FALSE(text.empty()) << path;

  RecordingFomBuilder builder;
  NotifyCapture capture(1);
  DtFedReader reader;
  ASSERT_EQ(reader.readFed(path.c_str(), &builder), DtFedReader::accepted);
  EXPECT_EQ(capture.text(), "");

  const int classes = countLists(text, "class");
  EXPECT_GT(classes, 500) << "several hundred classes";
  EXPECT_EQ(countCalls(builder.calls, "objclass") + countCalls(builder.calls, "interclass"), classes);
  EXPECT_EQ(countCalls(builder.calls, "attribute"), countLists(text, "attribute"));
  EXPECT_EQ(countCalls(builder.calls, "parameter"), countLists(text, "parameter"));
  EXPECT_EQ(countCalls(builder.calls, "space"), countLists(text, "space"));
  EXPECT_EQ(countCalls(builder.calls, "dimension"), countLists(text, "dimension"));

  // The classes the monitor's federate needs, with their full names.
  auto has = [&](const std::string& call) {
    return std::find(builder.calls.begin(), builder.calls.end(), call) != builder.calls.end();
  };
  EXPECT_TRUE(has("objclass ObjectRoot.EmbeddedSystem.RadioTransmitter base=ObjectRoot.EmbeddedSystem"));
  EXPECT_TRUE(
      has("attribute ObjectRoot.EmbeddedSystem.RadioTransmitter Frequency best_effort receive space=RadioSpace"));
  EXPECT_TRUE(
      has("interclass InteractionRoot.RadioSignal.EncodedAudioRadioSignal base=InteractionRoot.RadioSignal "
          "best_effort receive space=RadioSpace"));
  EXPECT_TRUE(has("parameter InteractionRoot.RadioSignal.EncodedAudioRadioSignal AudioData"));
}

}  // namespace
