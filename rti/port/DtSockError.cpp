#include "port/DtSockError.h"

#include <cerrno>
#include <cstring>

namespace {

struct ErrnoToCode {
  int errnoValue;
  int code;
};

// EAGAIN and EWOULDBLOCK, and ENOTSUP and EOPNOTSUPP, share their values on
// Linux, so each appears once.
constexpr ErrnoToCode errnoCodes[] = {
    {EINTR, 10004},         {EBADF, 10009},        {EACCES, 10013},          {EFAULT, 10014},
    {EINVAL, 10022},        {EMFILE, 10024},       {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},
    {EALREADY, 10037},      {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},
    {EPROTOTYPE, 10041},    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},    {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},
    {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},     {ENETUNREACH, 10051},     {ENETRESET, 10052},
    {ECONNABORTED, 10053},  {ECONNRESET, 10054},   {ENOBUFS, 10055},         {EISCONN, 10056},
    {ENOTCONN, 10057},      {ESHUTDOWN, 10058},    {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061},  {ELOOP, 10062},        {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},
    {EHOSTUNREACH, 10065},  {ENOTEMPTY, 10066},    {EUSERS, 10068},          {EDQUOT, 10069},
    {ESTALE, 10070},        {EREMOTE, 10071},
};

struct CodeText {
  int code;
  const char* text;
};

constexpr CodeText codeTexts[] = {
    {10004, "Interrupted System Call"},
    {10009, "Bad File Number"},
    {10013, "Permission Denied"},
    {10014, "Bad Address"},
    {10022, "Invalid Argument"},
    {10024, "Too many open files"},
    {10035, "Operation would block"},
    {10036, "Operation now in progress"},
    {10037, "Operation already in progress"},
    {10038, "Socket operation on non-socket"},
    {10039, "Destination address required"},
    {10040, "Message too long"},
    {10041, "Protocol wrong type for socket"},
    {10042, "Protocol not available"},
    {10043, "Protocol not supported"},
    {10044, "Socket type not supported"},
    {10045, "Operation not supported on socket"},
    {10046, "Protocol family not supported"},
    {10047, "Address family not supported by protocol family"},
    {10048, "Address Already in use"},
    {10049, "Cannot assign requested address"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10052, "Network dropped connection on reset"},
    {10053, "Software caused connection abort"},
    {10054, "Connection reset by peer"},
    {10055, "No buffer space available"},
    {10056, "Socket is already connected"},
    {10057, "Socket is not connected"},
    {10058, "Cannot send after socket shutdown"},
    {10059, "Too many references: cannot splice"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10062, "Too many levels of symbolic links"},
    {10063, "File name too long"},
    {10064, "Host is down"},
    {10065, "No route to host"},
    {10066, "Directory not empty"},
    {10067, "Too many processes"},
    {10068, "Too many users"},
    {10069, "Disk quota exceeded"},
    {10070, "Stale NFS file handle"},
    {10071, "Too many levels of remote in path"},
    {10091, "Network subsystem is unusable"},
    {10092, "WinSock DLL cannot support this application"},
    {10093, "WinSock not initialized"},
    {10101, "Disconnect"},
    {11001, "Host not found"},
    {11002, "Non-authoritative host not found"},
    {11003, "Non-recoverable error"},
    {11004, "Valid name, no data record of requested type"},
};

}  // namespace

int DtSockErrorCode(int errnoValue) {
  for (const ErrnoToCode& entry : errnoCodes) {
    if (entry.errnoValue == errnoValue) return entry.code;
  }
  return 0;
}

const char* DtSockErrorText(int winsockCode) {
  for (const CodeText& entry : codeTexts) {
    if (entry.code == winsockCode) return entry.text;
  }
  return "unknown (non-WinSock) error";
}

const char* DtSockErrorStringFor(int errnoValue) {
  const int code = DtSockErrorCode(errnoValue);
  return code ? DtSockErrorText(code) : std::strerror(errnoValue);
}

const char* DtSockErrorString() { return DtSockErrorStringFor(errno); }
