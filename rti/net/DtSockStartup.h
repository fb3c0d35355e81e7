#pragma once
// DtSockStartup: readies the system's socket library for this process. The
// BSD sockets need no start-up; the call stays so that every socket and
// host-address look-up goes through one place, and it returns 0 (success).
int DtSockStartup();
