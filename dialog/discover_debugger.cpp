#include <vector>

#include "../command/capacities.h"
#include "../command/command.h"
#include "../command/contract.h"
#include "../command/texts.h"
#include "dialog.h"

// Fills the two read-only fields at start: the placeholder, then cdb.exe's
// path from the folder the tools' installer recorded.
void DiscoverDebugger(HWND window) {
  SetDlgItemTextA(window, IDC_COMMAND_STRING, kPlaceholderText);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kToolsRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    SetDlgItemTextA(window, IDC_DEBUGGER_PATH, kInstallHintText);
    return;
  }
  std::vector<char> buffer(kToolsPathCapacity, '\0');
  DWORD type = REG_NONE;
  DWORD size = static_cast<DWORD>(buffer.size());
  const LONG status = RegQueryValueExA(key, kToolsRegistryValue, nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer.data()), &size);
  const std::string path = DebuggerPathFromRegistry(status, type, buffer.data(), buffer.size());
  SetDlgItemTextA(window, IDC_DEBUGGER_PATH, path.c_str());
  RegCloseKey(key);
}
