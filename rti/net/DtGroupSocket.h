#pragma once
// DtGroupSocket: a UDP socket that sends each packet to every address of a
// list of remote sites (the federation's destination addresses), whatever
// address the caller names.

#include <cstdint>
#include <vector>

#include "net/DtNetSocket.h"

class DtGroupSocket : public DtNetSocket {
public:
  DtGroupSocket(int port, unsigned modes, std::uint32_t interfaceAddr);
  DtGroupSocket(int port, std::uint32_t destAddr, unsigned modes, std::uint32_t interfaceAddr);
  ~DtGroupSocket() override;

  // Ignores the address: sendToAll(data, length, 0).
  int send(const char* data, int length, std::uint32_t address) override;

  virtual void clearRemoteSites();
  // Adds a site not listed yet (and says so).
  virtual void addRemoteSite(std::uint32_t address);
  virtual void removeRemoteSite(std::uint32_t address);
  // The base send to each site in order except `exceptAddress`; the result
  // of the last send made, 0 when none was.
  virtual int sendToAll(const char* data, int length, std::uint32_t exceptAddress);
  virtual const std::vector<std::uint32_t>& remoteSites() const;

private:
  std::vector<std::uint32_t> remoteSites_;
};
