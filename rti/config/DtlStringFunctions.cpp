// String built-ins.
#include <cstring>
#include <string>
#include <vector>

#include "config/DtlArgs.h"
#include "config/DtlBuiltins.h"
#include "util/DtNotify.h"

namespace {

// The strings of one path-cross argument: a list of one to seven strings.
// Anything but a list counts as no strings, and so does a longer list, with a
// message.
std::vector<const char*> DtcListToStr(const DtlObjPtr& list) {
  std::vector<const char*> texts;
  if (!DtcIs(list, DtlConsTag)) return texts;
  const std::int32_t length = DtcLength(list);
  if (length > 7) {
    DtNotifyError("DtcListToStr: list too long: %d\n", static_cast<int>(length));
    return texts;
  }
  for (const DtlObjPtr* cell = &list; !DtcIsNil(*cell); cell = &cdr(*cell))
    texts.push_back(DtcExpectString(car(*cell), "Non-string to path-cross"));
  return texts;
}

}  // namespace

DtlObjPtr DtlStringAppend(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, -1, "Wrong number of args to string-append");
  std::string text;
  for (const DtlObjPtr* cell = &args; !DtcIsNil(*cell); cell = &cdr(*cell))
    text += DtcExpectString(car(*cell), "Non-string to string-append");
  DtlObjPtr result = DtcAllocate(DtlStringTag, "Out of memory in string-append");
  result->setString(text.c_str());
  return result;
}

DtlObjPtr DtcStringEqual(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 2, 2, "Wrong number of arguments to string-equal");
  const char* a = DtcExpectString(car(args), "Wrong type arg to DtcStringEqual");
  const char* b = DtcExpectString(DtcNth(args, 2), "Wrong type arg to DtcStringEqual");
  return DtcBool(std::strcmp(a, b) == 0);
}

// ".", then ":" a b for every a of the first list and b of the second: the
// search path of every directory crossed with every file name.
DtlObjPtr DtlPathCross(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 2, 2, "Need two args to path-cross");
  const std::vector<const char*> firsts = DtcListToStr(car(args));
  const std::vector<const char*> seconds = DtcListToStr(DtcNth(args, 2));
  std::string path = ".";
  for (const char* a : firsts) {
    for (const char* b : seconds) {
      path += ':';
      path += a;
      path += b;
    }
  }
  return DtcMakeString(path.c_str());
}
