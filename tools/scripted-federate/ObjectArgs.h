#pragma once
// Object classes, objects and attributes as the object and ownership
// commands name them: a class by its FED name (full or short); an object by
// the name it was registered or discovered under, or by its handle; an
// attribute by its FED name or by its handle.
#include <memory>
#include <string>

#include <RTI.hh>

#include "CommandTable.h"

class ScriptSession;

using AttributeSet = std::unique_ptr<RTI::AttributeHandleSet>;

bool IsNumberWord(const std::string& word);
RTI::ObjectClassHandle ObjectClassOf(ScriptSession& s, const std::string& name);
RTI::AttributeHandle AttributeOf(ScriptSession& s, RTI::ObjectClassHandle theClass, const std::string& word);
// The attributes named by the words from `first` on.
AttributeSet AttributesOf(ScriptSession& s, RTI::ObjectClassHandle theClass, const ScriptArgs& a, std::size_t first);
// The attributes of a known object, named by the words from `first` on.
AttributeSet ObjectAttributesOf(ScriptSession& s, RTI::ObjectHandle object, const ScriptArgs& a, std::size_t first);
