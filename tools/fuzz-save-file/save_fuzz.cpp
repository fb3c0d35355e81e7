// libFuzzer target: any bytes as the two kinds of save file.
//  - As the rtiexec's own file: read whole or refused; a file read is
//    written again and must read back as the same state.
//  - As a federate's file, twice: with and without a time manager. The
//    federate manager's records (its labels and held messages, rebuilt by
//    the message factory), then the class tree, the time manager (in the
//    first reading), the interaction manager (the data distribution form,
//    with its region sets) and the object manager (the data distribution
//    form, with its object region sets) restored from it, each stopping at what it cannot take, never reading
//    outside the file. When every stage took its records, the managers are
//    saved, restored into fresh ones and saved again: both saves must be
//    the same bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "api/DtAttributeHandleSet.h"
#include "config/DtFedReader.h"
#include "core/DtTimeMgr.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtInterDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtPubRegionSet.h"
#include "ddm/DtRegion.h"
#include "ddm/DtSubRegionSet.h"
#include "exec/DtExecSaveFile.h"
#include "msg/DtDfltMsgFactory.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtRegionMsgs.h"
#include "msg/DtRegionSetMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtAttrInfo.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"
#include "save/DtSavedMessages.h"
#include "util/DtNotify.h"
#include "util/DtNotifyHandler.h"

namespace {

class Quiet : public DtNotifyHandler {
public:
  void notify(const char*, int) override {}
};

std::string fedFile;
std::string inputFile;
std::string firstSave;
std::string secondSave;

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, out) != size) std::abort();
  std::fclose(out);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void execFile(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<DtExecSavedState> state = DtExecSaveFile::parse(bytes, nullptr);
  if (!state) return;
  const std::optional<std::string> again = DtExecSaveFile::format(*state, "L", "then\n", nullptr);
  if (!again) __builtin_trap();
  const std::optional<DtExecSavedState> back = DtExecSaveFile::parse(*again, nullptr);
  if (!back || !(*back == *state)) __builtin_trap();
}

// The managers of one federate over one class tree.
struct Managers {
  explicit Managers(bool timed) {
    DtFedReader reader;
    fom = DtFomClassMgr::loadFed(reader, fedFile.c_str(), nullptr, nullptr);
    if (!fom) std::abort();
    if (timed) time = std::make_unique<DtTimeMgr>(&conn, fom.get(), nullptr);
    // The halves' region sets point at the manager's regions: they go
    // first (members end in reverse order).
    auto half = std::make_unique<DtInterDataDistMgr>(&conn, fom.get(), nullptr);
    auto objectHalf = std::make_unique<DtObjectDataDistMgr>(&conn, fom.get(), nullptr);
    ddm = std::make_unique<DtDataDistMgr>(&conn, fom.get(), nullptr, objectHalf.get(), half.get());
    half->setDdmMgr(ddm.get());
    objectHalf->setDdmMgr(ddm.get());
    interactionRegions = half.get();
    interactions = std::move(half);
    objectRegions = objectHalf.get();
    objects = std::move(objectHalf);
  }
  bool restore(DtRtiSaveFile& file) {
    return fom->restore(file) && (!time || time->restoreState(file)) && ddm->restore(file) &&
           interactions->restore(file) && objects->restore(file);
  }
  void save(const std::string& path) const {
    DtRtiSaveFile file(path.c_str(), false);
    if (!fom->save(file) || (time && !time->saveState(file)) || !ddm->save(file) || !interactions->save(file) ||
        !objects->save(file) || !file.close()) {
      std::abort();
    }
  }

  DtConnectionMgr conn;
  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<DtTimeMgr> time;
  std::unique_ptr<DtDataDistMgr> ddm;
  std::unique_ptr<DtInteractionMgr> interactions;
  DtInterDataDistMgr* interactionRegions = nullptr;
  DtObjectDataDistMgr* objectRegions = nullptr;
  std::unique_ptr<DtObjectMgr> objects;
};

// The federate manager's records, as its restore reads them.
bool federateManagerRecords(DtRtiSaveFile& file) {
  const DtSavePacket* record = file.readNextPacket();
  if (!record || record->type() != DtFedMgrPacket::theType || !DtFedMgrPacket::labels(*record)) return false;
  static DtDfltMsgFactory factory;
  const std::uint32_t messages = record->u32(DtFedMgrPacket::messageCountAt);
  for (std::uint32_t k = 0; k < messages; ++k) {
    std::unique_ptr<DtRtiMsg> msg;
    if (DtReadSavedMessage(file, factory, 1, &msg) == DtSavedMessageRead::NotSaved) return false;
  }
  return true;
}

void federateFile(const std::uint8_t* data, std::size_t size, bool timed) {
  writeFile(inputFile, data, size);
  Managers first(timed);
  {
    DtRtiSaveFile file(inputFile.c_str(), true);
    if (!file.isOk()) std::abort();
    if (!federateManagerRecords(file) || !first.restore(file)) return;
  }
  first.save(firstSave);
  Managers second(timed);
  {
    DtRtiSaveFile file(firstSave.c_str(), true);
    if (!second.restore(file)) __builtin_trap();
  }
  second.save(secondSave);
  if (readFile(firstSave) != readFile(secondSave)) __builtin_trap();
}

// Object region sets of every kind: a publication set with an object's
// attribute, a subscription set, a passive one, and another federate's
// publication set (with an association) and subscription set.
void seedObjectRegionSets(Managers& seed, DtRegion& region) {
  DtObjectDataDistMgr& objects = *seed.objectRegions;
  DtObjectClassInfo& ship = *seed.fom->classByHandle(seed.fom->classHandle("Ship"));
  DtAttributeHandleSet position;
  position.add(1);
  DtPubRegionSet* pub = objects.addPubRegion(region, nullptr);
  DtRtiObject& one = *objects.ownedObj("one");
  pub->addAttributes(one.objHandle(), one.objName(), &ship, position);
  one.setRegionSet(1, pub);
  objects.addPendingAssocPubRegAdd(*pub, one, 1);
  objects.processPendingAssocPubReg();
  DtSubRegionSet* sub = objects.addSubRegion(region, nullptr);
  sub->addAttributes(&ship, position);
  ship.attrByHandle(1)->setSubRegionSet(sub);
  objects.addPendingAssocSubRegAdd(*sub, ship, 1);
  objects.processPendingSubRegAssoc();
  DtSubRegionSet* passive = objects.addPasRegion(region, nullptr);
  DtAttributeHandleSet name;
  name.add(2);
  passive->addAttributes(&ship, name);
  ship.attrByHandle(2)->setPasRegionSet(passive);
  objects.addPendingAssocPasRegAdd(*passive, ship, 2);
  objects.processPendingPasRegAssoc();
  const std::uint32_t theirRegions[] = {700001, 0};
  DtObjRegSetMsg theirPub(DtObjPubRegionSet, 700004, 0xE000000A, theirRegions);
  theirPub.setFederateHandle(7);
  seed.conn.processMsg(theirPub);
  DtObjRegSetMsg theirSub(DtObjSubRegionSet, 700005, 0, theirRegions);
  theirSub.setFederateHandle(7);
  seed.conn.processMsg(theirSub);
  DtAssocPubRegMsg theirObject(700004, 700001, "theirs", ship.handle(), 0, position);
  theirObject.setFederateHandle(7);
  seed.conn.processMsg(theirObject);
  DtAssocSubRegMsg theirSubscription(700005, ship.handle(), position);
  theirSubscription.setFederateHandle(7);
  seed.conn.processMsg(theirSubscription);
}

// Seeds in the work corpus: a federate's file with every kind of record and
// an rtiexec's file with federates, synchronization points and times.
void writeSeed(bool timed) {
  Managers seed(timed);
  DtAttributeHandleSet attributes;
  for (RTI::AttributeHandle a : {0u, 1u, 2u}) attributes.add(a);
  const RTI::ObjectClassHandle ship = seed.fom->classHandle("Ship");
  seed.objects->publish(ship, attributes);
  seed.objects->subscribe(ship, attributes, RTI::RTI_TRUE);
  seed.objects->registerObj(ship, "one");
  seed.objects->registerObj(ship, "two");
  seed.interactions->subscribe(seed.fom->interactionHandle("Horn"), RTI::RTI_TRUE);
  DtRegion* region = seed.ddm->createRegion(1, 1);
  region->setRangeLowerBound(0, 0, 1);
  region->setRangeUpperBound(0, 0, 2);
  region->setRangeLowerBound(0, 1, 3);
  region->setRangeUpperBound(0, 1, 4);
  seed.ddm->notifyAboutRegionModification(*region);
  seed.ddm->createRegion(1, 2);
  DtNotifyRegMsg remote(700001, 1);
  const std::uint32_t bounds[] = {5, 6, 7, 8};
  remote.setExtents(1, 2, bounds);
  remote.setFederateHandle(7);
  seed.ddm->processNotifyRegion(remote);
  // Region sets of every kind the interaction half saves.
  const RTI::InteractionClassHandle horn = seed.fom->interactionHandle("Horn");
  seed.interactions->subscribeInteractionClassWithRegion(horn, *region, RTI::RTI_TRUE);
  seed.interactions->subscribeInteractionClassWithRegion(horn, seed.ddm->defaultRegion(), RTI::RTI_TRUE);
  seed.interactions->subscribeInteractionClassWithRegion(horn, seed.ddm->defaultRegion(), RTI::RTI_FALSE);
  const std::uint32_t remoteRegions[] = {700001, 700009};
  DtInterRegSetMsg pub(DtInterPubRegionSet, 700002, horn, 0xE0000009, remoteRegions);
  pub.setFederateHandle(7);
  seed.interactionRegions->processRegionSet(pub);
  DtInterRegSetMsg sub(DtInterSubRegionSet, 700003, horn, 0, remoteRegions);
  sub.setFederateHandle(7);
  seed.interactionRegions->processRegionSet(sub);
  seedObjectRegionSets(seed, *region);
  seed.ddm->joinInteractionRegionSet(seed.ddm->freeChannel(), horn, 2);
  seed.ddm->joinObjectRegionSet(seed.ddm->freeChannel(), 2);
  seed.ddm->joinObjectRegionSet(0, 3);
  seed.save(firstSave);
  DtResignMsg held("F", 4, RTI::DELETE_OBJECTS, nullptr);
  const DtSavePacketBuilder own = DtFedMgrPacket::build(3, {"sync"}, 1);
  const DtSavePacketBuilder message = DtSavedMessagePacket::build(held.data(), static_cast<std::uint32_t>(held.size()));
  std::string federate(own.bytes().data(), own.bytes().size());
  federate += std::string(message.bytes().data(), message.bytes().size()) + readFile(firstSave);
  const std::string name = timed ? "corpus/seed-federate-timed" : "corpus/seed-federate";
  writeFile(name, reinterpret_cast<const std::uint8_t*>(federate.data()), federate.size());
}

void writeSeeds() {
  writeSeed(false);
  writeSeed(true);

  DtExecSavedState state;
  state.executionName = "F";
  state.fedFile = "F.fed";
  state.federates = {{1, 11, "A", {{false, "s", "t"}}}, {2, 12, "B b", {}}};
  state.syncPoints = {{"s", "t", {1, 2}}};
  state.cycleMinNerLbts = std::string(8, '\0');
  state.timeRecords = {{1, 1, 1, 0, 0, std::string(8, '\0'), "", "", ""}};
  state.timeLists[0] = {1};
  const std::string exec = *DtExecSaveFile::format(state, "L", "now\n", nullptr);
  writeFile("corpus/seed-exec", reinterpret_cast<const std::uint8_t*>(exec.data()), exec.size());
}

std::string scratch(const char* pattern) {
  std::string path = pattern;
  const int fd = mkstemp(path.data());
  if (fd < 0) std::abort();
  close(fd);
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  DtSetNotifyHandler(new Quiet);
  fedFile = scratch("/tmp/save-fuzz-fed-XXXXXX");
  const char* fed =
      "(FED (Federation F) (FEDversion v1.3) (spaces (space Geo (dimension X) (dimension Y)))"
      " (objects (class ObjectRoot"
      " (attribute privilegeToDelete reliable receive) (class RTIprivate)"
      " (class Ship (attribute Position best_effort receive) (attribute Name reliable timestamp)"
      " (class Boat (attribute Sail best_effort receive)))))"
      " (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive)"
      " (class Horn reliable receive Geo (parameter Loudness)))))\n";
  writeFile(fedFile, reinterpret_cast<const std::uint8_t*>(fed), std::strlen(fed));
  inputFile = scratch("/tmp/save-fuzz-in-XXXXXX");
  firstSave = scratch("/tmp/save-fuzz-1-XXXXXX");
  secondSave = scratch("/tmp/save-fuzz-2-XXXXXX");
  if (access("corpus", W_OK) == 0) writeSeeds();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  execFile(data, size);
  federateFile(data, size, false);
  federateFile(data, size, true);
  return 0;
}
