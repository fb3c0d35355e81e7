#include "util/DtConsole.h"

#include <cstdio>

#include "port/DtConsoleInput.h"
#include "util/DtNotify.h"

void DtPollInputLine(char* buffer, int size) {
  if (!buffer || size <= 0) return;
  buffer[0] = '\0';
  DtConsoleInput& console = DtConsoleInput::process();
  const int waiting = console.keyWaiting();
  if (waiting == 0) return;
  if (waiting < 0) std::perror("DtPollInputLine: select");
  int used = 0;
  for (;;) {
    if (used >= size - 2) {
      DtNotifyError("DtPollInputLine: exceeded buffer size\n");
      break;
    }
    const int c = console.readKey();
    if (c < 0) break;
    buffer[used++] = static_cast<char>(c);
    if (c == '\n' || c == '\r') break;
  }
  buffer[used] = '\0';
}

char* DtGetInputLine() {
  static char line[512];
  DtPollInputLine(line, sizeof line);
  return line[0] ? line : nullptr;
}

int DtPollInputChar() {
  DtConsoleInput& console = DtConsoleInput::process();
  const int waiting = console.keyWaiting();
  if (waiting < 0) {
    std::perror("DtPollInputChar: select");
    return 0;
  }
  if (waiting == 0) return 0;
  const int c = console.readKey();
  return c < 0 ? 0 : c;
}
