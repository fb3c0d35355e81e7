#pragma once
// DtMomAmbassador: what the management object model reaches of the
// RTI::RTIambassador that made it: the RID parameters it reads, the
// ambassador's observer list, where it files its service observer, and the
// RTI services it calls on the federate's behalf. A service called here is
// the ambassador's public one, so that every observer (the MOM's own among
// them) sees the call as one of the federate's.
//
// The ambassador's side implements it (DtAmbassadorMomLink in core) and
// makes it before the MOM manager; it outlives the MOM manager.

#include "RTI.hh"
#include "api/DtRtiServiceTable.h"

class DtRIDParameters;
class DtRtiAmbObserverList;

class DtMomAmbassador {
public:
  // The ambassador's RID parameters.
  virtual DtRIDParameters* ridParameters() const = 0;
  // The ambassador's observer list; null once the ambassador has deleted it.
  virtual DtRtiAmbObserverList* observers() const = 0;

  // Every service of RTI::RTIambassador, by its name and signature.
#define DT_MOM_AMBASSADOR_SERVICE(type, kind, name, ...) virtual type name(DT_RTI_PARAMS(__VA_ARGS__)) = 0;
  DT_RTI_SERVICES(DT_MOM_AMBASSADOR_SERVICE)
#undef DT_MOM_AMBASSADOR_SERVICE

protected:
  DtMomAmbassador() = default;
  DtMomAmbassador(const DtMomAmbassador&) = default;
  DtMomAmbassador& operator=(const DtMomAmbassador&) = default;
  ~DtMomAmbassador() = default;
};
