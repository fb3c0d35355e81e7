// The callback printer: the line (and set) it prints for each of the 42
// callbacks, against a small FOM and an object manager that knows one
// object; that every callback goes on to the federate, with or without the
// FOM and the object manager; and that the federate manager files it only
// above notify level 3.
#include "core/DtFedAmbPrinter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "FederateMgrTestSupport.h"
#include "api/DtFedAmbCallbackTable.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "rti/util/NotifyCapture.h"

namespace {

// Object classes: ObjectRoot 0, RTIprivate 1, Platform 3 (Position 1, Speed
// 2), Platform.Aircraft 4 (Altitude 3). Interaction classes:
// InteractionRoot 0, RTIprivate 1, Radio 4 (Frequency 0, Power 1).
const char* const printerFed = R"((FED (Federation Printer) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)
    (class Platform (attribute Position best_effort receive) (attribute Speed best_effort receive)
      (class Aircraft (attribute Altitude best_effort receive)))))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive)
    (class Radio best_effort receive (parameter Frequency) (parameter Power)))))
)";

// Writes down the name of every callback it receives.
class NamingFedAmb : public RTI::FederateAmbassador {
public:
#define QLX_NAME_CALLBACK(name, ...) \
  void name(DT_RTI_TYPES(__VA_ARGS__)) override { received.push_back(#name); }
  DT_FED_AMB_CALLBACKS(QLX_NAME_CALLBACK)
#undef QLX_NAME_CALLBACK

  std::vector<std::string> received;
};

// The arguments the table's callbacks are made with.
struct Arguments {
  Arguments() : values(4), parameters(4) {
    values.add(1, "ab", 2);
    values.add(3, "c", 1);
    parameters.add(1, "x", 1);
    attributes.add(2);
    attributes.add(3);
  }
  DtAttrValueSet values;
  DtParamValueSet parameters;
  DtAttributeHandleSet attributes;
  RTIfedTime time{2.5};
  RTI::EventRetractionHandle retraction{5, 7};
};

struct Row {
  const char* callback;
  // What the callback needs to be printed: "" nothing, "fom" or "objMgr".
  const char* needs;
  std::function<void(RTI::FederateAmbassador&, const Arguments&)> call;
  std::string printed;  // at notify level 4
};

// Object 12, "obj12", of class Platform.Aircraft, known as a Platform;
// object 99 is unknown. The sets are named by the actual class.
const std::string valueNames = "\t0: Position (1)\n\t1: Altitude (3)\n";
const std::string setNames = "NumHandles:          2\n\t0: Speed (2)\n\t1: Altitude (3)\n";

std::vector<Row> rows() {
  using Amb = RTI::FederateAmbassador;
  using Args = const Arguments;
  return {
      {"synchronizationPointRegistrationSucceeded", "",
       [](Amb& f, Args&) { f.synchronizationPointRegistrationSucceeded("L1"); },
       "FedAmb=>synchronizationPointRegistrationSucceeded: L1\n"},
      {"synchronizationPointRegistrationFailed", "",
       [](Amb& f, Args&) { f.synchronizationPointRegistrationFailed("L1"); },
       "FedAmb=>synchronizationPointRegistrationFailed: L1\n"},
      {"announceSynchronizationPoint", "", [](Amb& f, Args&) { f.announceSynchronizationPoint("L1", "t"); },
       "FedAmb=>announceSynchronizationPoint: L1 t\n"},
      {"federationSynchronized", "", [](Amb& f, Args&) { f.federationSynchronized("L1"); },
       "FedAmb=>federationSynchronized: L1\n"},
      {"initiateFederateSave", "", [](Amb& f, Args&) { f.initiateFederateSave("S1"); },
       "FedAmb=>initiateFederateSave: S1\n"},
      {"federationSaved", "", [](Amb& f, Args&) { f.federationSaved(); }, "FedAmb=>federationSaved\n"},
      {"federationNotSaved", "", [](Amb& f, Args&) { f.federationNotSaved(); }, "FedAmb=>federationNotSaved\n"},
      {"requestFederationRestoreSucceeded", "", [](Amb& f, Args&) { f.requestFederationRestoreSucceeded("S1"); },
       "FedAmb=>requestFederationRestoreSucceeded: S1\n"},
      {"requestFederationRestoreFailed", "", [](Amb& f, Args&) { f.requestFederationRestoreFailed("S1", "gone"); },
       "FedAmb=>requestFederationRestoreFailed: S1 gone\n"},
      {"federationRestoreBegun", "", [](Amb& f, Args&) { f.federationRestoreBegun(); },
       "FedAmb=>federationRestoreBegun\n"},
      {"initiateFederateRestore", "", [](Amb& f, Args&) { f.initiateFederateRestore("S1", 7); },
       "FedAmb=>initiateFederateRestore: S1 7\n"},
      {"federationRestored", "", [](Amb& f, Args&) { f.federationRestored(); }, "FedAmb=>federationRestored\n"},
      {"federationNotRestored", "", [](Amb& f, Args&) { f.federationNotRestored(); },
       "FedAmb=>federationNotRestored\n"},
      {"startRegistrationForObjectClass", "fom", [](Amb& f, Args&) { f.startRegistrationForObjectClass(4); },
       "FedAmb=>startRegistrationForObjectClass: ObjectRoot.Platform.Aircraft (4)\n"},
      {"stopRegistrationForObjectClass", "fom", [](Amb& f, Args&) { f.stopRegistrationForObjectClass(3); },
       "FedAmb=>stopRegistrationForObjectClass: ObjectRoot.Platform (3)\n"},
      {"turnInteractionsOn", "fom", [](Amb& f, Args&) { f.turnInteractionsOn(4); },
       "FedAmb=>turnInteractionsOn: InteractionRoot.Radio (4)\n"},
      {"turnInteractionsOff", "fom", [](Amb& f, Args&) { f.turnInteractionsOff(4); },
       "FedAmb=>turnInteractionsOff: InteractionRoot.Radio (4)\n"},
      {"discoverObjectInstance", "fom", [](Amb& f, Args&) { f.discoverObjectInstance(12, 3, "obj12"); },
       "FedAmb=>discoverObjectInstance: obj12 (12) of class ObjectRoot.Platform (3)\n"},
      {"reflectAttributeValues", "objMgr", [](Amb& f, Args& a) { f.reflectAttributeValues(12, a.values, "t"); },
       "FedAmb=>reflectAttributeValues: obj12 (12) t\n" + valueNames},
      {"reflectAttributeValues", "objMgr",
       [](Amb& f, Args& a) { f.reflectAttributeValues(12, a.values, a.time, "t", a.retraction); },
       "FedAmb=>reflectAttributeValues: obj12 (12) 2.5 t {5, 7}\n" + valueNames},
      {"receiveInteraction", "fom", [](Amb& f, Args& a) { f.receiveInteraction(4, a.parameters, "t"); },
       "FedAmb=>receiveInteraction: InteractionRoot.Radio (4) t\n\t0: Power (1)\n"},
      {"receiveInteraction", "fom",
       [](Amb& f, Args& a) { f.receiveInteraction(4, a.parameters, a.time, "t", a.retraction); },
       "FedAmb=>receiveInteraction: InteractionRoot.Radio (4) 2.5 t {5, 7}\n\t0: Power (1)\n"},
      {"removeObjectInstance", "objMgr", [](Amb& f, Args&) { f.removeObjectInstance(12, "t"); },
       "FedAmb=>removeObjectInstance: obj12 (12) t\n"},
      {"removeObjectInstance", "objMgr", [](Amb& f, Args& a) { f.removeObjectInstance(12, a.time, "t", a.retraction); },
       "FedAmb=>removeObjectInstance: obj12 (12) 2.5 t {5, 7}\n"},
      {"attributesInScope", "objMgr", [](Amb& f, Args& a) { f.attributesInScope(12, a.attributes); },
       "FedAmb=>attributesInScope: obj12 (12)\n" + setNames},
      {"attributesOutOfScope", "objMgr", [](Amb& f, Args& a) { f.attributesOutOfScope(12, a.attributes); },
       "FedAmb=>attributesOutOfScope: obj12 (12)\n" + setNames},
      {"provideAttributeValueUpdate", "objMgr",
       [](Amb& f, Args& a) { f.provideAttributeValueUpdate(12, a.attributes); },
       "FedAmb=>provideAttributeValueUpdate: obj12 (12)\n" + setNames},
      {"turnUpdatesOnForObjectInstance", "objMgr",
       [](Amb& f, Args& a) { f.turnUpdatesOnForObjectInstance(12, a.attributes); },
       "FedAmb=>turnUpdatesOnForObjectInstance: obj12 (12)\n" + setNames},
      {"turnUpdatesOffForObjectInstance", "objMgr",
       [](Amb& f, Args& a) { f.turnUpdatesOffForObjectInstance(12, a.attributes); },
       "FedAmb=>turnUpdatesOffForObjectInstance: obj12 (12)\n" + setNames},
      {"requestAttributeOwnershipAssumption", "objMgr",
       [](Amb& f, Args& a) { f.requestAttributeOwnershipAssumption(12, a.attributes, "t"); },
       "FedAmb=>requestAttributeOwnershipAssumption: obj12 (12) t\n" + setNames},
      {"attributeOwnershipDivestitureNotification", "objMgr",
       [](Amb& f, Args& a) { f.attributeOwnershipDivestitureNotification(12, a.attributes); },
       "FedAmb=>attributeOwnershipDivestitureNotification: obj12 (12)\n" + setNames},
      {"attributeOwnershipAcquisitionNotification", "objMgr",
       [](Amb& f, Args& a) { f.attributeOwnershipAcquisitionNotification(12, a.attributes); },
       "FedAmb=>attributeOwnershipAcquisitionNotification: obj12 (12)\n" + setNames},
      {"attributeOwnershipUnavailable", "objMgr",
       [](Amb& f, Args& a) { f.attributeOwnershipUnavailable(12, a.attributes); },
       "FedAmb=>attributeOwnershipUnavailable: obj12 (12)\n" + setNames},
      {"requestAttributeOwnershipRelease", "objMgr",
       [](Amb& f, Args& a) { f.requestAttributeOwnershipRelease(12, a.attributes, "t"); },
       "FedAmb=>requestAttributeOwnershipRelease: obj12 (12) t\n" + setNames},
      {"confirmAttributeOwnershipAcquisitionCancellation", "objMgr",
       [](Amb& f, Args& a) { f.confirmAttributeOwnershipAcquisitionCancellation(12, a.attributes); },
       "FedAmb=>confirmAttributeOwnershipAcquisitionCancellation: obj12 (12)\n" + setNames},
      {"informAttributeOwnership", "objMgr", [](Amb& f, Args&) { f.informAttributeOwnership(12, 2, 7); },
       "FedAmb=>informAttributeOwnership: obj12 (12) Speed (2) 7\n"},
      {"attributeIsNotOwned", "objMgr", [](Amb& f, Args&) { f.attributeIsNotOwned(12, 3); },
       "FedAmb=>attributeIsNotOwned: obj12 (12) Altitude (3)\n"},
      {"attributeOwnedByRTI", "objMgr", [](Amb& f, Args&) { f.attributeOwnedByRTI(12, 1); },
       "FedAmb=>attributeOwnedByRTI: obj12 (12) Position (1)\n"},
      {"timeRegulationEnabled", "", [](Amb& f, Args& a) { f.timeRegulationEnabled(a.time); },
       "FedAmb=>timeRegulationEnabled: 2.5\n"},
      {"timeConstrainedEnabled", "", [](Amb& f, Args& a) { f.timeConstrainedEnabled(a.time); },
       "FedAmb=>timeConstrainedEnabled: 2.5\n"},
      {"timeAdvanceGrant", "", [](Amb& f, Args& a) { f.timeAdvanceGrant(a.time); }, "FedAmb=>timeAdvanceGrant: 2.5\n"},
      {"requestRetraction", "", [](Amb& f, Args& a) { f.requestRetraction(a.retraction); },
       "FedAmb=>requestRetraction: 5\n"},
  };
}

class PrinterTest : public ::testing::Test {
protected:
  PrinterTest() : fedMgr(params.get()), printer(&fedMgr) {
    printer.setFedAmb(&federate);
    const ScratchDirectory dir;
    EXPECT_TRUE(fedMgr.readFom(dir.write("printer.fed", printerFed).c_str()));
    fedMgr.objMgrSlot() = std::make_unique<DtObjectMgr>(nullptr, fedMgr.fom(), params.get());
    auto* object = new DtRtiObject(12, "obj12", fedMgr.fom()->classByHandle(4), fedMgr.fom()->classByHandle(3));
    fedMgr.objMgr()->addAllObj(object);
    fedMgr.objMgr()->addKnownObj(object);
  }

  ~PrinterTest() override {
    // The object manager goes before the FOM it refers to.
    fedMgr.objMgrSlot().reset();
  }

  // What each callback of the table printed, in the table's order.
  std::vector<std::string> printEveryCallback() {
    std::vector<std::string> printed;
    for (const Row& row : rows()) {
      capture.clear();
      row.call(printer, arguments);
      printed.push_back(capture.text());
    }
    return printed;
  }
  static std::vector<std::string> callbackNames() {
    std::vector<std::string> names;
    for (const Row& row : rows()) names.push_back(row.callback);
    return names;
  }

  RidScope rid;
  std::unique_ptr<DtRIDParameters> params = std::make_unique<DtRIDParameters>();
  NotifyCapture capture{4};
  FakeFederateMgr fedMgr;
  NamingFedAmb federate;
  DtFedAmbPrinter printer;
  Arguments arguments;
};

TEST_F(PrinterTest, EveryCallbackIsPrintedWithItsNamesThenForwarded) {
  ASSERT_EQ(rows().size(), DtFedAmbCallbackCount);
  const std::vector<std::string> printed = printEveryCallback();
  const std::vector<Row> table = rows();
  for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(printed[i], table[i].printed) << table[i].callback;
  EXPECT_EQ(federate.received, callbackNames());
}

TEST_F(PrinterTest, TheLinesAndSetsPrintFromLevelThreeAndEveryCallbackGoesOnAtAnyLevel) {
  DtSetNotifyLevel(3);
  const std::vector<std::string> atThree = printEveryCallback();
  DtSetNotifyLevel(2);
  const std::vector<std::string> atTwo = printEveryCallback();
  const std::vector<Row> table = rows();
  for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(atThree[i], table[i].printed) << table[i].callback;
  EXPECT_EQ(atTwo, std::vector<std::string>(DtFedAmbCallbackCount));
  EXPECT_EQ(federate.received.size(), 2 * DtFedAmbCallbackCount);
}

TEST_F(PrinterTest, WithoutTheFomOrTheObjectManagerTheCallbackGoesOnUnprinted) {
  const std::vector<Row> table = rows();
  struct Case {
    const char* missing;
    std::function<void()> take;
  };
  for (const Case& c :
       {Case{"objMgr", [this] { fedMgr.objMgrSlot().reset(); }}, Case{"fom", [this] { fedMgr.fomSlot().reset(); }}}) {
    SCOPED_TRACE(c.missing);
    c.take();
    federate.received.clear();
    const std::vector<std::string> printed = printEveryCallback();
    for (std::size_t i = 0; i < table.size(); ++i) {
      // Without the FOM the object manager is gone too (it was taken first).
      const bool unprintable = std::string(table[i].needs) == c.missing ||
                               (std::string(c.missing) == "fom" && std::string(table[i].needs) == "objMgr");
      EXPECT_EQ(printed[i], unprintable ? "" : table[i].printed) << table[i].callback;
    }
    EXPECT_EQ(federate.received, callbackNames());
  }
}

TEST_F(PrinterTest, AnUnknownObjectOrClassIsNamedNull) {
  capture.clear();
  printer.reflectAttributeValues(99, arguments.values, "t");
  printer.attributeIsNotOwned(99, 3);
  printer.discoverObjectInstance(99, 42, nullptr);
  printer.turnInteractionsOn(42);
  EXPECT_EQ(capture.text(),
            "FedAmb=>reflectAttributeValues: (null) (99) t\n\t0: (null) (1)\n\t1: (null) (3)\n"
            "FedAmb=>attributeIsNotOwned: (null) (99) (null) (3)\n"
            "FedAmb=>discoverObjectInstance: (null) (99) of class (null) (42)\n"
            "FedAmb=>turnInteractionsOn: (null) (42)\n");
  EXPECT_EQ(federate.received, (std::vector<std::string>{"reflectAttributeValues", "attributeIsNotOwned",
                                                         "discoverObjectInstance", "turnInteractionsOn"}));
}

TEST_F(PrinterTest, WithoutANextAmbassadorNothingIsPrintedOrForwarded) {
  printer.setFedAmb(nullptr);
  EXPECT_EQ(printEveryCallback(), std::vector<std::string>(DtFedAmbCallbackCount));
  EXPECT_TRUE(federate.received.empty());
}

TEST(PrinterWithoutFederateMgr, SaysSoAndPrintsWhatNeedsNoManager) {
  NotifyCapture capture(4);
  DtFedAmbPrinter printer(nullptr);
  EXPECT_EQ(capture.text(), "FedAmb Printer instantiated with NULL federate manager\n");
  NamingFedAmb federate;
  printer.setFedAmb(&federate);
  capture.clear();
  printer.federationSaved();
  printer.startRegistrationForObjectClass(3);
  EXPECT_EQ(capture.text(), "FedAmb=>federationSaved\n");
  EXPECT_EQ(federate.received, (std::vector<std::string>{"federationSaved", "startRegistrationForObjectClass"}));
}

// A federate manager over a connection manager of its own; its chain shows
// whether the printer was filed.
class ConnectedFederateMgr : public DtSimpleFederateMgr {
public:
  ConnectedFederateMgr(DtRIDParameters* params, ManagerLog& log)
      : DtSimpleFederateMgr(params, std::make_unique<RecordingConnectionMgr>(log)) {}
};

TEST(PrinterInstallation, TheFederateManagerFilesThePrinterOnlyAboveLevelThree) {
  RidScope rid;
  DtRIDParameters params;
  ManagerLog log;
  NamingFedAmb federate;
  for (const int level : {3, 4}) {
    SCOPED_TRACE(level);
    NotifyCapture capture(level);
    ConnectedFederateMgr fedMgr(&params, log);
    fedMgr.connectMgr()->connectFederation(&federate, DtString("Fx"), 7, 1);
    RTI::FederateAmbassador* first = fedMgr.connectMgr()->fedAmb();
    auto* printer = dynamic_cast<DtFedAmbPrinter*>(first);
    if (level == 3) {
      EXPECT_EQ(first, &federate);
      continue;
    }
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->fedAmb(), &federate);
    capture.clear();
    first->timeAdvanceGrant(RTIfedTime(1.0));
    EXPECT_EQ(capture.text(), "FedAmb=>timeAdvanceGrant: 1\n");
    EXPECT_EQ(fedMgr.connectMgr()->removeFedAmbWrapper("Printer").get(), printer) << "filed as \"Printer\"";
  }
}

}  // namespace
