// Regions of the federate: made in a routing space, their bounds set,
// announced and deleted; objects registered with regions, regions associated
// with objects' updates, object classes subscribed with regions and their
// objects' values requested from a region. A region is named by the name the
// script gave it (or by its token); a space and a dimension by the FED
// file's names (or by their handles).
#include <memory>
#include <string>
#include <vector>

#include <RTI.hh>

#include "CommandTable.h"
#include "ObjectArgs.h"
#include "ScriptSession.h"

namespace {

bool isNumber(const std::string& word) {
  return !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
}

RTI::Region& regionOf(ScriptSession& s, const std::string& word) {
  return *s.rti().getRegion(static_cast<RTI::RegionToken>(s.handle(word)));
}

// "<dimension>=<lower>,<upper>" of the region's space.
void setBounds(ScriptSession& s, RTI::Region& region, RTI::ULong extent, const std::string& word) {
  const std::size_t equals = word.find('=');
  const std::size_t comma = word.find(',', equals == std::string::npos ? 0 : equals);
  if (equals == std::string::npos || comma == std::string::npos) {
    throw UsageError("not <dimension>=<lower>,<upper>: " + word);
  }
  const std::string name = word.substr(0, equals);
  const RTI::DimensionHandle dimension =
      isNumber(name) ? std::stoul(name) : s.rti().getDimensionHandle(name.c_str(), region.getSpaceHandle());
  const ScriptArgs bounds({word.substr(equals + 1, comma - equals - 1), word.substr(comma + 1)});
  region.setRangeLowerBound(extent, dimension, bounds.number(0));
  region.setRangeUpperBound(extent, dimension, bounds.number(1));
}

void addObjectRegionCommands(CommandTable& table) {
  table.add("register-region", "<class> <name|-> [<attribute>=<region>...]",
            "registerObjectInstanceWithRegion (- for a generated name); prints the handle and name, and remembers "
            "the name",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectClassHandle theClass = ObjectClassOf(s, a.text(0));
              std::vector<RTI::AttributeHandle> attributes;
              std::vector<RTI::Region*> regions;
              for (std::size_t i = 2; i < a.size(); ++i) {
                const std::string& word = a.text(i);
                const std::size_t equals = word.find('=');
                if (equals == std::string::npos) throw UsageError("not <attribute>=<region>: " + word);
                attributes.push_back(AttributeOf(s, theClass, word.substr(0, equals)));
                regions.push_back(&regionOf(s, word.substr(equals + 1)));
              }
              const auto count = static_cast<RTI::ULong>(attributes.size());
              const RTI::ObjectHandle object =
                  a.text(1) == "-"
                      ? s.rti().registerObjectInstanceWithRegion(theClass, attributes.data(), regions.data(), count)
                      : s.rti().registerObjectInstanceWithRegion(theClass, a.text(1).c_str(), attributes.data(),
                                                                 regions.data(), count);
              const std::unique_ptr<char[]> name(s.rti().getObjectInstanceName(object));
              s.remember(name.get(), object);
              return std::to_string(object) + " " + name.get();
            });
  table.add("associate-region", "<region> <object> [attribute...]", "associateRegionForUpdates",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectHandle object = s.handle(a.text(1));
              s.rti().associateRegionForUpdates(regionOf(s, a.text(0)), object, *ObjectAttributesOf(s, object, a, 2));
              return std::string();
            });
  table.add("unassociate-region", "<region> <object>", "unassociateRegionForUpdates",
            [](ScriptSession& s, const ScriptArgs& a) {
              s.rti().unassociateRegionForUpdates(regionOf(s, a.text(0)), s.handle(a.text(1)));
              return std::string();
            });
  for (const bool active : {true, false}) {
    table.add(active ? "subscribe-region" : "subscribe-region-passive", "<class> <region> [attribute...]",
              active ? "subscribeObjectClassAttributesWithRegion, active"
                     : "subscribeObjectClassAttributesWithRegion, passive",
              [active](ScriptSession& s, const ScriptArgs& a) {
                const RTI::ObjectClassHandle theClass = ObjectClassOf(s, a.text(0));
                s.rti().subscribeObjectClassAttributesWithRegion(theClass, regionOf(s, a.text(1)),
                                                                 *AttributesOf(s, theClass, a, 2),
                                                                 active ? RTI::RTI_TRUE : RTI::RTI_FALSE);
                return std::to_string(theClass);
              });
  }
  table.add("request-class-region", "<class> <region> <attribute...>",
            "requestClassAttributeValueUpdateWithRegion: the owners answer for what overlaps the region",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectClassHandle theClass = ObjectClassOf(s, a.text(0));
              s.rti().requestClassAttributeValueUpdateWithRegion(theClass, *AttributesOf(s, theClass, a, 2),
                                                                 regionOf(s, a.text(1)));
              return std::string();
            });
  table.add("unsubscribe-region", "<class> <region>", "unsubscribeObjectClassWithRegion",
            [](ScriptSession& s, const ScriptArgs& a) {
              s.rti().unsubscribeObjectClassWithRegion(ObjectClassOf(s, a.text(0)), regionOf(s, a.text(1)));
              return std::string();
            });
}

}  // namespace

void AddRegionCommands(CommandTable& table) {
  addObjectRegionCommands(table);
  table.add("create-region", "<space> <extents> [name]",
            "createRegion; prints the region's token, which the name stands for",
            [](ScriptSession& s, const ScriptArgs& a) {
              const std::string& space = a.text(0);
              const RTI::SpaceHandle handle = isNumber(space) ? static_cast<RTI::SpaceHandle>(std::stol(space))
                                                              : s.rti().getRoutingSpaceHandle(space.c_str());
              RTI::Region* region = s.rti().createRegion(handle, a.number(1));
              const RTI::RegionToken token = s.rti().getRegionToken(region);
              if (a.size() > 2) s.remember(a.text(2), token);
              return std::to_string(token);
            });
  table.add("set-extent", "<region> <extent> <dimension>=<lower>,<upper>...",
            "sets bounds of one extent of the region (announced by notify-region)",
            [](ScriptSession& s, const ScriptArgs& a) {
              RTI::Region& region = regionOf(s, a.text(0));
              for (std::size_t i = 2; i < a.size(); ++i) setBounds(s, region, a.number(1), a.text(i));
              return std::string();
            });
  table.add("notify-region", "<region>", "notifyAboutRegionModification", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().notifyAboutRegionModification(regionOf(s, a.text(0)));
    return std::string();
  });
  table.add("delete-region", "<region>", "deleteRegion", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().deleteRegion(&regionOf(s, a.text(0)));
    return std::string();
  });
}
