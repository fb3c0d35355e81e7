#pragma once
// The way of the library's extension functions into an RTI::RTIambassador:
// its private record, and from there its implementor.

#include "RTI.hh"

class DtPrivRefs;
class DtRtiAmbassadorImplementor;

class DtRtiAmbassadorAccess {
public:
  static DtPrivRefs& refs(const RTI::RTIambassador& ambassador) { return *ambassador._privRefs; }
  static DtRtiAmbassadorImplementor& implementor(const RTI::RTIambassador& ambassador);
};
