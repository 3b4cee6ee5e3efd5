#include "command.h"

#include <cstring>

#include "capacities.h"
#include "cdb_options.h"
#include "contract.h"

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

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsLetter(char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

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

const char* const* KitSubfolders(unsigned short nativeMachine) {
  static constexpr const char* kArm64[] = {"arm64\\", "x86\\", "x64\\", nullptr};
  static constexpr const char* kAmd64[] = {"x64\\", "x86\\", nullptr};
  static constexpr const char* kI386[] = {"x86\\", "x64\\", nullptr};
  return nativeMachine == kMachineArm64 ? kArm64 : nativeMachine == kMachineAmd64 ? kAmd64 : kI386;
}

Text KitDebuggerCandidate(long status, const char* data, std::size_t size, const char* subfolder) {
  const Text root = RegistryText(status, data, size);
  // Room for a separator the root may lack: a path that long is no candidate.
  Text path(kToolsPathCapacity + 1);
  if (root.empty()) return path;
  path += root;
  if (!IsSeparator(root.c_str()[root.size() - 1])) path += "\\";
  path += subfolder;
  path += kDebuggerFileName;
  if (path.size() > kToolsPathCapacity - 1) path.Clear();
  return path;
}

const char* const* PackageSubfolders(unsigned short nativeMachine) {
  static constexpr const char* kArm64[] = {"arm64\\", "x86\\", "amd64\\", nullptr};
  static constexpr const char* kAmd64[] = {"amd64\\", "x86\\", nullptr};
  static constexpr const char* kI386[] = {"x86\\", nullptr};
  return nativeMachine == kMachineArm64 ? kArm64 : nativeMachine == kMachineAmd64 ? kAmd64 : kI386;
}

namespace {

// The four parts of a package's version, from its full name; zeros when
// the name has none.
void PackageVersion(const wchar_t* fullName, unsigned long (&parts)[4]) {
  for (unsigned long& part : parts) part = 0;
  const wchar_t* at = fullName;
  while (*at && *at != L'_') ++at;
  if (!*at) return;
  ++at;
  for (int i = 0; i < 4; ++i) {
    if (*at < L'0' || *at > L'9') return;
    unsigned long value = 0;
    for (; *at >= L'0' && *at <= L'9'; ++at)
      if (value < 100000) value = value * 10 + static_cast<unsigned long>(*at - L'0');
    parts[i] = value;
    if (i < 3 && *at++ != L'.') return;
  }
}

}  // namespace

bool IsNewerPackage(const wchar_t* a, const wchar_t* b) {
  unsigned long first[4], second[4];
  PackageVersion(a, first);
  PackageVersion(b, second);
  for (int i = 0; i < 4; ++i)
    if (first[i] != second[i]) return first[i] > second[i];
  return false;
}

Text PackageDebugger(const wchar_t* const* fullNames, std::size_t count,
                     unsigned short nativeMachine, Text (*folderOf)(std::size_t, void*),
                     bool (*exists)(const char*, void*), void* context) {
  // Package i is tried before package j: it is newer, or as new and listed first.
  const auto before = [fullNames](std::size_t i, std::size_t j) {
    return IsNewerPackage(fullNames[i], fullNames[j]) ||
           (!IsNewerPackage(fullNames[j], fullNames[i]) && i < j);
  };
  std::size_t previous = count;  // none yet
  for (std::size_t round = 0; round < count; ++round) {
    std::size_t next = count;
    for (std::size_t i = 0; i < count; ++i)
      if ((previous == count || before(previous, i)) && (next == count || before(i, next)))
        next = i;
    previous = next;
    const Text folder = folderOf(next, context);
    for (const char* const* subfolder = PackageSubfolders(nativeMachine); *subfolder; ++subfolder) {
      Text path = KitDebuggerCandidate(0, folder.c_str(), folder.size() + 1, *subfolder);
      if (!path.empty() && exists(path.c_str(), context)) return path;
    }
  }
  return Text(1);
}

namespace {

// Where the value of the `index`-th option that sets `wanted` stands in
// `arguments`, read as the debugger reads them: [begin, end), quotes
// included; begin == end when the option ends the string. `index` counts
// from the last one (0) for the log, from the first one for dumps. False
// when there is no such option.
bool ValueAt(const char* arguments, bool (*wanted)(CdbValue), bool fromLast, std::size_t index,
             std::size_t& begin, std::size_t& end) {
  Text text(std::strlen(arguments) + 1);
  CdbReader reader(arguments);
  CdbWord word{};
  std::size_t seen = 0;
  bool found = false;
  while (reader.Next(word, text)) {
    if (word.role == CdbRole::kToProgram) break;  // the program's, not the debugger's
    if (word.role != CdbRole::kOption || !word.option || !wanted(word.option->sets)) continue;
    if (!fromLast && seen++ != index) continue;
    // The value, or nothing when the option ends the string.
    const char* rest = arguments + word.end;
    while (*rest == ' ' || *rest == '\t') ++rest;
    begin = end = static_cast<std::size_t>(rest - arguments);
    const bool more = reader.Next(word, text);
    if (more) end = word.end;
    found = true;
    if (!fromLast || !more) break;
  }
  return found;
}

// That value, unquoted; empty when there is none.
Text ValueOf(const char* arguments, bool (*wanted)(CdbValue), bool fromLast, std::size_t index,
             bool& named) {
  Text value(std::strlen(arguments) + 1);
  std::size_t begin = 0, end = 0;
  named = ValueAt(arguments, wanted, fromLast, index, begin, end);
  if (named && begin != end) {
    const char* at = arguments + begin;
    bool unterminated = false;
    NextCdbWord(at, value, unterminated);
  }
  return value;
}

}  // namespace

Text LogFileOf(const char* arguments) {
  bool named = false;
  return ValueOf(arguments, IsLogValue, true, 0, named);
}

Text DumpFileOf(const char* arguments, std::size_t index, bool& named) {
  return ValueOf(arguments, IsDumpValue, false, index, named);
}

bool StrayWordOf(const char* arguments, Text& word) {
  Text text(std::strlen(arguments) + 1);
  CdbReader reader(arguments);
  CdbWord read{};
  bool program = false, dump = false;
  while (reader.Next(read, text)) {
    if (read.role == CdbRole::kProgram) {
      program = true;
      word = Text(text.size() + 1);
      word += text;
    }
    dump = dump || ((read.role == CdbRole::kOption || read.role == CdbRole::kToProgram) &&
                    read.option && IsDumpValue(read.option->sets));
  }
  return program && dump;
}

bool DumpFieldWasCut(const char* field, const char* dump) {
  const std::size_t carried = kDumpPathCapacity - 1;
  if (std::strlen(field) <= carried || std::strlen(dump) != carried) return false;
  for (std::size_t i = 0; i < carried; ++i)
    if (field[i] != dump[i]) return false;
  return true;
}

Text WithLogFile(const char* arguments, const char* log) {
  Text text(kCommandCapacity);
  std::size_t begin = 0, end = 0;
  if (!ValueAt(arguments, IsLogValue, true, 0, begin, end) || begin == end) return text;
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

namespace {

// How much of a full path is its root, without a closing separator: "C:" of
// C:\..., "\\server\share" of a share; 0 for a path that has none.
std::size_t RootLength(const char* path) {
  if (IsLetter(path[0]) && path[1] == ':') return 2;
  if (!IsSeparator(path[0]) || !IsSeparator(path[1])) return 0;
  std::size_t at = 2;
  for (int part = 0; part < 2; ++part) {
    if (part) ++at;
    while (path[at] && !IsSeparator(path[at])) ++at;
    if (!path[at]) break;
  }
  return at;
}

// `relative` joined to the full path `base`, its "." and ".." taken as
// Windows takes them, one separator between names, "/" as "\"; a closing
// separator kept. `base` holds its root and nothing above it is reached.
Text Joined(const char* base, std::size_t rootLength, const char* relative) {
  // Each name gains at most one separator, and the path one at its end.
  Text path(std::strlen(base) + std::strlen(relative) + 4);
  char* out = path.data();
  std::size_t length = 0;
  for (std::size_t i = 0; i < rootLength; ++i)
    out[length++] = IsSeparator(base[i]) ? '\\' : base[i];
  for (const char* part : {base + rootLength, relative}) {
    for (const char* at = part; *at;) {
      while (IsSeparator(*at)) ++at;
      const char* name = at;
      while (*at && !IsSeparator(*at)) ++at;
      const std::size_t size = static_cast<std::size_t>(at - name);
      if (size == 0 || (size == 1 && name[0] == '.')) continue;
      if (size == 2 && name[0] == '.' && name[1] == '.') {
        while (length > rootLength && out[length - 1] != '\\') --length;
        if (length > rootLength) --length;
        continue;
      }
      out[length++] = '\\';
      for (std::size_t i = 0; i < size; ++i) out[length++] = name[i];
    }
  }
  // A drive's root is "C:\"; any other path closes with a separator only
  // when it was written so.
  const char* tail = *relative ? relative : base + rootLength;
  const std::size_t tailLength = std::strlen(tail);
  const bool closing = tailLength && IsSeparator(tail[tailLength - 1]);
  if ((length == rootLength && rootLength == 2) ||
      (closing && (!length || out[length - 1] != '\\')))
    out[length++] = '\\';
  out[length] = '\0';
  return path;
}

}  // namespace

Text FullPathOf(const char* path, const char* folder, const char* driveFolder) {
  if (!*path) return Text(1);
  // \\?\ and \\.\ name a file as they stand.
  if (IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == '?' || path[2] == '.') &&
      IsSeparator(path[3])) {
    Text same(std::strlen(path) + 1);
    same += path;
    return same;
  }
  if (IsSeparator(path[0]) && IsSeparator(path[1])) return Joined(path, RootLength(path), "");
  if (IsLetter(path[0]) && path[1] == ':') {
    if (IsSeparator(path[2])) return Joined(path, 2, "");
    // X:name: in the folder when it is on drive X, else in the current
    // folder the environment records for X, else in X's root.
    const char drive[] = {path[0], ':', '\0'};
    const auto onDrive = [&](const char* base) {
      return RootLength(base) == 2 && (base[0] | 0x20) == (path[0] | 0x20);
    };
    const char* base = onDrive(folder) ? folder : onDrive(driveFolder) ? driveFolder : drive;
    return Joined(base, 2, path + 2);
  }
  // \name on the folder's own drive or share; name in the folder.
  if (IsSeparator(path[0])) {
    Text root(RootLength(folder) + 1);
    root.Append(folder, RootLength(folder));
    return Joined(root.c_str(), root.size(), path);
  }
  return Joined(folder, RootLength(folder), path);
}

Text DebugLogIn(const char* folder) {
  const std::size_t length = std::strlen(folder);
  Text log(length + sizeof "\\debuglog.txt");
  if (!length) return log;
  log += folder;
  if (folder[length - 1] != '\\') log += "\\";
  log += "debuglog.txt";
  return log;
}

bool IsFullPath(const char* path) {
  if (IsLetter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
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

FileCheck FileCheckOf(unsigned long error, bool isFolder, bool isReadOnly) {
  if (isFolder) return {FileProblem::kFolder, error};
  if (isReadOnly) return {FileProblem::kReadOnly, error};
  static constexpr struct {
    unsigned long error;
    FileProblem problem;
  } kProblems[] = {
      {0, FileProblem::kNone},       // ERROR_SUCCESS
      {2, FileProblem::kNoFile},     // ERROR_FILE_NOT_FOUND
      {3, FileProblem::kNoFolder},   // ERROR_PATH_NOT_FOUND
      {5, FileProblem::kDenied},     // ERROR_ACCESS_DENIED
      {19, FileProblem::kDenied},    // ERROR_WRITE_PROTECT
      {32, FileProblem::kInUse},     // ERROR_SHARING_VIOLATION
      {33, FileProblem::kInUse},     // ERROR_LOCK_VIOLATION
      {123, FileProblem::kBadName},  // ERROR_INVALID_NAME
  };
  for (const auto& known : kProblems)
    if (known.error == error) return {known.problem, error};
  return {FileProblem::kOther, error};
}

Text WorkingFolder(const char* debuggerPath) {
  Text folder(std::strlen(debuggerPath) + 1);
  folder += debuggerPath;
  const std::size_t size = folder.size();
  folder.data()[size > kDebuggerNameLength ? size - kDebuggerNameLength : 0] = '\0';
  return folder;
}
