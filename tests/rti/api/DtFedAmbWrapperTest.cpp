#include "api/DtFedAmbWrapper.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fedtime.hh"

namespace {

using testing::_;
using testing::AllOf;
using testing::Eq;
using testing::Field;
using testing::Ref;

class MockFederateAmbassador : public RTI::FederateAmbassador {
public:
  MOCK_METHOD(void, synchronizationPointRegistrationSucceeded, (const char*), (override));
  MOCK_METHOD(void, synchronizationPointRegistrationFailed, (const char*), (override));
  MOCK_METHOD(void, announceSynchronizationPoint, (const char*, const char*), (override));
  MOCK_METHOD(void, federationSynchronized, (const char*), (override));
  MOCK_METHOD(void, initiateFederateSave, (const char*), (override));
  MOCK_METHOD(void, federationSaved, (), (override));
  MOCK_METHOD(void, federationNotSaved, (), (override));
  MOCK_METHOD(void, requestFederationRestoreSucceeded, (const char*), (override));
  MOCK_METHOD(void, requestFederationRestoreFailed, (const char*, const char*), (override));
  MOCK_METHOD(void, federationRestoreBegun, (), (override));
  MOCK_METHOD(void, initiateFederateRestore, (const char*, RTI::FederateHandle), (override));
  MOCK_METHOD(void, federationRestored, (), (override));
  MOCK_METHOD(void, federationNotRestored, (), (override));
  MOCK_METHOD(void, startRegistrationForObjectClass, (RTI::ObjectClassHandle), (override));
  MOCK_METHOD(void, stopRegistrationForObjectClass, (RTI::ObjectClassHandle), (override));
  MOCK_METHOD(void, turnInteractionsOn, (RTI::InteractionClassHandle), (override));
  MOCK_METHOD(void, turnInteractionsOff, (RTI::InteractionClassHandle), (override));
  MOCK_METHOD(void, discoverObjectInstance, (RTI::ObjectHandle, RTI::ObjectClassHandle, const char*), (override));
  MOCK_METHOD(void, reflectAttributeValues, (RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&, const char*),
              (override));
  MOCK_METHOD(void, reflectAttributeValues,
              (RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&, const RTI::FedTime&, const char*,
               RTI::EventRetractionHandle),
              (override));
  MOCK_METHOD(void, receiveInteraction,
              (RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&, const char*), (override));
  MOCK_METHOD(void, receiveInteraction,
              (RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&, const RTI::FedTime&, const char*,
               RTI::EventRetractionHandle),
              (override));
  MOCK_METHOD(void, removeObjectInstance, (RTI::ObjectHandle, const char*), (override));
  MOCK_METHOD(void, removeObjectInstance,
              (RTI::ObjectHandle, const RTI::FedTime&, const char*, RTI::EventRetractionHandle), (override));
  MOCK_METHOD(void, attributesInScope, (RTI::ObjectHandle, const RTI::AttributeHandleSet&), (override));
  MOCK_METHOD(void, attributesOutOfScope, (RTI::ObjectHandle, const RTI::AttributeHandleSet&), (override));
  MOCK_METHOD(void, provideAttributeValueUpdate, (RTI::ObjectHandle, const RTI::AttributeHandleSet&), (override));
  MOCK_METHOD(void, turnUpdatesOnForObjectInstance, (RTI::ObjectHandle, const RTI::AttributeHandleSet&), (override));
  MOCK_METHOD(void, turnUpdatesOffForObjectInstance, (RTI::ObjectHandle, const RTI::AttributeHandleSet&), (override));
  MOCK_METHOD(void, requestAttributeOwnershipAssumption,
              (RTI::ObjectHandle, const RTI::AttributeHandleSet&, const char*), (override));
  MOCK_METHOD(void, attributeOwnershipDivestitureNotification, (RTI::ObjectHandle, const RTI::AttributeHandleSet&),
              (override));
  MOCK_METHOD(void, attributeOwnershipAcquisitionNotification, (RTI::ObjectHandle, const RTI::AttributeHandleSet&),
              (override));
  MOCK_METHOD(void, attributeOwnershipUnavailable, (RTI::ObjectHandle, const RTI::AttributeHandleSet&), (override));
  MOCK_METHOD(void, requestAttributeOwnershipRelease, (RTI::ObjectHandle, const RTI::AttributeHandleSet&, const char*),
              (override));
  MOCK_METHOD(void, confirmAttributeOwnershipAcquisitionCancellation,
              (RTI::ObjectHandle, const RTI::AttributeHandleSet&), (override));
  MOCK_METHOD(void, informAttributeOwnership, (RTI::ObjectHandle, RTI::AttributeHandle, RTI::FederateHandle),
              (override));
  MOCK_METHOD(void, attributeIsNotOwned, (RTI::ObjectHandle, RTI::AttributeHandle), (override));
  MOCK_METHOD(void, attributeOwnedByRTI, (RTI::ObjectHandle, RTI::AttributeHandle), (override));
  MOCK_METHOD(void, timeRegulationEnabled, (const RTI::FedTime&), (override));
  MOCK_METHOD(void, timeConstrainedEnabled, (const RTI::FedTime&), (override));
  MOCK_METHOD(void, timeAdvanceGrant, (const RTI::FedTime&), (override));
  MOCK_METHOD(void, requestRetraction, (RTI::EventRetractionHandle), (override));
};

auto retraction(RTI::UniqueID serial, RTI::FederateHandle federate) {
  return AllOf(Field(&RTI::EventRetractionHandle_s::theSerialNumber, serial),
               Field(&RTI::EventRetractionHandle_s::sendingFederate, federate));
}

// Every callback reaches the next ambassador once, with the same arguments
// (texts and sets by the very same pointer or reference).
TEST(DtFedAmbWrapperTest, ForwardsEveryCallbackUnchanged) {
  testing::StrictMock<MockFederateAmbassador> next;
  DtFedAmbWrapper wrapper(&next);
  RTI::FederateAmbassador& in = wrapper;

  const char* label = "label";
  const char* tag = "tag";
  std::unique_ptr<RTI::AttributeHandleSet> attrs(RTI::AttributeHandleSetFactory::create(1));
  std::unique_ptr<RTI::AttributeHandleValuePairSet> values(RTI::AttributeSetFactory::create(1));
  std::unique_ptr<RTI::ParameterHandleValuePairSet> params(RTI::ParameterSetFactory::create(1));
  RTIfedTime time(4.5);
  RTI::EventRetractionHandle handle = {11, 12};

  testing::InSequence inOrder;
  EXPECT_CALL(next, synchronizationPointRegistrationSucceeded(Eq(label)));
  EXPECT_CALL(next, synchronizationPointRegistrationFailed(Eq(label)));
  EXPECT_CALL(next, announceSynchronizationPoint(Eq(label), Eq(tag)));
  EXPECT_CALL(next, federationSynchronized(Eq(label)));
  EXPECT_CALL(next, initiateFederateSave(Eq(label)));
  EXPECT_CALL(next, federationSaved());
  EXPECT_CALL(next, federationNotSaved());
  EXPECT_CALL(next, requestFederationRestoreSucceeded(Eq(label)));
  EXPECT_CALL(next, requestFederationRestoreFailed(Eq(label), Eq(tag)));
  EXPECT_CALL(next, federationRestoreBegun());
  EXPECT_CALL(next, initiateFederateRestore(Eq(label), 7u));
  EXPECT_CALL(next, federationRestored());
  EXPECT_CALL(next, federationNotRestored());
  EXPECT_CALL(next, startRegistrationForObjectClass(1u));
  EXPECT_CALL(next, stopRegistrationForObjectClass(2u));
  EXPECT_CALL(next, turnInteractionsOn(3u));
  EXPECT_CALL(next, turnInteractionsOff(4u));
  EXPECT_CALL(next, discoverObjectInstance(5u, 6u, Eq(label)));
  EXPECT_CALL(next, reflectAttributeValues(8u, Ref(*values), Eq(tag)));
  EXPECT_CALL(next, reflectAttributeValues(9u, Ref(*values), Ref(time), Eq(tag), retraction(11, 12)));
  EXPECT_CALL(next, receiveInteraction(10u, Ref(*params), Eq(tag)));
  EXPECT_CALL(next, receiveInteraction(13u, Ref(*params), Ref(time), Eq(tag), retraction(11, 12)));
  EXPECT_CALL(next, removeObjectInstance(14u, Eq(tag)));
  EXPECT_CALL(next, removeObjectInstance(15u, Ref(time), Eq(tag), retraction(11, 12)));
  EXPECT_CALL(next, attributesInScope(16u, Ref(*attrs)));
  EXPECT_CALL(next, attributesOutOfScope(17u, Ref(*attrs)));
  EXPECT_CALL(next, provideAttributeValueUpdate(18u, Ref(*attrs)));
  EXPECT_CALL(next, turnUpdatesOnForObjectInstance(19u, Ref(*attrs)));
  EXPECT_CALL(next, turnUpdatesOffForObjectInstance(20u, Ref(*attrs)));
  EXPECT_CALL(next, requestAttributeOwnershipAssumption(21u, Ref(*attrs), Eq(tag)));
  EXPECT_CALL(next, attributeOwnershipDivestitureNotification(22u, Ref(*attrs)));
  EXPECT_CALL(next, attributeOwnershipAcquisitionNotification(23u, Ref(*attrs)));
  EXPECT_CALL(next, attributeOwnershipUnavailable(24u, Ref(*attrs)));
  EXPECT_CALL(next, requestAttributeOwnershipRelease(25u, Ref(*attrs), Eq(tag)));
  EXPECT_CALL(next, confirmAttributeOwnershipAcquisitionCancellation(26u, Ref(*attrs)));
  EXPECT_CALL(next, informAttributeOwnership(27u, 28u, 29u));
  EXPECT_CALL(next, attributeIsNotOwned(30u, 31u));
  EXPECT_CALL(next, attributeOwnedByRTI(32u, 33u));
  EXPECT_CALL(next, timeRegulationEnabled(Ref(time)));
  EXPECT_CALL(next, timeConstrainedEnabled(Ref(time)));
  EXPECT_CALL(next, timeAdvanceGrant(Ref(time)));
  EXPECT_CALL(next, requestRetraction(retraction(11, 12)));

  in.synchronizationPointRegistrationSucceeded(label);
  in.synchronizationPointRegistrationFailed(label);
  in.announceSynchronizationPoint(label, tag);
  in.federationSynchronized(label);
  in.initiateFederateSave(label);
  in.federationSaved();
  in.federationNotSaved();
  in.requestFederationRestoreSucceeded(label);
  in.requestFederationRestoreFailed(label, tag);
  in.federationRestoreBegun();
  in.initiateFederateRestore(label, 7);
  in.federationRestored();
  in.federationNotRestored();
  in.startRegistrationForObjectClass(1);
  in.stopRegistrationForObjectClass(2);
  in.turnInteractionsOn(3);
  in.turnInteractionsOff(4);
  in.discoverObjectInstance(5, 6, label);
  in.reflectAttributeValues(8, *values, tag);
  in.reflectAttributeValues(9, *values, time, tag, handle);
  in.receiveInteraction(10, *params, tag);
  in.receiveInteraction(13, *params, time, tag, handle);
  in.removeObjectInstance(14, tag);
  in.removeObjectInstance(15, time, tag, handle);
  in.attributesInScope(16, *attrs);
  in.attributesOutOfScope(17, *attrs);
  in.provideAttributeValueUpdate(18, *attrs);
  in.turnUpdatesOnForObjectInstance(19, *attrs);
  in.turnUpdatesOffForObjectInstance(20, *attrs);
  in.requestAttributeOwnershipAssumption(21, *attrs, tag);
  in.attributeOwnershipDivestitureNotification(22, *attrs);
  in.attributeOwnershipAcquisitionNotification(23, *attrs);
  in.attributeOwnershipUnavailable(24, *attrs);
  in.requestAttributeOwnershipRelease(25, *attrs, tag);
  in.confirmAttributeOwnershipAcquisitionCancellation(26, *attrs);
  in.informAttributeOwnership(27, 28, 29);
  in.attributeIsNotOwned(30, 31);
  in.attributeOwnedByRTI(32, 33);
  in.timeRegulationEnabled(time);
  in.timeConstrainedEnabled(time);
  in.timeAdvanceGrant(time);
  in.requestRetraction(handle);
}

TEST(DtFedAmbWrapperTest, WithoutANextAmbassadorCallbacksAreSwallowed) {
  DtFedAmbWrapper wrapper;
  wrapper.federationSaved();
  wrapper.timeAdvanceGrant(RTIfedTime(1.0));
  EXPECT_EQ(wrapper.fedAmb(), nullptr);

  testing::StrictMock<MockFederateAmbassador> next;
  wrapper.setFedAmb(&next);
  EXPECT_EQ(wrapper.fedAmb(), &next);
  EXPECT_CALL(next, federationSaved());
  wrapper.federationSaved();
}

TEST(DtFedAmbWrapperTest, ExceptionsOfTheNextAmbassadorPassThrough) {
  testing::StrictMock<MockFederateAmbassador> next;
  DtFedAmbWrapper wrapper(&next);
  EXPECT_CALL(next, federationSaved()).WillOnce(testing::Throw(RTI::FederateInternalError("x")));
  EXPECT_THROW(wrapper.federationSaved(), RTI::FederateInternalError);
}

}  // namespace
