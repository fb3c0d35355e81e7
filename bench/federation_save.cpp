// What a federation save and restore cost through the rtiexec: two federate
// processes (this one and a forked one) that both know N objects of 21
// attributes (this one registers them, the other discovers them), for N of
// 10, 1,000 and 10,000. Measured at the requesting federate: the time from
// requestFederationSave to federationSaved, and from requestFederationRestore
// to federationRestored, with both federates answering as soon as they are
// asked; the bytes the save wrote (both federates' files and the rtiexec's).
// Beside each, in the same run: a plain write of as many bytes to the same
// folder with fsync, and reading them back.
//
// Run it inside a private network namespace (multicast on lo), as the tests
// run: tools/ensure-packages.sh's run_isolated. It works in a temporary
// folder of its own (RID and FED files, the save files, the logs).
//
//   bench_federation_save [--repeat 5] [--largest 10000]

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchFederation.h"
#include "BenchOptions.h"
#include "BenchRtiExec.h"
#include "DtRtiExtensions.hh"
#include "LoopbackPair.h"
#include "NullFederateAmbassador.hh"
#include "RTI.hh"
#include "net/DtNetSocket.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t loopback = 0x7F000001u;
constexpr int attributeCount = 21;

struct Settings {
  std::uint32_t repeat = 5;
  std::uint32_t largest = 10000;
};

// What the two processes share.
struct Shared {
  std::atomic<int> created{0};
  std::atomic<std::uint32_t> discovered{0};
  std::atomic<int> joined{0};
  std::atomic<int> leave{0};
};

std::string fedText() {
  std::string fed =
      "(FED (Federation Saves) (FEDversion v1.3) (spaces)\n (objects (class ObjectRoot"
      " (attribute privilegeToDelete reliable timestamp) (class RTIprivate)\n  (class Radio";
  for (int a = 0; a < attributeCount; ++a) fed += " (attribute A" + std::to_string(a) + " best_effort receive)";
  return fed +
         ")))\n (interactions (class InteractionRoot best_effort receive"
         " (class RTIprivate best_effort receive))))\n";
}

// Answers every save and restore as soon as it is asked, after the tick.
class Answering : public NullFederateAmbassador {
public:
  explicit Answering(Shared* shared = nullptr) : shared_(shared) {}
  void initiateFederateSave(const char*) override { saveAsked = true; }
  void initiateFederateRestore(const char*, RTI::FederateHandle) override { restoreAsked = true; }
  void federationSaved() override { saved = 1; }
  void federationNotSaved() override { saved = -1; }
  void federationRestored() override { restored = 1; }
  void federationNotRestored() override { restored = -1; }
  void discoverObjectInstance(RTI::ObjectHandle, RTI::ObjectClassHandle, const char*) override {
    if (shared_) shared_->discovered.fetch_add(1);
  }
  // One tick, then the answers it asked for.
  void tick(RTI::RTIambassador& rti) {
    rti.tick(0.001, 0.005);
    if (saveAsked) {
      saveAsked = false;
      rti.federateSaveBegun();
      rti.federateSaveComplete();
    }
    if (restoreAsked) {
      restoreAsked = false;
      rti.federateRestoreComplete();
    }
  }
  bool saveAsked = false;
  bool restoreAsked = false;
  int saved = 0;
  int restored = 0;

private:
  Shared* shared_;
};

// A name and a number ("A7"), built by appending (GCC 12 warns wrongly at
// -O3 about a string literal plus a number's text).
std::string numbered(const char* name, std::uint32_t number) {
  std::string text = name;
  text += std::to_string(number);
  return text;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The other federate: joins, subscribes, discovers and answers until told
// to leave.
void otherFederate(const std::string& execution, Shared& shared) {
  while (!shared.created.load()) usleep(1000);
  RTI::RTIambassador rti;
  Answering amb(&shared);
  rti.joinFederationExecution("B", execution.c_str(), &amb);
  const RTI::ObjectClassHandle radio = rti.getObjectClassHandle("Radio");
  std::unique_ptr<RTI::AttributeHandleSet> all(RTI::AttributeHandleSetFactory::create(attributeCount));
  for (int a = 0; a < attributeCount; ++a)
    all->add(rti.getAttributeHandle(numbered("A", static_cast<std::uint32_t>(a)).c_str(), radio));
  rti.subscribeObjectClassAttributes(radio, *all);
  shared.joined = 1;
  while (!shared.leave.load()) amb.tick(rti);
  rti.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
}

// The bytes of the save's files.
std::uintmax_t savedBytes(const std::string& label) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    if (entry.path().filename().string().rfind(label + "-", 0) == 0) bytes += entry.file_size();
  }
  return bytes;
}

// A plain write of the bytes with fsync, then a read of them: seconds each.
std::pair<double, double> plainWriteAndRead(std::uintmax_t bytes) {
  const std::vector<char> data(static_cast<std::size_t>(bytes), 'x');
  auto start = Clock::now();
  const int out = open("plain.bin", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::size_t done = 0;
  while (out >= 0 && done < data.size()) {
    const ssize_t wrote = write(out, data.data() + done, data.size() - done);
    if (wrote <= 0) break;
    done += static_cast<std::size_t>(wrote);
  }
  if (out >= 0) {
    fsync(out);
    close(out);
  }
  const double writeSeconds = secondsSince(start);
  std::vector<char> back(data.size());
  start = Clock::now();
  const int in = open("plain.bin", O_RDONLY);
  done = 0;
  while (in >= 0 && done < back.size()) {
    const ssize_t got = read(in, back.data() + done, back.size() - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  if (in >= 0) close(in);
  return {writeSeconds, secondsSince(start)};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

void runSize(const Settings& settings, std::uint32_t objects, const std::string& fedFile, Shared& shared) {
  const std::string execution = numbered("Saves", objects);
  shared.created = 0;
  shared.discovered = 0;
  shared.joined = 0;
  shared.leave = 0;
  // The other process starts before this one's RTI exists: it shares none
  // of its sockets.
  const pid_t child = loopbackpair::forkChild([&] { otherFederate(execution, shared); });
  RTI::RTIambassador rti;
  Answering amb;
  rti.createFederationExecution(execution.c_str(), fedFile.c_str());
  rti.joinFederationExecution("A", execution.c_str(), &amb);
  shared.created = 1;
  while (!shared.joined.load()) amb.tick(rti);

  const RTI::ObjectClassHandle radio = rti.getObjectClassHandle("Radio");
  std::unique_ptr<RTI::AttributeHandleSet> all(RTI::AttributeHandleSetFactory::create(attributeCount));
  for (int a = 0; a < attributeCount; ++a)
    all->add(rti.getAttributeHandle(numbered("A", static_cast<std::uint32_t>(a)).c_str(), radio));
  rti.publishObjectClass(radio, *all);
  for (std::uint32_t i = 0; i < objects; ++i) {
    rti.registerObjectInstance(radio, numbered("radio", i).c_str());
    if (i % 64 == 0) amb.tick(rti);
  }
  while (shared.discovered.load() < objects) amb.tick(rti);

  std::vector<double> saves;
  std::vector<double> restores;
  std::vector<double> plainWrites;
  std::vector<double> plainReads;
  std::uintmax_t bytes = 0;
  bool failed = false;
  for (std::uint32_t r = 0; r < settings.repeat && !failed; ++r) {
    const std::string label = numbered("S", r);
    amb.saved = 0;
    auto start = Clock::now();
    rti.requestFederationSave(label.c_str());
    while (amb.saved == 0) amb.tick(rti);
    saves.push_back(secondsSince(start));
    amb.restored = 0;
    start = Clock::now();
    rti.requestFederationRestore(label.c_str());
    while (amb.restored == 0) amb.tick(rti);
    restores.push_back(secondsSince(start));
    failed = amb.saved < 0 || amb.restored < 0;
    bytes = savedBytes(label);
    const auto [writeSeconds, readSeconds] = plainWriteAndRead(bytes);
    plainWrites.push_back(writeSeconds);
    plainReads.push_back(readSeconds);
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
      if (entry.path().filename().string().rfind(label + "-", 0) == 0) std::filesystem::remove(entry.path());
    }
  }
  shared.leave = 1;
  while (waitpid(child, nullptr, WNOHANG) == 0) amb.tick(rti);
  rti.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
  rti.destroyFederationExecution(execution.c_str());
  if (failed) {
    std::printf("  %6u objects: the save or the restore FAILED\n", objects);
    return;
  }
  const double save = median(saves), restore = median(restores);
  const double plain = median(plainWrites) + median(plainReads);
  std::printf("  %6u %12ju %10.2f %10.2f %10.2f %10.2f %8.1f %8.1f %7.2f\n", objects, bytes, 1e3 * save, 1e3 * restore,
              1e3 * median(plainWrites), 1e3 * median(plainReads), 1e6 * save / objects, 1e6 * restore / objects,
              plain > 0 ? (save + restore) / plain : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  BenchParseOptions(argc, argv, "bench_federation_save",
                    "usage: bench_federation_save [--repeat N] [--largest N]\n"
                    "  --repeat   saves and restores of each size (default 5; medians reported)\n"
                    "  --largest  the most objects (10, 1000, then this; default 10000)",
                    [&](const std::string& name, std::uint32_t value) {
                      if (name == "--repeat")
                        settings.repeat = std::max(value, 1u);
                      else if (name == "--largest")
                        settings.largest = std::max(value, 1u);
                      else
                        return false;
                      return true;
                    });
  auto* shared =
      static_cast<Shared*>(mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  if (shared == MAP_FAILED) return 1;
  new (shared) Shared;
  setRtiNotifyLevel(nullptr, 1);

  DtNetSocket portHolder(0, loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback);
  const int port = portHolder.port();
  const std::uint32_t group = (239u << 24) | (81u << 16) | static_cast<std::uint32_t>(port & 0xFFFF);
  const BenchFederation files(port, group,
                              {"federation_save", "Saves", fedText(), 4 << 20,
                               "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n"
                               "(setq RTI_fomDataReliable 1)\n(setq RTI_dumpFed 0)\n",
                               true});
  const BenchRtiExec exec(port, "rtiexec.log");
  if (!exec.waitReady()) {
    std::printf("federation_save: the rtiexec did not start\n");
    return 1;
  }
  std::printf("federation_save: two federates, objects of %d attributes; medians of %u saves and restores\n",
              attributeCount, settings.repeat);
  std::printf("  %6s %12s %10s %10s %10s %10s %8s %8s %7s\n", "objects", "bytes", "save ms", "restore ms", "write ms",
              "read ms", "save/obj", "rest/obj", "x plain");
  std::printf("  %6s %12s %10s %10s %10s %10s %8s %8s %7s\n", "", "(3 files)", "", "", "(fsync)", "", "us", "us", "");
  for (const std::uint32_t objects : {10u, 1000u, settings.largest}) {
    runSize(settings, objects, files.fedFile(), *shared);
  }
  std::printf("  x plain: (save + restore) / (plain write + read); goal <= 3 at 10,000 objects\n");
  return 0;
}
