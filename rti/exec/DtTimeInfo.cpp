#include "exec/DtTimeInfo.h"

#include "util/DtPrintField.h"

namespace {
std::unique_ptr<RTI::FedTime> copyOf(const RTI::FedTime& value) {
  std::unique_ptr<RTI::FedTime> time(RTI::FedTimeFactory::makeZero());
  *time = value;
  return time;
}

void printTime(const char* label, const RTI::FedTime& time) {
  char text[512] = "";
  // getPrintableString is not const in the API, though it only reads.
  if (time.getPrintableLength() < static_cast<int>(sizeof text))
    const_cast<RTI::FedTime&>(time).getPrintableString(text);
  DtPrintField(label, text);
}
}  // namespace

DtTimeInfo::DtTimeInfo(std::uint32_t federateHandle, const RTI::FedTime& time, const RTI::FedTime& lookahead)
    : federateHandle_(federateHandle),
      time_(copyOf(time)),
      lookahead_(copyOf(lookahead)),
      lbts_(copyOf(time)),
      nerTime_(copyOf(time)),
      nerLookahead_(copyOf(lookahead)),
      nerLbts_(copyOf(time)),
      cycleFloor_(copyOf(time)),
      heldBound_(copyOf(time)) {
  updateLbts();
  updateNerLbts();
  *cycleFloor_ = *lbts_;
  heldBound_->setPositiveInfinity();
}

DtTimeInfo::~DtTimeInfo() = default;

void DtTimeInfo::setTime(const RTI::FedTime& time) {
  *time_ = time;
  updateLbts();
}

void DtTimeInfo::setLookahead(const RTI::FedTime& lookahead) {
  *lookahead_ = lookahead;
  updateLbts();
}

void DtTimeInfo::setNerTime(const RTI::FedTime& time) {
  *nerTime_ = time;
  updateNerLbts();
}

void DtTimeInfo::setNerLookahead(const RTI::FedTime& lookahead) {
  *nerLookahead_ = lookahead;
  updateNerLbts();
}

void DtTimeInfo::updateLbts() {
  *lbts_ = *time_;
  *lbts_ += *lookahead_;
}

void DtTimeInfo::updateNerLbts() {
  *nerLbts_ = *nerTime_;
  *nerLbts_ += *nerLookahead_;
}

void DtTimeInfo::raiseLbts(const RTI::FedTime& lbts) {
  if (*lbts_ < lbts) *lbts_ = lbts;
}

void DtTimeInfo::lowerCycleFloor(const RTI::FedTime& floor) {
  if (floor < *cycleFloor_) *cycleFloor_ = floor;
}

void DtTimeInfo::offerBound(const RTI::FedTime& bound) {
  if (heldBound_->isPositiveInfinity() || *heldBound_ < bound) *heldBound_ = bound;
}

void DtTimeInfo::print() const {
  DtPrintField("FederateHandle: ", static_cast<long>(federateHandle_));
  DtPrintField("Time Constrained: ", constrained_ ? "Yes" : "No");
  DtPrintField("Time Regulating: ", regulating_ ? "Yes" : "No");
  DtPrintField("TimeAvailable: ", timeAvailable_ ? "Yes" : "No");
  DtPrintField("NerPending: ", nerPending_ ? "Yes" : "No");
  printTime("Time: ", *time_);
  printTime("Lookahead: ", *lookahead_);
  printTime("Lbts: ", *lbts_);
  printTime("NER Time: ", *nerTime_);
  printTime("NER Lookahead: ", *nerLookahead_);
  printTime("NER Lbts: ", *nerLbts_);
}
