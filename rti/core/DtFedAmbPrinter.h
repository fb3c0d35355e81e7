#pragma once
// DtFedAmbPrinter: the wrapper that traces every callback. The federate
// manager files it in the wrapper chain as "Printer" when it is made while
// the notify level is above 3, so that a federate run at that level shows
// every callback it receives; below it the printer does not exist and costs
// nothing.
//
// Each callback writes one line at notify level 3 ("FedAmb=>" and the
// callback's name, then its arguments, with classes, objects and attributes
// also named from the federate manager's FOM and object manager), then the
// names of its attribute or parameter set when it has one, and is forwarded
// unchanged. A callback that names classes while the federate has no FOM, or
// objects while it has no object manager (before the join, or after a
// resignation inside a callback), is forwarded without a line. An object the
// object manager does not know, and a class or attribute the FOM does not
// have, are named "(null)". Without a next ambassador nothing is printed and
// nothing forwarded.
//
// Used on the thread that calls tick, inside the wrapper chain.

#include "RTI.hh"
#include "api/DtFedAmbCallbackTable.h"
#include "api/DtFedAmbWrapper.h"

class DtFederateMgr;
class DtFomClassMgr;
class DtObjectMgr;

class DtFedAmbPrinter : public DtFedAmbWrapper {
public:
  // The federate manager is not owned; a null one is accepted with a
  // message, and then only callbacks that need neither FOM nor object
  // manager are printed.
  explicit DtFedAmbPrinter(DtFederateMgr* fedMgr);
  DtFedAmbPrinter(const DtFedAmbPrinter& other) = default;
  DtFedAmbPrinter& operator=(const DtFedAmbPrinter& other) = default;
  ~DtFedAmbPrinter() override;

#define DT_FED_AMB_PRINTER_CALLBACK(name, ...) void name(DT_RTI_PARAMS(__VA_ARGS__)) override;
  DT_FED_AMB_CALLBACKS(DT_FED_AMB_PRINTER_CALLBACK)
#undef DT_FED_AMB_PRINTER_CALLBACK

protected:
  // The federate manager's, as it holds them now; null without a federate
  // manager or while it has none.
  DtFomClassMgr* fom() const;
  DtObjectMgr* objMgr() const;

private:
  // The line of an object callback that names only the object ("<name>
  // (<handle>)", then the tag when one is given), followed by the set's
  // names; nothing without an object manager.
  void printObject(const char* callback, RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                   const char* tag = nullptr) const;
  // The lines of the advisories that name a class ("<name> (<handle>)");
  // nothing without a FOM.
  void printClass(const char* callback, RTI::ObjectClassHandle theClass) const;
  void printInteraction(const char* callback, RTI::InteractionClassHandle theClass) const;
  // The ownership answers that name one attribute of the object.
  void printAttribute(const char* callback, RTI::ObjectHandle object, RTI::AttributeHandle attribute) const;

  DtFederateMgr* fedMgr_;
};
