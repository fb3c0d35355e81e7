#include "save/DtSavedMessages.h"

#include "msg/DtRtiMsg.h"
#include "msg/DtRtiMsgFactory.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"
#include "util/DtNotify.h"

bool DtWriteSavedMessages(DtRtiSaveFile& file, const std::vector<const DtRtiMsg*>& msgs) {
  bool written = true;
  for (const DtRtiMsg* msg : msgs) {
    written =
        file.writePacket(DtSavedMessagePacket::build(msg->data(), static_cast<std::uint32_t>(msg->size()))) && written;
  }
  return written;
}

DtSavedMessageRead DtReadSavedMessage(DtRtiSaveFile& file, DtRtiMsgFactory& factory, int executionHandle,
                                      std::unique_ptr<DtRtiMsg>* msg) {
  const DtSavePacket* saved = file.readNextPacket();
  if (!saved || saved->type() != DtSavedMessagePacket::theType) return DtSavedMessageRead::NotSaved;
  const std::span<const char> bytes = DtSavedMessagePacket::message(*saved);
  msg->reset(factory.createReceived(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr));
  if (!*msg) {
    DtNotifyError("Restored pending message could not be regenerated\n");
    return DtSavedMessageRead::NotRebuilt;
  }
  (*msg)->setFedEx(executionHandle);
  return DtSavedMessageRead::Rebuilt;
}
