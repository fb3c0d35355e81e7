#include "mom/DtMomReportCounts.h"

DtMomReportCounts& DtMomReportCounts::operator=(const DtMomReportCounts& other) {
  if (this == &other) return *this;
  if (other.owned_) {
    adopt(other.owned_->deepCopy());
  } else {
    lend(other.list_);
  }
  return *this;
}

void DtMomReportCounts::lend(DtMomTallyList* list) {
  if (list && list == owned_.get()) return;  // its own list, lent back
  owned_.reset();
  list_ = list;
}

bool DtMomReportCounts::adopt(std::unique_ptr<DtMomTallyList> list) {
  if (!list) return false;
  owned_ = std::move(list);
  list_ = owned_.get();
  return true;
}
