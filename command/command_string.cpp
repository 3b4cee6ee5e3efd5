#include "command_string.h"

#include <cstring>

#include "capacities.h"
#include "contract.h"

Text ComposeCommandString(const char* systemRoot, const char* dumpPath) {
  const char* root = systemRoot ? systemRoot : kMissingRoot;
  // An over-long system root cuts the string like any over-capacity text.
  Text text(kCommandCapacity);
  text += kCommandHead;
  text += root;
  text += kCommandAfterRoot1;
  text += root;
  text += kCommandAfterRoot2;
  text += root;
  text += kCommandAfterRoot3;
  text.Append(dumpPath, kDumpPathCapacity - 1);
  text += kCommandTail;
  return text;
}

bool DumpFieldWasCut(const char* field, const char* dump) {
  const std::size_t carried = kDumpPathCapacity - 1;
  if (std::strlen(field) <= carried || std::strlen(dump) != carried) return false;
  for (std::size_t i = 0; i < carried; ++i)
    if (field[i] != dump[i]) return false;
  return true;
}
