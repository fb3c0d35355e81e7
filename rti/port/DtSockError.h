#pragma once
// Socket error texts. The library reports socket failures with the texts of
// the WinSock error table it was designed with; on Linux the error is in
// errno, which is mapped to the nearest WinSock code first.

// The WinSock code nearest to an errno value, or 0 when there is none.
int DtSockErrorCode(int errnoValue);

// The table text of a WinSock code; "unknown (non-WinSock) error" for any
// code outside the table.
const char* DtSockErrorText(int winsockCode);

// The text for an errno value: the table text of its WinSock code, or the
// C library's text when it has none.
const char* DtSockErrorStringFor(int errnoValue);

// The text for the calling thread's last socket error (errno).
const char* DtSockErrorString();
