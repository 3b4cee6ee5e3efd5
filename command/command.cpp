#include "command.h"

#include <cstring>

#include "capacities.h"
#include "cdb_options.h"
#include "contract.h"
#include "texts.h"

namespace {

constexpr std::size_t kDebuggerNameLength = sizeof kDebuggerFileName - 1;

// The way out of both boxes that could not start the debugger.
constexpr char kWayOut[] =
    "\n\nTick Advanced and pick cdb.exe with its Browse button, or install the debugging "
    "tools (button above).";

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

namespace {

// Where the value of the last -logo stands in `arguments`, read as the
// debugger reads its options: [begin, end), quotes included. False when the
// string names no log.
bool LogValueAt(const char* arguments, std::size_t& begin, std::size_t& end) {
  Text word(std::strlen(arguments) + 1);
  bool unterminated = false, found = false;
  const char* at = arguments;
  while (NextCdbWord(at, word, unterminated)) {
    if (!CdbOptionTakesValue(word.c_str())) continue;
    const bool isLog = SameText(word.c_str(), "-logo");
    while (*at == ' ' || *at == '\t') ++at;
    const char* value = at;
    if (!NextCdbWord(at, word, unterminated)) break;
    if (isLog) {
      begin = static_cast<std::size_t>(value - arguments);
      end = static_cast<std::size_t>(at - arguments);
      found = true;
    }
  }
  return found;
}

}  // namespace

Text LogFileOf(const char* arguments, const char* folder) {
  Text log(std::strlen(arguments) + 1);
  std::size_t begin = 0, end = 0;
  if (LogValueAt(arguments, begin, end)) {
    const char* at = arguments + begin;
    bool unterminated = false;
    NextCdbWord(at, log, unterminated);
  }
  const char* name = log.c_str();
  const bool absolute = (name[0] && name[1] == ':') || name[0] == '\\';
  if (log.empty() || absolute) return log;
  Text path(std::strlen(folder) + log.capacity());
  path += folder;
  path += log;
  return path;
}

Text WithLogFile(const char* arguments, const char* log) {
  Text text(kCommandCapacity);
  std::size_t begin = 0, end = 0;
  if (!LogValueAt(arguments, begin, end)) return text;
  // Quoted as the dump is: the debugger splits its options at blanks.
  bool quote = false;
  for (const char* at = log; *at; ++at) quote = quote || *at == ' ' || *at == '\t';
  const std::size_t length =
      begin + (quote ? 2 : 0) + std::strlen(log) + std::strlen(arguments + end);
  if (length > kCommandCapacity - 1) return text;
  text.Append(arguments, begin);
  if (quote) text += "\"";
  text += log;
  if (quote) text += "\"";
  text += arguments + end;
  return text;
}

Text DocumentsLog(const char* documents) {
  const std::size_t length = std::strlen(documents);
  Text log(length + sizeof "\\debuglog.txt");
  if (!length) return log;
  log += documents;
  if (documents[length - 1] != '\\') log += "\\";
  log += "debuglog.txt";
  return log;
}

bool IsFullPath(const char* path) {
  const char letter = static_cast<char>(path[0] | 0x20);
  if (letter >= 'a' && letter <= 'z' && path[1] == ':' && path[2] == '\\') return true;
  // \\server\share\, both names there.
  if (path[0] != '\\' || path[1] != '\\') return false;
  const char* at = path + 2;
  for (int part = 0; part < 2; ++part) {
    const char* name = at;
    while (*at && *at != '\\') ++at;
    if (at == name || *at != '\\') return false;
    ++at;
  }
  return true;
}

Text LogProblemWhy(unsigned long error, bool isFolder) {
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
  Text text(96);
  if (why)
    text += why;
  else
    text.Append("Windows gave error ").AppendNumber(error).Append(".");
  return text;
}

namespace {

constexpr char kLogProblemHead[] = "The debugger could not write its log:\n\n";

}  // namespace

Text LogProblemText(const char* log, const char* why) {
  Text text(kMessageCapacity);
  text.Append(kLogProblemHead).Append(log).Append("\n\n").Append(why);
  text.Append(
      "\n\nStart Kestrel with \"Run as administrator\", or tick Advanced and name a log in a "
      "folder you can write.");
  return text;
}

Text LogOfferText(const char* log, const char* why, const char* alternative) {
  Text text(kMessageCapacity);
  text.Append(kLogProblemHead).Append(log).Append("\n\n").Append(why);
  text.Append("\n\nWrite the log to ").Append(alternative);
  text.Append(
      " instead?\n\nNo: start Kestrel with \"Run as administrator\", or tick Advanced and name "
      "a log in a folder you can write.");
  return text;
}

Text LaunchedText(const char* log) {
  Text text(sizeof kLaunchedNoLogText + std::strlen(log));
  if (!*log)
    text += kLaunchedNoLogText;
  else  // the usual log keeps the spelling the box has always had
    text.Append(kLaunchedHead).Append(SameTextIgnoringCase(log, kUsualLog) ? kUsualLog : log);
  return text;
}

Text WorkingFolder(const char* debuggerPath) {
  Text folder(std::strlen(debuggerPath) + 1);
  folder += debuggerPath;
  const std::size_t size = folder.size();
  folder.data()[size > kDebuggerNameLength ? size - kDebuggerNameLength : 0] = '\0';
  return folder;
}

Text NotFullPathText(const char* path) {
  Text text(kMessageCapacity);
  text.Append("The debugger's path is not a full path, so Kestrel does not start it:\n\n");
  text.Append(path).Append(kWayOut);
  return text;
}

Text LaunchFailureText(const char* path) {
  Text text(kMessageCapacity);
  text.Append("The debugger could not be started:\n\n").Append(path).Append(kWayOut);
  return text;
}
