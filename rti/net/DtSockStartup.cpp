#include "net/DtSockStartup.h"

int DtSockStartup() { return 0; }
