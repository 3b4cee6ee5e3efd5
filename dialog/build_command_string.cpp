#include "../command/capacities.h"
#include "../command/command_string.h"
#include "dialog.h"

// Recomposes the debugger's argument string from SystemRoot and the dump field.
void BuildCommandString(HWND window) {
  // The name matches without regard to case. The first call gives the size
  // the value needs, zero when the variable is absent.
  const DWORD size = GetEnvironmentVariableA("systemroot", nullptr, 0);
  Text root(size);
  if (size) GetEnvironmentVariableA("systemroot", root.data(), size);
  const Text dump = ReadField(window, IDC_DUMP_PATH, kDumpPathCapacity);
  SetDlgItemTextA(window, IDC_COMMAND_STRING,
                  ComposeCommandString(size ? root.c_str() : nullptr, dump.c_str()).c_str());
}
