#pragma once
// DtMomFederationPublisher: the Manager.Federation object as this federate
// keeps it, named "HLA_Federation" under object handle 0. It never goes on
// the network: its registration is handed to this federate's own object
// manager as if federate 0 had sent it, and its updates are delivered there
// alone (DtLocalUpdate). The RTI holds its MOM attributes; the class's
// others go to the local RTI component once the rtiexec designates this
// federate (designate).

#include "mom/DtMomPublisher.h"

class DtMomInspector;

class DtMomFederationPublisher : public DtMomPublisher {
public:
  DtMomFederationPublisher(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtObjectMgr* objMgr,
                           DtMomInspector* inspector);

  // Hands the class's attributes that are not MOM attributes to the local
  // RTI component.
  virtual void designate();

protected:
  void sendRegister(DtRegObjMsg& msg) override;
};
