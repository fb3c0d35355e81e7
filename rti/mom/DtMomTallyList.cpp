#include "mom/DtMomTallyList.h"

#include "mom/DtMomInteraction.h"
#include "mom/DtMomValueText.h"
#include "util/DtNotify.h"

DtMomTallyList::~DtMomTallyList() {
  if (owns_) deleteAll();
}

void DtMomTallyList::append(const DtMtallySet* tallies) { DtList::append(const_cast<DtMtallySet*>(tallies)); }

void DtMomTallyList::adopt(std::unique_ptr<DtMtallySet> tallies) {
  if (!owns_) {
    DtNotifyError("DtMomTallyList::adopt: this list does not own its tallies, the one given is dropped\n");
    return;
  }
  append(tallies.release());
}

std::int32_t DtMomTallyList::total(RTI::Boolean received) const {
  std::int64_t sum = 0;
  for (const DtListItem* item = head(); item; item = item->next()) {
    sum += tallies(item)->tally(received, DtReliable) + tallies(item)->tally(received, DtBestEffort);
  }
  return static_cast<std::int32_t>(sum);  // the counters themselves wrap at 32 bits
}

void DtMomTallyList::deleteAll() {
  while (head()) delete static_cast<DtMtallySet*>(remove(head()));
}

void DtMomTallyList::encodeVerbose(RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle parameter,
                                   RTI::Boolean received, DtTransportType transport) const {
  DtMomInteraction::genericEncodeString(text(received, transport).c_str(), set, parameter);
}

std::string DtMomTallyList::text(RTI::Boolean received, DtTransportType transport) const {
  std::string out;
  for (const DtListItem* item = head(); item; item = item->next()) {
    const long count = tallies(item)->tally(received, transport);
    if (count == 0) continue;
    if (!out.empty()) out += ',';
    out += std::to_string(tallies(item)->handle()) + '/' + std::to_string(count);
  }
  return out;
}

std::unique_ptr<DtMomTallyList> DtMomTallyList::fromText(const std::string& text, RTI::Boolean received,
                                                         DtTransportType transport) {
  auto list = std::make_unique<DtMomTallyList>(true);
  for (const std::string& pair : DtMomValueText::tokens(text, " ,")) {
    const std::size_t slash = pair.find('/');
    if (slash == std::string::npos) return nullptr;
    const auto handle = DtMomValueText::handle(pair.substr(0, slash));
    const auto count = DtMomValueText::signed32(pair.substr(slash + 1));
    if (!handle || !count) return nullptr;
    auto tallies = std::make_unique<DtMtallySet>();
    tallies->setHandle(*handle);
    tallies->setTally(*count, received, transport);
    list->adopt(std::move(tallies));
  }
  return list;
}

std::unique_ptr<DtMomTallyList> DtMomTallyList::deepCopy() const {
  auto copy = std::make_unique<DtMomTallyList>(true);
  for (const DtListItem* item = head(); item; item = item->next()) {
    auto tallies = std::make_unique<DtMtallySet>(*this->tallies(item));
    tallies->setHandle(this->tallies(item)->handle());
    copy->adopt(std::move(tallies));
  }
  return copy;
}
