#pragma once
// DtFedAmbWrapperChain: the named wrappers through which every callback
// reaches the federate's own ambassador. Once linked by init, a callback
// enters at first() and passes the wrappers in registration order; a wrapper
// added to a linked chain goes in front of all the others until the chain is
// linked again. The chain owns the wrappers filed in it. Used only on the
// thread that calls tick; not copyable.

#include <memory>
#include <utility>
#include <vector>

#include "RTI.hh"
#include "api/DtFedAmbWrapper.h"
#include "util/DtString.h"

class DtFedAmbWrapperChain {
public:
  DtFedAmbWrapperChain();
  DtFedAmbWrapperChain(const DtFedAmbWrapperChain&) = delete;
  DtFedAmbWrapperChain& operator=(const DtFedAmbWrapperChain&) = delete;
  // Deletes the wrappers still filed.
  virtual ~DtFedAmbWrapperChain();

  // Keeps the federate's ambassador and links every filed wrapper in front
  // of it, the first filed outermost.
  virtual void init(RTI::FederateAmbassador* federateAmbassador);
  // Unlinks: first() becomes null; the wrappers stay filed.
  virtual void reset();
  // Where callbacks enter: the outermost wrapper, the federate's ambassador
  // when no wrapper is filed, null before init.
  virtual RTI::FederateAmbassador* first() const;
  // Files the wrapper under the name (a null wrapper is ignored); in a
  // linked chain it becomes first(). A wrapper filed under the name before
  // is taken out of the chain and handed back, not deleted.
  virtual std::unique_ptr<DtFedAmbWrapper> addWrapper(const DtString& name, std::unique_ptr<DtFedAmbWrapper> wrapper);
  // Takes the named wrapper out, links a linked chain again in registration
  // order, and hands the wrapper back (null when the name is not filed).
  virtual std::unique_ptr<DtFedAmbWrapper> removeWrapper(const DtString& name);

private:
  using Entry = std::pair<DtString, std::unique_ptr<DtFedAmbWrapper>>;

  std::unique_ptr<DtFedAmbWrapper> takeOut(const DtString& name);

  RTI::FederateAmbassador* federateAmbassador_;
  RTI::FederateAmbassador* first_;
  std::vector<Entry> wrappers_;  // registration order
};
