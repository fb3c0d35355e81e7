#include "ObjectArgs.h"

#include "ScriptSession.h"

bool IsNumberWord(const std::string& word) {
  return !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
}

RTI::ObjectClassHandle ObjectClassOf(ScriptSession& s, const std::string& name) {
  return s.rti().getObjectClassHandle(name.c_str());
}

RTI::AttributeHandle AttributeOf(ScriptSession& s, RTI::ObjectClassHandle theClass, const std::string& word) {
  // A handle lets a script name an attribute the class does not have.
  return IsNumberWord(word) ? std::stoul(word) : s.rti().getAttributeHandle(word.c_str(), theClass);
}

AttributeSet AttributesOf(ScriptSession& s, RTI::ObjectClassHandle theClass, const ScriptArgs& a, std::size_t first) {
  AttributeSet set(RTI::AttributeHandleSetFactory::create(a.size() > first ? a.size() - first : 1));
  for (std::size_t i = first; i < a.size(); ++i) set->add(AttributeOf(s, theClass, a.text(i)));
  return set;
}

AttributeSet ObjectAttributesOf(ScriptSession& s, RTI::ObjectHandle object, const ScriptArgs& a, std::size_t first) {
  return AttributesOf(s, s.rti().getObjectClass(object), a, first);
}
