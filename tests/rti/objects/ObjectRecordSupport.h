#pragma once
// What the object record tests share: a FOM with a class of the radio's 21
// attributes and one of 41 (past the first map word), sets written as
// text, and a fake publication region set.

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "FomTestSupport.h"
#include "HandleSets.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtPubRegionSetView.h"
#include "objects/DtRtiObject.h"

// ObjectRoot 0 (privilegeToDelete, reliable, time-stamp), RTIprivate 1,
// Radio 3 (r1 to r20: every third reliable, every fifth time-stamp), Wide 4
// (w1 to w40, likewise), Wide.Narrow 5 (nothing of its own).
inline std::string recordFed() {
  auto attributes = [](const char* prefix, int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
      text += std::string("(attribute ") + prefix + std::to_string(i) + (i % 3 == 0 ? " reliable" : " best_effort") +
              (i % 5 == 0 ? " timestamp)" : " receive)");
    }
    return text;
  };
  return "(FED (Federation Records) (FEDversion v1.3) (spaces)\n"
         "  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp)\n"
         "    (class RTIprivate)\n"
         "    (class Radio " +
         attributes("r", 20) +
         ")\n"
         "    (class Wide " +
         attributes("w", 40) +
         " (class Narrow))))\n"
         "  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive))))\n";
}

// "0,1,2"; runs of four or more as "3-20"; "-" for the empty set.
inline std::string text(const RTI::AttributeHandleSet& set) {
  const Handles m = members(set);
  if (m.empty()) return "-";
  std::string out;
  for (std::size_t i = 0; i < m.size();) {
    std::size_t j = i;
    while (j + 1 < m.size() && m[j + 1] == m[j] + 1) ++j;
    if (!out.empty()) out += ",";
    out += std::to_string(m[i]);
    if (j >= i + 3) {
      out += "-" + std::to_string(m[j]);
    } else {
      for (std::size_t k = i + 1; k <= j; ++k) out += "," + std::to_string(m[k]);
    }
    i = j + 1;
  }
  return out;
}

// The ownership sets of a record, in one line.
inline std::string ownership(const DtRtiObject& o) {
  return "owned " + text(o.ownedAttrs()) + " lrc " + text(o.lrcManagedAttrs()) + " rti " + text(o.rtiOwnedAttrs()) +
         " uncond " + text(o.uncondRequestedAttrs()) + " ifavail " + text(o.ifAvailRequestedAttrs()) + " divesting " +
         text(o.divestingAttrs());
}

// A publication region set that overlaps and matches the remote sets named.
class FakePubRegionSet : public DtPubRegionSetView {
public:
  FakePubRegionSet(std::uint32_t handle, std::set<std::uint32_t> matches)
      : handle_(handle), matches_(std::move(matches)) {}
  std::uint32_t regionSetHandle() const override { return handle_; }
  bool isMatchOverlap(std::uint32_t regionSet) const override { return matches_.count(regionSet) != 0; }

private:
  std::uint32_t handle_;
  std::set<std::uint32_t> matches_;
};

// Puts the process-wide discovered-class switch back.
class UseDiscoveredClassGuard {
public:
  explicit UseDiscoveredClassGuard(bool on) : before_(DtRtiObject::useDiscoveredClass()) {
    DtRtiObject::setUseDiscoveredClass(on);
  }
  ~UseDiscoveredClassGuard() { DtRtiObject::setUseDiscoveredClass(before_); }
  UseDiscoveredClassGuard(const UseDiscoveredClassGuard&) = delete;
  UseDiscoveredClassGuard& operator=(const UseDiscoveredClassGuard&) = delete;

private:
  bool before_;
};

// The FOM and its classes.
class RecordFom {
public:
  RecordFom() : fom(fomFromText(recordFed())) {
    root = fom->classByHandle(0);
    radio = fom->classByName("Radio");
    wide = fom->classByName("Wide");
    narrow = fom->classByName("Wide.Narrow");
  }

  std::unique_ptr<DtFomClassMgr> fom;
  DtObjectClassInfo* root = nullptr;
  DtObjectClassInfo* radio = nullptr;
  DtObjectClassInfo* wide = nullptr;
  DtObjectClassInfo* narrow = nullptr;
  RecordingObjectSink sink;
};
