#include <gtest/gtest.h>

#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "rti/config/ConfigTestFiles.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"

namespace {

// The (type, length) of every record a file gives back, in order.
std::vector<std::pair<std::uint32_t, std::uint32_t>> records(DtRtiSaveFile& file) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;
  while (const DtSavePacket* packet = file.readNextPacket()) seen.emplace_back(packet->type(), packet->size());
  return seen;
}

TEST(DtRtiSaveFile, RecordsComeBackAsWrittenOneAfterTheOther) {
  ScratchDirectory dir;
  const std::string path = dir.path() + "/fed.sav";
  {
    DtRtiSaveFile file(path.c_str(), false);
    ASSERT_TRUE(file.isOk());
    EXPECT_EQ(file.fileName(), path.c_str());
    DtSavePacketBuilder counted(DtAttrInfoPacketType, DtAttrInfoPacket::length(2));
    counted.setU32(DtAttrInfoPacket::countAt, 2);
    counted.setU32(DtAttrInfoPacket::federatesAt + 4, 0xA1B2C3D4);
    EXPECT_TRUE(file.writePacket(counted));
    EXPECT_TRUE(file.writePacket(DtSavePacketBuilder(DtEndPacketType, DtEndPacket::listEndLength)));
    EXPECT_TRUE(file.writePacket(nullptr, 0));  // nothing, still flushed
    EXPECT_EQ(file.readNextPacket(), nullptr);  // not while writing
  }
  // The bytes are the layout's, big-endian.
  const std::string bytes = readWholeFile(path);
  ASSERT_EQ(bytes.size(), 28u + 8u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\0\0\0\x1c\0\0\0\x07", 8));
  EXPECT_EQ(bytes.substr(24, 4), "\xA1\xB2\xC3\xD4");

  DtRtiSaveFile file(path.c_str(), true);
  EXPECT_FALSE(file.writePacket("12345678", 8));
  const DtSavePacket* first = file.readNextPacket();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(DtAttrInfoPacket::complete(*first));
  EXPECT_EQ(first->u32(DtAttrInfoPacket::federatesAt + 4), 0xA1B2C3D4u);
  EXPECT_EQ(first->u32(28), 0u);  // past the record: nothing
  EXPECT_EQ(records(file), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{998, 8}}));
  EXPECT_EQ(readWholeFile(path).size(), 36u);  // the refused write wrote nothing
}

TEST(DtRtiSaveFile, AMissingFileGivesNothing) {
  DtRtiSaveFile file("/nonexistent/dir/fed.sav", true);
  EXPECT_FALSE(file.isOk());
  EXPECT_EQ(file.readNextPacket(), nullptr);
  DtRtiSaveFile unopened("/nonexistent/dir/other.sav");
  EXPECT_FALSE(unopened.isOk());
  EXPECT_FALSE(unopened.writePacket("12345678", 8));
}

TEST(DtRtiSaveFile, AFailedWriteIsReported) {
  DtRtiSaveFile file("/dev/full", false);
  ASSERT_TRUE(file.isOk());
  EXPECT_FALSE(file.writePacket(DtSavePacketBuilder(DtEndPacketType, DtEndPacket::classEndLength)));
}

struct Damage {
  const char* what;
  std::string bytes;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> records;
  std::string errors;
};

const Damage damages[] = {
    {"an end record given as bytes", std::string("\0\0\0\x14\0\0\x03\xe6", 8) + std::string(12, '\0'), {{998, 20}}, ""},
    {"a header alone, then a partial header", std::string("\0\0\0\x08\0\0\0\x02\0\0", 10), {{2, 8}}, ""},
    {"a length shorter than a header",
     std::string("\0\0\0\x04\0\0\0\x02", 8),
     {},
     "Save file F: a record of 4 bytes is shorter than its header; reading stops\n"},
    {"a length past the end of the file",
     std::string("\0\0\0\x08\0\0\0\x02", 8) + std::string("\xff\xff\xff\xf0\0\0\0\x07zz", 10),
     {{2, 8}},
     "Save file F: a record of 4294967280 bytes runs past the end of the file; reading stops\n"},
    {"a record cut short: an end record's length with six of its twelve body bytes",
     std::string("\0\0\0\x0c\0\0\0\x02\1\0\0\0", 12) + std::string("\0\0\0\x14\0\0\x03\xe6", 8) + std::string(6, '\0'),
     {{2, 12}},
     "Save file F: a record of 20 bytes runs past the end of the file; reading stops\n"},
};

TEST(DtRtiSaveFile, DamagedRecordsStopTheReadingWithinTheFile) {
  for (const Damage& c : damages) {
    ScratchDirectory dir;
    const std::string path = dir.write("F", c.bytes);
    NotifyCapture capture(1);
    DtRtiSaveFile file(path.c_str(), true);
    EXPECT_EQ(records(file), c.records) << c.what;
    EXPECT_EQ(file.readNextPacket(), nullptr) << c.what;
    std::string errors = capture.text();
    if (const auto at = errors.find(path); at != std::string::npos) errors.replace(at, path.size(), "F");
    EXPECT_EQ(errors, c.errors) << c.what;
  }
}

}  // namespace

namespace {

TEST(DtRtiSaveFile, AFileLostAtTheLastFlushOrCloseIsNotWhole) {
  DtRtiSaveFile full("/dev/full", false);
  ASSERT_TRUE(full.isOk());
  EXPECT_FALSE(full.failed());
  // A record smaller than the stream's buffer is lost at its flush.
  EXPECT_FALSE(full.writePacket(DtSavePacketBuilder(DtEndPacketType, DtEndPacket::listEndLength)));
  EXPECT_TRUE(full.failed());
  EXPECT_FALSE(full.close());
  EXPECT_FALSE(full.isOk());

  ScratchDirectory dir;
  DtRtiSaveFile good((dir.path() + "/good.sav").c_str(), false);
  EXPECT_TRUE(good.writePacket(DtSavePacketBuilder(DtEndPacketType, DtEndPacket::listEndLength)));
  EXPECT_TRUE(good.close());
  EXPECT_FALSE(good.close());  // not open any more
}

// The access mode of this process's open descriptor of the file (-1: none).
int accessModeOf(const std::string& path) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (std::filesystem::read_symlink(entry.path(), error) != std::filesystem::path(path)) continue;
    std::ifstream info("/proc/self/fdinfo/" + entry.path().filename().string());
    std::string key;
    std::string flags;
    while (info >> key >> flags) {
      if (key == "flags:") return static_cast<int>(std::stol(flags, nullptr, 8) & O_ACCMODE);
    }
  }
  return -1;
}

TEST(DtRtiSaveFile, AFileReadBackIsOpenedForReadingOnly) {
  ScratchDirectory dir;
  const std::string path = dir.write("kept.sav", std::string("\0\0\0\x08\0\0\x03\xe6", 8));
  DtRtiSaveFile file(path.c_str(), true);
  ASSERT_TRUE(file.isOk());
  EXPECT_EQ(accessModeOf(path), O_RDONLY);
  ASSERT_NE(file.readNextPacket(), nullptr);
  EXPECT_FALSE(file.writePacket("12345678", 8));
}

TEST(DtSavePackets, TheFederateManagersLabelsMustFillItsRecordExactly) {
  const DtSavePacketBuilder built = DtFedMgrPacket::build(7, {"a", "", "sync 2"}, 3);
  EXPECT_EQ(std::string(built.bytes().data(), built.bytes().size()),
            std::string("\0\0\0\x1e\0\0\0\x01\0\0\0\x07\0\0\0\x03\0\0\0\x03"
                        "a\0\0sync 2\0",
                        30));
  EXPECT_EQ(DtFedMgrPacket::labels(built.packet()), (std::vector<std::string>{"a", "", "sync 2"}));
  struct Case {
    const char* what;
    std::string bytes;
  };
  auto record = [&](std::uint32_t length, std::uint32_t count, const std::string& labels) {
    std::string bytes(8, '\0');
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(length >> (24 - 8 * i));
    bytes[7] = 1;
    bytes += std::string("\0\0\0\x07", 4);
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(count >> (24 - 8 * i));
    bytes += std::string(4, '\0') + labels;
    return bytes;
  };
  const Case cases[] = {
      {"shorter than its fixed part", record(16, 0, "").substr(0, 16)},
      {"a length that is not its size", record(22, 0, "")},
      {"fewer labels than counted", record(24, 3, std::string("ab\0\0", 4))},
      {"a label without its zero", record(23, 1, "abc")},
      {"bytes after the labels", record(24, 1, std::string("a\0bc", 4))},
      {"a huge count", record(20, 0xFFFFFFFF, "")},
  };
  for (const Case& c : cases) {
    const DtSavePacket packet(std::span<const char>(c.bytes.data(), c.bytes.size()));
    EXPECT_FALSE(DtFedMgrPacket::labels(packet)) << c.what;
  }
}

}  // namespace
