// libhlacore's functions beside the HLA 1.3 API.
#include "DtRtiExtensions.hh"

#include "core/DtPrivRefs.h"
#include "core/DtRtiAmbassadorAccess.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "net/DtConnectionMgr.h"
#include "util/DtNotify.h"

DtRtiAmbassadorImplementor& DtRtiAmbassadorAccess::implementor(const RTI::RTIambassador& ambassador) {
  return *refs(ambassador).implementor;
}

void setRtiNotifyLevel(RTI::RTIambassador*, int level) { DtSetNotifyLevel(level); }

namespace {

// The federate's connection manager, through its federate manager; null
// while it has none.
DtConnectionMgr* connectionsOf(const RTI::RTIambassador* ambassador) {
  return DtRtiAmbassadorAccess::implementor(*ambassador).connectMgr();
}

}  // namespace

int DtReadFileDescriptor(RTI::RTIambassador* ambassador, unsigned long index) {
  DtConnectionMgr* connections = connectionsOf(ambassador);
  return connections ? connections->readFileDescriptor(index) : -1;
}

int DtReadFileDescriptor(RTI::RTIambassador* ambassador) { return DtReadFileDescriptor(ambassador, 0); }

int RtReadFileDescriptor(RTI::RTIambassador* ambassador) { return DtReadFileDescriptor(ambassador, 0); }

int DtReadFileEvent(RTI::RTIambassador* ambassador, unsigned long index) {
  DtConnectionMgr* connections = connectionsOf(ambassador);
  return connections ? connections->readFileEvent(index) : -1;
}

bool DtRtiExecConnectionLost(RTI::RTIambassador* ambassador) {
  const DtConnectionMgr* connections = ambassador ? connectionsOf(ambassador) : nullptr;
  return connections && connections->rtiexecLost();
}
