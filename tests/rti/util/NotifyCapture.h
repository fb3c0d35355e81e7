#pragma once
// Records what the report functions print, for the life of the object: it
// installs a recording handler, sets the notify level and turns off the copy
// to standard output; the destructor puts the defaults back.

#include <string>
#include <utility>
#include <vector>

#include "util/DtNotify.h"
#include "util/DtNotifyHandler.h"

class NotifyCapture {
public:
  struct Piece {
    std::string text;
    int flag;
  };

  explicit NotifyCapture(int level = 2) {
    DtSetNotifyLevel(level);
    DtOpenLogOutput(nullptr, 0, 0);
    DtSetNotifyHandler(new Recorder(this));
  }
  ~NotifyCapture() {
    DtSetNotifyHandler(new DtNotifyHandler);
    DtCloseConsole();
    DtOpenLogOutput(nullptr, 0, 1);
    DtSetNotifyLevel(2);
    DtSetExitFunction(nullptr);
  }
  NotifyCapture(const NotifyCapture&) = delete;
  NotifyCapture& operator=(const NotifyCapture&) = delete;

  // Everything the handler was given, joined.
  std::string text() const {
    std::string all;
    for (const Piece& piece : pieces) all += piece.text;
    return all;
  }
  void clear() { pieces.clear(); }

  std::vector<Piece> pieces;

private:
  class Recorder : public DtNotifyHandler {
  public:
    explicit Recorder(NotifyCapture* owner) : owner_(owner) {}
    void notify(const char* text, int flag) override { owner_->pieces.push_back({text, flag}); }

  private:
    NotifyCapture* owner_;
  };
};
