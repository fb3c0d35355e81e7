#pragma once
// A message whose received body must be exactly its fixed part and the
// parts its counts and sizes describe: a body shorter, or longer, than that
// is not sound; status() says so and statusText() says why (the receiving
// connection reports it, at most once a second for each kind and fault).
// Used as the base of a message class (DtMsgClass<Self, DtExactBody<DtRtiMsg>,
// Net, Kind>).

#include <string>

#include "msg/DtRtiMsg.h"

template <class Base>
class DtExactBody : public Base {
public:
  int status() const override {
    const int checked = Base::status();
    if (checked != DtRtiMsg::Valid) return checked;
    return bodyEnd() == this->size() ? DtRtiMsg::Valid : DtRtiMsg::BadContent;
  }
  std::string statusText(int status) const override {
    if (status == DtRtiMsg::Valid) return "";
    const std::string body = std::string(this->className()) + ": a received body of " + std::to_string(this->size());
    if (status == DtRtiMsg::BadContent && Base::status() == DtRtiMsg::Valid) {
      return body + " bytes where its counts and sizes call for " + std::to_string(bodyEnd()) + "; dropped";
    }
    return body + " bytes that " + reason(status) + "; dropped";
  }

protected:
  using Base::Base;

private:
  // Where the last part ends (status has found every part within the body).
  long bodyEnd() const {
    const DtMsgLayout* l = this->layout();
    if (!l || l->parts.empty()) return this->partsStart();
    const int last = static_cast<int>(l->parts.size()) - 1;
    return static_cast<long>(this->partOffset(last)) + this->partLength(last);
  }
  static const char* reason(int status) {
    switch (status) {
      case DtRtiMsg::TooShort: return "is shorter than its fixed part or its header's length";
      case DtRtiMsg::PartPastEnd: return "its counts and sizes reach past";
      default: return "is not sound";
    }
  }
};
