#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ConfigTestFiles.h"
#include "LispTestSupport.h"
#include "config/DtMtlEnvironment.h"
#include "config/DtMulticastDefinition.h"
#include "config/DtRIDParameters.h"
#include "rti/util/NotifyCapture.h"
#include "util/DtList.h"

namespace {

using Params = DtRIDParameters;

std::string lispInt(int value) { return std::to_string(value); }
std::string lispFloat(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
  return text;
}
std::string lispText(const char* value) { return "\"" + std::string(value ? value : "(null)") + "\""; }

// Every key in registration order, its value as the getter gives it (in the
// language's printed form), its default, and a value a RID file may set.
struct KeyRow {
  const char* key;
  std::function<std::string(const Params&)> get;
  const char* byDefault;
  const char* assigned;  // as written in the file, and as printed back
};

// clang-format off
#define INT_ROW(key, getter, def, set) \
  KeyRow { key, [](const Params& p) { return lispInt(p.getter()); }, def, set }
#define FLOAT_ROW(key, getter, def, set) \
  KeyRow { key, [](const Params& p) { return lispFloat(p.getter()); }, def, set }
#define TEXT_ROW(key, getter, def, set) \
  KeyRow { key, [](const Params& p) { return lispText(p.getter()); }, def, set }
// clang-format on

const std::vector<KeyRow> keyRows = {
    INT_ROW("RTI_useRtiExec", useRtiExec, "0", "1"),
    INT_ROW("RTI_udpPort", udpPort, "4000", "5123"),
    INT_ROW("RTI_checkFlag", errorChecking, "1", "0"),
    TEXT_ROW("RTI_destAddrString", destAddrString, "\"229.7.7.7\"", "\"230.1.2.3\""),
    TEXT_ROW("RTI_mcastDevAddrString", mcastDevAddrString, "\"0.0.0.0\"", "\"127.0.0.1\""),
    TEXT_ROW("RTI_minChannelAddr", minChannelAddr, "\"224.0.0.1\"", "\"225.0.0.1\""),
    TEXT_ROW("RTI_maxChannelAddr", maxChannelAddr, "\"239.255.255.255\"", "\"226.0.0.1\""),
    INT_ROW("RTI_notifyLevel", notifyLevel, "2", "4"),
    INT_ROW("RTI_dataDistMgmt", dataDistMgmt, "0", "1"),
    INT_ROW("RTI_timeMgmt", timeMgmt, "0", "1"),
    INT_ROW("RTI_internalMsgReliable", internalMsgReliable, "0", "1"),
    INT_ROW("RTI_tcpBufferSize", tcpBufferSize, "20000", "30000"),
    INT_ROW("RTI_socketReceiveBufferSize", socketReceiveBufferSize, "4194304", "60000"),
    TEXT_ROW("RTI_tcpForwarderAddr", tcpForwarderAddrString, "\"127.0.0.1\"", "\"10.1.2.3\""),
    INT_ROW("RTI_fomDataReliable", fomDataReliable, "0", "1"),
    INT_ROW("RTI_mcastTtl", mcastTtl, "2", "5"),
    INT_ROW("RTI_tcpNoDelay", tcpNoDelay, "1", "0"),
    INT_ROW("RTI_singleCallbackPerTick", singleCallbackPerTick, "0", "1"),
    INT_ROW("RTI_useRandomNumberForFedHandle", useRandomNumberForFedHandle, "0", "1"),
    INT_ROW("RTI_throwExceptionForDisabledService", throwExceptionForDisabledService, "1", "0"),
    INT_ROW("RTI_enableClassAdvisory", enableClassAdvisory, "1", "0"),
    INT_ROW("RTI_enableAttributeAdvisory", enableAttributeAdvisory, "0", "1"),
    INT_ROW("RTI_enableAttributeScopeAdvisory", enableAttributeScopeAdvisory, "0", "1"),
    INT_ROW("RTI_enableInteractionAdvisory", enableInteractionAdvisory, "1", "0"),
    INT_ROW("RTI_processUnknownUpdatesForDiscovery", processUnknownUpdatesForDiscovery, "0", "1"),
    INT_ROW("RTI_useUdpForwarders", usingUdpForwarder, "0", "1"),
    FLOAT_ROW("RTI_responseInterval", responseInterval, "3.000000", "4.500000"),
    FLOAT_ROW("RTI_federateHeartbeatInterval", federateHeartbeatInterval, "0.000000", "2.000000"),
    FLOAT_ROW("RTI_federateTimeoutInterval", federateTimeoutInterval, "0.000000", "6.250000"),
    INT_ROW("RTI_reuseLogFile", reuseLogFile, "1", "0"),
    INT_ROW("RTI_dumpFed", dumpFed, "1", "0"),
    INT_ROW("RTI_enableHlaObjectNamePrefix", enableHlaObjectNamePrefix, "0", "1"),
    FLOAT_ROW("RTI_addressDelay", addressDelay, "1.000000", "0.500000"),
    TEXT_ROW("RTI_pluginDirectory", pluginDir, "\"../plugins\"", "\"/opt/rti/plugins\""),
    TEXT_ROW("RTI_saveRestoreDirectory", saveRestoreDirectory, "\".\"", "\"/var/rti/save\""),
    TEXT_ROW("RTI_defaultFedFile", defaultFedFile, "\"\"", "\"fom.fed\""),
    INT_ROW("RTI_deleteOrphans", deleteOrphans, "1", "0"),
    INT_ROW("RTI_useBusyWaitForTickMinMax", useBusyWaitForTickMinMax, "0", "1"),
    FLOAT_ROW("RTI_tickIdleWait", tickIdleWait, "0.000000", "0.002000"),
    INT_ROW("RTI_enableRtiexecGUI", enableRtiexecGUI, "0", "1"),
    INT_ROW("RTI_saveRestoreTimeout", saveRestoreTimeout, "120", "300"),
    INT_ROW("RTI_asynchronousIO", asynchronousIO, "0", "1"),
    FLOAT_ROW("RTI_IOPeriod", IOPeriod, "0.010000", "0.250000"),
    INT_ROW("RTI_maxIOQueue", maxIOQueue, "20000", "100"),
    INT_ROW("RTI_maxIOCount", maxIOCount, "1000", "10"),
    INT_ROW("RTI_tickFavorsNetwork", tickFavorsNetwork, "1", "0"),
    INT_ROW("RTI_IOLockQueue", IOLockQueue, "500", "50"),
    INT_ROW("RTI_sendDiscoveredClass", sendDiscoveredClass, "0", "1"),
    INT_ROW("RTI_forceFullCompliance", forceFullCompliance, "0", "1"),
    INT_ROW("RTI_momServiceAvailable", momServiceAvailable, "0", "1"),
    INT_ROW("RTI_momExceptionReports", momExceptionReports, "0", "1"),
    INT_ROW("RTI_momExceptionLogging", momExceptionLogging, "0", "1"),
    INT_ROW("RTI_momFederateUpdateInterval", momFederateUpdateInterval, "0", "15"),
    INT_ROW("RTI_tcpMaxConnections", tcpMaxConnections, "1024", "16"),
    FLOAT_ROW("RTI_tcpJoinTimeout", tcpJoinTimeout, "60.000000", "5.000000"),
    INT_ROW("RTI_tcpMaxQueuedBytes", tcpMaxQueuedBytes, "33554432", "1048576"),
};

// Every test works in a scratch directory with neither RTI_RID_FILE nor
// RTI_CONFIG set, and records what is printed at level 2.
class DtRIDParametersTest : public ::testing::Test {
protected:
  ScratchDirectory work{true};
  ScopedEnv ridFile{"RTI_RID_FILE", nullptr};
  ScopedEnv config{"RTI_CONFIG", nullptr};
  NotifyCapture capture{2};

  // What a level-1 report printed, without the informational lines.
  std::string errors() const {
    std::string text;
    for (const NotifyCapture::Piece& piece : capture.pieces) {
      if (piece.text.rfind("Loading Config File: ", 0) != 0) text += piece.text;
    }
    return text;
  }
};

TEST_F(DtRIDParametersTest, WithoutAFileEveryKeyHasItsDefaultInRegistrationOrder) {
  Params p;
  EXPECT_EQ(capture.text(), "Using default RID parameters.\n");
  EXPECT_STREQ(p.ridName().string(), "");
  for (const KeyRow& row : keyRows) EXPECT_EQ(row.get(p), row.byDefault) << row.key;

  // The interpreter lists them as registered, in order, after its own level.
  std::string expected = "(setqb DtNotifyLevel 2)\n";
  for (const KeyRow& row : keyRows) expected += std::string("(setqb ") + row.key + " " + row.byDefault + ")\n";
  capture.clear();
  p.mtlEnvironment()->evalString("(print-registered)", 0);
  EXPECT_EQ(capture.text(), expected);

  EXPECT_EQ(p.destAddr(), 0xE5070707u) << "229.7.7.7 in host byte order";
  EXPECT_EQ(p.mcastDevAddr(), 0u);
  EXPECT_EQ(p.minChannel(), 0xE0000001u);
  EXPECT_EQ(p.maxChannel(), 0xEFFFFFFFu);
  EXPECT_EQ(p.tcpForwarderAddr(), 0x7F000001u);
  EXPECT_FALSE(p.useGroupSocket());
  EXPECT_FALSE(p.useDMFiltering());
  int count = -1;
  p.destinationAddrs(&count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(p.pluginNames().count(), 0u);
  EXPECT_STREQ(p.saveRestoreDirectoryPath(), "./");
}

TEST_F(DtRIDParametersTest, AFileSetsEveryKey) {
  std::string file;
  for (const KeyRow& row : keyRows) file += std::string("(setq ") + row.key + " " + row.assigned + ")\n";
  work.write("rid.mtl", file);
  Params p;
  EXPECT_EQ(capture.text(), "Loading Config File: rid.mtl\n");
  EXPECT_STREQ(p.ridName().string(), "rid.mtl");
  for (const KeyRow& row : keyRows) EXPECT_EQ(row.get(p), row.assigned) << row.key;
  EXPECT_EQ(p.destAddr(), 0xE6010203u);
  EXPECT_EQ(p.tcpForwarderAddr(), 0x0A010203u);
  EXPECT_STREQ(p.saveRestoreDirectoryPath(), "/var/rti/save/");
}

TEST_F(DtRIDParametersTest, TheExampleFileNamesEveryKeyAtItsDefault) {
  const std::string example = std::string(QLX_SOURCE_ROOT) + "/rti/config/rid.mtl";
  const std::string text = readWholeFile(example);
  ASSERT_FALSE(text.empty()) << example;
  for (const KeyRow& row : keyRows) {
    EXPECT_NE(text.find(std::string("\n(setq ") + row.key + " "), std::string::npos) << row.key;
  }

  ScopedEnv env("RTI_RID_FILE", example.c_str());
  Params p;
  EXPECT_EQ(errors(), "") << "the example loads cleanly";
  EXPECT_EQ(std::string(p.ridName().string()), example);
  for (const KeyRow& row : keyRows) EXPECT_EQ(row.get(p), row.byDefault) << row.key;
  EXPECT_EQ(p.pluginNames().count(), 0u) << "the list calls are comments";
}

TEST_F(DtRIDParametersTest, TheFileIsSoughtInOrder) {
  ScratchDirectory configDir;
  ScratchDirectory elsewhere;
  const std::string named = elsewhere.write("named.mtl", "(setq RTI_udpPort 1001)\n");
  configDir.write("rid.mtl", "(setq RTI_udpPort 1002)\n");
  work.write("rid.mtl", "(setq RTI_udpPort 1003)\n");
  const std::string missing = elsewhere.path() + "/missing.mtl";
  const std::string configRid = configDir.path() + "/rid.mtl";

  struct Search {
    const char* what;
    std::string ridFile;  // empty: unset
    std::string config;   // empty: unset
    int udpPort;
    std::string ridName;
  };
  const Search searches[] = {
      {"RTI_RID_FILE first", named, configDir.path(), 1001, named},
      {"a missing RTI_RID_FILE falls back to RTI_CONFIG", missing, configDir.path(), 1002, configRid},
      {"RTI_CONFIG with a trailing backslash", missing, configDir.path() + "\\", 1002, configRid},
      {"RTI_CONFIG without rid.mtl falls back to the working directory", missing, elsewhere.path(), 1003, "rid.mtl"},
      {"neither variable", "", "", 1003, "rid.mtl"},
  };
  for (const Search& search : searches) {
    ScopedEnv file("RTI_RID_FILE", search.ridFile.empty() ? nullptr : search.ridFile.c_str());
    ScopedEnv dir("RTI_CONFIG", search.config.empty() ? nullptr : search.config.c_str());
    capture.clear();
    Params p;
    EXPECT_EQ(p.udpPort(), search.udpPort) << search.what;
    EXPECT_EQ(std::string(p.ridName().string()), search.ridName) << search.what;
    EXPECT_EQ(capture.text(), "Loading Config File: " + search.ridName + "\n") << search.what;
  }
}

TEST_F(DtRIDParametersTest, AFileWithoutAGoodFormCountsAsMissing) {
  // Empty, only comments, only a failing form: each counts as missing.
  for (const char* content : {"", "; nothing but a comment", "(car 1)\n"}) {
    work.write("rid.mtl", content);
    capture.clear();
    Params p;
    EXPECT_STREQ(p.ridName().string(), "") << content;
    EXPECT_TRUE(errors().ends_with("Using default RID parameters.\n")) << content;
  }

  // What a failing form assigned before its error is still taken over,
  // although the search goes on.
  ScratchDirectory elsewhere;
  ScopedEnv file("RTI_RID_FILE", elsewhere.write("half.mtl", "(sequence (setq RTI_udpPort 6000) (car 1))\n").c_str());
  work.write("rid.mtl", "(setq RTI_mcastTtl 9)\n");
  capture.clear();
  Params p;
  EXPECT_EQ(p.udpPort(), 6000);
  EXPECT_EQ(p.mcastTtl(), 9);
  EXPECT_STREQ(p.ridName().string(), "rid.mtl");
}

TEST_F(DtRIDParametersTest, PartialLoads) {
  struct Partial {
    const char* what;
    const char* file;
    int udpPort;
    int mcastTtl;
    int tcpNoDelay;
    std::string errors;
  };
  const Partial partials[] = {
      {"an error while evaluating skips that form",
       "(setq RTI_udpPort 5000)\n(car 1)\n(setq RTI_mcastTtl 7)\n(setq RTI_tcpNoDelay 0)\n", 5000, 7, 0,
       "Error: car of non-cons\n"},
      {"a syntax error ends the file", "(setq RTI_udpPort 5001)\n(setq RTI_mcastTtl \"open)\n(setq RTI_tcpNoDelay 0)\n",
       5001, 2, 1, "Error: EOF while reading string\n"},
      {"an unclosed list ends the file", "(setq RTI_udpPort 5002)\n(setq RTI_mcastTtl 7\n", 5002, 2, 1,
       "Error: Missing \")\"\n"},
      {"a value of the wrong kind keeps the key", "(setq RTI_udpPort 2.5)\n(setq RTI_mcastTtl 7)\n", 4000, 7, 1, ""},
  };
  for (const Partial& partial : partials) {
    work.write("rid.mtl", partial.file);
    capture.clear();
    Params p;
    EXPECT_STREQ(p.ridName().string(), "rid.mtl") << partial.what;
    EXPECT_EQ(p.udpPort(), partial.udpPort) << partial.what;
    EXPECT_EQ(p.mcastTtl(), partial.mcastTtl) << partial.what;
    EXPECT_EQ(p.tcpNoDelay(), partial.tcpNoDelay) << partial.what;
    EXPECT_EQ(errors(), partial.errors) << partial.what;
  }
}

TEST_F(DtRIDParametersTest, ANumberOutOfItsKeysRangeIsRefusedAndTheDefaultKept) {
  struct Case {
    const char* line;
    std::function<std::string(const Params&)> get;
    const char* kept;     // as the getter gives it
    const char* message;  // at level 1; empty for none
  };
  const auto port = [](const Params& p) { return lispInt(p.udpPort()); };
  const Case cases[] = {
      {"(setq RTI_udpPort -5)", port, "4000",
       "RID: RTI_udpPort -5 is out of range (1 to 65535); using the default 4000\n"},
      {"(setq RTI_udpPort 70000)", port, "4000",
       "RID: RTI_udpPort 70000 is out of range (1 to 65535); using the default 4000\n"},
      {"(setq RTI_udpPort 0)", port, "4000",
       "RID: RTI_udpPort 0 is out of range (1 to 65535); using the default 4000\n"},
      {"(setq RTI_udpPort 65535)", port, "65535", ""},
      {"(setq RTI_socketReceiveBufferSize -1)", [](const Params& p) { return lispInt(p.socketReceiveBufferSize()); },
       "4194304", "RID: RTI_socketReceiveBufferSize -1 is out of range (1 to 2147483647); using the default 4194304\n"},
      {"(setq RTI_tcpBufferSize 0)", [](const Params& p) { return lispInt(p.tcpBufferSize()); }, "20000",
       "RID: RTI_tcpBufferSize 0 is out of range (1 to 67108864); using the default 20000\n"},
      {"(setq RTI_mcastTtl 256)", [](const Params& p) { return lispInt(p.mcastTtl()); }, "2",
       "RID: RTI_mcastTtl 256 is out of range (0 to 255); using the default 2\n"},
      {"(setq RTI_maxIOQueue -3)", [](const Params& p) { return lispInt(p.maxIOQueue()); }, "20000",
       "RID: RTI_maxIOQueue -3 is out of range (1 to 2147483647); using the default 20000\n"},
      {"(setq RTI_responseInterval -0.5)", [](const Params& p) { return lispFloat(p.responseInterval()); }, "3.000000",
       "RID: RTI_responseInterval -0.5 is out of range (0 to 2147483647); using the default 3\n"},
      {"(setq RTI_IOPeriod 1e23)", [](const Params& p) { return lispFloat(p.IOPeriod()); }, "0.010000",
       "RID: RTI_IOPeriod 1e+23 is out of range (0 to 2147483647); using the default 0.01\n"},
      {"(setq RTI_tickIdleWait 60.0)", [](const Params& p) { return lispFloat(p.tickIdleWait()); }, "0.000000",
       "RID: RTI_tickIdleWait 60 is out of range (0 to 10); using the default 0\n"},
  };
  for (const Case& c : cases) {
    work.write("rid.mtl", std::string(c.line) + "\n");
    capture.clear();
    Params p;
    EXPECT_EQ(c.get(p), c.kept) << c.line;
    EXPECT_EQ(errors(), c.message) << c.line;
  }
  // A number where the key wants an integer is refused by the language,
  // which names the key and the value on stderr.
  work.write("rid.mtl", "(setq RTI_udpPort 1e23)\n");
  capture.clear();
  int kept = 0;
  const std::string warning = StderrOf([&] { kept = Params().udpPort(); });
  EXPECT_EQ(kept, 4000);
  EXPECT_EQ(warning, "Lisp Warning: Variable RTI_udpPort should be an integer, not 99999999999999991611392.000000");
  EXPECT_EQ(errors(), "");
}

const DtMulticastDefinition& definitionAt(const DtList& list, int index) {
  DtListItem* item = list.head();
  for (int i = 0; i < index && item; ++i) item = item->next();
  return *static_cast<const DtMulticastDefinition*>(item->data());
}

TEST_F(DtRIDParametersTest, TheBuiltinsFillTheLists) {
  work.write("rid.mtl",
             "(RTI-addDestAddrString \"229.7.7.8\")\n"
             "(RTI-addDestAddrString \"229.7.7.9\")\n"
             "(RTI-addDMObjectMulticastAddr \"ObjectRoot.A\" \"230.1.1.1\" \"EXCLUSIVE\")\n"
             "(RTI-addDMObjectMulticastAddr \"ObjectRoot.B\" \"230.1.1.2\" \"both\")\n"
             "(RTI-addDMInteractionMulticastAddr \"InteractionRoot.X\" \"230.1.1.3\" \"InClusive\")\n"
             "(RTI-addPluginName \"sub\\plug.so\")\n"
             "(RTI-addPluginName 5)\n"
             "(RTI-addDestAddrString)\n"
             "(RTI-addDMObjectMulticastAddr \"ObjectRoot.C\" \"230.1.1.4\")\n"
             "(RTI-addDMInteractionMulticastAddr \"InteractionRoot.Y\" 'x \"inclusive\")\n");
  Params p;
  EXPECT_EQ(errors(),
            " DM region not defined inclusive or exclusive,assuming exclusive "
            "Error: RTI-addPluginName: needs a string\n"
            "Error: RTI-addDestAddrString: need a string\n"
            "Error: RTI-addDMObjectMulticastAddr: needs 3 strings\n"
            "Error: RTI-addDMInteractionMulticastAddr: needs 3 strings\n");

  int count = 0;
  const DtString* destinations = p.destinationAddrs(&count);
  ASSERT_EQ(count, 2);
  EXPECT_STREQ(destinations[0].string(), "229.7.7.8");
  EXPECT_STREQ(destinations[1].string(), "229.7.7.9");
  EXPECT_TRUE(p.useGroupSocket());

  ASSERT_EQ(p.objectMulticastDefinitions().count(), 2u);
  EXPECT_STREQ(definitionAt(p.objectMulticastDefinitions(), 0).className().string(), "ObjectRoot.A");
  EXPECT_EQ(definitionAt(p.objectMulticastDefinitions(), 0).address(), 0xE6010101u);
  EXPECT_EQ(definitionAt(p.objectMulticastDefinitions(), 0).inclusive(), 0);
  EXPECT_EQ(definitionAt(p.objectMulticastDefinitions(), 1).inclusive(), 0) << "neither word: exclusive";
  ASSERT_EQ(p.interactionMulticastDefinitions().count(), 1u);
  EXPECT_EQ(definitionAt(p.interactionMulticastDefinitions(), 0).inclusive(), 1);
  EXPECT_EQ(definitionAt(p.interactionMulticastDefinitions(), 0).address(), 0xE6010103u);
  EXPECT_TRUE(p.useDMFiltering());

  ASSERT_EQ(p.pluginNames().count(), 1u);
  EXPECT_STREQ(static_cast<const DtFilename*>(p.pluginNames().head()->data())->string(), "sub/plug.so");

  // Later evaluations in the object's interpreter reach the same lists.
  p.mtlEnvironment()->evalString("(RTI-addPluginName \"late.so\")", 0);
  EXPECT_EQ(p.pluginNames().count(), 2u);
}

TEST_F(DtRIDParametersTest, EachObjectHasItsOwnDestinationsAndAtMost200) {
  std::string file;
  for (int i = 1; i <= 201; ++i) file += "(RTI-addDestAddrString \"229.0.0." + std::to_string(i) + "\")\n";
  file += "(RTI-addPluginName \"a.so\")\n";
  work.write("rid.mtl", file);

  Params first;
  EXPECT_EQ(errors(), "RTI-addDestAddrString: at most 200 destination addresses, 229.0.0.201 is left out\n");
  int count = 0;
  const DtString* destinations = first.destinationAddrs(&count);
  EXPECT_EQ(count, 200);
  EXPECT_STREQ(destinations[199].string(), "229.0.0.200");

  Params second;
  second.destinationAddrs(&count);
  EXPECT_EQ(count, 200) << "a second load starts afresh";
  EXPECT_EQ(second.pluginNames().count(), 1u);
}

TEST_F(DtRIDParametersTest, ACopyTakesTheValuesAndLoadsTheFileAgain) {
  work.write("rid.mtl",
             "(setq RTI_udpPort 5000)\n(RTI-addPluginName \"a.so\")\n(RTI-addDestAddrString \"229.1.1.1\")\n");
  Params original;
  original.setMcastTtl(9);
  original.setUdpPort(7000);
  const std::string device = "10.0.0.7";
  original.setMcastDevAddrString(device.c_str());

  Params copy(original);
  EXPECT_EQ(copy.mcastTtl(), 9) << "copied";
  EXPECT_EQ(copy.udpPort(), 5000) << "the file again, on top of the copied values";
  EXPECT_STREQ(copy.mcastDevAddrString(), "10.0.0.7");
  EXPECT_NE(copy.mcastDevAddrString(), device.c_str()) << "the copy keeps its own text";
  EXPECT_STREQ(copy.ridName().string(), "rid.mtl");
  EXPECT_EQ(copy.pluginNames().count(), 1u) << "lists only of its own load";
  int count = 0;
  copy.destinationAddrs(&count);
  EXPECT_EQ(count, 1);
}

TEST_F(DtRIDParametersTest, ACopyOwnsItsTextsWhenTheFileGivesAKeyAValueOfTheWrongKind) {
  // The first load sets the text; the copy's load, seeing it, gives the key a
  // number, which leaves the copy with the text it took from the original.
  work.write("rid.mtl",
             "(if (equal RTI_destAddrString \"x\") (setq RTI_destAddrString 1)"
             " (setq RTI_destAddrString \"x\"))\n");
  auto original = std::make_unique<Params>();
  ASSERT_STREQ(original->destAddrString(), "x");
  Params copy(*original);
  original.reset();
  EXPECT_STREQ(copy.destAddrString(), "x") << "read after the original is gone";
  EXPECT_STREQ(Params(copy).destAddrString(), "x") << "and so for a copy of the copy";
}

TEST_F(DtRIDParametersTest, AddressTexts) {
  EXPECT_EQ(Params::addressOf("229.7.7.7"), 0xE5070707u);
  EXPECT_EQ(Params::addressOf("127.0.0.1"), 0x7F000001u);
  EXPECT_EQ(Params::addressOf("not an address"), 0xFFFFFFFFu);
  EXPECT_EQ(Params::addressOf(nullptr), 0xFFFFFFFFu);
}

}  // namespace
