// libFuzzer target: any bytes as the parameters of a received MOM
// interaction. The first byte picks one of the 60 MOM interaction classes;
// the rest is pairs of a parameter (a byte: the class's parameter of that
// index, else a handle of no parameter), a length byte and that many value
// bytes. The set is read into the interaction, whose own encoding must then
// read back without a refusal and encode to the same bytes again. The same
// bytes also go, as one value, through every generic decoder and the list
// decoders.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "config/DtFedReader.h"
#include "mom/DtMomCountReports.h"
#include "mom/DtMomDeclarationReports.h"
#include "mom/DtMomHandleList.h"
#include "mom/DtMomInteractionFactory.h"
#include "mom/DtMomReports.h"
#include "mom/DtMomTallyList.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "util/DtNotify.h"
#include "util/DtNotifyHandler.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// Keeps the reports flowing through the formatting code without output.
class Sink : public DtNotifyHandler {
public:
  void notify(const char*, int) override {}
};

using Creator = DtMomInteraction* (*)();

struct Model {
  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<DtMomInteractionFactory> factory;
  std::vector<std::uint32_t> classes;  // the 46 received ones, by handle
  std::vector<Creator> reports;
};

const Model& model() {
  static const Model loaded = [] {
    DtSetNotifyHandler(new Sink);
    DtSetNotifyLevel(2);
    DtOpenLogOutput(nullptr, 0, 0);
    Model m;
    DtFedReader reader;
    m.fom = DtFomClassMgr::loadFed(reader, QLX_SOURCE_ROOT "/rti/config/sample.fed", nullptr);
    require(m.fom != nullptr);
    m.factory = std::make_unique<DtMomInteractionFactory>(m.fom.get());
    for (std::uint32_t handle = 0; handle < static_cast<std::uint32_t>(m.fom->numInteractions()); ++handle) {
      const DtInteractionClassInfo* record = m.fom->interactionByHandle(handle);
      // The classes themselves, not their FOM subclasses.
      std::unique_ptr<DtMomInteraction> made(m.factory->create(handle));
      if (record && made && m.fom->interactionHandle(made->name()) == handle) m.classes.push_back(handle);
    }
    require(m.classes.size() == 46);
    m.reports = {&DtAlertInteraction::create,
                 &DtReportInteractionPublicationInteraction::create,
                 &DtReportInteractionsReceivedInteraction::create,
                 &DtReportInteractionsSentInteraction::create,
                 &DtReportInteractionSubscriptionInteraction::create,
                 &DtReportObjectInformationInteraction::create,
                 &DtReportObjectsOwnedInteraction::create,
                 &DtReportObjectPublicationInteraction::create,
                 &DtReportObjectsReflectedInteraction::create,
                 &DtReportObjectSubscriptionInteraction::create,
                 &DtReportObjectsUpdatedInteraction::create,
                 &DtReportReflectionsReceivedInteraction::create,
                 &DtReportServiceInvocationInteraction::create,
                 &DtReportUpdatesSentInteraction::create};
    return m;
  }();
  return loaded;
}

std::unique_ptr<DtMomInteraction> make(const Model& m, std::size_t which) {
  std::unique_ptr<DtMomInteraction> interaction(which < m.classes.size() ? m.factory->create(m.classes[which])
                                                                         : m.reports[which - m.classes.size()]());
  require(interaction != nullptr);
  interaction->setHandleMapper(m.fom.get());
  return interaction;
}

std::vector<std::pair<RTI::Handle, std::string>> pairsOf(const RTI::ParameterHandleValuePairSet& set) {
  std::vector<std::pair<RTI::Handle, std::string>> pairs;
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    RTI::ULong length = 0;
    const char* bytes = set.getValuePointer(i, length);
    pairs.emplace_back(set.getHandle(i), std::string(bytes, length));
  }
  return pairs;
}

// The bytes as one value, through every generic decoder.
void decodeAsOneValue(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set(RTI::ParameterSetFactory::create(1));
  set->add(1, reinterpret_cast<const char*>(data), static_cast<RTI::ULong>(size));
  (void)DtMomInteraction::genericDecodeString(*set, 0);
  (void)DtMomInteraction::genericDecodeHandle(*set, 0, "p");
  (void)DtMomInteraction::genericDecodeLong(*set, 0, "p");
  (void)DtMomInteraction::genericDecodeTransportationTypes(*set, 0);
  (void)DtMomInteraction::genericDecodeOrderTypes(*set, 0);
  (void)DtMomInteraction::genericDecodeBoolean(*set, 0);
  (void)DtMomInteraction::genericDecodeAttributeStateOptions(*set, 0);
  (void)DtMomInteraction::genericDecodeInitiatorOptions(*set, 0);
  (void)DtMomInteraction::genericDecodeAlertTypes(*set, 0);
  (void)DtMomInteraction::genericDecodeFedtime(*set, 0, "p");
  DtMomHandleList list;
  if (DtMomInteraction::genericDecodeHandleList(list, *set, 0, "p")) {
    DtString text;
    list.encode(text);
    DtMomHandleList again;
    require(again.decodeVerbose(text) && again.handles() == list.handles());
  }
  if (auto tallies = DtMomInteraction::genericDecodeTallyList(*set, 0, "p", RTI::RTI_TRUE, DtReliable)) {
    const std::string text = tallies->text(RTI::RTI_TRUE, DtReliable);
    auto again = DtMomTallyList::fromText(text, RTI::RTI_TRUE, DtReliable);
    require(again && again->text(RTI::RTI_TRUE, DtReliable) == text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Model& m = model();
  decodeAsOneValue(data, size);
  if (size == 0) return 0;

  const std::size_t which = data[0] % (m.classes.size() + m.reports.size());
  const auto received = make(m, which);
  const DtInteractionClassInfo* record = m.fom->interactionByName(received->name());
  require(record != nullptr);
  const std::uint32_t parameters = record->numParameters();

  std::vector<std::pair<RTI::Handle, std::string>> pairs;
  for (std::size_t at = 1; at + 1 < size && pairs.size() < 64;) {
    const std::uint8_t parameter = data[at++];
    const std::uint8_t stated = data[at++];
    const std::size_t length = std::min<std::size_t>(stated, size - at);
    const RTI::Handle handle = parameter < parameters ? record->params()[parameter]->handle() : 1000u + parameter;
    pairs.emplace_back(handle, std::string(reinterpret_cast<const char*>(data + at), length));
    at += length;
  }
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set(
      RTI::ParameterSetFactory::create(static_cast<RTI::ULong>(pairs.size())));
  for (const auto& [handle, bytes] : pairs) set->add(handle, bytes.data(), static_cast<RTI::ULong>(bytes.size()));

  received->setFromPhvps(*set);
  const auto encoded = pairsOf(received->phvps());
  require(encoded.size() >= static_cast<std::size_t>(received->parameterCount()));

  // What the interaction writes reads back whole and writes the same again.
  const auto again = make(m, which);
  again->setFromPhvps(received->phvps());
  require(again->refusedValues() == 0);
  require(pairsOf(again->phvps()) == encoded);
  return 0;
}
