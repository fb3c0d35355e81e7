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

// The transport and order of an attribute or interaction class; `kind` is
// "Attribute" or "Interaction" for the messages.
bool readTransportOrder(const DtlObjPtr& transportWord, const DtlObjPtr& orderWord, const char* kind,
                        const char* name, DtTransportType* transport, DtOrderType* order) {
  const int transportIndex = wordIndex(transportWord, "best_effort", "reliable");
  if (transportIndex < 0) {
    DtNotifyError("Invalid TransportType for %s: %s\n", kind, name);
    return false;
  }
  const int orderIndex = wordIndex(orderWord, "receive", "timestamp");
  if (orderIndex < 0) {
    DtNotifyError("Invalid OrderType for %s: %s\n", kind, name);
    return false;
  }
  *transport = transportIndex == 0 ? DtBestEffort : DtReliable;
  *order = orderIndex == 0 ? DtReceiveOrder : DtTimestampOrder;
  return true;
}

// The base of a root class is none; the trace says so in words.
const char* baseText(const char* base) { return base ? base : "(null)"; }

std::string fullName(const char* base, const char* name) {
  return base ? std::string(base) + "." + name : std::string(name);
}

// The root class list of (objects (class ObjectRoot ...)) or of
// (interactions (class InteractionRoot ...)); null when the section has
// another shape (with a message when it is misnamed or its root is).
const DtlObjPtr* sectionRoot(const DtlObjPtr& list, const char* keyword, const char* rootName,
                             const char* rootMessage) {
  if (DtcLength(list) != 2) return nullptr;
  if (!isKeyword(car(list), keyword)) {
    DtNotifyError("Symbol %s not found\n", keyword);
    return nullptr;
  }
  const DtlObjPtr& root = DtcNth(list, 2);
  if (!sameWord(textOf(DtcNth(root, 2)), rootName)) {
    DtNotifyError("%s", rootMessage);
    return nullptr;
  }
  return &root;
}

// Walks the elements of a list from `cell` on, stopping at the first that is
// not accepted; that one's result, or accepted.
template <class Walk>
int walkElements(const DtlObjPtr* cell, Walk walk) {
  for (; DtcIs(*cell, DtlConsTag); cell = &(*cell)->second()) {
    if (const int result = walk((*cell)->first()); result != DtFedReader::accepted) return result;
  }
  return DtFedReader::accepted;
}

// The members of a class: lists that start with `memberKeyword` (attribute
// or parameter) or with class, in any order.
template <class Member, class Subclass>
int walkMembers(const DtlObjPtr* cell, const char* memberKeyword, Member member, Subclass subclass) {
  return walkElements(cell, [&](const DtlObjPtr& element) {
    if (DtcIs(element, DtlConsTag) && isKeyword(car(element), memberKeyword)) return member(element);
    if (DtcIs(element, DtlConsTag) && isKeyword(car(element), "class")) return subclass(element);
    DtNotifyError("Unexpected symbol found\n");
    return DtFedReader::badFile;
  });
}

}  // namespace

DtFedReader::~DtFedReader() = default;

int DtFedReader::readFed(const char* fileName, DtFomBuilder* builder) {
  builder_ = builder;
  std::FILE* file = openFedFile(fileName);
  if (!file) return noFile;
  return readExpression(file);
}

int DtFedReader::readExpression(std::FILE* file) {
  std::unique_ptr<DtlFileStream> stream(new (std::nothrow) DtlFileStream(file));
  if (!stream) {
    std::fclose(file);
    return noFile;
  }
  try {
    // A fresh interpreter: the symbols of one model never meet another's.
    DtMtlEnvironment environment;
    const DtlObjPtr& frame = environment.environment();
    const DtlObjPtr fed = lread(stream.get(), frame);
    stream->close();
    if (fed == DtcIntern("eof", frame)) {
      DtNotifyError("Unable to find FED in fedfile\n");
      return badFile;
    }
    return parseFed(fed);
  } catch (const DtlObjPtr&) {
    // The language error has printed what it met.
  } catch (...) {
    // A builder that refused a part (a name given twice) has said why; the
    // caller drops what it built.
  }
  DtNotifyError("Unexpected problem reading fed file\n");
  return badFile;
}

std::FILE* DtFedReader::openFedFile(const char* fileName) {
  if (!fileName) fileName = "";
  // A name written for another system ("foms\\x.fed") is a path here too.
  const DtFilename name(fileName);
  if (std::FILE* file = std::fopen(name.string(), "r")) {
    DtNotifyVerbose("Reading FED file: %s\n", name.string());
    return file;
  }
  if (const std::string directory = DtConfigDirectory(); !directory.empty()) {
    const DtFilename path((directory + "/" + name.string()).c_str());
    if (std::FILE* file = std::fopen(path.string(), "r")) {
      DtNotifyVerbose("Reading FED file: %s\n", path.string());
      return file;
    }
  }
  DtNotifyError("No such FED file: %s\n", fileName);
  return nullptr;
}

int DtFedReader::parseFed(const DtlObjPtr& fed) {
  if (!DtcIs(fed, DtlConsTag)) {
    DtNotifyVerbose("File is not a fed file\n");
    return badFile;
  }
  if (DtcLength(fed) != 6) return badFile;
  if (!isKeyword(car(fed), "FED")) {
    DtNotifyError("Symbol FED not found\n");
    return badFile;
  }
  int result = parseFederation(DtcNth(fed, 2));
  if (result == accepted) result = parseFedVersion(DtcNth(fed, 3));
  if (result == accepted) result = parseSpaces(DtcNth(fed, 4));
  if (result == accepted) result = parseObjects(DtcNth(fed, 5));
  if (result == accepted) result = parseInteractions(DtcNth(fed, 6));
  return result;
}

int DtFedReader::parseFederation(const DtlObjPtr& list) {
  if (!isKeyword(car(list), "Federation")) {
    DtNotifyError("Symbol Federation not found\n");
    return badFile;
  }
  return accepted;
}

int DtFedReader::parseFedVersion(const DtlObjPtr& list) {
  if (!isKeyword(car(list), "FEDversion")) {
    DtNotifyError("Symbol FEDversion not found\n");
    return badFile;
  }
  return accepted;
}

int DtFedReader::parseSpaces(const DtlObjPtr& list) {
  if (!isKeyword(car(list), "spaces")) {
    DtNotifyError("Symbol spaces not found\n");
    return badFile;
  }
  return walkElements(&cdr(list), [&](const DtlObjPtr& space) { return parseSpace(space); });
}

int DtFedReader::parseSpace(const DtlObjPtr& list) {
  if (!isKeyword(car(list), "space")) {
    DtNotifyError("Symbol space not found\n");
    return badFile;
  }
  const char* space = nameOf(DtcNth(list, 2));
  DtNotifyVerbose("Space: %s\n", space);
  if (builder_) builder_->addSpace(space);
  return walkElements(&cdr(cdr(list)), [&](const DtlObjPtr& dimension) { return parseDimension(dimension, space); });
}

int DtFedReader::parseDimension(const DtlObjPtr& list, const char* space) {
  if (DtcLength(list) != 2) return badFile;
  if (!isKeyword(car(list), "dimension")) {
    DtNotifyError("Symbol dimension not found\n");
    return badFile;
  }
  const char* dimension = nameOf(DtcNth(list, 2));
  DtNotifyVerbose("Dimension: %s\n", dimension);
  if (builder_) builder_->addDimension(space, dimension);
  return accepted;
}

int DtFedReader::parseObjects(const DtlObjPtr& list) {
  const DtlObjPtr* root = sectionRoot(list, "objects", "objectroot", "ObjectRoot not found\n");
  return root ? parseObjectClass(*root, nullptr) : badFile;
}

int DtFedReader::parseObjectClass(const DtlObjPtr& list, const char* base) {
  if (DtcLength(list) < 2) return badFile;
  if (!isKeyword(car(list), "class")) {
    DtNotifyError("Symbol class not found\n");
    return badFile;
  }
  const std::string name = fullName(base, nameOf(DtcNth(list, 2)));
  DtNotifyVerbose("Class: %s, Base: %s \n", name.c_str(), baseText(base));
  if (builder_) builder_->addObjClass(name.c_str(), base);
  // Attributes and subclasses may come in any order.
  const char* full = name.c_str();
  return walkMembers(
      &cdr(cdr(list)), "attribute", [&](const DtlObjPtr& member) { return parseAttribute(member, full); },
      [&](const DtlObjPtr& member) { return parseObjectClass(member, full); });
}

int DtFedReader::parseAttribute(const DtlObjPtr& list, const char* className) {
  const int length = DtcLength(list);
  if (length < 4 || length > 5) return badFile;
  if (!isKeyword(car(list), "attribute")) {
    DtNotifyVerbose("Symbol attribute expected\n");
    return badFile;
  }
  const char* name = nameOf(DtcNth(list, 2));
  DtTransportType transport;
  DtOrderType order;
  if (!readTransportOrder(DtcNth(list, 3), DtcNth(list, 4), "Attribute", name, &transport, &order)) return badFile;
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
  const DtlObjPtr* root = sectionRoot(list, "interactions", "interactionroot", "InteractionRoot not found\n");
  return root ? parseInteractionClass(*root, nullptr) : badFile;
}

int DtFedReader::parseInteractionClass(const DtlObjPtr& list, const char* base) {
  const int length = DtcLength(list);
  if (length < 4) return badFile;
  if (!isKeyword(car(list), "class")) {
    DtNotifyError("Symbol class not found\n");
    return badFile;
  }
  const char* shortName = nameOf(DtcNth(list, 2));
  DtTransportType transport;
  DtOrderType order;
  if (!readTransportOrder(DtcNth(list, 3), DtcNth(list, 4), "Interaction", shortName, &transport, &order)) {
    return badFile;
  }
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
      members, "parameter", [&](const DtlObjPtr& member) { return parseParameter(member, full); },
      [&](const DtlObjPtr& member) { return parseInteractionClass(member, full); });
}

int DtFedReader::parseParameter(const DtlObjPtr& list, const char* className) {
  if (DtcLength(list) != 2) {
    DtNotifyError("parameter must be followed by a single string\n");
    return badFile;
  }
  if (!isKeyword(car(list), "parameter")) {
    DtNotifyError("Symbol parameter expected\n");
    return badFile;
  }
  const char* parameter = nameOf(DtcNth(list, 2));
  DtNotifyVerbose("Parameter: %s\n", parameter);
  if (builder_) builder_->addParameter(className, parameter);
  return accepted;
}
