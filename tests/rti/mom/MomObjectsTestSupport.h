#pragma once
// What the tests of the MOM inspector and the MOM objects share: a federate
// that says what the test sets (with or without a time manager and a queue),
// the MOM test FOM as text with the changes a test makes to it, and a
// federate of the object manager tests (a recording connection manager and
// ambassador) over that FOM.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "MomTestSupport.h"
#include "RTI.hh"
#include "fedtime.hh"
#include "mom/DtMomFederate.h"
#include "rti/objects/ObjectMgrTestSupport.h"
#include "util/DtString.h"

namespace momtest {

// The federate as a test sets it. Without a time manager the flags read
// false and the queries leave the time alone; without a queue its counts
// read 0.
class FakeFederate final : public DtMomFederate {
public:
  RTI::FederateHandle federateHandle() const override { return handle; }
  DtString federationName() const override { return federation.c_str(); }
  DtString federateType() const override { return type.c_str(); }
  DtString fedFile() const override { return fedFileName.c_str(); }

  bool saveInitiated() const override { return saveIsInitiated; }
  bool saveBegun() const override { return saveIsBegun; }
  bool restoreBegun() const override { return restoreIsBegun; }
  DtString nextSaveName() const override { return nextSave.c_str(); }
  DtString lastSaveName() const override { return lastSave.c_str(); }
  void nextSaveTime(RTI::FedTime& time) const override { time = RTIfedTime(nextSaveAt); }
  void lastSaveTime(RTI::FedTime& time) const override { time = RTIfedTime(lastSaveAt); }

  bool timeConstrained() const override { return hasTimeMgr && constrained; }
  bool timeRegulating() const override { return hasTimeMgr && regulating; }
  bool timeAdvancePending() const override { return hasTimeMgr && advancePending; }
  bool queryFederateTime(RTI::FedTime& time) const override { return query(federateTime, time); }
  bool queryLookahead(RTI::FedTime& time) const override { return query(lookahead, time); }
  bool queryLBTS(RTI::FedTime& time) const override { return query(lbts, time); }
  bool queryMinNextEventTime(RTI::FedTime& time) const override { return query(minNextEvent, time); }

  std::uint32_t queuedTimestampedCount() const override { return hasQueue ? timestamped : 0; }
  std::uint32_t queuedReceiveOrderCount() const override { return hasQueue ? receiveOrder : 0; }
  bool asynchronousDelivery() const override { return hasQueue && asynchronous; }

  RTI::FederateHandle handle = 7;
  std::string federation = "Fleet";
  std::string type = "Watcher";
  std::string fedFileName = "mom.fed";
  bool saveIsInitiated = false, saveIsBegun = false, restoreIsBegun = false;
  std::string nextSave = "noon", lastSave = "dawn";
  double nextSaveAt = 20, lastSaveAt = 5;
  bool hasTimeMgr = true, hasQueue = true;
  bool constrained = true, regulating = true, advancePending = true, asynchronous = true;
  double federateTime = 10, lookahead = 2.5, lbts = 12, minNextEvent = 11;
  std::uint32_t timestamped = 4, receiveOrder = 2;

private:
  bool query(double value, RTI::FedTime& time) const {
    if (!hasTimeMgr) return false;
    time = RTIfedTime(value);
    return true;
  }
};

// The MOM test FOM's text.
inline std::string momFedText() {
  std::ifstream in(momTestFed);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The text with `from` replaced by `to` once; the test fails when the text
// does not hold it.
inline std::string edited(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The MOM test FOM with one more attribute, Notes, in both MOM classes: the
// attributes of the local RTI component.
inline std::string momFedWithNotes() {
  std::string text = edited(momFedText(), "(attribute FederateHandle reliable receive)",
                            "(attribute FederateHandle reliable receive) (attribute Notes reliable receive)");
  return edited(text, "(attribute RTIversion reliable receive)))",
                "(attribute RTIversion reliable receive)\n"
                "          (attribute Notes reliable receive)))");
}

// A federate of the object manager tests over FED text.
struct MomFederate {
  MomFederate(std::uint32_t handle, const std::string& fed)
      : fom(fomFromText(fed)), conn(std::make_unique<objtest::TestConnectionMgr>(handle)) {
    conn->ambassador = &amb;
    objects = std::make_unique<DtObjectMgr>(conn.get(), fom.get(), nullptr);
  }

  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<objtest::TestConnectionMgr> conn;
  objtest::RecordingFedAmb amb;
  std::unique_ptr<DtObjectMgr> objects;
};

}  // namespace momtest
