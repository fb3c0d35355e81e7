#include "port/DtProcess.h"

#include <pthread.h>
#include <unistd.h>

#include <cstring>

std::uint32_t DtProcessId() { return static_cast<std::uint32_t>(getpid()); }

void DtNameThisThread(const char* name) {
  char cut[16] = {};
  std::strncpy(cut, name ? name : "", sizeof cut - 1);
  (void)pthread_setname_np(pthread_self(), cut);
}
