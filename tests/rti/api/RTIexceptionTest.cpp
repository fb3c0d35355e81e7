#include "RTI.hh"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// The 79 exception classes of HLA 1.3, written out by hand: the header's
// list is checked against this one, not against itself.
#define HLA13_EXCEPTIONS(X)                   \
  X(ArrayIndexOutOfBounds)                    \
  X(AsynchronousDeliveryAlreadyDisabled)      \
  X(AsynchronousDeliveryAlreadyEnabled)       \
  X(AttributeAcquisitionWasNotCanceled)       \
  X(AttributeAcquisitionWasNotRequested)      \
  X(AttributeAlreadyBeingAcquired)            \
  X(AttributeAlreadyBeingDivested)            \
  X(AttributeAlreadyOwned)                    \
  X(AttributeDivestitureWasNotRequested)      \
  X(AttributeNotDefined)                      \
  X(AttributeNotKnown)                        \
  X(AttributeNotOwned)                        \
  X(AttributeNotPublished)                    \
  X(ConcurrentAccessAttempted)                \
  X(CouldNotDiscover)                         \
  X(CouldNotOpenFED)                          \
  X(CouldNotRestore)                          \
  X(DeletePrivilegeNotHeld)                   \
  X(DimensionNotDefined)                      \
  X(EnableTimeConstrainedPending)             \
  X(EnableTimeConstrainedWasNotPending)       \
  X(EnableTimeRegulationPending)              \
  X(EnableTimeRegulationWasNotPending)        \
  X(ErrorReadingFED)                          \
  X(EventNotKnown)                            \
  X(FederateAlreadyExecutionMember)           \
  X(FederateInternalError)                    \
  X(FederateLoggingServiceCalls)              \
  X(FederateNotExecutionMember)               \
  X(FederateOwnsAttributes)                   \
  X(FederateWasNotAskedToReleaseAttribute)    \
  X(FederatesCurrentlyJoined)                 \
  X(FederationExecutionAlreadyExists)         \
  X(FederationExecutionDoesNotExist)          \
  X(FederationTimeAlreadyPassed)              \
  X(HandleValuePairMaximumExceeded)           \
  X(InteractionClassNotDefined)               \
  X(InteractionClassNotKnown)                 \
  X(InteractionClassNotPublished)             \
  X(InteractionClassNotSubscribed)            \
  X(InteractionParameterNotDefined)           \
  X(InteractionParameterNotKnown)             \
  X(InvalidExtents)                           \
  X(InvalidFederationTime)                    \
  X(InvalidHandleValuePairSetContext)         \
  X(InvalidLookahead)                         \
  X(InvalidOrderingHandle)                    \
  X(InvalidRegionContext)                     \
  X(InvalidResignAction)                      \
  X(InvalidRetractionHandle)                  \
  X(InvalidTransportationHandle)              \
  X(MemoryExhausted)                          \
  X(NameNotFound)                             \
  X(ObjectAlreadyRegistered)                  \
  X(ObjectClassNotDefined)                    \
  X(ObjectClassNotKnown)                      \
  X(ObjectClassNotPublished)                  \
  X(ObjectClassNotSubscribed)                 \
  X(ObjectNotKnown)                           \
  X(OwnershipAcquisitionPending)              \
  X(RTIinternalError)                         \
  X(RegionInUse)                              \
  X(RegionNotKnown)                           \
  X(RestoreInProgress)                        \
  X(RestoreNotRequested)                      \
  X(SaveInProgress)                           \
  X(SaveNotInitiated)                         \
  X(SpaceNotDefined)                          \
  X(SpecifiedSaveLabelDoesNotExist)           \
  X(SynchronizationPointLabelWasNotAnnounced) \
  X(TimeAdvanceAlreadyInProgress)             \
  X(TimeAdvanceWasNotInProgress)              \
  X(TimeConstrainedAlreadyEnabled)            \
  X(TimeConstrainedWasNotEnabled)             \
  X(TimeRegulationAlreadyEnabled)             \
  X(TimeRegulationWasNotEnabled)              \
  X(UnableToPerformSave)                      \
  X(ValueCountExceeded)                       \
  X(ValueLengthExceeded)

namespace {

std::string printed(const RTI::Exception& ex) {
  std::ostringstream out;
  out << ex;
  return out.str();
}

// Everything one exception class must do, checked for class A.
template <class A>
void checkExceptionClass(const char* className) {
  SCOPED_TRACE(className);
  char reason[] = "why";
  const A original(7, reason);
  reason[0] = 'W';  // the exception keeps its own copy of the text

  EXPECT_STREQ(A::_ex, className);
  EXPECT_EQ(original._name, A::_ex);
  EXPECT_EQ(original._serial, 7u);
  EXPECT_STREQ(original._reason, "why");
  EXPECT_EQ(printed(original), std::string("RTI exception:") + className);

  std::unique_ptr<RTI::Exception> clone(original.cloneSelf());
  EXPECT_NE(dynamic_cast<A*>(clone.get()), nullptr);
  EXPECT_EQ(clone->_serial, 0u);
  EXPECT_STREQ(clone->_reason, "why");
  EXPECT_NE(clone->_reason, original._reason);

  // Code that holds only the base rethrows the object as its own class.
  const RTI::Exception& asBase = original;
  try {
    asBase.throwSelf();
    ADD_FAILURE() << "throwSelf returned";
  } catch (A& caught) {
    EXPECT_EQ(caught._serial, 7u);
    EXPECT_STREQ(caught._reason, "why");
    EXPECT_EQ(caught._name, A::_ex);
  } catch (...) {
    ADD_FAILURE() << "throwSelf threw another class";
  }

  try {
    throw A("by value");
  } catch (RTI::Exception& caught) {
    EXPECT_EQ(caught._name, A::_ex);
    EXPECT_EQ(caught._serial, 0u);
    EXPECT_STREQ(caught._reason, "by value");
  }
}

TEST(RTIexceptionTest, EveryHla13ClassNamesClonesAndRethrowsItself) {
  // A class missing from the header, or spelled otherwise, fails to compile.
#define CHECK_EXCEPTION_CLASS(A) checkExceptionClass<RTI::A>(#A);
  HLA13_EXCEPTIONS(CHECK_EXCEPTION_CLASS)
#undef CHECK_EXCEPTION_CLASS

  // And the header declares no class beyond them.
  std::vector<std::string> expected, declared;
#define NAME_OF(A) #A,
  for (const char* name : {HLA13_EXCEPTIONS(NAME_OF)}) expected.push_back(name);
  for (const char* name : {RTI_EXCEPTION_LIST(NAME_OF)}) declared.push_back(name);
#undef NAME_OF
  std::sort(declared.begin(), declared.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected.size(), 79u);
  EXPECT_EQ(declared, expected);
}

TEST(RTIexceptionTest, NullReasonStaysNullThroughCopyCloneAndAssignment) {
  RTI::NameNotFound none(static_cast<const char*>(nullptr));
  EXPECT_EQ(none._reason, nullptr);
  RTI::NameNotFound copy(none);
  EXPECT_EQ(copy._reason, nullptr);
  std::unique_ptr<RTI::Exception> clone(none.cloneSelf());
  EXPECT_EQ(clone->_reason, nullptr);
  RTI::NameNotFound named("x");
  named = none;
  EXPECT_EQ(named._reason, nullptr);
}

TEST(RTIexceptionTest, AssignmentCopiesReasonSerialAndName) {
  RTI::AttributeNotDefined target("old");
  target = target;  // assigning to itself keeps the text
  EXPECT_STREQ(target._reason, "old");

  const RTI::ObjectNotKnown source(3, "new");
  RTI::Exception& base = target;
  base = source;
  EXPECT_STREQ(target._reason, "new");
  EXPECT_NE(target._reason, source._reason);
  EXPECT_EQ(target._serial, 3u);
  EXPECT_EQ(target._name, RTI::ObjectNotKnown::_ex);
}

TEST(RTIexceptionTest, PointerOutputMatchesReferenceOutput) {
  const RTI::AttributeNotDefined ex("x");
  std::ostringstream out;
  out << &ex << '|' << static_cast<const RTI::Exception*>(nullptr);
  EXPECT_EQ(out.str(), "RTI exception:AttributeNotDefined|RTI exception:");
}

}  // namespace
