#pragma once
// DtObjectAdvisorySink: where an object class record hands the advisories
// that its publication, subscription and relevance changes call for. The
// object manager implements it and queues each one for the federate
// ambassador until its next tick; the record only decides.
//
// Called on the federate's thread, inside the service or message handler
// that changed the record.

#include <cstdint>

class DtObjectAdvisorySink {
public:
  virtual ~DtObjectAdvisorySink() = default;

  // Some published attribute of the class became relevant: advise the
  // federate to start registering objects of the class.
  virtual void addPendingStartReg(std::uint32_t classHandle) = 0;
  // No published attribute of the class is relevant any more.
  virtual void addPendingStopReg(std::uint32_t classHandle) = 0;
  // A remote federate newly wants attributes this federate publishes: its
  // local objects of the class are to be announced again.
  virtual void addPendingRegister(std::uint32_t classHandle) = 0;
};
