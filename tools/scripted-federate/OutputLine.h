#pragma once
// One line of the scripted federate's output: a kind ("callback", "ok",
// "error"), a name, then the values, each written so that a test can match
// it: numbers in decimal, texts in double quotes with \" \\ and \xNN escapes,
// handle sets as {1,2}, value sets as {1="abc",2=0x00ff} (a value that is not
// printable text in hexadecimal), times in their printable form,
// retraction handles as serial/federate.

#include <string>

#include <RTI.hh>

class OutputLine {
public:
  OutputLine(const char* kind, const std::string& name);

  OutputLine& number(unsigned long value);
  OutputLine& word(const std::string& value);
  OutputLine& text(const char* value);
  OutputLine& time(const RTI::FedTime& value);
  OutputLine& handles(const RTI::AttributeHandleSet& set);
  OutputLine& values(const RTI::AttributeHandleValuePairSet& set);
  OutputLine& values(const RTI::ParameterHandleValuePairSet& set);
  OutputLine& retraction(RTI::EventRetractionHandle handle);

  const std::string& str() const { return line_; }

  // A value as the line writes it: quoted text, or 0x and hexadecimal.
  static std::string valueText(const char* data, unsigned long length);
  // A handle set as the line writes it: {1,2}.
  static std::string handlesText(const RTI::AttributeHandleSet& set);

private:
  template <class Set>
  OutputLine& valueSet(const Set& set);

  std::string line_;
};
