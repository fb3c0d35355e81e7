#pragma once
// DtFomBuilder: what receives a federation's object model while a FED file
// is read. The reader calls it in file order, a class before its attributes
// and subclasses, so a builder can rely on every base class existing before
// its subclasses arrive. Class names are full dotted names
// ("ObjectRoot.A.B"); the base of a root class and an absent routing space
// are null. The texts live only for the call: a builder copies what it keeps.
//
// The FOM class manager implements it; tests record the calls.

#include "util/DtFomTypes.h"

class DtFomBuilder {
public:
  DtFomBuilder() = default;
  DtFomBuilder(const DtFomBuilder&) = delete;
  DtFomBuilder& operator=(const DtFomBuilder&) = delete;
  virtual ~DtFomBuilder() = default;

  virtual void addSpace(const char* space) = 0;
  virtual void addDimension(const char* space, const char* dimension) = 0;
  virtual void addInterClass(const char* className, const char* baseName, DtTransportType transport, DtOrderType order,
                             const char* space) = 0;
  virtual void addObjClass(const char* className, const char* baseName) = 0;
  virtual void addParameter(const char* className, const char* parameter) = 0;
  virtual void addAttribute(const char* className, const char* attribute, DtTransportType transport, DtOrderType order,
                            const char* space) = 0;
};
