#include "command.h"

#include <cstring>

#include "capacities.h"
#include "cdb_options.h"
#include "contract.h"
#include "texts.h"

namespace {

constexpr std::size_t kDebuggerNameLength = sizeof kDebuggerFileName - 1;

// What a registry read left in its buffer, as text: whatever the value's
// type, its bytes up to the first zero. Nothing when the read failed, which
// leaves the buffer undefined.
Text RegistryText(long status, const char* data, std::size_t size) {
  Text text(size + 1);
  if (status == 0 && data) text.Append(data, size);
  return text;
}

}  // namespace

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

Text DebuggerPathFromRegistry(long status, const char* data, std::size_t size) {
  const Text folder = RegistryText(status, data, size);
  Text path(kToolsPathCapacity);
  // A folder too long to leave room for the file name is no usable folder:
  // cutting it would name a file that is not there.
  if (folder.size() + kDebuggerNameLength <= kToolsPathCapacity - 1) path += folder;
  path += kDebuggerFileName;
  return path;
}

Text KitDebuggerCandidate(long status, const char* data, std::size_t size, bool x64) {
  const Text root = RegistryText(status, data, size);
  // Room for a separator the root may lack: a path that long is no candidate.
  Text path(kToolsPathCapacity + 1);
  if (root.empty()) return path;
  path += root;
  const char last = root.c_str()[root.size() - 1];
  if (last != '\\' && last != '/') path += "\\";
  path += x64 ? "x64\\" : "x86\\";
  path += kDebuggerFileName;
  if (path.size() > kToolsPathCapacity - 1) path.Clear();
  return path;
}

Text LogFileOf(const char* arguments, const char* folder) {
  const std::size_t capacity = std::strlen(arguments) + 1;
  Text word(capacity), log(capacity);
  bool unterminated = false;
  while (NextCdbWord(arguments, word, unterminated)) {
    if (!CdbOptionTakesValue(word.c_str())) continue;
    const bool isLog = SameText(word.c_str(), "-logo");
    if (!NextCdbWord(arguments, word, unterminated)) break;
    if (isLog) {
      log.Clear();
      log += word;
    }
  }
  const char* name = log.c_str();
  const bool absolute = (name[0] && name[1] == ':') || name[0] == '\\';
  if (log.empty() || absolute) return log;
  Text path(std::strlen(folder) + capacity);
  path += folder;
  path += log;
  return path;
}

Text LogProblemText(const char* log, unsigned long error, bool isFolder) {
  const char* why = nullptr;
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
    }
  }
  Text text(kMessageCapacity);
  text += "The debugger could not write its log:\n\n";
  text += log;
  text += "\n\n";
  if (why)
    text += why;
  else
    text.Append("Windows gave error ").AppendNumber(error).Append(".");
  text +=
      "\n\nStart Kestrel with \"Run as administrator\", or tick Advanced and name a log in a "
      "folder you can write.";
  return text;
}

Text WorkingFolder(const char* debuggerPath) {
  Text folder(std::strlen(debuggerPath) + 1);
  folder += debuggerPath;
  const std::size_t size = folder.size();
  folder.data()[size > kDebuggerNameLength ? size - kDebuggerNameLength : 0] = '\0';
  return folder;
}

Text LaunchFailureText(const char* path) {
  Text text(kMessageCapacity);
  text += "The debugger could not be started:\n\n";
  text += path;
  text +=
      "\n\nTick Advanced and pick cdb.exe with its Browse button, or install the "
      "debugging tools (button above).";
  return text;
}
