#pragma once
// DtRtiConnection: one socket plus the framing of RTI messages on it. It
// stamps nothing itself; it reads one packet at a time, checks that it is a
// message of this connection's federation execution with the length its
// header states, and has the message factory make the message object of
// its kind; a packet refused as unsound is reported at level 1, at most once
// a second for each kind and fault. The message adopts the packet's bytes
// where the socket read them (no copy); a message still in use when the
// connection reads again must be kept with KeepInPlace, which moves it to
// its own memory first.
//
// Used by one thread at a time (the ticking thread, or the asynchronous
// connection manager's worker while it runs).

#include <cstdint>
#include <vector>

#include "util/DtString.h"

class DtNetMsgHeader;
class DtRtiMsg;
class DtRtiMsgFactory;
class DtSocket;

class DtRtiConnection {
public:
  // netRead's status codes.
  enum Status {
    Message = 0,         // a message is returned
    NoData = 1,          // nothing waiting
    BadMessage = 2,      // no class for its kind, or its bytes are not sound
    SocketError = 3,     // the socket failed (a TCP connection that broke or closed)
    SizeMismatch = 4,    // the packet's length differs from its header's
    TooShort = 5,        // shorter than a message header
    OtherExecution = 7,  // another federation execution's, or refused by the socket's filters
  };

  // A received packet whose length disagrees with its header is reported
  // while the connection's count of them, once incremented, is below this:
  // the first 9 are reported, later ones are silent.
  static constexpr int theNumSizeMismatchComplain = 10;

  // A connection on a UDP socket of its own (made with DtCreateUdpSocket on
  // the port, sending to destAddr or broadcast); throws
  // RTI::RTIinternalError with the port and the reason when it cannot open.
  explicit DtRtiConnection(int port);
  DtRtiConnection(int port, unsigned long destAddr);
  // A connection on a socket the caller keeps; throws RTI::RTIinternalError
  // ("Socket creation failed") when the socket is not ok.
  explicit DtRtiConnection(DtSocket* socket);
  DtRtiConnection(const DtRtiConnection&) = delete;
  DtRtiConnection& operator=(const DtRtiConnection&) = delete;
  // Deletes the socket when the connection made it.
  virtual ~DtRtiConnection();

  virtual void setMsgFactory(DtRtiMsgFactory* factory);
  // One message, owned by the caller, or null with the reason in `status`
  // (may be null).
  virtual DtRtiMsg* netRead(int* status);
  // Reads and drops every packet waiting on the socket (at most `limit`);
  // the number dropped.
  virtual int discardWaiting(int limit);
  // The message's bytes on the socket (address 0: its default destination);
  // the socket's result: bytes sent, 0 when queued, negative on failure.
  virtual int send(const DtRtiMsg& msg, unsigned long address);
  // A test hook: drops this share (0 to 1) of the messages sent, at
  // random, as a lossy network would (they count as sent). Off (0) unless
  // the connection manager switches it on for its UDP connection from the
  // environment variable RTI_TEST_UDP_LOSS_PERCENT, which the tests of
  // reliable transport set; nothing else uses it.
  void setTestLoss(double share);
  virtual void setFedExHandle(int handle);
  virtual int fedExHandle() const;
  virtual void setFederateHandle(unsigned long handle);
  virtual unsigned long federateHandle() const;

  void setFedExName(const DtString& name);
  const DtString& fedExName() const;
  DtRtiMsgFactory* rtiMsgFactory() const;
  DtSocket* socket() const;

  int sizeMismatchCount() const { return sizeMismatchCount_; }
  int tooShortCount() const { return tooShortCount_; }

  // While it lives, a message netRead returned stays readable across later
  // reads of this connection (they move it to its own memory first).
  class KeepInPlace {
  public:
    KeepInPlace(DtRtiConnection& connection, DtRtiMsg* msg);
    ~KeepInPlace();
    KeepInPlace(const KeepInPlace&) = delete;
    KeepInPlace& operator=(const KeepInPlace&) = delete;

  private:
    DtRtiConnection& connection_;
    DtRtiMsg* msg_;
  };

protected:
  DtRtiConnection() = default;
  void init(DtSocket* socket, int ownsSocket);

private:
  void openOwnSocket(int port, unsigned long destAddr);
  // A received message refused as unsound (or of no known kind: msg null),
  // at level 1 and at most once a second for each kind and fault.
  void reportRefused(const DtNetMsgHeader& header, const DtRtiMsg* msg, int soundness) const;
  // Moves every kept message out of the socket's memory.
  void releaseSocketMemory();

  DtString fedExName_;
  int fedExHandle_ = 0;
  std::uint32_t federateHandle_ = 0;
  int ownsSocket_ = 0;
  DtSocket* socket_ = nullptr;
  int sizeMismatchCount_ = 0;
  int tooShortCount_ = 0;
  DtRtiMsgFactory* msgFactory_ = nullptr;
  std::vector<DtRtiMsg*> kept_;  // messages in use that may live in the socket's memory
  double testLoss_ = 0;
  std::uint32_t lossDraw_ = 0;  // the state of the loss hook's random draws
};
