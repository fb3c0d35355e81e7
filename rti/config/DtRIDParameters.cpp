#include "config/DtRIDParameters.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "config/DtConfigDirectory.h"
#include "config/DtMtlEnvironment.h"
#include "config/DtRIDBuiltins.h"
#include "util/DtNotify.h"

namespace {

constexpr double noLimit = std::numeric_limits<double>::infinity();
constexpr double maxInt = std::numeric_limits<int>::max();
// The TCP receive buffer is made at once: it stays below the largest packet.
constexpr double maxTcpBuffer = 64.0 * 1024 * 1024;
// An idle tick() returns after this long at the latest, whatever the RID says.
constexpr double maxTickIdleWait = 10.0;

}  // namespace

// One RID key: its name and the member that holds it, with the default and
// the range a value from the RID file must lie in (numbers only). Exactly
// one of the three members is set.
struct DtRIDParameters::Key {
  const char* name;
  int DtRIDParameters::*intMember;
  int intDefault;
  float DtRIDParameters::*floatMember;
  float floatDefault;
  const char* DtRIDParameters::*textMember;
  const char* textDefault;
  double min = -noLimit;
  double max = noLimit;
};

// The table is walked for the defaults, the copy, the registration and the
// range check, so a key is added in one place.
// clang-format off
#define intKey(name, member, value, ...) Key{name, member, value, nullptr, 0.0f, nullptr, nullptr __VA_OPT__(, ) __VA_ARGS__}
#define floatKey(name, member, value, ...) Key{name, nullptr, 0, member, value, nullptr, nullptr __VA_OPT__(, ) __VA_ARGS__}
#define textKey(name, member, value) Key{name, nullptr, 0, nullptr, 0.0f, member, value}
// clang-format on

const DtRIDParameters::Key DtRIDParameters::keys_[] = {
    intKey("RTI_useRtiExec", &DtRIDParameters::useRtiExec_, 0),
    intKey("RTI_udpPort", &DtRIDParameters::udpPort_, 4000, 1, 65535),
    intKey("RTI_checkFlag", &DtRIDParameters::checkFlag_, 1),
    textKey("RTI_destAddrString", &DtRIDParameters::destAddrString_, "229.7.7.7"),
    textKey("RTI_mcastDevAddrString", &DtRIDParameters::mcastDevAddrString_, "0.0.0.0"),
    textKey("RTI_minChannelAddr", &DtRIDParameters::minChannelAddr_, "224.0.0.1"),
    textKey("RTI_maxChannelAddr", &DtRIDParameters::maxChannelAddr_, "239.255.255.255"),
    intKey("RTI_notifyLevel", &DtRIDParameters::notifyLevel_, 2),
    intKey("RTI_dataDistMgmt", &DtRIDParameters::dataDistMgmt_, 0),
    intKey("RTI_timeMgmt", &DtRIDParameters::timeMgmt_, 0),
    intKey("RTI_internalMsgReliable", &DtRIDParameters::internalMsgReliable_, 0),
    intKey("RTI_tcpBufferSize", &DtRIDParameters::tcpBufferSize_, 20000, 1, maxTcpBuffer),
    intKey("RTI_socketReceiveBufferSize", &DtRIDParameters::socketReceiveBufferSize_, 4 * 1024 * 1024, 1, maxInt),
    textKey("RTI_tcpForwarderAddr", &DtRIDParameters::tcpForwarderAddr_, "127.0.0.1"),
    intKey("RTI_fomDataReliable", &DtRIDParameters::fomDataReliable_, 0),
    intKey("RTI_mcastTtl", &DtRIDParameters::mcastTtl_, 2, 0, 255),
    intKey("RTI_tcpNoDelay", &DtRIDParameters::tcpNoDelay_, 1),
    intKey("RTI_singleCallbackPerTick", &DtRIDParameters::singleCallbackPerTick_, 0),
    intKey("RTI_useRandomNumberForFedHandle", &DtRIDParameters::useRandomNumberForFedHandle_, 0),
    intKey("RTI_throwExceptionForDisabledService", &DtRIDParameters::throwExceptionForDisabledService_, 1),
    intKey("RTI_enableClassAdvisory", &DtRIDParameters::enableClassAdvisory_, 1),
    intKey("RTI_enableAttributeAdvisory", &DtRIDParameters::enableAttributeAdvisory_, 0),
    intKey("RTI_enableAttributeScopeAdvisory", &DtRIDParameters::enableAttributeScopeAdvisory_, 0),
    intKey("RTI_enableInteractionAdvisory", &DtRIDParameters::enableInteractionAdvisory_, 1),
    intKey("RTI_processUnknownUpdatesForDiscovery", &DtRIDParameters::processUnknownUpdatesForDiscovery_, 0),
    intKey("RTI_useUdpForwarders", &DtRIDParameters::useUdpForwarders_, 0),
    floatKey("RTI_responseInterval", &DtRIDParameters::responseInterval_, 3.0f, 0, maxInt),
    floatKey("RTI_federateHeartbeatInterval", &DtRIDParameters::federateHeartbeatInterval_, 0.0f, 0, maxInt),
    floatKey("RTI_federateTimeoutInterval", &DtRIDParameters::federateTimeoutInterval_, 0.0f, 0, maxInt),
    intKey("RTI_reuseLogFile", &DtRIDParameters::reuseLogFile_, 1),
    intKey("RTI_dumpFed", &DtRIDParameters::dumpFed_, 1),
    intKey("RTI_enableHlaObjectNamePrefix", &DtRIDParameters::enableHlaObjectNamePrefix_, 0),
    floatKey("RTI_addressDelay", &DtRIDParameters::addressDelay_, 1.0f, 0, maxInt),
    textKey("RTI_pluginDirectory", &DtRIDParameters::pluginDirectory_, "../plugins"),
    textKey("RTI_saveRestoreDirectory", &DtRIDParameters::saveRestoreDirectory_, "."),
    textKey("RTI_defaultFedFile", &DtRIDParameters::defaultFedFile_, ""),
    intKey("RTI_deleteOrphans", &DtRIDParameters::deleteOrphans_, 1),
    intKey("RTI_useBusyWaitForTickMinMax", &DtRIDParameters::useBusyWaitForTickMinMax_, 0),
    floatKey("RTI_tickIdleWait", &DtRIDParameters::tickIdleWait_, 0.0f, 0, maxTickIdleWait),
    intKey("RTI_enableRtiexecGUI", &DtRIDParameters::enableRtiexecGUI_, 0),
    intKey("RTI_saveRestoreTimeout", &DtRIDParameters::saveRestoreTimeout_, 120, 0, maxInt),
    intKey("RTI_asynchronousIO", &DtRIDParameters::asynchronousIO_, 0),
    floatKey("RTI_IOPeriod", &DtRIDParameters::IOPeriod_, 0.01f, 0, maxInt),
    intKey("RTI_maxIOQueue", &DtRIDParameters::maxIOQueue_, 20000, 1, maxInt),
    intKey("RTI_maxIOCount", &DtRIDParameters::maxIOCount_, 1000, 1, maxInt),
    intKey("RTI_tickFavorsNetwork", &DtRIDParameters::tickFavorsNetwork_, 1),
    intKey("RTI_IOLockQueue", &DtRIDParameters::IOLockQueue_, 500),
    intKey("RTI_sendDiscoveredClass", &DtRIDParameters::sendDiscoveredClass_, 0),
    intKey("RTI_forceFullCompliance", &DtRIDParameters::forceFullCompliance_, 0),
    intKey("RTI_momServiceAvailable", &DtRIDParameters::momServiceAvailable_, 0),
    intKey("RTI_momExceptionReports", &DtRIDParameters::momExceptionReports_, 0),
    intKey("RTI_momExceptionLogging", &DtRIDParameters::momExceptionLogging_, 0),
    intKey("RTI_momFederateUpdateInterval", &DtRIDParameters::momFederateUpdateInterval_, 0, 0, maxInt),
    intKey("RTI_tcpMaxConnections", &DtRIDParameters::tcpMaxConnections_, 1024),
    floatKey("RTI_tcpJoinTimeout", &DtRIDParameters::tcpJoinTimeout_, 60.0f, 0, maxInt),
    intKey("RTI_tcpMaxQueuedBytes", &DtRIDParameters::tcpMaxQueuedBytes_, 32 * 1024 * 1024, 64 * 1024, maxInt),
};

#undef intKey
#undef floatKey
#undef textKey

DtRIDParameters::DtRIDParameters() : environment_(std::make_unique<DtMtlEnvironment>()) {
  for (const Key& key : keys_) {
    if (key.intMember) this->*key.intMember = key.intDefault;
    if (key.floatMember) this->*key.floatMember = key.floatDefault;
    if (key.textMember) this->*key.textMember = key.textDefault;
  }
  registerParameters();
}

DtRIDParameters::DtRIDParameters(const DtRIDParameters& other)
    : ridName_(other.ridName_), environment_(std::make_unique<DtMtlEnvironment>()) {
  for (const Key& key : keys_) {
    if (key.intMember) this->*key.intMember = other.*key.intMember;
    if (key.floatMember) this->*key.floatMember = other.*key.floatMember;
    // The source's texts may live in its interpreter, which can go before
    // this object: the copy points at texts of its own until its load (and
    // stays so for a key the file gives a value of the wrong kind).
    if (key.textMember) this->*key.textMember = ownCopy(other.*key.textMember);
  }
  registerParameters();
}

const char* DtRIDParameters::ownCopy(const char* text) {
  if (!text) return nullptr;
  copiedTexts_.emplace_back(text);
  return copiedTexts_.back().c_str();
}

DtRIDParameters::~DtRIDParameters() = default;

void DtRIDParameters::registerParameters() {
  for (const Key& key : keys_) {
    if (key.intMember) environment_->registerVariable(key.name, &(this->*key.intMember));
    if (key.floatMember) environment_->registerVariable(key.name, &(this->*key.floatMember));
    if (key.textMember) environment_->registerVariable(key.name, &(this->*key.textMember));
  }
  builtins_ = std::make_unique<DtRIDBuiltins>(*environment_, lists_);
  loadLispFile();
  checkRanges();
}

void DtRIDParameters::checkRanges() {
  for (const Key& key : keys_) {
    if (key.intMember) {
      int& value = this->*key.intMember;
      if (value >= key.min && value <= key.max) continue;
      DtNotifyError("RID: %s %d is out of range (%.0f to %.0f); using the default %d\n", key.name, value, key.min,
                    key.max, key.intDefault);
      value = key.intDefault;
    }
    if (key.floatMember) {
      float& value = this->*key.floatMember;
      if (value >= key.min && value <= key.max) continue;  // a NaN is in no range
      DtNotifyError("RID: %s %g is out of range (%.0f to %.0f); using the default %g\n", key.name,
                    static_cast<double>(value), key.min, key.max, static_cast<double>(key.floatDefault));
      value = key.floatDefault;
    }
  }
}

void DtRIDParameters::loadLispFile() {
  std::vector<DtFilename> candidates;
  if (const char* file = std::getenv("RTI_RID_FILE")) candidates.emplace_back(file);
  if (const std::string directory = DtConfigDirectory(); !directory.empty()) {
    candidates.emplace_back((directory + "/rid.mtl").c_str());
  }
  candidates.emplace_back("rid.mtl");
  // Every attempt exports the current values and imports what the file
  // assigned, even a file that counts as missing.
  for (const DtFilename& candidate : candidates) {
    if (environment_->loadFile(candidate.string(), 0)) {
      ridName_ = candidate;
      return;
    }
  }
  DtNotifyError("Using default RID parameters.\n");
}

const DtString* DtRIDParameters::destinationAddrs(int* count) const {
  if (count) *count = static_cast<int>(lists_.destinations().size());
  return lists_.destinations().data();
}

const char* DtRIDParameters::saveRestoreDirectoryPath() {
  saveRestorePath_ = saveRestoreDirectory_;
  saveRestorePath_ += "/";
  return saveRestorePath_.string();
}

std::uint32_t DtRIDParameters::addressOf(const char* text) { return ntohl(inet_addr(text ? text : "")); }
