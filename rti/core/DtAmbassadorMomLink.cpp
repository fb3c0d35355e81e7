#include "core/DtAmbassadorMomLink.h"

#include "core/DtPrivRefs.h"

DtRIDParameters* DtAmbassadorMomLink::ridParameters() const { return refs_.ridParameters.get(); }

DtRtiAmbObserverList* DtAmbassadorMomLink::observers() const { return refs_.observers.get(); }

#define DT_MOM_LINK_SERVICE(type, kind, name, ...) \
  type DtAmbassadorMomLink::name(DT_RTI_PARAMS(__VA_ARGS__)) { return ambassador_.name(DT_RTI_ARGS(__VA_ARGS__)); }
DT_RTI_SERVICES(DT_MOM_LINK_SERVICE)
#undef DT_MOM_LINK_SERVICE
