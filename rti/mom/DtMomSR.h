#pragma once
// DtMomSR: the state record of one MOM object: which attribute handle of its
// class stands for which MOM attribute (DtMomElement), and each attribute's
// value as the MOM sends it: text followed by one NUL, read through the
// inspector at the moment of encoding. The Manager.Federate and
// Manager.Federation records (DtMomFederateSR, DtMomFederationSR) say which
// attributes they hold and how each is read.
//
// Texts of the typed values: numbers in decimal; truth values "True" and
// "False"; federate and time manager states by name ("Unknown" for a value
// without one); handle lists as "3,12,5"; times as the time library prints
// them.
//
// Owned by its publisher; used on the thread that ticks.

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "RTI.hh"
#include "mom/DtMomTypes.h"
#include "util/DtString.h"

class DtFomClassMgr;
class DtMomHandleList;
class DtMomInspector;
struct DtMomObjectClass;

class DtMomSR {
public:
  DtMomSR(DtFomClassMgr* fom, DtMomInspector* inspector, std::uint32_t classHandle);
  DtMomSR(const DtMomSR&) = delete;
  DtMomSR& operator=(const DtMomSR&) = delete;
  virtual ~DtMomSR() = default;

  // A new set of the requested attributes' values, in the reverse order of
  // the request, without the privilege to delete; a handle that is no MOM
  // attribute of the record gets the empty text (its NUL alone).
  virtual std::unique_ptr<RTI::AttributeHandleValuePairSet> forceUpdate(const RTI::AttributeHandleSet* requested);
  // Files the attribute of the record's class by that name as the element,
  // replacing what its handle stood for (NameNotFound when the class has no
  // such attribute).
  virtual void putElement(const char* attributeName, DtMomElement element);
  // DtMomNoElement for a handle that stands for none.
  virtual DtMomElement element(std::uint32_t handle) const;
  // The attribute's text, without its NUL; empty for a handle that stands
  // for no attribute of this record.
  virtual void encodeAttribute(std::uint32_t handle, DtString& out) = 0;
  DtMomInspector* localService() const { return inspector_; }
  std::uint32_t classHandle() const { return classHandle_; }

  // The texts of the typed values.
  static void encode(RTI::FedTime* time, DtString& out);
  static void encode(const DtMomHandleList* list, DtString& out);
  static void encode(DtMomTimeManagerStates state, DtString& out);
  static void encode(std::int32_t number, DtString& out);
  static void encode(std::uint32_t number, DtString& out);
  static void encode(DtMomFederateStates state, DtString& out);
  static void encode(RTI::Boolean value, DtString& out);

protected:
  // Files every attribute of the class table but the privilege to delete.
  void populate(const DtMomObjectClass& momClass);

  DtFomClassMgr* fom_;
  DtMomInspector* inspector_;

private:
  // The privilege to delete: attribute 0 of every class, never a value.
  static constexpr std::uint32_t theSkippedHandle = 0;

  std::uint32_t classHandle_;
  std::unordered_map<std::uint32_t, DtMomElement> elements_;
};
