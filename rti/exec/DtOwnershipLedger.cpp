#include "exec/DtOwnershipLedger.h"

void DtOwnershipLedger::given(std::uint32_t federate, const Gift& gift) {
  if (gift.attributes.isEmpty()) return;
  const auto entry = accounts_.try_emplace({federate, gift.object}).first;
  Account& account = entry->second;
  if (gift.classHandle != 0) account.classHandle = gift.classHandle;
  if (!gift.name.empty()) account.name = gift.name;
  for (RTI::ULong i = 0; i < gift.attributes.size(); ++i) ++account.counts[gift.attributes.getHandle(i)];
  settle(entry);
}

void DtOwnershipLedger::taken(std::uint32_t federate, std::uint32_t object, const RTI::AttributeHandleSet& attributes) {
  if (attributes.isEmpty()) return;
  const auto entry = accounts_.try_emplace({federate, object}).first;
  for (RTI::ULong i = 0; i < attributes.size(); ++i) --entry->second.counts[attributes.getHandle(i)];
  settle(entry);
}

void DtOwnershipLedger::settle(std::map<std::pair<std::uint32_t, std::uint32_t>, Account>::iterator entry) {
  std::erase_if(entry->second.counts, [](const auto& count) { return count.second == 0; });
  if (entry->second.counts.empty()) accounts_.erase(entry);
}

std::vector<DtOwnershipLedger::Gift> DtOwnershipLedger::close(std::uint32_t federate) {
  std::vector<Gift> open;
  auto entry = accounts_.lower_bound({federate, 0});
  while (entry != accounts_.end() && entry->first.first == federate) {
    Gift gift{entry->first.second, entry->second.classHandle, entry->second.name, {}};
    for (const auto& [attribute, count] : entry->second.counts) {
      if (count > 0) gift.attributes.add(attribute);
    }
    if (!gift.attributes.isEmpty()) open.push_back(std::move(gift));
    entry = accounts_.erase(entry);
  }
  return open;
}
