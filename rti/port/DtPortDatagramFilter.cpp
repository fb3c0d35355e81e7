#include "port/DtPortDatagramFilter.h"

#include <linux/filter.h>
#include <netinet/udp.h>
#include <sys/socket.h>

#include <cerrno>
#include <vector>

namespace {

sock_filter statement(std::uint16_t code, std::uint32_t k) { return BPF_STMT(code, k); }
sock_filter jump(std::uint16_t code, std::uint32_t k, std::uint8_t ifTrue, std::uint8_t ifFalse) {
  return BPF_JUMP(code, k, ifTrue, ifFalse);
}

}  // namespace

int DtPortDropDatagramsFrom(int fd, std::size_t senderAt, std::uint16_t sender, std::size_t kindAt,
                            const std::uint8_t* kinds, std::size_t kindCount) {
  if (kindCount > 32) {
    errno = EINVAL;
    return -1;
  }
  // The program sees the datagram from its UDP header on.
  const auto header = static_cast<std::uint32_t>(sizeof(udphdr));
  const auto senderOffset = header + static_cast<std::uint32_t>(senderAt);
  const auto kindOffset = header + static_cast<std::uint32_t>(kindAt);
  const std::uint32_t needed = (senderOffset + 2 > kindOffset + 1 ? senderOffset + 2 : kindOffset + 1);
  const auto count = static_cast<std::uint8_t>(kindCount);
  // accept is the last instruction but one, refuse the last: jumps count
  // the instructions they skip.
  std::vector<sock_filter> program = {
      statement(BPF_LD | BPF_W | BPF_LEN, 0),
      jump(BPF_JMP | BPF_JGE | BPF_K, needed, 0, static_cast<std::uint8_t>(3 + count)),
      statement(BPF_LD | BPF_H | BPF_ABS, senderOffset),
      jump(BPF_JMP | BPF_JEQ | BPF_K, sender, 0, static_cast<std::uint8_t>(1 + count)),
      statement(BPF_LD | BPF_B | BPF_ABS, kindOffset),
  };
  for (std::uint8_t i = 0; i < count; ++i) {
    program.push_back(jump(BPF_JMP | BPF_JEQ | BPF_K, kinds[i], static_cast<std::uint8_t>(count - i), 0));
  }
  program.push_back(statement(BPF_RET | BPF_K, 0xFFFFFFFFu));  // accept
  program.push_back(statement(BPF_RET | BPF_K, 0));            // refuse
  const sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
  return setsockopt(fd, SOL_SOCKET, SO_ATTACH_FILTER, &filter, sizeof filter);
}

int DtPortClearDatagramFilter(int fd) {
  const int unused = 0;
  if (setsockopt(fd, SOL_SOCKET, SO_DETACH_FILTER, &unused, sizeof unused) == 0) return 0;
  return errno == ENOENT ? 0 : -1;
}
