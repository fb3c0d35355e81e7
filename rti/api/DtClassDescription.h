#pragma once
// DtClassDescription: what a handle or value set needs of the FOM class it
// belongs to in order to print itself with names: the name of a member
// handle (an attribute of an object class, a parameter of an interaction
// class). The class records of the FOM implement it; the sets, below them,
// know only this.

#include "RTI.hh"

class DtClassDescription {
public:
  // The name of the class's attribute or parameter of that handle; null when
  // the class has none.
  virtual const char* memberName(RTI::ULong handle) const = 0;

  // The member's name for a printout: "(null)" for no class or no member.
  static const char* printableName(const DtClassDescription* classInfo, RTI::ULong handle) {
    const char* name = classInfo ? classInfo->memberName(handle) : nullptr;
    return name ? name : "(null)";
  }

protected:
  DtClassDescription() = default;
  DtClassDescription(const DtClassDescription&) = default;
  DtClassDescription& operator=(const DtClassDescription&) = default;
  ~DtClassDescription() = default;
};
