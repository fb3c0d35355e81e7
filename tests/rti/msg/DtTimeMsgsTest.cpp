#include "msg/DtTimeMsgs.h"

#include <algorithm>

#include "MsgRoundTrip.h"
#include "fedtime.hh"

namespace {

using std::string;

// A time whose encoding is as long as asked for (the federation time's own
// is 8 bytes): the bytes are its value's digits.
class SizedTime : public RTIfedTime {
public:
  SizedTime(double t, int length) : RTIfedTime(t), length_(length) {}
  int encodedLength() const override { return length_; }
  void encode(char* buffer) const override {
    string bytes(static_cast<std::size_t>(std::max(8, length_)), 'p');
    RTIfedTime::encode(bytes.data());
    std::copy_n(bytes.data(), length_, buffer);
  }

private:
  int length_;
};

const RTIfedTime aTime(4.5);
const RTIfedTime aLookahead(0.25);

const RoundTripTable timeCases{
    {"enable regulation", [] { return new DtEnableRegulationMsg(aTime, aLookahead, nullptr); },
     DtEnableRegulationMsgKind, ""},
    {"enable constrained", [] { return new DtEnableConstrainedMsg(aTime, aLookahead, nullptr); },
     DtEnableConstrainedMsgKind, ""},
    {"time advance", [] { return new DtTimeAdvanceRequestMsg(aTime, aLookahead, nullptr); },
     DtTimeAdvanceRequestMsgKind, ""},
    {"next event", [] { return new DtNextEventRequestMsg(aTime, aLookahead, 1, 42, nullptr); },
     DtNextEventRequestMsgKind, ""},
    {"constrained sync", [] { return new DtConstrainedSyncMsg(aTime, aLookahead, nullptr); }, DtConstrainedSyncMsgKind,
     ""},
    {"regulation enabled", [] { return new DtRegulationEnabledMsg(3, aTime, nullptr); }, DtRegulationEnabledMsgKind,
     ""},
    {"constrained enabled", [] { return new DtConstrainedEnabledMsg(3, aTime, aLookahead, nullptr); },
     DtConstrainedEnabledMsgKind, ""},
    {"lbts", [] { return new DtLbtsMsg(0x10005, aTime, aLookahead, nullptr); }, DtLbtsMsgKind, ""},
    {"ner lbts", [] { return new DtNerLbtsMsg(9, 2, 1, 0, aTime, aLookahead, nullptr); }, DtNerLbtsMsgKind, ""},
    {"disable", [] { return new DtDisableMsg(1, nullptr); }, DtDisableMsgKind, ""},
    {"sync constrained", [] { return new DtSyncConstrainedMsg(nullptr); }, DtSyncConstrainedMsgKind,
     string("\x00\x08\x00\x00\x3b\x00\x00\x00", 8)},
    {"resume constrained", [] { return new DtResumeConstrainedMsg(7, aTime, aLookahead, nullptr); },
     DtResumeConstrainedMsgKind, ""},
};

TEST(DtTimeMsgs, EveryClassSurvivesTheRoundTrip) {
  for (const RoundTrip& c : timeCases) checkRoundTrip(c);
}

TEST(DtTimeMsgs, ATimeSetAgainMovesTheLookaheadWithItsBytes) {
  DtTimeAdvanceRequestMsg msg(SizedTime(1.0, 9), RTIfedTime(0.5), nullptr);
  EXPECT_EQ(msg.size(), 38);
  EXPECT_EQ(msg.netHeader()->length(), 38);
  EXPECT_EQ(msg.timeSize(), 9);
  EXPECT_EQ(msg.timeFieldSize(), 10);
  EXPECT_EQ(msg.lookaheadSize(), 8);
  EXPECT_EQ(bytesOf(msg)[29], 0);  // the pad after the 9-byte time
  string lookahead(8, '\0');
  RTIfedTime(0.5).encode(lookahead.data());
  EXPECT_EQ(bytesOf(msg).substr(30), lookahead);

  msg.setTime(SizedTime(2.0, 4));  // shorter than any real time: 4 bytes, no pad
  EXPECT_EQ(msg.size(), 32);
  EXPECT_EQ(msg.netHeader()->length(), 32);
  EXPECT_EQ(bytesOf(msg).substr(24), lookahead);
  EXPECT_TRUE(static_cast<const RTIfedTime&>(msg.lookahead()) == 0.5);
  EXPECT_EQ(msg.status(), DtRtiMsg::BadTime);  // 4 bytes hold no federation time
}

TEST(DtTimeMsgs, FieldsKeepWhatTheyAreGiven) {
  DtLbtsMsg lbts(nullptr);
  lbts.setLaggardFederate(0x10005);
  EXPECT_EQ(lbts.laggardFederate(), 5u);
  EXPECT_EQ(lbts.size(), 16);

  DtNerLbtsMsg ner(nullptr);
  ner.setLagLbts(RTIfedTime(3.0));  // no LBTS: the lag LBTS starts at 24
  EXPECT_EQ(bytesOf(ner).substr(20, 4), string("\x00\x00\x00\x08", 4));
  EXPECT_EQ(ner.size(), 32);
  EXPECT_TRUE(static_cast<const RTIfedTime&>(ner.lagLbts()) == 3.0);
  EXPECT_TRUE(static_cast<const RTIfedTime&>(ner.time()) == 0.0);

  DtEnableRegulationMsg enable(RTIfedTime(1.0), RTIfedTime(2.0), nullptr);
  EXPECT_EQ(enable.nerCycle(), 0u);
  EXPECT_FALSE(enable.timeAvailable());
}

TEST(DtTimeMsgs, PrintFormsFollowTheirLabels) {
  NotifyCapture capture(2);
  DtNerLbtsMsg(9, 2, 1, 0, RTIfedTime(1.5), RTIfedTime(2.5), nullptr).printData();
  EXPECT_EQ(capture.text(),
            "Laggard Federate:    2\n"
            "NER Cycle:           9\n"
            "NER Pending:         True\n"
            "Lag NER Pending:     False\n"
            "LBTS:                1.5\n"
            "Lag LBTS:            2.5\n");
  capture.clear();
  RTIfedTime infinity;
  infinity.setPositiveInfinity();
  DtRegulationEnabledMsg(3, infinity, nullptr).printData();
  EXPECT_EQ(capture.text(), "Requesting Federate: 3\nTime:                +(X)\n");
}

}  // namespace
