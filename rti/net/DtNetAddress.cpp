#include "net/DtNetAddress.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "net/DtSockStartup.h"
#include "util/DtIpv4Address.h"
#include "util/DtNotify.h"

void DtMakeSockAddr(DtSockAddr* sockAddr, std::uint32_t address, int port) {
  *sockAddr = DtSockAddr{};
  sockAddr->address = address;
  sockAddr->port = port;
}

bool DtIsMulticastAddr(std::uint32_t address) {
  const std::uint32_t top = address >> 24;
  return top >= 224 && top <= 239;
}

const char* DtAddrToString(std::uint32_t address) {
  thread_local std::string text;
  text = DottedAddress(address);
  return text.c_str();
}

std::uint32_t DtStringToAddr(const char* text) { return ParseDottedAddress(text ? text : "").value_or(0xFFFFFFFFu); }

std::uint32_t DtLocalHostAddr() {
  DtSockStartup();
  return DtPortHostAddress();
}

namespace {

std::optional<std::uint32_t> parseHexMask(const char* digits) {
  if (!*digits) return std::nullopt;
  char* end = nullptr;
  const unsigned long value = std::strtoul(digits, &end, 16);
  if (*end || *digits == '-' || *digits == '+' || value > 0xFFFFFFFFul) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::uint32_t DtNetmaskFromEnv() {
  const char* value = std::getenv("DtNetmask");
  if (!value) return 0;
  // The variable is read as a short text, as it always was.
  char text[20] = {};
  std::strncpy(text, value, sizeof text - 1);
  const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::optional<std::uint32_t> mask = hex ? parseHexMask(text + 2) : ParseDottedAddress(text);
  if (!mask) {
    DtNotifyError("DtNetmask \"%s\" is not a netmask: ignored\n", text);
    return 0;
  }
  DtNotifyInfo("Netmask: %s\n", DtAddrToString(*mask));
  return *mask;
}

std::uint32_t DtInterfaceNetmask() { return DtPortBroadcastInterfaceNetmask(); }

std::uint32_t DtLocalNetmask() {
  if (const std::uint32_t mask = DtNetmaskFromEnv()) return mask;
  if (const std::uint32_t mask = DtInterfaceNetmask()) return mask;
  return 0xFFFFFF00u;
}

std::uint32_t DtDirectedBroadcast(std::uint32_t hostAddress, std::uint32_t netmask) {
  return (hostAddress & netmask) | ~netmask;
}

std::uint32_t DtBroadcastAddr() { return DtDirectedBroadcast(DtLocalHostAddr(), DtLocalNetmask()); }
