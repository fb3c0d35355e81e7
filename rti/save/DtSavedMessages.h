#pragma once
// Messages in a save file, each as a saved-message record (type 15) that
// holds the message as it travels: the messages a federate manager holds
// back, and the time-stamped ones a time manager has queued.

#include <memory>
#include <vector>

class DtRtiMsg;
class DtRtiMsgFactory;
class DtRtiSaveFile;

// Writes each message as one record; false when one was not written whole.
bool DtWriteSavedMessages(DtRtiSaveFile& file, const std::vector<const DtRtiMsg*>& msgs);

// What the next record gave.
enum class DtSavedMessageRead {
  Rebuilt,     // a message, stamped with the execution
  NotRebuilt,  // a saved message the factory cannot make again (said at level 1)
  NotSaved     // the file ends, or holds another record (said by the caller)
};
// Reads the next record as a saved message and rebuilds it through the
// factory.
DtSavedMessageRead DtReadSavedMessage(DtRtiSaveFile& file, DtRtiMsgFactory& factory, int executionHandle,
                                      std::unique_ptr<DtRtiMsg>* msg);
