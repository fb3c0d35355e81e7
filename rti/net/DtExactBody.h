#pragma once
// A message whose received body must be exactly its fixed part and the
// parts its counts and sizes describe: a body shorter, or longer, than that
// is not sound, and status() says so with an error line. Used as the base
// of a message class (DtMsgClass<Self, DtExactBody<DtRtiMsg>, Net, Kind>).

#include "net/DtRtiMsg.h"
#include "util/DtNotify.h"

template <class Base>
class DtExactBody : public Base {
public:
  int status() const override {
    const int checked = Base::status();
    if (checked != DtRtiMsg::Valid) {
      DtNotifyError("%s: a received body of %d bytes that %s; dropped\n", this->className(), this->size(),
                    reason(checked));
      return checked;
    }
    const long end = bodyEnd();
    if (end == this->size()) return DtRtiMsg::Valid;
    DtNotifyError("%s: a received body of %d bytes where its counts and sizes call for %ld; dropped\n",
                  this->className(), this->size(), end);
    return DtRtiMsg::BadContent;
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
