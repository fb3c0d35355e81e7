// Object class declarations and object management. Classes and attributes
// are named as the FED file names them (the class by its full or short
// name); an object by the name it was registered or discovered under (the
// session remembers both), or by its handle.
#include <memory>
#include <stdexcept>
#include <tuple>

#include <RTI.hh>
#include <fedtime.hh>

#include "CommandTable.h"
#include "ObjectArgs.h"
#include "ScriptSession.h"

namespace {

void addDeclarations(CommandTable& table) {
  table.add("publish", "<class> [attribute...]", "publishObjectClass", [](ScriptSession& s, const ScriptArgs& a) {
    const RTI::ObjectClassHandle theClass = ObjectClassOf(s, a.text(0));
    s.rti().publishObjectClass(theClass, *AttributesOf(s, theClass, a, 1));
    return std::to_string(theClass);
  });
  table.add("unpublish", "<class>", "unpublishObjectClass", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().unpublishObjectClass(ObjectClassOf(s, a.text(0)));
    return std::string();
  });
  for (const bool active : {true, false}) {
    table.add(active ? "subscribe" : "subscribe-passive", "<class> [attribute...]",
              active ? "subscribeObjectClassAttributes, active" : "subscribeObjectClassAttributes, passive",
              [active](ScriptSession& s, const ScriptArgs& a) {
                const RTI::ObjectClassHandle theClass = ObjectClassOf(s, a.text(0));
                s.rti().subscribeObjectClassAttributes(theClass, *AttributesOf(s, theClass, a, 1),
                                                       active ? RTI::RTI_TRUE : RTI::RTI_FALSE);
                return std::to_string(theClass);
              });
  }
  table.add("unsubscribe", "<class>", "unsubscribeObjectClass", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().unsubscribeObjectClass(ObjectClassOf(s, a.text(0)));
    return std::string();
  });
  using Switch = void (RTI::RTIambassador::*)();
  const std::tuple<const char*, Switch, Switch> switches[] = {
      {"class-advisory", &RTI::RTIambassador::enableClassRelevanceAdvisorySwitch,
       &RTI::RTIambassador::disableClassRelevanceAdvisorySwitch},
      {"attribute-advisory", &RTI::RTIambassador::enableAttributeRelevanceAdvisorySwitch,
       &RTI::RTIambassador::disableAttributeRelevanceAdvisorySwitch},
  };
  for (const auto& [verb, on, off] : switches) {
    table.add(verb, "<on|off>", "the advisory switch", [on = on, off = off](ScriptSession& s, const ScriptArgs& a) {
      if (a.text(0) != "on" && a.text(0) != "off") throw UsageError("on or off");
      (s.rti().*(a.text(0) == "on" ? on : off))();
      return std::string();
    });
  }
}

void addObjects(CommandTable& table) {
  table.add("register", "<class> [name]", "registerObjectInstance; prints the handle and name, and remembers the name",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectClassHandle theClass = ObjectClassOf(s, a.text(0));
              const RTI::ObjectHandle object = a.size() > 1
                                                   ? s.rti().registerObjectInstance(theClass, a.text(1).c_str())
                                                   : s.rti().registerObjectInstance(theClass);
              const std::unique_ptr<char[]> name(s.rti().getObjectInstanceName(object));
              s.remember(name.get(), object);
              return std::to_string(object) + " " + name.get();
            });
  // The values of an update: the words from `first` on, <attribute>=<value>
  // or <attribute>#<count>.
  const auto values = [](ScriptSession& s, RTI::ObjectHandle object, const ScriptArgs& a, std::size_t first) {
    const RTI::ObjectClassHandle theClass = s.rti().getObjectClass(object);
    std::unique_ptr<RTI::AttributeHandleValuePairSet> set(
        RTI::AttributeSetFactory::create(a.size() > first ? a.size() - first : 1));
    for (std::size_t i = first; i < a.size(); ++i) {
      const ValueWord pair = ParseValueWord(a.text(i));
      set->add(s.rti().getAttributeHandle(pair.name.c_str(), theClass), pair.value.data(), pair.value.size());
    }
    return set;
  };
  table.add("update", "<object> <tag> <attribute>=<value>|<attribute>#<count>...",
            "updateAttributeValues (the values as text, or count bytes; tag - for none)",
            [values](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectHandle object = s.handle(a.text(0));
              s.rti().updateAttributeValues(object, *values(s, object, a, 2),
                                            a.text(1) == "-" ? nullptr : a.text(1).c_str());
              return std::string();
            });
  table.add("update-at", "<time> <object> <tag> <attribute>=<value>...",
            "updateAttributeValues with a time stamp; prints the retraction handle as serial/federate",
            [values](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectHandle object = s.handle(a.text(1));
              const RTI::EventRetractionHandle handle =
                  s.rti().updateAttributeValues(object, *values(s, object, a, 3), RTIfedTime(a.seconds(0)),
                                                a.text(2) == "-" ? nullptr : a.text(2).c_str());
              return std::to_string(handle.theSerialNumber) + "/" + std::to_string(handle.sendingFederate);
            });
  table.add("request-object", "<object> <attribute...>", "requestObjectAttributeValueUpdate",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectHandle object = s.handle(a.text(0));
              s.rti().requestObjectAttributeValueUpdate(object, *ObjectAttributesOf(s, object, a, 1));
              return std::string();
            });
  table.add("request-class", "<class> <attribute...>", "requestClassAttributeValueUpdate",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::ObjectClassHandle theClass = ObjectClassOf(s, a.text(0));
              s.rti().requestClassAttributeValueUpdate(theClass, *AttributesOf(s, theClass, a, 1));
              return std::string();
            });
  table.add("delete", "<object> [tag]", "deleteObjectInstance", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().deleteObjectInstance(s.handle(a.text(0)), a.textOr(1, "").c_str());
    return std::string();
  });
  table.add("delete-at", "<time> <object> [tag]",
            "deleteObjectInstance with a time stamp; prints the retraction handle as serial/federate",
            [](ScriptSession& s, const ScriptArgs& a) {
              const RTI::EventRetractionHandle handle =
                  s.rti().deleteObjectInstance(s.handle(a.text(1)), RTIfedTime(a.seconds(0)), a.textOr(2, "").c_str());
              return std::to_string(handle.theSerialNumber) + "/" + std::to_string(handle.sendingFederate);
            });
  table.add("local-delete", "<object>", "localDeleteObjectInstance", [](ScriptSession& s, const ScriptArgs& a) {
    s.rti().localDeleteObjectInstance(s.handle(a.text(0)));
    return std::string();
  });
  table.add("object", "<name>", "getObjectInstanceHandle; prints it", [](ScriptSession& s, const ScriptArgs& a) {
    return std::to_string(s.rti().getObjectInstanceHandle(a.text(0).c_str()));
  });
  // A transport or order named as the RTI names it, or given by its handle.
  using Lookup = RTI::Handle (RTI::RTIambassador::*)(const char*);
  using Change = void (RTI::RTIambassador::*)(RTI::ObjectHandle, const RTI::AttributeHandleSet&, RTI::Handle);
  struct TypeCommand {
    const char* verb;
    const char* usage;
    const char* what;
    Lookup lookup;
    Change change;
  };
  const TypeCommand typeCommands[] = {
      {"attribute-transport", "<object> <reliable|best_effort|handle> <attribute...>",
       "changeAttributeTransportationType", &RTI::RTIambassador::getTransportationHandle,
       &RTI::RTIambassador::changeAttributeTransportationType},
      {"attribute-order", "<object> <receive|timestamp|handle> <attribute...>", "changeAttributeOrderType",
       &RTI::RTIambassador::getOrderingHandle, &RTI::RTIambassador::changeAttributeOrderType},
  };
  for (const TypeCommand& command : typeCommands) {
    table.add(command.verb, command.usage, command.what, [command](ScriptSession& s, const ScriptArgs& a) {
      const RTI::ObjectHandle object = s.handle(a.text(0));
      const std::string& type = a.text(1);
      (s.rti().*command.change)(object, *ObjectAttributesOf(s, object, a, 2),
                                IsNumberWord(type) ? std::stoul(type) : (s.rti().*command.lookup)(type.c_str()));
      return std::string();
    });
  }
}

}  // namespace

void AddObjectCommands(CommandTable& table) {
  addDeclarations(table);
  addObjects(table);
}
