#pragma once
// A TCP socket that listens, non-blocking, on a port of every interface (0:
// a port of the system's choice), for the rtiexec side's listeners. A
// restarted rtiexec may listen again at once on the port of the last.

struct DtListenResult {
  int fd = -1;                // -1 when it could not listen
  int port = 0;               // the port it listens on
  bool addressInUse = false;  // the port was taken
};

DtListenResult DtListenSocket(int port, const char* owner);
