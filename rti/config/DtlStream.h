// The reader's input: one interface over files and in-memory texts.
#pragma once

class DtlObj;

// Characters are 0 to 255; -1 is the end of the input.
class DtlStream {
public:
  // A file stream may raise the language error when its file fails to close.
  virtual ~DtlStream() noexcept(false) = default;
  // The next character, pushed back again; -1 at the end.
  virtual int peek();
  // Pushes ch back (one character; -1 pushes nothing); returns ch.
  virtual int unget(int ch) = 0;
  // The next character, or -1 at the end.
  virtual int getc() = 0;
  // Skips white space and ';' comments; the first other character, or -1.
  virtual int nextNonBlank();
  // Reads up to and including ch (or to the end); returns ch.
  virtual int flushUntil(int ch);

  // The line of the next character (1 for the first), where the stream
  // counts lines; 0 where it does not.
  virtual int line() const { return 0; }
  // Told of every non-empty list the reader makes, with the line of its
  // '('; nothing is kept here. A reader of a file that must say where a
  // list stands (the FED reader) keeps it.
  virtual void listRead(const DtlObj* list, int line) {
    (void)list;
    (void)line;
  }

  // Space, tab, newline, vertical tab, form feed, carriage return.
  static bool isBlank(int ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
  }
};
