#include "ServiceFamilyFixture.h"

#include "config/DtRIDParameters.h"
#include "objects/DtFomClassMgr.h"

ServiceTableArgs::ServiceTableArgs() {
  attributes.add(1);
  values.add(1, "v", 1);
  parameters.add(0, "p", 1);
  federates.add(3);
}

std::string describeResult(char* name) {
  const std::unique_ptr<char[]> owned(name);
  return owned ? owned.get() : "null";
}

std::string describeResult(RTI::AttributeHandleSet* set) {
  const std::unique_ptr<RTI::AttributeHandleSet> owned(set);
  return owned ? logText(*owned) : "null";
}

std::string describeResult(RTI::Region* region) { return logText(region); }

std::string describeResult(const RTI::EventRetractionHandle& handle) {
  return std::to_string(handle.theSerialNumber) + "/" + std::to_string(handle.sendingFederate);
}

std::string describeResult(RTI::Boolean flag) { return flag ? "true" : "false"; }

ServiceFamilyFixture::ServiceFamilyFixture() {
  ambassador = std::make_unique<RTI::RTIambassador>();
  fed = FakeFederateMgr::last;
  rid = fed->params();
  fed->join();
  EXPECT_TRUE(fed->readFom((std::string(QLX_SOURCE_ROOT) + "/rti/config/sample.fed").c_str()));
  auto objectMgr = std::make_unique<LoggingObjectMgr>(&fed->calls, fed->fom());
  auto interactionMgr = std::make_unique<LoggingInteractionMgr>(&fed->calls);
  auto timeMgr = std::make_unique<LoggingTimeMgr>(&fed->calls);
  auto ddmMgr = std::make_unique<LoggingDdmMgr>(&fed->calls);
  objects = objectMgr.get();
  interactions = interactionMgr.get();
  time = timeMgr.get();
  ddm = ddmMgr.get();
  fed->objMgrSlot() = std::move(objectMgr);
  fed->interMgrSlot() = std::move(interactionMgr);
  fed->timeMgrSlot() = std::move(timeMgr);
  fed->ddmMgrSlot() = std::move(ddmMgr);
}

ServiceFamilyFixture::~ServiceFamilyFixture() { ambassador.reset(); }

ServiceOutcome ServiceFamilyFixture::run(const ServiceRow& row, int level) {
  fed->calls.clear();
  NotifyCapture capture(level);
  ServiceOutcome outcome;
  try {
    outcome.result = row.call(*this);
  } catch (RTI::Exception& e) {
    outcome.thrown = std::string(e._name ? e._name : "?") + ": " + (e._reason ? e._reason : "");
  }
  outcome.handedOver = fed->calls;
  outcome.printed = capture.text();
  return outcome;
}

namespace {

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n') + 1); }

}  // namespace

void ServiceFamilyFixture::checkRows(const std::vector<ServiceRow>& rows, const std::vector<ServiceCheck>& checks) {
  for (const ServiceRow& row : rows) {
    SCOPED_TRACE(row.service);
    for (const ServiceCheck& check : checks) check.put(*this);
    bool first = true;
    for (std::size_t i = 0; i < checks.size(); ++i) {
      if (!(row.checks & (1u << i))) continue;
      const ServiceCheck& check = checks[i];
      SCOPED_TRACE(check.name);
      const ServiceOutcome expected = check.refusal(row);
      const ServiceOutcome refused = run(row, 1);
      EXPECT_EQ(refused.thrown, expected.thrown);
      EXPECT_EQ(refused.handedOver, expected.handedOver);
      EXPECT_EQ(refused.printed, expected.printed);
      // The header line comes before every check: refusals are traced too.
      if (first && !row.trace.empty()) {
        EXPECT_EQ(firstLine(run(row, 3).printed), firstLine(row.trace));
      }
      first = false;
      check.lift(*this);
    }
    const ServiceOutcome accepted = run(row, 3);
    EXPECT_EQ(accepted.thrown, "");
    EXPECT_EQ(accepted.result, row.result);
    EXPECT_EQ(accepted.handedOver, row.handedOver);
    EXPECT_EQ(accepted.printed, row.trace);
    for (const ServiceCheck& check : checks) check.lift(*this);
  }
}

ServiceCheck ServiceFamilyFixture::joined() const {
  return {
      "joined", [](ServiceFamilyFixture& f) { f.fed->leave(); }, [](ServiceFamilyFixture& f) { f.fed->join(); },
      [](const ServiceRow& row) {
        return ServiceOutcome{"FederateNotExecutionMember: Unable to process " + row.nameInReasons() + ".", "", {}, ""};
      }};
}

ServiceCheck ServiceFamilyFixture::save() const {
  return {"save", [](ServiceFamilyFixture& f) { f.fed->saveInProgress = true; },
          [](ServiceFamilyFixture& f) { f.fed->saveInProgress = false; },
          [](const ServiceRow&) {
            return ServiceOutcome{"SaveInProgress: Save1", "", {"testSaveProgress"}, ""};
          }};
}

ServiceCheck ServiceFamilyFixture::timeStamp() const {
  return {"time stamp",
          [](ServiceFamilyFixture& f) {
            f.rid->setTimeMgmt(1);
            f.time->acceptTimeStamps = false;
          },
          [](ServiceFamilyFixture& f) { f.time->acceptTimeStamps = true; },
          [](const ServiceRow& row) {
            const std::string exception = std::string(row.service) == "requestFederationSave"
                                              ? "FederationTimeAlreadyPassed"
                                              : "InvalidFederationTime";
            return ServiceOutcome{exception + ": Unable to process " + row.nameInReasons() + ".",
                                  "",
                                  {"testSaveProgress", "isValidTimeStamp(1.5)"},
                                  ""};
          }};
}

namespace {

ServiceOutcome ddmRefusal(const ServiceRow& row, const std::vector<std::string>& before) {
  const std::string off = "RTI DDM services turned off: unable to process ";
  const std::string reason =
      std::string(row.service) == "createRegion" ? "createRegion DDM services not active" : off + row.nameInReasons();
  return {"RTIinternalError: " + reason, "", before, off + row.service + "\n"};
}

}  // namespace

ServiceCheck ServiceFamilyFixture::ddmByManager(std::vector<std::string> before) const {
  return {"data distribution manager", [](ServiceFamilyFixture& f) { f.ddm->on = false; },
          [](ServiceFamilyFixture& f) { f.ddm->on = true; },
          [before](const ServiceRow& row) { return ddmRefusal(row, before); }};
}

ServiceCheck ServiceFamilyFixture::ddmByRid(std::vector<std::string> before) const {
  return {"RTI_dataDistMgmt", [](ServiceFamilyFixture& f) { f.rid->setDataDistMgmt(0); },
          [](ServiceFamilyFixture& f) { f.rid->setDataDistMgmt(1); },
          [before](const ServiceRow& row) { return ddmRefusal(row, before); }};
}
