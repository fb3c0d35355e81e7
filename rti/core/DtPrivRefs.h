#pragma once
// DtPrivRefs: the private record of one RTI::RTIambassador, the local RTI
// component of a federate. The ambassador makes it in its constructor,
// filling the fields in the order declared (the MOM manager before the
// implementor, which is given it), and deletes them in the reverse order in
// its destructor: MOM manager, its link, observer list, implementor,
// plug-in loader, RID parameters. The MOM manager, made with the record's
// link (DtMomAmbassador), reads the RID parameters and files its observer in
// the observer list; both outlive it.

#include <memory>

#include "api/DtRtiAmbObserverList.h"
#include "config/DtPluginLoader.h"
#include "config/DtRIDParameters.h"
#include "core/DtAmbassadorMomLink.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "mom/DtMomMgr.h"

class DtPrivRefs {
public:
  std::unique_ptr<DtRIDParameters> ridParameters;
  std::unique_ptr<DtPluginLoader> pluginLoader;
  std::unique_ptr<DtRtiAmbassadorImplementor> implementor;
  std::unique_ptr<DtRtiAmbObserverList> observers;
  std::unique_ptr<DtAmbassadorMomLink> momLink;  // with the MOM manager
  std::unique_ptr<DtMomMgr> momMgr;              // null unless RTI_momServiceAvailable is set
};
