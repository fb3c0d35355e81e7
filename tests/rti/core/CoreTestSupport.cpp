#include "CoreTestSupport.h"

#include <algorithm>

#include "core/DtTimeMgr.h"
#include "ddm/DtDataDistMgr.h"

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

int FakeFederateMgr::count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}
