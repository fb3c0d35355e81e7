// The implementor's federation, declaration, object and ownership services,
// one table per family: the checks each service runs and how each refuses
// it, the level-3 trace, what it hands over with which arguments, and its
// result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ServiceFamilyFixture.h"
#include "config/DtRIDParameters.h"

namespace {

class ServiceFamilies : public ServiceFamilyFixture {
protected:
  // The checks of these families, in the order they run.
  std::vector<ServiceCheck> checks() const { return {joined(), save(), timeStamp()}; }
};

constexpr unsigned J = 1, S = 2, T = 4;

// How the arguments print in traces: the attribute set {1}, the value set
// {1: "v"}, the parameter set {0: "p"}, the time 1.5.
const std::string attributeSet = "NumHandles:          1\n 1\n\n";
const std::string valueSet = "NumValues:           1\nHandle:              1\nBytes:               1\n 76\n";
const std::string parameterSet = "NumValues:           1\nHandle:              0\nBytes:               1\n 70\n";
const std::string printedTime = "1.5";

std::string header(const char* service) { return std::string("RTI=>") + service + ":\n"; }

TEST_F(ServiceFamilies, FederationManagement) {
  // clang-format off
  const std::vector<ServiceRow> rows = {
      {"createFederationExecution", QLX_SERVICE(rti.createFederationExecution("Fx", "fx.fed")), 0,
       header("createFederationExecution") + "RTI=>\tFx fx.fed\n", {"create(Fx,fx.fed)"}, ""},
      {"destroyFederationExecution", QLX_SERVICE(rti.destroyFederationExecution("Fx")), 0,
       header("destroyFederationExecution") + "RTI=>\tFx\n", {"destroy(Fx)"}, ""},
      {"joinFederationExecution", QLX_SERVICE(rti.joinFederationExecution("F2", "Fy", &arg.federateAmbassador)), 0,
       header("joinFederationExecution") + "RTI=>\tF2 Fy\n", {"join(F2,Fy)"}, "7"},
      {"resignFederationExecution", QLX_SERVICE(rti.resignFederationExecution(RTI::DELETE_OBJECTS)), J,
       header("resignFederationExecution") + "RTI=>\t2\n", {"resign(2)"}, ""},
      {"registerFederationSynchronizationPoint",
       QLX_SERVICE(rti.registerFederationSynchronizationPoint("P1", "tag", arg.federates)), J | S,
       header("registerFederationSynchronizationPoint") + "RTI=>\tP1 tag\nRTI=>Federate List:\nRTI=>\t3, \n",
       {"testSaveProgress", "registerSync(P1,tag,{3})"}, ""},
      {"registerFederationSynchronizationPoint", QLX_SERVICE(rti.registerFederationSynchronizationPoint("P1", "tag")),
       J | S, header("registerFederationSynchronizationPoint") + "RTI=>\tP1 tag\n",
       {"testSaveProgress", "registerSync(P1,tag)"}, ""},
      {"synchronizationPointAchieved", QLX_SERVICE(rti.synchronizationPointAchieved("P1")), J | S,
       header("synchronizationPointAchieved") + "RTI=>\tP1\n", {"testSaveProgress", "syncAchieved(P1)"}, ""},
      {"requestFederationSave", QLX_SERVICE(rti.requestFederationSave("S1")), J | S,
       header("requestFederationSave") + "RTI=>\tS1\n", {"testSaveProgress", "save(S1,null)"}, ""},
      {"requestFederationSave", QLX_SERVICE(rti.requestFederationSave("S1", arg.time)), J | S | T,
       header("requestFederationSave") + "RTI=>\tS1 at time " + printedTime + "\n",
       {"testSaveProgress", "isValidTimeStamp(1.5)", "save(S1,1.5)"}, ""},
      {"requestFederationRestore", QLX_SERVICE(rti.requestFederationRestore("S1")), J | S,
       header("requestFederationRestore"), {"testSaveProgress", "restore(S1)"}, ""},
  };
  // clang-format on
  checkRows(rows, checks());

  // Joined already: refused before anything is handed over.
  fed->join();
  const ServiceOutcome again = run(rows[2], 1);
  EXPECT_EQ(again.thrown, "FederateAlreadyExecutionMember: ");
  EXPECT_TRUE(again.handedOver.empty());
}

// The answers to a save or restore run no save and restore test: they ask
// the federate manager's save state first, then its restore state.
TEST_F(ServiceFamilies, SaveAndRestoreAnswersCheckTheSaveStateFirst) {
  // clang-format off
  const std::vector<ServiceRow> saveAnswers = {
      {"federateSaveBegun", QLX_SERVICE(rti.federateSaveBegun()), 0, "", {"saveBegun"}, ""},
      {"federateSaveComplete", QLX_SERVICE(rti.federateSaveComplete()), 0, "", {"saveComplete"}, ""},
      {"federateSaveNotComplete", QLX_SERVICE(rti.federateSaveNotComplete()), 0, "", {"saveNotComplete"}, ""},
  };
  // clang-format on
  // clang-format off
  const std::vector<ServiceRow> restoreAnswers = {
      {"federateRestoreComplete", QLX_SERVICE(rti.federateRestoreComplete()), 0, "", {"restoreComplete"}, ""},
      {"federateRestoreNotComplete", QLX_SERVICE(rti.federateRestoreNotComplete()), 0, "", {"restoreNotComplete"}, ""},
  };
  // clang-format on
  const struct {
    bool saveInitiated, restoreInitiated;
    const char* save;     // what the save answers throw; null: accepted
    const char* restore;  // what the restore answers throw
  } states[] = {
      {false, false, "SaveNotInitiated: No save initiated\n", "RestoreNotRequested: No Current restore\n"},
      {false, true, "SaveNotInitiated: No save initiated\n", nullptr},
      {true, false, nullptr, "SaveInProgress: Can't restore during save\n"},
      {true, true, "RestoreInProgress: Cannot save during restore\n", "SaveInProgress: Can't restore during save\n"},
  };
  fed->saveInProgress = true;  // not asked
  for (const auto& state : states) {
    fed->setSaveState(state.saveInitiated, state.restoreInitiated);
    for (const auto& [answers, thrown] :
         {std::pair{&saveAnswers, state.save}, std::pair{&restoreAnswers, state.restore}}) {
      for (const ServiceRow& row : *answers) {
        SCOPED_TRACE(std::string(row.service) + (state.saveInitiated ? " saving" : "") +
                     (state.restoreInitiated ? " restoring" : ""));
        const ServiceOutcome outcome = run(row, 3);
        EXPECT_EQ(outcome.thrown, thrown ? thrown : "");
        EXPECT_EQ(outcome.handedOver, thrown ? std::vector<std::string>{} : row.handedOver);
        EXPECT_EQ(outcome.printed, header(row.service));
      }
    }
  }
  fed->leave();
  for (const ServiceRow& row : saveAnswers) {
    EXPECT_EQ(run(row, 1).thrown, std::string("FederateNotExecutionMember: Unable to process ") + row.service + ".");
  }
}

TEST_F(ServiceFamilies, DeclarationManagement) {
  const std::string sample = "RTI=>\tObjectRoot.Sample(3)";
  const std::string message = "RTI=>\tInteractionRoot.Message(4)";
  // clang-format off
  const std::vector<ServiceRow> rows = {
      {"publishObjectClass", QLX_SERVICE(rti.publishObjectClass(3, arg.attributes)), J | S,
       header("publishObjectClass") + sample + "\n" + attributeSet, {"testSaveProgress", "publish(3,{1})"}, ""},
      {"unpublishObjectClass", QLX_SERVICE(rti.unpublishObjectClass(3)), J | S,
       header("unpublishObjectClass") + sample + "\n", {"testSaveProgress", "unpublish(3)"}, ""},
      {"publishInteractionClass", QLX_SERVICE(rti.publishInteractionClass(4)), J | S,
       header("publishInteractionClass") + message + "\n", {"testSaveProgress", "publish(4)"}, ""},
      {"unpublishInteractionClass", QLX_SERVICE(rti.unpublishInteractionClass(4)), J | S,
       header("unpublishInteractionClass") + message + "\n", {"testSaveProgress", "unpublish(4)"}, ""},
      {"subscribeObjectClassAttributes", QLX_SERVICE(rti.subscribeObjectClassAttributes(3, arg.attributes, RTI::RTI_TRUE)),
       J | S, header("subscribeObjectClassAttributes") + sample + " active\n" + attributeSet,
       {"testSaveProgress", "subscribe(3,{1},1)"}, ""},
      {"unsubscribeObjectClass", QLX_SERVICE(rti.unsubscribeObjectClass(3)), J | S,
       header("unsubscribeObjectClass") + sample + "\n", {"testSaveProgress", "unsubscribe(3)"}, ""},
      {"subscribeInteractionClass", QLX_SERVICE(rti.subscribeInteractionClass(4, RTI::RTI_FALSE)), J | S,
       header("subscribeInteractionClass") + message + " passive\n", {"testSaveProgress", "subscribe(4,0)"}, ""},
      {"unsubscribeInteractionClass", QLX_SERVICE(rti.unsubscribeInteractionClass(4)), J | S,
       header("unsubscribeInteractionClass") + message + "\n", {"testSaveProgress", "unsubscribe(4)"}, ""},
  };
  // clang-format on
  checkRows(rows, checks());

  // With data distribution on, the plain subscriptions act on the default
  // region too, after the plain operation; without a data distribution
  // manager they skip it.
  const std::vector<std::string> defaultRegionSteps = {"",
                                                       "",
                                                       "",
                                                       "",
                                                       "subscribeWithRegion(3,r1,{1},1)",
                                                       "unsubscribeWithRegion(3,r1)",
                                                       "subscribeWithRegion(4,r1,0)",
                                                       "unsubscribeWithRegion(4,r1)"};
  rid->setDataDistMgmt(1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].service);
    std::vector<std::string> expected = rows[i].handedOver;
    if (!defaultRegionSteps[i].empty()) expected.push_back(defaultRegionSteps[i]);
    EXPECT_EQ(run(rows[i], 1).handedOver, expected);
  }
  auto manager = std::move(fed->ddmMgrSlot());
  EXPECT_EQ(run(rows[4], 1).handedOver, rows[4].handedOver);
  fed->ddmMgrSlot() = std::move(manager);
}

TEST_F(ServiceFamilies, ObjectManagement) {
  // clang-format off
  const std::vector<ServiceRow> rows = {
      {"registerObjectInstance", QLX_SERVICE(rti.registerObjectInstance(3)), J | S,
       header("registerObjectInstance") + "RTI=>\tObjectRoot.Sample(3)\n", {"testSaveProgress", "registerObj(3)"}, "11"},
      {"registerObjectInstance", QLX_SERVICE(rti.registerObjectInstance(3, "Obj11")), J | S,
       header("registerObjectInstance") + "RTI=>\tObjectRoot.Sample(3) Obj11\n",
       {"testSaveProgress", "registerObj(3,Obj11)"}, "11"},
      {"updateAttributeValues", QLX_SERVICE(rti.updateAttributeValues(11, arg.values, "tag")), J | S,
       header("updateAttributeValues") + "RTI=>\t11 tag\n" + valueSet,
       {"testSaveProgress", "sendUpdate(11,{1},null,tag)"}, ""},
      {"updateAttributeValues", QLX_SERVICE(rti.updateAttributeValues(11, arg.values, arg.time, "tag")), J | S | T,
       header("updateAttributeValues") + "RTI=>\t11 " + printedTime + " tag\n" + valueSet,
       {"testSaveProgress", "isValidTimeStamp(1.5)", "sendUpdate(11,{1},1.5,tag)"}, "21/7"},
      {"sendInteraction", QLX_SERVICE(rti.sendInteraction(4, arg.parameters, "tag")), J | S,
       header("sendInteraction") + "RTI=>\t4 tag\n" + parameterSet, {"testSaveProgress", "send(4,{0},null,tag,0)"}, ""},
      {"sendInteraction", QLX_SERVICE(rti.sendInteraction(4, arg.parameters, arg.time, "tag")), J | S | T,
       header("sendInteraction") + "RTI=>\t4 " + printedTime + " tag\n" + parameterSet,
       {"testSaveProgress", "isValidTimeStamp(1.5)", "send(4,{0},1.5,tag,0)"}, "31/7"},
      {"deleteObjectInstance", QLX_SERVICE(rti.deleteObjectInstance(11, "tag")), J | S,
       header("deleteObjectInstance") + "RTI=>\t11 tag\n", {"testSaveProgress", "deleteObj(11,null,tag)"}, ""},
      {"deleteObjectInstance", QLX_SERVICE(rti.deleteObjectInstance(11, arg.time, "tag")), J | S | T,
       header("deleteObjectInstance") + "RTI=>\t11 " + printedTime + " tag\n",
       {"testSaveProgress", "isValidTimeStamp(1.5)", "deleteObj(11,1.5,tag)"}, "22/7"},
      {"localDeleteObjectInstance", QLX_SERVICE(rti.localDeleteObjectInstance(11)), J | S,
       header("localDeleteObjectInstance") + "RTI=>\t11\n", {"testSaveProgress", "localDeleteObj(11)"}, ""},
      {"changeAttributeTransportationType", QLX_SERVICE(rti.changeAttributeTransportationType(11, arg.attributes, 1)),
       J | S, header("changeAttributeTransportationType") + "RTI=>\t11 1\n",
       {"testSaveProgress", "setAttributeTransportType(11,{1},1)"}, ""},
      {"changeInteractionTransportationType", QLX_SERVICE(rti.changeInteractionTransportationType(4, 1)), J | S,
       header("changeInteractionTransportationType") + "RTI=>\t4 1\n", {"testSaveProgress", "setTransport(4,1)"}, ""},
      {"requestObjectAttributeValueUpdate", QLX_SERVICE(rti.requestObjectAttributeValueUpdate(11, arg.attributes)),
       J | S, header("requestObjectAttributeValueUpdate") + "RTI=>\t11\n" + attributeSet,
       {"testSaveProgress", "requestObjectUpdate(11,{1})"}, ""},
      {"requestClassAttributeValueUpdate", QLX_SERVICE(rti.requestClassAttributeValueUpdate(3, arg.attributes)),
       J | S, header("requestClassAttributeValueUpdate") + "RTI=>\tObjectRoot.Sample(3)\n" + attributeSet,
       {"testSaveProgress", "requestClassUpdate(3,{1})"}, ""},
  };
  // clang-format on
  checkRows(rows, checks());

  // With time management off the timed forms send their time unchecked and
  // still return the retraction handle.
  rid->setTimeMgmt(0);
  for (const ServiceRow& row : rows) {
    if (!(row.checks & T)) continue;
    SCOPED_TRACE(row.service);
    const ServiceOutcome outcome = run(row, 1);
    EXPECT_EQ(outcome.result, row.result);
    EXPECT_EQ(outcome.handedOver, (std::vector<std::string>{row.handedOver.front(), row.handedOver.back()}));
  }
}

TEST_F(ServiceFamilies, OwnershipManagement) {
  const std::string set = attributeSet;
  // clang-format off
  const std::vector<ServiceRow> rows = {
      {"unconditionalAttributeOwnershipDivestiture",
       QLX_SERVICE(rti.unconditionalAttributeOwnershipDivestiture(11, arg.attributes)), J | S,
       header("unconditionalAttributeOwnershipDivestiture") + "RTI=>\t11\n" + set,
       {"testSaveProgress", "divestOwnership(11,{1},0,null)"}, ""},
      {"negotiatedAttributeOwnershipDivestiture",
       QLX_SERVICE(rti.negotiatedAttributeOwnershipDivestiture(11, arg.attributes, "tag")), J | S,
       header("negotiatedAttributeOwnershipDivestiture") + "RTI=>\t11 (tag = tag)\n" + set,
       {"testSaveProgress", "divestOwnership(11,{1},1,tag)"}, ""},
      {"attributeOwnershipAcquisition", QLX_SERVICE(rti.attributeOwnershipAcquisition(11, arg.attributes, "tag")),
       J | S, header("attributeOwnershipAcquisition") + "RTI=>\t11 (tag = tag)\n" + set,
       {"testSaveProgress", "acquireAttrs(11,{1},0,tag)"}, ""},
      {"attributeOwnershipAcquisitionIfAvailable",
       QLX_SERVICE(rti.attributeOwnershipAcquisitionIfAvailable(11, arg.attributes)), J | S,
       header("attributeOwnershipAcquisitionIfAvailable") + "RTI=>\t11\n" + set,
       {"testSaveProgress", "acquireAttrs(11,{1},1,null)"}, ""},
      {"attributeOwnershipReleaseResponse", QLX_SERVICE(rti.attributeOwnershipReleaseResponse(11, arg.attributes)),
       J | S, header("attributeOwnershipReleaseResponse") + "RTI=>\t11\n" + set,
       {"testSaveProgress", "releaseResponse(11,{1})"}, "{2}"},
      {"cancelNegotiatedAttributeOwnershipDivestiture",
       QLX_SERVICE(rti.cancelNegotiatedAttributeOwnershipDivestiture(11, arg.attributes)), J | S,
       header("cancelNegotiatedAttributeOwnershipDivestiture") + "RTI=>\t11\n" + set,
       {"testSaveProgress", "cancelDivest(11,{1})"}, ""},
      {"cancelAttributeOwnershipAcquisition",
       QLX_SERVICE(rti.cancelAttributeOwnershipAcquisition(11, arg.attributes)), J | S,
       header("cancelAttributeOwnershipAcquisition") + "RTI=>\t11\n" + set,
       {"testSaveProgress", "cancelAcquire(11,{1})"}, ""},
      {"queryAttributeOwnership", QLX_SERVICE(rti.queryAttributeOwnership(11, 1)), J | S,
       header("queryAttributeOwnership") + "RTI=>\t11 Value(1)\n", {"testSaveProgress", "queryOwnership(11,1)"}, ""},
      {"isAttributeOwnedByFederate", QLX_SERVICE(rti.isAttributeOwnedByFederate(11, 1)), J | S,
       header("isAttributeOwnedByFederate") + "RTI=>\t11 Value(1)\n", {"testSaveProgress"}, "true"},
  };
  // clang-format on
  checkRows(rows, checks());

  // isAttributeOwnedByFederate is answered here, from the object's record:
  // the object must be known, then the attribute be one of its class's; the
  // argument line is traced once both hold.
  const struct {
    RTI::ObjectHandle object;
    RTI::AttributeHandle attribute;
    const char* answer;
  } questions[] = {
      {11, 2, "false"},
      {11, 0, "false"},
      {11, 3, "AttributeNotDefined: "},    // the attribute of a subclass
      {11, 400, "AttributeNotDefined: "},  // beyond any class
      {12, 1, "ObjectNotKnown: "},
      {12, 400, "ObjectNotKnown: "},
  };
  for (const auto& q : questions) {
    SCOPED_TRACE(std::to_string(q.object) + " " + std::to_string(q.attribute));
    const ServiceRow row = callOf("isAttributeOwnedByFederate", [&q](ServiceFamilyFixture& f) {
      return describeResult(f.ambassador->isAttributeOwnedByFederate(q.object, q.attribute));
    });
    const ServiceOutcome outcome = run(row, 3);
    EXPECT_EQ(outcome.thrown.empty() ? outcome.result : outcome.thrown, q.answer);
    EXPECT_EQ(outcome.printed.find("RTI=>\t") != std::string::npos, outcome.thrown.empty());
  }
}

}  // namespace
