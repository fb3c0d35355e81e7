#include "config/DtlParam.h"

#include <cstdio>
#include <cstdlib>

#include "config/DtlEnv.h"
#include "config/DtlHashTable.h"
#include "config/DtlObj.h"
#include "config/DtlPrint.h"
#include "util/DtNotify.h"

DtlParam::DtlParam(const char* name) : name_(name ? name : "") {}

DtlParam::~DtlParam() = default;

void DtlParam::attach(const DtlObjPtr& symbol, DtlObj* frame) {
  symbol_ = symbol;
  frame_ = frame;
}

DtlObjPtr DtlParam::lispValue() const {
  if (!frame_ || !frame_->table()) return DtlObjPtr();
  return frame_->table()->value(name_.c_str());
}

void DtlParam::bind(const DtlObjPtr& value) {
  if (frame_ && frame_->table()) set1env(symbol_, value, DtlObjPtr(frame_));
}

void DtlParam::warnWrongKind(const char* expected, const DtlObjPtr& value) const {
  if (DtGetNotifyLevel() < 1) return;
  std::fprintf(stderr, "Lisp Warning: Variable %s should be %s, not ", name_.c_str(), expected);
  DtcPrintError(value);
}

std::string DtlParam::text() const {
  const DtlObjPtr value = lispValue();
  return DtcValueText(value ? value : defaultValue());
}
