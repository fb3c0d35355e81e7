#include "mom/DtMomObserver.h"

#include "mom/DtMomMgr.h"

bool DtMomObserver::reporting() const { return mgr_.needObserve() != 0; }

void DtMomObserver::report(const char* service, const RTI::Exception* exception, const DtMomArgument& supplied1,
                           const DtMomArgument& supplied2, const DtMomArgument& supplied3,
                           const DtMomArgument& supplied4, const DtMomArgument& supplied5,
                           const DtMomArgument& returned) {
  mgr_.observe(service, exception, supplied1, supplied2, supplied3, supplied4, supplied5, returned,
               DtMomInitiatorFederate);
}

void DtMomObserver::failed(const RTI::Exception& exception) { mgr_.processException(exception); }
