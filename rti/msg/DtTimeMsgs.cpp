#include "msg/DtTimeMsgs.h"

#include "util/DtNotify.h"

void DtTimeLookaheadMsg::set(const RTI::FedTime& time, const RTI::FedTime& lookahead, char timeAvailable,
                             unsigned long nerCycle) {
  setTime(time);
  setLookahead(lookahead);
  setTimeAvailable(timeAvailable);
  setNerCycle(nerCycle);
}

void DtNerLbtsMsg::set(unsigned long nerCycle, unsigned long laggardFederate, char isNerPending, char isLagNerPending,
                       const RTI::FedTime& lbts, const RTI::FedTime& lagLbts) {
  setNerCycle(nerCycle);
  setLaggardFederate(laggardFederate);
  setIsNerPending(isNerPending);
  setIsLagNerPending(isLagNerPending);
  setTime(lbts);
  setLagLbts(lagLbts);
}

void DtNullMsg::printData() const { DtNotifyInfo("Null message\n"); }
