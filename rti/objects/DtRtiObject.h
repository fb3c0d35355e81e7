#pragma once
// DtRtiObject: one object instance that this federate knows (registered here
// or discovered), as the object manager keeps it. This is what the rest of
// the RTI asks of one.

#include "RTI.hh"

class DtObjectClassInfo;

class DtRtiObject {
public:
  DtRtiObject() = default;
  DtRtiObject(const DtRtiObject&) = delete;
  DtRtiObject& operator=(const DtRtiObject&) = delete;
  virtual ~DtRtiObject();

  virtual const char* objName() const = 0;
  // The class it was registered as, and the class this federate knows it by
  // (the registered class or the nearest subscribed superclass).
  virtual DtObjectClassInfo* actualClass() const = 0;
  virtual DtObjectClassInfo* knownClass() const = 0;
  // Non-zero when this federate owns the attribute.
  virtual int owned(RTI::AttributeHandle attribute) const = 0;
};
