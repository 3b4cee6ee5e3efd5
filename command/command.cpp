#include "command.h"

#include <cstring>

#include "capacities.h"
#include "contract.h"
#include "texts.h"

namespace {

std::string Cut(std::string text, std::size_t capacity) {
  if (text.size() > capacity - 1) text.resize(capacity - 1);
  return text;
}

constexpr std::size_t kDebuggerNameLength = sizeof kDebuggerFileName - 1;

}  // namespace

std::string ComposeCommandString(const char* systemRoot, const std::string& dumpPath) {
  const std::string root = systemRoot ? systemRoot : kMissingRoot;
  std::string text = kCommandHead;
  text += root;
  text += kCommandAfterRoot1;
  text += root;
  text += kCommandAfterRoot2;
  text += root;
  text += kCommandAfterRoot3;
  text += Cut(dumpPath, kDumpPathCapacity);
  text += kCommandTail;
  // An over-long system root cuts the string like any over-capacity text.
  return Cut(text, kCommandCapacity);
}

std::string DebuggerPathFromRegistry(long status, unsigned long type, const char* data,
                                     std::size_t size) {
  std::string folder;
  // A value that was not read whole, or holds no text, records no folder.
  if (status == 0 && (type == kRegSz || type == kRegExpandSz) && data) {
    const void* zero = std::memchr(data, 0, size);
    folder.assign(data, zero ? static_cast<const char*>(zero) - data : size);
  }
  // A folder too long to leave room for the file name is no usable folder:
  // cutting it would name a file that is not there.
  if (folder.size() + kDebuggerNameLength > kToolsPathCapacity - 1) folder.clear();
  return folder + kDebuggerFileName;
}

std::string WorkingFolder(const std::string& debuggerPath) {
  if (debuggerPath.size() <= kDebuggerNameLength) return std::string();
  return debuggerPath.substr(0, debuggerPath.size() - kDebuggerNameLength);
}

std::string LaunchFailureText(const std::string& path) {
  return "The debugger could not be started:\n\n" + path +
         "\n\nTick Advanced and pick cdb.exe with its Browse button, or install the "
         "debugging tools (button above).";
}
