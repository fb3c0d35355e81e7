#include "config/DtFedReader.h"

#include <strings.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "config/DtConfigDirectory.h"
#include "config/DtFomBuilder.h"
#include "config/DtMtlEnvironment.h"
#include "config/DtlCons.h"
#include "config/DtlEnv.h"
#include "config/DtlError.h"
#include "config/DtlFileStream.h"
#include "config/DtlObj.h"
#include "config/DtlReader.h"
#include "util/DtFilename.h"
#include "util/DtNotify.h"

// The file's stream, which keeps the line of every list the reader makes.
class DtFedReader::LineStream : public DtlFileStream {
public:
  using DtlFileStream::DtlFileStream;
  void listRead(const DtlObj* list, int line) override { lines[list] = line; }
  std::unordered_map<const DtlObj*, int> lines;
};

namespace {

bool isList(const DtlObjPtr& value) { return DtcIs(value, DtlConsTag) || DtcIsNil(value); }

bool isKeyword(const DtlObjPtr& value, const char* keyword) {
  return DtcIs(value, DtlSymbolTag) && value->pname() && std::strcmp(value->pname(), keyword) == 0;
}

// A name or value is written as a word or as a string; anything else (a
// number, a list) has no text.
const char* textOf(const DtlObjPtr& value) {
  if (DtcIs(value, DtlSymbolTag) || DtcIs(value, DtlStringTag)) return value->name();
  return nullptr;
}

// What stands in the file, for a refusal: a word, a "string", a number, or
// a list by its first element.
std::string found(const DtlObjPtr& value) {
  if (DtcIsNil(value)) return "()";
  if (DtcIs(value, DtlSymbolTag)) return value->pname() ? value->pname() : "";
  if (DtcIs(value, DtlStringTag)) return std::string("\"") + (value->name() ? value->name() : "") + "\"";
  if (DtcIs(value, DtlIntegerTag)) return std::to_string(value->intValue());
  if (DtcIs(value, DtlFloatTag)) return std::to_string(value->floatValue());
  if (DtcIs(value, DtlConsTag)) return "(" + found(car(value)) + (DtcIs(cdr(value), DtlConsTag) ? " ...)" : ")");
  return "a value of another kind";
}

// The text of a name the model needs. A name without text cannot be handed
// on, and an empty one would give a class the full name of its base and a
// dot; either ends the read like any other error of the language.
const char* nameOf(const DtlObjPtr& value) {
  const char* text = textOf(value);
  if (!text) DtlError("FED names must be words or strings");
  if (!*text) DtlError("FED names must not be empty");
  return text;
}

bool sameWord(const char* text, const char* word) { return text && strcasecmp(text, word) == 0; }

// 0 for the first word, 1 for the second (ignoring case), -1 for neither;
// the words are listed in the order of their enumerator values.
int wordIndex(const DtlObjPtr& value, const char* first, const char* second) {
  const char* text = textOf(value);
  return sameWord(text, first) ? 0 : sameWord(text, second) ? 1 : -1;
}

// The base of a root class is none; the trace says so in words.
const char* baseText(const char* base) { return base ? base : "(null)"; }

std::string fullName(const char* base, const char* name) {
  return base ? std::string(base) + "." + name : std::string(name);
}

// "a list of 2 elements, found 3".
std::string elementCount(const DtlObjPtr& list) {
  const int length = DtcLength(list);
  return std::to_string(length) + (length == 1 ? " element" : " elements");
}

}  // namespace

DtFedReader::~DtFedReader() = default;

int DtFedReader::readFed(const char* fileName, DtFomBuilder* builder) {
  builder_ = builder;
  refusal_.clear();
  refusedFor_.clear();
  refusedLine_ = 0;
  currentLine_ = 1;
  std::FILE* file = openFedFile(fileName);
  if (!file) return noFile;
  const int result = readExpression(file);
  lines_ = nullptr;
  if (result == badFile) {
    if (refusedFor_.empty()) refusedFor_ = "the file could not be read";
    refusal_ = opened_ + ", line " + std::to_string(refusedLine_) + ": " + refusedFor_;
    DtNotifyError("%s\n", refusal_.c_str());
  }
  return result;
}

int DtFedReader::readExpression(std::FILE* file) {
  std::unique_ptr<LineStream> stream(new (std::nothrow) LineStream(file));
  if (!stream) {
    std::fclose(file);
    return noFile;
  }
  lines_ = &stream->lines;
  bool read = false;
  try {
    // A fresh interpreter: the symbols of one model never meet another's.
    DtMtlEnvironment environment;
    const DtlObjPtr& frame = environment.environment();
    const DtlObjPtr fed = lread(stream.get(), frame);
    read = true;
    const int endLine = stream->line();
    stream->close();
    if (fed == DtcIntern("eof", frame)) {
      DtNotifyError("Unable to find FED in fedfile\n");
      currentLine_ = endLine;
      return refuse(DtlObjPtr(), "expected (FED ...), found nothing");
    }
    return parseFed(fed);
  } catch (const DtlObjPtr&) {
    // The language error has printed what it met. One while reading stands
    // where the stream stopped; one while walking in the list walked last.
    if (!read) currentLine_ = stream->line();
    refuse(DtlObjPtr(), DtlLastErrorMessage());
  } catch (...) {
    // A builder that refused a part (a name given twice) has said why; the
    // caller drops what it built.
    refuse(DtlObjPtr(), "the model refused this part (the message before says why)");
  }
  DtNotifyError("Unexpected problem reading fed file\n");
  return badFile;
}

int DtFedReader::lineOf(const DtlObjPtr& list) {
  if (lines_ && list) {
    const auto found = lines_->find(list.get());
    if (found != lines_->end()) currentLine_ = found->second;
  }
  return currentLine_;
}

int DtFedReader::refuse(const DtlObjPtr& list, const std::string& expected) {
  const int line = lineOf(list);
  if (refusedFor_.empty()) {
    refusedLine_ = line;
    refusedFor_ = expected;
  }
  return badFile;
}

std::FILE* DtFedReader::openFedFile(const char* fileName) {
  if (!fileName) fileName = "";
  // A name written for another system ("foms\\x.fed") is a path here too.
  const DtFilename name(fileName);
  if (std::FILE* file = std::fopen(name.string(), "r")) {
    DtNotifyVerbose("Reading FED file: %s\n", name.string());
    opened_ = name.string();
    return file;
  }
  if (const std::string directory = DtConfigDirectory(); !directory.empty()) {
    const DtFilename path((directory + "/" + name.string()).c_str());
    if (std::FILE* file = std::fopen(path.string(), "r")) {
      DtNotifyVerbose("Reading FED file: %s\n", path.string());
      opened_ = path.string();
      return file;
    }
  }
  DtNotifyError("No such FED file: %s\n", fileName);
  return nullptr;
}

int DtFedReader::parseFed(const DtlObjPtr& fed) {
  constexpr const char* shape =
      "(FED (Federation name) (FEDversion version) (spaces ...) (objects ...) "
      "(interactions ...))";
  if (!DtcIs(fed, DtlConsTag)) {
    DtNotifyVerbose("File is not a fed file\n");
    return refuse(fed, std::string("expected ") + shape + ", found " + found(fed));
  }
  if (DtcLength(fed) != 6) {
    std::string extra;
    for (const DtlObjPtr* cell = &cdr(fed); DtcIs(*cell, DtlConsTag) && extra.empty(); cell = &(*cell)->second()) {
      const DtlObjPtr& part = (*cell)->first();
      bool known = false;
      for (const char* keyword : {"Federation", "FEDversion", "spaces", "objects", "interactions"}) {
        known = known || (DtcIs(part, DtlConsTag) && isKeyword(car(part), keyword));
      }
      if (!known) extra = "; " + found(part) + " is none of these";
    }
    return refuse(fed, std::string("expected ") + shape + ", a list of 6 elements, found " + elementCount(fed) + extra);
  }
  if (!isKeyword(car(fed), "FED")) {
    DtNotifyError("Symbol FED not found\n");
    return refuse(fed, "expected the word FED first, found " + found(car(fed)));
  }
  int result = parseFederation(DtcNth(fed, 2));
  if (result == accepted) result = parseFedVersion(DtcNth(fed, 3));
  if (result == accepted) result = parseSpaces(DtcNth(fed, 4));
  if (result == accepted) result = parseObjects(DtcNth(fed, 5));
  if (result == accepted) result = parseInteractions(DtcNth(fed, 6));
  return result;
}

void DtFedReader::expectList(const DtlObjPtr& value, const char* shape) {
  // The language error that taking its elements raises ends the read; this
  // says what should have stood there.
  if (!DtcIs(value, DtlConsTag)) refuse(value, std::string("expected ") + shape + ", found " + found(value));
}

int DtFedReader::parseFederation(const DtlObjPtr& list) {
  expectList(list, "(Federation name)");
  if (!isKeyword(car(list), "Federation")) {
    DtNotifyError("Symbol Federation not found\n");
    return refuse(list, "expected (Federation name), found " + found(list));
  }
  return accepted;
}

int DtFedReader::parseFedVersion(const DtlObjPtr& list) {
  expectList(list, "(FEDversion version)");
  if (!isKeyword(car(list), "FEDversion")) {
    DtNotifyError("Symbol FEDversion not found\n");
    return refuse(list, "expected (FEDversion version), found " + found(list));
  }
  return accepted;
}

int DtFedReader::parseSpaces(const DtlObjPtr& list) {
  expectList(list, "(spaces (space ...) ...)");
  if (!isKeyword(car(list), "spaces")) {
    DtNotifyError("Symbol spaces not found\n");
    return refuse(list, "expected (spaces (space ...) ...), found " + found(list));
  }
  lineOf(list);
  for (const DtlObjPtr* cell = &cdr(list); DtcIs(*cell, DtlConsTag); cell = &(*cell)->second()) {
    if (const int result = parseSpace((*cell)->first()); result != accepted) return result;
  }
  return accepted;
}

int DtFedReader::parseSpace(const DtlObjPtr& list) {
  constexpr const char* shape = "(space name (dimension name) ...)";
  expectList(list, shape);
  if (!isKeyword(car(list), "space")) {
    DtNotifyError("Symbol space not found\n");
    return refuse(list, std::string("expected ") + shape + ", found " + found(list));
  }
  if (DtcLength(list) < 2) refuse(list, std::string("expected ") + shape + ", found a space without a name");
  lineOf(list);
  const char* space = nameOf(DtcNth(list, 2));
  DtNotifyVerbose("Space: %s\n", space);
  if (builder_) builder_->addSpace(space);
  for (const DtlObjPtr* cell = &cdr(cdr(list)); DtcIs(*cell, DtlConsTag); cell = &(*cell)->second()) {
    if (const int result = parseDimension((*cell)->first(), space); result != accepted) return result;
  }
  return accepted;
}

int DtFedReader::parseDimension(const DtlObjPtr& list, const char* space) {
  if (DtcLength(list) != 2) {
    return refuse(list, "expected (dimension name), a list of 2 elements, found " + elementCount(list));
  }
  if (!isKeyword(car(list), "dimension")) {
    DtNotifyError("Symbol dimension not found\n");
    return refuse(list, "expected (dimension name), found " + found(list));
  }
  const char* dimension = nameOf(DtcNth(list, 2));
  DtNotifyVerbose("Dimension: %s\n", dimension);
  if (builder_) builder_->addDimension(space, dimension);
  return accepted;
}

const DtlObjPtr* DtFedReader::sectionRoot(const DtlObjPtr& list, const char* keyword, const char* rootName,
                                          const char* rootMessage) {
  if (DtcLength(list) != 2) {
    refuse(list, std::string("expected (") + keyword + " (class " + rootName + " ...)), every class within " +
                     rootName + ", a list of 2 elements, found " + elementCount(list));
    return nullptr;
  }
  if (!isKeyword(car(list), keyword)) {
    DtNotifyError("Symbol %s not found\n", keyword);
    refuse(list, std::string("expected (") + keyword + " (class " + rootName + " ...)), found " + found(list));
    return nullptr;
  }
  const DtlObjPtr& root = DtcNth(list, 2);
  expectList(root, (std::string("(class ") + rootName + " ...)").c_str());
  if (!sameWord(textOf(DtcNth(root, 2)), rootName)) {
    DtNotifyError("%s", rootMessage);
    refuse(root, std::string("expected the root class ") + rootName + ", found " + found(DtcNth(root, 2)));
    return nullptr;
  }
  return &root;
}

int DtFedReader::parseObjects(const DtlObjPtr& list) {
  const DtlObjPtr* root = sectionRoot(list, "objects", "ObjectRoot", "ObjectRoot not found\n");
  return root ? parseObjectClass(*root, nullptr) : badFile;
}

int DtFedReader::walkMembers(const DtlObjPtr* cell, const char* memberKeyword, const char* shape,
                             const std::function<int(const DtlObjPtr&)>& member,
                             const std::function<int(const DtlObjPtr&)>& subclass) {
  for (; DtcIs(*cell, DtlConsTag); cell = &(*cell)->second()) {
    const DtlObjPtr& element = (*cell)->first();
    int result;
    if (DtcIs(element, DtlConsTag) && isKeyword(car(element), memberKeyword)) {
      result = member(element);
    } else if (DtcIs(element, DtlConsTag) && isKeyword(car(element), "class")) {
      result = subclass(element);
    } else {
      DtNotifyError("Unexpected symbol found\n");
      result = refuse(element, std::string("expected ") + shape + " or (class ...), found " + found(element));
    }
    if (result != accepted) return result;
  }
  return accepted;
}

int DtFedReader::parseObjectClass(const DtlObjPtr& list, const char* base) {
  if (DtcLength(list) < 2) return refuse(list, "expected (class name ...), found " + found(list));
  if (!isKeyword(car(list), "class")) {
    DtNotifyError("Symbol class not found\n");
    return refuse(list, "expected (class name ...), found " + found(list));
  }
  lineOf(list);
  const std::string name = fullName(base, nameOf(DtcNth(list, 2)));
  DtNotifyVerbose("Class: %s, Base: %s \n", name.c_str(), baseText(base));
  if (builder_) builder_->addObjClass(name.c_str(), base);
  // Attributes and subclasses may come in any order.
  const char* full = name.c_str();
  return walkMembers(
      &cdr(cdr(list)), "attribute", "(attribute name transport order [space])",
      [&](const DtlObjPtr& member) { return parseAttribute(member, full); },
      [&](const DtlObjPtr& member) { return parseObjectClass(member, full); });
}

int DtFedReader::readTransportOrder(const DtlObjPtr& list, int first, const char* kind, const char* name,
                                    DtTransportType* transport, DtOrderType* order) {
  const DtlObjPtr& transportWord = DtcNth(list, first);
  const int transportIndex = wordIndex(transportWord, "best_effort", "reliable");
  if (transportIndex < 0) {
    DtNotifyError("Invalid TransportType for %s: %s\n", kind, name);
    return refuse(list, std::string("expected the transport best_effort or reliable for ") + name + ", found " +
                            found(transportWord));
  }
  const DtlObjPtr& orderWord = DtcNth(list, first + 1);
  const int orderIndex = wordIndex(orderWord, "receive", "timestamp");
  if (orderIndex < 0) {
    DtNotifyError("Invalid OrderType for %s: %s\n", kind, name);
    return refuse(list,
                  std::string("expected the order receive or timestamp for ") + name + ", found " + found(orderWord));
  }
  *transport = transportIndex == 0 ? DtBestEffort : DtReliable;
  *order = orderIndex == 0 ? DtReceiveOrder : DtTimestampOrder;
  return accepted;
}

int DtFedReader::parseAttribute(const DtlObjPtr& list, const char* className) {
  constexpr const char* shape = "(attribute name transport order [space])";
  const int length = DtcLength(list);
  if (length < 4 || length > 5) {
    return refuse(list, std::string("expected ") + shape + ", a list of 4 or 5 elements, found " + elementCount(list));
  }
  if (!isKeyword(car(list), "attribute")) {
    DtNotifyVerbose("Symbol attribute expected\n");
    return refuse(list, std::string("expected ") + shape + ", found " + found(list));
  }
  const char* name = nameOf(DtcNth(list, 2));
  DtTransportType transport;
  DtOrderType order;
  if (readTransportOrder(list, 3, "Attribute", name, &transport, &order) != accepted) return badFile;
  const char* space = length == 5 ? nameOf(DtcNth(list, 5)) : nullptr;
  if (space) {
    DtNotifyVerbose("Attribute: %s, transport: %s, order: %s, space: %s\n", name, textOf(DtcNth(list, 3)),
                    textOf(DtcNth(list, 4)), space);
  } else {
    DtNotifyVerbose("Attribute: %s, transport: %s, order: %s\n", name, textOf(DtcNth(list, 3)),
                    textOf(DtcNth(list, 4)));
  }
  if (builder_) builder_->addAttribute(className, name, transport, order, space);
  return accepted;
}

int DtFedReader::parseInteractions(const DtlObjPtr& list) {
  const DtlObjPtr* root = sectionRoot(list, "interactions", "InteractionRoot", "InteractionRoot not found\n");
  return root ? parseInteractionClass(*root, nullptr) : badFile;
}

int DtFedReader::parseInteractionClass(const DtlObjPtr& list, const char* base) {
  constexpr const char* shape = "(class name transport order [space] ...)";
  const int length = DtcLength(list);
  if (length < 4) {
    return refuse(list, std::string("expected ") + shape + ", at least 4 elements, found " + elementCount(list));
  }
  if (!isKeyword(car(list), "class")) {
    DtNotifyError("Symbol class not found\n");
    return refuse(list, std::string("expected ") + shape + ", found " + found(list));
  }
  lineOf(list);
  const char* shortName = nameOf(DtcNth(list, 2));
  DtTransportType transport;
  DtOrderType order;
  if (readTransportOrder(list, 3, "Interaction", shortName, &transport, &order) != accepted) return badFile;
  const std::string name = fullName(base, shortName);
  // A fifth element that is not a list names the routing space.
  const DtlObjPtr* members = &cdr(cdr(cdr(cdr(list))));
  const char* space = nullptr;
  if (length >= 5 && !isList(car(*members))) {
    space = nameOf(car(*members));
    members = &cdr(*members);
  }
  if (space) {
    DtNotifyVerbose("Class: %s, base: %s, transport: %s, order: %s, space: %s\n", name.c_str(), baseText(base),
                    textOf(DtcNth(list, 3)), textOf(DtcNth(list, 4)), space);
  } else {
    DtNotifyVerbose("Class: %s, base: %s, transport: %s, order: %s\n", name.c_str(), baseText(base),
                    textOf(DtcNth(list, 3)), textOf(DtcNth(list, 4)));
  }
  if (builder_) builder_->addInterClass(name.c_str(), base, transport, order, space);
  const char* full = name.c_str();
  return walkMembers(
      members, "parameter", "(parameter name)", [&](const DtlObjPtr& member) { return parseParameter(member, full); },
      [&](const DtlObjPtr& member) { return parseInteractionClass(member, full); });
}

int DtFedReader::parseParameter(const DtlObjPtr& list, const char* className) {
  if (DtcLength(list) != 2) {
    DtNotifyError("parameter must be followed by a single string\n");
    return refuse(list, "expected (parameter name), a list of 2 elements, found " + elementCount(list));
  }
  if (!isKeyword(car(list), "parameter")) {
    DtNotifyError("Symbol parameter expected\n");
    return refuse(list, "expected (parameter name), found " + found(list));
  }
  const char* parameter = nameOf(DtcNth(list, 2));
  DtNotifyVerbose("Parameter: %s\n", parameter);
  if (builder_) builder_->addParameter(className, parameter);
  return accepted;
}
