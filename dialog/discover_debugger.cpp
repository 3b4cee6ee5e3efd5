#include <initializer_list>

#include "../command/capacities.h"
#include "../command/command.h"
#include "../command/contract.h"
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

// cdb.exe of the Windows Kits in one view of the registry, newest kit
// first; empty when none is there.
Text FindKitDebuggerIn(REGSAM view, bool windows64) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKitsRegistryKey, 0, KEY_READ | view, &key) !=
      ERROR_SUCCESS)
    return Text(1);
  Text buffer(1);
  for (const char* value : kKitsRootValues) {
    const LONG status = ReadValue(key, value, buffer);
    for (const bool x64 : {windows64, !windows64}) {
      Text path = KitDebuggerCandidate(status, buffer.c_str(), buffer.capacity(), x64);
      if (path.empty()) continue;
      const DWORD attributes = GetFileAttributesA(path.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
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
Text FindKitDebugger() {
  const bool windows64 = Is64BitWindows();
  Text path = FindKitDebuggerIn(sizeof(void*) == 8 ? KEY_WOW64_32KEY : 0, windows64);
  if (path.empty() && windows64) path = FindKitDebuggerIn(KEY_WOW64_64KEY, windows64);
  return path;
}

}  // namespace

// Fills the two read-only fields at start: the placeholder, then cdb.exe's
// path from the folder the tools' installer recorded, or else from the
// Windows Kits' record.
void DiscoverDebugger(HWND window) {
  SetDlgItemTextA(window, IDC_COMMAND_STRING, kPlaceholderText);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kToolsRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    const Text kit = FindKitDebugger();
    SetDlgItemTextA(window, IDC_DEBUGGER_PATH, kit.empty() ? kInstallHintText : kit.c_str());
    return;
  }
  Text buffer(1);
  const LONG status = ReadValue(key, kToolsRegistryValue, buffer);
  const Text path = DebuggerPathFromRegistry(status, buffer.c_str(), buffer.capacity());
  SetDlgItemTextA(window, IDC_DEBUGGER_PATH, path.c_str());
  RegCloseKey(key);
}
