#pragma once
// The bare reliable path beside the rtiexec's forwarder: a relay process
// that copies whatever one TCP client sends to every other client (large
// reads and writes, no framing, no checks), and the clients: TCP sockets
// read and written with the system calls alone, each message framed as an
// RTI message is (its size, the sender's role, a kind, the number at byte
// 8), read in large pieces and cut into messages. As a federate ticks after
// each update, a client looks for input once after each message it sends.

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "LoopbackPair.h"

namespace loopbackpair {

// The relay process, listening on a port of the system's choice.
class BareTcpRelay {
public:
  BareTcpRelay() {
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(loopback);
    socklen_t length = sizeof local;
    if (bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || listen(listener, 64) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
      std::perror("bare relay");
      std::exit(1);
    }
    port_ = ntohs(local.sin_port);
    pid_ = forkChild([listener] { relay(listener); });
    close(listener);
  }
  ~BareTcpRelay() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  BareTcpRelay(const BareTcpRelay&) = delete;
  BareTcpRelay& operator=(const BareTcpRelay&) = delete;
  int port() const { return port_; }

private:
  static void relay(int listener) {
    std::vector<pollfd> watched{{listener, POLLIN, 0}};
    std::vector<char> buffer(256 << 10);
    for (;;) {
      if (poll(watched.data(), watched.size(), -1) < 0) continue;
      if (watched[0].revents & POLLIN) {
        const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        const int one = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (client >= 0) watched.push_back({client, POLLIN, 0});
      }
      for (std::size_t i = 1; i < watched.size(); ++i) {
        if (!(watched[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        const ssize_t got = read(watched[i].fd, buffer.data(), buffer.size());
        if (got <= 0) {
          close(watched[i].fd);
          watched[i].fd = -1;
          continue;
        }
        for (std::size_t j = 1; j < watched.size(); ++j) {
          if (j == i || watched[j].fd < 0) continue;
          for (ssize_t sent = 0; sent < got;) {
            const ssize_t n = write(watched[j].fd, buffer.data() + sent, static_cast<std::size_t>(got - sent));
            if (n <= 0) break;
            sent += n;
          }
        }
      }
      watched.erase(std::remove_if(watched.begin() + 1, watched.end(), [](const pollfd& p) { return p.fd < 0; }),
                    watched.end());
    }
  }

  int port_ = 0;
  pid_t pid_ = -1;
};

// A client of the relay.
class BareTcpEndpoint : public Endpoint {
public:
  BareTcpEndpoint(int port, int role, std::uint32_t size, int kind)
      : message_(std::max<std::uint32_t>(size, 12), 0), buffer_(256 << 10) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(loopback);
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    if (connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
      std::perror("bare relay client");
      std::exit(1);
    }
    DtPutBigEndian(static_cast<std::uint16_t>(message_.size()), message_.data());
    DtPutBigEndian(static_cast<std::uint16_t>(role), message_.data() + 2);
    message_[4] = static_cast<char>(kind);
    // Both clients are there before the relay can pass anything on.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ~BareTcpEndpoint() override { close(fd_); }
  void send(std::uint32_t number) override {
    DtPutBigEndian(number, message_.data() + 8);
    for (std::size_t sent = 0; sent < message_.size();) {
      const ssize_t n = write(fd_, message_.data() + sent, message_.size() - sent);
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
    readWaiting();
  }
  bool receiveOne(const OnMessage& onMessage) override {
    if (!whole()) {
      readWaiting();
      if (!whole()) return false;
    }
    const char* message = buffer_.data() + begin_;
    begin_ += DtGetBigEndian<std::uint16_t>(message);
    onMessage(DtGetBigEndian<std::uint32_t>(message + 8), DtGetBigEndian<std::uint16_t>(message + 2));
    return true;
  }
  void wait(double seconds) override {
    if (whole()) return;
    pollfd watched{fd_, POLLIN, 0};
    poll(&watched, 1, static_cast<int>(seconds * 1000));
  }

private:
  // One read of what has arrived, behind what is buffered.
  void readWaiting() {
    if (begin_ > 0) {
      std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
    }
    if (end_ == buffer_.size()) return;
    const ssize_t got = recv(fd_, buffer_.data() + end_, buffer_.size() - end_, MSG_DONTWAIT);
    if (got > 0) end_ += static_cast<std::size_t>(got);
  }
  bool whole() const {
    return end_ - begin_ >= 2 && end_ - begin_ >= DtGetBigEndian<std::uint16_t>(buffer_.data() + begin_);
  }

  int fd_;
  std::vector<char> message_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
};

}  // namespace loopbackpair
