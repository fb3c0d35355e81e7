#pragma once
// DtCreateUdpSocket: makes a connection's UDP socket, reading and writing on
// the port with this host's interface: a DtNetSocket, or a DtAsyncNetSocket
// when asked for an asynchronous one (the library's own connections never
// are). The caller owns it. Throws DtSocketError when it cannot be opened.

#include <cstdint>

class DtNetSocket;

DtNetSocket* DtCreateUdpSocket(int port, std::uint32_t destAddress, bool asynchronous);
