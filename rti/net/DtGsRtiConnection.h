#pragma once
// DtGsRtiConnection: the best-effort connection of a federation that
// defines multicast groups for data distribution. It sends over a
// DtGroupSocket, so that a message meant for one group (a channel) also
// reaches every remote site of the federation's destination list.

#include <cstdint>

#include "net/DtRtiConnection.h"

class DtGroupSocket;

class DtGsRtiConnection : public DtRtiConnection {
public:
  // On the caller's group socket, with the federation's default
  // destination address (RTI_destAddrString).
  DtGsRtiConnection(DtGroupSocket* socket, unsigned long defaultAddr);
  // On a UDP socket of its own, without a group socket: such a connection
  // sends like a plain DtRtiConnection (the library never makes one).
  explicit DtGsRtiConnection(int port);
  DtGsRtiConnection(int port, unsigned long addr);

  // Address 0: to every remote site. Any other address: a copy to every
  // remote site but the default address, then to the address itself; the
  // result is that last send's.
  int send(const DtRtiMsg& msg, unsigned long address) override;

  std::uint32_t defaultAddr() const { return defaultAddr_; }
  DtGroupSocket* groupSocket() const { return groupSocket_; }

private:
  std::uint32_t defaultAddr_ = 0;
  DtGroupSocket* groupSocket_ = nullptr;
};
