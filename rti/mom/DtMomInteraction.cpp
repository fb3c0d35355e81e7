#include "mom/DtMomInteraction.h"

#include <string>
#include <vector>

#include "objects/DtFomClassMgr.h"

DtMomInteraction::DtMomInteraction(const char* className, int parameterCount)
    : DtMomInteraction(className, parameterCount, parameterCount) {}

DtMomInteraction::DtMomInteraction(const char* className, int parameterCount, int capacity)
    : name_(className),
      parameterCount_(parameterCount),
      capacity_(capacity),
      pairs_(RTI::ParameterSetFactory::create(static_cast<RTI::ULong>(capacity))) {}

DtMomInteraction::DtMomInteraction(const DtMomInteraction& other)
    : name_(other.name_),
      federateHandle_(other.federateHandle_),
      parameterCount_(other.parameterCount_),
      capacity_(other.capacity_),
      pairs_(RTI::ParameterSetFactory::create(static_cast<RTI::ULong>(other.capacity_))),
      handleMapper_(other.handleMapper_),
      refusedValues_(other.refusedValues_) {}

DtMomInteraction& DtMomInteraction::operator=(const DtMomInteraction& other) {
  if (this == &other) return *this;
  // The class (name, count, room) stays this one's; the pairs go, as they
  // were encoded from this one's values.
  federateHandle_ = other.federateHandle_;
  handleMapper_ = other.handleMapper_;
  refusedValues_ = other.refusedValues_;
  pairs_.reset(RTI::ParameterSetFactory::create(static_cast<RTI::ULong>(capacity_)));
  return *this;
}

DtMomInteraction::~DtMomInteraction() = default;

std::uint32_t DtMomInteraction::handle() const {
  return handleMapper_ ? static_cast<std::uint32_t>(handleMapper_->interactionHandle(name())) : 0;
}

const DtFomClassMgr& DtMomInteraction::mapper() const {
  if (!handleMapper_) throw RTI::RTIinternalError((std::string("No handle mapper for ") + name()).c_str());
  return *handleMapper_;
}

RTI::ParameterHandle DtMomInteraction::parameterHandle(const char* parameter) const {
  const DtFomClassMgr& fom = mapper();
  return fom.paramHandle(parameter, fom.interactionHandle(name()));
}

std::span<const DtMomParameter> DtMomInteraction::parameters() const {
  static constexpr DtMomParameter federateOnly[] = {DtMomFederateParameter};
  return federateOnly;
}

const RTI::ParameterHandleValuePairSet& DtMomInteraction::phvps() {
  pairs_->empty();
  // The class is looked up once: a report is encoded at every service call
  // while they are reported.
  const DtFomClassMgr& fom = mapper();
  const RTI::InteractionClassHandle cls = fom.interactionHandle(name());
  for (const DtMomParameter& parameter : parameters()) {
    if (carries(parameter)) parameter.encode(*this, pairs_.get(), fom.paramHandle(parameter.name, cls));
  }
  return *pairs_;
}

const RTI::ParameterHandleValuePairSet& DtMomInteraction::phvps(std::span<const RTI::ParameterHandle> handles) {
  pairs_->empty();
  const std::span<const DtMomParameter> rows = parameters();
  for (std::size_t row = 0; row < rows.size() && row < handles.size(); ++row) {
    if (carries(rows[row])) rows[row].encode(*this, pairs_.get(), handles[row]);
  }
  return *pairs_;
}

void DtMomInteraction::setFromPhvps(const RTI::ParameterHandleValuePairSet& set) {
  const std::span<const DtMomParameter> rows = parameters();
  std::vector<RTI::ParameterHandle> handles;
  handles.reserve(rows.size());
  for (const DtMomParameter& row : rows) handles.push_back(parameterHandle(row.name));
  refusedValues_ = 0;
  for (RTI::ULong i = set.start(); set.valid(i); i = set.next(i)) {
    const RTI::Handle received = set.getHandle(i);
    for (std::size_t row = 0; row < rows.size(); ++row) {
      if (handles[row] == received && !rows[row].decode(this, set, i, rows[row].name)) ++refusedValues_;
    }
  }
}

std::optional<RTI::ULong> DtMomInteraction::lastPairOf(const RTI::ParameterHandleValuePairSet& set,
                                                       const char* parameter) const {
  const RTI::ParameterHandle handle = parameterHandle(parameter);
  std::optional<RTI::ULong> last;
  for (RTI::ULong i = set.start(); set.valid(i); i = set.next(i)) {
    if (set.getHandle(i) == handle) last = i;
  }
  return last;
}

void DtMomInteraction::encodeFederateHandle(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                                            RTI::ParameterHandle handle) {
  genericEncodeHandle(interaction.federateHandle(), set, handle);
}

bool DtMomInteraction::decodeFederateHandle(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set,
                                            RTI::ULong index, const char* parameter) {
  const auto federate = genericDecodeHandle(set, index, parameter);
  if (federate) interaction->setFederateHandle(*federate);
  return federate.has_value();
}
