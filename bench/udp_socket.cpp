// The RTI's UDP socket against bare system calls: one thread sends N
// datagrams through a DtNetSocket, another reads them with DtRecv, and the
// same datagrams go through a bare sendto/recvfrom pair in the same run.
// Both sides run the same loops (the same threads, window, sizes and
// waits); only the socket calls differ. Run on the loopback (in a private
// network namespace: tools/ensure-packages.sh's run_isolated).
//
// The sender keeps at most --window datagrams in flight (sent, not yet
// read), so that no socket buffer overflows while the reader keeps up; what
// is lost anyway is counted, and a receiver gives up after a second
// without traffic, so the run never hangs on loss.

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchOptions.h"
#include "net/DtNetSocket.h"
#include "util/DtNotify.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t loopback = 0x7F000001u;

struct Settings {
  std::uint32_t count = 200000;
  std::uint32_t window = 32;
  std::uint32_t repeat = 5;
  std::vector<std::uint32_t> sizes{200, 1400};
};

// One side of the measurement: a way to send and a way to read datagrams.
class Path {
public:
  virtual ~Path() = default;
  virtual bool send(const char* data, int length) = 0;
  // One datagram's length; 0 when none is waiting.
  virtual int receive() = 0;
  virtual int readFd() const = 0;
  virtual const char* name() const = 0;
};

class BarePath : public Path {
public:
  BarePath() : receiver_(socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0)), sender_(socket(AF_INET, SOCK_DGRAM, 0)) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(loopback);
    socklen_t size = sizeof local;
    const int receiveBuffer = 50000;  // as the RTI's default RTI_socketReceiveBufferSize
    setsockopt(receiver_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    if (bind(receiver_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        getsockname(receiver_, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
      std::perror("udp_socket: bare socket");
      std::exit(1);
    }
    to_ = local;
    buffer_.resize(static_cast<std::size_t>(DtSocket::maxUdpPacketSize()));
  }
  ~BarePath() override {
    close(receiver_);
    close(sender_);
  }
  bool send(const char* data, int length) override {
    return sendto(sender_, data, static_cast<std::size_t>(length), 0, reinterpret_cast<const sockaddr*>(&to_),
                  sizeof to_) == length;
  }
  int receive() override {
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t length =
        recvfrom(receiver_, buffer_.data(), buffer_.size(), 0, reinterpret_cast<sockaddr*>(&from), &size);
    return length > 0 ? static_cast<int>(length) : 0;
  }
  int readFd() const override { return receiver_; }
  const char* name() const override { return "bare sendto/recvfrom"; }

private:
  int receiver_;
  int sender_;
  sockaddr_in to_{};
  std::vector<char> buffer_;
};

class RtiPath : public Path {
public:
  RtiPath()
      : receiver_(new DtNetSocket(0, loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback)),
        sender_(new DtNetSocket(0, loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback)) {
    // As a connection sets them up: non-blocking, one message per datagram.
    receiver_->setNonBlocking();
    receiver_->setUnbundling(false);
    receiver_->setReceiveBufferSize(50000);
    sender_->setDestPort(receiver_->port());
  }
  bool send(const char* data, int length) override { return sender_->sendTo(data, length, 0) == length; }
  int receive() override {
    char* data = nullptr;
    int status = 0;
    return receiver_->DtRecv(&data, &status);
  }
  int readFd() const override { return receiver_->readDescriptor(); }
  const char* name() const override { return "DtNetSocket"; }

private:
  std::unique_ptr<DtNetSocket> receiver_;
  std::unique_ptr<DtNetSocket> sender_;
};

struct Result {
  std::uint64_t received = 0;
  std::uint64_t sent = 0;
  double seconds = 0;
  double rate() const { return seconds > 0 ? static_cast<double>(received) / seconds : 0; }
};

Result run(Path& path, const Settings& settings, std::uint32_t size) {
  const std::vector<char> datagram(size, 'u');
  std::atomic<std::uint64_t> received{0};
  Clock::time_point lastArrival{};
  std::thread reader([&] {
    auto quietSince = Clock::now();
    for (std::uint64_t got = 0; got < settings.count && Clock::now() - quietSince < std::chrono::seconds(1);) {
      if (path.receive() > 0) {
        ++got;
        received.store(got, std::memory_order_release);
        lastArrival = quietSince = Clock::now();
      } else {
        pollfd watched{path.readFd(), POLLIN, 0};
        poll(&watched, 1, 10);
      }
    }
  });
  Result result;
  const auto start = Clock::now();
  for (std::uint32_t i = 0; i < settings.count; ++i) {
    while (result.sent - received.load(std::memory_order_acquire) >= settings.window) std::this_thread::yield();
    if (path.send(datagram.data(), static_cast<int>(size))) ++result.sent;
  }
  reader.join();
  result.received = received.load();
  result.seconds = std::chrono::duration<double>(lastArrival - start).count();
  return result;
}

Settings parse(int argc, char** argv) {
  Settings settings;
  bool firstSize = true;
  BenchParseOptions(argc, argv, "udp_socket",
                    "Usage: bench_udp_socket [--count N] [--window N] [--repeat N] [--size BYTES]...\n"
                    "Defaults: 200000 datagrams, a window of 32 in flight, best of 5 runs, sizes 200 and 1400.",
                    [&](const std::string& option, std::uint32_t value) {
                      if (option == "--count") {
                        settings.count = value;
                      } else if (option == "--window") {
                        settings.window = std::max(value, 1u);
                      } else if (option == "--repeat") {
                        settings.repeat = std::max(value, 1u);
                      } else if (option == "--size") {
                        if (firstSize) settings.sizes.clear();
                        firstSize = false;
                        settings.sizes.push_back(std::clamp(value, 1u, 15000u));
                      } else {
                        return false;
                      }
                      return true;
                    });
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = parse(argc, argv);
  DtSetNotifyLevel(1);
  std::printf("udp_socket: %u datagrams per run, window %u, best of %u runs\n", settings.count, settings.window,
              settings.repeat);
  for (const std::uint32_t size : settings.sizes) {
    Result best[2];
    std::uint64_t lost[2] = {0, 0};
    // The two alternate, so that both see the same load from the rest of the machine.
    for (std::uint32_t r = 0; r < settings.repeat; ++r) {
      for (int side = 0; side < 2; ++side) {
        std::unique_ptr<Path> path;
        if (side == 0) {
          path = std::make_unique<BarePath>();
        } else {
          path = std::make_unique<RtiPath>();
        }
        const Result result = run(*path, settings, size);
        lost[side] += result.sent - result.received + (settings.count - result.sent);
        if (result.rate() > best[side].rate()) best[side] = result;
      }
    }
    const char* names[2] = {"bare sendto/recvfrom", "DtNetSocket"};
    for (int side = 0; side < 2; ++side) {
      std::printf("  %4u bytes  %-21s %9.0f datagrams/s  (lost %llu in all runs)\n", size, names[side],
                  best[side].rate(), static_cast<unsigned long long>(lost[side]));
    }
    std::printf("  %4u bytes  ratio DtNetSocket / bare: %.2f (goal >= 0.90)\n", size,
                best[0].rate() > 0 ? best[1].rate() / best[0].rate() : 0.0);
  }
  return 0;
}
