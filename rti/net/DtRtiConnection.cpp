#include "net/DtRtiConnection.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "RTI.hh"
#include "msg/DtNetMsgHeader.h"
#include "msg/DtRtiMsg.h"
#include "msg/DtRtiMsgFactory.h"
#include "net/DtCreateUdpSocket.h"
#include "net/DtNetAddress.h"
#include "net/DtNetSocket.h"
#include "net/DtSocketError.h"
#include "util/DtNoticeLimiter.h"
#include "util/DtNotify.h"

DtRtiConnection::DtRtiConnection(int port) { openOwnSocket(port, 0); }

DtRtiConnection::DtRtiConnection(int port, unsigned long destAddr) { openOwnSocket(port, destAddr); }

DtRtiConnection::DtRtiConnection(DtSocket* socket) { init(socket, 0); }

DtRtiConnection::~DtRtiConnection() {
  if (ownsSocket_) delete socket_;
}

void DtRtiConnection::openOwnSocket(int port, unsigned long destAddr) {
  std::unique_ptr<DtSocket> socket;
  try {
    socket.reset(DtCreateUdpSocket(port, static_cast<std::uint32_t>(destAddr), false));
  } catch (const DtSocketError& error) {
    DtNotifyError("Socket creation failed\n");
    throw RTI::RTIinternalError(("Socket creation failed: " + std::string(error.what())).c_str());
  }
  init(socket.get(), 1);
  static_cast<void>(socket.release());  // init took it
}

void DtRtiConnection::init(DtSocket* socket, int ownsSocket) {
  if (!socket || !socket->isOk()) {
    DtNotifyError("Socket creation failed\n");
    throw RTI::RTIinternalError("Socket creation failed");
  }
  socket_ = socket;
  socket_->setNonBlocking();
  socket_->setUnbundling(false);  // one message per datagram
  ownsSocket_ = ownsSocket;
  sizeMismatchCount_ = 0;
  msgFactory_ = nullptr;
  federateHandle_ = 0;
  fedExHandle_ = 0;
  fedExName_ = "";
}

void DtRtiConnection::setMsgFactory(DtRtiMsgFactory* factory) { msgFactory_ = factory; }

DtRtiMsg* DtRtiConnection::netRead(int* status) {
  int code = 0;
  DtRtiMsg* msg = nullptr;
  releaseSocketMemory();
  char* data = nullptr;
  int socketStatus = 0;
  const int length = socket_->DtRecv(&data, &socketStatus);
  if (socketStatus == -1) {
    code = SocketError;
  } else if (socketStatus == -2) {
    code = OtherExecution;
  } else if (!data || length <= 0) {
    code = NoData;
  } else if (length < DtNetMsgHeader::theSize) {
    ++tooShortCount_;
    code = TooShort;
  } else {
    const DtNetMsgHeader* header = DtNetMsgHeader::at(data);
    if ((fedExName_ != "" || fedExHandle_ != 0) &&
        !header->isForExec(fedExName_, static_cast<std::uint16_t>(fedExHandle_))) {
      code = OtherExecution;
    } else if (length != header->length()) {
      if (++sizeMismatchCount_ < theNumSizeMismatchComplain) {
        DtNotifyInfo("DtRtiConnection::netRead: size mismatch:received(%d), Header(%d)\n", length,
                     static_cast<int>(header->length()));
      }
      code = SizeMismatch;
    } else {
      // The message adopts the bytes where the socket read them.
      msg = msgFactory_ ? msgFactory_->create(header, DtPlaceHolderAt(data)) : nullptr;
      const int soundness = msg ? msg->status() : DtRtiMsg::Valid;
      if (!msg || soundness != DtRtiMsg::Valid) {
        reportRefused(*header, msg, soundness);
        delete msg;
        msg = nullptr;
        code = BadMessage;
      }
    }
  }
  if (status) *status = code;
  return msg;
}

void DtRtiConnection::setTestLoss(double share) {
  testLoss_ = std::clamp(share, 0.0, 1.0);
  lossDraw_ = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this)) | 1u;
}

int DtRtiConnection::discardWaiting(int limit) {
  releaseSocketMemory();
  int discarded = 0;
  while (discarded < limit) {
    char* data = nullptr;
    int status = 0;
    socket_->DtRecv(&data, &status);
    if (status != 1 && status != -2) break;  // nothing more, or the socket failed
    ++discarded;
  }
  return discarded;
}

void DtRtiConnection::reportRefused(const DtNetMsgHeader& header, const DtRtiMsg* msg, int soundness) const {
  const int kind = header.kind();
  const std::string reason = msg ? msg->statusText(soundness) : "no message class has this kind";
  // One line a second for each kind and fault, however fast a peer sends them.
  DtNotifyErrorLimited("received " + std::to_string(kind) + "/" + std::to_string(soundness),
                       "RTI: dropped a received %s (kind %d, %d bytes, from federate %u): %s\n",
                       DtRtiMsg::kindToString(static_cast<DtRtiMsgKind>(kind)), kind, static_cast<int>(header.length()),
                       static_cast<unsigned>(header.federate()), reason.c_str());
}

int DtRtiConnection::send(const DtRtiMsg& msg, unsigned long address) {
  if (testLoss_ > 0) {
    // A 32-bit xorshift: good enough to spread the losses.
    lossDraw_ ^= lossDraw_ << 13;
    lossDraw_ ^= lossDraw_ >> 17;
    lossDraw_ ^= lossDraw_ << 5;
    if (lossDraw_ < testLoss_ * 4294967296.0) return msg.size();
  }
  const int result = socket_->send(msg.data(), msg.size(), static_cast<std::uint32_t>(address));
  if (DtGetNotifyLevel() >= 3) {
    DtNotifyVerbose("<-------------------------------------------------\n");
    DtNotifyVerbose("Sent message of size %d on %s\n", result, DtAddrToString(static_cast<std::uint32_t>(address)));
    msg.print();
    DtNotifyVerbose("------------------------------------------------->\n");
  }
  return result;
}

void DtRtiConnection::setFedExHandle(int handle) { fedExHandle_ = handle; }
int DtRtiConnection::fedExHandle() const { return fedExHandle_; }
void DtRtiConnection::setFederateHandle(unsigned long handle) { federateHandle_ = static_cast<std::uint32_t>(handle); }
unsigned long DtRtiConnection::federateHandle() const { return federateHandle_; }
void DtRtiConnection::setFedExName(const DtString& name) { fedExName_ = name; }
const DtString& DtRtiConnection::fedExName() const { return fedExName_; }
DtRtiMsgFactory* DtRtiConnection::rtiMsgFactory() const { return msgFactory_; }
DtSocket* DtRtiConnection::socket() const { return socket_; }

void DtRtiConnection::releaseSocketMemory() {
  for (DtRtiMsg* msg : kept_) {
    if (!msg->inCallerMemory()) continue;
    // The buffer's assignment moves a message in caller memory to its own block.
    const std::unique_ptr<DtRtiMsg> copy(msg->clone(1));
    static_cast<DtRtiMsgBuffer&>(*msg) = static_cast<const DtRtiMsgBuffer&>(*copy);
  }
}

DtRtiConnection::KeepInPlace::KeepInPlace(DtRtiConnection& connection, DtRtiMsg* msg)
    : connection_(connection), msg_(msg) {
  if (msg_) connection_.kept_.push_back(msg_);
}

DtRtiConnection::KeepInPlace::~KeepInPlace() {
  if (!msg_) return;
  auto& kept = connection_.kept_;
  const auto found = std::find(kept.rbegin(), kept.rend(), msg_);
  if (found != kept.rend()) kept.erase(std::next(found).base());
}
