#pragma once
// DtRIDParameters: the RTI's configuration, one value per RID key ("RTI_"
// and a word), first set to its default and then from the RID file, a
// script of the configuration language. The file is the first of these
// that yields a value (opens and has at least one form that evaluates
// without error):
//   1. the file the environment variable RTI_RID_FILE names,
//   2. rid.mtl in the directory RTI_CONFIG names,
//   3. rid.mtl in the working directory;
// with none, "Using default RID parameters." and the defaults. A form with
// an error is skipped; a syntax error ends the file there. A number out of
// its key's range is refused with a message and the default kept.
// rti/config/rid.mtl documents every key with its default.
//
// The file fills four lists through the RID built-ins (DtRIDBuiltins):
// destination addresses, object and interaction multicast definitions, and
// plug-in names. Every object has its own lists.
//
// One object per ambassador, made first in its constructor and deleted last.
// It is loaded on the thread that makes it; afterwards the library's managers
// read it. The setters change a value in place without locking. A text
// setter keeps the pointer it is given, which the caller keeps alive; the
// texts the RID file gave live in the object's own interpreter, as long as
// the object. A copy owns every text it took from its source.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "config/DtRIDLists.h"
#include "port/DtExport.h"
#include "util/DtFilename.h"

class DtList;
class DtMtlEnvironment;
class DtRIDBuiltins;

// Exported for the rtiexec program, which makes its own.
class DT_EXPORT DtRIDParameters {
public:
  // The defaults, then the RID file.
  DtRIDParameters();
  // The source's values and file name, then the RID file again on top of
  // them, with lists of this object's own load only.
  DtRIDParameters(const DtRIDParameters& other);
  DtRIDParameters& operator=(const DtRIDParameters&) = delete;
  virtual ~DtRIDParameters();

  // The keys, in the order they are registered with the interpreter.
  int useRtiExec() const { return useRtiExec_; }
  void setUseRtiExec(int value) { useRtiExec_ = value; }
  int udpPort() const { return udpPort_; }
  void setUdpPort(int value) { udpPort_ = value; }
  int errorChecking() const { return checkFlag_; }
  void setErrorChecking(int value) { checkFlag_ = value; }
  const char* destAddrString() const { return destAddrString_; }
  std::uint32_t destAddr() const { return addressOf(destAddrString_); }
  void setDestAddrString(const char* text) { destAddrString_ = text; }
  const char* mcastDevAddrString() const { return mcastDevAddrString_; }
  std::uint32_t mcastDevAddr() const { return addressOf(mcastDevAddrString_); }
  void setMcastDevAddrString(const char* text) { mcastDevAddrString_ = text; }
  const char* minChannelAddr() const { return minChannelAddr_; }
  std::uint32_t minChannel() const { return addressOf(minChannelAddr_); }
  void setMinChannelAddr(const char* text) { minChannelAddr_ = text; }
  const char* maxChannelAddr() const { return maxChannelAddr_; }
  std::uint32_t maxChannel() const { return addressOf(maxChannelAddr_); }
  void setMaxChannelAddr(const char* text) { maxChannelAddr_ = text; }
  int notifyLevel() const { return notifyLevel_; }
  void setNotifyLevel(int value) { notifyLevel_ = value; }
  int dataDistMgmt() const { return dataDistMgmt_; }
  void setDataDistMgmt(int value) { dataDistMgmt_ = value; }
  int timeMgmt() const { return timeMgmt_; }
  void setTimeMgmt(int value) { timeMgmt_ = value; }
  int internalMsgReliable() const { return internalMsgReliable_; }
  void setInternalMsgReliable(int value) { internalMsgReliable_ = value; }
  int tcpBufferSize() const { return tcpBufferSize_; }
  void setTcpBufferSize(int value) { tcpBufferSize_ = value; }
  int socketReceiveBufferSize() const { return socketReceiveBufferSize_; }
  void setSocketReceiveBufferSize(int value) { socketReceiveBufferSize_ = value; }
  const char* tcpForwarderAddrString() const { return tcpForwarderAddr_; }
  std::uint32_t tcpForwarderAddr() const { return addressOf(tcpForwarderAddr_); }
  void setTcpForwarderAddr(const char* text) { tcpForwarderAddr_ = text; }
  int fomDataReliable() const { return fomDataReliable_; }
  void setFomDataReliable(int value) { fomDataReliable_ = value; }
  int mcastTtl() const { return mcastTtl_; }
  void setMcastTtl(int value) { mcastTtl_ = value; }
  int tcpNoDelay() const { return tcpNoDelay_; }
  void setTcpNoDelay(int value) { tcpNoDelay_ = value; }
  int singleCallbackPerTick() const { return singleCallbackPerTick_; }
  void setSingleCallbackPerTick(int value) { singleCallbackPerTick_ = value; }
  int useRandomNumberForFedHandle() const { return useRandomNumberForFedHandle_; }
  void setUseRandomNumberForFedHandle(int value) { useRandomNumberForFedHandle_ = value; }
  int throwExceptionForDisabledService() const { return throwExceptionForDisabledService_; }
  void setThrowExceptionForDisabledService(int value) { throwExceptionForDisabledService_ = value; }
  int enableClassAdvisory() const { return enableClassAdvisory_; }
  void setEnableClassAdvisory(int value) { enableClassAdvisory_ = value; }
  int enableAttributeAdvisory() const { return enableAttributeAdvisory_; }
  void setEnableAttributeAdvisory(int value) { enableAttributeAdvisory_ = value; }
  int enableAttributeScopeAdvisory() const { return enableAttributeScopeAdvisory_; }
  void setEnableAttributeScopeAdvisory(int value) { enableAttributeScopeAdvisory_ = value; }
  int enableInteractionAdvisory() const { return enableInteractionAdvisory_; }
  void setEnableInteractionAdvisory(int value) { enableInteractionAdvisory_ = value; }
  int processUnknownUpdatesForDiscovery() const { return processUnknownUpdatesForDiscovery_; }
  void setProcessUnknownUpdatesForDiscovery(int value) { processUnknownUpdatesForDiscovery_ = value; }
  int usingUdpForwarder() const { return useUdpForwarders_; }
  void setUsingUdpForwarder(int value) { useUdpForwarders_ = value; }
  float responseInterval() const { return responseInterval_; }
  void setResponseInterval(float value) { responseInterval_ = value; }
  float federateHeartbeatInterval() const { return federateHeartbeatInterval_; }
  void setFederateHeartbeatInterval(float value) { federateHeartbeatInterval_ = value; }
  float federateTimeoutInterval() const { return federateTimeoutInterval_; }
  void setFederateTimeoutInterval(float value) { federateTimeoutInterval_ = value; }
  int reuseLogFile() const { return reuseLogFile_; }
  void setReuseLogFile(int value) { reuseLogFile_ = value; }
  int dumpFed() const { return dumpFed_; }
  void setDumpFed(int value) { dumpFed_ = value; }
  int enableHlaObjectNamePrefix() const { return enableHlaObjectNamePrefix_; }
  float addressDelay() const { return addressDelay_; }
  void setAddressDelay(float value) { addressDelay_ = value; }
  const char* pluginDir() const { return pluginDirectory_; }
  void setPluginDir(const char* text) { pluginDirectory_ = text; }
  const char* saveRestoreDirectory() const { return saveRestoreDirectory_; }
  void setSaveRestoreDirectory(const char* text) { saveRestoreDirectory_ = text; }
  const char* defaultFedFile() const { return defaultFedFile_; }
  void setDefaultFedFile(const char* text) { defaultFedFile_ = text; }
  int deleteOrphans() const { return deleteOrphans_; }
  void setDeleteOrphans(int value) { deleteOrphans_ = value; }
  int useBusyWaitForTickMinMax() const { return useBusyWaitForTickMinMax_; }
  void setUseBusyWaitForTickMinMax(int value) { useBusyWaitForTickMinMax_ = value; }
  // Seconds that tick() without bounds, finding nothing to deliver, waits
  // for the RTI's input before it returns (0, the default: it only gives
  // the processor away). At most 10.
  float tickIdleWait() const { return tickIdleWait_; }
  void setTickIdleWait(float value) { tickIdleWait_ = value; }
  int enableRtiexecGUI() const { return enableRtiexecGUI_; }
  void setEnableRtiexecGUI(int value) { enableRtiexecGUI_ = value; }
  int saveRestoreTimeout() const { return saveRestoreTimeout_; }
  void setSaveRestoreTimeout(int value) { saveRestoreTimeout_ = value; }
  int asynchronousIO() const { return asynchronousIO_; }
  void setAsynchronousIO(int value) { asynchronousIO_ = value; }
  float IOPeriod() const { return IOPeriod_; }
  void setIOPeriod(float value) { IOPeriod_ = value; }
  int maxIOQueue() const { return maxIOQueue_; }
  void setMaxIOQueue(int value) { maxIOQueue_ = value; }
  int maxIOCount() const { return maxIOCount_; }
  void setMaxIOCount(int value) { maxIOCount_ = value; }
  int tickFavorsNetwork() const { return tickFavorsNetwork_; }
  void setTickFavorsNetwork(int value) { tickFavorsNetwork_ = value; }
  int IOLockQueue() const { return IOLockQueue_; }
  void setIOLockQueue(int value) { IOLockQueue_ = value; }
  int sendDiscoveredClass() const { return sendDiscoveredClass_; }
  void setSendDiscoveredClass(int value) { sendDiscoveredClass_ = value; }
  int forceFullCompliance() const { return forceFullCompliance_; }
  void setForceFullCompliance(int value) { forceFullCompliance_ = value; }
  int momServiceAvailable() const { return momServiceAvailable_; }
  void setMomServiceAvailable(int value) { momServiceAvailable_ = value; }
  int momExceptionReports() const { return momExceptionReports_; }
  void setMomExceptionReports(int value) { momExceptionReports_ = value; }
  int momExceptionLogging() const { return momExceptionLogging_; }
  void setMomExceptionLogging(int value) { momExceptionLogging_ = value; }
  int momFederateUpdateInterval() const { return momFederateUpdateInterval_; }
  void setMomFederateUpdateInterval(int value) { momFederateUpdateInterval_ = value; }
  // The most TCP connections the rtiexec's forwarder keeps open at once.
  int tcpMaxConnections() const { return tcpMaxConnections_; }
  void setTcpMaxConnections(int value) { tcpMaxConnections_ = value; }
  // Seconds a TCP connection to the rtiexec may stay silent, or hold a
  // message unfinished, before it joins (or after it resigned); 0: for ever.
  float tcpJoinTimeout() const { return tcpJoinTimeout_; }
  void setTcpJoinTimeout(float value) { tcpJoinTimeout_ = value; }
  // The most bytes the rtiexec's forwarder lets wait for one connection;
  // a federate that lets more wait is resigned as lost.
  int tcpMaxQueuedBytes() const { return tcpMaxQueuedBytes_; }
  void setTcpMaxQueuedBytes(int value) { tcpMaxQueuedBytes_ = value; }

  // True when the RID file added at least one destination address.
  bool useGroupSocket() const { return !lists_.destinations().empty(); }
  // True when the RID file defined a multicast group for a class.
  bool useDMFiltering() const {
    return lists_.objectMulticasts().count() != 0 || lists_.interactionMulticasts().count() != 0;
  }
  // The destination addresses in the order added; their number through `count`.
  const DtString* destinationAddrs(int* count) const;
  // Of DtMulticastDefinition.
  const DtList& objectMulticastDefinitions() const { return lists_.objectMulticasts(); }
  const DtList& interactionMulticastDefinitions() const { return lists_.interactionMulticasts(); }
  // Of DtFilename.
  const DtList& pluginNames() const { return lists_.pluginNames(); }
  // The RID file that was loaded; empty when none was.
  const DtFilename& ridName() const { return ridName_; }
  DtMtlEnvironment* mtlEnvironment() const { return environment_.get(); }
  // RTI_saveRestoreDirectory followed by the separator.
  const char* saveRestoreDirectoryPath();

  // A dotted-decimal IPv4 address in host byte order; 0xFFFFFFFF for a text
  // that is no address (and for 255.255.255.255).
  static std::uint32_t addressOf(const char* text);

protected:
  // Registers every key and the RID built-ins with the interpreter, then
  // loads the RID file.
  void registerParameters();
  // Finds and loads the RID file.
  void loadLispFile();
  // A number outside its key's range (a port of -5, a negative size) is
  // refused with a message naming the key and the value; the key takes its
  // default.
  void checkRanges();
  // A copy of the text that lives as long as this object (null stays null).
  const char* ownCopy(const char* text);

private:
  struct Key;
  static const Key keys_[];

  DtFilename ridName_;
  int useRtiExec_, udpPort_, checkFlag_, notifyLevel_, dataDistMgmt_, timeMgmt_, internalMsgReliable_, fomDataReliable_,
      momServiceAvailable_, momExceptionReports_, momExceptionLogging_, momFederateUpdateInterval_, mcastTtl_,
      tcpNoDelay_, tcpBufferSize_, socketReceiveBufferSize_, useUdpForwarders_, singleCallbackPerTick_,
      useRandomNumberForFedHandle_, throwExceptionForDisabledService_, enableClassAdvisory_, enableAttributeAdvisory_,
      enableAttributeScopeAdvisory_, enableInteractionAdvisory_, processUnknownUpdatesForDiscovery_, reuseLogFile_,
      dumpFed_, enableRtiexecGUI_, enableHlaObjectNamePrefix_, saveRestoreTimeout_, asynchronousIO_, maxIOQueue_,
      maxIOCount_, tickFavorsNetwork_, IOLockQueue_, sendDiscoveredClass_, forceFullCompliance_, deleteOrphans_,
      useBusyWaitForTickMinMax_, tcpMaxConnections_, tcpMaxQueuedBytes_;
  float IOPeriod_, addressDelay_, responseInterval_, federateHeartbeatInterval_, federateTimeoutInterval_,
      tcpJoinTimeout_, tickIdleWait_;
  const char* destAddrString_;
  const char* mcastDevAddrString_;
  const char* tcpForwarderAddr_;
  const char* minChannelAddr_;
  const char* maxChannelAddr_;
  const char* pluginDirectory_;
  const char* saveRestoreDirectory_;
  const char* defaultFedFile_;
  std::deque<std::string> copiedTexts_;  // a deque keeps its texts in place as it grows
  DtRIDLists lists_;
  DtFilename saveRestorePath_;
  std::unique_ptr<DtMtlEnvironment> environment_;
  std::unique_ptr<DtRIDBuiltins> builtins_;  // goes before the interpreter and the lists
};
