#pragma once
// DtRIDBuiltins: the four functions a RID file calls to fill lists,
//   (RTI-addDestAddrString "229.7.7.8")
//   (RTI-addDMObjectMulticastAddr "class" "230.1.1.1" "inclusive")
//   (RTI-addDMInteractionMulticastAddr "class" "230.1.1.2" "exclusive")
//   (RTI-addPluginName "plugin.so")
// registered in one interpreter and adding to one DtRIDLists for as long as
// this object lives. A built-in finds its lists through the interpreter's
// global frame, so every evaluation in that interpreter, during the RID load
// or later, reaches the lists of its own RID parameters.
//
// Destroy it before the interpreter and the lists.

class DtMtlEnvironment;
class DtRIDLists;
class DtlObj;

class DtRIDBuiltins {
public:
  DtRIDBuiltins(DtMtlEnvironment& environment, DtRIDLists& lists);
  DtRIDBuiltins(const DtRIDBuiltins&) = delete;
  DtRIDBuiltins& operator=(const DtRIDBuiltins&) = delete;
  ~DtRIDBuiltins();

private:
  const DtlObj* frame_;  // the interpreter's global frame, the key of the lists
};
