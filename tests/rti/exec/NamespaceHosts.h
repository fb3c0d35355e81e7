#pragma once
// Hosts of a test's own on one machine: each runs its program in a network
// namespace of its own (unshare -n), whose interfaces are veth pairs; their
// other ends stay in the test's namespace, joined to the test's bridge or
// left hanging (a network nobody else is on). Addresses, the multicast
// route and the environment are set inside the namespace before the program
// starts. Nothing relies on loopback between the hosts, and nothing leaves
// the test's namespace. Everything made is removed with the objects.
//
// Needs root and a kernel with network namespaces, veth and bridges; the
// test suite runs as root in a private namespace already.

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/ChildProcess.h"

namespace exectest {

// Runs an ip(8) command in the test's namespace; true when it succeeded.
inline bool ip(const std::string& arguments) {
  return std::system(("ip " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// Names unique to this test process (interface names hold 15 characters).
inline std::string uniqueName(const std::string& stem) { return stem + std::to_string(getpid() % 100000); }

class Bridge {
public:
  Bridge() : name_(uniqueName("qbr")) {
    // Multicast goes to every port: without a querier, snooping would
    // hold it back.
    ok_ = ip("link add " + name_ + " type bridge") && ip("link set " + name_ + " type bridge mcast_snooping 0") &&
          ip("link set " + name_ + " up");
  }
  ~Bridge() { ip("link del " + name_); }
  Bridge(const Bridge&) = delete;
  Bridge& operator=(const Bridge&) = delete;
  bool ok() const { return ok_; }
  const std::string& name() const { return name_; }

private:
  std::string name_;
  bool ok_ = false;
};

class NamespaceHost {
public:
  struct Interface {
    std::string address;  // with its /24
    bool onBridge;        // else it hangs, joined to nothing
  };

  // The interfaces come as eth0, eth1, ... in this order (the first is the
  // first the system lists); multicast is routed to `multicastVia`.
  NamespaceHost(const Bridge& bridge, std::vector<Interface> interfaces, int multicastVia,
                const std::vector<std::string>& environment, const std::vector<std::string>& program)
      : process_(command(interfaces, multicastVia, environment, program), ChildProcess::Options{true, ""}) {
    if (!process_.started()) return;
    // Its namespace exists once the process left ours.
    const std::string own = namespaceOf("self");
    for (int i = 0; i < 500 && namespaceOf(std::to_string(process_.pid())) == own; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (namespaceOf(std::to_string(process_.pid())) == own) return;
    for (std::size_t i = 0; i < interfaces.size(); ++i) {
      const std::string outside = uniqueName("qv") + "x" + std::to_string(counter()++);
      if (!ip("link add " + outside + " type veth peer name eth" + std::to_string(i) + " netns " +
              std::to_string(process_.pid()))) {
        return;
      }
      outside_.push_back(outside);
      if (!ip("link set " + outside + (interfaces[i].onBridge ? " master " + bridge.name() : std::string()) + " up"))
        return;
    }
    ok_ = true;
  }
  // Its program ends when its input does, or else on SIGTERM.
  ~NamespaceHost() {
    process_.closeInput();
    if (process_.waitExit(3) == -1) process_.signal(SIGTERM);
    process_.waitExit(3);
    for (const std::string& name : outside_) ip("link del " + name);
  }
  NamespaceHost(const NamespaceHost&) = delete;
  NamespaceHost& operator=(const NamespaceHost&) = delete;

  bool ok() const { return ok_; }
  ChildProcess& process() { return process_; }

private:
  static int& counter() {
    static int value = 0;
    return value;
  }
  static std::string namespaceOf(const std::string& pid) {
    char target[128] = {};
    const ssize_t n = readlink(("/proc/" + pid + "/ns/net").c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
  }
  // unshare -n sh -c '<wait for the interfaces, set them up>; exec "$@"' sh <program...>
  static std::vector<std::string> command(const std::vector<Interface>& interfaces, int multicastVia,
                                          const std::vector<std::string>& environment,
                                          const std::vector<std::string>& program) {
    const std::string last = "eth" + std::to_string(interfaces.size() - 1);
    std::string script = "for i in $(seq 500); do ip link show " + last +
                         " >/dev/null 2>&1 && break; sleep 0.02; done; ip link set lo up";
    for (std::size_t i = 0; i < interfaces.size(); ++i) {
      const std::string eth = "eth" + std::to_string(i);
      script += "; ip addr add " + interfaces[i].address + " dev " + eth + "; ip link set " + eth + " up";
    }
    script += "; ip route add 224.0.0.0/4 dev eth" + std::to_string(multicastVia);
    for (const std::string& variable : environment) script += "; export " + variable;
    script += "; exec \"$@\"";
    std::vector<std::string> arguments = {"unshare", "-n", "sh", "-c", script, "sh"};
    arguments.insert(arguments.end(), program.begin(), program.end());
    return arguments;
  }

  ChildProcess process_;
  std::vector<std::string> outside_;
  bool ok_ = false;
};

}  // namespace exectest
