// The MOM objects: the Manager.Federate object announced and updated
// anonymously (on request and every period, with an injected clock), the
// Manager.Federation object kept by the federate's own object manager and
// never sent, the attribute texts, the save records written and read back,
// and the check of a FED file for what the objects need.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MomObjectsTestSupport.h"
#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"
#include "mom/DtMomFederatePublisher.h"
#include "mom/DtMomFederateView.h"
#include "mom/DtMomFederationPublisher.h"
#include "mom/DtMomObjectClasses.h"
#include "mom/DtMomSR.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"
#include "save/DtSavePackets.h"

namespace {

using momtest::FakeFederate;
using momtest::MomFederate;

// "h=text" per pair in set order, a NUL shown as "\0".
std::string shownPairs(const RTI::AttributeHandleValuePairSet& set) {
  std::string out;
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    RTI::ULong length = 0;
    const char* value = set.getValuePointer(i, length);
    std::string text;
    for (RTI::ULong k = 0; k < length; ++k) text += value[k] ? std::string(1, value[k]) : std::string("\\0");
    out += (out.empty() ? "" : " ") + std::to_string(set.getHandle(i)) + "=" + text;
  }
  return out;
}

// The text with every "|" made a NUL.
std::string nuls(std::string text) {
  for (char& c : text) {
    if (c == '|') c = '\0';
  }
  return text;
}

DtAttributeHandleSet handles(std::initializer_list<RTI::AttributeHandle> list) {
  DtAttributeHandleSet set;
  for (RTI::AttributeHandle h : list) set.add(h);
  return set;
}

std::string range(RTI::AttributeHandle first, RTI::AttributeHandle last) {
  std::string out;
  for (RTI::AttributeHandle h = first; h <= last; ++h) out += (h == first ? "" : ",") + std::to_string(h);
  return out;
}

// Federate 7 of the MOM test FOM (with a Notes attribute in both MOM
// classes unless a test says otherwise).
class MomObjectsTest : public ::testing::Test {
protected:
  explicit MomObjectsTest(const std::string& fed = momtest::momFedWithNotes())
      : self(7, fed), inspector(self.fom.get(), &federate, self.objects.get(), nullptr, nullptr) {}

  std::unique_ptr<DtMomFederatePublisher> federatePublisher(int period = 0) {
    auto made = std::make_unique<DtMomFederatePublisher>(self.conn.get(), self.fom.get(), self.objects.get(),
                                                         &inspector, 7, period);
    made->setClock([this] { return now; });
    return made;
  }
  std::unique_ptr<DtMomFederationPublisher> federationPublisher() {
    return std::make_unique<DtMomFederationPublisher>(self.conn.get(), self.fom.get(), self.objects.get(), &inspector);
  }
  RTI::ObjectClassHandle classHandle(const char* name) const { return self.fom->classHandle(name); }
  RTI::AttributeHandle attribute(const char* name, const char* cls) const {
    return self.fom->attrHandle(name, classHandle(cls));
  }
  int updatesSent() {
    int count = 0;
    for (const std::string& line : self.conn->takeSent()) count += line.rfind("update ", 0) == 0 ? 1 : 0;
    return count;
  }

  MomFederate self;
  FakeFederate federate;
  DtMomInspector inspector;
  double now = 100.0;
};

TEST_F(MomObjectsTest, TheFederateObjectIsNamedAfterTheFederateAndAnnouncedAnonymously) {
  auto publisher = federatePublisher();
  DtRtiObject* object = publisher->object();
  ASSERT_NE(object, nullptr);
  EXPECT_STREQ(object->objName(), "HLA_Federate7");
  EXPECT_EQ(object->objHandle(), 700001u);
  EXPECT_EQ(self.objects->allObj(700001), object);
  const RTI::AttributeHandle notes = attribute("Notes", "Manager.Federate");
  EXPECT_EQ(objtest::text(publisher->momAttributes()), range(0, 23));
  EXPECT_EQ(objtest::text(object->rtiOwnedAttrs()), range(0, 23));
  EXPECT_EQ(objtest::text(object->lrcManagedAttrs()), std::to_string(notes));
  EXPECT_EQ(self.objects->lrcManagedObj(700001), object);
  EXPECT_EQ(publisher->updateType(), DtAnonymousUpdate);
  EXPECT_TRUE(publisher->isObject(700001));
  EXPECT_FALSE(publisher->isObject(0));
  EXPECT_TRUE(publisher->isClass(classHandle("Manager.Federate")));
  EXPECT_FALSE(publisher->isClass(classHandle("Manager.Federation")));

  publisher->forceRegister();
  EXPECT_EQ(self.conn->takeSent(),
            (std::vector<std::string>{"register 700001 HLA_Federate7 class " +
                                      std::to_string(classHandle("Manager.Federate")) + " {" + range(0, 23) + "}"}));
  publisher.reset();
  EXPECT_EQ(self.conn->takeSent(), (std::vector<std::string>{"delete 700001 "}));
}

TEST_F(MomObjectsTest, RequestedValuesAreTextsInTheReverseOrderWithoutThePrivilegeToDelete) {
  auto publisher = federatePublisher();
  DtMomSR& record = *publisher->record();
  const RTI::AttributeHandle handle = attribute("FederateHandle", "Manager.Federate");
  const RTI::AttributeHandle notes = attribute("Notes", "Manager.Federate");
  const RTI::AttributeHandle state = attribute("FederateState", "Manager.Federate");
  const RTI::AttributeHandle constrained = attribute("TimeConstrained", "Manager.Federate");
  const struct {
    DtAttributeHandleSet requested;
    std::string pairs;
  } cases[] = {
      {handles({handle}), "23=7\\0"},
      {handles({0}), ""},
      {handles({0, handle}), "23=7\\0"},
      {handles({notes}), std::to_string(notes) + "=\\0"},
      {handles({299}), "299=\\0"},
      {handles({state, constrained, handle, notes}), std::to_string(notes) + "=\\0 23=7\\0 5=True\\0 4=Running\\0"},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<RTI::AttributeHandleValuePairSet> pairs = record.forceUpdate(&c.requested);
    EXPECT_EQ(shownPairs(*pairs), c.pairs) << objtest::text(c.requested);
  }
  EXPECT_EQ(record.element(handle), DtMomFederateHandle);
  EXPECT_EQ(record.element(0), DtMomNoElement);
  EXPECT_EQ(record.element(notes), DtMomNoElement);

  publisher->forceUpdate(handles({0, state, handle}));
  EXPECT_EQ(self.conn->takeSent(), (std::vector<std::string>{nuls("update 700001 {23=7|,4=Running|}")}));
  publisher->forceUpdate();
  const std::vector<std::string> all = self.conn->takeSent();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_NE(all[0].find("{23=7"), std::string::npos) << all[0];
  EXPECT_NE(all[0].find(",1=mom.fed"), std::string::npos) << all[0];
  EXPECT_EQ(all[0].find(",0="), std::string::npos) << all[0];
}

TEST_F(MomObjectsTest, PeriodicUpdatesFollowTheInjectedClock) {
  auto publisher = federatePublisher(5);
  publisher->tick();  // the first tick sends at once
  EXPECT_EQ(updatesSent(), 1);
  for (double at : {100.0, 104.9, 105.0}) {
    now = at;
    publisher->tick();
  }
  EXPECT_EQ(updatesSent(), 0) << "within the period";
  now = 105.1;
  publisher->tick();
  publisher->tick();
  EXPECT_EQ(updatesSent(), 1) << "once per period";

  publisher->setTiming(0);
  now = 500;
  publisher->tick();
  EXPECT_EQ(updatesSent(), 0) << "period 0 stops them";
  publisher->setTiming(2);
  publisher->tick();
  EXPECT_EQ(updatesSent(), 0) << "not at the reading setTiming took";
  now = 500.5;
  publisher->tick();
  now = 502.4;
  publisher->tick();
  now = 502.6;
  publisher->tick();
  EXPECT_EQ(updatesSent(), 2);

  auto never = federatePublisher(0);
  self.conn->takeSent();
  now = 1000;
  never->tick();
  EXPECT_EQ(updatesSent(), 0);
  auto negative = federatePublisher(-3);
  EXPECT_EQ(negative->period(), 0u);
}

TEST_F(MomObjectsTest, TheFederationObjectStaysInTheFederate) {
  const RTI::ObjectClassHandle federation = classHandle("Manager.Federation");
  self.objects->subscribe(federation, handles({0, 1, 2}), RTI::RTI_TRUE);
  self.conn->takeSent();
  auto publisher = federationPublisher();
  DtRtiObject* object = publisher->object();
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->objHandle(), 0u);
  EXPECT_STREQ(object->objName(), "HLA_Federation");
  EXPECT_EQ(publisher->updateType(), DtLocalUpdate);
  EXPECT_EQ(objtest::text(object->rtiOwnedAttrs()), range(0, 8));
  EXPECT_EQ(object->lrcManagedAttrs().size(), 0u);

  publisher->forceRegister();
  federate.federation = "Fleet";
  publisher->forceUpdate(handles({1, 2, 5}));
  publisher->forceUpdate();
  EXPECT_EQ(self.conn->takeSent(), std::vector<std::string>{}) << "nothing on the network";
  const std::string reflected = nuls("reflect 0 2=20|,1=Fleet| ");
  EXPECT_EQ(self.amb.take(), (std::vector<std::string>{"discover 0 " + std::to_string(federation) + " HLA_Federation",
                                                       reflected, reflected}));

  publisher->designate();
  const RTI::AttributeHandle notes = attribute("Notes", "Manager.Federation");
  EXPECT_EQ(objtest::text(object->lrcManagedAttrs()), std::to_string(notes));
  EXPECT_EQ(self.objects->lrcManagedObj(static_cast<RTI::ObjectHandle>(0)), object);
  publisher.reset();
  EXPECT_EQ(self.conn->takeSent(), std::vector<std::string>{});
}

class PlainMomObjectsTest : public MomObjectsTest {
protected:
  PlainMomObjectsTest() : MomObjectsTest(momtest::momFedText()) {}
};

TEST_F(PlainMomObjectsTest, WithOnlyMomAttributesNothingGoesToTheLocalComponent) {
  auto federatePub = federatePublisher();
  auto federationPub = federationPublisher();
  federationPub->designate();
  EXPECT_EQ(federatePub->object()->lrcManagedAttrs().size(), 0u);
  EXPECT_EQ(federationPub->object()->lrcManagedAttrs().size(), 0u);
  EXPECT_EQ(self.objects->lrcManagedObjects().count(), 0u);
}

std::string recordOf(const DtMomPublisher& publisher) {
  std::string bytes(publisher.encodedLength(), '\0');
  publisher.encode(bytes.data());
  return bytes;
}

TEST_F(MomObjectsTest, BothSaveRecordsReadBackByteForByte) {
  self.objects->subscribe(classHandle("Manager.Federation"), handles({0, 1}), RTI::RTI_TRUE);
  auto federationPub = federationPublisher();
  auto federatePub = federatePublisher();
  federationPub->forceRegister();
  federationPub->designate();
  const std::string federationRecord = recordOf(*federationPub);
  const std::string federateRecord = recordOf(*federatePub);
  ASSERT_EQ(DtSavePacket(federateRecord).type(), DtObjectPacketType);
  ASSERT_EQ(DtSavePacket(federationRecord).length(), federationRecord.size());

  // Into a federate whose objects are new, and into one whose object
  // manager has unlisted them (as a restore of it does).
  MomFederate other(7, momtest::momFedWithNotes());
  DtMomInspector otherInspector(other.fom.get(), &federate, other.objects.get(), nullptr, nullptr);
  DtMomFederationPublisher federationBack(other.conn.get(), other.fom.get(), other.objects.get(), &otherInspector);
  DtMomFederatePublisher federateBack(other.conn.get(), other.fom.get(), other.objects.get(), &otherInspector, 7, 0);
  for (DtRtiObject* lost : {federateBack.object()}) {
    other.objects->removeLrcManagedObj(lost->objHandle());
    other.objects->removeAllObj(lost->objHandle());
  }
  ASSERT_EQ(other.objects->allObj(700001), nullptr);
  ASSERT_TRUE(federationBack.decode(DtSavePacket(federationRecord)));
  ASSERT_TRUE(federateBack.decode(DtSavePacket(federateRecord)));
  EXPECT_EQ(recordOf(federationBack), federationRecord);
  EXPECT_EQ(recordOf(federateBack), federateRecord);
  EXPECT_EQ(other.objects->knownObj(static_cast<RTI::ObjectHandle>(0)), federationBack.object());
  EXPECT_EQ(other.objects->lrcManagedObj(static_cast<RTI::ObjectHandle>(0)), federationBack.object());
  EXPECT_EQ(other.objects->lrcManagedObj(700001), federateBack.object());
  EXPECT_EQ(other.objects->allObjects().count(), 2u);
}

TEST_F(MomObjectsTest, ARecordThatIsNotTheObjectsChangesNothing) {
  auto federationPub = federationPublisher();
  auto federatePub = federatePublisher();
  const std::string federationRecord = recordOf(*federationPub);
  const std::string federateRecord = recordOf(*federatePub);
  DtRtiObject* before = federatePub->object();
  auto other =
      std::make_unique<DtRtiObject>(4242, "HLA_Federate7x", self.fom->classByHandle(2), self.fom->classByHandle(2));
  const std::string otherHandle = [&] {
    DtRtiObject copy(*federatePub->object());
    copy.setObjHandle(4242);
    std::string bytes(copy.encodedLength(), '\0');
    copy.encode(bytes.data());
    return bytes;
  }();
  self.objects->addAllObj(other.release());
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"cut short", federateRecord.substr(0, federateRecord.size() - 3)},
      {"of the other class", federationRecord},
      {"another object's handle", otherHandle},
      {"empty", std::string()},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(federatePub->decode(DtSavePacket(c.bytes))) << c.what;
    EXPECT_EQ(federatePub->object(), before) << c.what;
    EXPECT_EQ(recordOf(*federatePub), federateRecord) << c.what;
  }
}

TEST(DtMomObjectClasses, TheCheckNamesWhatTheFedFileLacks) {
  const std::string full = momtest::momFedText();
  const struct {
    std::string fed;
    const char* missing;
  } cases[] = {
      {full, ""},
      {momtest::momFedWithNotes(), ""},
      {momtest::edited(full, "(attribute LBTS reliable receive)", ""), "Manager.Federate.LBTS"},
      {momtest::edited(full, "(attribute FederationName reliable receive)", ""), "Manager.Federation.FederationName"},
      {momtest::edited(full, "(attribute RTIversion reliable receive)))", "))"), "Manager.Federation.RTIversion"},
      {momtest::edited(full, "(class Federation", "(class Federations"), "Manager.Federation"},
      {momtest::edited(full, "(class Federate\n", "(class Federates\n"), "Manager.Federate"},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<DtFomClassMgr> fom = fomFromText(c.fed);
    ASSERT_NE(fom, nullptr) << c.missing;
    EXPECT_EQ(DtMomMissingObjectModel(*fom), c.missing);
  }
}

TEST(DtMomObjectClasses, PublishersOverAnUncheckedModelNameWhatIsMissing) {
  MomFederate self(3, momtest::edited(momtest::momFedText(), "(attribute LBTS reliable receive)", ""));
  FakeFederate federate;
  DtMomInspector inspector(self.fom.get(), &federate, self.objects.get(), nullptr, nullptr);
  try {
    DtMomFederatePublisher publisher(self.conn.get(), self.fom.get(), self.objects.get(), &inspector, 3, 0);
    ADD_FAILURE() << "made over a model without LBTS";
  } catch (const RTI::NameNotFound& e) {
    EXPECT_STREQ(e._reason, "LBTS");
  }
  EXPECT_EQ(self.objects->allObjects().count(), 0u) << "nothing is left behind";
}

}  // namespace
