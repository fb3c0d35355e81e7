#pragma once
// DtMomObjectClasses: the two object classes of the management object model,
// Manager.Federate and Manager.Federation, with their attributes in the order
// the MOM sends them and the element that stands for each.
//
// The publishers look their classes and attributes up without asking again,
// so a FED file must hold all of them: DtMomMissingObjectModel names the
// first that it lacks, and the MOM manager checks it before it joins and
// leaves the MOM unjoined when something is missing (the federate goes on).

#include <span>
#include <string>

#include "mom/DtMomTypes.h"

class DtFomClassMgr;

struct DtMomAttribute {
  const char* name;
  DtMomElement element;
};

struct DtMomObjectClass {
  const char* name;
  // The privilege to delete first (element 0), then the MOM's own.
  std::span<const DtMomAttribute> attributes;
};

extern const DtMomObjectClass DtMomFederateClass;    // "Manager.Federate", 24 attributes
extern const DtMomObjectClass DtMomFederationClass;  // "Manager.Federation", 9 attributes

// The first class ("Manager.Federate") or attribute of one
// ("Manager.Federate.LBTS") that the model lacks; empty when it has them all.
std::string DtMomMissingObjectModel(const DtFomClassMgr& fom);
