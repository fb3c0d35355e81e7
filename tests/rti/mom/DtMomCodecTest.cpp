// The generic codecs of the MOM interactions, one table per kind of value:
// what each value is written as, and what bytes read back as, with the
// message that an unknown word or a refused value gives.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MomTestSupport.h"
#include "mom/DtMomHandleList.h"
#include "mom/DtMomInteraction.h"
#include "mom/DtMomTallyList.h"
#include "rti/util/NotifyCapture.h"

using namespace std::string_literals;

namespace {

constexpr RTI::ParameterHandle parameter = 3;

// The bytes that one encoder call adds, shown as text.
std::string encoded(const std::function<void(RTI::ParameterHandleValuePairSet*)>& encode) {
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set(RTI::ParameterSetFactory::create(1));
  encode(set.get());
  EXPECT_EQ(set->size(), 1u);
  EXPECT_EQ(set->getHandle(0), parameter);
  RTI::ULong length = 0;
  const char* bytes = set->getValuePointer(0, length);
  return shown(std::string(bytes, length));
}

std::unique_ptr<RTI::ParameterHandleValuePairSet> holding(const std::string& bytes) {
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set(RTI::ParameterSetFactory::create(1));
  set->add(parameter, bytes.data(), static_cast<RTI::ULong>(bytes.size()));
  return set;
}

// A decoding case: the bytes, what they read as ("refused" for none), and
// the message (empty for none).
struct Decoding {
  std::string bytes;
  std::string value;
  std::string message;
};

// Reads each case's bytes with `decode` (whose result is shown by it as
// text) and compares value and message.
void checkDecoding(const std::vector<Decoding>& cases,
                   const std::function<std::string(const RTI::ParameterHandleValuePairSet&)>& decode) {
  for (const Decoding& c : cases) {
    NotifyCapture capture(1);
    const auto set = holding(c.bytes);
    EXPECT_EQ(decode(*set), c.value) << shown(c.bytes);
    EXPECT_EQ(capture.text(), c.message) << shown(c.bytes);
  }
}

template <class T>
std::string orRefused(const std::optional<T>& value) {
  return value ? std::to_string(*value) : "refused";
}

std::string unknown(const char* decoder, const std::string& text) {
  return "DtMomInteraction::"s + decoder + ": Unknown value " + text + "\n";
}

std::string refused(const char* decoder, const std::string& text) {
  return "DtMomInteraction::"s + decoder + ": Value " + text + " of parameter Federate refused\n";
}

TEST(DtMomInteractionCodec, StringsAreTheirCharactersAndOneNulReadWithinTheirBytes) {
  EXPECT_EQ(encoded([](auto* set) { DtMomInteraction::genericEncodeString("", set, parameter); }), "");
  EXPECT_EQ(encoded([](auto* set) { DtMomInteraction::genericEncodeString("tank 1", set, parameter); }), "tank 1");
  checkDecoding({{"tank 1\0"s, "tank 1", ""}, {"tank"s, "tank", ""}, {"ab\0cd\0"s, "ab", ""}, {""s, "", ""}},
                [](const auto& set) { return std::string(DtMomInteraction::genericDecodeString(set, 0).string()); });
}

TEST(DtMomInteractionCodec, HandlesAreUnsigned32BitDecimals) {
  EXPECT_EQ(encoded([](auto* set) { DtMomInteraction::genericEncodeHandle(0, set, parameter); }), "0");
  EXPECT_EQ(encoded([](auto* set) { DtMomInteraction::genericEncodeHandle(4294967295u, set, parameter); }),
            "4294967295");
  checkDecoding({{"42\0"s, "42", ""},
                 {"  7\0"s, "7", ""},
                 {"12ab\0"s, "12", ""},
                 {"ab\0"s, "0", ""},
                 {"\0"s, "0", ""},
                 {"99"s, "99", ""},
                 {"1\0002"s, "1", ""},
                 {"4294967295\0"s, "4294967295", ""},
                 {"-5\0"s, "refused", refused("genericDecodeHandle", "-5")},
                 {"4294967296\0"s, "refused", refused("genericDecodeHandle", "4294967296")},
                 {"99999999999999999999999\0"s, "refused", refused("genericDecodeHandle", "99999999999999999999999")}},
                [](const auto& set) { return orRefused(DtMomInteraction::genericDecodeHandle(set, 0, "Federate")); });
}

TEST(DtMomInteractionCodec, LongsAreSigned32BitDecimals) {
  EXPECT_EQ(encoded([](auto* set) { DtMomInteraction::genericEncodeLong(-5, set, parameter); }), "-5");
  EXPECT_EQ(encoded([](auto* set) { DtMomInteraction::genericEncodeLong(2147483647, set, parameter); }), "2147483647");
  checkDecoding({{"-5\0"s, "-5", ""},
                 {"+8\0"s, "8", ""},
                 {"12ab\0"s, "12", ""},
                 {"ab\0"s, "0", ""},
                 {"-\0"s, "0", ""},
                 {"\0"s, "0", ""},
                 {"-42"s, "-42", ""},
                 {"-1\0002"s, "-1", ""},
                 {"-2147483648\0"s, "-2147483648", ""},
                 {"2147483648\0"s, "refused", refused("genericDecodeLong", "2147483648")},
                 {"4294967296\0"s, "refused", refused("genericDecodeLong", "4294967296")}},
                [](const auto& set) { return orRefused(DtMomInteraction::genericDecodeLong(set, 0, "Federate")); });
}

// Every enumerated value: what values are written as, then how words read
// back (any case; an unknown word, the empty one too, gives the default).
struct WordCodec {
  const char* decoder;
  std::function<void(std::uint32_t, RTI::ParameterHandleValuePairSet*)> encode;
  std::function<std::uint32_t(const RTI::ParameterHandleValuePairSet&)> decode;
  std::vector<std::pair<std::uint32_t, std::string>> written;
  std::vector<std::pair<std::string, std::uint32_t>> read;  // the bytes are the text and a NUL
  std::uint32_t unknownGives;
};

TEST(DtMomInteractionCodec, EnumeratedValuesAreWordsReadIgnoringCase) {
  using I = DtMomInteraction;
  const WordCodec codecs[] = {
      {"genericDecodeTransportationTypes",
       [](std::uint32_t v, auto* set) { I::genericEncodeTransportationTypes(DtTransportType(v), set, parameter); },
       [](const auto& set) { return I::genericDecodeTransportationTypes(set, 0); },
       {{0, "Best effort"}, {1, "Reliable"}, {2, "Reliable"}},
       {{"BEST effort", 0}, {"reliable", 1}},
       0},
      {"genericDecodeOrderTypes",
       [](std::uint32_t v, auto* set) { I::genericEncodeOrderTypes(DtOrderType(v), set, parameter); },
       [](const auto& set) { return I::genericDecodeOrderTypes(set, 0); },
       {{0, "receive"}, {1, "timestamp"}, {7, "timestamp"}},
       {{"Receive", 0}, {"TimeStamp", 1}},
       0},
      {"genericDecodeBoolean",
       [](std::uint32_t v, auto* set) { I::genericEncodeBoolean(RTI::Boolean(v), set, parameter); },
       [](const auto& set) { return I::genericDecodeBoolean(set, 0); },
       {{1, "True"}, {0, "False"}},
       {{"TRUE", 1}, {"false", 0}},
       0},
      {"genericDecodeAttributeStateOptions",
       [](std::uint32_t v, auto* set) {
         I::genericEncodeAttributeStateOptions(DtMomAttributeStateOptions(v), set, parameter);
       },
       [](const auto& set) { return I::genericDecodeAttributeStateOptions(set, 0); },
       {{0, "Owned"}, {1, "Unowned"}, {5, "Unowned"}},
       {{"owned", 0}, {"UNOWNED", 1}},
       1},
      {"genericDecodeInitiatorOptions",
       [](std::uint32_t v, auto* set) { I::genericEncodeInitiatorOptions(DtMomInitiatorOptions(v), set, parameter); },
       [](const auto& set) { return I::genericDecodeInitiatorOptions(set, 0); },
       {{1, "RTI"}, {0, "FED"}, {2, "FED"}},
       {{"rti", 1}, {"Fed", 0}},
       1},
      {"genericDecodeAlertTypes",
       [](std::uint32_t v, auto* set) { I::genericEncodeAlertTypes(DtMomAlertTypes(v), set, parameter); },
       [](const auto& set) { return I::genericDecodeAlertTypes(set, 0); },
       {{0, "RTI exception"}, {1, "RTI internal error"}, {2, "Federate internal error"}, {3, ""}},
       {{"rti EXCEPTION", 0}, {"rti internal error", 1}, {"FEDERATE INTERNAL ERROR", 2}},
       0},
  };
  for (const WordCodec& codec : codecs) {
    SCOPED_TRACE(codec.decoder);
    for (const auto& [value, text] : codec.written) {
      EXPECT_EQ(encoded([&](auto* set) { codec.encode(value, set); }), text) << value;
    }
    std::vector<Decoding> cases;
    for (const auto& [text, value] : codec.read) cases.push_back({textBytes(text), std::to_string(value), ""});
    // A word without its NUL reads as well.
    cases.push_back({codec.read.front().first, std::to_string(codec.read.front().second), ""});
    const std::string fallback = std::to_string(codec.unknownGives);
    cases.push_back({"bogus\0"s, fallback, unknown(codec.decoder, "bogus")});
    cases.push_back({"\0"s, fallback, unknown(codec.decoder, "")});
    checkDecoding(cases, [&](const auto& set) { return std::to_string(codec.decode(set)); });
  }
}

std::string listText(const DtMomHandleList& list) {
  std::string text;
  for (std::uint32_t handle : list.handles()) text += (text.empty() ? "" : " ") + std::to_string(handle);
  return "[" + text + "]";
}

TEST(DtMomInteractionCodec, HandleListsAreDecimalsJoinedByCommas) {
  DtMomHandleList list;
  EXPECT_EQ(encoded([&](auto* set) { DtMomInteraction::genericEncodeHandleList(list, set, parameter); }), "");
  list.append(7);
  EXPECT_EQ(encoded([&](auto* set) { DtMomInteraction::genericEncodeHandleList(list, set, parameter); }), "7");
  list.append(12);
  list.append(5);
  EXPECT_EQ(encoded([&](auto* set) { DtMomInteraction::genericEncodeHandleList(list, set, parameter); }), "7,12,5");

  // Each case reads into a list that held 1 and 2 before.
  checkDecoding({{"3,12,5\0"s, "[3 12 5]", ""},
                 {"3 12 5\0"s, "[3 12 5]", ""},
                 {",,5, ,7\0"s, "[5 7]", ""},
                 {"3,x,12ab\0"s, "[3 0 12]", ""},
                 {"\0"s, "[]", ""},
                 {"4,5"s, "[4 5]", ""},
                 {"3,-1\0"s, "refused [1 2]", refused("genericDecodeHandleList", "3,-1")},
                 {"4294967296\0"s, "refused [1 2]", refused("genericDecodeHandleList", "4294967296")}},
                [](const auto& set) {
                  DtMomHandleList target;
                  target.append(1);
                  target.append(2);
                  const bool taken = DtMomInteraction::genericDecodeHandleList(target, set, 0, "Federate");
                  return (taken ? "" : "refused ") + listText(target);
                });
}

std::string tallyText(const DtMomTallyList& list, RTI::Boolean received, DtTransportType transport) {
  std::string text;
  for (const DtListItem* item = list.head(); item; item = item->next()) {
    text += (text.empty() ? "" : " ") + std::to_string(list.tallies(item)->handle()) + ":" +
            std::to_string(list.tallies(item)->tally(received, transport));
  }
  return "[" + text + "]";
}

TEST(DtMomInteractionCodec, TallyListsAreClassCountPairsOfOneCounter) {
  DtMtallySet none, tank, plane;
  none.setHandle(10);
  none.setTally(3, RTI::RTI_TRUE, DtReliable);  // another counter: not written
  tank.setHandle(11);
  tank.setTally(5, RTI::RTI_FALSE, DtReliable);
  plane.setHandle(14);
  plane.setTally(2, RTI::RTI_FALSE, DtReliable);
  plane.setTally(9, RTI::RTI_FALSE, DtBestEffort);
  DtMomTallyList list;
  for (const DtMtallySet* tallies : {&none, &tank, &plane}) list.append(tallies);
  const auto encodedCounts = [&](const DtMomTallyList* counts, RTI::Boolean received, DtTransportType transport) {
    return encoded(
        [&](auto* set) { DtMomInteraction::genericEncodeTallyList(counts, set, parameter, received, transport); });
  };
  EXPECT_EQ(encodedCounts(&list, RTI::RTI_FALSE, DtReliable), "11/5,14/2");
  EXPECT_EQ(encodedCounts(&list, RTI::RTI_FALSE, DtBestEffort), "14/9");
  EXPECT_EQ(encodedCounts(&list, RTI::RTI_TRUE, DtBestEffort), "");
  EXPECT_EQ(encodedCounts(nullptr, RTI::RTI_TRUE, DtReliable), "");

  checkDecoding({{"11/5,14/2\0"s, "[11:5 14:2]", ""},
                 {" 11/5 , 14/-2"s, "[11:5 14:-2]", ""},
                 {"\0"s, "[]", ""},
                 {"11/x\0"s, "[11:0]", ""},
                 {"11\0"s, "refused", refused("genericDecodeTallyList", "11")},
                 {"4294967296/1\0"s, "refused", refused("genericDecodeTallyList", "4294967296/1")},
                 {"1/2147483648\0"s, "refused", refused("genericDecodeTallyList", "1/2147483648")}},
                [](const auto& set) {
                  const auto counts =
                      DtMomInteraction::genericDecodeTallyList(set, 0, "Federate", RTI::RTI_TRUE, DtReliable);
                  return counts ? tallyText(*counts, RTI::RTI_TRUE, DtReliable) : "refused";
                });
}

TEST(DtMomInteractionCodec, TimesTravelInTheirOwnEncoding) {
  const RTIfedTime time(12.5);
  EXPECT_EQ(encoded([&](auto* set) { DtMomInteraction::genericEncodeFedtime(&time, set, parameter); }), "time 12.5");
  EXPECT_EQ(encoded([](auto* set) { DtMomInteraction::genericEncodeFedtime(nullptr, set, parameter); }), "bytes");
  checkDecoding({{timeBytes(2.5), "2.5", ""},
                 {timeBytes(-1) + "more", "-1", ""},
                 {"abc"s, "refused", refused("genericDecodeFedtime", "of 3 bytes")}},
                [](const auto& set) {
                  const auto decoded = DtMomInteraction::genericDecodeFedtime(set, 0, "Federate");
                  if (!decoded) return std::string("refused");
                  char text[32];
                  std::snprintf(text, sizeof text, "%g", static_cast<const RTIfedTime&>(*decoded).getTime());
                  return std::string(text);
                });
}

}  // namespace
