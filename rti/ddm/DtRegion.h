#pragma once
// DtRegion: the library's RTI::Region, a region of a routing space. Every
// region a federate holds comes from the RTI (createRegion, getRegion), so
// the RTI takes the regions it is given to be its own. This is what the rest
// of the RTI asks of one.

#include "RTI.hh"

class DtRegion : public RTI::Region {
public:
  // The region's handle: the token that names it between federates.
  virtual RTI::RegionToken handle() const = 0;
};
