#include "CoreTestSupport.h"

#include <algorithm>
#include <cstring>

#include "config/DtFedReader.h"
#include "core/DtTimeMgr.h"
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

bool FakeFederateMgr::readFom(const char* fedFile) {
  DtFedReader reader;
  fom_ = DtFomClassMgr::loadFed(reader, fedFile, params());
  return fom_ != nullptr;
}

void FakeFederateMgr::connect() { connectMgr_ = DtAsyncConnectionMgr::create(params()); }

char* FakeFederateMgr::copyOf(const char* text) {
  char* copy = new char[std::strlen(text) + 1];
  std::strcpy(copy, text);
  return copy;
}

int FakeFederateMgr::count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}
