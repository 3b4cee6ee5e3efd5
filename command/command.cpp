#include "command.h"

#include <cstring>

#include "capacities.h"
#include "cdb_options.h"
#include "contract.h"
#include "texts.h"

namespace {

std::string Cut(std::string text, std::size_t capacity) {
  if (text.size() > capacity - 1) text.resize(capacity - 1);
  return text;
}

constexpr std::size_t kDebuggerNameLength = sizeof kDebuggerFileName - 1;

// What a registry read left in its buffer, as text: whatever the value's
// type, its bytes up to the first zero. Nothing when the read failed, which
// leaves the buffer undefined.
std::string RegistryText(long status, const char* data, std::size_t size) {
  if (status != 0 || !data) return std::string();
  const void* zero = std::memchr(data, 0, size);
  return std::string(data, zero ? static_cast<const char*>(zero) - data : size);
}

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

std::string DebuggerPathFromRegistry(long status, const char* data, std::size_t size) {
  std::string folder = RegistryText(status, data, size);
  // A folder too long to leave room for the file name is no usable folder:
  // cutting it would name a file that is not there.
  if (folder.size() + kDebuggerNameLength > kToolsPathCapacity - 1) folder.clear();
  return folder + kDebuggerFileName;
}

std::vector<std::string> KitDebuggerCandidates(long status, const char* data, std::size_t size,
                                               bool windows64) {
  std::vector<std::string> paths;
  std::string root = RegistryText(status, data, size);
  if (root.empty()) return paths;
  if (root.back() != '\\' && root.back() != '/') root += '\\';
  const char* x64 = "x64\\";
  const char* x86 = "x86\\";
  for (const char* sub : {windows64 ? x64 : x86, windows64 ? x86 : x64}) {
    const std::string path = root + sub + kDebuggerFileName;
    if (path.size() <= kToolsPathCapacity - 1) paths.push_back(path);
  }
  return paths;
}

std::string LogFileOf(const std::string& arguments, const std::string& folder) {
  const std::string log = ParseCdbOptions("cdb " + arguments).log;
  const bool absolute = (log.size() >= 2 && log[1] == ':') || (!log.empty() && log[0] == '\\');
  return log.empty() || absolute ? log : folder + log;
}

std::string LogProblemText(const std::string& log, unsigned long error, bool isFolder) {
  std::string why;
  if (isFolder) {
    why = "It is a folder, not a file.";
  } else {
    switch (error) {
      case 5:   // ERROR_ACCESS_DENIED
      case 19:  // ERROR_WRITE_PROTECT
        why = "This user may not create or write that file.";
        break;
      case 2:  // ERROR_FILE_NOT_FOUND
      case 3:  // ERROR_PATH_NOT_FOUND
        why = "Its folder does not exist.";
        break;
      case 32:  // ERROR_SHARING_VIOLATION
      case 33:  // ERROR_LOCK_VIOLATION
        why = "Another program has it open, perhaps a debugger still writing it.";
        break;
      case 123:  // ERROR_INVALID_NAME
        why = "That is not a valid file name.";
        break;
      default:
        why = "Windows gave error " + std::to_string(error) + ".";
    }
  }
  return "The debugger could not write its log:\n\n" + log + "\n\n" + why +
         "\n\nStart Kestrel with \"Run as administrator\", or tick Advanced and name a log in a "
         "folder you can write.";
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
