#include <cstdlib>

#include "../command/capacities.h"
#include "../command/command.h"
#include "dialog.h"

// Recomposes the debugger's argument string from SystemRoot and the dump field.
void BuildCommandString(HWND window) {
  // getenv matches the name without regard to case on Windows.
  const char* root = std::getenv("systemroot");
  const std::string dump = ReadField(window, IDC_DUMP_PATH, kDumpPathCapacity);
  SetDlgItemTextA(window, IDC_COMMAND_STRING, ComposeCommandString(root, dump).c_str());
}
