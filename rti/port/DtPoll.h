#pragma once
// Waits on descriptor sets with poll(): a descriptor is ready to read when
// data, an end of stream, an error or a connection to accept is waiting,
// ready to write when a write would not block (or an error is pending), and
// exceptional when urgent data is waiting. A signal does not cut the wait
// short.

class DtFdSet;

// Waits for at most `timeoutSeconds` (0 or less: just looks). `extraFd`, when
// not negative, is watched for reading as well, and `*extraReady` tells
// whether it was ready. On return each given set keeps only its ready
// descriptors. Returns the number of ready set entries (0 on time-out), or
// -1 with errno set (EBADF for a descriptor that is not open); the sets are
// left as they were on failure.
int DtPollSets(DtFdSet* read, DtFdSet* write, DtFdSet* except, double timeoutSeconds, int extraFd = -1,
               bool* extraReady = nullptr);

// Looks (without waiting) whether each of `count` descriptors has something
// to read; `ready` receives the answers, and `ending` (when given) whether
// the peer closed its end, or the descriptor has an error or hung up: what
// is read then ends in the end of the stream or a failure. One system call
// for all of them, with no allocation. Returns the number ready, or -1 with
// errno set.
int DtPollReadableNow(const int* fds, bool* ready, int count, bool* ending = nullptr);

// Waits at most `seconds` until a write to the descriptor would not block;
// true when it would (or an error is pending).
bool DtPollWritable(int fd, double seconds);
