#include "core/DtFederateMgr.h"

#include <cstring>

#include "api/DtNotImplemented.h"
#include "ddm/DtDataDistMgr.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"
#include "core/DtTimeMgr.h"
#include "util/DtCreatorHook.h"

namespace {

DtCreatorHook<DtFederateMgr, DtRIDParameters*> theCreator;

std::unique_ptr<char[]> copyOf(const char* text) {
  if (!text) text = "";
  const std::size_t size = std::strlen(text) + 1;
  std::unique_ptr<char[]> copy(new char[size]);
  std::memcpy(copy.get(), text, size);
  return copy;
}

}  // namespace

std::unique_ptr<DtFederateMgr> DtFederateMgr::create(DtRIDParameters* params) {
  // No federate manager class is built in yet, so only a creator makes one.
  return theCreator.makeInstalled(params);
}

void DtFederateMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtFederateMgr::DtFederateMgr(DtRIDParameters* params) : params_(params) {}

DtFederateMgr::~DtFederateMgr() = default;

void DtFederateMgr::init(DtMomMgr* momMgr) { momMgr_ = momMgr; }

void DtFederateMgr::resignFederationExecution(RTI::ResignAction) {
  DtNotImplemented("resignFederationExecution");
}

RTI::Boolean DtFederateMgr::tick() { return RTI::RTI_FALSE; }

void DtFederateMgr::pretick() {}

void DtFederateMgr::posttick() {}

char* DtFederateMgr::getTransportationName(DtTransportType) {
  DtNotImplemented("getTransportationName");
}

char* DtFederateMgr::getOrderName(DtOrderType) { DtNotImplemented("getOrderName"); }

DtTransportType DtFederateMgr::getTransportationHandle(DtString) {
  DtNotImplemented("getTransportationHandle");
}

DtOrderType DtFederateMgr::getOrderHandle(DtString) { DtNotImplemented("getOrderHandle"); }

void DtFederateMgr::setJoinedNames(const char* federateName, const char* executionName) {
  federateName_ = copyOf(federateName);
  executionName_ = copyOf(executionName);
}

void DtFederateMgr::clearJoinedNames() {
  federateName_.reset();
  executionName_.reset();
}
