#include "mom/DtMomObserver.h"

#include "mom/DtMomMgr.h"

void DtMomObserver::notified(const char*, const RTI::Exception* exception) {
  if (exception) mgr_.processException(*exception);
}
