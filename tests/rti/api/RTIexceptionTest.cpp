#include "RTI.hh"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>

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

TEST(RTIexceptionTest, EveryClassOfTheListNamesClonesAndRethrowsItself) {
  int classes = 0;
#define CHECK_EXCEPTION_CLASS(A)   \
  checkExceptionClass<RTI::A>(#A); \
  ++classes;
  RTI_EXCEPTION_LIST(CHECK_EXCEPTION_CLASS)
#undef CHECK_EXCEPTION_CLASS
  EXPECT_EQ(classes, 79);
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
