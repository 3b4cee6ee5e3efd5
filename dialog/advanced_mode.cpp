#include "dialog.h"

// Advanced makes the debugger path and argument string editable and enables
// picking cdb.exe by hand; cleared, it locks them again. No text changes.
void SwitchAdvancedMode(HWND window) {
  const bool on = (SendMessageA(GetDlgItem(window, IDC_ADVANCED), BM_GETSTATE, 0, 0) & 1) != 0;
  SendMessageA(GetDlgItem(window, IDC_COMMAND_STRING), EM_SETREADONLY, on ? 0 : 1, 0);
  SendMessageA(GetDlgItem(window, IDC_DEBUGGER_PATH), EM_SETREADONLY, on ? 0 : 1, 0);
  EnableWindow(GetDlgItem(window, IDC_BROWSE_DEBUGGER), on);
  EnableWindow(GetDlgItem(window, IDC_COMMAND_LABEL), on);
  EnableWindow(GetDlgItem(window, IDC_DEBUGGER_LABEL), on);
}
