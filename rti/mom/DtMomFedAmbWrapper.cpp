#include "mom/DtMomFedAmbWrapper.h"

#include "mom/DtMomMgr.h"

bool DtMomFedAmbWrapper::reporting() const { return mgr_.needObserve() != 0; }

void DtMomFedAmbWrapper::reportCallback(const char* service, const RTI::Exception* exception,
                                        const DtMomArgument& supplied1, const DtMomArgument& supplied2,
                                        const DtMomArgument& supplied3, const DtMomArgument& supplied4,
                                        const DtMomArgument& supplied5, const DtMomArgument& returned) {
  mgr_.observe(service, exception, supplied1, supplied2, supplied3, supplied4, supplied5, returned, DtMomInitiatorRti);
}

void DtMomFedAmbWrapper::failed(const RTI::Exception& failure) { mgr_.processException(failure); }
