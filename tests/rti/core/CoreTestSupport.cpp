#include "CoreTestSupport.h"

#include <algorithm>

#include "core/DtTimeMgr.h"
#include "config/DtFedReader.h"
#include "ddm/DtDataDistMgr.h"
#include "net/DtAsyncConnectionMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"

FakeFederateMgr* FakeFederateMgr::last = nullptr;

FakeFederateMgr::~FakeFederateMgr() {
  if (last == this) last = nullptr;
}

DtFederateMgr* FakeFederateMgr::make(DtRIDParameters* params) {
  last = new FakeFederateMgr(params);
  return last;
}

void FakeFederateMgr::setTimeMgr(std::unique_ptr<DtTimeMgr> manager) {
  timeMgr_ = std::move(manager);
}

void FakeFederateMgr::setDdmMgr(std::unique_ptr<DtDataDistMgr> manager) {
  ddmMgr_ = std::move(manager);
}

void FakeFederateMgr::setObjMgr(std::unique_ptr<DtObjectMgr> manager) { objMgr_ = std::move(manager); }

void FakeFederateMgr::setInterMgr(std::unique_ptr<DtInteractionMgr> manager) {
  interMgr_ = std::move(manager);
}

bool FakeFederateMgr::readFom(const char* fedFile) {
  DtFedReader reader;
  fom_ = DtFomClassMgr::loadFed(reader, fedFile, params());
  return fom_ != nullptr;
}

void FakeFederateMgr::connect() { connectMgr_ = DtAsyncConnectionMgr::create(params()); }

int FakeFederateMgr::count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}
