#include "mom/DtMomHandleCache.h"

#include <cstring>

#include "mom/DtMomInteraction.h"
#include "objects/DtFomClassMgr.h"

void DtMomHandleCache::add(const DtFomClassMgr& fom, const DtMomInteraction& interaction) {
  const std::span<const DtMomParameter> rows = interaction.parameterRows();
  try {
    Entry entry{
        interaction.name(), rows.data(), static_cast<std::uint32_t>(fom.interactionHandle(interaction.name())), {}};
    entry.parameters.reserve(rows.size());
    for (const DtMomParameter& row : rows) entry.parameters.push_back(fom.paramHandle(row.name, entry.classHandle));
    entries_.push_back(std::move(entry));
  } catch (const RTI::Exception&) {
    // Not in this FOM: sent the long way.
  }
}

const DtMomHandleCache::Entry* DtMomHandleCache::find(const DtMomInteraction& interaction) const {
  const DtMomParameter* table = interaction.parameterRows().data();
  const char* name = interaction.name();
  for (const Entry& entry : entries_) {
    // The same literal may have another address in another file.
    if (entry.table == table && (entry.className == name || std::strcmp(entry.className, name) == 0)) return &entry;
  }
  return nullptr;
}
