#include "discovery.h"

#include "capacities.h"
#include "contract.h"

namespace {

constexpr std::size_t kDebuggerNameLength = sizeof kDebuggerFileName - 1;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// What a registry read left in its buffer, as text: whatever the value's
// type, its bytes up to the first zero. Nothing when the read failed, which
// leaves the buffer undefined.
Text RegistryText(long status, const char* data, std::size_t size) {
  Text text(size + 1);
  if (status == 0 && data) text.Append(data, size);
  return text;
}

}  // namespace

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
  return nativeMachine == kMachineArm64   ? kKitSubfoldersArm64
         : nativeMachine == kMachineAmd64 ? kKitSubfoldersAmd64
                                          : kKitSubfoldersI386;
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
  return nativeMachine == kMachineArm64   ? kPackageSubfoldersArm64
         : nativeMachine == kMachineAmd64 ? kPackageSubfoldersAmd64
                                          : kPackageSubfoldersI386;
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
