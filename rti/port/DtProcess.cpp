#include "port/DtProcess.h"

#include <pthread.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::uint32_t fnv1a(const std::string& text, std::uint32_t hash = 2166136261u) {
  for (const unsigned char c : text) hash = (hash ^ c) * 16777619u;
  return hash;
}

}  // namespace

std::uint32_t DtProcessId() { return static_cast<std::uint32_t>(getpid()); }

std::uint32_t DtProcessIdSpaceKey() {
  // The boot's random ID tells machines and boots apart, the namespace's
  // link ("pid:[4026531836]") containers of one machine.
  std::ifstream bootId("/proc/sys/kernel/random/boot_id");
  const std::string boot((std::istreambuf_iterator<char>(bootId)), std::istreambuf_iterator<char>());
  char space[64] = {};
  const ssize_t length = readlink("/proc/self/ns/pid", space, sizeof space - 1);
  if (boot.empty() || length <= 0) return 0;
  const std::uint32_t key = fnv1a(std::string(space, static_cast<std::size_t>(length)), fnv1a(boot));
  return key != 0 ? key : 1;
}

void DtNameThisThread(const char* name) {
  char cut[16] = {};
  std::strncpy(cut, name ? name : "", sizeof cut - 1);
  (void)pthread_setname_np(pthread_self(), cut);
}

std::string DtHostName() {
  // The system's own limit, and one more for the terminator that
  // gethostname leaves out when the name fills the buffer.
  const long longest = sysconf(_SC_HOST_NAME_MAX);
  std::vector<char> name(static_cast<std::size_t>(longest > 0 ? longest : HOST_NAME_MAX) + 1, '\0');
  if (gethostname(name.data(), name.size()) != 0) return {};
  name.back() = '\0';
  return name.data();
}
