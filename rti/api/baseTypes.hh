// clang-format off
#pragma once
// HLA 1.3 C++ API: the scalar types and the base class of every RTI exception.
// Included by RTI.hh; federates include RTI.hh, not this file.

#include <iostream>

// Marks the classes and functions that the shared libraries export, so that
// they stay visible when the libraries are built with hidden visibility.
#ifndef RTI_EXPORT
#define RTI_EXPORT __attribute__((visibility("default")))
#endif

namespace RTI {

typedef unsigned short UShort;
typedef short Short;
typedef unsigned long ULong;
typedef long Long;
typedef double Double;
typedef float Float;

enum Boolean { RTI_FALSE = 0, RTI_TRUE };

// Every failure the RTI reports to a federate is an object of a class derived
// from Exception, thrown by value and caught by reference.
class RTI_EXPORT Exception {
public:
  ULong _serial;       // 0 unless given at construction
  char* _reason;       // the library's own copy of the reason text; may be null
  const char* _name;   // the class name (the subclass's _ex); null in the base

  Exception(const char* reason);
  Exception(ULong serial, const char* reason = 0);
  Exception(const Exception& toCopy);
  virtual ~Exception();
  Exception& operator=(const Exception& other);

  // A new heap copy of the most-derived class (serial not kept).
  virtual Exception* cloneSelf() const = 0;
  // Throws a copy of this object as its most-derived class.
  virtual void throwSelf() const = 0;
};

// Both write "RTI exception:" followed by the class name, nothing else.
RTI_EXPORT std::ostream& operator<<(std::ostream& stream, const Exception& ex);
RTI_EXPORT std::ostream& operator<<(std::ostream& stream, const Exception* ex);

}  // namespace RTI

// Declares one exception class of the API. The static _ex of each class is
// defined by the library that exports the class.
// NOLINTBEGIN(bugprone-macro-parentheses): A names a class, which cannot stand in parentheses.
#define RTI_EXCEPT(A)                                                        \
  class RTI_EXPORT A : public Exception {                                    \
  public:                                                                    \
    static const char* _ex;                                                  \
    A(const char* reason) : Exception(reason) { _name = _ex; }               \
    A(ULong serial, const char* reason = 0) : Exception(serial, reason) {    \
      _name = _ex;                                                           \
    }                                                                        \
    A(const A& toCopy) : Exception(toCopy) { _name = _ex; }                  \
    A& operator=(const A& other) {                                           \
      Exception::operator=(other);                                           \
      return *this;                                                          \
    }                                                                        \
    Exception* cloneSelf() const override { return new A(_reason); }         \
    void throwSelf() const override { throw A(*this); }                      \
  };
// NOLINTEND(bugprone-macro-parentheses)
