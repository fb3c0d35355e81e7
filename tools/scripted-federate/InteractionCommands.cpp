// Interaction classes: their declarations, their traffic, their transport
// and order, and the interaction relevance advisory switch. A class is
// named as the FED file names it (or by its handle); a parameter as
// <name>=<value> or <handle>=<value>, the value being the text after '=', or
// as <name>#<count> for a value of that many bytes. A region is named as
// the region commands name it, or as an own-region.
#include <map>
#include <memory>
#include <string>

#include <RTI.hh>
#include <fedtime.hh>

#include "CommandTable.h"
#include "ScriptSession.h"

namespace {

bool isNumber(const std::string& word) {
  return !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
}

RTI::InteractionClassHandle interactionClass(ScriptSession& s, const std::string& word) {
  return isNumber(word) ? s.handle(word) : s.rti().getInteractionClassHandle(word.c_str());
}

// The words from `first` on as the parameters of the class.
std::unique_ptr<RTI::ParameterHandleValuePairSet> parameters(ScriptSession& s, RTI::InteractionClassHandle theClass,
                                                             const ScriptArgs& a, std::size_t first) {
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set(
      RTI::ParameterSetFactory::create(a.size() > first ? a.size() - first : 1));
  for (std::size_t i = first; i < a.size(); ++i) {
    const ValueWord pair = ParseValueWord(a.text(i));
    const RTI::ParameterHandle parameter =
        isNumber(pair.name) ? s.handle(pair.name) : s.rti().getParameterHandle(pair.name.c_str(), theClass);
    set->add(parameter, pair.value.data(), pair.value.size());
  }
  return set;
}

// A region the federate makes itself rather than asks the RTI for: one
// extent of one dimension, all bounds 0. With data distribution off the RTI
// makes no regions, yet sendInteractionWithRegion still takes one.
class OwnRegion : public RTI::Region {
public:
  explicit OwnRegion(RTI::SpaceHandle space) : space_(space) {}
  RTI::ULong getRangeLowerBound(RTI::ExtentIndex, RTI::DimensionHandle) const override { return 0; }
  RTI::ULong getRangeUpperBound(RTI::ExtentIndex, RTI::DimensionHandle) const override { return 0; }
  void setRangeLowerBound(RTI::ExtentIndex, RTI::DimensionHandle, RTI::ULong) override {}
  void setRangeUpperBound(RTI::ExtentIndex, RTI::DimensionHandle, RTI::ULong) override {}
  RTI::SpaceHandle getSpaceHandle() const override { return space_; }
  RTI::ULong getNumberOfExtents() const override { return 1; }
  RTI::ULong getRangeLowerBoundNotificationLimit(RTI::ExtentIndex, RTI::DimensionHandle) const override { return 0; }
  RTI::ULong getRangeUpperBoundNotificationLimit(RTI::ExtentIndex, RTI::DimensionHandle) const override { return 0; }

private:
  RTI::SpaceHandle space_;
};

std::map<std::string, std::unique_ptr<OwnRegion>>& ownRegions() {
  static std::map<std::string, std::unique_ptr<OwnRegion>> regions;
  return regions;
}

RTI::Region& regionOf(ScriptSession& s, const std::string& word) {
  const auto own = ownRegions().find(word);
  if (own != ownRegions().end()) return *own->second;
  return *s.rti().getRegion(static_cast<RTI::RegionToken>(s.handle(word)));
}

void addRegionDeclarations(CommandTable& table) {
  table.add("subscribe-interaction-region", "<class> <region> [passive]",
            "subscribeInteractionClassWithRegion (actively unless passive)", [](ScriptSession& s, const ScriptArgs& a) {
              const std::string how = a.textOr(2, "active");
              if (how != "active" && how != "passive") throw UsageError("neither active nor passive: " + how);
              s.rti().subscribeInteractionClassWithRegion(interactionClass(s, a.text(0)), regionOf(s, a.text(1)),
                                                          how == "active" ? RTI::RTI_TRUE : RTI::RTI_FALSE);
              return std::string();
            });
  table.add("unsubscribe-interaction-region", "<class> <region>", "unsubscribeInteractionClassWithRegion",
            [](ScriptSession& s, const ScriptArgs& a) {
              s.rti().unsubscribeInteractionClassWithRegion(interactionClass(s, a.text(0)), regionOf(s, a.text(1)));
              return std::string();
            });
  table.add("send-interaction-region", "<class> <region> <tag> [<parameter>=<value>|<parameter>#<count>...]",
            "sendInteractionWithRegion", [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::InteractionClassHandle theClass = interactionClass(s, a.text(0));
              const auto set = parameters(s, theClass, a, 3);
              s.rti().sendInteractionWithRegion(theClass, *set, a.text(2).c_str(), regionOf(s, a.text(1)));
              return std::string();
            });
  table.add("own-region", "<name> <space handle>",
            "a region the federate makes itself, not the RTI (for sendInteractionWithRegion with data "
            "distribution off)",
            [](ScriptSession&, const ScriptArgs& a) {
              ownRegions()[a.text(0)] = std::make_unique<OwnRegion>(static_cast<RTI::SpaceHandle>(a.number(1)));
              return a.text(0);
            });
}

void addDeclarations(CommandTable& table) {
  table.add("interaction-handle", "<class>", "getInteractionClassHandle; prints the handle",
            [](ScriptSession& s, const ScriptArgs& a) {
              return std::to_string(s.rti().getInteractionClassHandle(a.text(0).c_str()));
            });
  table.add("publish-interaction", "<class>", "publishInteractionClass", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().publishInteractionClass(interactionClass(s, a.text(0)));
    return std::string();
  });
  table.add("unpublish-interaction", "<class>", "unpublishInteractionClass", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().unpublishInteractionClass(interactionClass(s, a.text(0)));
    return std::string();
  });
  table.add("subscribe-interaction", "<class> [passive]", "subscribeInteractionClass (actively unless passive)",
            [](ScriptSession& s, const ScriptArgs& a) {
              const std::string how = a.textOr(1, "active");
              if (how != "active" && how != "passive") throw UsageError("neither active nor passive: " + how);
              s.rti().subscribeInteractionClass(interactionClass(s, a.text(0)),
                                                how == "active" ? RTI::RTI_TRUE : RTI::RTI_FALSE);
              return std::string();
            });
  table.add("unsubscribe-interaction", "<class>", "unsubscribeInteractionClass",
            [](ScriptSession& s, const ScriptArgs& a) {
              s.rti().unsubscribeInteractionClass(interactionClass(s, a.text(0)));
              return std::string();
            });
}

void addTraffic(CommandTable& table) {
  table.add("send-interaction", "<class> <tag> [<parameter>=<value>|<parameter>#<count>...]", "sendInteraction",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::InteractionClassHandle theClass = interactionClass(s, a.text(0));
              const auto set = parameters(s, theClass, a, 2);
              s.rti().sendInteraction(theClass, *set, a.text(1).c_str());
              return std::string();
            });
  table.add("send-interaction-at", "<time> <class> <tag> [<parameter>=<value>...]",
            "sendInteraction with a time stamp; prints the retraction handle as serial/federate",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::InteractionClassHandle theClass = interactionClass(s, a.text(1));
              const auto set = parameters(s, theClass, a, 3);
              const RTI::EventRetractionHandle handle =
                  s.rti().sendInteraction(theClass, *set, RTIfedTime(a.seconds(0)), a.text(2).c_str());
              return std::to_string(handle.theSerialNumber) + "/" + std::to_string(handle.sendingFederate);
            });
  // A transport or order named as the RTI names it, or given by its handle.
  using Lookup = RTI::Handle (RTI::RTIambassador::*)(const char*);
  using Change = void (RTI::RTIambassador::*)(RTI::InteractionClassHandle, RTI::Handle);
  struct TypeCommand {
    const char* verb;
    const char* usage;
    const char* what;
    Lookup lookup;
    Change change;
  };
  const TypeCommand typeCommands[] = {
      {"interaction-transport", "<class> <reliable|best_effort|handle>", "changeInteractionTransportationType",
       &RTI::RTIambassador::getTransportationHandle, &RTI::RTIambassador::changeInteractionTransportationType},
      {"interaction-order", "<class> <receive|timestamp|handle>", "changeInteractionOrderType",
       &RTI::RTIambassador::getOrderingHandle, &RTI::RTIambassador::changeInteractionOrderType},
  };
  for (const TypeCommand& command : typeCommands) {
    table.add(command.verb, command.usage, command.what, [command](ScriptSession& s, const ScriptArgs& a) {
      const std::string& type = a.text(1);
      (s.rti().*command.change)(interactionClass(s, a.text(0)),
                                isNumber(type) ? s.handle(type) : (s.rti().*command.lookup)(type.c_str()));
      return std::string();
    });
  }
  table.add("sentinel-class", "<class>",
            "at every later join, publishes and subscribes the class, whose interactions are then sentinels: kept "
            "for wait-sentinel, printed and counted nowhere, nor the class's advisories",
            [](ScriptSession& s, const ScriptArgs& a) {
              s.setSentinelClass(a.text(0));
              return a.text(0);
            });
  table.add("interaction-advisory", "<on|off>", "the interaction relevance advisory switch",
            [](ScriptSession& s, const ScriptArgs& a) {
              const std::string& how = a.text(0);
              if (how == "on") {
                s.rti().enableInteractionRelevanceAdvisorySwitch();
              } else if (how == "off") {
                s.rti().disableInteractionRelevanceAdvisorySwitch();
              } else {
                throw UsageError("neither on nor off: " + how);
              }
              return std::string();
            });
}

}  // namespace

void AddInteractionCommands(CommandTable& table) {
  addDeclarations(table);
  addRegionDeclarations(table);
  addTraffic(table);
}
