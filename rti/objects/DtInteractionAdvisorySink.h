#pragma once
// DtInteractionAdvisorySink: where an interaction class record hands the
// advisories that its publication and relevance changes call for. The
// interaction manager implements it and queues each one for the federate
// ambassador until its next tick; the record only decides.
//
// Called on the federate's thread, inside the service or message handler
// that changed the record.

#include <cstdint>

class DtInteractionAdvisorySink {
public:
  virtual ~DtInteractionAdvisorySink() = default;

  // A published class became relevant: advise the federate to turn its
  // interactions on.
  virtual void addPendingStartInters(std::uint32_t classHandle) = 0;
  // A published class is no longer relevant: turn its interactions off.
  virtual void addPendingStopInters(std::uint32_t classHandle) = 0;
};
