#include "mom/DtMomDeclarationReports.h"

#include <strings.h>
#include <string>
#include <vector>

#include "mom/DtMomFields.h"
#include "mom/DtMomValueText.h"

namespace {

// The class of an attribute list: the empty text when the list is empty.
template <class Report>
void encodeClassOfList(const Report& report, RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle) {
  if (report.attributeList().count() == 0) {
    DtMomInteraction::genericEncodeString("", set, handle);
  } else {
    DtMomInteraction::genericEncodeHandle(report.objectClass(), set, handle);
  }
}

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::span<const DtMomParameter> DtReportInteractionPublicationInteraction::parameters() const {
  using Self = DtReportInteractionPublicationInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      DtMomField<&Self::interactionClassList, &Self::setInteractionClassList>(INTERACTION_CLASS_LIST_PARAMETER_NAME)};
  return rows;
}

void DtReportInteractionSubscriptionInteraction::encodeInteractionClassList(const DtMomInteraction& interaction,
                                                                            RTI::ParameterHandleValuePairSet* set,
                                                                            RTI::ParameterHandle handle) {
  const auto& report = static_cast<const DtReportInteractionSubscriptionInteraction&>(interaction);
  std::string text;
  for (const auto& [list, mark] : {std::pair{&report.activeList(), "/active"}, {&report.passiveList(), "/passive"}}) {
    for (std::uint32_t classHandle : list->handles()) {
      if (!text.empty()) text += ',';
      text += std::to_string(classHandle) + mark;
    }
  }
  genericEncodeString(text.c_str(), set, handle);
}

bool DtReportInteractionSubscriptionInteraction::decodeInteractionClassList(DtMomInteraction* interaction,
                                                                            const RTI::ParameterHandleValuePairSet& set,
                                                                            RTI::ULong index, const char* parameter) {
  const std::string text = DtMomValueText::text(set, index);
  DtMomHandleList active;
  DtMomHandleList passive;
  for (const std::string& entry : DtMomValueText::tokens(text, ",")) {
    const std::size_t slash = entry.find('/');
    const auto handle = DtMomValueText::handle(entry.substr(0, slash));
    const std::string mark = slash == std::string::npos ? std::string() : trimmed(entry.substr(slash + 1));
    DtMomHandleList* list = strcasecmp(mark.c_str(), "active") == 0    ? &active
                            : strcasecmp(mark.c_str(), "passive") == 0 ? &passive
                                                                       : nullptr;
    if (!handle || !list) {
      DtMomValueText::refused("DtReportInteractionSubscriptionInteraction::decodeInteractionClassList", text,
                              parameter);
      return false;
    }
    list->append(*handle);
  }
  auto* report = static_cast<DtReportInteractionSubscriptionInteraction*>(interaction);
  active.setClassHandle(report->activeList().classHandle());
  active.setActive(report->activeList().active());
  passive.setClassHandle(report->passiveList().classHandle());
  passive.setActive(report->passiveList().active());
  report->setActiveList(active);
  report->setPassiveList(passive);
  return true;
}

std::span<const DtMomParameter> DtReportInteractionSubscriptionInteraction::parameters() const {
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      {INTERACTION_CLASS_LIST_PARAMETER_NAME, &encodeInteractionClassList, &decodeInteractionClassList}};
  return rows;
}

void DtReportObjectPublicationInteraction::encodeObjectClass(const DtMomInteraction& interaction,
                                                             RTI::ParameterHandleValuePairSet* set,
                                                             RTI::ParameterHandle handle) {
  encodeClassOfList(static_cast<const DtReportObjectPublicationInteraction&>(interaction), set, handle);
}

std::span<const DtMomParameter> DtReportObjectPublicationInteraction::parameters() const {
  using Self = DtReportObjectPublicationInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      DtMomField<&Self::numberOfClasses, &Self::setNumberOfClasses>(NUMBER_OF_CLASSES_PARAMETER_NAME),
      DtMomField<&Self::attributeList, &Self::setAttributeList>(ATTRIBUTE_LIST_PARAMETER_NAME),
      {OBJECT_CLASS_PARAMETER_NAME, &encodeObjectClass,
       &DtMomFieldCoder<&Self::objectClass, &Self::setObjectClass>::decode}};
  return rows;
}

void DtReportObjectSubscriptionInteraction::encodeObjectClass(const DtMomInteraction& interaction,
                                                              RTI::ParameterHandleValuePairSet* set,
                                                              RTI::ParameterHandle handle) {
  encodeClassOfList(static_cast<const DtReportObjectSubscriptionInteraction&>(interaction), set, handle);
}

std::span<const DtMomParameter> DtReportObjectSubscriptionInteraction::parameters() const {
  using Self = DtReportObjectSubscriptionInteraction;
  static constexpr DtMomParameter rows[] = {
      DtMomFederateParameter,
      DtMomField<&Self::numberOfClasses, &Self::setNumberOfClasses>(NUMBER_OF_CLASSES_PARAMETER_NAME),
      DtMomField<&Self::attributeList, &Self::setAttributeList>(ATTRIBUTE_LIST_PARAMETER_NAME),
      DtMomField<&Self::active, &Self::setActive>(ACTIVE_PARAMETER_NAME),
      {OBJECT_CLASS_PARAMETER_NAME, &encodeObjectClass,
       &DtMomFieldCoder<&Self::objectClass, &Self::setObjectClass>::decode}};
  return rows;
}
