#pragma once
// The files of a benchmark's federation in a scratch folder: a RID file with
// the federation's port and group (the loopback as multicast interface, the
// socket receive buffer asked for, diagnostics kept to errors) and the FED
// file named after the execution. The RTI is pointed at them (RTI_RID_FILE,
// RTI_CONFIG); the folder may also be the working folder, where an RTI
// ambassador writes its log file. Everything goes with the object.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "util/DtIpv4Address.h"

class BenchFederation {
public:
  struct Options {
    const char* benchName;      // for the scratch folder's name and errors
    std::string executionName;  // the FED file is <executionName>.fed
    std::string fedText;
    int receiveBuffer;          // RTI_socketReceiveBufferSize; 0 leaves the RTI's default
    std::string extraRidLines;  // appended to the RID file
    bool enterFolder;           // make the folder the working folder
  };

  BenchFederation(int port, std::uint32_t group, const Options& options)
      : benchName_(options.benchName), fedName_(options.executionName + ".fed") {
    std::string dir = "/tmp/" + benchName_ + "_XXXXXX";
    if (!mkdtemp(dir.data())) fail("scratch folder");
    dir_ = dir;
    ridText_ = "(setq RTI_udpPort " + std::to_string(port) + ")\n(setq RTI_destAddrString \"" + DottedAddress(group) +
               "\")\n(setq RTI_mcastDevAddrString \"127.0.0.1\")\n" +
               (options.receiveBuffer > 0
                    ? "(setq RTI_socketReceiveBufferSize " + std::to_string(options.receiveBuffer) + ")\n"
                    : std::string()) +
               "(setq RTI_notifyLevel 1)\n" + options.extraRidLines;
    write("rid.mtl", ridText_);
    write(fedName_, options.fedText);
    setenv("RTI_RID_FILE", (dir_ / "rid.mtl").c_str(), 1);
    setenv("RTI_CONFIG", dir_.c_str(), 1);
    if (options.enterFolder) {
      previous_ = std::filesystem::current_path();
      std::filesystem::current_path(dir_);
    }
  }
  ~BenchFederation() {
    std::error_code ignored;
    if (!previous_.empty()) std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }
  BenchFederation(const BenchFederation&) = delete;
  BenchFederation& operator=(const BenchFederation&) = delete;

  std::string fedFile() const { return (dir_ / fedName_).string(); }
  std::string ridPath() const { return (dir_ / "rid.mtl").string(); }
  // Another RID file in the folder: the federation's, with more lines; its path.
  std::string writeRidVariant(const std::string& name, const std::string& extraLines) const {
    write(name, ridText_ + extraLines);
    return (dir_ / name).string();
  }

private:
  [[noreturn]] void fail(const char* what) const {
    std::perror((benchName_ + ": " + what).c_str());
    std::exit(1);
  }
  void write(const std::string& name, const std::string& text) const {
    std::FILE* out = std::fopen((dir_ / name).c_str(), "w");
    const bool written = out && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (out && std::fclose(out) != 0) fail("scratch file");
    if (!written) fail("scratch file");
  }

  std::string benchName_;
  std::string fedName_;
  std::string ridText_;
  std::filesystem::path dir_;
  std::filesystem::path previous_;
};
