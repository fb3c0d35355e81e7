#pragma once
// DtRtiSaveFile: a federate's share of a federation save, one binary file of
// records (DtSavePackets.h) back to back, with no file header. The federate
// manager opens it for one save or one restore and hands it to each manager
// in turn; each writes its records, or reads back exactly the records it
// wrote, in the same order.
//
// Every record written is flushed at once. A write that fails (at the
// write, the flush or the close) is remembered: a file that lost bytes is
// never taken for a whole one (failed(), close()). A file is opened for
// reading only, so a restore never changes it. A record read back is
// checked against the file: a length shorter than a header, or one that
// runs past the end of the file, ends the reading with a message; nothing
// outside the file or the buffer is ever read.
//
// Used by one manager at a time on the federate's thread; no lock.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "save/DtSavePackets.h"
#include "util/DtString.h"

class DtRtiSaveFile {
public:
  // Keeps the name, in read mode; opens nothing yet.
  explicit DtRtiSaveFile(const char* name);
  // Keeps the name and opens the file for reading or for writing.
  DtRtiSaveFile(const char* name, bool forRead);
  DtRtiSaveFile(const DtRtiSaveFile&) = delete;
  DtRtiSaveFile& operator=(const DtRtiSaveFile&) = delete;
  virtual ~DtRtiSaveFile();

  virtual const DtString& fileName() const { return name_; }
  // The file is open.
  virtual bool isOk() const { return stream_ != nullptr; }
  // Reopens the file for reading only (it must exist) or for writing
  // (emptied or made).
  virtual void setForRead();
  virtual void setForWrite();
  // Nothing: kept for the managers that call it.
  virtual void setForAppend() {}

  // The next whole record, valid until the next read or the file's end;
  // null at the end of the file, when the file is not open for reading, or
  // once a damaged record has stopped the reading.
  virtual const DtSavePacket* readNextPacket();
  // Appends the bytes as one record and flushes them. False when the file
  // is not open for writing or the bytes could not all be written (the rest
  // of the record is given up; the next record follows what was written).
  virtual bool writePacket(const char* data, int length);
  bool writePacket(const DtSavePacketBuilder& packet);
  // A write, flush or close of this file has failed since it was opened.
  bool failed() const { return failed_; }
  // Closes the file: true when it was open and every write, the flush and
  // the close succeeded. Reading or writing it afterwards does nothing.
  bool close();

private:
  struct Closer {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
  };
  void open(const char* mode);

  bool readMode_;
  std::vector<char> packetBuffer_;  // the last record read
  std::optional<DtSavePacket> packet_;
  std::unique_ptr<std::FILE, Closer> stream_;
  DtString name_;
  bool damaged_ = false;
  bool failed_ = false;
  // Read mode: the bytes of the file not read yet (taken once at the open,
  // so that a record's length is checked without a seek).
  std::uint64_t unread_ = 0;
};
