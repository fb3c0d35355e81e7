#include "net/DtGroupSocket.h"

#include <algorithm>

#include "net/DtNetAddress.h"
#include "util/DtNotify.h"

DtGroupSocket::DtGroupSocket(int port, unsigned modes, std::uint32_t interfaceAddr)
    : DtNetSocket(port, modes, interfaceAddr) {}

DtGroupSocket::DtGroupSocket(int port, std::uint32_t destAddr, unsigned modes, std::uint32_t interfaceAddr)
    : DtNetSocket(port, destAddr, modes, interfaceAddr) {}

DtGroupSocket::~DtGroupSocket() { clearRemoteSites(); }

int DtGroupSocket::send(const char* data, int length, std::uint32_t) { return sendToAll(data, length, 0); }

void DtGroupSocket::clearRemoteSites() { remoteSites_.clear(); }

void DtGroupSocket::addRemoteSite(std::uint32_t address) {
  if (std::find(remoteSites_.begin(), remoteSites_.end(), address) != remoteSites_.end()) return;
  DtNotifyInfo("DtGroupSocket adding remote site %s.\n", DtAddrToString(address));
  remoteSites_.push_back(address);
}

void DtGroupSocket::removeRemoteSite(std::uint32_t address) {
  const auto listed = std::find(remoteSites_.begin(), remoteSites_.end(), address);
  if (listed != remoteSites_.end()) remoteSites_.erase(listed);
}

int DtGroupSocket::sendToAll(const char* data, int length, std::uint32_t exceptAddress) {
  int result = 0;
  for (const std::uint32_t site : remoteSites_) {
    if (site != exceptAddress) result = DtSocket::send(data, length, site);
  }
  return result;
}

const std::vector<std::uint32_t>& DtGroupSocket::remoteSites() const { return remoteSites_; }
