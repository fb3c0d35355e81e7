#include "save/DtRtiSaveFile.h"

#include <cinttypes>

#include "msg/DtNetNumber.h"
#include "util/DtNotify.h"

DtRtiSaveFile::DtRtiSaveFile(const char* name) : readMode_(true), name_(name) {}

DtRtiSaveFile::DtRtiSaveFile(const char* name, bool forRead) : readMode_(forRead), name_(name) {
  if (forRead) {
    setForRead();
  } else {
    setForWrite();
  }
}

DtRtiSaveFile::~DtRtiSaveFile() = default;

void DtRtiSaveFile::open(const char* mode) {
  stream_.reset();
  packet_.reset();
  damaged_ = false;
  failed_ = false;
  unread_ = 0;
  stream_.reset(std::fopen(name_.string(), mode));
  if (!stream_ || !readMode_) return;
  std::FILE* stream = stream_.get();
  // Records are read a few hundred bytes at a time: fewer, larger reads.
  std::setvbuf(stream, nullptr, _IOFBF, 1 << 16);
  const long end = std::fseek(stream, 0, SEEK_END) == 0 ? std::ftell(stream) : -1;
  if (end < 0 || std::fseek(stream, 0, SEEK_SET) != 0) {
    stream_.reset();
    return;
  }
  unread_ = static_cast<std::uint64_t>(end);
}

void DtRtiSaveFile::setForRead() {
  readMode_ = true;
  open("rb");
}

void DtRtiSaveFile::setForWrite() {
  readMode_ = false;
  open("wb+");
}

const DtSavePacket* DtRtiSaveFile::readNextPacket() {
  packet_.reset();
  if (!stream_ || !readMode_ || damaged_) return nullptr;
  char header[DtSavePacket::headerSize];
  if (unread_ < sizeof header || std::fread(header, 1, sizeof header, stream_.get()) != sizeof header) return nullptr;
  unread_ -= sizeof header;
  const std::uint32_t length = DtNetU32::read(header + DtSavePacket::lengthAt);
  if (length < DtSavePacket::headerSize) {
    DtNotifyError("Save file %s: a record of %" PRIu32 " bytes is shorter than its header; reading stops\n",
                  name_.string(), length);
    damaged_ = true;
    return nullptr;
  }
  if (unread_ < length - DtSavePacket::headerSize) {
    DtNotifyError("Save file %s: a record of %" PRIu32 " bytes runs past the end of the file; reading stops\n",
                  name_.string(), length);
    damaged_ = true;
    return nullptr;
  }
  packetBuffer_.assign(header, header + sizeof header);
  packetBuffer_.resize(length);
  const std::size_t body = length - DtSavePacket::headerSize;
  if (body > 0 && std::fread(packetBuffer_.data() + DtSavePacket::headerSize, 1, body, stream_.get()) != body) {
    damaged_ = true;
    return nullptr;
  }
  unread_ -= body;
  packet_.emplace(packetBuffer_);
  return &*packet_;
}

bool DtRtiSaveFile::writePacket(const char* data, int length) {
  if (!stream_ || readMode_) return false;
  bool written = true;
  if (length > 0) {
    std::size_t done = 0;
    const auto total = static_cast<std::size_t>(length);
    while (done < total) {
      const std::size_t wrote = std::fwrite(data + done, 1, total - done, stream_.get());
      if (wrote == 0) {
        written = false;
        break;
      }
      done += wrote;
    }
  }
  if (std::fflush(stream_.get()) != 0) written = false;
  if (!written) failed_ = true;
  return written;
}

bool DtRtiSaveFile::close() {
  if (!stream_) return false;
  packet_.reset();
  const bool closed = std::fclose(stream_.release()) == 0;
  if (!closed && !readMode_) failed_ = true;
  return closed && !failed_;
}

bool DtRtiSaveFile::writePacket(const DtSavePacketBuilder& packet) {
  return writePacket(packet.bytes().data(), static_cast<int>(packet.bytes().size()));
}
