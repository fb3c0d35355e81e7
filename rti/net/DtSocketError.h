#pragma once
// DtSocketError: a socket that could not be opened as asked (a port that
// cannot be bound, a socket the system refuses). The connection manager
// turns it into RTI::RTIinternalError, so that a federate or the monitor
// can say what went wrong instead of the process ending.

#include <stdexcept>
#include <string>

class DtSocketError : public std::runtime_error {
public:
  DtSocketError(int port, const std::string& reason)
      : std::runtime_error("port " + std::to_string(port) + ": " + reason), port_(port), reason_(reason) {}

  int port() const { return port_; }
  const std::string& reason() const { return reason_; }

private:
  int port_;
  std::string reason_;
};
