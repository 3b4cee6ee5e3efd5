#include "paths.h"

#include <cstring>
#include <initializer_list>

#include "contract.h"

namespace {

constexpr std::size_t kDebuggerNameLength = sizeof kDebuggerFileName - 1;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsLetter(char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

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
  Text log(length + 1 + sizeof kLogFileName);
  if (!length) return log;
  log += folder;
  if (folder[length - 1] != '\\') log += "\\";
  log += kLogFileName;
  return log;
}

bool IsFullPath(const char* path) {
  const std::size_t root = RootLength(path);
  if (root < 2 || path[root] != '\\') return false;
  if (root == 2) return true;  // X:\ (a root of two is a drive's)
  // \\server\share\: backslashes only, and both names there.
  for (std::size_t i = 0; i <= root; ++i)
    if (path[i] == '/' || (i >= 2 && path[i] == '\\' && path[i - 1] == '\\')) return false;
  return true;
}

Text WorkingFolder(const char* debuggerPath) {
  Text folder(std::strlen(debuggerPath) + 1);
  folder += debuggerPath;
  const std::size_t size = folder.size();
  folder.data()[size > kDebuggerNameLength ? size - kDebuggerNameLength : 0] = '\0';
  return folder;
}
