#include "net/DtCreateUdpSocket.h"

#include "net/DtAsyncNetSocket.h"
#include "net/DtNetSocket.h"

DtNetSocket* DtCreateUdpSocket(int port, std::uint32_t destAddress, bool asynchronous) {
  if (asynchronous) return new DtAsyncNetSocket(port, destAddress, DtNetSocket::ReadWrite, 0);
  return new DtNetSocket(port, destAddress, DtNetSocket::ReadWrite, 0);
}
