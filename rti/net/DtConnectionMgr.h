#pragma once
// DtConnectionMgr: the object through which every manager of a federate
// (and the rtiexec) talks to the network. It owns the connections, built
// from the RID parameters: a UDP connection (a plain, group or forwarder
// socket) and, with rtiexec, a reliable TCP connection to the forwarder. It
// sends a message on the connection of its transport type (stamping the
// sender's identity in the stamped forms), reads received messages, and
// dispatches each to the callbacks registered for its kind: the MOM
// registry first, then (unless held back during a save, or taken by the
// time manager's queue) the normal registry, the most recently registered
// first.
//
// A federate uses it like this:
//   init(rid)                     (create() does this) the connections
//   connectFederation(...)        on join: execution name and handles
//   send...(msg, transport)       any manager, any number of times
//   tick()                        reads and dispatches one message per connection
//   readFileDescriptor / wait     to sleep until something arrives
//   disconnectFederation()        on resign
//
// Thread safety: everything runs on the thread that ticks (callbacks too);
// a callback may send, tick again or disconnect. The asynchronous manager
// (DtAsyncConnectionMgr) moves the socket work to a worker thread.

#include <memory>

#include "RTI.hh"
#include "msg/DtDfltMsgFactory.h"
#include "msg/DtMsgCallbackRegistry.h"
#include "msg/DtRtiMsgCallbackInfo.h"
#include "msg/DtRtiMsgCbMgr.h"
#include "msg/DtRtiMsgKind.h"
#include "port/DtFdSet.h"
#include "util/DtFomTypes.h"
#include "util/DtList.h"
#include "util/DtString.h"

class DtFedAmbWrapper;
class DtFedAmbWrapperChain;
class DtGroupSocket;
class DtNetSocket;
class DtRetractInfoList;
class DtRIDParameters;
class DtRtiConnection;
class DtRtiMsg;
class DtRtiMsgQueue;
class DtSocket;

// The descriptors to wait on: at most 64, and the highest one (-1: none).
struct DtSelectParam {
  int highest = -1;
  DtFdSet readSet;
};

class DtConnectionMgr : public DtMsgCallbackRegistry {
public:
  typedef DtConnectionMgr* (*Creator)(DtRIDParameters* rid);

  // A manager made by the installed creator (a plug-in's), else a plain
  // one, then init(rid). Throws RTI::RTIinternalError when a socket cannot
  // be opened (the reason names the port).
  static std::unique_ptr<DtConnectionMgr> create(DtRIDParameters* rid);
  // Null restores the default. Process-wide; set before managers are made.
  static void setCreatorFunction(Creator creator);
  static Creator creatorFunction();

  // Fields empty, no connection; the default factory is in use from the start.
  explicit DtConnectionMgr(DtRIDParameters* rid = nullptr);
  DtConnectionMgr(const DtConnectionMgr&) = delete;
  DtConnectionMgr& operator=(const DtConnectionMgr&) = delete;
  // Deletes pending messages, the connections and their sockets.
  virtual ~DtConnectionMgr();

  // Builds the connections from the RID parameters. Without rtiexec a
  // reliable transport asked for falls back to best effort with a message
  // (and the RID parameters are changed to say so).
  virtual void init(DtRIDParameters* rid);

  // Sending. transport 0 is best effort (UDP), 1 reliable (TCP when there
  // is a reliable connection, else UDP); address 0 is the connection's
  // default destination. The result is the connection's: bytes sent, 0 when
  // queued, negative on failure. These forms borrow the message.
  //
  // A message that cannot travel is refused before anything is done with
  // it: every form throws RTI::RTIinternalError (reason and level-1 line
  // alike) when a value was refused while the message was built (its
  // refusal()), or when it is longer than the chosen connection carries (a
  // UDP datagram holds at most 65507 bytes). Nothing is sent or queued then;
  // the deleting forms still delete the message.
  virtual int send(const DtRtiMsg& msg, DtTransportType transport, unsigned long address = 0);
  // Stamps this federate's execution id and handle first (and records a
  // time-stamp-ordered message in the retraction list); the message gets
  // its execution id back afterwards, the federate handle stays.
  virtual int sendStamped(DtRtiMsg& msg, DtTransportType transport, unsigned long address = 0);
  // As sendStamped with federate handle 0 and no retraction record.
  virtual int sendStampedAnonymous(DtRtiMsg& msg, DtTransportType transport, unsigned long address = 0);
  // The same three taking the message, which is deleted after sending.
  virtual int sendAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address = 0);
  virtual int sendStampedAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address = 0);
  virtual int sendStampedAnonymousAndDelete(DtRtiMsg* msg, DtTransportType transport, unsigned long address = 0);

  // One pending message (when no save is in progress), then at most one
  // message from each connection; true when anything was done (a bad
  // packet read counts). Throws RTI::RTIinternalError, saying so, once the
  // TCP connection to the rtiexec broke (at every tick from then on).
  virtual RTI::Boolean tick();
  // Around a federate's tick, its loop of these ticks: within it, a look
  // that found only reliable input, which one read took in full, is not
  // repeated to end the loop once that input went up (what came meanwhile
  // waits for the next tick). Outside, every tick looks.
  void beginTick();
  void endTick();
  // A tick of that kind for a caller whose own wait has just looked at the
  // manager's descriptors and found nothing there: its loop of ticks ends
  // without a look once the reliable packets in hand went up.
  void beginTickAfterEmptyWait();
  // At most one message from the connection, dispatched.
  virtual RTI::Boolean processConnection(DtRtiConnection* conn, DtTransportType transport);
  // Before an rtiexec bound is acted on (DtRtiMsgKinds::followsDatagrams),
  // the datagrams that wait on the UDP connection are read and dispatched
  // (at most this many).
  static constexpr int theDatagramsReadBeforeABound = 4096;
  void readDatagramsInHand();
  virtual char processConnections();
  // The next received message without dispatching it (the reliable
  // connection first), owned by the caller; null when none came. For the
  // blocking waits of the federation services.
  virtual DtRtiMsg* getMessage();

  // Messages held back during a save, oldest first; the list owns them.
  virtual void addPendingMsg(DtRtiMsg* msg);
  // Dispatches the oldest pending message unless a save is in progress;
  // true when one was.
  virtual char processPendingMsg();
  // Takes the oldest out (the caller owns it); null when none.
  virtual DtRtiMsg* nextPendingMsg();
  virtual void emptyPendingMsgList();
  virtual int pendingMsgCount() const;

  // Runs every callback of the message's kind in the normal registry (the
  // newest first); returns 0.
  virtual int processMsg(const DtRtiMsg& msg);
  // The same with the registry of the management object model.
  virtual int momProcessMsg(const DtRtiMsg& msg);

  // What a federate can wait on for received traffic of a transport (0 UDP,
  // anything else the reliable connection): a descriptor that poll() or
  // select() reports readable when something may be read; -1 when there is
  // no such connection (or, in asynchronous mode, from readFileDescriptor).
  // readFileEvent is the descriptor to use in every mode: here the socket,
  // in asynchronous mode an eventfd that stays readable while received
  // messages wait for tick(). Neither is to be read or closed by the caller.
  virtual int readFileDescriptor(unsigned long transport);
  virtual int readFileEvent(unsigned long transport);

  // Registers in the MOM registry when `mom` is not 0, else in the normal one.
  virtual void addMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback fn, void* data, char mom);
  virtual void removeMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback fn, void* data, char mom);
  // The same for a registration made by a message class (a typed record).
  void addMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom) final;
  void removeMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom) final;

  // The connection of the RTI's own traffic (the reliable one when
  // RTI_internalMsgReliable is on, else the UDP one), and the two.
  virtual DtRtiConnection* internalConn() const;
  virtual DtRtiConnection* reliableConn() const;
  virtual DtRtiConnection* udpConn() const;
  // Adds the connections' read descriptors (UDP, then reliable).
  virtual void setupSelectParams(DtSelectParam* params);
  // 0: a UDP connection exists; 1: a reliable one exists; else false.
  virtual char hasTransport(DtTransportType transport) const;
  // True once the reliable connection to the rtiexec has broken (the
  // rtiexec ended or closed it): every tick throws from then on.
  bool rtiexecLost() const;

  // A new empty message of the kind from the factory in use (the caller owns
  // it); null for a kind without a class.
  virtual DtRtiMsg* create(DtRtiMsgKind kind);
  // The factory in use, passed to the connections.
  virtual void setMsgFactory(DtRtiMsgFactory* factory);
  virtual DtRtiMsgFactory* msgFactory() const { return msgFactory_; }

  // The UDP socket's group membership (data distribution's channels).
  virtual bool listenToMulticastGroup(unsigned long address);
  virtual bool dropMulticastGroup(unsigned long address);

  // Leaving and joining an execution: connectFederation discards what
  // waits on the UDP socket (it was sent before the join), links the
  // wrapper chain in front of the federate's ambassador and stamps and
  // filters by the execution's name and handles from then on;
  // disconnectFederation undoes it, deletes pending messages and forgets
  // the queue, the retraction list and the save flag.
  virtual void disconnectFederation();
  virtual void connectFederation(RTI::FederateAmbassador* fedAmb, const DtString& execName, unsigned long fedHandle,
                                 int fedExHandle);
  // Where callbacks to the federate enter (the outermost wrapper); null
  // when not connected.
  virtual RTI::FederateAmbassador* fedAmb() const;
  // Files a wrapper (handing back one filed under the name before).
  virtual std::unique_ptr<DtFedAmbWrapper> addFedAmbWrapper(const DtString& name,
                                                            std::unique_ptr<DtFedAmbWrapper> wrapper);
  virtual std::unique_ptr<DtFedAmbWrapper> removeFedAmbWrapper(const DtString& name);
  virtual unsigned long fedHandle() const;
  // Whether this federate's own interactions reach its callbacks again (the
  // updates stay filtered out at the UDP socket): the MOM table answers the
  // MOM interactions a federate sends to itself or to every federate, while
  // the interaction manager still drops its own. Off again at disconnect.
  void setOwnInteractionsKept(bool kept);
  bool ownInteractionsKept() const { return ownInteractionsKept_; }
  virtual int fedExHandle() const;
  virtual DtString fedExName() const;
  virtual void setFederateHandle(unsigned long handle);

  // The time manager's queue and retraction list (not owned; null: none).
  virtual DtRtiMsgQueue* msgQueue() const;
  virtual void setMsgQueue(DtRtiMsgQueue* queue);
  virtual DtRetractInfoList* retractList() const;
  virtual void setRetractList(DtRetractInfoList* list);

  // Waits until a connection has something to read, at most `seconds`;
  // true when one has.
  virtual char wait(double seconds);
  // Gives the processor away (the asynchronous manager's worker first).
  virtual void yield();
  virtual char saveInProgress() const;
  virtual void setSaveInProgress(char inProgress);

  DtTransportType internalTransportType() const;

protected:
  // The sockets and connections init makes; a subclass or plug-in may
  // replace any of them. Each socket reads and writes; the caller owns it.
  virtual DtNetSocket* createUdpNetSocket(int port, unsigned long destAddr, unsigned long interfaceAddr);
  // Without destination; joins destAddr's group when it is a multicast address.
  virtual DtGroupSocket* createUdpGroupSocket(int port, unsigned long destAddr, unsigned long interfaceAddr);
  virtual DtGroupSocket* createUdpForwarderSocket(int port, unsigned long destAddr, unsigned long interfaceAddr);
  // The UDP connection on the socket (which the manager owns from now on):
  // a group connection when useGroupConnection is set.
  virtual char createUdpConn(DtSocket* socket, int useGroupConnection, unsigned long destAddr);
  // The reliable connection: a TCP client of tcpAddr on the port; false
  // when it cannot connect.
  virtual char createTcpConn(int port, unsigned long destAddr, unsigned long interfaceAddr, unsigned long tcpAddr);
  // Makes the reliable connection on the socket, which the manager owns.
  void adoptReliableSocket(std::unique_ptr<DtSocket> socket);
  // The internal messages go on the reliable connection (when there is one)
  // from now on, as init makes them when the RID asks for it.
  void carryInternalMessagesReliably();

  // The received message's way to the callbacks: the MOM registry, then
  // held back during a save, offered to the time manager's queue, or
  // dispatched.
  void deliver(const DtRtiMsg& msg);
  // Takes the reliable connection away (it broke): reliable traffic goes
  // by UDP from now on, and tick throws. The connection is kept until the manager goes, so
  // that a pointer to it read before stays valid.
  void dropReliableConn();

  DtRtiMsgCbMgr& registry(char mom) { return mom ? momCallbacks_ : callbacks_; }
  // The connection a message of the transport goes out on (null: none).
  DtRtiConnection* connectionFor(DtTransportType transport) const;
  // Throws RTI::RTIinternalError when the message cannot travel on that
  // connection (see the send forms).
  void requireSendable(const DtRtiMsg& msg, DtTransportType transport) const;

  DtRtiMsgFactory* msgFactory_;  // not owned
  DtDfltMsgFactory defaultFactory_;
  DtRtiMsgCbMgr callbacks_;
  DtRtiMsgCbMgr momCallbacks_;

private:
  struct Connections;
  void stampExecution(DtRtiMsg& msg) const;
  void discardEarlierTraffic();
  // Filters this federate's own updates and interactions out at the UDP
  // socket (on) or lets them in again (off).
  void ignoreOwnTraffic(bool on);
  bool traced(const DtRtiMsg& msg) const;

  std::unique_ptr<Connections> connections_;
  std::unique_ptr<DtFedAmbWrapperChain> wrapperChain_;
  DtRtiMsgQueue* msgQueue_ = nullptr;
  DtRetractInfoList* retractList_ = nullptr;
  DtList pendingMsgs_;  // of DtRtiMsg, owned
  char saveInProgress_ = 0;
  DtString fedExName_;
  int fedExHandle_ = 0;
  std::uint32_t fedHandle_ = 0;
  bool ownInteractionsKept_ = false;
  std::uint32_t receivedCount_ = 0;
  DtList inProgress_;  // numbers of traced messages being dispatched, innermost first
};
