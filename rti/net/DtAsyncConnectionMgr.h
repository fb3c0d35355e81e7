#pragma once
// DtAsyncConnectionMgr: the connection manager a federate gets. With
// RTI_asynchronousIO 1 it moves the socket work to one worker thread per
// manager ("rti-io" in the system's list of threads), from
// connectFederation to disconnectFederation: the worker sends
// the queued messages, reads both connections and queues what it received;
// tick() on the federate's thread takes the received messages one at a
// time and dispatches them as the synchronous manager does (callbacks
// always run on the ticking thread). Otherwise, and after a disconnection,
// everything falls through to DtConnectionMgr.
//
// The send list and the receive list each have their own lock, never held
// together, and packets move between them and the threads' own batches in
// groups of at most RTI_IOLockQueue. Wake-ups are per manager: the worker
// waits on its sockets and a send wake-up; the federate can wait on
// readFileEvent(), an eventfd readable while received messages wait.
//
// Thread safety: the sends may be called from any thread; everything else
// from the thread that ticks. The destructor stops and joins a worker that
// still runs.

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "net/DtConnectionMgr.h"
#include "net/DtQueuePacket.h"
#include "port/DtWakeup.h"

class DtAsyncConnectionMgr : public DtConnectionMgr {
public:
  // As DtConnectionMgr::create (the same creator hook wins), otherwise a new
  // DtAsyncConnectionMgr; then init(rid).
  static std::unique_ptr<DtConnectionMgr> create(DtRIDParameters* rid);

  explicit DtAsyncConnectionMgr(DtRIDParameters* rid = nullptr);
  ~DtAsyncConnectionMgr() override;

  void init(DtRIDParameters* rid) override;
  // Asynchronous: the message is queued for the worker (a copy, or the
  // message itself in the deleting form) and the result is 0 at once.
  int send(const DtRtiMsg& msg, DtTransportType transport, unsigned long address = 0) override;
  int sendAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address = 0) override;
  // Asynchronous and connected: dispatches at most one received message.
  char processConnections() override;
  DtRtiMsg* getMessage() override;
  // Asynchronous: -1 (the worker owns the sockets).
  int readFileDescriptor(unsigned long transport) override;
  // Asynchronous: the "Packet Waiting" eventfd, readable while received
  // messages wait for tick().
  int readFileEvent(unsigned long transport) override;
  // Asynchronous: stops the worker once everything queued is sent; the
  // manager is synchronous from then on.
  void disconnectFederation() override;
  // Asynchronous: starts the worker.
  void connectFederation(RTI::FederateAmbassador* fedAmb, const DtString& execName, unsigned long fedHandle,
                         int fedExHandle) override;
  // Asynchronous: true at once when received messages wait, else waits for
  // one for at most min(seconds, RTI_IOPeriod).
  char wait(double seconds) override;
  void yield() override;

  virtual char isAsynchronous() const;
  // Appends the packet to the send list and wakes the worker; holds the
  // sender back (at most about 200 RTI_IOPeriod waits) while the list is
  // longer than RTI_maxIOQueue.
  virtual void queueMsg(DtRtiMsg* msg, DtTransportType transport, unsigned long address);
  virtual int waitEvent() const;
  virtual void signalReceiveEvent();
  virtual void clearReceiveEvent();
  virtual void signalSendEvent();
  virtual void clearSendEvent();

  // Messages sent but dropped by the worker (a send that kept failing).
  unsigned long droppedSends() const { return droppedSends_.load(); }

protected:
  // The worker's loop.
  void workerThread();

private:
  using Batch = std::deque<std::unique_ptr<DtQueuePacket>>;

  bool sendBatch(Batch& batch, DtRtiConnection* udp, DtRtiConnection*& tcp, bool& tcpBusy);
  bool sendOne(DtQueuePacket& packet, DtRtiConnection* conn, bool& giveUp);
  // Reads the connection into the batch; false when it ended on something
  // other than "no data".
  bool readInto(Batch& received, DtRtiConnection* conn, DtTransportType transport);
  void checkTcp(DtRtiConnection*& tcp, bool& tcpBusy);
  void waitForWork(DtRtiConnection* udp, DtRtiConnection* tcp, bool tcpBusy);
  void dropUnsent(Batch& batch);
  // Refills the dispatch batch from the receive list when it is empty.
  void refillBatch();
  void stopWorker();

  std::atomic<bool> stopRequested_{false};
  // Read by senders on any thread.
  std::atomic<char> connected_{0};
  std::atomic<char> asynchronous_{0};
  std::mutex sendLock_;
  std::mutex receiveLock_;
  std::thread thread_;
  std::unique_ptr<DtWakeup> packetWaiting_;
  std::unique_ptr<DtWakeup> sendEvent_;
  float ioPeriod_ = 0.01f;
  int maxIOQueue_ = 20000;
  int maxIOCount_ = 1000;
  int ioLockQueue_ = 500;
  Batch batch_;                       // the ticking thread's dispatch batch
  Batch sendList_;                    // under sendLock_
  Batch receiveList_;                 // under receiveLock_
  std::atomic<int> sendCount_{0};     // sendList_'s length, for reading without the lock
  std::atomic<int> receiveCount_{0};  // receiveList_'s length, likewise
  std::atomic<unsigned long> droppedSends_{0};
};
