// Regions of the federate: made in a routing space, their bounds set,
// announced and deleted. A region is named by the name the script gave it
// (or by its token); a space and a dimension by the FED file's names (or by
// their handles).
#include <string>

#include <RTI.hh>

#include "CommandTable.h"
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

}  // namespace

void AddRegionCommands(CommandTable& table) {
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
