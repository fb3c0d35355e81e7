#pragma once
// DtAmbassadorMomLink: the management object model's link to the
// RTI::RTIambassador that made it (DtMomAmbassador): the ambassador's RID
// parameters and observer list, from its private record, and its public
// services, which it calls as the federate would.

#include "mom/DtMomAmbassador.h"

class DtPrivRefs;

class DtAmbassadorMomLink final : public DtMomAmbassador {
public:
  // Both outlive the link.
  DtAmbassadorMomLink(RTI::RTIambassador& ambassador, DtPrivRefs& refs) : ambassador_(ambassador), refs_(refs) {}

  DtRIDParameters* ridParameters() const override;
  DtRtiAmbObserverList* observers() const override;
#define DT_MOM_LINK_SERVICE(type, kind, name, ...) type name(DT_RTI_PARAMS(__VA_ARGS__)) override;
  DT_RTI_SERVICES(DT_MOM_LINK_SERVICE)
#undef DT_MOM_LINK_SERVICE

  // The ambassador's record, for code of the library that holds the link.
  DtPrivRefs& refs() const { return refs_; }

private:
  RTI::RTIambassador& ambassador_;
  DtPrivRefs& refs_;
};
