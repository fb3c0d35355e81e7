#pragma once
// DtMomReportCounts: the tally list that a count report carries. The MOM
// manager lends the report a list of its own for one send (the report does
// not own it, and a copy shares it); a report decoded from a received
// interaction owns the list it was given, and a copy gets a list of its own.

#include <memory>

#include "mom/DtMomTallyList.h"

class DtMomReportCounts {
public:
  DtMomReportCounts() = default;
  DtMomReportCounts(const DtMomReportCounts& other) { *this = other; }
  DtMomReportCounts& operator=(const DtMomReportCounts& other);

  DtMomTallyList* get() const { return list_; }
  // A list that stays its owner's.
  void lend(DtMomTallyList* list);
  // A list that the holder owns from now on; false for none, which changes
  // nothing (a decoder's refusal).
  bool adopt(std::unique_ptr<DtMomTallyList> list);

private:
  DtMomTallyList* list_ = nullptr;
  std::unique_ptr<DtMomTallyList> owned_;  // list_ points here when owned
};
