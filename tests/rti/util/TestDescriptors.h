#pragma once
// Descriptors for the select and console tests: a loopback UDP pair and a
// pipe that stands in for the keyboard. All close themselves.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "port/DtConsoleInput.h"

// Two UDP sockets on 127.0.0.1, the sender connected to the receiver.
class LoopbackUdpPair {
public:
  LoopbackUdpPair() {
    receiver = socket(AF_INET, SOCK_DGRAM, 0);
    sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(receiver, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(receiver, reinterpret_cast<sockaddr*>(&address), &length);
    connect(sender, reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
  ~LoopbackUdpPair() {
    close(receiver);
    close(sender);
  }
  LoopbackUdpPair(const LoopbackUdpPair&) = delete;
  LoopbackUdpPair& operator=(const LoopbackUdpPair&) = delete;

  void sendOne() { send(sender, "x", 1, 0); }

  int receiver = -1;
  int sender = -1;
};

// A pipe that the process console reads while the object lives.
class KeyboardPipe {
public:
  KeyboardPipe() {
    if (pipe(fds_) != 0) fds_[0] = fds_[1] = -1;
    DtConsoleInput::process().redirect(fds_[0]);
  }
  ~KeyboardPipe() {
    DtConsoleInput::process().redirect(STDIN_FILENO);
    closeWriteEnd();
    close(fds_[0]);
  }
  KeyboardPipe(const KeyboardPipe&) = delete;
  KeyboardPipe& operator=(const KeyboardPipe&) = delete;

  void type(const char* text) { (void)!write(fds_[1], text, std::strlen(text)); }
  void closeWriteEnd() {
    if (fds_[1] >= 0) close(fds_[1]);
    fds_[1] = -1;
  }

private:
  int fds_[2];
};
