#pragma once
// What the data distribution manager's tests share: a connection manager
// that writes down the region messages and the groups joined and left, the
// object and interaction halves that write down what they are told of
// regions, and a fixture with a federate's three managers over the objects
// fixture's model (spaces Geo 1 of X and Y, Radio 2 of Freq).

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../objects/FomTestSupport.h"
#include "../objects/ManagerTestSupport.h"
#include "RegionTestSupport.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtInterDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtRegionMsgs.h"
#include "msg/DtRegionSetMsgs.h"
#include "msg/DtUpdateMsgs.h"
#include "util/DtIpv4Address.h"

namespace ddmtest {

constexpr std::uint32_t self = 3, other = 21, third = 22;
constexpr RTI::SpaceHandle geo = 1, radio = 2;

// "notify 300001 space 1 [1,2) [3,4) | ..." for kind 25, "delete 300001"
// for kind 26, "kind N" for the rest; " @a.b.c.d" for an address.
class RecordingConnectionMgr : public mgrtest::RecordingConnectionMgr {
public:
  explicit RecordingConnectionMgr(std::uint32_t handle = self) : mgrtest::RecordingConnectionMgr(handle) {}

protected:
  std::string line(const DtRtiMsg& msg, DtTransportType, unsigned long address) const override {
    std::string text;
    if (const auto* notify = dynamic_cast<const DtNotifyRegMsg*>(&msg)) {
      text = "notify " + std::to_string(notify->regionHandle()) + " space " + std::to_string(notify->spaceHandle());
      for (std::uint32_t e = 0; e < notify->numberExtents(); ++e) {
        text += e ? " |" : "";
        for (std::uint32_t d = 0; d < notify->numberDimensions(); ++d) {
          text +=
              " [" + std::to_string(notify->lowerBound(e, d)) + "," + std::to_string(notify->upperBound(e, d)) + ")";
        }
      }
    } else if (const auto* gone = dynamic_cast<const DtDeleteRegMsg*>(&msg)) {
      text = "delete " + std::to_string(gone->regionHandle());
    } else if (const auto* set = dynamic_cast<const DtInterRegSetMsg*>(&msg)) {
      // "interset sub 300002 class 6 [300001 0]"
      text = std::string("interset ") + (set->regionSetType() == DtInterPubRegionSet ? "pub " : "sub ") +
             std::to_string(set->regionSetHandle()) + " class " + std::to_string(set->classHandle()) + " [";
      for (unsigned long i = 0; i < set->numberRegions(); ++i) {
        text += (i ? " " : "") + std::to_string(set->regions()[i]);
      }
      text += "]";
    } else if (const auto* inter = dynamic_cast<const DtInteractionMsg*>(&msg)) {
      text = "interaction " + std::to_string(inter->handle()) + " from set " + std::to_string(inter->channel());
    } else {
      text = "kind " + std::to_string(msg.msgKind());
    }
    if (address) text += " @" + DottedAddress(static_cast<std::uint32_t>(address));
    return text;
  }
};

// The halves, writing down what the data distribution manager tells them
// ("obj notify 2100001 new", "inter delete 300002", ...) before they act on
// it.
template <class Half>
class RecordingHalf : public Half {
public:
  RecordingHalf(DtConnectionMgr* c, DtFomClassMgr* f, DtRIDParameters* p, const char* name,
                std::vector<std::string>* told)
      : Half(c, f, p), name_(name), told_(told) {}
  void notifyAboutRegionModification(DtRegion& r) override {
    note("modified", r);
    Half::notifyAboutRegionModification(r);
  }
  void deleteRegion(DtRegion& r) override {
    note("deleted", r);
    Half::deleteRegion(r);
  }
  void processNotifyRegion(DtRegion& r, bool isNew) override {
    note(isNew ? "notify new" : "notify", r);
    Half::processNotifyRegion(r, isNew);
  }
  void processDeleteRegion(DtRegion& r) override {
    note("delete", r);
    Half::processDeleteRegion(r);
  }
  void destroyRegionLists() override {
    if (told_) told_->push_back(std::string(name_) + " destroy sets");
    Half::destroyRegionLists();
  }

private:
  void note(const char* what, const DtRegion& r) {
    told_->push_back(std::string(name_) + " " + what + " " + std::to_string(r.handle()));
  }
  const char* name_;
  std::vector<std::string>* told_;
};

using RecordingObjects = RecordingHalf<DtObjectDataDistMgr>;
using RecordingInteractions = RecordingHalf<DtInterDataDistMgr>;

// Another federate's region message, bounds given extent by extent,
// dimension by dimension, lower before upper.
inline DtNotifyRegMsg notifyFrom(std::uint32_t federate, std::uint32_t region, RTI::SpaceHandle space,
                                 std::uint32_t extents, std::uint32_t dimensions, std::vector<std::uint32_t> bounds) {
  DtNotifyRegMsg msg(region, space);
  EXPECT_TRUE(msg.setExtents(extents, dimensions, bounds));
  msg.setFederateHandle(federate);
  return msg;
}
inline DtDeleteRegMsg deleteFrom(std::uint32_t federate, std::uint32_t region) {
  DtDeleteRegMsg msg(region, nullptr);
  msg.setFederateHandle(federate);
  return msg;
}
inline DtResignMsg resignOf(std::uint32_t federate) {
  DtResignMsg msg("Fixture", federate, RTI::DELETE_OBJECTS, nullptr);
  msg.setFederateHandle(federate);
  return msg;
}

// The regions a manager keeps, as lines: "local 300001 space 1 [1,2) [3,4)"
// and "remote 2100001 of 21 space 2 [5,6)".
inline std::string extentsText(const DtRegion& r) {
  if (!r.getExtents()) return " uncommitted";
  std::string text;
  for (std::uint32_t e = 0; e < r.getNumberOfExtents(); ++e) {
    text += e ? " |" : "";
    const DtRegionExtent& extent = r.getExtents()[e];
    for (std::uint32_t d = 0; d < extent.dimensionCount(); ++d) {
      const DtExtentDim dim = extent.getExtent(d);
      text += " [" + std::to_string(dim.getLowerBound()) + "," + std::to_string(dim.getUpperBound()) + ")";
    }
  }
  return text;
}
inline std::vector<std::string> regionsOf(const DtDataDistMgr& ddm) {
  std::vector<std::string> lines;
  for (const DtRegion* r : ddm.localRegions()) {
    lines.push_back("local " + std::to_string(r->handle()) + " space " + std::to_string(r->getSpaceHandle()) +
                    extentsText(*r));
  }
  for (const std::uint32_t federate : ddm.remoteFederates()) {
    for (const DtRegion* r : ddm.remoteRegionsOf(federate)) {
      lines.push_back("remote " + std::to_string(r->handle()) + " of " + std::to_string(federate) + " space " +
                      std::to_string(r->getSpaceHandle()) + extentsText(*r));
    }
  }
  return lines;
}

// A federate's data distribution manager over its two recording halves, as
// the federate manager builds it after a join.
class DdmFixture : public ::testing::Test {
protected:
  void SetUp() override { make(""); }
  // The halves go first, as the federate manager deletes them: their region
  // sets point at the regions the data distribution manager keeps.
  void TearDown() override {
    objects.reset();
    interactions.reset();
    ddm.reset();
    DtInteractionMsg::setChannelIncluded(0);
    DtUpdateMsg::setChannelIncluded(0);
  }

  void make(const std::string& ridLines, std::uint32_t handle = self) {
    objects.reset();
    interactions.reset();
    ddm.reset();
    rid = mgrtest::ridWith("(setq RTI_dataDistMgmt 1)\n" + ridLines);
    fom = fomFromText(fixtureFed, rid.get());
    conn = std::make_unique<RecordingConnectionMgr>(handle);
    interactions = std::make_unique<RecordingInteractions>(conn.get(), fom.get(), rid.get(), "inter", &told);
    objects = std::make_unique<RecordingObjects>(conn.get(), fom.get(), rid.get(), "obj", &told);
    ddm = std::make_unique<DtDataDistMgr>(objects.get(), interactions.get());
    interactions->setDdmMgr(ddm.get());
    objects->setDdmMgr(ddm.get());
    conn->takeSent();
  }

  // A region of this federate in Geo with one extent, its bounds set and,
  // with announce, committed and announced through the manager.
  DtRegion* geoRegion(Range x, Range y, bool announce = true) {
    DtRegion* r = ddm->createRegion(geo, 1);
    setBounds(*r, 0, {x, y});
    if (announce) ddm->notifyAboutRegionModification(*r);
    return r;
  }
  static void setBounds(DtRegion& r, RTI::ULong extent, std::vector<Range> ranges) {
    for (std::size_t d = 0; d < ranges.size(); ++d) {
      r.setRangeLowerBound(extent, d, ranges[d].first);
      r.setRangeUpperBound(extent, d, ranges[d].second);
    }
  }
  std::vector<std::string> takeTold() { return std::exchange(told, {}); }

  std::vector<std::string> told;
  std::unique_ptr<DtRIDParameters> rid;
  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<RecordingConnectionMgr> conn;
  std::unique_ptr<RecordingInteractions> interactions;
  std::unique_ptr<RecordingObjects> objects;
  std::unique_ptr<DtDataDistMgr> ddm;
};

}  // namespace ddmtest
