#include <utility>

#include "../command/capacities.h"
#include "../command/contract.h"
#include "../command/discovery.h"
#include "../command/paths.h"
#include "../command/texts.h"
#include "dialog.h"
#include "late_bound.h"

namespace {

// Reads a value of `key` into a new zero-filled buffer of the tools' path
// capacity; the read's status, the buffer's contents undefined after a failure.
LONG ReadValue(HKEY key, const char* name, Text& buffer) {
  buffer = Text(kToolsPathCapacity);
  DWORD size = static_cast<DWORD>(buffer.capacity());
  return RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                          &size);
}

// 64-bit Windows: this process is 64-bit, or it runs under WOW64
// (IsWow64Process is late-bound: Windows 2000 has none).
bool Is64BitWindows() {
  if (sizeof(void*) == 8) return true;
  const auto isWow64 = LateBound<BOOL(WINAPI*)(HANDLE, PBOOL)>("kernel32.dll", "IsWow64Process");
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

// The processor Windows itself runs on. IsWow64Process is true on ARM64 as
// well, where an x64 debugger may not run: IsWow64Process2 (Windows 10 1709
// on) names it; without that, 64-bit Windows is x64.
unsigned short NativeMachine(bool windows64) {
  const auto isWow64Process2 =
      LateBound<BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*)>("kernel32.dll", "IsWow64Process2");
  USHORT process = 0, native = 0;
  if (isWow64Process2 && isWow64Process2(GetCurrentProcess(), &process, &native)) return native;
  return windows64 ? kMachineAmd64 : kMachineI386;
}

bool IsFile(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// cdb.exe of the Windows Kits in one view of the registry, newest kit
// first; empty when none is there.
Text FindKitDebuggerIn(REGSAM view, const char* const* subfolders) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKitsRegistryKey, 0, KEY_READ | view, &key) !=
      ERROR_SUCCESS)
    return Text(1);
  Text buffer(1);
  for (const char* value : kKitsRootValues) {
    const LONG status = ReadValue(key, value, buffer);
    for (const char* const* subfolder = subfolders; *subfolder; ++subfolder) {
      Text path = KitDebuggerCandidate(status, buffer.c_str(), buffer.capacity(), *subfolder);
      if (!path.empty() && IsFile(path.c_str())) {
        RegCloseKey(key);
        return path;
      }
    }
  }
  RegCloseKey(key);
  return Text(1);
}

// The kits' installer writes the 32-bit view, read first; on 64-bit Windows
// the 64-bit view too. Windows 2000 knows neither flag, so a 32-bit process
// asks for its own view, which is the 32-bit one.
Text FindKitDebugger(bool windows64, unsigned short nativeMachine) {
  const char* const* subfolders = KitSubfolders(nativeMachine);
  Text path = FindKitDebuggerIn(sizeof(void*) == 8 ? KEY_WOW64_32KEY : 0, subfolders);
  if (path.empty() && windows64) path = FindKitDebuggerIn(KEY_WOW64_64KEY, subfolders);
  return path;
}

// The package API, Windows 8 and 8.1 on: late-bound, so that older Windows
// and one without it go on as before.
using GetPackagesByFamily = LONG(WINAPI*)(PCWSTR, UINT32*, PWSTR*, UINT32*, WCHAR*);
using GetPackagePath = LONG(WINAPI*)(PCWSTR, UINT32*, PWSTR);

struct Packages {
  PWSTR* fullNames;
  GetPackagePath pathOf;
};

// Package i's folder in the ANSI code page; empty when it has none, or
// when a character of it has none there (a folder is never mangled).
Text PackageFolder(std::size_t i, void* context) {
  const Packages& packages = *static_cast<Packages*>(context);
  WCHAR wide[MAX_PATH];
  UINT32 length = MAX_PATH;
  Text folder(MAX_PATH);
  BOOL lossy = FALSE;
  // A UTF-8 code page spells every name, and takes neither the flag nor the check.
  const bool utf8 = GetACP() == CP_UTF8;
  if (packages.pathOf(packages.fullNames[i], &length, wide) != ERROR_SUCCESS ||
      !WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, -1, folder.data(),
                           MAX_PATH, nullptr, utf8 ? nullptr : &lossy) ||
      lossy)
    folder.Clear();
  return folder;
}

bool Exists(const char* path, void*) { return IsFile(path); }

// cdb.exe of the WinDbg app, installed for this user; empty when none is.
Text FindPackageDebugger(unsigned short nativeMachine) {
  const auto byFamily =
      LateBound<GetPackagesByFamily>("kernel32.dll", "GetPackagesByPackageFamily");
  const auto pathOf = LateBound<GetPackagePath>("kernel32.dll", "GetPackagePathByFullName");
  UINT32 count = 0, length = 0;
  if (!byFamily || !pathOf ||
      byFamily(kWinDbgPackageFamily, &count, nullptr, &length, nullptr) !=
          ERROR_INSUFFICIENT_BUFFER ||
      !count)
    return Text(1);
  // Text as the heap blocks Windows fills: the names, and pointers to them.
  Text names(length * sizeof(WCHAR)), pointers(count * sizeof(PWSTR));
  Packages packages = {reinterpret_cast<PWSTR*>(pointers.data()), pathOf};
  if (byFamily(kWinDbgPackageFamily, &count, packages.fullNames, &length,
               reinterpret_cast<WCHAR*>(names.data())) != ERROR_SUCCESS)
    return Text(1);
  return PackageDebugger(packages.fullNames, count, nativeMachine, PackageFolder, Exists,
                         &packages);
}

// cdb.exe of today's tools: the Windows Kits', else the WinDbg app's.
Text FindNewerDebugger() {
  const bool windows64 = Is64BitWindows();
  const unsigned short machine = NativeMachine(windows64);
  Text path = FindKitDebugger(windows64, machine);
  if (path.empty()) path = FindPackageDebugger(machine);
  return path;
}

}  // namespace

// Fills the two read-only fields at start: the placeholder, then cdb.exe's
// path from the folder the tools' installer recorded, or else from the
// Windows Kits' record, or else from the WinDbg app's package. A record left
// behind by uninstalled tools (no value, or no cdb.exe there) does not hide
// the newer debuggers.
void DiscoverDebugger(HWND window) {
  SetDlgItemTextA(window, IDC_COMMAND_STRING, kPlaceholderText);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kToolsRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    const Text newer = FindNewerDebugger();
    SetDlgItemTextA(window, IDC_DEBUGGER_PATH, newer.empty() ? kInstallHintText : newer.c_str());
    return;
  }
  Text buffer(1);
  const LONG status = ReadValue(key, kToolsRegistryValue, buffer);
  Text path = DebuggerPathFromRegistry(status, buffer.c_str(), buffer.capacity());
  if (!IsFullPath(path.c_str()) || !IsFile(path.c_str())) {
    Text newer = FindNewerDebugger();
    if (!newer.empty()) path = std::move(newer);
  }
  SetDlgItemTextA(window, IDC_DEBUGGER_PATH, path.c_str());
  RegCloseKey(key);
}
