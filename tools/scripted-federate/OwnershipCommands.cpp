// Attribute ownership management: divestiture (unconditional and
// negotiated) and its cancellation, acquisition (plain and if available) and
// its cancellation, the release response, and the ownership queries. An
// object and its attributes are named as the object commands name them; a
// tag "-" stands for the empty tag.
#include <memory>
#include <string>

#include <RTI.hh>

#include "CommandTable.h"
#include "ObjectArgs.h"
#include "OutputLine.h"
#include "ScriptSession.h"

namespace {

const char* tagOf(const ScriptArgs& a, std::size_t i) { return a.text(i) == "-" ? "" : a.text(i).c_str(); }

// A service of an object and a set of its attributes (from word `first`).
using SetService = void (RTI::RTIambassador::*)(RTI::ObjectHandle, const RTI::AttributeHandleSet&);

void addSetService(CommandTable& table, const char* verb, const char* what, SetService service) {
  table.add(verb, "<object> <attribute...>", what, [service](ScriptSession& s, const ScriptArgs& a) {
    const RTI::ObjectHandle object = s.handle(a.text(0));
    (s.rti().*service)(object, *ObjectAttributesOf(s, object, a, 1));
    return std::string();
  });
}

}  // namespace

void AddOwnershipCommands(CommandTable& table) {
  addSetService(table, "divest", "unconditionalAttributeOwnershipDivestiture",
                &RTI::RTIambassador::unconditionalAttributeOwnershipDivestiture);
  addSetService(table, "cancel-divest", "cancelNegotiatedAttributeOwnershipDivestiture",
                &RTI::RTIambassador::cancelNegotiatedAttributeOwnershipDivestiture);
  addSetService(table, "acquire-if-available", "attributeOwnershipAcquisitionIfAvailable",
                &RTI::RTIambassador::attributeOwnershipAcquisitionIfAvailable);
  addSetService(table, "cancel-acquire", "cancelAttributeOwnershipAcquisition",
                &RTI::RTIambassador::cancelAttributeOwnershipAcquisition);
  table.add("divest-negotiated", "<object> <tag> <attribute...>", "negotiatedAttributeOwnershipDivestiture",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectHandle object = s.handle(a.text(0));
              s.rti().negotiatedAttributeOwnershipDivestiture(object, *ObjectAttributesOf(s, object, a, 2),
                                                              tagOf(a, 1));
              return std::string();
            });
  table.add("acquire", "<object> <tag> <attribute...>", "attributeOwnershipAcquisition",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectHandle object = s.handle(a.text(0));
              s.rti().attributeOwnershipAcquisition(object, *ObjectAttributesOf(s, object, a, 2), tagOf(a, 1));
              return std::string();
            });
  table.add("release", "<object> <attribute...>", "attributeOwnershipReleaseResponse; prints the attributes released",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectHandle object = s.handle(a.text(0));
              const std::unique_ptr<RTI::AttributeHandleSet> released(
                  s.rti().attributeOwnershipReleaseResponse(object, *ObjectAttributesOf(s, object, a, 1)));
              return released ? OutputLine::handlesText(*released) : std::string("{}");
            });
  table.add("query-owner", "<object> <attribute>", "queryAttributeOwnership",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectHandle object = s.handle(a.text(0));
              s.rti().queryAttributeOwnership(object, AttributeOf(s, s.rti().getObjectClass(object), a.text(1)));
              return std::string();
            });
  table.add("is-owned", "<object> <attribute>", "isAttributeOwnedByFederate; prints yes or no",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectHandle object = s.handle(a.text(0));
              const RTI::Boolean owned =
                  s.rti().isAttributeOwnedByFederate(object, AttributeOf(s, s.rti().getObjectClass(object), a.text(1)));
              return std::string(owned ? "yes" : "no");
            });
}
