#pragma once
// DtRtiExec: the core of the rtiexec, the central process that federates
// reach when RTI_useRtiExec is set. It keeps the federation executions (one
// DtFedExec each, handles 1, 2, ... never given twice), answers the create
// and destroy requests and the joins of executions that do not exist (an
// existing execution answers its own joins), passes lost connections on to
// every execution, and takes the operator's console commands: quit (with a
// confirmation while executions exist), list, and delete <handle> [name].
//
// The host program's part, in order:
//   DtRIDParameters rid;                 (the RID file, found as federates find it)
//   auto exec = DtRtiExec::create(&rid);
//   exec->addFedExCreatedCallback(...);  (optional)
//   exec->run();                         (returns when quit is confirmed, or after requestStop)
//   exec.reset();
// A host that drives the loop itself calls keybrdTick (-1: quit), waits on
// readDescriptors() (not at all while inputWaiting()) and calls tick.
//
// With reliable transport asked for (RTI_internalMsgReliable or
// RTI_fomDataReliable), the rtiexec runs the TCP forwarder on RTI_udpPort
// (DtRtiExecNetThread, driven by tick on the rtiexec's own thread, so that
// a request and its answer wake no other thread). Its reliable connection
// is the forwarder's owner in the same process (DtInProcessSocket): the
// packets between them pass in memory. When that cannot be made it says
// "Reverting to best effort." and goes on over UDP. A forwarder that cannot
// listen makes the constructor throw RTI::RTIinternalError. (A connection
// manager installed with DtConnectionMgr::setCreatorFunction reaches the
// forwarder as a TCP client at RTI_tcpForwarderAddr instead.)
//
// Everything but requestStop runs on the thread that calls run (or the
// host's loop): the received messages reach the rtiexec and its executions
// through the connection manager's callbacks inside tick.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "exec/DtExecCallbackList.h"
#include "msg/DtMsgSubscriptions.h"
#include "net/DtConnectionMgr.h"
#include "port/DtExport.h"
#include "util/DtString.h"

class DtConnectMsg;
class DtCreateMsg;
class DtDestroyMsg;
class DtDisconnectMsg;
class DtFedExec;
class DtJoinMsg;
class DtRIDParameters;
class DtRtiExecNetThread;
class DtWakeup;

class DT_EXPORT DtRtiExec {
public:
  using Creator = DtRtiExec* (*)(DtRIDParameters* rid);
  using ExecutionCallback = DtExecCallbackList<DtFedExec*>::Function;
  using Clock = std::function<double()>;

  // The installed creator's rtiexec, else a new one. The RID parameters
  // stay the caller's and must outlive the rtiexec.
  static std::unique_ptr<DtRtiExec> create(DtRIDParameters* rid);
  // Null restores the default. Process-wide.
  static void setCreatorFunction(Creator creator);

  DtRtiExec(const DtRtiExec&) = delete;
  DtRtiExec& operator=(const DtRtiExec&) = delete;
  // Deletes the executions (the destroyed callbacks are not called), the
  // connection manager and the network thread, which closes every
  // federate's connection.
  virtual ~DtRtiExec();

  // The received messages.
  virtual void processConnectMsg(const DtConnectMsg& msg);
  virtual void processCreate(const DtCreateMsg& msg);
  virtual void processDestroy(const DtDestroyMsg& msg);
  virtual void processJoin(const DtJoinMsg& msg);
  virtual void processDisconnect(const DtDisconnectMsg& msg);

  // A new execution on the rtiexec's connection manager.
  virtual std::unique_ptr<DtFedExec> createFedEx(DtConnectionMgr* mgr, const DtString& name, const DtString& fedFile,
                                                 int handle, DtRIDParameters* rid);
  DtConnectionMgr* connectMgr() const { return connectMgr_.get(); }
  bool exists(const DtString& name) const { return fedExec(name) != nullptr; }
  DtFedExec* fedExec(const DtString& name) const;
  // The executions in creation order.
  std::vector<DtFedExec*> executionList() const;

  // Until the operator confirms quit or requestStop is called: the console,
  // a wait of at most a second for input, the tick.
  virtual void run();
  // The received messages (as many as came, within a bound), then every
  // execution's tick.
  virtual void tick();
  // The next console line, if one is complete: -1 to quit, else 0 or 1.
  // What the command sent goes out at once.
  virtual int keybrdTick();
  // One console line, as keybrdTick takes it.
  virtual int processCommand(const char* line);
  // The quit command: -1 when no execution exists, else 1 (confirmation
  // needed) after listing the executions still active.
  virtual int processQuit();
  // The list command: every execution and its federates, at level 2.
  void listExecutions() const;

  // Ends run at its next pass. Safe from any thread and from a signal
  // handler.
  void requestStop();
  bool stopRequested() const { return stopRequested_.load(); }
  // What the host's own loop waits on: the connection manager's sockets,
  // the forwarder, the console (descriptor 0) and the stop wake-up.
  const DtSelectParam& readDescriptors() const { return selectParams_; }
  // Received packets wait in memory, where no descriptor shows them: the
  // next tick must come without waiting.
  bool inputWaiting() const;

  void addFedExCreatedCallback(ExecutionCallback fn, void* data) { created_.add(fn, data); }
  void removeFedExCreatedCallback(ExecutionCallback fn, void* data) { created_.remove(fn, data); }
  void addFedExDestroyedCallback(ExecutionCallback fn, void* data) { destroyed_.add(fn, data); }
  void removeFedExDestroyedCallback(ExecutionCallback fn, void* data) { destroyed_.remove(fn, data); }

  // The request's ticket (the federate handle of its header, which a
  // federate that is not joined sets to a number of its own) comes back in
  // the answer's header, so that the requester knows its answer from the
  // answers to others' requests for the same execution.
  virtual void sendCreateResponseMsg(const DtString& fullName, int flag, unsigned long ticket = 0);
  virtual void sendDestroyResponseMsg(const DtString& fullName, int flag, unsigned long ticket = 0);

  // The connection handle of the last connect message (the rtiexec's own
  // connection to its forwarder).
  unsigned long forwarderID() const { return forwarderID_; }
  // The port the forwarder listens on; 0 without one.
  int forwarderPort() const;
  // The clock of the executions' time-dependent steps (DtRealTime unless
  // set), for them and every execution made later.
  void setClock(Clock clock);

protected:
  explicit DtRtiExec(DtRIDParameters* rid);

private:
  void subscribeHandlers();
  void deleteCommand(const char* line);
  // run's wait for input, at most `seconds`.
  void waitForInput(double seconds);
  // The forwarder's last wait watched the datagram and reliable sockets
  // and found nothing on them.
  bool managerSocketsFoundEmpty() const;

  std::unique_ptr<DtRtiExecNetThread> netThread_;  // made first, gone last
  std::unique_ptr<DtConnectionMgr> connectMgr_;
  DtMsgSubscriptions handlers_;  // with connectMgr_
  std::vector<std::unique_ptr<DtFedExec>> executions_;
  DtSelectParam selectParams_;
  // The forwarder's poller watches the connection manager's sockets and the
  // stop wake-up too: without a console its one wait serves for all.
  bool forwarderWaitsForAll_ = false;
  bool quitPending_ = false;
  int nextExecutionHandle_ = 1;
  DtExecCallbackList<DtFedExec*> created_;
  DtExecCallbackList<DtFedExec*> destroyed_;
  unsigned long forwarderID_ = 0;
  DtRIDParameters* rid_;
  std::atomic<bool> stopRequested_{false};
  std::unique_ptr<DtWakeup> stopWakeup_;
  Clock clock_;
};
