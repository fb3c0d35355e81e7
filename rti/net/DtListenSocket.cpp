#include "net/DtListenSocket.h"

#include <cerrno>

#include "net/DtNetAddress.h"
#include "net/DtSockStartup.h"
#include "port/DtPortSocket.h"
#include "util/DtNotify.h"

DtListenResult DtListenSocket(int port, const char* owner) {
  DtListenResult result;
  DtSockStartup();
  const int fd = DtPortTcpSocket();
  if (fd < 0) {
    DtNotifyError("Failed to open socket\n");
    return result;
  }
  DtPortSetOption(fd, DtSockOption::ReuseAddress, 1);
  DtSockAddr local;
  DtMakeSockAddr(&local, 0, port);
  if (DtPortBind(fd, local) != 0) {
    if (errno == EADDRINUSE) {
      result.addressInUse = true;
    } else {
      DtNotifyPerror("%s", owner);
    }
    DtPortCloseSocket(fd);
    return result;
  }
  result.port = DtPortLocalAddress(fd, &local) == 0 ? local.port : port;
  DtPortSetOption(fd, DtSockOption::NoDelay, 1);
  if (DtPortListen(fd, 1024) != 0 || DtPortSetNonBlocking(fd, true) != 0) {
    DtNotifyPerror("%s", owner);
    DtPortCloseSocket(fd);
    return result;
  }
  result.fd = fd;
  return result;
}
