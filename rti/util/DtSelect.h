#pragma once
// Waiting on sockets and the keyboard, and sleeping.

#include "port/DtFdSet.h"

// Waits until a descriptor of the sets is ready or the timeout (seconds)
// has passed. Descriptor 0 in the read set stands for the console: when a
// key is waiting the result is 1 with only descriptor 0 in the read set
// (and the other sets emptied). Otherwise each set keeps its ready
// descriptors and the number of them is returned: 0 on time-out, -1 on
// failure (errno set). With no descriptor at all it just sleeps. The first
// argument (highest descriptor plus one) is not needed and is ignored.
int DtSelect(int highestPlusOne, DtFdSet* read, DtFdSet* write, DtFdSet* except, double timeoutSeconds);

// Sleeps for the seconds; returns at once for 0 or less.
void DtSleep(double seconds);
